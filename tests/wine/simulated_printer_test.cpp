// The simulated network printer (zdnetext.dll) through the real detection
// path: the device tree of the real zdui.dll in the emulated driver, the
// auto-detect item and the device page's activation.
#include "core/option_detection.h"
#include "drvhost_api.h"
#include "installable_items.h"
#include "test_printer.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

namespace {

using drvhost::HostSession;

const wchar_t kDescribed[] = L"zd sim described"; // its own section in the description
const wchar_t kUnknown[] = L"zd sim unknown";     // no section and no [Default]
const wchar_t kDemo[] = L"zd sim demo";           // the demo model, library beside the host

std::wstring g_dir;

std::string Narrow(const std::wstring& s) {
    return std::string(s.begin(), s.end());
}

void Install(const zdtest::PrinterSpec& spec) {
    std::wstring error;
    ASSERT_TRUE(zdtest::InstallPrinter(spec, &error)) << Narrow(error);
}

using zdtest::Selections;

class SimulatedPrinter : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        // A copy of the library with a description of its own beside it,
        // under another name: a loaded zdnetext.dll would be taken for the
        // demo model's.
        g_dir = zdtest::MakeTempDir(L"simprinter");
        std::wstring library = g_dir + L"\\zdsimnet.dll";
        ASSERT_TRUE(
            CopyFileW((zdtest::ExeDir() + L"\\zdnetext.dll").c_str(), library.c_str(), FALSE));
        ASSERT_TRUE(zdtest::WriteTextFile(g_dir + L"\\zdsimprinter.ini",
                                          L"[zd sim described]\r\nTrays=3\r\nDuplex=0\r\n"
                                          L"Finisher=1\r\nMultiPurposeFeeder=1\r\nHardDisk=0\r\n"
                                          L"PunchType=3\r\nMemory=768\r\n",
                                          false));
        std::wstring cap = g_dir + L"\\zdsim_models.cap";
        ASSERT_TRUE(zdtest::WriteTextFile(
            cap, L"[Capability]\r\nZD Sim=S\r\n[S]\r\nNetExtDLL=" + library + L"\r\n", false));
        for (const wchar_t* printer : {kDescribed, kUnknown}) {
            zdtest::PrinterSpec spec;
            spec.printerName = printer;
            spec.driverName = L"ZD Sim";
            spec.dataFile = zdtest::SamplesDir() + L"\\zdcp95.ppd";
            spec.dependentFiles = {zdtest::SamplesDir() + L"\\zdcp95.ini", cap};
            Install(spec);
        }
        Install(zdtest::DemoPrinterSpec(kDemo));
    }

    void Device(const wchar_t* printer) {
        session_ = std::make_unique<HostSession>();
        std::wstring error;
        ASSERT_TRUE(session_->PrepareDevice(printer, &error)) << Narrow(error);
        ASSERT_GE(Tree().cOEMOptItems, 1u);
    }

    OEMCUIPPARAM& Tree() { return session_->host().deviceTree().param; }
    OPTITEM& AutoDetect() { return Tree().pOEMOptItems[0]; }

    LONG Callback(LONG reason) { return zdtest::AutoDetectCallback(Tree(), reason); }
    Selections Current() { return zdtest::InstallableSelections(*session_); }
    void Scramble() { ASSERT_TRUE(zdtest::ScrambleInstallable(*session_)); }

    std::unique_ptr<HostSession> session_;
};

// Trays=3, no duplex, finisher, feeder, no disk, punch type 3, 768 MB.
const Selections kDescribedSelections = {
    {"ZDHDD", 1},      {"ZDOptionDuplex", 1}, {"ZDOptionTray", 3}, {"InstalledMemory", 3},
    {"ZDFinisher", 1}, {"ZDOptionMPF", 1},    {"ZDPunchUnit", 1}};

TEST_F(SimulatedPrinter, AutoDetectButtonSetsTheDescribedOptions) {
    Device(kDescribed);
    EXPECT_FALSE(AutoDetect().Flags & OPTIF_HIDE);
    Scramble();
    EXPECT_EQ(Callback(CPSUICB_REASON_SEL_CHANGED), 1);
    EXPECT_EQ(Current(), kDescribedSelections);
    EXPECT_EQ(session_->UpdateCalls().size(), 7u);
}

TEST_F(SimulatedPrinter, DevicePageActivationReadsThroughThePort) {
    Device(kDescribed);
    Scramble();
    // Under this prefix the system reports major version 6: activation detects.
    EXPECT_EQ(Callback(CPSUICB_REASON_SETACTIVE), 1);
    EXPECT_EQ(Current(), kDescribedSelections);
    // The same path called directly (it finds the model's files first).
    zd::DetectedOptions d;
    EXPECT_TRUE(zd::DetectOptionsFromPort(&Tree(), &d));
    EXPECT_TRUE(zd::IsPortValidForNetwork(&Tree()));
}

TEST_F(SimulatedPrinter, APrinterItDoesNotDescribeGetsNoButtonAndNoChange) {
    Device(kUnknown);
    EXPECT_TRUE(AutoDetect().Flags & OPTIF_HIDE);
    Scramble();
    Selections before = Current();
    Callback(CPSUICB_REASON_SEL_CHANGED);
    EXPECT_EQ(Current(), before);
    zd::DetectedOptions d;
    EXPECT_FALSE(zd::DetectOptionsFromPort(&Tree(), &d));
    EXPECT_FALSE(zd::IsPortValidForNetwork(&Tree()));
}

TEST_F(SimulatedPrinter, DemoModelFindsTheLibraryAndItsDefaultPrinter) {
    Device(kDemo);
    EXPECT_FALSE(AutoDetect().Flags & OPTIF_HIDE);
    session_->host().ClearUpdateCalls();
    EXPECT_EQ(Callback(CPSUICB_REASON_SEL_CHANGED), 1);
    EXPECT_EQ(session_->UpdateCalls().size(), 7u);
}

} // namespace
