#include "color/advanced_photo_dialog.h"

#include "ui/option_lists.h"
#include "color/photo_details_layout.h"
#include "core/process_state.h"
#include "core/ui_context.h"
#include "ui/dialog_helpers.h"
#include "ui/dialog_plumbing.h"
#include "resources/resource.h"
#include "ui/bitmap_helpers.h"

#include <commctrl.h>

namespace zd {

namespace {

// The twelve working copies, each the selection of one driver feature.
enum PhotoCopy : int {
    kMethod,     // "ZDColorICMS", radio buttons 1651..1654
    kRgb,        // "ZDRGBProfile"
    kCmykChoice, // "ZDCMYKProfile", radio buttons 1681, 1682
    kCmykInput,  // "ZDCMYKInputProfile"
    kCmykLink,   // "ZDCMYKLinkProfile"
    kSimulation, // "ZDSimProfile"
    kOutput,     // "ZDOutProfile"
    kIntent,     // "ZDColorRenderDict"
    kBlack,      // "ZDBlackSubGra"
    kKeepBlack,  // "ZDPreserveBlack": 0 when the box is ticked
    kPureBlack,  // "ZDPureBlack": 0 when the box is ticked
    kPrecision,  // "ZDColorMatch", the track bar
    kPhotoCopyCount
};

constexpr int kCopySlots[kPhotoCopyCount] = {
    slot::ColorIcms,       slot::RgbProfile,    slot::CmykProfile, slot::CmykInputProfile,
    slot::CmykLinkProfile, slot::SimProfile,    slot::OutProfile,  slot::RenderDict,
    slot::BlackSubGray,    slot::PreserveBlack, slot::PureBlack,   slot::ColorMatch};

constexpr uint32_t kPrecisionFine = 2; // the track bar's right end, the default
constexpr uint32_t kTickedBox = 0;     // both black boxes are ticked at 0

struct ListControl {
    int id;
    PhotoCopy copy;
};
constexpr ListControl kLists[] = {
    {IDC_AP_INTENT, kIntent},
    {IDC_AP_BLACK, kBlack},
    {IDC_AP_RGB_PROFILE, kRgb},
    {IDC_AP_CMYK_INPUT_PROFILE, kCmykInput},
    {IDC_AP_CMYK_LINK_PROFILE, kCmykLink},
    {IDC_AP_OUTPUT_PROFILE, kOutput},
    {IDC_AP_SIM_PROFILE, kSimulation},
};

// The controls that edit a copy; they stay disabled when the printer lacks
// the copy's feature.
struct CopyControls {
    PhotoCopy copy;
    WORD first;
    WORD last;
};
constexpr CopyControls kCopyControls[] = {
    {kMethod, IDC_AP_METHOD_ICC, IDC_AP_METHOD_APPLICATION},
    {kCmykChoice, IDC_AP_CMYK_INPUT_CHOICE, IDC_AP_CMYK_LINK_CHOICE},
    {kKeepBlack, IDC_AP_KEEP_BLACK, IDC_AP_KEEP_BLACK},
    {kPureBlack, IDC_AP_PURE_BLACK, IDC_AP_PURE_BLACK},
    {kPrecision, IDC_AP_PRECISION, IDC_AP_PRECISION},
};

struct Arrow {
    WORD id;
    WORD bitmap;
    bool PhotoDetailsLayout::*shown;
};
constexpr Arrow kArrows[] = {
    {IDC_AP_ARROW_RGB, IDB_ARROW_RIGHT, &PhotoDetailsLayout::arrowRgb},
    {IDC_AP_ARROW_CMYK, IDB_ARROW_RIGHT, &PhotoDetailsLayout::arrowCmyk},
    {IDC_AP_ARROW_DOWN, IDB_ARROW_DOWN, &PhotoDetailsLayout::arrowDown},
    {IDC_AP_ARROW_LINK, IDB_ARROW_LONG, &PhotoDetailsLayout::arrowLink},
};

// The dialog's working copies for one opening; the record changes only on
// confirmation.
struct PhotoState {
    UiContext* ctx = nullptr;
    uint32_t copies[kPhotoCopyCount] = {};

