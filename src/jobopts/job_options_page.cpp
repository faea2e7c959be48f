// The Job Options page: print quality, toner save, copies and scaling, the
// buttons of the watermark, overlay, Advanced and About dialogs, and the
// maker link. Its working values live in the sheet's record and reach the
// driver only when the page is left; the finishing selections, which have
// no control here, are brought in line with the paper and layout each time
// the page is made.
#include "jobopts/job_options_page.h"

#include "core/option_tree.h"
#include "core/process_state.h"
#include "core/ui_context.h"
#include "core/win_util.h"
#include "jobopts/about_dialog.h"
#include "jobopts/advanced_dialog.h"
#include "jobopts/job_storage_dialog.h"
#include "ui/dialog_helpers.h"
#include "ui/dialog_plumbing.h"
#include "finishing/finishing_page.h"
#include "finishing/finishing_rules.h"
#include "ui/maker_link.h"
#include "ui/number_field.h"
#include "ui/option_lists.h"
#include "overlay/overlay_dialog.h"
#include "overlay/overlay_store.h"
#include "resources/resource.h"
#include "ui/bitmap_helpers.h"
#include "watermark/watermark_list_dialog.h"
#include "watermark/watermark_store.h"

#include <commctrl.h>
#include <imm.h>
#include <prsht.h>

#include <cstdio>
#include <optional>

