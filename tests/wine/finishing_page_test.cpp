// The Finishing page in the emulated driver's document sheet, over the demo
// printer with and without its finisher and punch unit: which controls it
// has and offers, refused choices and their reasons, the binding position
// ruling out the punch, the picture of the sheet, what reaches the driver
// on leaving and on OK, Defaults, Cancel and the no-permission flag.
#include "core/process_state.h"
#include "core/ui_context.h"
#include "drvhost_api.h"
#include "plugin/oemui_plugin.h"
#include "plugin_sheet_test.h"
#include "resources/resource.h"
#include "test_pixels.h"
#include "test_printer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using drvhost::HostSession;

constexpr int kJobOptionsPage = 3; // after the driver's three pages
constexpr int kFinishingPage = 4;
constexpr int kColorPage = 5;
const wchar_t kPrinter[] = L"zd finishing";
constexpr COLORREF kStaplePixel = 0x0000C0; // the staples' blue, as DIB pixels read it

// Option indexes of the demo model's items.
constexpr int kFaceUp = 1, kFinisherTray1 = 2;
constexpr int kBindLeft = 0, kBindTop = 2, kBindBottom = 3;

std::string Str(const std::wstring& w) {
    return std::string(w.begin(), w.end());
}

drvhost::HostOptions Installed(const char* finisher, const char* punchUnit) {
    drvhost::HostOptions options;
    options.device.selections["ZDFinisher"] = finisher;
    options.device.selections["ZDPunchUnit"] = punchUnit;
    return options;
}

class FinishingPage : public zdtest::PluginSheetTest {
  protected:
    static void SetUpTestSuite() {
        zd::Process().moduleInstance = GetModuleHandleW(nullptr);
        std::wstring error;
        ASSERT_TRUE(zdtest::InstallPrinter(zdtest::DemoPrinterSpec(kPrinter), &error))
            << Str(error);
    }

    // Opens the document sheet straight on the Finishing page; `before`
    // runs on the working record before the page is made.
    void Open(drvhost::HostOptions options, void (*before)(zd::UiContext&) = nullptr) {
        StartSession(std::move(options));
        std::wstring error;
        ASSERT_TRUE(session_->PrepareDocument(kPrinter, &error)) << Str(error);
        blockBeforeSheet_ = session_->PrivateBlock();
        ASSERT_TRUE(session_->OpenDocumentSheet(kPrinter, &error)) << Str(error);
        if (before)
            before(Ctx());
        ASSERT_TRUE(session_->GoToPage(kFinishingPage));
        session_->host().ClearUpdateCalls();
    }

    uint32_t Sel(int slotIndex) { return Ctx().selections[slotIndex]; }

    // Staple-blue pixels in each quarter of the picture: top left, top
    // right, bottom left, bottom right.
    std::vector<int> StapleQuarters() {
        HWND picture = GetDlgItem(session_->page(), IDC_FIN_PICTURE);
        RECT r = {};
        GetClientRect(picture, &r);
        const std::vector<COLORREF> px = zdtest::ScreenPixels(picture, 0, 0, r.right, r.bottom);
        std::vector<int> quarters(4, 0);
        for (LONG y = 0; y < r.bottom; ++y)
            for (LONG x = 0; x < r.right; ++x)
                if (px[size_t(y * r.right + x)] == kStaplePixel)
                    ++quarters[size_t((y >= r.bottom / 2) * 2 + (x >= r.right / 2))];
        return quarters;
    }

    std::vector<uint8_t> blockBeforeSheet_;
};

