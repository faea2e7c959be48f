#include "core/printer_event.h"

#include "core/driver_files.h"
#include "core/file_access.h"
#include "core/option_detection.h"
#include "core/process_state.h"
#include "core/win_util.h"
#include "core/driver_paths.h"
#include "core/library_loading.h"
#include "resources/resource.h"

#include <winspool.h>

#include <string>
#include <vector>

namespace zd {

namespace {

constexpr DWORD kProtocolValue = 4;
constexpr int kRenderLibraryUnits = 520;

// A value exists when its size can be asked for.
bool PrinterDataExists(HANDLE printer, const WCHAR* name) {
    DWORD type = 0, needed = 0;
    DWORD rc = GetPrinterDataW(printer, const_cast<LPWSTR>(name), &type, nullptr, 0, &needed);
    return rc == ERROR_SUCCESS || (rc == ERROR_MORE_DATA && needed != 0);
}

bool EnsureProtocol(HANDLE printer) {
    DWORD value = 0, type = 0, needed = 0;
    DWORD rc = GetPrinterDataW(printer, const_cast<LPWSTR>(L"Protocol"), &type,
                               reinterpret_cast<BYTE*>(&value), sizeof(value), &needed);
    if (rc == ERROR_SUCCESS && value == kProtocolValue)
        return true;
    value = kProtocolValue;
    return SetPrinterDataW(printer, const_cast<LPWSTR>(L"Protocol"), REG_DWORD,
                           reinterpret_cast<BYTE*>(&value), sizeof(value)) == ERROR_SUCCESS;
}

bool EnsureRenderLibraryName(HANDLE printer) {
    const WCHAR* name = L"SPLUserModePrinterDriver";
    if (PrinterDataExists(printer, name))
        return true;
    WCHAR text[kRenderLibraryUnits] = {};
    int length =
        LoadStringW(Process().moduleInstance, IDS_RENDER_LIBRARY, text, kRenderLibraryUnits);
    if (length <= 0)
        return false; // an empty name would be a wrong value, not a missing one
    return SetPrinterDataW(printer, const_cast<LPWSTR>(name), REG_SZ, reinterpret_cast<BYTE*>(text),
                           DWORD(2 * (length + 1))) == ERROR_SUCCESS;
}

void ClearReadOnly(const WCHAR* path) {
    DWORD attributes = GetFileAttributesW(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(path, attributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
}

// Runs as the spooler itself while the default DEVMODE is changed, when the
// spooler's service library offers the switch.
class SpoolerSelf {
  public:
    SpoolerSelf() : library_(LoadSystemLibrary(L"spoolss.dll")) {
        if (!library_)
            return;
        using Revert = HANDLE(WINAPI*)();
        auto revert = ProcAddress<Revert>(library_.get(), "RevertToPrinterSelf");
        impersonate_ = ProcAddress<Impersonate>(library_.get(), "ImpersonatePrinterClient");
        if (revert && impersonate_)
            client_ = revert();
    }
    ~SpoolerSelf() {
        if (client_ && impersonate_)
            impersonate_(client_);
    }
    SpoolerSelf(const SpoolerSelf&) = delete;
    SpoolerSelf& operator=(const SpoolerSelf&) = delete;

  private:
    using Impersonate = BOOL(WINAPI*)(HANDLE);
    ModuleHandle library_;
    Impersonate impersonate_ = nullptr;
    HANDLE client_ = nullptr;
};

// Bytes of a DEVMODE that lie inside the buffer holding it.
size_t DevModeBytes(const DEVMODEW* dm, const std::vector<BYTE>& buffer) {
    const BYTE* start = reinterpret_cast<const BYTE*>(dm);
    const BYTE* bufferEnd = buffer.data() + buffer.size();
    if (!dm || start < buffer.data() || start >= bufferEnd ||
        size_t(bufferEnd - start) < sizeof(DEVMODEW::dmDeviceName) + 8)
        return 0;
    // A DEVMODE that claims more than its buffer holds would be read past
    // the buffer's end when stored again: it counts as none.
    size_t total = size_t(dm->dmSize) + dm->dmDriverExtra;
    return total <= size_t(bufferEnd - start) ? total : 0;
}

std::vector<BYTE> GetPrinterBlock(HANDLE printer, DWORD level) {
    DWORD needed = 0;
    GetPrinterW(printer, level, nullptr, 0, &needed);
    std::vector<BYTE> block;
    if (needed == 0)
        return block;
    block.assign(needed, 0);
    if (!GetPrinterW(printer, level, block.data(), needed, &needed))
        block.clear();
    return block;
}

} // namespace

std::wstring ColourSettingStorePath(HANDLE printer) {
    std::wstring name = ReadModelText(printer, L"CCMInfoFile");
    WCHAR path[kOemConfigPathUnits] = {};
    DWORD size = sizeof(path);
    // A path that was not built whole names the driver folder or nothing.
    if (name.empty() || !BuildDriverFilePath(path, &size, name.c_str()))
        return std::wstring();
    return path;
}

std::vector<std::wstring> FilesToOpenUp(HANDLE printer, const WCHAR* configPath) {
    std::vector<std::wstring> files;
    // The PPD keeps the rights it inherits: nothing writes it on a user's
    // behalf, and its PostScript goes into every user's jobs.
    if (configPath && configPath[0])
        files.emplace_back(configPath);
    std::wstring store = ColourSettingStorePath(printer);
    if (!store.empty())
        files.push_back(store);
    return files;
}

void OpenUpDriverFiles(HANDLE printer, const WCHAR* configPath, FileSecurityWriter write) {
    for (const std::wstring& file : FilesToOpenUp(printer, configPath))
        OpenUpFileAccess(file.c_str(), write);
}

OutputOptionResult SetUpOutputOption(const WCHAR* printerName) {
    SpoolerSelf self;
    PrinterHandle printer(printerName, PRINTER_ALL_ACCESS);
    if (!printer)
        return OutputOptionResult::Failed;
    int value = ReadModelInt(printer.get(), L"PSOutputOpt", -1);
    if (unsigned(value) > 3)
        return OutputOptionResult::NotConfigured;
    return WriteOutputOption(printer.get(), printerName, BYTE(value),
                             GetPrinterBlock(printer.get(), 8));
}

OutputOptionResult WriteOutputOption(HANDLE printer, const WCHAR* printerName, BYTE value,
                                     std::vector<BYTE> block) {
    // The global default DEVMODE, else the per-printer one, else the driver's.
    // A spooler that gave no level-8 answer at all has no default to
    // change: nothing is written in its place.
    if (block.size() < sizeof(PRINTER_INFO_8W))
        return OutputOptionResult::NoDevMode;
    // One that ends before the option's byte (the spooler's bare public
    // part, without the driver's private part) has no such option: writing
    // there would land past its end, so the next source is asked.
    DEVMODEW* dm = reinterpret_cast<PRINTER_INFO_8W*>(block.data())->pDevMode;
    if (DevModeBytes(dm, block) <= kPsOutputOptionOffset) {
        block = GetPrinterBlock(printer, 2);
        dm = block.size() >= sizeof(PRINTER_INFO_2W)
                 ? reinterpret_cast<PRINTER_INFO_2W*>(block.data())->pDevMode
                 : nullptr;
    }
    if (DevModeBytes(dm, block) <= kPsOutputOptionOffset) {
        // The driver's own default; fails where the driver's UI module
        // cannot be loaded, and then there is nothing to write into.
        LONG size = DocumentPropertiesW(nullptr, printer, const_cast<LPWSTR>(printerName), nullptr,
                                        nullptr, 0);
        if (size <= 0)
            return OutputOptionResult::NoDevMode;
        block.assign(size_t(size), 0);
        dm = reinterpret_cast<DEVMODEW*>(block.data());
        if (DocumentPropertiesW(nullptr, printer, const_cast<LPWSTR>(printerName), dm, nullptr,
                                DM_OUT_BUFFER) < 0)
            return OutputOptionResult::NoDevMode;
        if (DevModeBytes(dm, block) <= kPsOutputOptionOffset)
            return OutputOptionResult::NoDevMode;
    }
    reinterpret_cast<BYTE*>(dm)[kPsOutputOptionOffset] = value;
    PRINTER_INFO_8W info8 = {dm};
    return SetPrinterW(printer, 8, reinterpret_cast<BYTE*>(&info8), 0) ? OutputOptionResult::Written
                                                                       : OutputOptionResult::Failed;
}

bool InitializePrinter(const WCHAR* printerName) {
    if (!printerName)
        return true;
    HANDLE raw = nullptr;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (!OpenPrinterW(const_cast<LPWSTR>(printerName), &raw, &defaults))
        return true; // not a printer of ours to prepare
    if (!raw)
        return false;
    struct Closer {
        HANDLE h;
        ~Closer() { ClosePrinter(h); }
    } closer{raw};

    if (!EnsureProtocol(raw) || !EnsureRenderLibraryName(raw))
        return false;

    WCHAR config[kOemConfigPathUnits] = {};
    if (FindDriverFiles(raw, config)) {
        if (config[0])
            ClearReadOnly(config);
        OpenUpDriverFiles(raw, config);
        // Best effort like the file steps: the spooler drops a printer whose
        // initialisation fails, and a missing default DEVMODE (a driver whose
        // UI module cannot give one) must not cost the user the printer.
        SetUpOutputOption(printerName);
    }
    ApplyInstallerDetectedOptions(raw);
    return true;
}

} // namespace zd
