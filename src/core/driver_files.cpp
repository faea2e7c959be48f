#include "core/driver_files.h"

#include "core/driver_lookup.h"
#include "core/driver_paths.h"
#include "core/process_state.h"
#include "core/profile_memo.h"
#include "core/win_util.h"

#include <winspool.h>

namespace zd {

namespace {
constexpr size_t kDependentWorkUnits = 3072;
} // namespace

bool FindDriverFiles(HANDLE printer, WCHAR* oemConfigOut) {
    ProcessState& ps = Process();
    ps.capabilityFilePath[0] = 0;

    DriverAnswer driver;
    if (!AskDriver(printer, &driver))
        return false;
    // The list is walked in a work area of 3072 units.
    const std::u16string list = driver.dependentFiles.substr(0, kDependentWorkUnits);

    bool found = false;
    for (const std::u16string& name : SplitDependentFiles(list.data(), list.size(), kPathUnits)) {
        switch (ClassifyDriverFile(name)) {
        case DriverFileKind::Ini: {
            std::wstring value =
                KeptProfileText(W(name).c_str(), L"OEMFiles", L"OEMConfigFile1", 128);
            // The out buffer holds 261 units: a longer path is not taken.
            if (!value.empty() && oemConfigOut && name.size() < kOemConfigPathUnits)
                CopyText(oemConfigOut, kOemConfigPathUnits, W(name));
            found = true;
            break;
        }
        case DriverFileKind::Cap:
            CopyText(ps.capabilityFilePath, kPathUnits, W(name));
            found = true;
            break;
        case DriverFileKind::Other:
            break;
        }
    }
    return found;
}

bool BuildDriverFilePath(WCHAR* out, DWORD* sizeBytes, const WCHAR* fileName) {
    if (!out || !sizeBytes)
        return false;
    // A name that could reach outside the folder, or names no file at all,
    // counts as absent.
    if (!fileName || !IsBareFileName(U16(fileName))) {
        if (*sizeBytes >= sizeof(WCHAR))
            out[0] = 0;
        *sizeBytes = 0;
        return false;
    }
    DWORD capacity = *sizeBytes;
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(out), capacity,
                                    &needed))
        return false;
    // The system's count includes the terminating NUL; "\3" adds four bytes.
    DWORD count = needed + 4;
    size_t dirUnits = wcslen(out);
    bool ok = false;
    size_t nameUnits = wcslen(fileName);
    if (capacity / 2 >= dirUnits + 3) {
        out[dirUnits] = L'\\';
        out[dirUnits + 1] = L'3';
        out[dirUnits + 2] = 0;
        if (capacity >= count + 2 * nameUnits + 1 && capacity / 2 >= dirUnits + 3 + 1 + nameUnits) {
            out[dirUnits + 2] = L'\\';
            memcpy(out + dirUnits + 3, fileName, nameUnits * 2);
            out[dirUnits + 3 + nameUnits] = 0;
            ok = true;
        }
    }
    *sizeBytes = DWORD(2 * wcslen(out));
    return ok;
}

std::wstring PrinterDriverName(HANDLE printer) {
    DriverAnswer driver;
    AskDriver(printer, &driver);
    return driver.name;
}

std::wstring PrinterDriverDataFile(HANDLE printer) {
    DriverAnswer driver;
    AskDriver(printer, &driver);
    return driver.dataFile;
}

std::string ReadPpdText(const std::wstring& path) {
    constexpr DWORD kLimit = 16u << 20;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    LARGE_INTEGER size = {};
    std::string bytes;
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0) {
        DWORD wanted = size.QuadPart < LONGLONG(kLimit) ? DWORD(size.QuadPart) : kLimit;
        bytes.resize(wanted);
        DWORD got = 0;
        if (!ReadFile(file, bytes.data(), wanted, &got, nullptr))
            got = 0;
        bytes.resize(got);
    }
    CloseHandle(file);
    return bytes;
}

std::wstring FindModelSection(HANDLE printer, DWORD units) {
    std::wstring driver = PrinterDriverName(printer);
    const WCHAR* cap = Process().capabilityFilePath;
    if (driver.empty() || !cap[0])
        return std::wstring();
    return KeptProfileText(cap, L"Capability", driver.c_str(), units);
}

int ReadSectionInt(const WCHAR* capPath, const std::wstring& section, const WCHAR* key,
                   int fallback) {
    if (section.empty() || !capPath)
        return fallback;
    return int(KeptProfileInt(capPath, section.c_str(), key, fallback));
}

std::wstring ReadSectionText(const WCHAR* capPath, const std::wstring& section, const WCHAR* key,
                             DWORD units) {
    if (section.empty() || !capPath || units == 0)
        return std::wstring();
    return KeptProfileText(capPath, section.c_str(), key, units);
}

int ReadModelInt(HANDLE printer, const WCHAR* key, int fallback) {
    return ReadSectionInt(Process().capabilityFilePath, FindModelSection(printer), key, fallback);
}

std::wstring ReadModelText(HANDLE printer, const WCHAR* key, DWORD units) {
    return ReadSectionText(Process().capabilityFilePath, FindModelSection(printer), key, units);
}

bool ReadModelTextIfPresent(HANDLE printer, const WCHAR* key, std::wstring* out) {
    out->clear();
    const std::wstring section = FindModelSection(printer);
    const WCHAR* cap = Process().capabilityFilePath;
    if (section.empty() || !cap[0])
        return false;
    // A default no value can hold: the key's absence shows as the default.
    static const WCHAR kAbsent[] = L"\x01\x02";
    WCHAR value[522] = {};
    GetPrivateProfileStringW(section.c_str(), key, kAbsent, value, 522, cap);
    if (wcscmp(value, kAbsent) == 0)
        return false;
    *out = value;
    return true;
}

bool SetUpHelp(HANDLE heap, HANDLE printer) {
    ProcessState& ps = Process();
    auto* path = static_cast<WCHAR*>(
        heap ? HeapAlloc(heap, HEAP_ZERO_MEMORY, kOemConfigPathUnits * sizeof(WCHAR)) : nullptr);
    if (!path)
        return false;
    ps.oemConfigFilePath = path;
    if (!FindDriverFiles(printer, path))
        return false;
    std::wstring help;
    if (path[0])
        help = KeptProfileText(path, L"DependentFiles", L"HELP", 520);
    DWORD size = 520;
    // A path that could not be built whole names no help file: the folder
    // left in the buffer is not one.
    if (!BuildDriverFilePath(ps.helpFilePath, &size, help.c_str()))
        ps.helpFilePath[0] = 0;
    return true;
}

} // namespace zd
