#include "color/others_dialog.h"

#include "core/process_state.h"
#include "core/ui_context.h"
#include "jobopts/dialog_helpers.h"
#include "resources/resource.h"

namespace zd {

namespace {

// The colour mode (selection of "ZDControl") in which separations make no sense.
constexpr uint32_t kGrayscaleMode = 4;

bool IsBound(const UiContext* ctx, int slotIndex) {
    return ctx && ctx->slots[slotIndex] != kNoSlot;
}

// The driver item of a slot, or null when the slot does not point into the
// tree's item array.
const OPTITEM* BoundItem(const UiContext* ctx, int slotIndex) {
    if (!IsBound(ctx, slotIndex) || !ctx->treeParam || !ctx->treeParam->pDrvOptItems)
        return nullptr;
    uint32_t index = ctx->slots[slotIndex];
    if (index >= ctx->treeParam->cDrvOptItems)
        return nullptr;
    return &ctx->treeParam->pDrvOptItems[index];
}

bool IsTicked(HWND dlg, int id) {
    return IsDlgButtonChecked(dlg, id) == BST_CHECKED;
}

void SetTicked(HWND dlg, int id, bool ticked) {
    CheckDlgButton(dlg, id, ticked ? BST_CHECKED : BST_UNCHECKED);
}

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
    ShowControlRange(dlg, IDC_OTH_OVERPRINT, IDC_OTH_OVERPRINT, IsBound(ctx, slot::OverPrint));
    ShowControlRange(dlg, IDC_OTH_GRAY_GRAPHICS, IDC_OTH_GRAY_GRAPHICS,
                     IsBound(ctx, slot::ScreenObo));
    ShowControlRange(dlg, IDC_OTH_PRINTER_HALFTONE, IDC_OTH_PRINTER_HALFTONE,
                     IsBound(ctx, slot::AlwaysPrintHalftone));
    ShowControlRange(dlg, IDC_OTH_SEPARATION_LABEL, IDC_OTH_SEPARATION,
                     IsBound(ctx, slot::SeparationOrder));
}

void SetControlsFromSelections(HWND dlg, const UiContext* ctx) {
    if (IsBound(ctx, slot::OverPrint))
        SetTicked(dlg, IDC_OTH_OVERPRINT, ctx->selections[slot::OverPrint] == 1);
    if (IsBound(ctx, slot::ScreenObo))
        SetTicked(dlg, IDC_OTH_GRAY_GRAPHICS, ctx->selections[slot::ScreenObo] == 0);
    if (IsBound(ctx, slot::AlwaysPrintHalftone))
        SetTicked(dlg, IDC_OTH_PRINTER_HALFTONE, ctx->selections[slot::AlwaysPrintHalftone] == 0);
    if (IsBound(ctx, slot::SeparationOrder))
        SendDlgItemMessageW(dlg, IDC_OTH_SEPARATION, CB_SETCURSEL,
                            WPARAM(ctx->selections[slot::SeparationOrder]), 0);
}

// Separations only in colour; a list the printer lacks stays disabled.
void EnableSeparation(HWND dlg, const UiContext* ctx) {
    BOOL enable = IsBound(ctx, slot::SeparationOrder) &&
                  ctx->selections[slot::ColorControl] != kGrayscaleMode;
    EnableWindow(GetDlgItem(dlg, IDC_OTH_SEPARATION_LABEL), enable);
    EnableWindow(GetDlgItem(dlg, IDC_OTH_SEPARATION), enable);
}

void SetDefaults(HWND dlg, const UiContext* ctx) {
    if (IsBound(ctx, slot::OverPrint))
        SetTicked(dlg, IDC_OTH_OVERPRINT, false);
    if (IsBound(ctx, slot::ScreenObo))
        SetTicked(dlg, IDC_OTH_GRAY_GRAPHICS, true);
    if (IsBound(ctx, slot::AlwaysPrintHalftone))
        SetTicked(dlg, IDC_OTH_PRINTER_HALFTONE, true);
    if (IsBound(ctx, slot::SeparationOrder))
        SendDlgItemMessageW(dlg, IDC_OTH_SEPARATION, CB_SETCURSEL, 0, 0);
}

UiContext* ContextOf(HWND dlg) {
    return reinterpret_cast<UiContext*>(GetWindowLongPtrW(dlg, DWLP_USER));
}

BOOL OnInitDialog(HWND dlg, LPARAM lParam) {
    SetWindowLongPtrW(dlg, DWLP_USER, lParam);
    ApplyHelpButtonRule(dlg);
    InitOthers(dlg, reinterpret_cast<UiContext*>(lParam));
    return TRUE;
}

BOOL OnCommand(HWND dlg, WORD id) {
    switch (id) {
    case IDOK:
        StoreOthers(dlg, ContextOf(dlg));
        EndDialog(dlg, 1);
        break;
    case IDCANCEL:
        EndDialog(dlg, 0);
        break;
    case IDC_DEFAULTS:
        SetDefaults(dlg, ContextOf(dlg));
        break;
    default:
        break;
    }
    return TRUE;
}

} // namespace

void InitOthers(HWND dlg, UiContext* ctx) {
    ShowBoundControls(dlg, ctx);
    if (IsBound(ctx, slot::SeparationOrder))
        FillSeparationList(dlg, BoundItem(ctx, slot::SeparationOrder));
    SetControlsFromSelections(dlg, ctx);
    EnableSeparation(dlg, ctx);
}

void StoreOthers(HWND dlg, UiContext* ctx) {
    if (IsBound(ctx, slot::OverPrint))
        ctx->selections[slot::OverPrint] = IsTicked(dlg, IDC_OTH_OVERPRINT) ? 1 : 0;
    if (IsBound(ctx, slot::ScreenObo))
        ctx->selections[slot::ScreenObo] = IsTicked(dlg, IDC_OTH_GRAY_GRAPHICS) ? 0 : 1;
    if (IsBound(ctx, slot::AlwaysPrintHalftone))
        ctx->selections[slot::AlwaysPrintHalftone] =
            IsTicked(dlg, IDC_OTH_PRINTER_HALFTONE) ? 0 : 1;
    if (IsBound(ctx, slot::SeparationOrder)) {
        // No entry chosen (a selection beyond the list) keeps the old value.
        LRESULT chosen = SendDlgItemMessageW(dlg, IDC_OTH_SEPARATION, CB_GETCURSEL, 0, 0);
        if (chosen != CB_ERR && chosen >= 0)
            ctx->selections[slot::SeparationOrder] = uint32_t(chosen);
    }
}

INT_PTR RunOthersDialog(HWND owner, UiContext* ctx) {
    return DialogBoxParamW(Process().moduleInstance, MAKEINTRESOURCEW(IDD_OTHERS), owner,
                           OthersDialogProc, reinterpret_cast<LPARAM>(ctx));
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
