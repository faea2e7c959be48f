// Finding the driver's configuration files among the dependent files of
// printers installed through the spooler, and the model keys read from them.
#include "core/driver_files.h"
#include "core/driver_lookup.h"
#include "core/process_state.h"
#include "test_printer.h"

#include <winspool.h>

#include <gtest/gtest.h>

namespace {

class DriverFilesTest : public testing::Test {
  protected:
    void SetUp() override { dir_ = zdtest::MakeTempDir(L"files"); }

    std::wstring File(const std::wstring& name, const std::wstring& text) {
        std::wstring path = dir_ + L"\\" + name;
        EXPECT_TRUE(zdtest::WriteTextFile(path, text));
        return path;
    }

    // Installs printer `name` with driver `driver` and the given files, and
    // opens it; the printer is closed by TearDown.
    HANDLE Install(const std::wstring& name, const std::wstring& driver,
                   const std::vector<std::wstring>& files) {
        zdtest::PrinterSpec spec;
        spec.printerName = name;
        spec.driverName = driver;
        spec.dataFile = zdtest::SamplesDir() + L"\\zdcp95.ppd";
        spec.dependentFiles = files;
        std::wstring error;
        EXPECT_TRUE(zdtest::InstallPrinter(spec, &error))
            << std::string(error.begin(), error.end());
        EXPECT_TRUE(OpenPrinterW(const_cast<LPWSTR>(name.c_str()), &printer_, nullptr));
        return printer_;
    }

    void TearDown() override {
        if (printer_)
            ClosePrinter(printer_);
    }

    static std::wstring Installed(const std::wstring& name) {
        return zdtest::DriverFilesDir() + L"\\" + name;
    }

