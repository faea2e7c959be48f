#include "watermark/watermark_controls.h"

#include "core/ui_context.h"
#include "core/win_util.h"
#include "ui/dialog_plumbing.h"
#include "resources/resource.h"
#include "watermark/watermark_preview.h"
#include "watermark/watermark_store.h"

namespace zd {

namespace {

std::wstring EntryText(const WatermarkRecord* r) {
    return r ? W(FieldText(r->text, kWatermarkTextUnits)) : std::wstring();
}

// The edit dialog's scroll handling shows the value in its field and bar.
void ScrollTo(HWND dialog, int bar, int16_t position) {
    if (HWND control = GetDlgItem(dialog, bar))
        SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, WORD(position)),
                     reinterpret_cast<LPARAM>(control));
}

} // namespace

void RefreshWatermarkControls(HWND dialog, UiContext* ctx) {
    if (!ctx)
        return;
    WatermarkList list(*ctx);
    const uint32_t count = list.storedCount();
    const uint32_t selected = list.selected() <= count ? list.selected() : 0;
    const WatermarkRecord* chosen = list.entry(selected);

    if (HWND box = GetDlgItem(dialog, IDC_WM_LIST)) {
        SendMessageW(box, LB_RESETCONTENT, 0, 0);
        for (uint32_t i = 0; i <= count; ++i)
            SendMessageW(box, LB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(EntryText(list.entry(i)).c_str()));
        SendMessageW(box, LB_SETCURSEL, selected, 0);
    }
    if (GetDlgItem(dialog, IDC_WM_TEXT))
        SetDlgItemTextW(dialog, IDC_WM_TEXT, selected ? EntryText(chosen).c_str() : L"");
    if (chosen) {
        ScrollTo(dialog, IDC_WM_SIZE_BAR, int16_t(chosen->size));
        ScrollTo(dialog, IDC_WM_ANGLE_BAR, chosen->angle);
        SetBoxChecked(dialog, IDC_WM_FIRST_PAGE, chosen->firstPageOnly != 0);
        if (GetDlgItem(dialog, IDC_WM_X)) {
            SetDecimalText(dialog, IDC_WM_X, chosen->x);
            SetDecimalText(dialog, IDC_WM_Y, chosen->y);
        }
        SendDlgItemMessageW(dialog, IDC_WM_POSITION, CB_SETCURSEL, chosen->position, 0);
        if (GetDlgItem(dialog, IDC_WM_FRAME_NONE))
            CheckRadioButton(dialog, IDC_WM_FRAME_NONE, IDC_WM_FRAME_DOUBLE,
                             IDC_WM_FRAME_NONE + chosen->frame);
        SetBoxChecked(dialog, IDC_WM_BACKGROUND, chosen->background != 0);
    }
    DrawWatermarkPreview(dialog, ctx);
}

void UpdateEditButtons(HWND dialog, const UiContext* ctx) {
    const BOOL enable = ctx && ctx->selections[slot::SelectedWatermark] != 0;
    if (HWND del = GetDlgItem(dialog, IDC_WM_DELETE))
        EnableWindow(del, enable);
    if (HWND edit = GetDlgItem(dialog, IDC_WM_EDIT))
        EnableWindow(edit, enable);
}

} // namespace zd
