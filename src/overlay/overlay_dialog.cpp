// The overlay dialog: the overlay printing mode, up to four overlays chosen
// for the document from the defined ones, and the definitions themselves
// (new, edit and delete through the definition dialog, for users who may
// write printer data). The sheet's first opening loads the store; the
// dialog edits a copy of the sheet's records and hands it back, with the
// document's choice, only when it is confirmed.
#include "overlay/overlay_dialog.h"

#include "ui/option_lists.h"
#include "core/devmode_record.h"
#include "core/option_tree.h"
#include "core/process_state.h"
#include "core/text_fields.h"
#include "core/ui_context.h"
#include "core/win_util.h"
#include "ui/dialog_helpers.h"
#include "ui/dialog_plumbing.h"
#include "overlay/overlay_definition_dialog.h"
#include "overlay/overlay_editing.h"
#include "overlay/overlay_store.h"
#include "resources/resource.h"

#include <commctrl.h>

#include <cstdio>
#include <memory>
#include <new>
#include <optional>
#include <string>

namespace zd {

namespace {

// Parts of FillOverlayLists.
constexpr UINT kModeEntry = 0x1;
constexpr UINT kCurrentList = 0x2;
constexpr UINT kDefinedList = 0x4;
constexpr UINT kEmptyFirst = 0x40;

// The ZDOverlay option that makes the driver prepare EPS output.
constexpr LRESULT kCreateOverlayMode = 2;
constexpr UINT_PTR kListPaintSubclass = 1;
constexpr int kColumns = 2;

struct OverlayDialogState {
    UiContext* ctx = nullptr;
    HWND owner = nullptr; // the page, told of every change
    std::unique_ptr<OverlayRecords> records;
    bool ready = false; // list-view notifications count only after set-up
};

bool Writable() {
    return Process().printerDataWritable != 0;
}

// Widens every repaint of a list view to the full width of its rows, so
// that no part of a row's highlight is left behind to the right.
LRESULT CALLBACK ListPaintProc(HWND list, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR) {
    if (msg == WM_PAINT) {
        RECT update, client;
        if (GetUpdateRect(list, &update, FALSE) && GetClientRect(list, &client)) {
            update.right = client.right;
            InvalidateRect(list, &update, FALSE);
        }
    } else if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(list, ListPaintProc, kListPaintSubclass);
    }
    return DefSubclassProc(list, msg, wParam, lParam);
}

void PrepareList(HWND dlg, int id) {
    HWND list = GetDlgItem(dlg, id);
    if (!list)
        return;
    SetWindowSubclass(list, ListPaintProc, kListPaintSubclass, 0);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    RECT r = {};
    GetWindowRect(list, &r);
    for (int c = 0; c < kColumns; ++c) {
        std::wstring title = LibraryString(IDS_OVERLAY_COLUMN_NAME + UINT(c));
        LVCOLUMNW column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = (r.right - r.left) / 2 - 2;
        column.pszText = title.data();
        column.iSubItem = c;
        SendMessageW(list, LVM_INSERTCOLUMNW, WPARAM(c), reinterpret_cast<LPARAM>(&column));
    }
}

void ShowLimit(HWND dlg, int id, int limit) {
    WCHAR text[64] = {};
    _snwprintf(text, 63, LibraryString(IDS_OVERLAY_LIMIT).c_str(), limit);
    SetDlgItemTextW(dlg, id, text);
}

// The option names of the driver's ZDOverlay item. The last option is
// offered only to users who may not write printer data.
void FillModeList(HWND dlg, const UiContext* ctx) {
    if (FillOptionList(dlg, IDC_OV_MODE, ctx, slot::Overlay) && Writable()) {
        LRESULT last = SendDlgItemMessageW(dlg, IDC_OV_MODE, CB_GETCOUNT, 0, 0) - 1;
        SendDlgItemMessageW(dlg, IDC_OV_MODE, CB_DELETESTRING, WPARAM(last), 0);
    }
}

std::wstring PageText(const OverlayDefinition& d) {
    if (d.PageMode == uint16_t(PageMode::CustomPages))
        return W(FieldText(d.CustomPage, kOverlayCustomPageUnits));
    return LibraryString(IDS_PAGE_MODE_ALL + (d.PageMode < uint16_t(PageMode::CustomPages)
                                                  ? UINT(d.PageMode)
                                                  : UINT(PageMode::AllPages)));
}

void AppendRow(HWND list, const OverlayDefinition& d) {
    std::wstring name = W(FieldText(d.OverlayName, kOverlayTextUnits));
    std::wstring pages = PageText(d);
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = int(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = name.data();
    LRESULT row = SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    if (row < 0)
        return;
    item.iSubItem = 1;
    item.pszText = pages.data();
    SendMessageW(list, LVM_SETITEMTEXTW, WPARAM(row), reinterpret_cast<LPARAM>(&item));
}

void FillOverlayLists(HWND dlg, const OverlayDialogState* state, UINT parts) {
    const UiContext* ctx = state->ctx;
    const OverlayRecords& records = *state->records;
    if (parts & kModeEntry)
        SelectOptionEntry(dlg, IDC_OV_MODE, ctx->selections[slot::Overlay]);
    if (parts & kDefinedList) {
        HWND list = GetDlgItem(dlg, IDC_OV_DEFINED_LIST);
        if (parts & kEmptyFirst)
            SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
        for (uint16_t n = 0; n < records.list.DefinedCount && n < kMaxDefinedOverlays; ++n)
            AppendRow(list, records.definitions[n]);
    }
    if (parts & kCurrentList) {
        HWND list = GetDlgItem(dlg, IDC_OV_CURRENT_LIST);
        if (parts & kEmptyFirst)
            SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
        for (uint16_t i = 0; i < records.list.CurrentCount && i < kMaxCurrentOverlays; ++i)
            if (records.list.CurrentIndex[i] < kMaxDefinedOverlays)
                AppendRow(list, records.definitions[records.list.CurrentIndex[i]]);
    }
    if (NoPermission(ctx))
        LimitControlRange(dlg, IDC_OV_MODE, IDC_OV_DELETE, FALSE);
}

int ItemCount(HWND dlg, int id) {
    return int(SendDlgItemMessageW(dlg, id, LVM_GETITEMCOUNT, 0, 0));
}

uint32_t ListSelection(HWND dlg, int id) {
    HWND list = GetDlgItem(dlg, id);
    uint32_t bits = 0;
    int i = -1;
    while ((i = int(SendMessageW(list, LVM_GETNEXTITEM, WPARAM(i), LVNI_SELECTED))) >= 0 && i < 32)
        bits |= uint32_t(1) << i;
    return bits;
}

void DeselectAll(HWND dlg, int id, int count) {
    HWND list = GetDlgItem(dlg, id);
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    for (int i = 0; i < count; ++i)
        SendMessageW(list, LVM_SETITEMSTATE, WPARAM(i), reinterpret_cast<LPARAM>(&item));
}

void UpdateOverlayButtons(HWND dlg, const OverlayDialogState* state) {
    if (NoPermission(state->ctx))
        return;
    const OverlayButtonStates b =
        OverlayButtons(state->records->list, ListSelection(dlg, IDC_OV_DEFINED_LIST),
                       ListSelection(dlg, IDC_OV_CURRENT_LIST));
    EnableWindow(GetDlgItem(dlg, IDC_OV_REMOVE), b.remove);
    EnableWindow(GetDlgItem(dlg, IDC_OV_NEW), b.create);
    EnableWindow(GetDlgItem(dlg, IDC_OV_ADD), b.add);
    EnableWindow(GetDlgItem(dlg, IDC_OV_EDIT), b.edit);
    EnableWindow(GetDlgItem(dlg, IDC_OV_DELETE), b.erase);
}

BOOL OnInitDialog(HWND dlg, LPARAM lParam) {
    OverlayDialogState* state = AttachDialogState<OverlayDialogState>(dlg, lParam);
    ApplyHelpButtonRule(dlg);
    FillModeList(dlg, state->ctx);
    PrepareList(dlg, IDC_OV_CURRENT_LIST);
    PrepareList(dlg, IDC_OV_DEFINED_LIST);
    ShowLimit(dlg, IDC_OV_CURRENT_LIMIT, kMaxCurrentOverlays);
    ShowLimit(dlg, IDC_OV_DEFINED_LIMIT, kMaxDefinedOverlays);
    if (!Writable())
        DestroyControlRange(dlg, IDC_OV_NEW, IDC_OV_DELETE);
    FillOverlayLists(dlg, state, kModeEntry | kCurrentList | kDefinedList);
    UpdateOverlayButtons(dlg, state);
    Process().sheetFlags |= kSheetPageInitialised;
    state->ready = true;
    return FALSE;
}

void OnConfirm(HWND dlg, OverlayDialogState* state) {
    UiContext* ctx = state->ctx;
    // Without an entry chosen the driver keeps the selection it has.
    if (std::optional<uint32_t> mode = ChosenOption(dlg, IDC_OV_MODE, ctx, slot::Overlay))
        StoreOption(ctx, slot::Overlay, *mode);
    if (!StoreOverlayRecords(*ctx, *state->records)) {
        MessageBeep(MB_ICONHAND); // out of memory: nothing is handed over
        return;
    }
    ApplyWorkingSelections(ctx);
    uint16_t indexes[kMaxCurrentOverlays];
    DocumentOverlayIndexes(state->records->list, indexes);
    ByteView block = PrivateDevMode(ctx);
    for (size_t i = 0; i < dm::kOverlayCount; ++i)
        block.set_u16(dm::kOverlays + 2 * i, indexes[i]);
    if (Writable())
        SaveOverlayStoreOrTell(dlg, *ctx);
    EndDialog(dlg, 1);
}

void OnModeChanged(HWND dlg, const OverlayDialogState* state) {
    if (SendDlgItemMessageW(dlg, IDC_OV_MODE, CB_GETCURSEL, 0, 0) == kCreateOverlayMode)
        ShowStringMessage(dlg, IDS_OVERLAY_CREATE_NOTICE, IDS_CAPTION_INFORMATION,
                          MB_OK | MB_ICONINFORMATION);
    NotifyPageChanged(state->owner);
}

bool OnAdd(HWND dlg, OverlayDialogState* state) {
    OverlayList& list = state->records->list;
    if (!AddToCurrent(list, ListSelection(dlg, IDC_OV_DEFINED_LIST)))
        return false;
    FillOverlayLists(dlg, state, kEmptyFirst | kCurrentList);
    DeselectAll(dlg, IDC_OV_DEFINED_LIST, list.DefinedCount);
    return true;
}

bool OnRemove(HWND dlg, OverlayDialogState* state) {
    OverlayList& list = state->records->list;
    if (!RemoveFromCurrent(list, ListSelection(dlg, IDC_OV_CURRENT_LIST)))
        return false;
    FillOverlayLists(dlg, state, kEmptyFirst | kCurrentList);
    DeselectAll(dlg, IDC_OV_CURRENT_LIST, list.CurrentCount);
    return true;
}

bool OnNew(HWND dlg, OverlayDialogState* state) {
    OverlayRecords& records = *state->records;
    const uint16_t n = records.list.DefinedCount;
    if (n >= kMaxDefinedOverlays)
        return false;
    OverlayDefinition& d = records.definitions[n];
    d = OverlayDefinition{};
    SetFieldText(d.OverlayName, kOverlayTextUnits, U16(LibraryString(IDS_OVERLAY_NEW_NAME)));
    if (!DialogConfirmed(RunOverlayDefinitionDialog(dlg, records, n))) {
        d = OverlayDefinition{};
        return false;
    }
    records.list.DefinedCount = uint16_t(n + 1);
    FillOverlayLists(dlg, state, kEmptyFirst | kDefinedList);
    return true;
}

bool OnEdit(HWND dlg, OverlayDialogState* state) {
    OverlayRecords& records = *state->records;
    const uint32_t selected = ListSelection(dlg, IDC_OV_DEFINED_LIST);
    uint16_t k = 0;
    while (k < records.list.DefinedCount && !(selected >> k & 1))
        ++k;
    if (k >= records.list.DefinedCount ||
        !DialogConfirmed(RunOverlayDefinitionDialog(dlg, records, k)))
        return false;
    FillOverlayLists(dlg, state, kEmptyFirst | kCurrentList | kDefinedList);
    DeselectAll(dlg, IDC_OV_DEFINED_LIST, records.list.DefinedCount);
    return true;
}

bool OnDelete(HWND dlg, OverlayDialogState* state) {
    OverlayRecords& records = *state->records;
    if (!DeleteDefinitions(records, ListSelection(dlg, IDC_OV_DEFINED_LIST)))
        return false;
    FillOverlayLists(dlg, state, kEmptyFirst | kCurrentList | kDefinedList);
    DeselectAll(dlg, IDC_OV_CURRENT_LIST, records.list.CurrentCount);
    return true;
}

// The list buttons; each refuses what its disabled button would, since a
// posted double-click or a stale enable state may still reach it.
bool RunListCommand(HWND dlg, OverlayDialogState* state, WORD id) {
    if (NoPermission(state->ctx))
        return false;
    switch (id) {
    case IDC_OV_ADD:
        return OnAdd(dlg, state);
    case IDC_OV_REMOVE:
        return OnRemove(dlg, state);
    case IDC_OV_NEW:
        return Writable() && OnNew(dlg, state);
    case IDC_OV_EDIT:
        return Writable() && OnEdit(dlg, state);
    case IDC_OV_DELETE:
        return Writable() && OnDelete(dlg, state);
    default:
        return false;
    }
}

BOOL OnCommand(HWND dlg, WORD id, WORD code) {
    OverlayDialogState* state = DialogState<OverlayDialogState>(dlg);
    if (!state)
        return FALSE;
    switch (id) {
    case IDOK:
        OnConfirm(dlg, state);
        return TRUE;
    case IDCANCEL:
        EndDialog(dlg, 0);
        return TRUE;
    case IDC_OV_MODE:
        if (code == CBN_SELCHANGE)
            OnModeChanged(dlg, state);
        return TRUE;
    case IDC_OV_ADD:
    case IDC_OV_REMOVE:
    case IDC_OV_NEW:
    case IDC_OV_EDIT:
    case IDC_OV_DELETE:
        if (code == BN_CLICKED && RunListCommand(dlg, state, id)) {
            UpdateOverlayButtons(dlg, state);
            NotifyPageChanged(state->owner);
        }
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL OnNotify(HWND dlg, const NMHDR* header) {
    OverlayDialogState* state = DialogState<OverlayDialogState>(dlg);
    if (!state || !state->ready || !header)
        return FALSE;
    const int id = int(header->idFrom);
    if (id != IDC_OV_CURRENT_LIST && id != IDC_OV_DEFINED_LIST)
        return FALSE;
    switch (header->code) {
    case LVN_ITEMCHANGED:
        UpdateOverlayButtons(dlg, state);
        return FALSE;
    case NM_SETFOCUS: {
        // Only one list has a selection at a time.
        int other = id == IDC_OV_CURRENT_LIST ? IDC_OV_DEFINED_LIST : IDC_OV_CURRENT_LIST;
        DeselectAll(dlg, other, ItemCount(dlg, other));
        return FALSE;
    }
    case NM_DBLCLK:
        if (id == IDC_OV_DEFINED_LIST && ListSelection(dlg, id) && Writable())
            PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDC_OV_EDIT, BN_CLICKED), 0);
        return FALSE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK OverlayDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog(dlg, lParam);
    case WM_COMMAND:
        return OnCommand(dlg, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
        return OnNotify(dlg, reinterpret_cast<const NMHDR*>(lParam));
    case WM_HELP:
    case WM_CONTEXTMENU:
        return HandleContextHelp(msg, wParam, lParam);
    default:
        return FALSE;
    }
}

} // namespace

INT_PTR RunOverlayDialog(HWND owner, UiContext* ctx) {
    if (!ctx)
        return 0;
    // The template's list views need their class before the dialog is made.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    OverlayDialogState state;
    state.ctx = ctx;
    state.owner = owner;
    state.records.reset(new (std::nothrow) OverlayRecords());
    if (!state.records || !OpenOverlayStore(*ctx) || !CopyOverlayRecords(*ctx, *state.records))
        return 0;
    return RunModalDialog(owner, IDD_OVERLAY, OverlayDialogProc, &state);
}

} // namespace zd
