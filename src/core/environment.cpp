// The once-per-process check of the system and of the WinHelp viewer.
#include "core/process_state.h"

#include <string>

namespace zd {

static bool WinHelpMajorVersionAtLeast6() {
    WCHAR path[260] = {};
    UINT n = GetWindowsDirectoryW(path, 260);
    if (n == 0 || n + 14 >= 260)
        return false;
    wcscat(path, L"\\WINHLP32.EXE");
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(path, &handle);
    if (size == 0)
        return false;
    std::string data(size, '\0');
    if (!GetFileVersionInfoW(path, 0, size, data.data()))
        return false;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &len) || !fixed ||
        len < sizeof(VS_FIXEDFILEINFO))
        return false;
    return HIWORD(fixed->dwProductVersionMS) >= 6;
}

void EnsureEnvironmentChecked() {
    ProcessState& ps = Process();
    if (ps.environmentChecked)
        return;
    ps.environmentChecked = 1;
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof(version); // 276 bytes
    if (!GetVersionExW(&version) || version.dwMajorVersion < 6)
        return;
    ps.systemIsNt6OrLater = 1;
    if (WinHelpMajorVersionAtLeast6())
        ps.winHelpAvailable = 0;
}

} // namespace zd