namespace zd {

namespace {

constexpr uint32_t kCopiesUpperBound = 999;
constexpr uint32_t kScaleCap = 1000;
constexpr UINT kTypedTextUnits = 64; // 63 characters are read of a typed field

// Defaults (10000): 600 x 600, one copy at 100 %, no finishing.
constexpr uint32_t kDefaultQuality = 1;
constexpr uint32_t kDefaultCopies = 1;
constexpr uint32_t kDefaultScale = 100;

// A copies or scale field with its spinner, its range text and the slot of
// the driver's up-down item.
struct NumberField {
    int slotIndex;
    int edit;
    int spin;
    int rangeText;
    UINT rangeFormat;
    WORD firstControl; // the controls destroyed without the item
    WORD lastControl;
    UINT digits;
    std::optional<uint32_t> cap;
};

const NumberField kCopies = {
    slot::Copies,     IDC_JO_COPIES,       IDC_JO_COPIES_SPIN,  IDC_JO_COPIES_RANGE,
    IDS_COPIES_RANGE, IDC_JO_COPIES_FIRST, IDC_JO_COPIES_RANGE, 3,
    std::nullopt};
const NumberField kScale = {
    slot::Scale,     IDC_JO_SCALE,       IDC_JO_SCALE_SPIN,  IDC_JO_SCALE_RANGE,
    IDS_SCALE_RANGE, IDC_JO_SCALE_GROUP, IDC_JO_SCALE_RANGE, 4,
    kScaleCap};

// The up-down item's bounds: the second option parameter's icon field is
// the lowest value, its lParam the highest. An item without that
// parameter counts as absent on this page.
OPTPARAM* UpDownBounds(const UiContext* ctx, int slotIndex) {
    OPTITEM* item = SlotItem(ctx, slotIndex);
    if (!item || !item->pOptType || !item->pOptType->pOptParam || item->pOptType->Count < 2)
        return nullptr;
    return &item->pOptType->pOptParam[1];
}

bool HasField(const UiContext* ctx, const NumberField& f) {
    return UpDownBounds(ctx, f.slotIndex) != nullptr;
}

// Whether a value lies within the up-down item's bounds (none without it).
bool WithinBounds(const UiContext* ctx, const NumberField& f, uint32_t value) {
    const OPTPARAM* bounds = UpDownBounds(ctx, f.slotIndex);
    return bounds && int64_t(value) >= int64_t(int32_t(bounds->IconID)) &&
           int64_t(value) <= int64_t(int32_t(bounds->lParam));
}

void SetSpinPosition(HWND page, int spin, uint32_t value) {
    SendDlgItemMessageW(page, spin, UDM_SETPOS32, 0, LPARAM(int32_t(value)));
}

// The quality picture for selections 0..2; nothing for any other value.
void DrawQualityPreview(HWND page, const UiContext* ctx) {
    if (!HasSlotItem(ctx, slot::Resolution))
        return;
    uint32_t quality = ctx->selections[slot::Resolution];
    if (quality > IDB_QUALITY_2 - IDB_QUALITY_0)
        return;
    DrawDibWithFrame(page, Process().moduleInstance, WORD(IDB_QUALITY_0 + quality),
                     IDC_JO_QUALITY_PREVIEW);
}

// Range text, spinner range and length limit of a field; without the item
// its controls go. The driver's own copies limit becomes the page's 999.
void InitNumberField(HWND page, UiContext* ctx, const NumberField& f) {
    OPTPARAM* bounds = UpDownBounds(ctx, f.slotIndex);
    if (!bounds) {
        DestroyControlRange(page, f.firstControl, f.lastControl);
        return;
    }
    if (f.slotIndex == slot::Copies)
        bounds->lParam = kCopiesUpperBound;
    const auto lower = int32_t(bounds->IconID);
    const auto upper = int32_t(bounds->lParam);
    WCHAR text[96] = {};
    _snwprintf(text, 95, LibraryString(f.rangeFormat).c_str(), lower, upper);
    SetDlgItemTextW(page, f.rangeText, text);
    SendDlgItemMessageW(page, f.spin, UDM_SETRANGE32, WPARAM(lower), LPARAM(upper));
    SendDlgItemMessageW(page, f.edit, EM_SETLIMITTEXT, f.digits, 0);
}

void ShowMakerLink(HWND page, const UiContext* ctx) {
    std::wstring address = MakerLinkAddress(ctx);
    if (!address.empty())
        SetDlgItemTextW(page, IDC_JO_LINK_TEXT, address.c_str());
    ShowControlRange(page, IDC_JO_LINK_TEXT, IDC_JO_LINK_TEXT, !address.empty());
    ShowControlRange(page, IDC_LINK_LOGO, IDC_LINK_LOGO, TRUE);
}

void RefreshPage(HWND page, UiContext* ctx) {
    const bool hardDisk = DriverSettingIsTrue(ctx, "ZDHDD");
    if (HasSlotItem(ctx, slot::Resolution)) {
        // The radio group runs to 1547: a selection past it checks none.
        uint32_t quality = ctx->selections[slot::Resolution];
        CheckRadioOrNone(page, IDC_JO_QUALITY_HIGH, IDC_JO_QUALITY_LAST, quality);
        DrawQualityPreview(page, ctx);
    }
    if (HasField(ctx, kScale))
        SetSpinPosition(page, kScale.spin, ctx->selections[slot::Scale]);
    if (HasSlotItem(ctx, slot::OutputMode)) {
        EnableWindow(GetDlgItem(page, IDC_JO_TONER_SAVE), TRUE);
        SetBoxChecked(page, IDC_JO_TONER_SAVE, ctx->selections[slot::OutputMode] == 1);
    }
    const JobTypeState job =
        ReconcileJobType(HasSlotItem(ctx, slot::JobType), hardDisk, ctx->selections[slot::JobType]);
    ctx->selections[slot::JobType] = job.jobType;
    if (HasField(ctx, kCopies)) {
        SetSpinPosition(page, kCopies.spin, ctx->selections[slot::Copies]);
        EnableWindow(GetDlgItem(page, kCopies.edit), job.copiesEnabled);
        EnableWindow(GetDlgItem(page, kCopies.spin), job.copiesEnabled);
    }
    EnableWindow(GetDlgItem(page, IDC_JO_JOB_STORAGE), JobStorageOffered(ctx, hardDisk));
    // Overlays the printer cannot print are not defined here.
    if (!HasSlotItem(ctx, slot::Overlay))
        EnableWindow(GetDlgItem(page, IDC_JO_OVERLAY), FALSE);
    LoadLinkCursor();
    EnsureLinkFont(page);
    ShowMakerLink(page, ctx);
    // Last, so that nothing above enables a control again.
    if (NoPermission(ctx)) {
        LimitControlRange(page, IDC_JO_QUALITY_GROUP, IDC_JO_LIMIT_LAST, FALSE);
        LimitControlRange(page, IDC_DEFAULTS, IDC_DEFAULTS, FALSE);
    }
}

BOOL OnInitDialog(HWND page, LPARAM lParam) {
    UiContext* ctx = AttachPageState(page, lParam);
    if (!ctx)
        return FALSE; // no working record: the page stays as its template
    ReconcileFinishingSelections(ctx);
    InitNumberField(page, ctx, kCopies);
    InitNumberField(page, ctx, kScale);
    WatermarkList(*ctx).loaded() = 0;
    OverlayStoreStateOf(*ctx) = Initial;
    RefreshPage(page, ctx);
    Process().sheetFlags |= kSheetPageInitialised;
    WatermarkList(*ctx).committedFirstPage() = 0;
    WatermarkList(*ctx).committedBackground() = 0;
    return FALSE;
}

// Every notification of the copies or scale edit: digits only, the value
// into the working record, and the field rewritten when it held anything
// else or went past the cap.
void OnNumberEntry(HWND page, UiContext* ctx, const NumberField& f, WORD code) {
    HWND edit = GetDlgItem(page, f.edit);
    if (!edit)
        return;
    ImmAssociateContext(edit, nullptr);
    WCHAR text[kTypedTextUnits] = {};
    GetWindowTextW(edit, text, kTypedTextUnits);
    const DigitEntry entry = FilterDigitEntry(U16(text), f.cap);
    uint32_t& working = ctx->selections[f.slotIndex];
    // Only a real change enables Apply: the page's own spinner writes
    // (at every refresh) land here too.
    if (code == EN_CHANGE && entry.value != working)
        NotifyPageChanged(page);
    // A value outside the item's bounds is never a working selection: other
    // dialogs hand the selections to the driver while the page is open, and
    // the page refuses to be left with it anyway.
    if (WithinBounds(ctx, f, entry.value))
        working = entry.value;
    if (entry.hadNonDigit || entry.capped)
        SetSpinPosition(page, f.spin, entry.value);
    if (entry.hadNonDigit) {
        int end = GetWindowTextLengthW(edit);
        SendMessageW(edit, EM_SETSEL, WPARAM(end), LPARAM(end));
    }
}

void OnDefaults(HWND page, UiContext* ctx) {
    // Each default only where the printer's item has it: a selection past
    // the item's options or bounds would go to the driver as it is.
    for (const NumberField* f : {&kCopies, &kScale}) {
        const uint32_t value = f == &kCopies ? kDefaultCopies : kDefaultScale;
        if (WithinBounds(ctx, *f, value))
            ctx->selections[f->slotIndex] = value;
    }
    const struct {
        int slotIndex;
        uint32_t option;
    } defaults[] = {
        {slot::Resolution, kDefaultQuality},
        {slot::OutputMode, 0},
        {slot::JobType, 0},
        {slot::ColorControl, 0},
    };
    for (const auto& d : defaults)
        StoreOption(ctx, d.slotIndex, d.option);
    ResetFinishingDefaults(ctx);
    RefreshPage(page, ctx);
    DrawQualityPreview(page, ctx);
    NotifyPageChanged(page);
}

BOOL OnCommand(HWND page, WORD id, WORD code) {
    UiContext* ctx = DialogState<UiContext>(page);
    if (!ctx)
        return FALSE;
    switch (id) {
    case IDC_JO_COPIES:
        OnNumberEntry(page, ctx, kCopies, code);
        return TRUE;
    case IDC_JO_SCALE:
        OnNumberEntry(page, ctx, kScale, code);
        return TRUE;
    default:
        break;
    }
    if (code != BN_CLICKED) // STN_CLICKED of the link text has the same value
        return FALSE;
    switch (id) {
    case IDC_JO_QUALITY_HIGH:
    case IDC_JO_QUALITY_NORMAL:
        ctx->selections[slot::Resolution] = uint32_t(id - IDC_JO_QUALITY_HIGH);
        RefreshPage(page, ctx);
        NotifyPageChanged(page);
        return TRUE;
    case IDC_JO_TONER_SAVE:
        ctx->selections[slot::OutputMode] = IsBoxChecked(page, IDC_JO_TONER_SAVE) ? 1 : 0;
        NotifyPageChanged(page);
        return TRUE;
    case IDC_JO_WATERMARK:
        if (DialogConfirmed(RunWatermarkListDialog(page, ctx)))
            NotifyPageChanged(page);
        return TRUE;
    case IDC_JO_OVERLAY:
        if (DialogConfirmed(RunOverlayDialog(page, ctx)))
            NotifyPageChanged(page);
        return TRUE;
    case IDC_JO_ADVANCED:
        if (DialogConfirmed(RunAdvancedDialog(page, ctx)))
            NotifyPageChanged(page);
        return TRUE;
    case IDC_JO_ABOUT:
        RunAboutDialog(page, ctx);
        return TRUE;
    case IDC_JO_JOB_STORAGE:
        // A held job type disables the copies: the page shows it at once.
        if (DialogConfirmed(RunJobStorageDialog(page, ctx))) {
            RefreshPage(page, ctx);
            NotifyPageChanged(page);
        }
        return TRUE;
    case IDC_JO_LINK_TEXT:
    case IDC_LINK_LOGO:
        OpenMakerLink(page, ctx);
        return TRUE;
    case IDC_DEFAULTS:
        OnDefaults(page, ctx);
        return TRUE;
    default:
        return FALSE;
    }
}

// The field holds a number within the item's bounds; it is then stored.
bool ValidateField(HWND page, UiContext* ctx, const NumberField& f) {
    const OPTPARAM* bounds = UpDownBounds(ctx, f.slotIndex);
    if (!bounds)
        return true;
    WCHAR text[kTypedTextUnits] = {};
    GetDlgItemTextW(page, f.edit, text, kTypedTextUnits);
    std::optional<uint32_t> value = ParseUnsignedField(U16(text));
    if (!value || !WithinBounds(ctx, f, *value))
        return false;
    ctx->selections[f.slotIndex] = *value;
    return true;
}

BOOL RefuseToLeave(HWND page, int edit) {
    ShowStringMessage(page, IDS_INVALID_SETTINGS, 0, MB_OK | MB_ICONSTOP);
    HWND field = GetDlgItem(page, edit);
    SetFocus(field);
    SendMessageW(field, EM_SETSEL, 0, -1);
    MessageBeep(MB_OK);
    SetWindowLongPtrW(page, DWLP_MSGRESULT, TRUE);
    return TRUE;
}

BOOL OnKillActive(HWND page, UiContext* ctx) {
    if (!ValidateField(page, ctx, kScale))
        return RefuseToLeave(page, kScale.edit);
    if (!ValidateField(page, ctx, kCopies))
        return RefuseToLeave(page, kCopies.edit);
    StoreHeldJob(ctx);
    ApplyWorkingSelections(ctx);
    ForceTreeVisit(page);
    DeleteLinkFont();
    SetWindowLongPtrW(page, DWLP_MSGRESULT, FALSE);
    return TRUE;
}

// The overlay store is committed only for users who may write printer
// data; its records go whoever the user is, except after a failed commit:
// they are then kept, still working, for the next Apply.
void CommitOverlayStore(HWND page, UiContext* ctx) {
    const uint32_t state = OverlayStoreStateOf(*ctx);
    // Unmoved records (the working sections could not be written) are
    // committed as well: the sheet's Apply is where they belong.
    if (Process().printerDataWritable && (state == Working || state == Unmoved)) {
        OverlayStoreStateOf(*ctx) = Committed;
        if (!SaveOverlayStoreOrTell(page, *ctx)) {
            OverlayStoreStateOf(*ctx) = state;
            return;
        }
        ReportPageResult(ctx, ctx->sparePage);
    }
    FreeOverlayStore(*ctx);
}

// The sheet is over: the watermark list the dialogs loaded is saved when
// the sheet is applied (for every user, unlike the overlay store), and
// freed either way, except after a failed save: the user is told, and the
// list stays for the next Apply.
void CloseWatermarkList(HWND page, UiContext* ctx, bool save) {
    WatermarkList list(*ctx);
    if (!list.loaded())
        return;
    if (save && !SaveWatermarkList(*ctx)) {
        ShowStringMessage(page, IDS_WATERMARK_SAVE_FAILED, IDS_CAPTION_ERROR, MB_OK | MB_ICONSTOP);
        return;
    }
    FreeWatermarkList(*ctx);
    list.loaded() = 0;
}

void OnApply(HWND page, UiContext* ctx) {
    ReportPageResult(ctx, ctx->jobOptionsPage);
    CloseWatermarkList(page, ctx, true);
    CommitOverlayStore(page, ctx);
    DeleteLinkFont();
    SetWindowLongPtrW(page, DWLP_MSGRESULT, PSNRET_NOERROR);
}

void OnReset(HWND page, UiContext* ctx) {
    CloseWatermarkList(page, ctx, false);
    FreeOverlayStore(*ctx);
    DeleteLinkFont();
}

BOOL OnNotify(HWND page, const NMHDR* header) {
    UiContext* ctx = DialogState<UiContext>(page);
    if (!ctx || !header)
        return FALSE;
    switch (header->code) {
    case PSN_SETACTIVE:
        RefreshPage(page, ctx);
        return FALSE;
    case PSN_KILLACTIVE:
        return OnKillActive(page, ctx);
    case PSN_APPLY:
        OnApply(page, ctx);
        return TRUE;
    case PSN_RESET:
        OnReset(page, ctx);
        return FALSE;
    default:
        return FALSE;
    }
}

BOOL OnDrawItem(HWND page, const DRAWITEMSTRUCT* item) {
    UiContext* ctx = DialogState<UiContext>(page);
    if (!ctx || !item)
        return FALSE;
    switch (item->CtlID) {
    case IDC_JO_QUALITY_PREVIEW:
        DrawQualityPreview(page, ctx);
        return TRUE;
    case IDC_LINK_LOGO:
        DrawTransparentBitmap(page, Process().moduleInstance, IDC_LINK_LOGO, IDB_LINK_LOGO);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR OnCtlColorStatic(HWND page, HDC dc, HWND control) {
    if (!DialogState<UiContext>(page) || GetDlgCtrlID(control) != IDC_JO_LINK_TEXT)
        return FALSE;
    return ColorLinkText(page, dc);
}

} // namespace

INT_PTR CALLBACK JobOptionsPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog(page, lParam);
    case WM_COMMAND:
        return OnCommand(page, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
        return OnNotify(page, reinterpret_cast<const NMHDR*>(lParam));
    case WM_DRAWITEM:
        return OnDrawItem(page, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_ACTIVATE:
        if (const UiContext* ctx = DialogState<UiContext>(page))
            DrawQualityPreview(page, ctx);
        return FALSE;
    case WM_CTLCOLORSTATIC:
        return OnCtlColorStatic(page, reinterpret_cast<HDC>(wParam),
                                reinterpret_cast<HWND>(lParam));
    case WM_SETCURSOR:
        return AnswerLinkCursor(page, DialogState<UiContext>(page), reinterpret_cast<HWND>(wParam));
    case WM_HELP:
    case WM_CONTEXTMENU:
        return HandleContextHelp(msg, wParam, lParam);
    default:
        return FALSE;
    }
}

} // namespace zd
