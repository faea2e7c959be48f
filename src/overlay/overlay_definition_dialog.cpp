// The overlay definition dialog: the overlay's name, the pages it prints on
// (a page mode, or a list of custom pages typed through a filter) and up to
// three forms, whose names are filtered to PostScript names and remembered
// in the form-name history. It edits its own copy of the definition.
#include "overlay/overlay_definition_dialog.h"

#include "core/text_fields.h"
#include "core/win_util.h"
#include "ui/dialog_helpers.h"
#include "ui/dialog_plumbing.h"
#include "overlay/page_filters.h"
#include "resources/resource.h"

#include <imm.h>

#include <string>

namespace zd {

namespace {

constexpr UINT kSimpleBeep = 0xFFFFFFFF;
constexpr uint16_t kCustomPages = uint16_t(PageMode::CustomPages);

struct DefinitionState {
    OverlayRecords* records = nullptr;
    uint16_t index = 0;
    OverlayDefinition definition{};
    bool ready = false; // the controls' notifications count only after set-up
};

// At most units - 1 characters of a control's text.
std::wstring ItemText(HWND dlg, int id, size_t units) {
    std::wstring text(units, L'\0');
    int n = GetDlgItemTextW(dlg, id, text.data(), int(units));
    text.resize(n > 0 ? size_t(n) : 0);
    return text;
}

void SetItemText(HWND dlg, int id, const char16_t* field, size_t units) {
    SetDlgItemTextW(dlg, id, W(FieldText(field, units)).c_str());
}

void EnableItem(HWND dlg, int id, bool enabled) {
    EnableWindow(GetDlgItem(dlg, id), enabled ? TRUE : FALSE);
}

HWND FormEdit(HWND dlg) {
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    return GetComboBoxInfo(GetDlgItem(dlg, IDC_OD_FORM), &info) ? info.hwndItem : nullptr;
}

int SelectedForm(HWND dlg) {
    return int(SendDlgItemMessageW(dlg, IDC_OD_FORMS, LB_GETCURSEL, 0, 0));
}

// The form name in the combo box, cut to a PostScript name whatever put it
// there (a history entry read from the file included).
std::u16string FormText(HWND dlg) {
    return FilterFormName(U16(ItemText(dlg, IDC_OD_FORM, kOverlayTextUnits))).text;
}

void FillHistory(HWND dlg, const OverlayList& list) {
    HWND combo = GetDlgItem(dlg, IDC_OD_FORM);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    uint16_t count =
        list.HistoryCount < kMaxOverlayHistory ? list.HistoryCount : kMaxOverlayHistory;
    for (uint16_t i = 0; i < count; ++i) {
        std::wstring entry = W(FieldText(list.History[i], kOverlayTextUnits));
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
}

void FillFormList(HWND dlg, const OverlayDefinition& d) {
    HWND forms = GetDlgItem(dlg, IDC_OD_FORMS);
    SendMessageW(forms, LB_RESETCONTENT, 0, 0);
    SetItemText(dlg, IDC_OD_FORM, d.FormName[0], kOverlayTextUnits);
    for (uint16_t f = 0; f < d.FormCount && f < kMaxOverlayForms; ++f) {
        std::wstring name = W(FieldText(d.FormName[f], kOverlayTextUnits));
        SendMessageW(forms, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
}

void ApplyFormButtonRules(HWND dlg, const DefinitionState* state, std::u16string_view text) {
    EnableItem(dlg, IDC_OD_FORM_ADD, CanAddOverlayForm(state->definition, text));
    EnableItem(dlg, IDC_OD_FORM_RENAME,
               CanRenameOverlayForm(state->definition, text, SelectedForm(dlg)));
}

void InitDefinitionControls(HWND dlg, const DefinitionState* state) {
    // The limits are what the records store: nothing typed is cut later.
    SendDlgItemMessageW(dlg, IDC_OD_NAME, EM_SETLIMITTEXT, kOverlayTextUnits - 1, 0);
    for (UINT mode = 0; mode <= kCustomPages; ++mode) {
        std::wstring name = LibraryString(IDS_PAGE_MODE_ALL + mode);
        SendDlgItemMessageW(dlg, IDC_OD_RANGE, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(name.c_str()));
    }
    SendDlgItemMessageW(dlg, IDC_OD_PAGES, EM_SETLIMITTEXT, kOverlayCustomPageUnits - 1, 0);
    SendDlgItemMessageW(dlg, IDC_OD_FORM, CB_LIMITTEXT, kOverlayTextUnits - 1, 0);
    FillHistory(dlg, state->records->list);
}

void ShowDefinition(HWND dlg, const DefinitionState* state) {
    const OverlayDefinition& d = state->definition;
    SetItemText(dlg, IDC_OD_NAME, d.OverlayName, kOverlayTextUnits);
    SendDlgItemMessageW(dlg, IDC_OD_RANGE, CB_SETCURSEL, d.PageMode, 0);
    // A page list belongs to custom pages only; with another mode a list
    // left in the file would switch the mode as soon as it is shown.
    if (d.PageMode == kCustomPages)
        SetItemText(dlg, IDC_OD_PAGES, d.CustomPage, kOverlayCustomPageUnits);
    FillFormList(dlg, d);
    EnableItem(dlg, IDC_OD_FORM_ADD, false);
    EnableItem(dlg, IDC_OD_FORM_RENAME, false);
    EnableItem(dlg, IDC_OD_FORM_DELETE, false);
}

BOOL OnInitDialog(HWND dlg, LPARAM lParam) {
    DefinitionState* state = AttachDialogState<DefinitionState>(dlg, lParam);
    ApplyHelpButtonRule(dlg);
    InitDefinitionControls(dlg, state);
    ShowDefinition(dlg, state);
    state->ready = true;
    return FALSE;
}

void RefuseConfirm(HWND dlg, UINT message) {
    MessageBeep(MB_OK);
    ShowStringMessage(dlg, message, 0, MB_OK | MB_ICONSTOP);
}

void OnConfirm(HWND dlg, DefinitionState* state) {
    OverlayDefinition& d = state->definition;
    SetFieldText(d.OverlayName, kOverlayTextUnits,
                 U16(ItemText(dlg, IDC_OD_NAME, kOverlayTextUnits)));
    SetFieldText(d.CustomPage, kOverlayCustomPageUnits,
                 U16(ItemText(dlg, IDC_OD_PAGES, kOverlayCustomPageUnits)));
    if (NameTaken(*state->records, state->index, FieldText(d.OverlayName, kOverlayTextUnits))) {
        RefuseConfirm(dlg, IDS_OVERLAY_NAME_EXISTS);
        HWND name = GetDlgItem(dlg, IDC_OD_NAME);
        SetFocus(name);
        SendMessageW(name, EM_SETSEL, 0, -1);
        return;
    }
    if (d.FormCount == 0) {
        RefuseConfirm(dlg, IDS_OVERLAY_NEEDS_FORM);
        return;
    }
    if (d.PageMode == kCustomPages && d.CustomPage[0] == 0)
        d.PageMode = uint16_t(PageMode::AllPages);
    EndDialog(dlg, 1);
}

void OnRangeChanged(HWND dlg, DefinitionState* state) {
    LRESULT mode = SendDlgItemMessageW(dlg, IDC_OD_RANGE, CB_GETCURSEL, 0, 0);
    if (mode < 0 || mode > kCustomPages)
        return;
    state->definition.PageMode = uint16_t(mode);
    if (mode != kCustomPages)
        SetDlgItemTextW(dlg, IDC_OD_PAGES, L"");
}

// Puts a filtered text back with the caret where the removed characters were.
void ReplaceFiltered(HWND edit, const std::u16string& text, size_t removed, bool combo) {
    DWORD caret = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
    MessageBeep(kSimpleBeep);
    SetWindowTextW(edit, W(text).c_str());
    auto at = WPARAM(CaretAfterFilter(caret, removed));
    if (combo)
        SendMessageW(GetParent(edit), CB_SETEDITSEL, 0, MAKELPARAM(at, at));
    else
        SendMessageW(edit, EM_SETSEL, at, LPARAM(at));
}

// Typing a page list switches to custom pages; clearing it, to all pages.
void OnPagesUpdate(HWND dlg, DefinitionState* state) {
    HWND edit = GetDlgItem(dlg, IDC_OD_PAGES);
    FilterResult r = FilterPageList(U16(ItemText(dlg, IDC_OD_PAGES, kOverlayCustomPageUnits)));
    if (r.removed > 0)
        ReplaceFiltered(edit, r.text, r.removed, false);
    uint16_t& mode = state->definition.PageMode;
    mode = PageModeAfterPageList(mode, !r.text.empty());
    SendDlgItemMessageW(dlg, IDC_OD_RANGE, CB_SETCURSEL, mode, 0);
}

void OnHistoryChosen(HWND dlg, const DefinitionState* state) {
    HWND combo = GetDlgItem(dlg, IDC_OD_FORM);
    LRESULT entry = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, WPARAM(entry), 0);
    if (entry < 0 || length <= 0 || length >= LRESULT(kOverlayTextUnits))
        return;
    WCHAR text[kOverlayTextUnits] = {};
    SendMessageW(combo, CB_GETLBTEXT, WPARAM(entry), reinterpret_cast<LPARAM>(text));
    ApplyFormButtonRules(dlg, state, FilterFormName(U16(text)).text);
}

void OnFormEditUpdate(HWND dlg, const DefinitionState* state) {
    FilterResult r = FilterFormName(U16(ItemText(dlg, IDC_OD_FORM, kOverlayTextUnits)));
    if (r.removed > 0)
        ReplaceFiltered(FormEdit(dlg), r.text, r.removed, true);
    ApplyFormButtonRules(dlg, state, r.text);
}

void OnFormAdd(HWND dlg, DefinitionState* state) {
    const std::u16string text = FormText(dlg);
    if (!AddOverlayForm(state->definition, text))
        return;
    RememberFormName(state->records->list, text);
    FillHistory(dlg, state->records->list);
    SetDlgItemTextW(dlg, IDC_OD_FORM, W(text).c_str());
    HWND forms = GetDlgItem(dlg, IDC_OD_FORMS);
    LRESULT at = SendMessageW(forms, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(text).c_str()));
    SendMessageW(forms, LB_SETCURSEL, WPARAM(at), 0);
    EnableItem(dlg, IDC_OD_FORM_ADD, false);
    EnableItem(dlg, IDC_OD_FORM_RENAME, false);
    EnableItem(dlg, IDC_OD_FORM_DELETE, true);
}

void OnFormRename(HWND dlg, DefinitionState* state) {
    const std::u16string text = FormText(dlg);
    const int selected = SelectedForm(dlg);
    if (!RenameOverlayForm(state->definition, selected, text))
        return;
    RememberFormName(state->records->list, text);
    FillHistory(dlg, state->records->list);
    FillFormList(dlg, state->definition);
    SendDlgItemMessageW(dlg, IDC_OD_FORMS, LB_SETCURSEL, WPARAM(selected), 0);
    // The field shows the selected form, as when it is chosen in the list.
    SetDlgItemTextW(dlg, IDC_OD_FORM, W(text).c_str());
    EnableItem(dlg, IDC_OD_FORM_ADD, false);
    EnableItem(dlg, IDC_OD_FORM_RENAME, false);
}

void OnFormSelected(HWND dlg, const DefinitionState* state) {
    const OverlayDefinition& d = state->definition;
    const int selected = SelectedForm(dlg);
    if (selected < 0 || selected >= d.FormCount || selected >= kMaxOverlayForms)
        return;
    SetItemText(dlg, IDC_OD_FORM, d.FormName[selected], kOverlayTextUnits);
    EnableItem(dlg, IDC_OD_FORM_ADD, false);
    EnableItem(dlg, IDC_OD_FORM_RENAME, false);
    EnableItem(dlg, IDC_OD_FORM_DELETE, d.FormCount > 0);
}

void OnFormDelete(HWND dlg, DefinitionState* state) {
    const std::wstring shown = ItemText(dlg, IDC_OD_FORM, kOverlayTextUnits);
    if (!DeleteOverlayForm(state->definition, SelectedForm(dlg)))
        return;
    FillFormList(dlg, state->definition);
    SetDlgItemTextW(dlg, IDC_OD_FORM, shown.c_str());
    EnableItem(dlg, IDC_OD_FORM_ADD, CanAddOverlayForm(state->definition, FormText(dlg)));
    EnableItem(dlg, IDC_OD_FORM_RENAME, false);
    EnableItem(dlg, IDC_OD_FORM_DELETE, false);
}

// The fields that only take page numbers or PostScript names type without
// an input method.
void InputMethodOff(HWND edit) {
    if (edit)
        ImmAssociateContext(edit, nullptr);
}

BOOL OnFieldNotification(HWND dlg, DefinitionState* state, WORD id, WORD code) {
    switch (id) {
    case IDC_OD_RANGE:
        OnRangeChanged(dlg, state);
        return TRUE;
    case IDC_OD_PAGES:
        InputMethodOff(GetDlgItem(dlg, IDC_OD_PAGES));
        if (code == EN_UPDATE)
            OnPagesUpdate(dlg, state);
        return TRUE;
    case IDC_OD_FORM:
        InputMethodOff(FormEdit(dlg));
        if (code == CBN_SELENDOK)
            OnHistoryChosen(dlg, state);
        else if (code == CBN_EDITUPDATE)
            OnFormEditUpdate(dlg, state);
        return TRUE;
    case IDC_OD_FORMS:
        OnFormSelected(dlg, state);
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL OnCommand(HWND dlg, WORD id, WORD code) {
    DefinitionState* state = DialogState<DefinitionState>(dlg);
    // The fields' notifications about set-up's own changes are not the user's.
    if (!state || !state->ready)
        return FALSE;
    switch (id) {
    case IDOK:
        OnConfirm(dlg, state);
        return TRUE;
    case IDCANCEL:
        EndDialog(dlg, 0);
        return TRUE;
    case IDC_OD_FORM_ADD:
        OnFormAdd(dlg, state);
        return TRUE;
    case IDC_OD_FORM_RENAME:
        OnFormRename(dlg, state);
        return TRUE;
    case IDC_OD_FORM_DELETE:
        OnFormDelete(dlg, state);
        return TRUE;
    default:
        return OnFieldNotification(dlg, state, id, code);
    }
}

INT_PTR CALLBACK DefinitionDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog(dlg, lParam);
    case WM_COMMAND:
        return OnCommand(dlg, LOWORD(wParam), HIWORD(wParam));
    case WM_HELP:
    case WM_CONTEXTMENU:
        return HandleContextHelp(msg, wParam, lParam);
    default:
        return FALSE;
    }
}

} // namespace

INT_PTR RunOverlayDefinitionDialog(HWND owner, OverlayRecords& records, uint16_t index) {
    if (index >= kMaxDefinedOverlays)
        return 0;
    DefinitionState state;
    state.records = &records;
    state.index = index;
    state.definition = records.definitions[index];
    INT_PTR result = RunModalDialog(owner, IDD_OVERLAY_DEFINITION, DefinitionDialogProc, &state);
    if (DialogConfirmed(result))
        records.definitions[index] = state.definition;
    return result;
}

} // namespace zd
