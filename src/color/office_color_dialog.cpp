#include "color/office_color_dialog.h"

#include "color/color_mode.h"
#include "color/color_setting_store.h"
#include "ui/option_lists.h"
#include "color/user_setting_choice.h"
#include "core/process_state.h"
#include "core/ui_context.h"
#include "ui/dialog_helpers.h"
#include "ui/dialog_plumbing.h"
#include "resources/resource.h"
#include "ui/bitmap_helpers.h"

#include <vector>

namespace zd {

namespace {

// The dialog's working copies for one opening; the record changes only on
// confirmation.
struct OfficeColorState {
    UiContext* ctx = nullptr;
    uint32_t simulation = 0;        // "ZDTargetColor"
    uint32_t renderStyle = 0;       // "ZDColorRenderStyle"
    uint32_t black = 0;             // "ZDBlackSubstitution": automatic, composite, pure
    uint32_t word = 0;              // the colour setting word
    std::vector<uint16_t> settings; // item values of the user setting list, in list order
};

void DrawPicture(HWND dlg, const UiContext* ctx) {
    const bool gray = ctx && IsColorMode(ctx->selections[slot::ColorControl], ColorMode::Grayscale);
    DrawDibWithFrame(dlg, Process().moduleInstance, gray ? IDB_OFFICE_PHOTO_GRAY : IDB_OFFICE_PHOTO,
                     IDC_OC_PICTURE);
}

// The store's settings into the user setting list. The store is read only
// through a path that could be built; without settings and without a
// capability file the box and the list go.
void LoadUserSettings(HWND dlg, OfficeColorState* state) {
    WCHAR path[kColorSettingPathUnits] = {};
    std::vector<ColorSettingEntry> settings;
    if (state->ctx && GetColorSettingFilePath(state->ctx->pageParam, path, sizeof path))
        settings = ListColorSettings(path);
    HWND list = GetDlgItem(dlg, IDC_OC_USER_SETTING);
    for (const ColorSettingEntry& setting : settings) {
        LRESULT entry =
            SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(setting.name.c_str()));
        if (entry < 0)
            break; // the list and the values stay in step
        SendMessageW(list, CB_SETITEMDATA, WPARAM(entry), LPARAM(setting.itemValue));
        state->settings.push_back(setting.itemValue);
    }
    if (settings.empty() && !Process().capabilityFilePath[0])
        DestroyControlRange(dlg, IDC_OC_USER_SETTING_CHECK, IDC_OC_USER_SETTING);
}

void ShowUserSetting(HWND dlg, OfficeColorState* state) {
    const UserSettingView view = ResolveUserSetting(state->settings, state->word);
    state->word = view.word;
    SendDlgItemMessageW(dlg, IDC_OC_USER_SETTING, CB_SETCURSEL, WPARAM(view.entry), 0);
    const bool renderStyles = OptionCount(state->ctx, slot::RenderStyle) > 0;
    EnableWindow(GetDlgItem(dlg, IDC_OC_RENDER_STYLE), renderStyles && view.renderStyleEnabled);
    EnableWindow(GetDlgItem(dlg, IDC_OC_USER_SETTING), view.listEnabled);
    EnableWindow(GetDlgItem(dlg, IDC_OC_USER_SETTING_CHECK), view.boxEnabled);
    SetBoxChecked(dlg, IDC_OC_USER_SETTING_CHECK, view.boxChecked);
}

void RefreshOfficeColor(HWND dlg, OfficeColorState* state) {
    const UiContext* ctx = state->ctx;
    SelectOptionEntry(dlg, IDC_OC_TARGET_COLOR, state->simulation);
    if (HasSlotItem(ctx, slot::BlackSubstitution))
        CheckRadioOrNone(dlg, IDC_OC_BLACK_AUTO, IDC_OC_BLACK_PURE, state->black);
    if (HasSlotItem(ctx, slot::RenderStyle)) {
        SelectOptionEntry(dlg, IDC_OC_RENDER_STYLE, state->renderStyle);
        if (Process().capabilityFilePath[0])
            ShowUserSetting(dlg, state);
    }
    if (NoPermission(ctx))
        LimitControlRange(dlg, IDC_DEFAULTS, IDC_DEFAULTS, FALSE);
}

BOOL OnInitDialog(HWND dlg, LPARAM lParam) {
    OfficeColorState* state = AttachDialogState<OfficeColorState>(dlg, lParam);
    ApplyHelpButtonRule(dlg);
    if (!state)
        return FALSE;
    UiContext* ctx = state->ctx;
    FillOptionList(dlg, IDC_OC_TARGET_COLOR, ctx, slot::TargetColor);
    // A printer without black handling shows none.
    if (!HasSlotItem(ctx, slot::BlackSubstitution))
        ShowControlRange(dlg, IDC_OC_BLACK_GROUP, IDC_OC_BLACK_PURE, FALSE);
    if (HasSlotItem(ctx, slot::RenderStyle)) {
        FillOptionList(dlg, IDC_OC_RENDER_STYLE, ctx, slot::RenderStyle);
        LoadUserSettings(dlg, state);
    } else {
        DestroyControlRange(dlg, IDC_OC_CMYK_GROUP, IDC_OC_USER_SETTING);
    }
    if (ctx) {
        state->simulation = ctx->selections[slot::TargetColor];
        state->renderStyle = ctx->selections[slot::RenderStyle];
        state->black = ctx->selections[slot::BlackSubstitution];
        state->word = ctx->selections[slot::ColorSettingWord];
    }
    RefreshOfficeColor(dlg, state);
    Process().sheetFlags |= kSheetPageInitialised;
    return FALSE;
}

void OnConfirm(HWND dlg, OfficeColorState* state) {
    if (UiContext* ctx = state->ctx) {
        StoreOption(ctx, slot::TargetColor, state->simulation);
        StoreOption(ctx, slot::BlackSubstitution, state->black);
        StoreOption(ctx, slot::RenderStyle, state->renderStyle);
        ctx->selections[slot::ColorSettingWord] = state->word;
    }
    EndDialog(dlg, 1);
}

void OnDefaults(HWND dlg, OfficeColorState* state) {
    state->simulation = 0;
    state->renderStyle = 0;
    state->black = 0;
    state->word = 0;
    RefreshOfficeColor(dlg, state);
}

BOOL OnListChange(HWND dlg, OfficeColorState* state, WORD id) {
    switch (id) {
    case IDC_OC_TARGET_COLOR:
        if (auto chosen = ChosenOption(dlg, id, state->ctx, slot::TargetColor))
            state->simulation = *chosen;
        return TRUE;
    case IDC_OC_RENDER_STYLE:
        if (auto chosen = ChosenOption(dlg, id, state->ctx, slot::RenderStyle))
            state->renderStyle = *chosen;
        RefreshOfficeColor(dlg, state);
        return TRUE;
    case IDC_OC_USER_SETTING: {
        LRESULT entry = SendDlgItemMessageW(dlg, id, CB_GETCURSEL, 0, 0);
        if (entry >= 0 && size_t(entry) < state->settings.size())
            state->word = WithSettingValue(state->word, state->settings[size_t(entry)]);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

BOOL OnCommand(HWND dlg, WORD id, WORD code) {
    OfficeColorState* state = DialogState<OfficeColorState>(dlg);
    if (!state)
        return FALSE;
    if (id == IDC_OC_TARGET_COLOR || id == IDC_OC_RENDER_STYLE || id == IDC_OC_USER_SETTING)
        return code == CBN_SELCHANGE ? OnListChange(dlg, state, id) : TRUE;
    if (code != BN_CLICKED)
        return FALSE;
    switch (id) {
    case IDOK:
        OnConfirm(dlg, state);
        return TRUE;
    case IDCANCEL:
        EndDialog(dlg, 0);
        return TRUE;
    case IDC_OC_BLACK_AUTO:
    case IDC_OC_BLACK_COMPOSITE:
    case IDC_OC_BLACK_PURE:
        state->black = uint32_t(id - IDC_OC_BLACK_AUTO);
        return TRUE;
    case IDC_OC_USER_SETTING_CHECK:
        state->word = WithUserSetting(state->word, IsBoxChecked(dlg, IDC_OC_USER_SETTING_CHECK));
        RefreshOfficeColor(dlg, state);
        return TRUE;
    case IDC_DEFAULTS:
        OnDefaults(dlg, state);
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL OnDrawItem(HWND dlg, const DRAWITEMSTRUCT* item) {
    const OfficeColorState* state = DialogState<OfficeColorState>(dlg);
    if (!state || !item || item->CtlID != IDC_OC_PICTURE)
        return FALSE;
    DrawPicture(dlg, state->ctx);
    return TRUE;
}

INT_PTR CALLBACK OfficeColorProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog(dlg, lParam);
    case WM_COMMAND:
        return OnCommand(dlg, LOWORD(wParam), HIWORD(wParam));
    case WM_DRAWITEM:
        return OnDrawItem(dlg, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_ACTIVATE:
        if (const OfficeColorState* state = DialogState<OfficeColorState>(dlg))
            DrawPicture(dlg, state->ctx);
        return FALSE;
    case WM_HELP:
    case WM_CONTEXTMENU:
        return HandleContextHelp(msg, wParam, lParam);
    default:
        return FALSE;
    }
}

} // namespace

INT_PTR RunOfficeColorDialog(HWND owner, UiContext* ctx) {
    OfficeColorState state;
    state.ctx = ctx;
    return RunModalDialog(owner, IDD_OFFICE_COLOR, OfficeColorProc, &state);
}

} // namespace zd
