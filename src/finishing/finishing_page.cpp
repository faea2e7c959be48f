// The Finishing page. Its choices are working selections of the sheet's
// record and reach the driver when the page is left. A list offers only
// what the finishing rules keep: a choice they would undo is refused with
// its reason beside the list, and every change settles the others again
// (a new binding position may rule out the punch) before the picture of
// the sheet is redrawn.
#include "finishing/finishing_page.h"

#include "core/devmode_record.h"
#include "core/option_tree.h"
#include "core/page_size.h"
#include "core/process_state.h"
#include "core/win_util.h"
#include "finishing/finishing_choices.h"
#include "finishing/finishing_rules.h"
#include "finishing/sheet_picture.h"
#include "resources/resource.h"
#include "ui/dialog_helpers.h"
#include "ui/dialog_plumbing.h"
#include "ui/gdi_handles.h"
#include "ui/option_lists.h"

#include <prsht.h>

#include <optional>
#include <string>
#include <utility>

namespace zd {

namespace {

constexpr uint32_t kDefaultBinding = binding::Top;
constexpr uint32_t kDefaultImageSmoothing = 1;

constexpr COLORREF kBindingColor = RGB(160, 160, 160);
constexpr COLORREF kStapleColor = RGB(0, 0, 192);
constexpr COLORREF kHoleColor = RGB(64, 64, 64);

// A list of a driver item with its label and its reason text.
struct ChoiceList {
    int slotIndex;
    WORD label;
    WORD list;
    WORD reason;
};
constexpr ChoiceList kBin = {slot::OutputBin, IDC_FIN_BIN_LABEL, IDC_FIN_BIN, IDC_FIN_BIN_REASON};
constexpr ChoiceList kBinding = {slot::BindPosition, IDC_FIN_BINDING_LABEL, IDC_FIN_BINDING,
                                 IDC_FIN_BINDING_REASON};
constexpr ChoiceList kStaple = {slot::Staple, IDC_FIN_STAPLE_LABEL, IDC_FIN_STAPLE,
                                IDC_FIN_STAPLE_REASON};
constexpr ChoiceList kPunch = {slot::Punch, IDC_FIN_PUNCH_LABEL, IDC_FIN_PUNCH,
                               IDC_FIN_PUNCH_REASON};
constexpr const ChoiceList* kLists[] = {&kBin, &kBinding, &kStaple, &kPunch};

// An on/off item: checked is option 1.
struct CheckItem {
    int slotIndex;
    WORD box;
};
constexpr CheckItem kChecks[] = {{slot::Collate, IDC_FIN_COLLATE},
                                 {slot::ImageSmoothing, IDC_FIN_SMOOTHING},
                                 {slot::Trapping, IDC_FIN_TRAPPING}};

// The hardware and the document as the driver answers now: the driver's
// own pages change the paper and the layout while the sheet is open.
struct PrinterFacts {
    std::string punchUnit, paper, duplex;
    FinishingPrinter printer;

