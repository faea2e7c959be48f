// Reading the installed options through stand-in network and USB extension
// libraries, from the device tree of the real zdui.dll in the emulated
// driver, and the installer's options written into "FeatureKeyword".
#include "core/driver_files.h"
#include "core/option_detection.h"
#include "core/option_tree.h"
#include "core/process_state.h"
#include "core/win_util.h"
#include "drvhost_api.h"
#include "installable_items.h"
#include "test_printer.h"

#include <gtest/gtest.h>

#include <shlobj.h>
#include <winspool.h>

#include <map>
#include <string>
#include <vector>

namespace {

using drvhost::HostSession;

const wchar_t kNet[] = L"zd detect net";            // network library, port FILE:
const wchar_t kUsb[] = L"zd detect usb net";        // port USB001
const wchar_t kPlain[] = L"zd detect plain";        // the library does not serve it
const wchar_t kNoLib[] = L"zd detect nolib net";    // the library is missing
const wchar_t kNoExports[] = L"zd detect bare net"; // a library without the functions

const char kUsbLibrary[] = "zdfakeusbext.dll";
const char kUsbData[] = "zddetect_usb.dat";

std::wstring g_dir;
std::string g_netData; // where the stand-in network library writes

std::wstring WriteFile(const std::wstring& name, const std::wstring& text) {
    std::wstring path = g_dir + L"\\" + name;
    EXPECT_TRUE(zdtest::WriteTextFile(path, text));
    return path;
}

void Install(const std::wstring& printer, const std::wstring& driver, const std::wstring& cap) {
    zdtest::PrinterSpec spec;
    spec.printerName = printer;
    spec.driverName = driver;
    spec.dataFile = zdtest::SamplesDir() + L"\\zdcp95.ppd";
    spec.dependentFiles = {zdtest::SamplesDir() + L"\\zdcp95.ini", cap};
    std::wstring error;
    // Tests running at the same time install the same stand-in driver
    // files: a sharing violation passes after a moment.
    bool installed = false;
    for (int attempt = 0; attempt < 20 && !installed; ++attempt) {
        installed = zdtest::InstallPrinter(spec, &error);
        if (!installed)
            Sleep(250);
    }
    ASSERT_TRUE(installed) << std::string(error.begin(), error.end());
}

std::string Narrow(const std::wstring& s) {
    return std::string(s.begin(), s.end());
}

void SetEnv(const char* name, const std::string& value) {
    SetEnvironmentVariableA(name, value.c_str());
}

std::string Env(const char* name) {
    char value[4096] = {};
    DWORD n = GetEnvironmentVariableA(name, value, sizeof(value));
    return n < sizeof(value) ? std::string(value, n) : std::string();
}

const char* const kFakeVariables[] = {"ZDFAKE_VALIDPORT", "ZDFAKE_READ",   "ZDFAKE_NETDATA",
                                      "ZDFAKE_INSTALLED", "ZDFAKE_MEMORY", "ZDFAKE_HDD",
                                      "ZDFAKE_PUNCH",     "ZDFAKE_CALLS",  "ZDFAKE_USBREAD",
                                      "ZDFAKE_USBDAT",    "ZDFAKE_USBRAM"};

using zdtest::Selections;

class OptionDetection : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        g_dir = zdtest::MakeTempDir(L"detect");
        g_netData = Narrow(g_dir) + "\\zddetect_net.dat";
        std::wstring netLibrary = zdtest::ExeDir() + L"\\zdfakenetext.dll";
        std::wstring models = L"[Capability]\r\nZD Detect Net=D\r\nZD Detect NoLib=L\r\n"
                              L"ZD Detect Bare=B\r\n"
                              L"[D]\r\nNetExtDLL=" +
                              netLibrary +
                              L"\r\nUSBExtDLL=zdfakeusbext.dll\r\nUSBExtDAT=zddetect_usb.dat\r\n"
                              L"[L]\r\nNetExtDLL=zdnosuchnetext.dll\r\n"
                              L"USBExtDLL=zdnosuchusbext.dll\r\nUSBExtDAT=zddetect_usb.dat\r\n"
                              L"[B]\r\nNetExtDLL=" +
                              zdtest::ExeDir() + L"\\zdfakeusbext.dll\r\n";
        std::wstring cap = WriteFile(L"zdd_models.cap", models);
        Install(kNet, L"ZD Detect Net", cap);
        Install(kUsb, L"ZD Detect Net", cap);
        Install(kPlain, L"ZD Detect Net", cap);
        Install(kNoLib, L"ZD Detect NoLib", cap);
        Install(kNoExports, L"ZD Detect Bare", cap);
        SetPort(kUsb, L"USB001");

