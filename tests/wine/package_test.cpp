// The demo model's driver package (build/windows/driver, as the package zip
// carries it): instprinter --inf installs a printer from its INF, and the
// package checker passes it clean and finds one fault of each kind in
// broken copies of it.
#include "package_lint.h"
#include "test_printer.h"

#include <gtest/gtest.h>
#include <winspool.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using drvhost::LintFinding;
using drvhost::LintLevel;

std::string Narrow(const std::wstring& s) {
    std::string out;
    for (wchar_t c : s)
        out.push_back(c < 0x80 ? char(c) : '?');
    return out;
}

std::wstring DriverFolder() {
    return zdtest::ExeDir() + L"\\..\\driver\\";
}

// Runs a program of the build and returns its exit code; its standard
// output goes to `output`.
DWORD RunTool(const std::wstring& commandLine, std::string* output) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return DWORD(-1);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd;
    si.hStdError = writeEnd;
    PROCESS_INFORMATION pi = {};
    std::wstring line = commandLine;
    BOOL started =
        CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        return DWORD(-1);
    }
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(readEnd, buf, sizeof buf, &got, nullptr) && got)
        output->append(buf, got);
    CloseHandle(readEnd);
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = DWORD(-1);
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return code;
}

std::string ReadAll(const std::wstring& path) {
    std::string text;
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return text;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got)
        text.append(buf, got);
    CloseHandle(f);
    return text;
}

TEST(DriverPackage, InstprinterInstallsThePrinterFromTheInf) {
    const std::wstring printer = L"ZD Package Printer";
    std::string out;
    DWORD code =
        RunTool(L"\"" + zdtest::ExeDir() + L"\\instprinter.exe\" --inf \"" + DriverFolder() +
                    L"zdcp95.inf\" \"Zed CP9500 PS\" \"" + printer + L"\"",
                &out);
    ASSERT_EQ(code, 0u) << out;

    // The spooler has the INF's model as driver, the PPD as data file and
    // every other copied file as dependent file.
    HANDLE handle = nullptr;
    ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(printer.c_str()), &handle, nullptr));
    DWORD needed = 0;
    GetPrinterDriverW(handle, nullptr, 3, nullptr, 0, &needed);
    std::vector<BYTE> buf(needed);
    ASSERT_TRUE(GetPrinterDriverW(handle, nullptr, 3, buf.data(), needed, &needed));
    ClosePrinter(handle);
    auto* di = reinterpret_cast<DRIVER_INFO_3W*>(buf.data());
    EXPECT_STREQ(di->pName, L"Zed CP9500 PS");
    EXPECT_NE(std::wstring(di->pDataFile).find(L"zdcp95.ppd"), std::wstring::npos);
    std::vector<std::wstring> dependent;
    for (const wchar_t* f = di->pDependentFiles; f && *f; f += wcslen(f) + 1) {
        std::wstring name(f);
        dependent.push_back(name.substr(name.find_last_of(L'\\') + 1));
    }
    EXPECT_EQ(dependent,
              (std::vector<std::wstring>{L"zdui.dll", L"zdcp95.ini", L"zdcp95.cap", L"zdcp95.ver",
                                         L"zdwmfont.dat", L"zdccm.ini", L"zdaskres.dll"}));

    // The plug-in, as the driver loads it, finds the model's section.
    out.clear();
    code = RunTool(L"\"" + zdtest::ExeDir() + L"\\drvhost.exe\" info \"" + printer + L"\"", &out);
    EXPECT_EQ(code, 0u) << out;
    EXPECT_NE(out.find("model section: [ZED_CP9500]"), std::string::npos) << out;
}

TEST(DriverPackage, InstprinterRefusesAModelTheInfDoesNotOffer) {
    std::string out;
    DWORD code = RunTool(L"\"" + zdtest::ExeDir() + L"\\instprinter.exe\" --inf \"" +
                             DriverFolder() + L"zdcp95.inf\" \"Zed CP9600 PS\" \"ZD No Printer\"",
                         &out);
    EXPECT_EQ(code, 1u);
    EXPECT_NE(out.find("offers no model"), std::string::npos) << out;
}

