#include "core/driver_files.h"

#include "core/driver_paths.h"
#include "core/process_state.h"
#include "core/win_util.h"

#include <winspool.h>

namespace zd {

namespace {

constexpr size_t kDependentWorkUnits = 3072;

// GetPrinterDriverW at `level` into a zero-filled process-heap block.
std::unique_ptr<TempBlock<BYTE>> GetDriverInfo(HANDLE printer, DWORD level, DWORD* bytes) {
    DWORD needed = 0;
    GetPrinterDriverW(printer, nullptr, level, nullptr, 0, &needed);
    if (needed == 0)
        return nullptr;
    auto block = std::make_unique<TempBlock<BYTE>>(needed);
    if (!*block || !GetPrinterDriverW(printer, nullptr, level, block->get(), needed, &needed))
        return nullptr;
    if (bytes)
        *bytes = needed;
    return block;
}

// A text field of the driver information at `level`; empty on failure.
template <typename Info>
std::wstring DriverInfoText(HANDLE printer, DWORD level, LPWSTR Info::*field) {
    auto info = GetDriverInfo(printer, level, nullptr);
    if (!info)
        return std::wstring();
    const WCHAR* text = reinterpret_cast<const Info*>(info->get())->*field;
    return text ? std::wstring(text) : std::wstring();
}

} // namespace

bool FindDriverFiles(HANDLE printer, WCHAR* oemConfigOut) {
    ProcessState& ps = Process();
    ps.capabilityFilePath[0] = 0;

    DWORD infoBytes = 0;
    auto info = GetDriverInfo(printer, 3, &infoBytes);
    if (!info)
        return false;
    const auto* di3 = reinterpret_cast<const DRIVER_INFO_3W*>(info->get());
    const WCHAR* list = di3->pDependentFiles;
    if (!list)
        return false;

    // The list lies inside the driver information block; never read past it.
    const BYTE* end = info->get() + infoBytes;
    const BYTE* start = reinterpret_cast<const BYTE*>(list);
    size_t available = (start >= info->get() && start < end) ? size_t(end - start) / 2 : 0;
    size_t units = available < kDependentWorkUnits ? available : kDependentWorkUnits;

    bool found = false;
    for (const std::u16string& name :
         SplitDependentFiles(reinterpret_cast<const char16_t*>(list), units, kPathUnits)) {
        switch (ClassifyDriverFile(name)) {
        case DriverFileKind::Ini: {
            WCHAR value[128] = {};
            GetPrivateProfileStringW(L"OEMFiles", L"OEMConfigFile1", L"", value, 128,
                                     W(name).c_str());
            // The out buffer holds 261 units: a longer path is not taken.
            if (value[0] && oemConfigOut && name.size() < kOemConfigPathUnits)
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
    return DriverInfoText(printer, 1, &DRIVER_INFO_1W::pName);
}

std::wstring PrinterDriverDataFile(HANDLE printer) {
    return DriverInfoText(printer, 3, &DRIVER_INFO_3W::pDataFile);
}

std::wstring FindModelSection(HANDLE printer, DWORD units) {
    std::wstring driver = PrinterDriverName(printer);
    const WCHAR* cap = Process().capabilityFilePath;
    if (driver.empty() || !cap[0])
        return std::wstring();
    std::wstring section(units, L'\0');
    DWORD n =
        GetPrivateProfileStringW(L"Capability", driver.c_str(), L"", section.data(), units, cap);
    section.resize(n);
    return section;
}

int ReadSectionInt(const WCHAR* capPath, const std::wstring& section, const WCHAR* key,
                   int fallback) {
    if (section.empty() || !capPath)
        return fallback;
    return int(GetPrivateProfileIntW(section.c_str(), key, fallback, capPath));
}

std::wstring ReadSectionText(const WCHAR* capPath, const std::wstring& section, const WCHAR* key,
                             DWORD units) {
    if (section.empty() || !capPath || units == 0)
        return std::wstring();
    std::wstring value(units, L'\0');
    DWORD n = GetPrivateProfileStringW(section.c_str(), key, L"", value.data(), units, capPath);
    value.resize(n);
    return value;
}

int ReadModelInt(HANDLE printer, const WCHAR* key, int fallback) {
    return ReadSectionInt(Process().capabilityFilePath, FindModelSection(printer), key, fallback);
}

std::wstring ReadModelText(HANDLE printer, const WCHAR* key, DWORD units) {
    return ReadSectionText(Process().capabilityFilePath, FindModelSection(printer), key, units);
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
    WCHAR help[520] = {};
    if (path[0])
        GetPrivateProfileStringW(L"DependentFiles", L"HELP", L"", help, 520, path);
    DWORD size = 520;
    // A path that could not be built whole names no help file: the folder
    // left in the buffer is not one.
    if (!BuildDriverFilePath(ps.helpFilePath, &size, help))
        ps.helpFilePath[0] = 0;
    return true;
}

} // namespace zd