TEST_F(FinishingPage, WithFinisherAndPunchUnitEveryControlIsOffered) {
    Open(Installed("True", "Type2"));
    HostSession& s = *session_;
    for (int id : {IDC_FIN_COLLATE, IDC_FIN_BIN, IDC_FIN_BINDING, IDC_FIN_STAPLE, IDC_FIN_PUNCH,
                   IDC_FIN_SMOOTHING, IDC_FIN_TRAPPING, IDC_DEFAULTS})
        EXPECT_TRUE(s.Enabled(id)) << id;
    EXPECT_EQ(drvhost::ListEntries(s.page(), IDC_FIN_STAPLE),
              (std::vector<std::wstring>{L"Off", L"1 Staple", L"2 Staples"}));
    EXPECT_EQ(drvhost::ListEntries(s.page(), IDC_FIN_PUNCH).size(), 4u);
    EXPECT_EQ(s.Text(IDC_FIN_STAPLE_REASON), L"");
    // The first opening of the document: binding at the top, no staple.
    EXPECT_EQ(s.Text(IDC_FIN_BINDING), L"Top");
    EXPECT_EQ(s.Text(IDC_FIN_STAPLE), L"Off");
    // The tray the finisher covers is refused with its reason.
    ASSERT_TRUE(s.SelectCombo(IDC_FIN_BIN, kFaceUp));
    EXPECT_EQ(Sel(zd::slot::OutputBin), 0u);
    EXPECT_EQ(s.Text(IDC_FIN_BIN), L"Face Down Tray");
    EXPECT_EQ(s.Text(IDC_FIN_BIN_REASON), L"装订器已安装时不可用");
    ASSERT_TRUE(s.SelectCombo(IDC_FIN_BIN, kFinisherTray1));
    EXPECT_EQ(Sel(zd::slot::OutputBin), 2u);
}

TEST_F(FinishingPage, WithoutTheHardwareStaplesHolesAndFinisherTraysAreRefused) {
    Open(Installed("False", "None"));
    HostSession& s = *session_;
    EXPECT_FALSE(s.Enabled(IDC_FIN_STAPLE));
    EXPECT_EQ(s.Text(IDC_FIN_STAPLE_REASON), L"需要装订器");
    EXPECT_FALSE(s.Enabled(IDC_FIN_PUNCH));
    EXPECT_EQ(s.Text(IDC_FIN_PUNCH_REASON), L"需要打孔单元");
    for (int id : {IDC_FIN_COLLATE, IDC_FIN_BIN, IDC_FIN_BINDING, IDC_FIN_SMOOTHING})
        EXPECT_TRUE(s.Enabled(id)) << id;
    ASSERT_TRUE(s.SelectCombo(IDC_FIN_BIN, kFinisherTray1));
    EXPECT_EQ(Sel(zd::slot::OutputBin), 0u);
    EXPECT_EQ(s.Text(IDC_FIN_BIN_REASON), L"需要装订器");
    ASSERT_TRUE(s.SelectCombo(IDC_FIN_BIN, kFaceUp));
    EXPECT_EQ(Sel(zd::slot::OutputBin), 1u);
}

// A5 has size class 0: no staple, no holes, the binding fixed at the top.
TEST_F(FinishingPage, APaperOfSizeClassZeroRefusesFinishing) {
    drvhost::HostOptions options = Installed("True", "Type2");
    options.document.selections["PageSize"] = "A5";
    Open(options);
    HostSession& s = *session_;
    EXPECT_FALSE(s.Enabled(IDC_FIN_STAPLE));
    EXPECT_FALSE(s.Enabled(IDC_FIN_PUNCH));
    EXPECT_FALSE(s.Enabled(IDC_FIN_BINDING));
    EXPECT_EQ(s.Text(IDC_FIN_STAPLE_REASON), L"不适用于此纸张尺寸");
    EXPECT_EQ(s.Text(IDC_FIN_BINDING_REASON), L"不适用于此纸张尺寸");
    // A list the user reaches anyway (a disabled list takes no choice, so
    // the choice comes as the list would send it) keeps its selection.
    SendDlgItemMessageW(s.page(), IDC_FIN_STAPLE, CB_SETCURSEL, 1, 0);
    SendMessageW(s.page(), WM_COMMAND, MAKEWPARAM(IDC_FIN_STAPLE, CBN_SELCHANGE), 0);
    EXPECT_EQ(Sel(zd::slot::Staple), 0u);
    EXPECT_EQ(s.Text(IDC_FIN_STAPLE), L"Off");
}

