/* Stands in for a model's network extension library (an outside component)
 * in tests: it can serve every printer whose name contains "net". */
#include <string.h>
#include <windows.h>

__declspec(dllexport) int WINAPI GetNetextCapability(const char* printerName) {
    return printerName && strstr(printerName, "net") != NULL;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}
