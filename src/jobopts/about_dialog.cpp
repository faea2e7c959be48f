#include "jobopts/about_dialog.h"

#include "core/driver_files.h"
#include "core/driver_lookup.h"
#include "core/driver_paths.h"
#include "core/process_state.h"
#include "core/ui_context.h"
#include "core/win_util.h"
#include "jobopts/about_info.h"
#include "ui/dialog_helpers.h"
#include "ui/dialog_plumbing.h"
#include "resources/resource.h"
#include "ui/bitmap_helpers.h"

#include <winspool.h>

#include <algorithm>
#include <string>
#include <vector>

namespace zd {

namespace {

constexpr DWORD kDriverVerUnits = 64;
constexpr size_t kDependentListUnits = 8192;

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
    DriverAnswer driver;
    if (!AskDriver(printer, &driver))
        return {};
    const std::u16string& list = driver.dependentFiles;
    return SplitDependentFiles(list.data(), std::min(list.size(), kDependentListUnits), kPathUnits);
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
        std::string ppd = ReadPpdText(W(PpdPathFromConfigPath(U16(config))));
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
