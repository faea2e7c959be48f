#include "jobopts/advanced_dialog.h"

#include "core/byte_view.h"
#include "core/devmode_record.h"
#include "core/driver_files.h"
#include "core/process_state.h"
#include "core/ui_context.h"
#include "jobopts/dialog_helpers.h"
#include "resources/resource.h"

#include <cstring>

namespace zd {

namespace {

constexpr DWORD kSettingBytes = 64;

// What the dialog needs besides the sheet's record while it is open. The
// compression level is kept here so that Cancel leaves the record untouched.
struct AdvancedState {
    UiContext* ctx = nullptr;
    bool hardDisk = false;
    uint32_t compression = 0;
};

AdvancedState* StateOf(HWND dlg) {
    return reinterpret_cast<AdvancedState*>(GetWindowLongPtrW(dlg, DWLP_USER));
}

bool HasItem(const UiContext* ctx, int slotIndex) {
    return ctx && ctx->slots[slotIndex] != kNoSlot;
}

// The page block is the host's; before a sheet exists the tree block holds
// the same driver object, printer and private DEVMODE.
OEMUIOBJ* DriverObject(const UiContext* ctx) {
    if (ctx && ctx->pageParam && ctx->pageParam->poemuiobj)
        return ctx->pageParam->poemuiobj;
    return ctx && ctx->treeParam ? ctx->treeParam->poemuiobj : nullptr;
}

HANDLE PrinterOf(const UiContext* ctx) {
    if (ctx && ctx->pageParam && ctx->pageParam->hPrinter)
        return ctx->pageParam->hPrinter;
    return ctx && ctx->treeParam ? ctx->treeParam->hPrinter : nullptr;
}

// The private block, only when its header claims the full record: the
// compression level lies near its end.
ByteView PrivateDevMode(const UiContext* ctx) {
    void* block = nullptr;
    if (ctx && ctx->pageParam && ctx->pageParam->pOEMDM)
        block = ctx->pageParam->pOEMDM;
    else if (ctx && ctx->treeParam)
        block = ctx->treeParam->pOEMDM;
    ByteView view(static_cast<uint8_t*>(block), kOemDevModeSize);
    if (view.size() < kOemDevModeSize || view.u32(dm::kSize) < kOemDevModeSize)
        return ByteView(nullptr, 0);
    return view;
}

bool HardDiskInstalled(const UiContext* ctx) {
    OEMUIOBJ* obj = DriverObject(ctx);
    if (!obj || !obj->pOemUIProcs || !obj->pOemUIProcs->DrvGetDriverSetting)
        return false;
    char answer[kSettingBytes] = {};
    DWORD needed = 0, count = 0;
    if (!obj->pOemUIProcs->DrvGetDriverSetting(obj, "ZDHDD", answer, sizeof answer - 1, &needed,
                                               &count))
        return false;
    answer[sizeof answer - 1] = 0;
    return std::strcmp(answer, "True") == 0;
}

void SetCheck(HWND dlg, int id, bool checked) {
    CheckDlgButton(dlg, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool Checked(HWND dlg, int id) {
    return IsDlgButtonChecked(dlg, id) == BST_CHECKED;
}

void ShowPreview(HWND dlg, const UiContext* ctx) {
    if (!HasItem(ctx, slot::Mirror) || !GetDlgItem(dlg, IDC_ADV_PREVIEW))
        return;
    bool mirror = Checked(dlg, IDC_ADV_MIRROR);
    bool negative = HasItem(ctx, slot::Negative) && Checked(dlg, IDC_ADV_NEGATIVE);
    // Shared icons belong to the system; nothing to free.
    HICON icon = LoadIconW(Process().moduleInstance,
                           MAKEINTRESOURCEW(AdvancedPreviewIcon(mirror, negative)));
    SendDlgItemMessageW(dlg, IDC_ADV_PREVIEW, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
}

void InitSpecialGroup(HWND dlg, const UiContext* ctx) {
    if (!HasItem(ctx, slot::Mirror)) {
        // The negative box sits inside the group and goes with it.
        DestroyControlRange(dlg, IDC_ADV_SPECIAL_GROUP, IDC_ADV_PREVIEW);
        return;
    }
    SetCheck(dlg, IDC_ADV_MIRROR, ctx->selections[slot::Mirror] == 0);
    if (HasItem(ctx, slot::Negative))
        SetCheck(dlg, IDC_ADV_NEGATIVE, ctx->selections[slot::Negative] == 0);
    else
        DestroyControlRange(dlg, IDC_ADV_NEGATIVE, IDC_ADV_NEGATIVE);
    ShowPreview(dlg, ctx);
}

void InitJobSpool(HWND dlg, UiContext* ctx, bool hardDisk) {
    if (!HasItem(ctx, slot::HddSpool)) {
        DestroyControlRange(dlg, IDC_ADV_JOB_SPOOL, IDC_ADV_JOB_SPOOL);
        return;
    }
    if (!hardDisk) {
        // Nothing to spool to: the setting is off whatever was chosen before.
        ctx->selections[slot::HddSpool] = 0;
        EnableWindow(GetDlgItem(dlg, IDC_ADV_JOB_SPOOL), FALSE);
    }
    SetCheck(dlg, IDC_ADV_JOB_SPOOL, ctx->selections[slot::HddSpool] == 1);
}

void InitCheck(HWND dlg, const UiContext* ctx, int slotIndex, int id, uint32_t checkedSelection) {
    if (!HasItem(ctx, slotIndex))
        DestroyControlRange(dlg, WORD(id), WORD(id));
    else
        SetCheck(dlg, id, ctx->selections[slotIndex] == checkedSelection);
}

BOOL OnInitDialog(HWND dlg, LPARAM lParam) {
    SetWindowLongPtrW(dlg, DWLP_USER, lParam);
    ApplyHelpButtonRule(dlg);
    AdvancedState* state = reinterpret_cast<AdvancedState*>(lParam);
    UiContext* ctx = state ? state->ctx : nullptr;
    if (state) {
        state->hardDisk = HardDiskInstalled(ctx);
        state->compression = ctx ? ctx->selections[slot::Compression] & 0xFFFF : 0;
    }
    InitSpecialGroup(dlg, ctx);
    if (state && HasItem(ctx, slot::Compression)) {
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
    if (HasItem(ctx, slot::Mirror)) {
        SetCheck(dlg, IDC_ADV_MIRROR, false);
        SetCheck(dlg, IDC_ADV_NEGATIVE, false);
        ShowPreview(dlg, ctx);
    }
    SetCheck(dlg, IDC_ADV_JOB_SPOOL, false);
    if (state && !state->hardDisk)
        EnableWindow(GetDlgItem(dlg, IDC_ADV_JOB_SPOOL), FALSE);
    SetCheck(dlg, IDC_ADV_MAINTENANCE, false);
    SetCheck(dlg, IDC_ADV_HAIRLINE, true);
    if (HasItem(ctx, slot::Compression))
        state->compression =
            uint32_t(CompressionLevelFromModelValue(ReadModelInt(PrinterOf(ctx), L"Compression")));
}

// Stores a box's state only when the box is there: a box that went with
// its group must not overwrite the item's selection with "unchecked".
void StoreCheck(HWND dlg, UiContext* ctx, int slotIndex, int id, uint32_t checkedSelection) {
    if (!HasItem(ctx, slotIndex) || !GetDlgItem(dlg, id))
        return;
    ctx->selections[slotIndex] = Checked(dlg, id) ? checkedSelection : 1 - checkedSelection;
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
    AdvancedState* state = StateOf(dlg);
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
    return DialogBoxParamW(Process().moduleInstance, MAKEINTRESOURCEW(IDD_ADVANCED), owner,
                           AdvancedDialogProc, reinterpret_cast<LPARAM>(&state));
}

} // namespace zd
