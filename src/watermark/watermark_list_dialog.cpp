#include "watermark/watermark_list_dialog.h"

#include "core/ui_context.h"
#include "ui/dialog_helpers.h"
#include "ui/dialog_plumbing.h"
#include "resources/resource.h"
#include "watermark/watermark_controls.h"
#include "watermark/watermark_edit_dialog.h"
#include "watermark/watermark_preview.h"
#include "watermark/watermark_store.h"

namespace zd {

namespace {

struct ListState {
    UiContext* ctx = nullptr;
    HWND page = nullptr; // the Job Options page, told of every change
};

void EnableEditButtons(HWND dlg, BOOL enable) {
    EnableWindow(GetDlgItem(dlg, IDC_WM_EDIT), enable);
    EnableWindow(GetDlgItem(dlg, IDC_WM_DELETE), enable);
}

// The working copy follows the selected entry; "none" has no text.
void TakeSelectedIntoWorkingCopy(UiContext* ctx) {
    WatermarkList list(*ctx);
    const WatermarkRecord* chosen = list.entry(list.selected());
    if (list.working() && chosen)
        CopyWatermark(*list.working(), *chosen);
    ClearWorkingTextIfNone(*ctx);
}

BOOL OnInitDialog(HWND dlg, LPARAM lParam) {
    ListState* state = AttachDialogState<ListState>(dlg, lParam);
    if (!state || !state->ctx)
        return FALSE;
    BuildWatermarkFontFilePath(state->ctx->configFilePath);
    ApplyHelpButtonRule(dlg);
    LoadWatermarkList(dlg, *state->ctx, PrivateDevMode(state->ctx));
    RefreshWatermarkControls(dlg, state->ctx);
    UpdateEditButtons(dlg, state->ctx);
    return FALSE;
}

void OnConfirm(HWND dlg, ListState* state) {
    UiContext* ctx = state->ctx;
    WatermarkList list(*ctx);
    FreeWatermarkSnapshot(*ctx);
    CommitSelectionToDevMode(*ctx, PrivateDevMode(ctx));
    if (const WatermarkRecord* none = list.entry(0)) {
        list.committedBackground() = none->background;
        list.committedFirstPage() = none->firstPageOnly;
    }
    EndDialog(dlg, 1);
}

void OnSelectionChange(HWND dlg, ListState* state) {
    UiContext* ctx = state->ctx;
    LRESULT chosen = SendDlgItemMessageW(dlg, IDC_WM_LIST, LB_GETCURSEL, 0, 0);
    if (chosen == LB_ERR || chosen < 0 || uint32_t(chosen) > WatermarkList(*ctx).storedCount())
        return;
    WatermarkList(*ctx).selected() = uint32_t(chosen);
    TakeSelectedIntoWorkingCopy(ctx);
    RefreshWatermarkControls(dlg, ctx);
    UpdateEditButtons(dlg, ctx);
    NotifyPageChanged(state->page);
}

void OnDelete(HWND dlg, ListState* state) {
    UiContext* ctx = state->ctx;
    WatermarkList list(*ctx);
    if (!DeleteWatermarkEntry(*ctx, list.selected()))
        return;
    list.selected() = 0;
    TakeSelectedIntoWorkingCopy(ctx);
    RefreshWatermarkControls(dlg, ctx);
    NotifyPageChanged(state->page);
    EnableEditButtons(dlg, FALSE);
}

// New starts the edit dialog from entry 0's defaults with an empty text.
void OnNew(HWND dlg, ListState* state) {
    UiContext* ctx = state->ctx;
    WatermarkList list(*ctx);
    if (list.count() >= kMaxStoredWatermarks) {
        ShowStringMessage(dlg, IDS_WATERMARK_LIMIT, IDS_CAPTION_WARNING,
                          MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const uint32_t previous = list.selected();
    list.selected() = 0;
    if (DialogConfirmed(RunWatermarkEditDialog(dlg, ctx)) && AppendWatermarkEntry(*ctx)) {
        list.selected() = list.count();
        RefreshWatermarkControls(dlg, ctx);
        NotifyPageChanged(state->page);
        EnableEditButtons(dlg, TRUE);
        return;
    }
    list.selected() = previous;
    TakeSelectedIntoWorkingCopy(ctx);
}

void OnEdit(HWND dlg, ListState* state) {
    UiContext* ctx = state->ctx;
    WatermarkList list(*ctx);
    const uint32_t selected = list.selected();
    if (selected < 1 || selected > WatermarkList(*ctx).storedCount() || !list.entry(selected))
        return;
    if (DialogConfirmed(RunWatermarkEditDialog(dlg, ctx)) && list.working()) {
        CopyWatermark(*list.entry(selected), *list.working());
        RefreshWatermarkControls(dlg, ctx);
        NotifyPageChanged(state->page);
        return;
    }
    TakeSelectedIntoWorkingCopy(ctx);
}

// The boxes belong to the selected entry, "none" included.
void OnFlag(HWND dlg, ListState* state, int id) {
    WatermarkList list(*state->ctx);
    WatermarkRecord* chosen = list.entry(list.selected());
    if (chosen && id == IDC_WM_FIRST_PAGE)
        chosen->firstPageOnly = chosen->firstPageOnly ? 0 : 1;
    else if (chosen)
        chosen->background = chosen->background ? 0 : 1;
    UpdateEditButtons(dlg, state->ctx);
}

BOOL OnCommand(HWND dlg, WORD id, WORD code) {
    ListState* state = DialogState<ListState>(dlg);
    if (!state || !state->ctx)
        return FALSE;
    switch (id) {
    case IDOK:
        OnConfirm(dlg, state);
        return TRUE;
    case IDCANCEL:
        RestoreWatermarkSnapshot(*state->ctx);
        EndDialog(dlg, 0);
        return TRUE;
    case IDC_WM_LIST:
        if (code != LBN_SELCHANGE)
            return FALSE;
        OnSelectionChange(dlg, state);
        return TRUE;
    case IDC_WM_DELETE:
        OnDelete(dlg, state);
        return TRUE;
    case IDC_WM_NEW:
        OnNew(dlg, state);
        return TRUE;
    case IDC_WM_EDIT:
        OnEdit(dlg, state);
        return TRUE;
    case IDC_WM_FIRST_PAGE:
    case IDC_WM_BACKGROUND:
        OnFlag(dlg, state, id);
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL OnDrawItem(HWND dlg) {
    ListState* state = DialogState<ListState>(dlg);
    if (!state || !state->ctx)
        return FALSE;
    DrawWatermarkPreview(dlg, state->ctx);
    if (WatermarkList(*state->ctx).selected() != 0)
        EnableEditButtons(dlg, TRUE);
    return TRUE;
}

INT_PTR CALLBACK WatermarkListDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog(dlg, lParam);
    case WM_COMMAND:
        return OnCommand(dlg, LOWORD(wParam), HIWORD(wParam));
    case WM_DRAWITEM:
        return OnDrawItem(dlg);
    case WM_HELP:
    case WM_CONTEXTMENU:
        return HandleContextHelp(msg, wParam, lParam);
    default:
        return FALSE;
    }
}

} // namespace

INT_PTR RunWatermarkListDialog(HWND page, UiContext* ctx) {
    ListState state;
    state.ctx = ctx;
    state.page = page;
    return RunModalDialog(page, IDD_WATERMARK_LIST, WatermarkListDialogProc, &state);
}

} // namespace zd