        // The USB library is loaded from the system directory.
        WCHAR system[MAX_PATH] = {};
        ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
        ASSERT_TRUE(CopyFileW((zdtest::ExeDir() + L"\\zdfakeusbext.dll").c_str(),
                              (std::wstring(system) + L"\\zdfakeusbext.dll").c_str(), FALSE));
    }

    static void SetPort(const wchar_t* printer, const wchar_t* port) {
        zd::PrinterHandle p(printer, PRINTER_ALL_ACCESS);
        ASSERT_TRUE(p);
        DWORD needed = 0;
        GetPrinterW(p.get(), 2, nullptr, 0, &needed);
        std::vector<BYTE> info(needed);
        ASSERT_TRUE(GetPrinterW(p.get(), 2, info.data(), needed, &needed));
        auto* pi = reinterpret_cast<PRINTER_INFO_2W*>(info.data());
        std::wstring portName = port;
        pi->pPortName = portName.data();
        pi->pSecurityDescriptor = nullptr;
        ASSERT_TRUE(SetPrinterW(p.get(), 2, info.data(), 0));
        GetPrinterW(p.get(), 2, nullptr, 0, &needed);
        info.assign(needed, 0);
        ASSERT_TRUE(GetPrinterW(p.get(), 2, info.data(), needed, &needed));
        ASSERT_STREQ(reinterpret_cast<PRINTER_INFO_2W*>(info.data())->pPortName, port);
    }

    void SetUp() override {
        for (const char* v : kFakeVariables)
            SetEnvironmentVariableA(v, nullptr);
        DeleteFileA(g_netData.c_str());
        DeleteFileA(UsbDataPath().c_str());
    }
    void TearDown() override { SetUp(); }

    static std::string UsbDataPath() {
        char folder[MAX_PATH] = {};
        SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, folder);
        return std::string(folder) + "\\" + kUsbData;
    }

    // The network library answers and what its data file will hold.
    void NetworkAnswers(int validPort, int read) {
        SetEnv("ZDFAKE_VALIDPORT", std::to_string(validPort));
        SetEnv("ZDFAKE_READ", std::to_string(read));
        SetEnv("ZDFAKE_NETDATA", g_netData);
    }

    HostSession& Device(const wchar_t* printer) {
        session_ = std::make_unique<HostSession>();
        std::wstring error;
        EXPECT_TRUE(session_->PrepareDevice(printer, &error)) << Narrow(error);
        SetEnvironmentVariableA("ZDFAKE_CALLS", nullptr);
        session_->host().ClearUpdateCalls();
        return *session_;
    }

    OEMCUIPPARAM& Tree() { return session_->host().deviceTree().param; }

    LONG Callback(LONG reason) { return zdtest::AutoDetectCallback(Tree(), reason); }
    Selections Current() { return zdtest::InstallableSelections(*session_); }

    void Scramble() {
        ASSERT_TRUE(zdtest::ScrambleInstallable(*session_));
        session_->host().ClearUpdateCalls();
    }

    std::unique_ptr<HostSession> session_;
};

