#include "color/others_dialog.h"

#include "color/color_mode.h"
#include "ui/option_lists.h"
#include "core/ui_context.h"
#include "ui/dialog_helpers.h"
#include "ui/dialog_plumbing.h"
#include "resources/resource.h"

namespace zd {

namespace {

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
        SelectOptionEntry(dlg, IDC_OTH_SEPARATION, ctx->selections[slot::SeparationOrder]);
}

// Separations only in colour; a list the printer lacks stays disabled.
void EnableSeparation(HWND dlg, const UiContext* ctx) {
    BOOL enable = OptionCount(ctx, slot::SeparationOrder) > 0 &&
                  !IsColorMode(ctx->selections[slot::ColorControl], ColorMode::Grayscale);
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
        FillOptionList(dlg, IDC_OTH_SEPARATION, ctx, slot::SeparationOrder);
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
    // No entry chosen (a selection beyond the list) keeps the old value.
    if (auto chosen = ChosenOption(dlg, IDC_OTH_SEPARATION, ctx, slot::SeparationOrder))
        ctx->selections[slot::SeparationOrder] = *chosen;
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