// A type 3 unit punches portrait A4 only along the top edge: a binding on
// the left takes the holes away at once.
TEST_F(FinishingPage, TheBindingPositionReEvaluatesThePunch) {
    Open(Installed("True", "Type3"));
    HostSession& s = *session_;
    ASSERT_TRUE(s.SelectCombo(IDC_FIN_PUNCH, 1));
    EXPECT_EQ(Sel(zd::slot::Punch), 1u);
    ASSERT_TRUE(s.SelectCombo(IDC_FIN_BINDING, kBindLeft));
    EXPECT_EQ(Sel(zd::slot::BindPosition), 0u);
    EXPECT_EQ(Sel(zd::slot::Punch), 0u);
    EXPECT_EQ(s.Text(IDC_FIN_PUNCH), L"Off");
    EXPECT_FALSE(s.Enabled(IDC_FIN_PUNCH));
    EXPECT_EQ(s.Text(IDC_FIN_PUNCH_REASON), L"不适用于此装订位置");
    ASSERT_TRUE(s.SelectCombo(IDC_FIN_BINDING, kBindTop));
    EXPECT_TRUE(s.Enabled(IDC_FIN_PUNCH));
    EXPECT_EQ(s.Text(IDC_FIN_PUNCH_REASON), L"");
}

TEST_F(FinishingPage, ThePictureShowsTheStapleAtTheChosenCorner) {
    Open(Installed("True", "Type2"));
    HostSession& s = *session_;
    EXPECT_EQ(StapleQuarters(), (std::vector<int>{0, 0, 0, 0}));
    ASSERT_TRUE(s.SelectCombo(IDC_FIN_STAPLE, 1));
    std::vector<int> q = StapleQuarters();
    EXPECT_GT(q[0], 4);
    EXPECT_EQ(q[1] + q[2] + q[3], 0);
    ASSERT_TRUE(s.SelectCombo(IDC_FIN_BINDING, kBindBottom));
    q = StapleQuarters();
    EXPECT_GT(q[2], 4);
    EXPECT_EQ(q[0] + q[1] + q[3], 0);
    ASSERT_TRUE(s.SelectCombo(IDC_FIN_STAPLE, 0));
    EXPECT_EQ(StapleQuarters(), (std::vector<int>{0, 0, 0, 0}));
}

TEST_F(FinishingPage, ChoicesReachTheDriverOnLeavingAndStayAfterOk) {
    Open(Installed("True", "Type2"));
    HostSession& s = *session_;
    // The demo model collates by default.
    EXPECT_TRUE(s.Checked(IDC_FIN_COLLATE));
    ASSERT_TRUE(s.SelectCombo(IDC_FIN_STAPLE, 2));
    ASSERT_TRUE(s.SelectCombo(IDC_FIN_PUNCH, 1));
    ASSERT_TRUE(s.Click(IDC_FIN_COLLATE));
    ASSERT_TRUE(s.Click(IDC_FIN_TRAPPING));
    EXPECT_TRUE(s.UpdateCalls().empty());
    ASSERT_TRUE(s.GoToPage(kColorPage));
    EXPECT_EQ(s.ItemSel("ZDStaple"), 2);
    EXPECT_EQ(s.ItemSel("ZDPunch"), 1);
    EXPECT_EQ(s.ItemSel("ZDCollate"), 0);
    EXPECT_EQ(s.ItemSel("ZDTrapping"), 1);
    // The Job Options page, made after this page, keeps them: the paper was
    // remembered when the Finishing page was made.
    ASSERT_TRUE(s.GoToPage(kJobOptionsPage));
    EXPECT_EQ(Sel(zd::slot::Staple), 2u);
    EXPECT_EQ(Sel(zd::slot::Punch), 1u);
    ASSERT_TRUE(s.GoToPage(kFinishingPage));
    ASSERT_TRUE(s.PressOk());
    EXPECT_EQ(s.ItemSel("ZDStaple"), 2);
    EXPECT_EQ(s.ItemSel("ZDPunch"), 1);
    bool reported = false;
    for (const auto& r : s.sheet()->setResults())
        reported |= r.page == kFinishingPage && r.result == CPSUI_OK;
    EXPECT_TRUE(reported);

    // The stored document opens again with its staples and holes: the
    // paper it remembered is still the paper.
    drvhost::HostOptions again = Installed("True", "Type2");
    again.storedBlock = s.PrivateBlock();
    again.document.selections["ZDStaple"] = "TwoStaples";
    again.document.selections["ZDPunch"] = "TwoHoles";
    Open(again);
    EXPECT_EQ(session_->Text(IDC_FIN_STAPLE), L"2 Staples");
    EXPECT_EQ(session_->Text(IDC_FIN_PUNCH), L"2 Holes");
}