TEST_F(OptionDetection, AutoDetectItemSelectsWhatTheNetworkLibraryRead) {
    Device(kNet);
    Scramble();
    NetworkAnswers(0, 2);             // any non-zero answer will do for the button
    SetEnv("ZDFAKE_INSTALLED", "43"); // trays 0x8|0x2|0x1, duplex
    SetEnv("ZDFAKE_MEMORY", "512");
    SetEnv("ZDFAKE_HDD", "1");
    SetEnv("ZDFAKE_PUNCH", "2");
    EXPECT_EQ(Callback(CPSUICB_REASON_SEL_CHANGED), 1);
    Selections expected = {{"ZDHDD", 0},           {"ZDOptionDuplex", 0}, {"ZDOptionTray", 4},
                           {"InstalledMemory", 2}, {"ZDFinisher", 0},     {"ZDOptionMPF", 0},
                           {"ZDPunchUnit", 1}};
    EXPECT_EQ(Current(), expected);
    EXPECT_EQ(session_->UpdateCalls().size(), 7u);
    for (const drvhost::UpdateCall& c : session_->UpdateCalls())
        EXPECT_EQ(c.mode, DWORD(OEMCUIP_PRNPROP_MODE)) << c.keyword;
    EXPECT_EQ(Env("ZDFAKE_CALLS"), "ReadPrinterOptionFlag32(zd detect net,0,0,0,0x800080);"
                                   "GetDataFileName(zd detect net);");

    // Keys missing from the data file read as 0.
    Scramble();
    SetEnvironmentVariableA("ZDFAKE_INSTALLED", nullptr);
    SetEnvironmentVariableA("ZDFAKE_MEMORY", nullptr);
    SetEnvironmentVariableA("ZDFAKE_HDD", nullptr);
    SetEnv("ZDFAKE_PUNCH", "0");
    EXPECT_EQ(Callback(CPSUICB_REASON_SEL_CHANGED), 1);
    expected = {{"ZDHDD", 1},           {"ZDOptionDuplex", 1}, {"ZDOptionTray", 0},
                {"InstalledMemory", 0}, {"ZDFinisher", 0},     {"ZDOptionMPF", 0},
                {"ZDPunchUnit", 0}};
    EXPECT_EQ(Current(), expected);

    // A memory size that no option names selects the first option.
    Scramble();
    SetEnv("ZDFAKE_MEMORY", "300");
    SetEnv("ZDFAKE_INSTALLED", "112"); // feeder, duplex, finisher
    SetEnv("ZDFAKE_PUNCH", "3");
    EXPECT_EQ(Callback(CPSUICB_REASON_SEL_CHANGED), 1);
    expected = {{"ZDHDD", 1},           {"ZDOptionDuplex", 0}, {"ZDOptionTray", 0},
                {"InstalledMemory", 0}, {"ZDFinisher", 1},     {"ZDOptionMPF", 1},
                {"ZDPunchUnit", 1}};
    EXPECT_EQ(Current(), expected);
}

TEST_F(OptionDetection, AutoDetectItemKeepsTheSelectionsWhenNothingIsRead) {
    Device(kNet);
    Scramble();
    Selections before = Current();
    SetEnv("ZDFAKE_INSTALLED", "43");

    // The library reads nothing: its data file is not asked for.
    NetworkAnswers(1, 0);
    EXPECT_EQ(Callback(CPSUICB_REASON_SEL_CHANGED), 1);
    EXPECT_EQ(Env("ZDFAKE_CALLS"), "ReadPrinterOptionFlag32(zd detect net,0,0,0,0x800080);");

    // It reads but names no data file.
    NetworkAnswers(1, 1);
    SetEnvironmentVariableA("ZDFAKE_NETDATA", nullptr);
    EXPECT_EQ(Callback(CPSUICB_REASON_SEL_CHANGED), 1);

    // It names a data file that is not there.
    SetEnv("ZDFAKE_NETDATA", Narrow(g_dir) + "\\zddetect_absent.dat");
    SetEnvironmentVariableA("ZDFAKE_INSTALLED", nullptr);
    EXPECT_EQ(Callback(CPSUICB_REASON_SEL_CHANGED), 1);

    EXPECT_TRUE(session_->UpdateCalls().empty());
    EXPECT_EQ(Current(), before);

    // A library that cannot be loaded, or that lacks the functions.
    NetworkAnswers(1, 1);
    SetEnv("ZDFAKE_INSTALLED", "43");
    for (const wchar_t* printer : {kNoLib, kNoExports}) {
        Device(printer);
        Scramble();
        Selections b = Current();
        EXPECT_EQ(Callback(CPSUICB_REASON_SEL_CHANGED), 1);
        EXPECT_TRUE(session_->UpdateCalls().empty());
        EXPECT_EQ(Current(), b);
        zd::DetectedOptions d;
        EXPECT_FALSE(zd::DetectOptionsDirect(&Tree(), &d));
        EXPECT_FALSE(zd::DetectOptionsFromPort(&Tree(), &d));
        EXPECT_FALSE(zd::IsPortValidForNetwork(&Tree()));
    }
}

