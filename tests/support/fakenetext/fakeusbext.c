/* Stands in for a model's USB extension library (an outside component) in
 * tests; loaded from the system directory. Set by the test through
 * environment variables (unset: answers 0 and writes nothing):
 *   ZDFAKE_USBREAD     answer of ReadPrinterOptionUSB
 *   ZDFAKE_USBDAT      data file name in the application-data folder
 *   ZDFAKE_INSTALLED, ZDFAKE_USBRAM, ZDFAKE_PUNCH
 *                      "Installed", "RAM" and "PunchType" of the printer
 * Each call appends "ReadPrinterOptionUSB(<printer>);" to ZDFAKE_CALLS. */
#include <shlobj.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

static void WriteKey(const char* section, const char* key, const char* variable,
                     const char* file) {
    char value[64];
    DWORD n = GetEnvironmentVariableA(variable, value, sizeof(value));
    if (n > 0 && n < sizeof(value))
        WritePrivateProfileStringA(section, key, value, file);
}

__declspec(dllexport) int WINAPI ReadPrinterOptionUSB(const char* printerName) {
    char log[4096] = "";
    char value[32];
    char name[MAX_PATH];
    char folder[MAX_PATH];
    char file[2 * MAX_PATH];
    int answer = 0;
    DWORD n = GetEnvironmentVariableA("ZDFAKE_CALLS", log, sizeof(log));
    if (n >= sizeof(log))
        log[0] = 0;
    if (printerName && strlen(log) + strlen(printerName) + 32 < sizeof(log)) {
        strcat(log, "ReadPrinterOptionUSB(");
        strcat(log, printerName);
        strcat(log, ");");
    }
    SetEnvironmentVariableA("ZDFAKE_CALLS", log);
    n = GetEnvironmentVariableA("ZDFAKE_USBREAD", value, sizeof(value));
    if (n > 0 && n < sizeof(value))
        answer = atoi(value);
    n = GetEnvironmentVariableA("ZDFAKE_USBDAT", name, sizeof(name));
    if (answer != 0 && printerName && n > 0 && n < sizeof(name) &&
        SUCCEEDED(SHGetFolderPathA(NULL, CSIDL_APPDATA, NULL, 0, folder))) {
        snprintf(file, sizeof(file), "%s\\%s", folder, name);
        DeleteFileA(file);
        WriteKey(printerName, "Installed", "ZDFAKE_INSTALLED", file);
        WriteKey(printerName, "RAM", "ZDFAKE_USBRAM", file);
        WriteKey(printerName, "PunchType", "ZDFAKE_PUNCH", file);
    }
    return answer;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}
