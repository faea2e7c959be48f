#include "watermark/watermark_edit_dialog.h"

#include "core/late_libraries.h"
#include "core/ui_context.h"
#include "core/win_util.h"
#include "ui/dialog_helpers.h"
#include "ui/dialog_plumbing.h"
#include "resources/resource.h"
#include "watermark/watermark_controls.h"
#include "watermark/watermark_dialog_rules.h"
#include "watermark/watermark_font_dialog.h"
#include "watermark/watermark_preview.h"
#include "watermark/watermark_store.h"

#include <commctrl.h>
#include <imm.h>

namespace zd {

namespace {

constexpr UINT kTextLimit = kWatermarkTextUnits - 1;
constexpr UINT kOffsetDigits = 5;
constexpr int kDefaultSize = 72;
constexpr int kDefaultAngle = 45;
constexpr int kPositionCount = 7;
constexpr int kFieldUnits = 16;

struct EditState {
    UiContext* ctx = nullptr;
    // Set while the dialog rewrites an offset field itself, so that the
    // notifications of that rewrite do not rewrite it again.
    bool rewritingOffset = false;
};

// An offset field with its spinner.
struct OffsetField {
    int edit;
    int spin;
};
constexpr OffsetField kOffsetX = {IDC_WM_X, IDC_WM_X_SPIN};
constexpr OffsetField kOffsetY = {IDC_WM_Y, IDC_WM_Y_SPIN};

WatermarkRecord* Working(const EditState* state) {
    return state->ctx->workingWatermark;
}

const WatermarkRecord* SelectedEntry(const EditState* state) {
    WatermarkList list(*state->ctx);
    return list.selected() < uint32_t(kMaxWatermarkEntries) ? list.entry(list.selected()) : nullptr;
}

std::wstring FieldTextOf(HWND dlg, int id, int units) {
    std::wstring text(size_t(units), L'\0');
    text.resize(size_t(GetDlgItemTextW(dlg, id, text.data(), units)));
    return text;
}

void DetachInputMethod(HWND dlg, int id) {
    if (HWND edit = GetDlgItem(dlg, id))
        ImmAssociateContext(edit, nullptr);
}

// Reads an offset field: digits and a leading "-"; the field is rewritten
// (through its spinner) only when something was dropped or clamped.
void ReadOffset(HWND dlg, EditState* state, const OffsetField& f, int32_t* out) {
    const std::wstring text = FieldTextOf(dlg, f.edit, kFieldUnits);
    if (text.empty())
        return;
    const OffsetEntry e = FilterOffsetText(U16(text));
    *out = e.value;
    if (state->rewritingOffset || (!e.dropped && !e.clamped))
        return;
    state->rewritingOffset = true;
    SendDlgItemMessageW(dlg, f.spin, UDM_SETPOS32, 0, LPARAM(e.value));
    if (e.dropped)
        SendDlgItemMessageW(dlg, f.edit, EM_SETSEL, e.keptLength, LPARAM(e.keptLength));
    state->rewritingOffset = false;
}

void ReadEditControls(HWND dlg, EditState* state) {
    WatermarkRecord* r = Working(state);
    const WatermarkRecord* entry = SelectedEntry(state);
    if (!r)
        return;
    SetFieldText(r->text, kWatermarkTextUnits, U16(FieldTextOf(dlg, IDC_WM_TEXT, kTextLimit + 1)));
    std::optional<int32_t> size =
        ParseNumberField(U16(FieldTextOf(dlg, IDC_WM_SIZE, kFieldUnits)), false);
    if (size && *size <= INT16_MAX)
        r->size = int16_t(*size);
    else if (entry)
        r->size = entry->size;
    std::optional<int32_t> angle =
        ParseNumberField(U16(FieldTextOf(dlg, IDC_WM_ANGLE, kFieldUnits)), true);
    if (angle && *angle >= INT16_MIN && *angle <= INT16_MAX)
        r->angle = int16_t(*angle);
    else if (entry)
        r->angle = entry->angle;
    ReadOffset(dlg, state, kOffsetX, &r->x);
    ReadOffset(dlg, state, kOffsetY, &r->y);
}

void Redraw(HWND dlg, EditState* state) {
    ReadEditControls(dlg, state);
    DrawWatermarkPreview(dlg, state->ctx);
    UpdateEditButtons(dlg, state->ctx);
}

void EnableConfirm(HWND dlg, const EditState* state) {
    const WatermarkRecord* r = Working(state);
    EnableWindow(GetDlgItem(dlg, IDOK), r && r->text[0] != 0);
}

void InitEditControls(HWND dlg, EditState* state) {
    SendDlgItemMessageW(dlg, IDC_WM_TEXT, EM_SETLIMITTEXT, kTextLimit, 0);
    SendDlgItemMessageW(dlg, IDC_WM_SIZE_BAR, SBM_SETRANGE, kSizeMin, kSizeMax);
    SendDlgItemMessageW(dlg, IDC_WM_ANGLE_BAR, SBM_SETRANGE, WPARAM(kAngleMin), kAngleMax);
    for (const OffsetField& f : {kOffsetX, kOffsetY}) {
        SendDlgItemMessageW(dlg, f.edit, EM_SETLIMITTEXT, kOffsetDigits, 0);
        SendDlgItemMessageW(dlg, f.spin, UDM_SETRANGE32, WPARAM(-kOffsetLimit), kOffsetLimit);
    }
    HWND presets = GetDlgItem(dlg, IDC_WM_POSITION);
    for (int i = 0; i < kPositionCount; ++i) {
        const std::wstring name = LibraryString(UINT(IDS_POSITION_TOP_LEFT + i));
        LRESULT item =
            SendMessageW(presets, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        SendMessageW(presets, CB_SETITEMDATA, WPARAM(item), LPARAM(i));
    }
    WatermarkList list(*state->ctx);
    if (const WatermarkRecord* entry = SelectedEntry(state); entry && list.working())
        CopyWatermark(*list.working(), *entry);
    ClearWorkingTextIfNone(*state->ctx);
}

BOOL OnInitDialog(HWND dlg, LPARAM lParam) {
    EditState* state = AttachDialogState<EditState>(dlg, lParam);
    if (!state || !state->ctx || !state->ctx->workingWatermark)
        return FALSE;
    ApplyHelpButtonRule(dlg);
    InitEditControls(dlg, state);
    RefreshWatermarkControls(dlg, state->ctx);
    UpdateEditButtons(dlg, state->ctx);
    EnableConfirm(dlg, state);
    return FALSE;
}

// The size and angle bars and the offset spinners.
BOOL OnScroll(HWND dlg, WPARAM wParam, HWND sender) {
    EditState* state = DialogState<EditState>(dlg);
    if (!state || !state->ctx || !sender)
        return FALSE;
    const int id = GetDlgCtrlID(sender);
    const int code = LOWORD(wParam);
    if (id == IDC_WM_SIZE_BAR || id == IDC_WM_ANGLE_BAR) {
        const bool size = id == IDC_WM_SIZE_BAR;
        const int position =
            NextScrollPosition(GetScrollPos(sender, SB_CTL), code, int16_t(HIWORD(wParam)),
                               size ? kSizeMin : kAngleMin, size ? kSizeMax : kAngleMax);
        SetDlgItemTextW(dlg, size ? IDC_WM_SIZE : IDC_WM_ANGLE, W(FormatDecimal(position)).c_str());
        if (code != kScrollEnd)
            SetScrollPos(sender, SB_CTL, position, TRUE);
    }
    Redraw(dlg, state);
    return TRUE;
}

// Size and angle stay numeric and in range as they are typed; the bar
// follows the field.
void OnNumberField(HWND dlg, EditState* state, int id, WORD code) {
    DetachInputMethod(dlg, IDC_WM_SIZE);
    DetachInputMethod(dlg, IDC_WM_ANGLE);
    const bool size = id == IDC_WM_SIZE;
    CheckNumberField(dlg, code, id, size ? kDefaultSize : kDefaultAngle,
                     size ? kSizeMin : kAngleMin, size ? kSizeMax : kAngleMax,
                     state->ctx->numberText, size ? FALSE : TRUE);
    if (code == EN_CHANGE) {
        std::optional<int32_t> v = ParseNumberField(U16(FieldTextOf(dlg, id, kFieldUnits)), !size);
        if (v)
            SetScrollPos(GetDlgItem(dlg, size ? IDC_WM_SIZE_BAR : IDC_WM_ANGLE_BAR), SB_CTL, *v,
                         TRUE);
    }
    Redraw(dlg, state);
}

void OnFont(HWND dlg, EditState* state) {
    if (!DialogConfirmed(RunWatermarkFontDialog(dlg, state->ctx)))
        return;
    // The size field and bar follow the size chosen there.
    SendMessageW(dlg, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, WORD(Working(state)->size)),
                 reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDC_WM_SIZE_BAR)));
    Redraw(dlg, state);
}

