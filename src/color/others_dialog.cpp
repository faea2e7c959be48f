#include "color/others_dialog.h"

#include "core/ui_context.h"
#include "jobopts/dialog_helpers.h"
#include "jobopts/dialog_plumbing.h"
#include "resources/resource.h"

namespace zd {

namespace {

// The colour mode (selection of "ZDControl") in which separations make no sense.
constexpr uint32_t kGrayscaleMode = 4;

// One entry per option, so that an entry's position is the option index;
// options named by a resource number of the driver get an empty entry.
void FillSeparationList(HWND dlg, const OPTITEM* item) {
    HWND list = GetDlgItem(dlg, IDC_OTH_SEPARATION);
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    if (!item || !item->pOptType || !item->pOptType->pOptParam)
        return;
    const OPTTYPE* type = item->pOptType;
    for (WORD i = 0; i < type->Count; ++i) {
        const WCHAR* name = type->pOptParam[i].pData;
        if (!name || IS_INTRESOURCE(name))
            name = L"";
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
}

void ShowBoundControls(HWND dlg, const UiContext* ctx) {
    ShowControlRange(dlg, IDC_OTH_OVERPRINT, IDC_OTH_OVERPRINT, HasSlotItem(ctx, slot::OverPrint));
    ShowControlRange(dlg, IDC_OTH_GRAY_GRAPHICS, IDC_OTH_GRAY_GRAPHICS,
                     HasSlotItem(ctx, slot::ScreenObo));
    ShowControlRange(dlg, IDC_OTH_PRINTER_HALFTONE, IDC_OTH_PRINTER_HALFTONE,
                     HasSlotItem(ctx, slot::AlwaysPrintHalftone));
    ShowControlRange(dlg, IDC_OTH_SEPARATION_LABEL, IDC_OTH_SEPARATION,
                     HasSlotItem(ctx, slot::SeparationOrder));
}

void SetControlsFromSelections(HWND dlg, const UiContext* ctx) {
    if (HasSlotItem(ctx, slot::OverPrint))
        SetBoxChecked(dlg, IDC_OTH_OVERPRINT, ctx->selections[slot::OverPrint] == 1);
    if (HasSlotItem(ctx, slot::ScreenObo))
        SetBoxChecked(dlg, IDC_OTH_GRAY_GRAPHICS, ctx->selections[slot::ScreenObo] == 0);
    if (HasSlotItem(ctx, slot::AlwaysPrintHalftone))
        SetBoxChecked(dlg, IDC_OTH_PRINTER_HALFTONE,
                      ctx->selections[slot::AlwaysPrintHalftone] == 0);
    if (HasSlotItem(ctx, slot::SeparationOrder))
        SendDlgItemMessageW(dlg, IDC_OTH_SEPARATION, CB_SETCURSEL,
                            WPARAM(ctx->selections[slot::SeparationOrder]), 0);
}

// Separations only in colour; a list the printer lacks stays disabled.
void EnableSeparation(HWND dlg, const UiContext* ctx) {
    BOOL enable = HasSlotItem(ctx, slot::SeparationOrder) &&
                  ctx->selections[slot::ColorControl] != kGrayscaleMode;
    EnableWindow(GetDlgItem(dlg, IDC_OTH_SEPARATION_LABEL), enable);
    EnableWindow(GetDlgItem(dlg, IDC_OTH_SEPARATION), enable);
}

void SetDefaults(HWND dlg, const UiContext* ctx) {
    if (HasSlotItem(ctx, slot::OverPrint))
        SetBoxChecked(dlg, IDC_OTH_OVERPRINT, false);
    if (HasSlotItem(ctx, slot::ScreenObo))
        SetBoxChecked(dlg, IDC_OTH_GRAY_GRAPHICS, true);
    if (HasSlotItem(ctx, slot::AlwaysPrintHalftone))
        SetBoxChecked(dlg, IDC_OTH_PRINTER_HALFTONE, true);
    if (HasSlotItem(ctx, slot::SeparationOrder))
        SendDlgItemMessageW(dlg, IDC_OTH_SEPARATION, CB_SETCURSEL, 0, 0);
}

BOOL OnInitDialog(HWND dlg, LPARAM lParam) {
    UiContext* ctx = AttachDialogState<UiContext>(dlg, lParam);
    ApplyHelpButtonRule(dlg);
    InitOthers(dlg, ctx);
    return TRUE;
}

BOOL OnCommand(HWND dlg, WORD id) {
    switch (id) {
    case IDOK:
        StoreOthers(dlg, DialogState<UiContext>(dlg));
        EndDialog(dlg, 1);
        return TRUE;
    case IDCANCEL:
        EndDialog(dlg, 0);
        return TRUE;
    case IDC_DEFAULTS:
        SetDefaults(dlg, DialogState<UiContext>(dlg));
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

void InitOthers(HWND dlg, UiContext* ctx) {
    ShowBoundControls(dlg, ctx);
    if (HasSlotItem(ctx, slot::SeparationOrder))
        FillSeparationList(dlg, SlotItem(ctx, slot::SeparationOrder));
    SetControlsFromSelections(dlg, ctx);
    EnableSeparation(dlg, ctx);
}

void StoreOthers(HWND dlg, UiContext* ctx) {
    if (HasSlotItem(ctx, slot::OverPrint))
        ctx->selections[slot::OverPrint] = IsBoxChecked(dlg, IDC_OTH_OVERPRINT) ? 1 : 0;
    if (HasSlotItem(ctx, slot::ScreenObo))
        ctx->selections[slot::ScreenObo] = IsBoxChecked(dlg, IDC_OTH_GRAY_GRAPHICS) ? 0 : 1;
    if (HasSlotItem(ctx, slot::AlwaysPrintHalftone))
        ctx->selections[slot::AlwaysPrintHalftone] =
            IsBoxChecked(dlg, IDC_OTH_PRINTER_HALFTONE) ? 0 : 1;
    if (HasSlotItem(ctx, slot::SeparationOrder)) {
        // No entry chosen (a selection beyond the list) keeps the old value.
        LRESULT chosen = SendDlgItemMessageW(dlg, IDC_OTH_SEPARATION, CB_GETCURSEL, 0, 0);
        if (chosen != CB_ERR && chosen >= 0)
            ctx->selections[slot::SeparationOrder] = uint32_t(chosen);
    }
}

INT_PTR RunOthersDialog(HWND owner, UiContext* ctx) {
    return RunModalDialog(owner, IDD_OTHERS, OthersDialogProc, ctx);
}

INT_PTR CALLBACK OthersDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog(dlg, lParam);
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
