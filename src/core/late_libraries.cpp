#include "core/late_libraries.h"

#include "core/win_util.h"

#include <shlobj.h>

#include <string>

namespace zd {

namespace {

// One slot per library, kept until the plug-in is unloaded. Two threads that
// race here both load it; the second reference is released with the first.
struct LateLibrary {
    const wchar_t* name;
    HMODULE module;
};

LateLibrary shell{L"shell32.dll", nullptr};
LateLibrary commonDialogs{L"comdlg32.dll", nullptr};

// By full path in the system folder: a bare name would also search the
// application's folder.
HMODULE Load(LateLibrary& library) {
    if (library.module)
        return library.module;
    WCHAR folder[MAX_PATH] = {};
    UINT n = GetSystemDirectoryW(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return nullptr;
    const std::wstring path = std::wstring(folder) + L"\\" + library.name;
    library.module = LoadLibraryExW(path.c_str(), nullptr, 0);
    return library.module;
}

template <typename F> F Function(LateLibrary& library, const char* name) {
    HMODULE module = Load(library);
    return module ? ProcAddress<F>(module, name) : nullptr;
}

} // namespace

bool ShellOpen(HWND owner, const wchar_t* target) {
    using Execute = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
    auto execute = Function<Execute>(shell, "ShellExecuteW");
    // Above 32 is success, as the shell documents it.
    return execute && reinterpret_cast<INT_PTR>(
                          execute(owner, nullptr, target, nullptr, nullptr, SW_SHOWNORMAL)) > 32;
}

bool AppDataFolderA(char* path) {
    using FolderPath = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
    auto folderPath = Function<FolderPath>(shell, "SHGetFolderPathA");
    return folderPath && SUCCEEDED(folderPath(nullptr, CSIDL_APPDATA, nullptr, 0, path));
}

bool PickColor(CHOOSECOLORW* choice) {
    using ChooseColor = BOOL(WINAPI*)(LPCHOOSECOLORW);
    auto chooseColor = Function<ChooseColor>(commonDialogs, "ChooseColorW");
    return chooseColor && chooseColor(choice);
}

void ReleaseLateLibraries() {
    for (LateLibrary* library : {&shell, &commonDialogs}) {
        if (library->module)
            FreeLibrary(library->module);
        library->module = nullptr;
    }
}

} // namespace zd