class PackageLint : public testing::Test {
  protected:
    // A copy of the demo driver folder under `tag`, changed by `change`
    // (which gets the folder, with a trailing "\"), then checked.
    void Check(const std::wstring& tag, const std::function<void(const std::wstring&)>& change) {
        dir_ = zdtest::MakeTempDir(L"pkg-" + tag) + L"\\";
        for (const wchar_t* f :
             {L"zdcp95.inf", L"zdui.dll", L"zdcp95.ini", L"zdcp95.cap", L"zdcp95.ver",
              L"zdwmfont.dat", L"zdccm.ini", L"zdaskres.dll", L"zdcp95.ppd"})
            ASSERT_TRUE(CopyFileW((DriverFolder() + f).c_str(), (dir_ + f).c_str(), FALSE))
                << Narrow(f);
        change(dir_);
        findings_ = drvhost::LintPackage(dir_.substr(0, dir_.size() - 1), nullptr);
    }

    // The INF with one text replaced.
    void EditInf(const std::string& from, const std::string& to) {
        std::string text = ReadAll(dir_ + L"zdcp95.inf");
        size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
        ASSERT_TRUE(zdtest::WriteTextFile(dir_ + L"zdcp95.inf",
                                          std::wstring(text.begin(), text.end()), false));
    }

    // The finding holding `text` is an error in `file` (of the package), on a line when `lined`.
    void ExpectError(const std::wstring& text, const std::wstring& file, bool lined = true) {
        for (const LintFinding& f : findings_) {
            if (f.message.find(text) == std::wstring::npos)
                continue;
            EXPECT_EQ(int(f.level), int(LintLevel::Error)) << Narrow(f.message);
            EXPECT_EQ(f.file, dir_ + file) << Narrow(f.message);
            if (lined) {
                EXPECT_GT(f.line, 0) << Narrow(f.message);
            }
            return;
        }
        ADD_FAILURE() << "no finding with \"" << Narrow(text) << "\"; findings:\n" << Report();
    }

    std::string Report() const {
        std::string r;
        for (const LintFinding& f : findings_)
            r += Narrow(drvhost::FormatFinding(f)) + "\n";
        return r;
    }

    std::wstring dir_;
    std::vector<LintFinding> findings_;
};

TEST_F(PackageLint, TheDemoPackageIsClean) {
    Check(L"clean", [](const std::wstring&) {});
    EXPECT_EQ(drvhost::LintExitStatus(findings_), 0) << Report();
}

TEST_F(PackageLint, ACopiedFileMissingFromTheFolder) {
    Check(L"missing", [](const std::wstring& dir) { DeleteFileW((dir + L"zdccm.ini").c_str()); });
    ExpectError(L"zdccm.ini is copied but is not in the package folder", L"zdcp95.inf");
}

TEST_F(PackageLint, AFileThePluginReadsIsNotCopied) {
    Check(L"notcopied", [&](const std::wstring&) { EditInf("@zdwmfont.dat,", ""); });
    ExpectError(L"zdwmfont.dat (watermark font list", L"zdcp95.inf");
    EXPECT_EQ(drvhost::LintExitStatus(findings_), 2);
}

TEST_F(PackageLint, AModelNameWithoutACapabilityEntry) {
    Check(L"nocap",
          [&](const std::wstring&) { EditInf("\"Zed CP9500 PS\" =", "\"Zed CP9600 PS\" ="); });
    ExpectError(L"\"Zed CP9600 PS\" is not a key under [Capability]", L"zdcp95.inf");
}

TEST_F(PackageLint, APpdOfAnotherModel) {
    // CP7500 has a model section, but the PPD is the CP9500's.
    Check(L"ppd",
          [&](const std::wstring&) { EditInf("\"Zed CP9500 PS\" =", "\"Zed CP7500 PS\" ="); });
    ExpectError(L"*NickName \"Zed CP9500 PS\" is not the INF's model \"Zed CP7500 PS\"",
                L"zdcp95.ppd");
    ExpectError(L"*ModelName \"Zed CP9500 PS\"", L"zdcp95.ppd");
}

TEST_F(PackageLint, AConfigurationFileThatDoesNotNameThePlugin) {
    Check(L"oemfiles", [](const std::wstring& dir) {
        ASSERT_TRUE(zdtest::WriteTextFile(dir + L"zdcp95.ini",
                                          L"[DependentFiles]\r\nWMFONT=zdwmfont.dat\r\n"));
    });
    ExpectError(L"names the plug-in under [OEMFiles] OEMConfigFile1", L"zdcp95.inf");
}

} // namespace
