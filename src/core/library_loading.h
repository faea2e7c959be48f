// Loading the libraries the plug-in names (the spooler's service library,
// the network, USB and extension libraries) without the current directory,
// also on systems that refuse the LOAD_LIBRARY_SEARCH_* flags.
#pragma once

#include <windows.h>

namespace zd {

using LoadLibraryExFn = HMODULE(WINAPI*)(LPCWSTR, HANDLE, DWORD);

// Loads a library with `searchFlags` (LOAD_LIBRARY_SEARCH_*). Where the
// system refuses them (ERROR_INVALID_PARAMETER: Windows 7 without the
// update that adds them) a full path is loaded as itself and a bare name
// by its full path in the system folder, then, unless `systemOnly`, in this
// library's own folder (the driver folder); never by the bare name, which
// would be looked for in the current directory. `load` stands for
// LoadLibraryExW.
HMODULE LoadLibraryWithSearchFlags(const wchar_t* nameOrFullPath, DWORD searchFlags,
                                   bool systemOnly, LoadLibraryExFn load = LoadLibraryExW);

// By full path, or by bare name from the application's folder, the system
// folder and added folders only: never through the current directory,
// where a file planted beside a document would be found.
inline HMODULE LoadLibraryOutsideCurrentDir(const wchar_t* nameOrFullPath) {
    return LoadLibraryWithSearchFlags(nameOrFullPath, LOAD_LIBRARY_SEARCH_DEFAULT_DIRS, false);
}

// A library of the system folder, by its bare name.
inline HMODULE LoadSystemLibrary(const wchar_t* name) {
    return LoadLibraryWithSearchFlags(name, LOAD_LIBRARY_SEARCH_SYSTEM32, true);
}

} // namespace zd