    std::wstring dir_;
    HANDLE printer_ = nullptr;
};

const wchar_t kConfigIni[] = L"[OEMFiles]\r\nOEMConfigFile1=zdui.dll\r\n"
                             L"[DependentFiles]\r\nHELP=zdtest.hlp\r\n";

TEST_F(DriverFilesTest, IniWithConfigEntryAndCapInAnyLetterCase) {
    HANDLE p = Install(L"zd files case", L"ZD Files Case",
                       {File(L"zdt_case.INI", kConfigIni),
                        File(L"zdt_case.Cap", L"[Capability]\r\nZD Files Case=M\r\n")});
    WCHAR out[261] = L"untouched";
    ASSERT_TRUE(zd::FindDriverFiles(p, out));
    EXPECT_STREQ(out, Installed(L"zdt_case.INI").c_str());
    EXPECT_STREQ(zd::Process().capabilityFilePath, Installed(L"zdt_case.Cap").c_str());
}

TEST_F(DriverFilesTest, IniWithoutConfigEntryCountsButIsNotTaken) {
    HANDLE p = Install(L"zd files noentry", L"ZD Files NoEntry",
                       {File(L"zdt_noentry.ini", L"[OEMFiles]\r\nOther=1\r\n")});
    WCHAR out[261] = L"untouched";
    wcscpy(zd::Process().capabilityFilePath, L"stale");
    EXPECT_TRUE(zd::FindDriverFiles(p, out));
    EXPECT_STREQ(out, L"untouched");
    EXPECT_STREQ(zd::Process().capabilityFilePath, L""); // cleared first
}

TEST_F(DriverFilesTest, NameWithoutDotOrTooShortMatchesNothing) {
    HANDLE p = Install(L"zd files nodot", L"ZD Files NoDot",
                       {File(L"zdt_nodotini", kConfigIni), File(L"cap", L"")});
    WCHAR out[261] = L"untouched";
    EXPECT_FALSE(zd::FindDriverFiles(p, out));
    EXPECT_STREQ(out, L"untouched");
}

TEST_F(DriverFilesTest, LaterCapFileWinsAndModelKeysComeFromIt) {
    HANDLE p = Install(
        L"zd files twocap", L"ZD Files TwoCap",
        {File(L"zdt_first.cap", L"[Capability]\r\nZD Files TwoCap=A\r\n[A]\r\nCompression=1\r\n"),
         File(L"zdt_two.ini", kConfigIni),
         File(L"zdt_second.cap",
              L"[Capability]\r\nZD Files TwoCap=B\r\n[B]\r\nCompression=2305\r\nPSOutputOpt=2\r\n"
              L"AskZedRES=res.dll\r\n")});
    WCHAR out[261] = {};
    ASSERT_TRUE(zd::FindDriverFiles(p, out));
    EXPECT_STREQ(zd::Process().capabilityFilePath, Installed(L"zdt_second.cap").c_str());
    EXPECT_EQ(zd::FindModelSection(p), L"B");
    EXPECT_EQ(zd::ReadModelInt(p, L"Compression"), 2305);
    EXPECT_EQ(zd::ReadModelInt(p, L"PSOutputOpt", -1), 2);
    EXPECT_EQ(zd::ReadModelText(p, L"AskZedRES"), L"res.dll");
    EXPECT_EQ(zd::ReadModelText(p, L"AskZedURL"), L"");
}

TEST_F(DriverFilesTest, UnknownDriverNameReadsDefaults) {
    HANDLE p = Install(
        L"zd files unknown", L"ZD Files Unknown",
        {File(L"zdt_unknown.cap", L"[Capability]\r\nSomeone Else=A\r\n[A]\r\nCompression=1281\r\n"
                                  L"PSOutputOpt=1\r\n")});
    WCHAR out[261] = {};
    ASSERT_TRUE(zd::FindDriverFiles(p, out));
    EXPECT_EQ(zd::FindModelSection(p), L"");
    EXPECT_EQ(zd::ReadModelInt(p, L"PSOutputOpt", -1), -1);
    EXPECT_EQ(zd::ReadModelInt(p, L"Compression"), 0);
}

TEST_F(DriverFilesTest, OverlongDependentNameIsSkippedWithoutOverflow) {
    // A name longer than the configuration path buffer (261 units) is never
    // copied; the files after it are still found.
    std::wstring longName = L"zdt_" + std::wstring(230, L'x') + L".ini";
    std::wstring longPath = dir_ + L"\\" + longName;
    HANDLE p = Install(L"zd files long", L"ZD Files Long",
                       {File(longName, kConfigIni), File(L"zdt_after.cap", L"")});
    ASSERT_GT(Installed(longName).size(), 261u);
    WCHAR out[300];
    wmemset(out, L'#', 300);
    out[299] = 0;
    EXPECT_TRUE(zd::FindDriverFiles(p, out));
    EXPECT_EQ(out[0], L'#');
    EXPECT_EQ(out[261], L'#');
    EXPECT_STREQ(zd::Process().capabilityFilePath, Installed(L"zdt_after.cap").c_str());
}

TEST_F(DriverFilesTest, ABoundHandleKeepsItsAnswerUntilItsOwnerGoes) {
    HANDLE a = Install(L"zd files bind a", L"ZD Files Bind A",
                       {File(L"zdt_binda.cap", L"[Capability]\r\nZD Files Bind A=A\r\n")});
    int owner = 0;
    zd::BindPrinter(&owner, a);
    EXPECT_EQ(zd::PrinterDriverName(a), L"ZD Files Bind A");
    // The printer moves to another driver while the object lives: the object
    // keeps the answer it was given, a handle nobody bound is asked afresh.
    zdtest::PrinterSpec moved;
    moved.printerName = L"zd files bind a";
    moved.driverName = L"ZD Files Bind B";
    moved.dataFile = zdtest::SamplesDir() + L"\\zdcp95.ppd";
    moved.dependentFiles = {File(L"zdt_bindb.cap", L"[Capability]\r\nZD Files Bind B=B\r\n")};
    ASSERT_TRUE(zdtest::InstallPrinter(moved));
    EXPECT_EQ(zd::PrinterDriverName(a), L"ZD Files Bind A");
    HANDLE other = nullptr;
    ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(L"zd files bind a"), &other, nullptr));
    EXPECT_EQ(zd::PrinterDriverName(other), L"ZD Files Bind B");
    ClosePrinter(other);
    zd::ForgetPrinter(&owner);
    EXPECT_EQ(zd::PrinterDriverName(a), L"ZD Files Bind B");

    // The system hands a closed handle's value to the next printer opened:
    // once its owner has gone, that printer is asked for its own driver.
    zd::BindPrinter(&owner, a);
    ASSERT_TRUE(zd::FindDriverFiles(a, nullptr));
    zd::ForgetPrinter(&owner);
    ClosePrinter(printer_);
    printer_ = nullptr;
    HANDLE b = Install(L"zd files bind c", L"ZD Files Bind C",
                       {File(L"zdt_bindc.cap", L"[Capability]\r\nZD Files Bind C=C\r\n")});
    EXPECT_EQ(zd::PrinterDriverName(b), L"ZD Files Bind C");
    ASSERT_TRUE(zd::FindDriverFiles(b, nullptr));
    EXPECT_EQ(zd::FindModelSection(b), L"C");
}