// The picker's custom colours are shared through the configuration file,
// so they are read before and written after every use.
void OnColor(HWND dlg, EditState* state) {
    LoadCustomColors(*state->ctx);
    CHOOSECOLORW cc = {};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = dlg;
    cc.rgbResult = Working(state)->color;
    cc.lpCustColors = CustomColors();
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (PickColor(&cc))
        Working(state)->color = cc.rgbResult;
    SaveCustomColors(*state->ctx);
    Redraw(dlg, state);
}

// A preset places the watermark anew: the offsets start again from 0.
void OnPosition(HWND dlg, EditState* state) {
    LRESULT chosen = SendDlgItemMessageW(dlg, IDC_WM_POSITION, CB_GETCURSEL, 0, 0);
    if (chosen == CB_ERR)
        return;
    WatermarkRecord* r = Working(state);
    r->position = uint16_t(
        SendDlgItemMessageW(dlg, IDC_WM_POSITION, CB_GETITEMDATA, WPARAM(chosen), 0) & 0xFF);
    r->x = 0;
    r->y = 0;
    SetDlgItemTextW(dlg, IDC_WM_X, L"0");
    SetDlgItemTextW(dlg, IDC_WM_Y, L"0");
    Redraw(dlg, state);
}

void OnConfirm(HWND dlg, EditState* state) {
    WatermarkRecord* r = Working(state);
    // OK is disabled without a text, but a stale or sent click may still
    // come: the field is read again and an empty text refused.
    ReadEditControls(dlg, state);
    if (!r->text[0]) {
        EnableConfirm(dlg, state);
        MessageBeep(MB_OK);
        return;
    }
    const FaceAndStyle fs =
        FaceAndStyleFor(U16(ReadFontEntry(r->fontNumber)), r->weight, r->italic);
    SetFieldText(r->face, kWatermarkFaceUnits, fs.face);
    r->style = fs.style;
    EndDialog(dlg, IDOK);
}

