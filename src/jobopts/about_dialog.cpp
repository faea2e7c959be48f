#include "jobopts/about_dialog.h"

#include "core/driver_paths.h"
#include "core/process_state.h"
#include "core/ui_context.h"
#include "core/win_util.h"
#include "jobopts/about_info.h"
#include "jobopts/dialog_helpers.h"
#include "jobopts/dialog_plumbing.h"
#include "resources/resource.h"
#include "watermark/bitmap_helpers.h"

#include <winspool.h>

#include <string>
#include <vector>

namespace zd {

namespace {

// The markers stand in the PPD's header; a larger file is read only this far.
constexpr DWORD kPpdReadLimit = 16u << 20;
constexpr DWORD kDriverVerUnits = 64;
constexpr size_t kDependentListUnits = 8192;

class FileHandle {
  public:
    explicit FileHandle(const std::wstring& path)
        : handle_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~FileHandle() {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE get() const { return handle_; }
    explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE; }

  private:
    HANDLE handle_;
};

// The file's bytes (at most `limit`); empty when it cannot be read.
std::string ReadFileBytes(const std::wstring& path, DWORD limit) {
    FileHandle file(path);
    if (!file)
        return std::string();
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0)
        return std::string();
    DWORD wanted = size.QuadPart < LONGLONG(limit) ? DWORD(size.QuadPart) : limit;
    std::string bytes(wanted, '\0');
    DWORD got = 0;
    if (!ReadFile(file.get(), bytes.data(), wanted, &got, nullptr))
        return std::string();
    bytes.resize(got);
    return bytes;
}

std::wstring PrinterDriverNameFromPrinterInfo(HANDLE printer) {
    DWORD needed = 0;
    GetPrinterW(printer, 2, nullptr, 0, &needed);
    if (needed < sizeof(PRINTER_INFO_2W))
        return std::wstring();
    TempBlock<BYTE> block(needed);
    if (!block || !GetPrinterW(printer, 2, block.get(), needed, &needed))
        return std::wstring();
    const auto* pi2 = reinterpret_cast<const PRINTER_INFO_2W*>(block.get());
    return pi2->pDriverName ? std::wstring(pi2->pDriverName) : std::wstring();
}

std::vector<std::u16string> DependentFiles(HANDLE printer) {
    DWORD needed = 0;
    GetPrinterDriverW(printer, nullptr, 3, nullptr, 0, &needed);
    if (needed < sizeof(DRIVER_INFO_3W))
        return {};
    TempBlock<BYTE> block(needed);
    if (!block || !GetPrinterDriverW(printer, nullptr, 3, block.get(), needed, &needed))
        return {};
    const auto* di3 = reinterpret_cast<const DRIVER_INFO_3W*>(block.get());
    const BYTE* start = reinterpret_cast<const BYTE*>(di3->pDependentFiles);
    const BYTE* end = block.get() + needed;
    // The list must lie inside the block; never read past it.
    if (!start || start < block.get() || start >= end)
        return {};
    size_t units = size_t(end - start) / sizeof(WCHAR);
    if (units > kDependentListUnits)
        units = kDependentListUnits;
    return SplitDependentFiles(reinterpret_cast<const char16_t*>(start), units, kPathUnits);
}

std::wstring DriverVersion(HANDLE printer) {
    std::u16string versionFile = FindVersionFile(DependentFiles(printer));
    if (versionFile.empty())
        return std::wstring();
    WCHAR value[kDriverVerUnits] = {};
    GetPrivateProfileStringW(L"Version", L"DriverVer", L"", value, kDriverVerUnits,
                             W(versionFile).c_str());
    return W(DriverVersionFromDriverVer(U16(value)));
}

void FillTexts(HWND dlg, const UiContext* ctx) {
    std::wstring ppdVersion, copyright, driverVersion, driverName;
    if (ctx && ctx->configFilePath && ctx->configFilePath[0]) {
        // The configuration path lives in a 261-unit block of the driver's heap.
        std::wstring config(ctx->configFilePath, wcsnlen(ctx->configFilePath, kOemConfigPathUnits));
        std::string ppd = ReadFileBytes(W(PpdPathFromConfigPath(U16(config))), kPpdReadLimit);
        ppdVersion = W(PpdFileVersion(ppd));
        copyright = W(PpdCopyright(ppd));
    }
    HANDLE printer = ctx && ctx->pageParam ? ctx->pageParam->hPrinter : nullptr;
    if (printer) {
        driverVersion = DriverVersion(printer);
        driverName = PrinterDriverNameFromPrinterInfo(printer);
    }
    SetDlgItemTextW(dlg, IDC_ABOUT_DRIVER_NAME, driverName.c_str());
    SetDlgItemTextW(dlg, IDC_ABOUT_DRIVER_VERSION, driverVersion.c_str());
    SetDlgItemTextW(dlg, IDC_ABOUT_PPD_VERSION, ppdVersion.c_str());
    SetDlgItemTextW(dlg, IDC_ABOUT_COPYRIGHT, copyright.c_str());
}

BOOL OnInitDialog(HWND dlg, LPARAM lParam) {
    const UiContext* ctx = AttachDialogState<UiContext>(dlg, lParam);
    ApplyHelpButtonRule(dlg);
    FillTexts(dlg, ctx);
    return TRUE;
}

BOOL OnDrawItem(HWND dlg, const DRAWITEMSTRUCT* item) {
    if (!item || item->CtlID != IDC_ABOUT_PICTURE)
        return FALSE;
    DrawTransparentBitmap(dlg, Process().moduleInstance, IDC_ABOUT_PICTURE, IDB_ABOUT);
    return TRUE;
}

BOOL OnCommand(HWND dlg, WORD id) {
    switch (id) {
    case IDOK:
        EndDialog(dlg, 1);
        return TRUE;
    case IDCANCEL:
        EndDialog(dlg, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

INT_PTR RunAboutDialog(HWND owner, UiContext* ctx) {
    return RunModalDialog(owner, IDD_ABOUT, AboutDialogProc, ctx);
}

INT_PTR CALLBACK AboutDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog(dlg, lParam);
    case WM_DRAWITEM:
        return OnDrawItem(dlg, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_COMMAND:
        return OnCommand(dlg, LOWORD(wParam));
    case WM_HELP:
    case WM_CONTEXTMENU:
        return HandleContextHelp(msg, wParam, lParam);
    default:
        return FALSE;
    }
}

} // namespace zd