TEST_F(DriverFilesTest, ADriverInformationLargerThanTheFirstGuessIsAskedWithItsSize) {
    // Thirty long names make the level-3 information larger than 8 KB.
    std::vector<std::wstring> files = {
        File(L"zdt_big.cap", L"[Capability]\r\nZD Files Big=BIG\r\n"),
        File(L"zdt_big.ini", kConfigIni)};
    for (int i = 0; i < 30; ++i)
        files.push_back(
            File(L"zdt_big_" + std::to_wstring(i) + std::wstring(100, L'n') + L".dat", L""));
    HANDLE p = Install(L"zd files big", L"ZD Files Big", files);
    DWORD needed = 0;
    GetPrinterDriverW(p, nullptr, 3, nullptr, 0, &needed);
    ASSERT_GT(needed, 8192u);
    WCHAR out[261] = {};
    ASSERT_TRUE(zd::FindDriverFiles(p, out));
    EXPECT_STREQ(out, Installed(L"zdt_big.ini").c_str());
    EXPECT_EQ(zd::PrinterDriverName(p), L"ZD Files Big");
    EXPECT_EQ(zd::FindModelSection(p), L"BIG");
}

TEST_F(DriverFilesTest, ModelKeysFollowAnEditedCapabilityFile) {
    HANDLE p = Install(L"zd files edit", L"ZD Files Edit",
                       {File(L"zdt_edit.cap", L"[Capability]\r\nZD Files Edit=M\r\n[M]\r\n"
                                              L"Compression=1\r\nTabLinkName=a\r\n")});
    ASSERT_TRUE(zd::FindDriverFiles(p, nullptr));
    EXPECT_EQ(zd::ReadModelInt(p, L"Compression"), 1);
    EXPECT_EQ(zd::ReadModelText(p, L"TabLinkName"), L"a");
    // The same size with another value, then another size.
    std::wstring cap = Installed(L"zdt_edit.cap");
    ASSERT_TRUE(zdtest::WriteTextFile(
        cap, L"[Capability]\r\nZD Files Edit=M\r\n[M]\r\nCompression=2\r\nTabLinkName=b\r\n"));
    EXPECT_EQ(zd::ReadModelInt(p, L"Compression"), 2);
    EXPECT_EQ(zd::ReadModelText(p, L"TabLinkName"), L"b");
    ASSERT_TRUE(zdtest::WriteTextFile(
        cap, L"[Capability]\r\nZD Files Edit=N\r\n[N]\r\nCompression=1281\r\n"));
    EXPECT_EQ(zd::FindModelSection(p), L"N");
    EXPECT_EQ(zd::ReadModelInt(p, L"Compression"), 1281);
    EXPECT_EQ(zd::ReadModelText(p, L"TabLinkName"), L"");
}

