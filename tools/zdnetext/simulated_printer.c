/* zdnetext.dll: the demo model's network extension library. It plays a
 * printer on the network: the options it "reads from the printer" come from
 * zdsimprinter.ini beside the library, one section per printer name, with
 * [Default] for every other printer:
 *   Trays=0..4  Duplex=0|1  Finisher=0|1  MultiPurposeFeeder=0|1
 *   HardDisk=0|1  PunchType=0..3  Memory=<MB>
 * A printer with neither section is one the library cannot serve. What it
 * reads it writes, in the option data file format the driver plug-in reads,
 * into zdnetext-options.dat in the temporary folder. */
#include <stdio.h>
#include <string.h>
#include <windows.h>

enum {
    kTrayBits = 0x0F,
    kMultiPurposeFeeder = 0x10,
    kDuplex = 0x20,
    kFinisher = 0x40,
    kMaxTrays = 4,
    kMaxPunchType = 3,
    kSectionProbe = 64,
};

static HMODULE g_module;

/* The printer description beside this library; false when the path does
 * not fit. */
static BOOL DescriptionPath(char* path, DWORD size) {
    static const char kName[] = "zdsimprinter.ini";
    DWORD n = GetModuleFileNameA(g_module, path, size);
    char* slash;
    if (n == 0 || n >= size)
        return FALSE;
    slash = strrchr(path, '\\');
    if (!slash || (size_t)(slash + 1 - path) + sizeof(kName) > size)
        return FALSE;
    memcpy(slash + 1, kName, sizeof(kName));
    return TRUE;
}

/* The section that describes the printer: its own, else [Default]; NULL
 * when there is none (or no printer name). */
static const char* DescriptionSection(const char* printerName, const char* file) {
    char probe[kSectionProbe];
    if (!printerName || !*printerName)
        return NULL;
    if (GetPrivateProfileSectionA(printerName, probe, sizeof(probe), file) > 0)
        return printerName;
    if (GetPrivateProfileSectionA("Default", probe, sizeof(probe), file) > 0)
        return "Default";
    return NULL;
}

static BOOL Serves(const char* printerName) {
    char file[MAX_PATH];
    return DescriptionPath(file, sizeof(file)) && DescriptionSection(printerName, file) != NULL;
}

static BOOL OptionDataPath(char* path, DWORD size) {
    static const char kName[] = "zdnetext-options.dat";
    DWORD n = GetTempPathA(size, path);
    if (n == 0 || n + sizeof(kName) > size)
        return FALSE;
    memcpy(path + n, kName, sizeof(kName));
    return TRUE;
}

static UINT Clamp(UINT value, UINT high) {
    return value > high ? high : value;
}

static BOOL WriteInt(const char* section, const char* key, UINT value, const char* file) {
    char text[16];
    snprintf(text, sizeof(text), "%u", value);
    return WritePrivateProfileStringA(section, key, text, file);
}

__declspec(dllexport) int WINAPI GetNetextCapability(const char* printerName) {
    return Serves(printerName);
}

/* Every printer the library serves sits on a port it can reach. */
__declspec(dllexport) int WINAPI IsValidPort(const char* printerName) {
    return Serves(printerName);
}

__declspec(dllexport) int WINAPI
    ReadPrinterOptionFlag32(const char* printerName, DWORD a, DWORD b, DWORD c, DWORD flags) {
    char description[MAX_PATH], data[MAX_PATH];
    const char* section;
    UINT trays, installed = 0;
    BOOL ok;
    (void)a;
    (void)b;
    (void)c;
    (void)flags;
    if (!DescriptionPath(description, sizeof(description)) || !OptionDataPath(data, sizeof(data)))
        return 0;
    section = DescriptionSection(printerName, description);
    if (!section)
        return 0;
    trays = Clamp(GetPrivateProfileIntA(section, "Trays", 0, description), kMaxTrays);
    installed = ((1u << trays) - 1) & kTrayBits;
    if (GetPrivateProfileIntA(section, "MultiPurposeFeeder", 0, description))
        installed |= kMultiPurposeFeeder;
    if (GetPrivateProfileIntA(section, "Duplex", 0, description))
        installed |= kDuplex;
    if (GetPrivateProfileIntA(section, "Finisher", 0, description))
        installed |= kFinisher;
    /* A fresh file: what an earlier printer left must not be read back. */
    DeleteFileA(data);
    ok = WriteInt(printerName, "Installed", installed, data) &&
         WriteInt(printerName, "Random Access Memory",
                  GetPrivateProfileIntA(section, "Memory", 0, description), data) &&
         WriteInt(printerName, "Hard Disk",
                  GetPrivateProfileIntA(section, "HardDisk", 0, description) != 0, data) &&
         WriteInt(printerName, "PunchType",
                  Clamp(GetPrivateProfileIntA(section, "PunchType", 0, description), kMaxPunchType),
                  data);
    return ok ? 1 : 0;
}

__declspec(dllexport) int WINAPI
    GetDataFileName(const char* printerName, char* buffer, DWORD size) {
    char data[MAX_PATH];
    size_t n;
    if (!buffer || !Serves(printerName) || !OptionDataPath(data, sizeof(data)))
        return 0;
    n = strlen(data);
    if (n >= size)
        return 0;
    memcpy(buffer, data, n + 1);
    return 1;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH)
        g_module = instance;
    return TRUE;
}
