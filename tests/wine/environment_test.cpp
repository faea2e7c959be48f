// The once-per-process check of the system version and of the WinHelp
// viewer. Each case needs a fresh process, so the test runs itself as a
// child under the conditions of the case (Wine's per-program version
// setting, a versioned help viewer in the Windows directory).
#include "core/process_state.h"
#include "test_printer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring SelfPath() {
    WCHAR path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

std::wstring SelfName() {
    std::wstring p = SelfPath();
    return p.substr(p.find_last_of(L'\\') + 1);
}

// Runs this executable's child case `name` with ZD_EXPECT set; its exit
// code is the child's verdict.
DWORD RunChild(const wchar_t* name, const wchar_t* expect) {
    SetEnvironmentVariableW(L"ZD_EXPECT", expect);
    std::wstring cmd = L"\"" + SelfPath() + L"\" --gtest_filter=EnvironmentChild." + name;
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return 1000;
    WaitForSingleObject(pi.hProcess, 60000);
    DWORD code = 1001;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    SetEnvironmentVariableW(L"ZD_EXPECT", nullptr);
    return code;
}

std::wstring AppDefaultsKey() {
    return L"Software\\Wine\\AppDefaults\\" + SelfName();
}

// Child case: the expectation "<nt6> <winhelp>" comes from the parent.
TEST(EnvironmentChild, FlagsMatchTheParentsExpectation) {
    WCHAR expect[16] = {};
    if (!GetEnvironmentVariableW(L"ZD_EXPECT", expect, 16))
        GTEST_SKIP() << "runs only as a child of the cases below";
    zd::EnsureEnvironmentChecked();
    EXPECT_EQ(zd::Process().systemIsNt6OrLater, DWORD(expect[0] - L'0'));
    EXPECT_EQ(zd::Process().winHelpAvailable, DWORD(expect[2] - L'0'));
}

TEST(Environment, VersionFiveLeavesDetectionAndWinHelpAlone) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, AppDefaultsKey().c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const wchar_t winxp[] = L"winxp";
    RegSetValueExW(key, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(winxp), sizeof(winxp));
    RegCloseKey(key);
    DWORD verdict = RunChild(L"FlagsMatchTheParentsExpectation", L"0 1");
    RegDeleteKeyW(HKEY_CURRENT_USER, AppDefaultsKey().c_str());
    EXPECT_EQ(verdict, 0u);
}

TEST(Environment, HelpViewerOfVersionSixTurnsWinHelpOff) {
    WCHAR windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    std::wstring viewer = std::wstring(windows) + L"\\WINHLP32.EXE";
    std::wstring backup = viewer + L".zdsaved";
    bool hadViewer = MoveFileW(viewer.c_str(), backup.c_str()) != FALSE;
    ASSERT_TRUE(CopyFileW((zdtest::ExeDir() + L"\\winhelp6.exe").c_str(), viewer.c_str(), FALSE));
    // Wine would answer for its own built-in viewer: the child reads the file.
    HKEY key;
    std::wstring overrides = AppDefaultsKey() + L"\\DllOverrides";
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, overrides.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const wchar_t native[] = L"native";
    RegSetValueExW(key, L"winhlp32.exe", 0, REG_SZ, reinterpret_cast<const BYTE*>(native),
                   sizeof(native));
    RegCloseKey(key);
    DWORD verdict = RunChild(L"FlagsMatchTheParentsExpectation", L"1 0");
    RegDeleteKeyW(HKEY_CURRENT_USER, overrides.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, AppDefaultsKey().c_str());
    DeleteFileW(viewer.c_str());
    if (hadViewer)
        MoveFileW(backup.c_str(), viewer.c_str());
    EXPECT_EQ(verdict, 0u);
}

TEST(Environment, SystemSixWithoutVersionedViewerKeepsWinHelp) {
    zd::EnsureEnvironmentChecked();
    EXPECT_EQ(zd::Process().systemIsNt6OrLater, 1u);
    EXPECT_EQ(zd::Process().winHelpAvailable, 1u);
    // Later calls return at once.
    zd::Process().systemIsNt6OrLater = 7;
    zd::EnsureEnvironmentChecked();
    EXPECT_EQ(zd::Process().systemIsNt6OrLater, 7u);
    zd::Process().systemIsNt6OrLater = 1;
}

} // namespace