TEST_F(FinishingPage, DefaultsResetWhatTheJobOptionsDefaultsReset) {
    Open(Installed("True", "Type2"));
    HostSession& s = *session_;
    ASSERT_TRUE(s.SelectCombo(IDC_FIN_BIN, kFinisherTray1));
    ASSERT_TRUE(s.SelectCombo(IDC_FIN_BINDING, kBindLeft));
    ASSERT_TRUE(s.SelectCombo(IDC_FIN_STAPLE, 1));
    ASSERT_TRUE(s.Click(IDC_FIN_TRAPPING));
    // The demo model's own defaults: collate on, smoothing off.
    ASSERT_EQ(Sel(zd::slot::Collate), 1u);
    ASSERT_EQ(Sel(zd::slot::ImageSmoothing), 0u);
    Ctx().selections[zd::slot::Resolution] = 0; // not this page's to reset
    ASSERT_TRUE(s.Click(IDC_DEFAULTS));
    EXPECT_EQ(Sel(zd::slot::Collate), 0u);
    EXPECT_EQ(Sel(zd::slot::OutputBin), 0u);
    EXPECT_EQ(Sel(zd::slot::Staple), 0u);
    EXPECT_EQ(Sel(zd::slot::Punch), 0u);
    EXPECT_EQ(Sel(zd::slot::BindPosition), 2u);
    EXPECT_EQ(Sel(zd::slot::ImageSmoothing), 1u);
    EXPECT_EQ(Sel(zd::slot::Trapping), 0u);
    EXPECT_EQ(Sel(zd::slot::Resolution), 0u);
    EXPECT_TRUE(s.Checked(IDC_FIN_SMOOTHING));
    EXPECT_FALSE(s.Checked(IDC_FIN_COLLATE));
    EXPECT_EQ(s.Text(IDC_FIN_BINDING), L"Top");
}

TEST_F(FinishingPage, CancelLeavesTheItemsAndTheDocumentAsTheyWere) {
    Open(Installed("True", "Type2"));
    const LONG staple = session_->ItemSel("ZDStaple");
    ASSERT_TRUE(session_->SelectCombo(IDC_FIN_STAPLE, 1));
    ASSERT_TRUE(session_->SelectCombo(IDC_FIN_BIN, kFinisherTray1));
    ASSERT_TRUE(session_->PressCancel());
    EXPECT_TRUE(session_->UpdateCalls().empty());
    EXPECT_EQ(session_->ItemSel("ZDStaple"), staple);
    EXPECT_EQ(session_->PrivateBlock(), blockBeforeSheet_);
    EXPECT_TRUE(session_->sheet()->setResults().empty());
}

TEST_F(FinishingPage, WithoutPermissionNothingCanBeChanged) {
    drvhost::HostOptions options = Installed("True", "Type2");
    options.pageFlags = DM_NOPERMISSION;
    Open(options);
    for (int id : {IDC_FIN_COLLATE, IDC_FIN_BIN, IDC_FIN_BINDING, IDC_FIN_STAPLE, IDC_FIN_PUNCH,
                   IDC_FIN_SMOOTHING, IDC_FIN_TRAPPING, IDC_DEFAULTS})
        EXPECT_FALSE(session_->Enabled(id)) << id;
}

// A printer without an item has no control for it; the Job Options page
// offers no overlays to a printer without the overlay item.
TEST_F(FinishingPage, ItemsThePrinterLacksHaveNoControls) {
    Open(Installed("True", "Type2"), [](zd::UiContext& ctx) {
        ctx.slots[zd::slot::Staple] = zd::kNoSlot;
        ctx.slots[zd::slot::Trapping] = zd::kNoSlot;
        ctx.slots[zd::slot::Overlay] = zd::kNoSlot;
    });
    HostSession& s = *session_;
    for (int id : {IDC_FIN_STAPLE_LABEL, IDC_FIN_STAPLE, IDC_FIN_STAPLE_REASON, IDC_FIN_TRAPPING})
        EXPECT_FALSE(s.Exists(id)) << id;
    for (int id : {IDC_FIN_PUNCH, IDC_FIN_PICTURE, IDC_FIN_SMOOTHING, IDC_FIN_IMAGE_GROUP})
        EXPECT_TRUE(s.Exists(id)) << id;
    ASSERT_TRUE(s.GoToPage(kJobOptionsPage));
    EXPECT_FALSE(s.Enabled(IDC_JO_OVERLAY));
    EXPECT_TRUE(s.Enabled(IDC_JO_WATERMARK));
}

} // namespace
