#include "watermark/watermark_font_dialog.h"

#include "core/ui_context.h"
#include "core/win_util.h"
#include "ui/dialog_helpers.h"
#include "ui/dialog_plumbing.h"
#include "resources/resource.h"
#include "watermark/watermark_dialog_rules.h"
#include "watermark/watermark_store.h"

#include <imm.h>

#include <optional>

namespace zd {

namespace {

constexpr UINT kFieldLimit = 128;
constexpr UINT kNameLimit = 30;
constexpr UINT kShortLimit = 5;
constexpr int kStyleCount = 4;
constexpr int kMaxFontEntries = 1000; // a list that never ends is cut here

// What the dialog edits before it is copied into the working copy.
struct FontChoice {
    int32_t size = 0;
    int32_t fontNumber = 0;
    int32_t weight = 0;
    uint8_t italic = 0;
};

struct FontState {
    UiContext* ctx = nullptr;
    FontChoice pending;
};

void SelectSize(HWND dlg, int32_t size) {
    const uint8_t index = FontSizeIndex(size);
    SendDlgItemMessageW(dlg, IDC_FONT_SIZE_LIST, LB_SETCURSEL,
                        index == kNoFontSize ? WPARAM(-1) : WPARAM(index), 0);
}

void FillFontList(HWND dlg, const FontState* state) {
    HWND list = GetDlgItem(dlg, IDC_FONT_LIST);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (int n = 1; n <= kMaxFontEntries; ++n) {
        const std::wstring entry = ReadFontEntry(n - 1);
        if (entry.empty())
            break;
        const std::wstring name = W(FontDisplayName(U16(entry)));
        LRESULT item = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        SendMessageW(list, LB_SETITEMDATA, WPARAM(item), LPARAM(n - 1));
    }
    SendMessageW(list, LB_SETCURSEL, WPARAM(state->pending.fontNumber), 0);
    SendDlgItemMessageW(dlg, IDC_FONT_NAME, EM_SETLIMITTEXT, kNameLimit, 0);
    SetDlgItemTextW(dlg, IDC_FONT_NAME,
                    W(FontDisplayName(U16(ReadFontEntry(state->pending.fontNumber)))).c_str());
}

void InitFontControls(HWND dlg, const FontState* state) {
    for (int id : {IDC_FONT_NAME, IDC_FONT_STYLE, IDC_FONT_SIZE})
        SendDlgItemMessageW(dlg, id, EM_SETLIMITTEXT, kFieldLimit, 0);
    FillFontList(dlg, state);

    HWND styles = GetDlgItem(dlg, IDC_FONT_STYLE_LIST);
    SendMessageW(styles, LB_RESETCONTENT, 0, 0);
    for (int i = 0; i < kStyleCount; ++i) {
        const std::wstring name = LibraryString(UINT(IDS_FONT_STYLE_REGULAR + i));
        LRESULT item =
            SendMessageW(styles, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        SendMessageW(styles, LB_SETITEMDATA, WPARAM(item), LPARAM(i));
    }
    const int style = FontStyleIndex(state->pending.weight, state->pending.italic);
    SendMessageW(styles, LB_SETCURSEL, WPARAM(style), 0);
    SendDlgItemMessageW(dlg, IDC_FONT_STYLE, EM_SETLIMITTEXT, kShortLimit, 0);
    SetDlgItemTextW(dlg, IDC_FONT_STYLE,
                    LibraryString(UINT(IDS_FONT_STYLE_REGULAR + style)).c_str());

    HWND sizes = GetDlgItem(dlg, IDC_FONT_SIZE_LIST);
    SendMessageW(sizes, LB_RESETCONTENT, 0, 0);
    for (int i = 0; i < kFontSizeCount; ++i) {
        const std::wstring name = LibraryString(UINT(IDS_FONT_SIZE_FIRST + i));
        LRESULT item = SendMessageW(sizes, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        SendMessageW(sizes, LB_SETITEMDATA, WPARAM(item), LPARAM(i));
    }
    SelectSize(dlg, state->pending.size);
    SendDlgItemMessageW(dlg, IDC_FONT_SIZE, EM_SETLIMITTEXT, kShortLimit, 0);
    SetDecimalText(dlg, IDC_FONT_SIZE, state->pending.size);
}

BOOL OnInitDialog(HWND dlg, LPARAM lParam) {
    FontState* state = AttachDialogState<FontState>(dlg, lParam);
    if (!state || !state->ctx || !state->ctx->workingWatermark)
        return FALSE;
    const WatermarkRecord& r = *state->ctx->workingWatermark;
    state->pending = {r.size, r.fontNumber, r.weight, r.italic};
    ApplyHelpButtonRule(dlg);
    InitFontControls(dlg, state);
    return FALSE;
}

// The item data of a list's selection; nothing when there is none.
std::optional<LRESULT> SelectedItemData(HWND dlg, int id) {
    LRESULT chosen = SendDlgItemMessageW(dlg, id, LB_GETCURSEL, 0, 0);
    if (chosen == LB_ERR)
        return std::nullopt;
    return SendDlgItemMessageW(dlg, id, LB_GETITEMDATA, WPARAM(chosen), 0);
}

BOOL OnCommand(HWND dlg, WORD id, WORD code) {
    FontState* state = DialogState<FontState>(dlg);
    if (!state || !state->ctx || !state->ctx->workingWatermark)
        return FALSE;
    FontChoice& p = state->pending;
    switch (id) {
    case IDOK: {
        WatermarkRecord& r = *state->ctx->workingWatermark;
        r.size = p.size;
        r.fontNumber = p.fontNumber;
        r.weight = p.weight;
        r.italic = p.italic;
        EndDialog(dlg, IDOK);
        return TRUE;
    }
    case IDCANCEL:
        EndDialog(dlg, IDCANCEL);
        return TRUE;
    case IDC_FONT_LIST:
        if (code == LBN_SELCHANGE) {
            if (std::optional<LRESULT> data = SelectedItemData(dlg, id)) {
                p.fontNumber = int32_t(*data & 0xFF);
                FillFontList(dlg, state);
            }
        }
        return TRUE;
    case IDC_FONT_STYLE_LIST:
        if (code == LBN_SELCHANGE) {
            if (std::optional<LRESULT> data = SelectedItemData(dlg, id)) {
                const int style = int(*data & 3);
                p.weight = FontStyleWeight(style);
                p.italic = FontStyleItalic(style);
                SetDlgItemTextW(dlg, IDC_FONT_STYLE,
                                LibraryString(UINT(IDS_FONT_STYLE_REGULAR + style)).c_str());
            }
        }
        return TRUE;
    case IDC_FONT_SIZE_LIST:
        if (code == LBN_SELCHANGE) {
            if (std::optional<LRESULT> data = SelectedItemData(dlg, id)) {
                p.size = FontSizeAt(int(*data));
                SetDecimalText(dlg, IDC_FONT_SIZE, p.size);
            }
        }
        return TRUE;
    case IDC_FONT_SIZE: {
        // Every notification reads the typed size; the field keeps the text as typed.
        if (HWND edit = GetDlgItem(dlg, IDC_FONT_SIZE))
            ImmAssociateContext(edit, nullptr);
        WCHAR text[16] = {};
        GetDlgItemTextW(dlg, IDC_FONT_SIZE, text, 16);
        p.size = TypedFontSize(U16(text));
        SelectSize(dlg, p.size);
        return TRUE;
    }
    case IDC_FONT_NAME:
    case IDC_FONT_STYLE:
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK WatermarkFontDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog(dlg, lParam);
    case WM_COMMAND:
        return OnCommand(dlg, LOWORD(wParam), HIWORD(wParam));
    case WM_CONTEXTMENU:
        return HandleContextHelp(msg, wParam, lParam);
    default:
        return FALSE;
    }
}

} // namespace

INT_PTR RunWatermarkFontDialog(HWND owner, UiContext* ctx) {
    FontState state;
    state.ctx = ctx;
    return RunModalDialog(owner, IDD_WATERMARK_FONT, WatermarkFontDialogProc, &state);
}

} // namespace zd
