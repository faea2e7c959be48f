/* Stands in for a browser: appends its command line, as one UTF-8 line, to
   the file named by ZD_OPEN_MARKER, so a test can count what the shell opened. */
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR cmdLine, int show) {
    WCHAR path[MAX_PATH];
    char line[2048];
    HANDLE file;
    DWORD written = 0;
    int n;
    (void)instance;
    (void)previous;
    (void)cmdLine;
    (void)show;
    if (!GetEnvironmentVariableW(L"ZD_OPEN_MARKER", path, MAX_PATH))
        return 1;
    n = WideCharToMultiByte(CP_UTF8, 0, GetCommandLineW(), -1, line, sizeof line - 2, NULL, NULL);
    if (n <= 0)
        return 2;
    line[n - 1] = '\n';
    file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                       OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 3;
    WriteFile(file, line, (DWORD)n, &written, NULL);
    CloseHandle(file);
    return 0;
}
