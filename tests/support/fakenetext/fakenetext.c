/* Stands in for a model's network extension library (an outside component)
 * in tests. It can serve every printer whose name contains "net". What the
 * other functions answer and write is set by the test through environment
 * variables (unset: every answer is 0, nothing is written):
 *   ZDFAKE_VALIDPORT   answer of IsValidPort
 *   ZDFAKE_READ        answer of ReadPrinterOptionFlag32
 *   ZDFAKE_NETDATA     data file path given by GetDataFileName; written by
 *                      ReadPrinterOptionFlag32 when it answers non-zero
 *   ZDFAKE_INSTALLED, ZDFAKE_MEMORY, ZDFAKE_HDD, ZDFAKE_PUNCH
 *                      "Installed", "Random Access Memory", "Hard Disk" and
 *                      "PunchType" written into the section of the printer
 * Each call appends "<function>(<printer>[,<flags>]);" to ZDFAKE_CALLS. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

static int EnvInt(const char* name) {
    char value[32];
    DWORD n = GetEnvironmentVariableA(name, value, sizeof(value));
    return n > 0 && n < sizeof(value) ? atoi(value) : 0;
}

static void LogCall(const char* function, const char* printer, const char* extra) {
    char log[4096] = "";
    char entry[512];
    DWORD n = GetEnvironmentVariableA("ZDFAKE_CALLS", log, sizeof(log));
    if (n >= sizeof(log))
        log[0] = 0;
    snprintf(entry, sizeof(entry), "%s(%s%s%s);", function, printer ? printer : "(null)",
             extra ? "," : "", extra ? extra : "");
    if (strlen(log) + strlen(entry) < sizeof(log))
        strcat(log, entry);
    SetEnvironmentVariableA("ZDFAKE_CALLS", log);
}

static void WriteKey(const char* section, const char* key, const char* variable,
                     const char* file) {
    char value[64];
    DWORD n = GetEnvironmentVariableA(variable, value, sizeof(value));
    if (n > 0 && n < sizeof(value))
        WritePrivateProfileStringA(section, key, value, file);
}

__declspec(dllexport) int WINAPI GetNetextCapability(const char* printerName) {
    LogCall("GetNetextCapability", printerName, NULL);
    return printerName && strstr(printerName, "net") != NULL;
}

__declspec(dllexport) int WINAPI IsValidPort(const char* printerName) {
    LogCall("IsValidPort", printerName, NULL);
    return EnvInt("ZDFAKE_VALIDPORT");
}

__declspec(dllexport) int WINAPI ReadPrinterOptionFlag32(const char* printerName, DWORD a,
                                                         DWORD b, DWORD c, DWORD flags) {
    char extra[64];
    char file[MAX_PATH];
    int answer = EnvInt("ZDFAKE_READ");
    snprintf(extra, sizeof(extra), "%lu,%lu,%lu,0x%lX", (unsigned long)a, (unsigned long)b,
             (unsigned long)c, (unsigned long)flags);
    LogCall("ReadPrinterOptionFlag32", printerName, extra);
    if (answer != 0 && printerName) {
        DWORD n = GetEnvironmentVariableA("ZDFAKE_NETDATA", file, sizeof(file));
        if (n > 0 && n < sizeof(file)) {
            DeleteFileA(file);
            WriteKey(printerName, "Installed", "ZDFAKE_INSTALLED", file);
            WriteKey(printerName, "Random Access Memory", "ZDFAKE_MEMORY", file);
            WriteKey(printerName, "Hard Disk", "ZDFAKE_HDD", file);
            WriteKey(printerName, "PunchType", "ZDFAKE_PUNCH", file);
        }
    }
    return answer;
}

__declspec(dllexport) int WINAPI GetDataFileName(const char* printerName, char* buffer,
                                                 DWORD size) {
    char file[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("ZDFAKE_NETDATA", file, sizeof(file));
    LogCall("GetDataFileName", printerName, NULL);
    if (n == 0 || n >= sizeof(file) || !buffer || size <= n)
        return 0;
    memcpy(buffer, file, n + 1);
    return 1;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}