TEST_F(OptionDetection, AutoDetectItemEnabledOnlyForAPortTheLibraryReaches) {
    Device(kNet);
    OPTITEM& button = Tree().pOEMOptItems[0];
    NetworkAnswers(1, 0);
    button.Flags |= OPTIF_DISABLED;
    EXPECT_EQ(Callback(CPSUICB_REASON_OPTITEM_SETFOCUS), 0);
    EXPECT_FALSE(button.Flags & OPTIF_DISABLED);
    EXPECT_EQ(Env("ZDFAKE_CALLS"), "IsValidPort(zd detect net);");

    NetworkAnswers(0, 0);
    EXPECT_EQ(Callback(CPSUICB_REASON_OPTITEM_SETFOCUS), 0);
    EXPECT_TRUE(button.Flags & OPTIF_DISABLED);
}

TEST_F(OptionDetection, PageActivationReadsThroughTheNetworkLibraryStepByStep) {
    Device(kNet);
    Scramble();
    SetEnv("ZDFAKE_INSTALLED", "6"); // trays 0x4|0x2
    SetEnv("ZDFAKE_MEMORY", "1024");
    NetworkAnswers(1, 1);
    // Under this prefix the system reports major version 6.
    EXPECT_EQ(Callback(CPSUICB_REASON_SETACTIVE), 1);
    Selections expected = {{"ZDHDD", 1},           {"ZDOptionDuplex", 1}, {"ZDOptionTray", 3},
                           {"InstalledMemory", 4}, {"ZDFinisher", 0},     {"ZDOptionMPF", 0},
                           {"ZDPunchUnit", 0}};
    EXPECT_EQ(Current(), expected);
    EXPECT_EQ(Env("ZDFAKE_CALLS"), "IsValidPort(zd detect net);GetNetextCapability(zd detect net);"
                                   "ReadPrinterOptionFlag32(zd detect net,0,0,0,0xA00000);"
                                   "GetDataFileName(zd detect net);");

    // Only an answer of exactly 1 counts here.
    Scramble();
    Selections before = Current();
    SetEnvironmentVariableA("ZDFAKE_CALLS", nullptr);
    NetworkAnswers(1, 2);
    EXPECT_EQ(Callback(CPSUICB_REASON_SETACTIVE), 0);
    EXPECT_EQ(Env("ZDFAKE_CALLS"), "IsValidPort(zd detect net);GetNetextCapability(zd detect net);"
                                   "ReadPrinterOptionFlag32(zd detect net,0,0,0,0xA00000);");
    // The port is not reachable: nothing else is asked.
    SetEnvironmentVariableA("ZDFAKE_CALLS", nullptr);
    NetworkAnswers(0, 1);
    EXPECT_EQ(Callback(CPSUICB_REASON_SETACTIVE), 0);
    EXPECT_EQ(Env("ZDFAKE_CALLS"), "IsValidPort(zd detect net);");
    EXPECT_TRUE(session_->UpdateCalls().empty());
    EXPECT_EQ(Current(), before);

    // The library does not serve this printer.
    Device(kPlain);
    NetworkAnswers(1, 1);
    EXPECT_EQ(Callback(CPSUICB_REASON_SETACTIVE), 0);
    EXPECT_EQ(Env("ZDFAKE_CALLS"),
              "IsValidPort(zd detect plain);GetNetextCapability(zd detect plain);");
    EXPECT_TRUE(session_->UpdateCalls().empty());
}