TEST(BuildDriverFilePath, BuildsTheThreeFolderPath) {
    WCHAR out[300] = {};
    DWORD size = sizeof(out);
    ASSERT_TRUE(zd::BuildDriverFilePath(out, &size, L"help.hlp"));
    std::wstring expected = zdtest::DriverFilesDir() + L"\\help.hlp";
    EXPECT_STREQ(out, expected.c_str());
    EXPECT_EQ(size, 2 * expected.size());
}

TEST(BuildDriverFilePath, TwentyByteCapacityFailsBeforeTheName) {
    WCHAR out[10];
    wmemset(out, L'#', 10);
    DWORD size = 20;
    EXPECT_FALSE(zd::BuildDriverFilePath(out, &size, L"help.hlp"));
    EXPECT_EQ(size, 20u); // the directory query failed: size unchanged
    EXPECT_EQ(out[9], L'#');
}

TEST(BuildDriverFilePath, RoomForTheFolderButNotTheName) {
    std::wstring dir = zdtest::DriverFilesDir();
    std::vector<WCHAR> out(dir.size() + 4, L'#');
    DWORD size = DWORD(out.size() * 2);
    EXPECT_FALSE(zd::BuildDriverFilePath(out.data(), &size, L"a-long-file-name.hlp"));
    EXPECT_STREQ(out.data(), dir.c_str());
    EXPECT_EQ(size, 2 * dir.size());
}

TEST_F(DriverFilesTest, HelpSetUpBuildsTheHelpPathInTheDriverHeap) {
    HANDLE p = Install(L"zd files help", L"ZD Files Help",
                       {File(L"zdt_help.ini", kConfigIni), File(L"zdt_help.cap", L"")});
    HANDLE heap = HeapCreate(0, 0, 0);
    ASSERT_TRUE(zd::SetUpHelp(heap, p));
    ASSERT_NE(zd::Process().oemConfigFilePath, nullptr);
    EXPECT_TRUE(HeapValidate(heap, 0, zd::Process().oemConfigFilePath));
    EXPECT_STREQ(zd::Process().oemConfigFilePath, Installed(L"zdt_help.ini").c_str());
    EXPECT_STREQ(zd::Process().helpFilePath, Installed(L"zdtest.hlp").c_str());
    HeapDestroy(heap);
    zd::Process().oemConfigFilePath = nullptr;
}

TEST_F(DriverFilesTest, HelpNamedOutsideTheDriverFolderOrTooLongIsNoHelp) {
    // The name that leaves the folder, and one whose path would not fit,
    // leave no path at all, not the driver folder.
    std::wstring tooLong(300, L'h');
    for (const std::wstring& help :
         {std::wstring(L"..\\zdtest.hlp"), std::wstring(L"C:zdtest.hlp"), tooLong}) {
        HANDLE p = Install(L"zd files badhelp", L"ZD Files BadHelp",
                           {File(L"zdt_badhelp.ini", L"[OEMFiles]\r\nOEMConfigFile1=zdui.dll\r\n"
                                                     L"[DependentFiles]\r\nHELP=" +
                                                         help + L"\r\n")});
        HANDLE heap = HeapCreate(0, 0, 0);
        wcscpy(zd::Process().helpFilePath, L"stale");
        ASSERT_TRUE(zd::SetUpHelp(heap, p));
        EXPECT_STREQ(zd::Process().helpFilePath, L"");
        HeapDestroy(heap);
        zd::Process().oemConfigFilePath = nullptr;
        ClosePrinter(printer_);
        printer_ = nullptr;
    }
}

TEST_F(DriverFilesTest, HelpSetUpFailsWithoutConfigurationFiles) {
    HANDLE p = Install(L"zd files none", L"ZD Files None", {File(L"zdt_none.txt", L"")});
    HANDLE heap = HeapCreate(0, 0, 0);
    EXPECT_FALSE(zd::SetUpHelp(heap, p));
    HeapDestroy(heap);
    zd::Process().oemConfigFilePath = nullptr;
}

} // namespace