BOOL OnCommand(HWND dlg, WORD id, WORD code) {
    // Cancel closes the dialog even when it has nothing to work on.
    if (id == IDCANCEL) {
        EndDialog(dlg, IDCANCEL);
        return TRUE;
    }
    EditState* state = DialogState<EditState>(dlg);
    if (!state || !state->ctx || !Working(state))
        return FALSE;
    switch (id) {
    case IDOK:
        OnConfirm(dlg, state);
        return TRUE;
    case IDC_WM_TEXT:
        DetachInputMethod(dlg, IDC_WM_TEXT);
        if (code != EN_UPDATE)
            return FALSE;
        Redraw(dlg, state);
        EnableConfirm(dlg, state);
        return TRUE;
    case IDC_WM_SIZE:
    case IDC_WM_ANGLE:
        OnNumberField(dlg, state, id, code);
        return TRUE;
    case IDC_WM_FONT:
        OnFont(dlg, state);
        return TRUE;
    case IDC_WM_COLOR:
        OnColor(dlg, state);
        return TRUE;
    case IDC_WM_X:
    case IDC_WM_Y:
        DetachInputMethod(dlg, IDC_WM_X);
        DetachInputMethod(dlg, IDC_WM_Y);
        Redraw(dlg, state);
        return TRUE;
    case IDC_WM_FRAME_NONE:
    case IDC_WM_FRAME_CIRCLE:
    case IDC_WM_FRAME_SINGLE:
    case IDC_WM_FRAME_DOUBLE:
        Working(state)->frame = uint16_t(id - IDC_WM_FRAME_NONE);
        ReadEditControls(dlg, state);
        DrawWatermarkPreview(dlg, state->ctx);
        return TRUE;
    case IDC_WM_POSITION:
        if (code == CBN_SELCHANGE)
            OnPosition(dlg, state);
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL OnDrawItem(HWND dlg) {
    EditState* state = DialogState<EditState>(dlg);
    if (!state || !state->ctx || !Working(state))
        return FALSE;
    ReadEditControls(dlg, state);
    DrawWatermarkPreview(dlg, state->ctx);
    return TRUE;
}

INT_PTR CALLBACK WatermarkEditDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog(dlg, lParam);
    case WM_COMMAND:
        return OnCommand(dlg, LOWORD(wParam), HIWORD(wParam));
    case WM_HSCROLL:
    case WM_VSCROLL:
        return OnScroll(dlg, wParam, reinterpret_cast<HWND>(lParam));
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

INT_PTR RunWatermarkEditDialog(HWND owner, UiContext* ctx) {
    EditState state;
    state.ctx = ctx;
    return RunModalDialog(owner, IDD_WATERMARK_EDIT, WatermarkEditDialogProc, &state);
}

} // namespace zd
