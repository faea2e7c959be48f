#include "jobopts/advanced_dialog.h"

#include "core/devmode_record.h"
#include "core/driver_files.h"
#include "core/process_state.h"
#include "core/ui_context.h"
#include "ui/dialog_helpers.h"
#include "ui/dialog_plumbing.h"
#include "resources/resource.h"

namespace zd {

namespace {

// What the dialog needs besides the sheet's record while it is open. The
// compression level is kept here so that Cancel leaves the record untouched.
struct AdvancedState {
    UiContext* ctx = nullptr;
    bool hardDisk = false;
    uint32_t compression = 0;
};

void ShowPreview(HWND dlg, const UiContext* ctx) {
    if (!HasSlotItem(ctx, slot::Mirror) || !GetDlgItem(dlg, IDC_ADV_PREVIEW))
        return;
    bool mirror = IsBoxChecked(dlg, IDC_ADV_MIRROR);
    bool negative = HasSlotItem(ctx, slot::Negative) && IsBoxChecked(dlg, IDC_ADV_NEGATIVE);
    // Shared icons belong to the system; nothing to free.
    HICON icon = LoadIconW(Process().moduleInstance,
                           MAKEINTRESOURCEW(AdvancedPreviewIcon(mirror, negative)));
    SendDlgItemMessageW(dlg, IDC_ADV_PREVIEW, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
}

void InitSpecialGroup(HWND dlg, const UiContext* ctx) {
    if (!HasSlotItem(ctx, slot::Mirror)) {
        // The negative box sits inside the group and goes with it.
        DestroyControlRange(dlg, IDC_ADV_SPECIAL_GROUP, IDC_ADV_PREVIEW);
        return;
    }
    SetBoxChecked(dlg, IDC_ADV_MIRROR, ctx->selections[slot::Mirror] == 0);
    if (HasSlotItem(ctx, slot::Negative))
        SetBoxChecked(dlg, IDC_ADV_NEGATIVE, ctx->selections[slot::Negative] == 0);
    else
        DestroyControlRange(dlg, IDC_ADV_NEGATIVE, IDC_ADV_NEGATIVE);
    ShowPreview(dlg, ctx);
}

void InitJobSpool(HWND dlg, UiContext* ctx, bool hardDisk) {
    if (!HasSlotItem(ctx, slot::HddSpool)) {
        DestroyControlRange(dlg, IDC_ADV_JOB_SPOOL, IDC_ADV_JOB_SPOOL);
        return;
    }
    if (!hardDisk) {
        // Nothing to spool to: the setting is off whatever was chosen before.
        ctx->selections[slot::HddSpool] = 0;
        EnableWindow(GetDlgItem(dlg, IDC_ADV_JOB_SPOOL), FALSE);
    }
    SetBoxChecked(dlg, IDC_ADV_JOB_SPOOL, ctx->selections[slot::HddSpool] == 1);
}

void InitCheck(HWND dlg, const UiContext* ctx, int slotIndex, int id, uint32_t checkedSelection) {
    if (!HasSlotItem(ctx, slotIndex))
        DestroyControlRange(dlg, WORD(id), WORD(id));
    else
        SetBoxChecked(dlg, id, ctx->selections[slotIndex] == checkedSelection);
}

BOOL OnInitDialog(HWND dlg, LPARAM lParam) {
    AdvancedState* state = AttachDialogState<AdvancedState>(dlg, lParam);
    ApplyHelpButtonRule(dlg);
    UiContext* ctx = state ? state->ctx : nullptr;
    if (state) {
        state->hardDisk = DriverSettingIsTrue(ctx, "ZDHDD");
        state->compression = ctx ? ctx->selections[slot::Compression] & 0xFFFF : 0;
    }
    InitSpecialGroup(dlg, ctx);
    if (state && HasSlotItem(ctx, slot::Compression)) {
        ByteView block = PrivateDevMode(ctx);
        if (block.size())
            state->compression = block.u16(dm::kCompressionLevel);
    }
    if (!ctx) {
        DestroyControlRange(dlg, IDC_ADV_JOB_SPOOL, IDC_ADV_HAIRLINE);
        return TRUE;
    }
    InitJobSpool(dlg, ctx, state->hardDisk);
    InitCheck(dlg, ctx, slot::DrumClean, IDC_ADV_MAINTENANCE, 1);
    InitCheck(dlg, ctx, slot::HairLine, IDC_ADV_HAIRLINE, 0);
    return TRUE;
}

void OnDefaults(HWND dlg, AdvancedState* state) {
    UiContext* ctx = state ? state->ctx : nullptr;
    if (HasSlotItem(ctx, slot::Mirror)) {
        SetBoxChecked(dlg, IDC_ADV_MIRROR, false);
        SetBoxChecked(dlg, IDC_ADV_NEGATIVE, false);
        ShowPreview(dlg, ctx);
    }
    SetBoxChecked(dlg, IDC_ADV_JOB_SPOOL, false);
    if (state && !state->hardDisk)
        EnableWindow(GetDlgItem(dlg, IDC_ADV_JOB_SPOOL), FALSE);
    SetBoxChecked(dlg, IDC_ADV_MAINTENANCE, false);
    SetBoxChecked(dlg, IDC_ADV_HAIRLINE, true);
    if (HasSlotItem(ctx, slot::Compression))
        state->compression =
            uint32_t(CompressionLevelFromModelValue(ReadModelInt(PrinterOf(ctx), L"Compression")));
}

// Every item the driver has takes its box's state; a box that went with
// its group reads unchecked, so a printer without the mirror item clears a
// negative setting that an old document carried.
void StoreCheck(HWND dlg, UiContext* ctx, int slotIndex, int id, uint32_t checkedSelection) {
    if (!HasSlotItem(ctx, slotIndex))
        return;
    bool checked = GetDlgItem(dlg, id) && IsBoxChecked(dlg, id);
    ctx->selections[slotIndex] = checked ? checkedSelection : 1 - checkedSelection;
}

void OnConfirm(HWND dlg, AdvancedState* state) {
    UiContext* ctx = state ? state->ctx : nullptr;
    if (ctx) {
        StoreCheck(dlg, ctx, slot::Mirror, IDC_ADV_MIRROR, 0);
        StoreCheck(dlg, ctx, slot::Negative, IDC_ADV_NEGATIVE, 0);
        StoreCheck(dlg, ctx, slot::HddSpool, IDC_ADV_JOB_SPOOL, 1);
        StoreCheck(dlg, ctx, slot::DrumClean, IDC_ADV_MAINTENANCE, 1);
        StoreCheck(dlg, ctx, slot::HairLine, IDC_ADV_HAIRLINE, 0);
        ctx->selections[slot::Compression] = state->compression;
        ByteView block = PrivateDevMode(ctx);
        if (block.size())
            block.set_u16(dm::kCompressionLevel, uint16_t(state->compression));
    }
    EndDialog(dlg, 1);
}

BOOL OnCommand(HWND dlg, WORD id) {
    AdvancedState* state = DialogState<AdvancedState>(dlg);
    switch (id) {
    case IDC_ADV_MIRROR:
    case IDC_ADV_NEGATIVE:
        ShowPreview(dlg, state ? state->ctx : nullptr);
        return TRUE;
    case IDC_DEFAULTS:
        OnDefaults(dlg, state);
        return TRUE;
    case IDOK:
        OnConfirm(dlg, state);
        return TRUE;
    case IDCANCEL:
        EndDialog(dlg, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK AdvancedDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
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

} // namespace

int AdvancedPreviewIcon(bool mirror, bool negative) {
    return IDI_PRINT_NORMAL + (mirror ? 1 : 0) + (negative ? 2 : 0);
}

INT_PTR RunAdvancedDialog(HWND owner, UiContext* ctx) {
    AdvancedState state;
    state.ctx = ctx;
    return RunModalDialog(owner, IDD_ADVANCED, AdvancedDialogProc, &state);
}

} // namespace zd