TEST_F(OptionDetection, PageActivationDetectsOnlyFromMajorVersion6) {
    Device(kNet);
    Scramble();
    NetworkAnswers(1, 1);
    SetEnv("ZDFAKE_INSTALLED", "32");
    // This process's copy of the callback, with its own system flag.
    WCHAR config[zd::kOemConfigPathUnits] = {};
    ASSERT_TRUE(zd::FindDriverFiles(Tree().hPrinter, config));
    CPSUICBPARAM cb = {};
    cb.cbSize = sizeof(cb);
    cb.Reason = CPSUICB_REASON_SETACTIVE;
    cb.pCurItem = &Tree().pOEMOptItems[0];
    DWORD saved = zd::Process().systemIsNt6OrLater;
    zd::Process().systemIsNt6OrLater = 0;
    EXPECT_EQ(zd::DeviceItemCallback(&cb, &Tree()), 0);
    EXPECT_EQ(Env("ZDFAKE_CALLS"), "");
    EXPECT_TRUE(session_->UpdateCalls().empty());
    zd::Process().systemIsNt6OrLater = 1;
    EXPECT_EQ(zd::DeviceItemCallback(&cb, &Tree()), 1);
    zd::Process().systemIsNt6OrLater = saved;
    EXPECT_EQ(session_->ItemSel("ZDOptionDuplex"), 0);
    EXPECT_EQ(session_->UpdateCalls().size(), 7u);
}