    explicit PrinterFacts(const UiContext* ctx)
        : punchUnit(DriverSetting(ctx, "ZDPunchUnit")), paper(DriverSetting(ctx, "PageSize")),
          duplex(DriverSetting(ctx, "Duplex")) {
        FinishingPrinter& p = printer;
        p.finisher = DriverSettingIsTrue(ctx, "ZDFinisher");
        p.punchUnit = punchUnit;
        p.paper = paper;
        p.duplex = duplex;
        // A printer without these items lays pages out as selection 0 would.
        p.orientationSel = SlotItemSelection(ctx, slot::Orientation);
        p.pagesPerSheetSel = SlotItemSelection(ctx, slot::PagesPerSheet);
        const DEVMODEW* pub = PublicDevModeOf(ctx);
        p.portrait = !pub || pub->dmOrientation == DMORIENT_PORTRAIT;
        p.hasOutputBin = HasSlotItem(ctx, slot::OutputBin);
        p.hasStaple = HasSlotItem(ctx, slot::Staple);
        p.hasPunch = HasSlotItem(ctx, slot::Punch);
        p.hasBinding = HasSlotItem(ctx, slot::BindPosition);
    }
    PrinterFacts(const PrinterFacts&) = delete; // the views point into this object
    PrinterFacts& operator=(const PrinterFacts&) = delete;
};

FinishingSelections CurrentSelections(const UiContext* ctx) {
    FinishingSelections s;
    s.outputBin = ctx->selections[slot::OutputBin];
    s.staple = ctx->selections[slot::Staple];
    s.punch = ctx->selections[slot::Punch];
    s.binding = ctx->selections[slot::BindPosition];
    return s;
}

// Only the selections of items the printer has change, and only to one of
// their options.
void StoreSelections(UiContext* ctx, const FinishingSelections& s) {
    const std::pair<int, uint32_t> values[] = {{slot::OutputBin, s.outputBin},
                                               {slot::Staple, s.staple},
                                               {slot::Punch, s.punch},
                                               {slot::BindPosition, s.binding}};
    for (const auto& [slotIndex, value] : values)
        StoreOption(ctx, slotIndex, value);
}

void ShowReason(HWND page, WORD id, FinishingRefusal why) {
    const std::wstring text = why == FinishingRefusal::None
                                  ? std::wstring()
                                  : LibraryString(IDS_FIN_NEEDS_FINISHER + UINT(why) -
                                                  UINT(FinishingRefusal::NeedsFinisher));
    SetDlgItemTextW(page, id, text.c_str());
}

FinishingRefusal RefusalOf(const ChoiceList& list, const FinishingPrinter& p, const UiContext* ctx,
                           uint32_t option) {
    const uint32_t binding = ctx->selections[slot::BindPosition];
    if (&list == &kBin)
        return OutputBinRefusal(p, option);
    if (&list == &kBinding)
        return BindingRefusal(p, option);
    if (&list == &kStaple)
        return StapleRefusal(p, option, binding);
    return PunchRefusal(p, option, binding);
}

ListOffer OfferOf(const ChoiceList& list, const FinishingPrinter& p, const UiContext* ctx) {
    const uint32_t count = OptionCount(ctx, list.slotIndex);
    const uint32_t binding = ctx->selections[slot::BindPosition];
    if (&list == &kBin)
        return ListOffer{count > 1, FinishingRefusal::None}; // entries are refused one by one
    if (&list == &kBinding)
        return BindingOffer(p, count);
    if (&list == &kStaple)
        return StapleOffer(p, count, binding);
    return PunchOffer(p, count, binding);
}

void FillRectWith(HDC dc, const PictureRect& r, COLORREF color) {
    GdiObject<HBRUSH> brush(CreateSolidBrush(color));
    if (!brush)
        return;
    const RECT rc = {r.left, r.top, r.right, r.bottom};
    FillRect(dc, &rc, brush.get());
}

// Composed off-screen and copied to the control in one block; every object
// made here goes at the end of the call.
void DrawSheetPicture(HWND page, const UiContext* ctx) {
    HWND control = GetDlgItem(page, IDC_FIN_PICTURE);
    RECT client = {};
    if (!control || !GetClientRect(control, &client) || client.right <= 0 || client.bottom <= 0)
        return;
    SheetPictureInput in;
    in.clientWidth = client.right;
    in.clientHeight = client.bottom;
    const DEVMODEW* pub = PublicDevModeOf(ctx);
    in.paper = pub ? PageSizeFromFormName(
                         U16(std::wstring(pub->dmFormName, wcsnlen(pub->dmFormName, CCHFORMNAME))),
                         pub->dmOrientation)
                   : PageSizeFromFormName(u"", DMORIENT_PORTRAIT);
    if (HasSlotItem(ctx, slot::BindPosition))
        in.binding = ctx->selections[slot::BindPosition];
    if (HasSlotItem(ctx, slot::Staple))
        in.staple = ctx->selections[slot::Staple];
    if (HasSlotItem(ctx, slot::Punch))
        in.punch = ctx->selections[slot::Punch];
    const SheetPicture pic = LayOutSheetPicture(in);

    WindowDc dc(control);
    if (!dc.get())
        return;
    GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(dc.get(), client.right, client.bottom));
    if (!bitmap)
        return;
    MemoryDc surface(dc.get(), bitmap.get());
    if (!surface.get())
        return;
    HDC s = surface.get();
    FillRect(s, &client, GetSysColorBrush(COLOR_BTNFACE));
    if (pic.valid) {
        const RECT sheet = {pic.page.left, pic.page.top, pic.page.right, pic.page.bottom};
        FillRect(s, &sheet, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        FillRectWith(s, pic.bindingEdge, kBindingColor);
        FrameRect(s, &sheet, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        for (uint32_t i = 0; i < pic.stapleCount; ++i)
            FillRectWith(s, pic.staples[i], kStapleColor);
        GdiObject<HBRUSH> holeBrush(CreateSolidBrush(kHoleColor));
        Selected brush(s, holeBrush.get());
        Selected pen(s, GetStockObject(NULL_PEN));
        for (const PictureRect& r : pic.holes)
            Ellipse(s, r.left, r.top, r.right + 1,
                    r.bottom + 1); // the null pen leaves one pixel out
    }
    BitBlt(dc.get(), 0, 0, client.right, client.bottom, s, 0, 0, SRCCOPY);
}

// Settles the selections against the printer as it is now, then shows
// them with what each list offers.
void RefreshPage(HWND page, UiContext* ctx) {
    const PrinterFacts facts(ctx);
    StoreSelections(ctx, SettleFinishing(facts.printer, CurrentSelections(ctx)));
    for (const CheckItem& c : kChecks)
        if (HasSlotItem(ctx, c.slotIndex)) {
            EnableWindow(GetDlgItem(page, c.box), OptionCount(ctx, c.slotIndex) > 1);
            SetBoxChecked(page, c.box, ctx->selections[c.slotIndex] == 1);
        }
    for (const ChoiceList* l : kLists) {
        if (!HasSlotItem(ctx, l->slotIndex))
            continue;
        SelectOptionEntry(page, l->list, ctx->selections[l->slotIndex]);
        const ListOffer offer = OfferOf(*l, facts.printer, ctx);
        EnableWindow(GetDlgItem(page, l->list), offer.usable);
        ShowReason(page, l->reason, offer.reason);
    }
    DrawSheetPicture(page, ctx);
    // Last, so that nothing above enables a control again.
    if (NoPermission(ctx)) {
        LimitControlRange(page, IDC_FIN_OUTPUT_GROUP, IDC_FIN_TRAPPING, FALSE);
        LimitControlRange(page, IDC_DEFAULTS, IDC_DEFAULTS, FALSE);
    }
}

BOOL OnInitDialog(HWND page, LPARAM lParam) {
    UiContext* ctx = AttachPageState(page, lParam);
    if (!ctx)
        return FALSE; // no working record: the page stays as its template
    for (const CheckItem& c : kChecks)
        if (!HasSlotItem(ctx, c.slotIndex))
            DestroyControlRange(page, c.box, c.box);
    for (const ChoiceList* l : kLists)
        if (!HasSlotItem(ctx, l->slotIndex) || !FillOptionList(page, l->list, ctx, l->slotIndex))
            DestroyControlRange(page, l->label, l->reason);
    // As the Job Options page does when it is made: whichever page the user
    // opens first, the paper and layout are remembered once.
    ReconcileFinishingSelections(ctx);
    const auto has = [ctx](int s) { return HasSlotItem(ctx, s); };
    if (!has(slot::Collate) && !has(slot::OutputBin))
        DestroyControlRange(page, IDC_FIN_OUTPUT_GROUP, IDC_FIN_OUTPUT_GROUP);
    if (!has(slot::BindPosition) && !has(slot::Staple) && !has(slot::Punch))
        DestroyControlRange(page, IDC_FIN_FINISHING_GROUP, IDC_FIN_PICTURE);
    if (!has(slot::ImageSmoothing) && !has(slot::Trapping))
        DestroyControlRange(page, IDC_FIN_IMAGE_GROUP, IDC_FIN_IMAGE_GROUP);
    RefreshPage(page, ctx);
    Process().sheetFlags |= kSheetPageInitialised;
    return FALSE;
}

// A chosen entry the rules keep becomes the selection and the page settles
// again; any other goes back to the selection, with its reason shown.
void OnListChoice(HWND page, UiContext* ctx, const ChoiceList& list) {
    const std::optional<uint32_t> chosen = ChosenOption(page, list.list, ctx, list.slotIndex);
    if (!chosen)
        return;
    const PrinterFacts facts(ctx);
    const FinishingRefusal why = RefusalOf(list, facts.printer, ctx, *chosen);
    if (why != FinishingRefusal::None) {
        SelectOptionEntry(page, list.list, ctx->selections[list.slotIndex]);
        ShowReason(page, list.reason, why);
        MessageBeep(MB_OK);
        return;
    }
    if (*chosen == ctx->selections[list.slotIndex])
        return;
    ctx->selections[list.slotIndex] = *chosen;
    RefreshPage(page, ctx);
    NotifyPageChanged(page);
}

void OnCheck(HWND page, UiContext* ctx, const CheckItem& c) {
    if (StoreOption(ctx, c.slotIndex, IsBoxChecked(page, c.box) ? 1 : 0))
        NotifyPageChanged(page);
    SetBoxChecked(page, c.box, ctx->selections[c.slotIndex] == 1);
}

void OnDefaults(HWND page, UiContext* ctx) {
    ResetFinishingDefaults(ctx);
    RefreshPage(page, ctx);
    NotifyPageChanged(page);
}

BOOL OnCommand(HWND page, WORD id, WORD code) {
    UiContext* ctx = DialogState<UiContext>(page);
    if (!ctx)
        return FALSE;
    for (const ChoiceList* l : kLists)
        if (id == l->list) {
            if (code == CBN_SELCHANGE)
                OnListChoice(page, ctx, *l);
            return TRUE;
        }
    if (code != BN_CLICKED)
        return FALSE;
    for (const CheckItem& c : kChecks)
        if (id == c.box) {
            OnCheck(page, ctx, c);
            return TRUE;
        }
    if (id == IDC_DEFAULTS) {
        OnDefaults(page, ctx);
        return TRUE;
    }
    return FALSE;
}

// The page never refuses to be left.
BOOL OnKillActive(HWND page, UiContext* ctx) {
    ApplyWorkingSelections(ctx);
    ForceTreeVisit(page);
    SetWindowLongPtrW(page, DWLP_MSGRESULT, FALSE);
    return TRUE;
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
        ReportPageResult(ctx, ctx->finishingPage);
        SetWindowLongPtrW(page, DWLP_MSGRESULT, PSNRET_NOERROR);
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL OnDrawItem(HWND page, const DRAWITEMSTRUCT* item) {
    const UiContext* ctx = DialogState<UiContext>(page);
    if (!ctx || !item || item->CtlID != IDC_FIN_PICTURE)
        return FALSE;
    DrawSheetPicture(page, ctx);
    return TRUE;
}

} // namespace

void ReconcileFinishingSelections(UiContext* ctx) {
    const PrinterFacts facts(ctx);
    const FinishingPrinter& p = facts.printer;
    StoreOption(ctx, slot::OutputBin,
                ReconcileOutputBin(p.finisher, ctx->selections[slot::OutputBin]));

    ByteView block = PrivateDevMode(ctx);
    const DEVMODEW* pub = PublicDevModeOf(ctx);
    if (!block.size() || !pub)
        return;
    FinishingInput in;
    in.punchUnit = p.punchUnit;
    in.paper = p.paper;
    in.duplex = p.duplex;
    in.orientationSel = p.orientationSel;
    in.pagesPerSheetSel = p.pagesPerSheetSel;
    in.portrait = p.portrait;
    in.paperNumber = pub->dmPaperSize;
    in.hasBinding = p.hasBinding;
    in.hasStaple = p.hasStaple;
    in.hasPunch = p.hasPunch;
    in.staple = ctx->selections[slot::Staple];
    in.punch = ctx->selections[slot::Punch];
    in.binding = ctx->selections[slot::BindPosition];
    in.rememberedPaper = block.u32(dm::kPaperSize);
    in.rememberedLayoutKey = block.u8(dm::kLayoutKey);

    const FinishingResult r = ReconcileFinishing(in);
    StoreOption(ctx, slot::Staple, r.staple);
    StoreOption(ctx, slot::Punch, r.punch);
    StoreOption(ctx, slot::BindPosition, r.binding);
    block.set_u32(dm::kPaperSize, r.rememberedPaper);
    block.set_u8(dm::kLayoutKey, r.rememberedLayoutKey);
}

// Each default only where the printer's item has that option: a selection
// past the item's options would go to the driver as it is.
void ResetFinishingDefaults(UiContext* ctx) {
    const std::pair<int, uint32_t> defaults[] = {
        {slot::Collate, 0},
        {slot::OutputBin, 0},
        {slot::Staple, 0},
        {slot::Punch, 0},
        {slot::BindPosition, kDefaultBinding},
        {slot::ImageSmoothing, kDefaultImageSmoothing},
        {slot::Trapping, 0},
    };
    for (const auto& [slotIndex, option] : defaults)
        StoreOption(ctx, slotIndex, option);
}

INT_PTR CALLBACK FinishingPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog(page, lParam);
    case WM_COMMAND:
        return OnCommand(page, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
        return OnNotify(page, reinterpret_cast<const NMHDR*>(lParam));
    case WM_DRAWITEM:
        return OnDrawItem(page, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_HELP:
    case WM_CONTEXTMENU:
        return HandleContextHelp(msg, wParam, lParam);
    default:
        return FALSE;
    }
}

} // namespace zd
