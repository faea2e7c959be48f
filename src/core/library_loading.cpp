#include "core/library_loading.h"

#include "core/driver_paths.h"
#include "core/process_state.h"
#include "core/win_util.h"

#include <string>

namespace zd {

namespace {

// The folder of a module's file, with its trailing backslash; empty when
// the path cannot be had whole.
std::wstring ModuleFolder(HMODULE module) {
    WCHAR path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameW(module, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return std::wstring();
    std::wstring folder(path, n);
    size_t slash = folder.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash + 1);
}

std::wstring SystemFolder() {
    WCHAR path[MAX_PATH] = {};
    UINT n = GetSystemDirectoryW(path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return std::wstring();
    return std::wstring(path, n) + L"\\";
}

} // namespace

HMODULE LoadLibraryWithSearchFlags(const wchar_t* nameOrFullPath, DWORD searchFlags,
                                   bool systemOnly, LoadLibraryExFn load) {
    if (!nameOrFullPath || !nameOrFullPath[0] || !load)
        return nullptr;
    HMODULE module = load(nameOrFullPath, nullptr, searchFlags);
    if (module || GetLastError() != ERROR_INVALID_PARAMETER)
        return module;
    const std::u16string_view name = U16(nameOrFullPath);
    // Its own folder first for the library's own imports.
    if (IsFullPath(name))
        return load(nameOrFullPath, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!IsBareFileName(name))
        return nullptr;
    std::wstring folders[] = {SystemFolder(),
                              systemOnly ? std::wstring() : ModuleFolder(Process().moduleInstance)};
    for (const std::wstring& folder : folders) {
        if (folder.empty())
            continue;
        if ((module =
                 load((folder + nameOrFullPath).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)))
            return module;
    }
    return nullptr;
}

} // namespace zd