TEST_F(OptionDetection, PrinterOnAUsbPortReadsThroughTheUsbLibrary) {
    Device(kUsb);
    Scramble();
    NetworkAnswers(1, 1); // the network library must not be asked
    SetEnv("ZDFAKE_USBREAD", "1");
    SetEnv("ZDFAKE_USBDAT", kUsbData);
    SetEnv("ZDFAKE_INSTALLED", "145"); // hard disk 0x80, feeder 0x10, tray 0x1
    SetEnv("ZDFAKE_USBRAM", "  +768MB");
    SetEnv("ZDFAKE_MEMORY", "256"); // a network key: not read from the USB file
    SetEnv("ZDFAKE_PUNCH", "3");
    EXPECT_EQ(Callback(CPSUICB_REASON_SETACTIVE), 1);
    Selections expected = {{"ZDHDD", 0},           {"ZDOptionDuplex", 1}, {"ZDOptionTray", 1},
                           {"InstalledMemory", 3}, {"ZDFinisher", 0},     {"ZDOptionMPF", 1},
                           {"ZDPunchUnit", 1}};
    EXPECT_EQ(Current(), expected);
    EXPECT_EQ(Env("ZDFAKE_CALLS"), "ReadPrinterOptionUSB(zd detect usb net);");
    EXPECT_EQ(GetFileAttributesA(UsbDataPath().c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);

    // The library answers 0: the data file left from before is not read.
    Scramble();
    Selections before = Current();
    SetEnv("ZDFAKE_USBREAD", "0");
    EXPECT_EQ(Callback(CPSUICB_REASON_SETACTIVE), 0);
    EXPECT_EQ(Current(), before);
    EXPECT_TRUE(session_->UpdateCalls().empty());
}

TEST_F(OptionDetection, UsbLibraryMissingFromTheSystemDirectory) {
    SetPort(kNoLib, L"usb002");
    Device(kNoLib);
    SetEnv("ZDFAKE_USBREAD", "1");
    SetEnv("ZDFAKE_USBDAT", kUsbData);
    SetEnv("ZDFAKE_INSTALLED", "1");
    zd::DetectedOptions d;
    d.trays = 77;
    EXPECT_FALSE(zd::DetectOptionsFromPort(&Tree(), &d));
    EXPECT_EQ(d.trays, 77u);
    EXPECT_EQ(Env("ZDFAKE_CALLS"), "");
    SetPort(kNoLib, L"FILE:");
}

// ---- Installation-time detection -------------------------------------

std::string Entries(std::initializer_list<std::pair<const char*, const char*>> entries) {
    std::string s;
    for (auto [feature, option] : entries) {
        s += feature;
        s.push_back('\0');
        s += option;
        s.push_back('\0');
        s.push_back('\n');
    }
    return s;
}

class InstallerOptions : public testing::Test {
  protected:
    static constexpr const wchar_t* kPrinter = kNet;
    static constexpr const wchar_t* kOtherPrinter = L"zd detect someone else";

    void SetUp() override {
        ASSERT_FALSE(zd::InstallerOptionFilePath().empty());
        std::wstring key = L"System\\CurrentControlSet\\Control\\Print\\Printers\\";
        key += kPrinter;
        key += L"\\PrinterDriverData";
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key_, nullptr),
                  ERROR_SUCCESS);
        RegDeleteValueW(key_, L"FeatureKeyword");
        RegDeleteValueW(key_, L"FeatureKeywordSize");
        printer_ = std::make_unique<zd::PrinterHandle>(kPrinter, PRINTER_ALL_ACCESS);
        ASSERT_TRUE(*printer_);
    }
    void TearDown() override {
        for (const wchar_t* section : {kPrinter, kOtherPrinter})
            WritePrivateProfileStringW(section, nullptr, nullptr,
                                       zd::InstallerOptionFilePath().c_str());
        RegDeleteValueW(key_, L"FeatureKeyword");
        RegDeleteValueW(key_, L"FeatureKeywordSize");
        RegCloseKey(key_);
    }

    void Store(const std::string& data, bool withSize = true) {
        ASSERT_EQ(RegSetValueExW(key_, L"FeatureKeyword", 0, REG_BINARY,
                                 reinterpret_cast<const BYTE*>(data.data()), DWORD(data.size())),
                  ERROR_SUCCESS);
        DWORD size = DWORD(data.size());
        if (withSize) {
            ASSERT_EQ(RegSetValueExW(key_, L"FeatureKeywordSize", 0, REG_DWORD,
                                     reinterpret_cast<BYTE*>(&size), sizeof(size)),
                      ERROR_SUCCESS);
        }
    }

    void Installer(const wchar_t* key, const wchar_t* value) {
        ASSERT_TRUE(WritePrivateProfileStringW(kPrinter, key, value,
                                               zd::InstallerOptionFilePath().c_str()));
    }

    std::string Stored() {
        BYTE data[512] = {};
        DWORD size = sizeof(data);
        if (RegQueryValueExW(key_, L"FeatureKeyword", nullptr, nullptr, data, &size) !=
            ERROR_SUCCESS)
            return "(none)";
        return std::string(reinterpret_cast<char*>(data), size);
    }

    DWORD StoredSize(DWORD* type = nullptr) {
        DWORD size = 0, bytes = sizeof(size), t = 0;
        if (RegQueryValueExW(key_, L"FeatureKeywordSize", nullptr, &t,
                             reinterpret_cast<BYTE*>(&size), &bytes) != ERROR_SUCCESS)
            return DWORD(-1);
        if (type)
            *type = t;
        return size;
    }

    HKEY key_ = nullptr;
    std::unique_ptr<zd::PrinterHandle> printer_;
};

TEST_F(InstallerOptions, HardDiskFromTheInstallerFileRewritesItsEntry) {
    std::string before = Entries({{"InstalledMemory", "256MB"},
                                  {"ZDHDD", "False"},
                                  {"ZDOptionTray", "0"},
                                  {"ZDOptionDuplex", "False"},
                                  {"PageSize", "A4"}});
    Store(before);
    Installer(L"Hard Disk", L"1");
    zd::ApplyInstallerDetectedOptions(printer_->get());
    std::string after = Entries({{"InstalledMemory", "256MB"}, // no memory size given
                                 {"ZDHDD", "True"},
                                 {"ZDOptionTray", "0"},
                                 {"ZDOptionDuplex", "False"},
                                 {"PageSize", "A4"}});
    EXPECT_EQ(Stored(), after);
    EXPECT_EQ(after.size(), before.size() - 1);
    DWORD type = 0;
    EXPECT_EQ(StoredSize(&type), DWORD(after.size()));
    EXPECT_EQ(type, DWORD(REG_DWORD));
}

