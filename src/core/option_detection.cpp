#include "core/option_detection.h"

#include "core/driver_files.h"
#include "core/driver_paths.h"
#include "core/late_libraries.h"
#include "core/library_loading.h"
#include "core/option_keywords.h"
#include "core/process_state.h"
#include "core/win_util.h"

#include <string>
#include <vector>

namespace zd {

namespace {

// The extension libraries take the printer name in the system code page.
constexpr int kLibraryNameBytes = 221;
constexpr DWORD kDataPathBytes = 260;
constexpr DWORD kPrinterInfo1Bytes = 255;
// Enough to see whether a section of the installer's file has any key.
constexpr DWORD kSectionProbeUnits = 64;

using NameQuery = int(WINAPI*)(const char*);
using ReadOptionFlag32 = int(WINAPI*)(const char*, DWORD, DWORD, DWORD, DWORD);
using DataFileName = int(WINAPI*)(const char*, char*, DWORD);

// False when the name does not fit the libraries' buffer: a cut name would
// name another printer.
bool LibraryPrinterName(const WCHAR* name, char (&out)[kLibraryNameBytes]) {
    out[0] = 0;
    if (!name)
        return false;
    int n = WideCharToMultiByte(CP_ACP, 0, name, -1, out, kLibraryNameBytes, nullptr, nullptr);
    out[kLibraryNameBytes - 1] = 0;
    return n > 0;
}

// A library export that is missing answers 0.
int CallNameQuery(HMODULE library, const char* function, const char* printer) {
    auto fn = ProcAddress<NameQuery>(library, function);
    return fn ? fn(printer) : 0;
}

int CallReadOptions(HMODULE library, const char* printer, DWORD flags) {
    auto fn = ProcAddress<ReadOptionFlag32>(library, "ReadPrinterOptionFlag32");
    return fn ? fn(printer, 0, 0, 0, flags) : 0;
}

// The network library's data file path (8-bit), empty when not given.
std::string NetworkDataFile(HMODULE library, const char* printer) {
    auto fn = ProcAddress<DataFileName>(library, "GetDataFileName");
    char path[kDataPathBytes + 1] = {};
    if (!fn || fn(printer, path, kDataPathBytes) == 0)
        return std::string();
    path[kDataPathBytes] = 0; // whatever the library wrote, stay in the buffer
    return std::string(path);
}

// By bare name or full path: a relative path would be looked for from the
// current directory.
ModuleHandle LoadNetworkLibrary(HANDLE printer) {
    std::wstring name = ReadModelText(printer, L"NetExtDLL");
    if (!IsBareFileName(U16(name)) && !IsFullPath(U16(name)))
        return ModuleHandle();
    return ModuleHandle(LoadLibraryOutsideCurrentDir(name.c_str()));
}

// The display names of the first memory item's options (UserItemID 7).
std::vector<std::u16string> MemoryOptionNames(const OEMCUIPPARAM* tree) {
    std::vector<std::u16string> names;
    if (!tree || !tree->pDrvOptItems)
        return names;
    for (DWORD i = 0; i < tree->cDrvOptItems; ++i) {
        const OPTITEM& item = tree->pDrvOptItems[i];
        if (item.UserItemID != 7)
            continue;
        if (!item.pOptType || !item.pOptType->pOptParam)
            return names;
        for (WORD k = 0; k < item.pOptType->Count; ++k) {
            const WCHAR* text = item.pOptType->pOptParam[k].pData;
            // A resource id instead of a text has no digits to compare.
            if (IS_INTRESOURCE(text))
                names.emplace_back();
            else
                names.emplace_back(U16(text));
        }
        return names;
    }
    return names;
}

std::u16string Widen8(const char* text) {
    std::u16string out;
    for (; text && *text; ++text)
        out.push_back(char16_t(uint8_t(*text)));
    return out;
}

// The network library's data file, read through the UTF-16 profile functions.
OptionDataValues ReadNetworkDataFileW(const std::wstring& path, const WCHAR* section) {
    OptionDataValues v;
    const WCHAR* file = path.c_str();
    v.installed = GetPrivateProfileIntW(section, L"Installed", 0, file);
    v.memory = int32_t(GetPrivateProfileIntW(section, L"Random Access Memory", 0, file));
    v.hardDisk = GetPrivateProfileIntW(section, L"Hard Disk", 0, file) != 0;
    v.punchType = int32_t(GetPrivateProfileIntW(section, L"PunchType", 0, file));
    return v;
}

// Either data file, read through the 8-bit profile functions.
OptionDataValues ReadDataFileA(const std::string& path, const char* section, bool usb) {
    OptionDataValues v;
    const char* file = path.c_str();
    v.installed = GetPrivateProfileIntA(section, "Installed", 0, file);
    if (usb) {
        char ram[64] = {};
        GetPrivateProfileStringA(section, "RAM", "", ram, sizeof(ram), file);
        v.memory = ParseUsbRamText(Widen8(ram));
        v.hardDisk = (v.installed & installed::kHardDisk) != 0;
    } else {
        v.memory = int32_t(GetPrivateProfileIntA(section, "Random Access Memory", 0, file));
        v.hardDisk = GetPrivateProfileIntA(section, "Hard Disk", 0, file) != 0;
    }
    v.punchType = int32_t(GetPrivateProfileIntA(section, "PunchType", 0, file));
    return v;
}

bool FileExists(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExistsA(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The printer's level-2 information in the system code page.
struct PrinterInfo2A {
    std::vector<BYTE> buffer;
    const PRINTER_INFO_2A* info() const {
        return buffer.size() >= sizeof(PRINTER_INFO_2A)
                   ? reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data())
                   : nullptr;
    }
};

bool ReadPrinterInfo2A(HANDLE printer, PrinterInfo2A* out) {
    DWORD needed = 0;
    GetPrinterA(printer, 2, nullptr, 0, &needed);
    if (needed < sizeof(PRINTER_INFO_2A))
        return false;
    out->buffer.assign(needed, 0);
    return GetPrinterA(printer, 2, out->buffer.data(), needed, &needed) != 0;
}

// Whether the printer's level-1 information fits the 255-byte buffer that
// the detection has always used for it.
bool PrinterInfo1Fits(HANDLE printer, BYTE (&buffer)[kPrinterInfo1Bytes]) {
    DWORD needed = 0;
    return GetPrinterW(printer, 1, buffer, sizeof(buffer), &needed) != 0;
}

// The USB library from the system directory; its data file in the user's
// application-data folder. Empty data path on any failure.
std::string UsbDetection(HANDLE printer, const char* printerName, ModuleHandle* library) {
    std::wstring dll = ReadModelText(printer, L"USBExtDLL");
    std::wstring dat = ReadModelText(printer, L"USBExtDAT");
    // Only files of the system and the application-data folder.
    if (!IsBareFileName(U16(dll)) || !IsBareFileName(U16(dat)))
        return std::string();
    WCHAR system[MAX_PATH] = {};
    UINT n = GetSystemDirectoryW(system, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return std::string();
    library->reset(LoadLibraryOutsideCurrentDir((std::wstring(system) + L"\\" + dll).c_str()));
    if (!*library || CallNameQuery(library->get(), "ReadPrinterOptionUSB", printerName) == 0)
        return std::string();
    char appData[MAX_PATH] = {};
    if (!AppDataFolderA(appData))
        return std::string();
    int datBytes = WideCharToMultiByte(CP_ACP, 0, dat.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string datName(size_t(datBytes > 0 ? datBytes : 1), '\0');
    if (datBytes > 0)
        WideCharToMultiByte(CP_ACP, 0, dat.c_str(), -1, datName.data(), datBytes, nullptr, nullptr);
    datName.resize(strlen(datName.c_str()));
    return std::string(appData) + "\\" + datName;
}

std::string NetworkPortDetection(HANDLE printer, const char* printerName, ModuleHandle* library) {
    *library = LoadNetworkLibrary(printer);
    if (!*library)
        return std::string();
    HMODULE m = library->get();
    if (CallNameQuery(m, "IsValidPort", printerName) == 0)
        return std::string();
    if (CallNameQuery(m, "GetNetextCapability", printerName) == 0)
        return std::string();
    if (CallReadOptions(m, printerName, kPortReadFlags) != 1)
        return std::string();
    return NetworkDataFile(m, printerName);
}

// One name query of the network library; 0 when it cannot be asked.
int AskNetworkLibrary(OEMCUIPPARAM* deviceTree, const char* function, bool keepLoaded) {
    char name[kLibraryNameBytes];
    if (!deviceTree || !LibraryPrinterName(deviceTree->pPrinterName, name))
        return 0;
    ModuleHandle library = LoadNetworkLibrary(deviceTree->hPrinter);
    if (!library)
        return 0;
    int answer = CallNameQuery(library.get(), function, name);
    if (keepLoaded)
        library.release();
    return answer;
}

struct RegKey {
    HKEY h = nullptr;
    ~RegKey() {
        if (h)
            RegCloseKey(h);
    }
};

} // namespace

bool DetectOptionsDirect(OEMCUIPPARAM* deviceTree, DetectedOptions* out) {
    if (!deviceTree || !out || !deviceTree->pPrinterName)
        return false;
    char name[kLibraryNameBytes];
    if (!LibraryPrinterName(deviceTree->pPrinterName, name))
        return false;
    ModuleHandle library = LoadNetworkLibrary(deviceTree->hPrinter);
    if (!library)
        return false;
    if (CallReadOptions(library.get(), name, kDirectReadFlags) == 0)
        return false;
    std::string path8 = NetworkDataFile(library.get(), name);
    if (path8.empty())
        return false;
    WCHAR path[kDataPathBytes + 1] = {};
    if (MultiByteToWideChar(CP_ACP, 0, path8.c_str(), -1, path, kDataPathBytes + 1) == 0)
        return false;
    if (!FileExists(path))
        return false;
    OptionDataValues values = ReadNetworkDataFileW(path, deviceTree->pPrinterName);
    *out = DetectOptions(values, MemoryOptionNames(deviceTree));
    return true;
}

bool DetectOptionsFromPort(OEMCUIPPARAM* deviceTree, DetectedOptions* out) {
    if (!deviceTree || !out || !deviceTree->pPrinterName)
        return false;
    PrinterHandle printer(deviceTree->pPrinterName, PRINTER_ALL_ACCESS);
    if (!printer)
        return false;
    BYTE info1[kPrinterInfo1Bytes];
    if (!PrinterInfo1Fits(printer.get(), info1))
        return false;
    PrinterInfo2A info2;
    if (!ReadPrinterInfo2A(printer.get(), &info2) || !info2.info()->pPrinterName)
        return false;
    const PRINTER_INFO_2A* pi = info2.info();
    if (strlen(pi->pPrinterName) >= size_t(kLibraryNameBytes))
        return false;
    WCHAR oemConfig[kOemConfigPathUnits] = {};
    if (!FindDriverFiles(printer.get(), oemConfig))
        return false;

    const char* port = pi->pPortName ? pi->pPortName : "";
    bool usb = IsUsbPort(Widen8(port));
    ModuleHandle library;
    std::string dataFile = usb ? UsbDetection(printer.get(), pi->pPrinterName, &library)
                               : NetworkPortDetection(printer.get(), pi->pPrinterName, &library);
    if (dataFile.empty() || !FileExistsA(dataFile))
        return false;
    OptionDataValues values = ReadDataFileA(dataFile, pi->pPrinterName, usb);
    *out = DetectOptions(values, MemoryOptionNames(deviceTree));
    return true;
}

bool NetworkLibraryServesPrinter(OEMCUIPPARAM* deviceTree) {
    // Stays loaded: the detections of the sheet load it again.
    return AskNetworkLibrary(deviceTree, "GetNetextCapability", true) != 0;
}

bool IsPortValidForNetwork(OEMCUIPPARAM* deviceTree) {
    return AskNetworkLibrary(deviceTree, "IsValidPort", false) != 0;
}

std::wstring InstallerOptionFilePath() {
    WCHAR windows[520] = {};
    UINT n = GetWindowsDirectoryW(windows, 520);
    if (n == 0 || n >= 520 - 12)
        return std::wstring();
    return std::wstring(windows, n) + L"\\zedopt.dat";
}

void ApplyInstallerDetectedOptions(HANDLE printer) {
    if (!printer)
        return;
    BYTE info1[kPrinterInfo1Bytes];
    if (!PrinterInfo1Fits(printer, info1))
        return;
    const WCHAR* name = reinterpret_cast<const PRINTER_INFO_1W*>(info1)->pName;
    if (!name || !name[0])
        return;
    std::wstring path = InstallerOptionFilePath();
    if (path.empty())
        return;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    CloseHandle(file);
    // A file that says nothing about this printer (it was written for
    // another one) leaves the driver's options as they are, rather than
    // reading as "nothing installed".
    WCHAR firstKey[kSectionProbeUnits] = {};
    if (GetPrivateProfileStringW(name, nullptr, L"", firstKey, kSectionProbeUnits, path.c_str()) ==
        0)
        return;
    InstallerOptions options;
    options.installed = GetPrivateProfileIntW(name, L"Installed", 0, path.c_str());
    options.memory = int32_t(GetPrivateProfileIntW(name, L"Random Access Memory", 0, path.c_str()));
    options.hardDisk = int32_t(GetPrivateProfileIntW(name, L"Hard Disk", 0, path.c_str()));
    options.punchType = int32_t(GetPrivateProfileIntW(name, L"PunchType", 0, path.c_str()));

    std::wstring keyPath = L"System\\CurrentControlSet\\Control\\Print\\Printers\\";
    keyPath += name;
    keyPath += L"\\PrinterDriverData";
    RegKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_ALL_ACCESS, &key.h) !=
        ERROR_SUCCESS)
        return;
    // A value longer than the buffer is left alone rather than cut.
    BYTE data[kFeatureKeywordCapacity] = {};
    DWORD dataSize = sizeof(data), dataType = 0;
    if (RegQueryValueExW(key.h, L"FeatureKeyword", nullptr, &dataType, data, &dataSize) !=
        ERROR_SUCCESS)
        return;
    DWORD stored = 0, storedSize = sizeof(stored), sizeType = REG_DWORD;
    if (RegQueryValueExW(key.h, L"FeatureKeywordSize", nullptr, &sizeType,
                         reinterpret_cast<BYTE*>(&stored), &storedSize) != ERROR_SUCCESS) {
        // Without its length the value is taken as it was read: a length of
        // 0 would write the driver's options back empty.
        stored = dataSize;
        sizeType = REG_DWORD;
    }
    FeatureKeywordData keywords = FeatureKeywordDataFrom(data, dataSize, stored);
    ApplyInstallerOptions(keywords, options, ReadPpdText(PrinterDriverDataFile(printer)));
    StoreFeatureKeywords(keywords, [&](KeywordValue value, const uint8_t* bytes, size_t size) {
        bool isData = value == KeywordValue::Data;
        return RegSetValueExW(key.h, isData ? L"FeatureKeyword" : L"FeatureKeywordSize", 0,
                              isData ? REG_BINARY : sizeType, bytes, DWORD(size)) == ERROR_SUCCESS;
    });
}

} // namespace zd