    PhotoDetailsLayout Layout() const {
        return LayoutForMethod(copies[kMethod], copies[kCmykChoice], copies[kOutput]);
    }
};

void EnableControl(HWND dlg, int id, bool enable) {
    EnableWindow(GetDlgItem(dlg, id), enable);
}

void DrawArrows(HWND dlg, const PhotoDetailsLayout& layout) {
    for (const Arrow& arrow : kArrows)
        if (layout.*arrow.shown)
            DrawTransparentBitmap(dlg, Process().moduleInstance, arrow.id, arrow.bitmap);
}

void ShowArrows(HWND dlg, const PhotoDetailsLayout& layout) {
    for (const Arrow& arrow : kArrows)
        ShowWindow(GetDlgItem(dlg, arrow.id), layout.*arrow.shown ? SW_SHOWNORMAL : SW_HIDE);
    DrawArrows(dlg, layout);
}

// Lists stay empty and their controls disabled for features the printer
// lacks, whatever the method shows.
void DisableAbsentFeatures(HWND dlg, const UiContext* ctx) {
    for (const ListControl& list : kLists)
        if (OptionCount(ctx, kCopySlots[list.copy]) == 0)
            EnableControl(dlg, list.id, false);
    for (const CopyControls& controls : kCopyControls)
        if (OptionCount(ctx, kCopySlots[controls.copy]) == 0)
            LimitControlRange(dlg, controls.first, controls.last, FALSE);
}

void RefreshAdvancedPhoto(HWND dlg, const PhotoState* state) {
    const uint32_t* copies = state->copies;
    const PhotoDetailsLayout layout = state->Layout();
    ShowControlRange(dlg, IDC_AP_INPUT_GROUP, IDC_AP_KEEP_BLACK, layout.profiles);
    ShowControlRange(dlg, IDC_AP_CMYK_INPUT_PROFILE, IDC_AP_CMYK_LINK_PROFILE, layout.cmykProfiles);
    ShowControlRange(dlg, IDC_AP_SIM_LABEL, IDC_AP_SIM_PROFILE, layout.simulation);
    ShowArrows(dlg, layout);
    if (layout.cmykProfiles)
        CheckRadioOrNone(dlg, IDC_AP_CMYK_INPUT_CHOICE, IDC_AP_CMYK_LINK_CHOICE,
                         copies[kCmykChoice]);
    CheckRadioOrNone(dlg, IDC_AP_METHOD_ICC, IDC_AP_METHOD_APPLICATION, copies[kMethod]);
    EnableControl(dlg, IDC_AP_KEEP_BLACK, layout.keepBlackEnabled);
    EnableControl(dlg, IDC_AP_CMYK_INPUT_PROFILE, layout.cmykInputEnabled);
    EnableControl(dlg, IDC_AP_CMYK_LINK_PROFILE, layout.cmykLinkEnabled);
    if (layout.keepBlackEnabled)
        SetBoxChecked(dlg, IDC_AP_KEEP_BLACK, copies[kKeepBlack] == kTickedBox);
    SendDlgItemMessageW(dlg, IDC_AP_PRECISION, TBM_SETPOS, TRUE, LPARAM(copies[kPrecision]));
    SetBoxChecked(dlg, IDC_AP_PURE_BLACK, copies[kPureBlack] == kTickedBox);
    for (const ListControl& list : kLists)
        SelectOptionEntry(dlg, list.id, copies[list.copy]);
    if (!layout.intentEnabled)
        LimitControlRange(dlg, IDC_AP_INTENT_LABEL, IDC_AP_INTENT, FALSE);
    DisableAbsentFeatures(dlg, state->ctx);
    if (NoPermission(state->ctx))
        LimitControlRange(dlg, IDC_DEFAULTS, IDC_DEFAULTS, FALSE);
}

BOOL OnInitDialog(HWND dlg, LPARAM lParam) {
    PhotoState* state = AttachDialogState<PhotoState>(dlg, lParam);
    ApplyHelpButtonRule(dlg);
    if (!state)
        return FALSE;
    for (const ListControl& list : kLists)
        FillOptionList(dlg, list.id, state->ctx, kCopySlots[list.copy]);
    SendDlgItemMessageW(dlg, IDC_AP_PRECISION, TBM_SETRANGE, TRUE, MAKELPARAM(0, kPrecisionFine));
    if (state->ctx)
        for (int copy = 0; copy < kPhotoCopyCount; ++copy)
            state->copies[copy] = state->ctx->selections[kCopySlots[copy]];
    RefreshAdvancedPhoto(dlg, state);
    Process().sheetFlags |= kSheetPageInitialised;
    return FALSE;
}

// Each copy goes back only into a feature the printer has, as one of its
// options.
void OnConfirm(HWND dlg, const PhotoState* state) {
    for (int copy = 0; copy < kPhotoCopyCount; ++copy)
        StoreOption(state->ctx, kCopySlots[copy], state->copies[copy]);
    EndDialog(dlg, 1);
}

void OnDefaults(HWND dlg, PhotoState* state) {
    for (uint32_t& copy : state->copies)
        copy = 0;
    state->copies[kPrecision] = kPrecisionFine;
    RefreshAdvancedPhoto(dlg, state);
}

BOOL OnListChange(HWND dlg, PhotoState* state, WORD id) {
    for (const ListControl& list : kLists) {
        if (list.id != id)
            continue;
        if (auto chosen = ChosenOption(dlg, id, state->ctx, kCopySlots[list.copy]))
            state->copies[list.copy] = *chosen;
        RefreshAdvancedPhoto(dlg, state);
        return TRUE;
    }
    return FALSE;
}

BOOL OnCommand(HWND dlg, WORD id, WORD code) {
    PhotoState* state = DialogState<PhotoState>(dlg);
    if (!state)
        return FALSE;
    if (code == CBN_SELCHANGE && OnListChange(dlg, state, id))
        return TRUE;
    if (code != BN_CLICKED)
        return FALSE;
    uint32_t* copies = state->copies;
    if (id >= IDC_AP_METHOD_ICC && id <= IDC_AP_METHOD_APPLICATION) {
        copies[kMethod] = uint32_t(id - IDC_AP_METHOD_ICC);
        RefreshAdvancedPhoto(dlg, state);
        return TRUE;
    }
    switch (id) {
    case IDOK:
        OnConfirm(dlg, state);
        return TRUE;
    case IDCANCEL:
        EndDialog(dlg, 0);
        return TRUE;
    case IDC_AP_CMYK_INPUT_CHOICE:
    case IDC_AP_CMYK_LINK_CHOICE:
        copies[kCmykChoice] = uint32_t(id - IDC_AP_CMYK_INPUT_CHOICE);
        RefreshAdvancedPhoto(dlg, state);
        return TRUE;
    case IDC_AP_PURE_BLACK:
        copies[kPureBlack] = IsBoxChecked(dlg, id) ? kTickedBox : 1;
        return TRUE;
    case IDC_AP_KEEP_BLACK:
        copies[kKeepBlack] = IsBoxChecked(dlg, id) ? kTickedBox : 1;
        return TRUE;
    case IDC_DEFAULTS:
        OnDefaults(dlg, state);
        return TRUE;
    default:
        return FALSE;
    }
}

// The track bar moved: only the precision changes.
BOOL OnHScroll(HWND dlg, HWND bar) {
    PhotoState* state = DialogState<PhotoState>(dlg);
    if (!state || !bar || bar != GetDlgItem(dlg, IDC_AP_PRECISION))
        return FALSE;
    LRESULT position = SendMessageW(bar, TBM_GETPOS, 0, 0);
    state->copies[kPrecision] =
        position < 0 ? 0
                     : (uint32_t(position) > kPrecisionFine ? kPrecisionFine : uint32_t(position));
    return TRUE;
}

BOOL OnDrawItem(HWND dlg, const DRAWITEMSTRUCT* item) {
    const PhotoState* state = DialogState<PhotoState>(dlg);
    if (!state || !item || item->CtlID < IDC_AP_ARROW_RGB || item->CtlID > IDC_AP_ARROW_LINK)
        return FALSE;
    DrawArrows(dlg, state->Layout());
    return TRUE;
}

INT_PTR CALLBACK AdvancedPhotoProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog(dlg, lParam);
    case WM_COMMAND:
        return OnCommand(dlg, LOWORD(wParam), HIWORD(wParam));
    case WM_HSCROLL:
        return OnHScroll(dlg, reinterpret_cast<HWND>(lParam));
    case WM_DRAWITEM:
        return OnDrawItem(dlg, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_ACTIVATE:
        if (const PhotoState* state = DialogState<PhotoState>(dlg))
            DrawArrows(dlg, state->Layout());
        return FALSE;
    case WM_HELP:
    case WM_CONTEXTMENU:
        return HandleContextHelp(msg, wParam, lParam);
    default:
        return FALSE;
    }
}

} // namespace

INT_PTR RunAdvancedPhotoDialog(HWND owner, UiContext* ctx) {
    PhotoState state;
    state.ctx = ctx;
    return RunModalDialog(owner, IDD_ADVANCED_PHOTO, AdvancedPhotoProc, &state);
}

} // namespace zd