TEST_F(InstallerOptions, EveryInstalledOptionAndTheMemorySize) {
    Store(Entries({{"ZDOptionMPF", "False"},
                   {"ZDOptionDuplex", "False"},
                   {"ZDFinisher", "True"},
                   {"ZDPunchUnit", "None"},
                   {"ZDOptionTray", "0"},
                   {"ZDHDD", "True"},
                   {"InstalledMemory", "256MB"}}));
    Installer(L"Installed", L"52"); // feeder, duplex, tray 0x4
    Installer(L"Random Access Memory", L"1024");
    Installer(L"PunchType", L"2");
    zd::ApplyInstallerDetectedOptions(printer_->get());
    // The longer memory entry would take the data past the 128 bytes that
    // the driver's value holds: that one entry keeps its old option.
    std::string after = Entries({{"ZDOptionMPF", "True"},
                                 {"ZDOptionDuplex", "True"},
                                 {"ZDFinisher", "False"},
                                 {"ZDPunchUnit", "Type2"},
                                 {"ZDOptionTray", "3"},
                                 {"ZDHDD", "False"},
                                 {"InstalledMemory", "256MB"}});
    EXPECT_EQ(after.size(), 128u);
    EXPECT_EQ(Stored(), after);
    EXPECT_EQ(StoredSize(), DWORD(after.size()));

    // With room for it the memory size is written.
    Store(Entries({{"ZDOptionTray", "4"}, {"InstalledMemory", "256MB"}}));
    zd::ApplyInstallerDetectedOptions(printer_->get());
    after = Entries({{"ZDOptionTray", "3"}, {"InstalledMemory", "1024MB"}});
    EXPECT_EQ(Stored(), after);
    EXPECT_EQ(StoredSize(), DWORD(after.size()));

    // A size the driver's PPD has no option for is not written.
    Installer(L"Random Access Memory", L"2048");
    zd::ApplyInstallerDetectedOptions(printer_->get());
    EXPECT_EQ(Stored(), after);
}

TEST_F(InstallerOptions, NothingChangesWithoutAValueOrAnInstallerSection) {
    // No "FeatureKeyword": none is created.
    Installer(L"Hard Disk", L"1");
    zd::ApplyInstallerDetectedOptions(printer_->get());
    EXPECT_EQ(Stored(), "(none)");
    EXPECT_EQ(StoredSize(), DWORD(-1));

    // A value longer than the plug-in handles is left as it is.
    std::string longData;
    while (longData.size() <= 128)
        longData += Entries({{"ZDHDD", "False"}});
    Store(longData);
    zd::ApplyInstallerDetectedOptions(printer_->get());
    EXPECT_EQ(Stored(), longData);
    EXPECT_EQ(StoredSize(), DWORD(longData.size()));

    // A closed printer handle reads no name and changes nothing.
    std::string data = Entries({{"ZDHDD", "False"}, {"ZDOptionDuplex", "True"}});
    Store(data);
    zd::ApplyInstallerDetectedOptions(nullptr);
    EXPECT_EQ(Stored(), data);

    // An installer's file written for another printer says nothing of
    // this one: its options are not read as "nothing installed".
    WritePrivateProfileStringW(kPrinter, nullptr, nullptr, zd::InstallerOptionFilePath().c_str());
    ASSERT_TRUE(WritePrivateProfileStringW(kOtherPrinter, L"Hard Disk", L"1",
                                           zd::InstallerOptionFilePath().c_str()));
    zd::ApplyInstallerDetectedOptions(printer_->get());
    EXPECT_EQ(Stored(), data);
    EXPECT_EQ(StoredSize(), DWORD(data.size()));
}

TEST_F(InstallerOptions, MissingLengthTakesTheValueAsRead) {
    std::string before = Entries({{"ZDHDD", "False"}, {"ZDFinisher", "False"}});
    Store(before, false);
    Installer(L"Hard Disk", L"1");
    zd::ApplyInstallerDetectedOptions(printer_->get());
    std::string after = Entries({{"ZDHDD", "True"}, {"ZDFinisher", "False"}});
    EXPECT_EQ(Stored(), after);
    EXPECT_EQ(StoredSize(), DWORD(after.size()));
}

} // namespace
