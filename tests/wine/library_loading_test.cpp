// Library loading where the system refuses the LOAD_LIBRARY_SEARCH_* flags,
// as a Windows 7 without the update that adds them does: a loader that
// answers those flags with ERROR_INVALID_PARAMETER stands for it.
#include "core/library_loading.h"
#include "core/process_state.h"
#include "test_printer.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

constexpr DWORD kSearchFlags = 0xFF00; // every LOAD_LIBRARY_SEARCH_* bit

std::vector<std::pair<std::wstring, DWORD>> g_calls;

HMODULE WINAPI RefusingLoader(LPCWSTR name, HANDLE file, DWORD flags) {
    g_calls.emplace_back(name, flags);
    if (flags & kSearchFlags) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return LoadLibraryExW(name, file, flags);
}

// A system that takes the flags and does not find the library.
HMODULE WINAPI MissingLoader(LPCWSTR name, HANDLE, DWORD flags) {
    g_calls.emplace_back(name, flags);
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

std::wstring SystemFolder() {
    WCHAR path[MAX_PATH] = {};
    GetSystemDirectoryW(path, MAX_PATH);
    return path;
}

class LibraryLoading : public testing::Test {
  protected:
    void SetUp() override {
        zd::Process().moduleInstance = GetModuleHandleW(nullptr); // the "driver folder"
        g_calls.clear();
    }
    // Every call after the refused first one named a full path.
    void ExpectOnlyFullPathsAfterTheFirst() {
        for (size_t i = 1; i < g_calls.size(); ++i)
            EXPECT_NE(g_calls[i].first.find(L'\\'), std::wstring::npos) << i;
    }
};

TEST_F(LibraryLoading, BareNamesComeFromTheSystemOrTheDriverFolder) {
    HMODULE net = zd::LoadLibraryWithSearchFlags(
        L"zdfakenetext.dll", LOAD_LIBRARY_SEARCH_DEFAULT_DIRS, false, RefusingLoader);
    ASSERT_NE(net, nullptr);
    ASSERT_EQ(g_calls.size(), 3u);
    EXPECT_EQ(g_calls[1].first, SystemFolder() + L"\\zdfakenetext.dll");
    EXPECT_EQ(g_calls[2].first, zdtest::ExeDir() + L"\\zdfakenetext.dll");
    ExpectOnlyFullPathsAfterTheFirst();
    FreeLibrary(net);

    // A system library, as the spooler's, from the system folder only.
    g_calls.clear();
    HMODULE version = zd::LoadLibraryWithSearchFlags(L"version.dll", LOAD_LIBRARY_SEARCH_SYSTEM32,
                                                     true, RefusingLoader);
    EXPECT_NE(version, nullptr);
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(g_calls[1].first, SystemFolder() + L"\\version.dll");
    FreeLibrary(version);
}

TEST_F(LibraryLoading, NeverTheCurrentDirectory) {
    std::wstring dir = zdtest::MakeTempDir(L"libload");
    ASSERT_TRUE(CopyFileW((zdtest::ExeDir() + L"\\zdfakenetext.dll").c_str(),
                          (dir + L"\\zdplantedload.dll").c_str(), FALSE));
    WCHAR saved[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, saved);
    ASSERT_TRUE(SetCurrentDirectoryW(dir.c_str()));
    HMODULE planted = zd::LoadLibraryWithSearchFlags(
        L"zdplantedload.dll", LOAD_LIBRARY_SEARCH_DEFAULT_DIRS, false, RefusingLoader);
    SetCurrentDirectoryW(saved);
    EXPECT_EQ(planted, nullptr);
    EXPECT_EQ(g_calls.size(), 3u);
    ExpectOnlyFullPathsAfterTheFirst();

    // A full path loads as itself; other failures are not retried.
    g_calls.clear();
    std::wstring full = dir + L"\\zdplantedload.dll";
    HMODULE byPath = zd::LoadLibraryWithSearchFlags(full.c_str(), LOAD_LIBRARY_SEARCH_DEFAULT_DIRS,
                                                    false, RefusingLoader);
    EXPECT_NE(byPath, nullptr);
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(g_calls[1].first, full);
    FreeLibrary(byPath);
    g_calls.clear();
    EXPECT_EQ(zd::LoadLibraryWithSearchFlags(L"zdnosuchlib.dll", LOAD_LIBRARY_SEARCH_DEFAULT_DIRS,
                                             false, MissingLoader),
              nullptr);
    EXPECT_EQ(g_calls.size(), 1u);
}

} // namespace
