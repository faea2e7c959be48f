// The Job Options page in the emulated driver's document sheet: what it
// shows, what reaches the driver when it is left, the refusal of invalid
// fields, Defaults, OK against Cancel, the finishing kept or reset across
// openings, the no-permission flag and a printer without the page's items.
#include "plugin/oemui_plugin.h"
#include "core/process_state.h"
#include "core/ui_context.h"
#include "drvhost_api.h"
#include "jobopts/job_options_page.h"
#include "overlay/overlay_store.h"
#include "resources/resource.h"
#include "plugin_sheet_test.h"
#include "test_printer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using drvhost::HostSession;

constexpr int kJobOptionsPage = 3; // after the driver's three pages
constexpr int kColorPage = 5;      // after the Finishing page
constexpr int kApplyButton = 0x3021;
const wchar_t kPrinter[] = L"zd job options";

std::string Str(const std::wstring& w) {
    return std::string(w.begin(), w.end());
}

class JobOptionsPage : public zdtest::PluginSheetTest {
  protected:
    static void SetUpTestSuite() {
        zd::Process().moduleInstance = GetModuleHandleW(nullptr);
        std::wstring error;
        ASSERT_TRUE(zdtest::InstallPrinter(zdtest::DemoPrinterSpec(kPrinter), &error))
            << Str(error);
    }

    // Every test starts from the demo model's stores.
    void SetUp() override {
        ASSERT_TRUE(CopyFileW((zdtest::SamplesDir() + L"\\zdcp95.ini").c_str(),
                              (zdtest::DriverFilesDir() + L"\\zdcp95.ini").c_str(), FALSE));
    }

    // Opens the document sheet on the Job Options page.
    void Open(drvhost::HostOptions options = {}) {
        StartSession(std::move(options));
        std::wstring error;
        ASSERT_TRUE(session_->PrepareDocument(kPrinter, &error)) << Str(error);
        blockBeforeSheet_ = session_->PrivateBlock();
        ASSERT_TRUE(session_->OpenDocumentSheet(kPrinter, &error)) << Str(error);
        ASSERT_TRUE(session_->GoToPage(kJobOptionsPage));
        session_->host().ClearUpdateCalls();
    }

    // The Sel of the driver item behind a slot of the working record.
    LONG DriverSel(int slotIndex) {
        uint32_t index = Ctx().slots[slotIndex];
        return session_->host().documentTree().items.at(index).Sel;
    }
    bool ApplyEnabled() {
        return IsWindowEnabled(GetDlgItem(session_->sheetWindow(), kApplyButton)) != FALSE;
    }
    std::string ConfigFileBytes() {
        return drvhost::ReadWholeFile(zdtest::DriverFilesDir() + L"\\zdcp95.ini");
    }

    std::vector<uint8_t> blockBeforeSheet_;
};

TEST_F(JobOptionsPage, OpensWithTheDocumentsSettingsAndTheLink) {
    Open();
    HostSession& s = *session_;
    EXPECT_TRUE(s.Checked(IDC_JO_QUALITY_NORMAL));
    EXPECT_FALSE(s.Checked(IDC_JO_QUALITY_HIGH));
    EXPECT_TRUE(s.Enabled(IDC_JO_TONER_SAVE));
    EXPECT_FALSE(s.Checked(IDC_JO_TONER_SAVE));
    EXPECT_EQ(s.Text(IDC_JO_COPIES), L"1");
    EXPECT_EQ(s.Text(IDC_JO_SCALE), L"100");
    // The driver allows 9999 copies; the page and the driver now agree on 999.
    EXPECT_EQ(s.Text(IDC_JO_COPIES_RANGE), L"(1-999)");
    EXPECT_EQ(s.Text(IDC_JO_SCALE_RANGE), L"(1-1000%)");
    EXPECT_EQ(s.PublicItem(3)->pOptType->pOptParam[1].lParam, 999);
    EXPECT_TRUE(s.Visible(IDC_JO_LINK_TEXT));
    EXPECT_EQ(s.Text(IDC_JO_LINK_TEXT), L"www.zed.example");
    EXPECT_TRUE(s.Enabled(IDC_LINK_LOGO));
    EXPECT_NE(zd::Process().sheetFlags & zd::kSheetPageInitialised, 0u);
    // Opening is not a change.
    EXPECT_FALSE(ApplyEnabled());
}

TEST_F(JobOptionsPage, QualityAndTonerSaveReachTheDriverWhenThePageIsLeft) {
    Open();
    ASSERT_TRUE(session_->Click(IDC_JO_QUALITY_HIGH));
    ASSERT_TRUE(session_->Click(IDC_JO_TONER_SAVE));
    EXPECT_TRUE(ApplyEnabled());
    EXPECT_TRUE(session_->UpdateCalls().empty());
    ASSERT_TRUE(session_->GoToPage(kColorPage));
    EXPECT_EQ(DriverSel(zd::slot::Resolution), 0);
    EXPECT_EQ(session_->ItemSel("ZDOutputMode"), 1);
    // Back on the page the box shows the selection, and unchecks with it.
    ASSERT_TRUE(session_->GoToPage(kJobOptionsPage));
    EXPECT_TRUE(session_->Checked(IDC_JO_TONER_SAVE));
    Ctx().selections[zd::slot::OutputMode] = 0;
    ASSERT_TRUE(session_->GoToPage(kColorPage));
    ASSERT_TRUE(session_->GoToPage(kJobOptionsPage));
    EXPECT_FALSE(session_->Checked(IDC_JO_TONER_SAVE));
}

TEST_F(JobOptionsPage, NumberFieldsKeepDigitsAndTheScaleStopsAt1000) {
    Open();
    HostSession& s = *session_;
    ASSERT_TRUE(s.Type(IDC_JO_COPIES, L"1a"));
    EXPECT_EQ(s.Text(IDC_JO_COPIES), L"1");
    DWORD start = 0, end = 0;
    SendDlgItemMessageW(s.page(), IDC_JO_COPIES, EM_GETSEL, WPARAM(&start), LPARAM(&end));
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 1u);
    ASSERT_TRUE(s.Type(IDC_JO_SCALE, L"2000"));
    EXPECT_EQ(s.Text(IDC_JO_SCALE), L"1000");
    EXPECT_EQ(Ctx().selections[zd::slot::Scale], 1000u);
    // A text set past the length limit saturates instead of wrapping to 1.
    SetDlgItemTextW(s.page(), IDC_JO_SCALE, L"4294967297");
    EXPECT_EQ(s.Text(IDC_JO_SCALE), L"1000");
    ASSERT_TRUE(s.Type(IDC_JO_COPIES, L"25"));
    EXPECT_EQ(Ctx().selections[zd::slot::Copies], 25u);
    ASSERT_TRUE(s.GoToPage(kColorPage));
    EXPECT_EQ(s.PublicItemSel(3), 25);
    EXPECT_EQ(s.PublicItemSel(2), 1000);
}

TEST_F(JobOptionsPage, InvalidFieldKeepsThePageWithNoDriverCall) {
    Open();
    HostSession& s = *session_;
    ASSERT_TRUE(s.Type(IDC_JO_COPIES, L""));
    EXPECT_EQ(Ctx().selections[zd::slot::Copies], 1u); // the last valid value
    std::wstring message;
    drvhost::AnswerNextDialog([&](HWND box) {
        message = drvhost::MessageBoxText(box);
        SendMessageW(box, WM_COMMAND, IDOK, 0);
    });
    EXPECT_FALSE(s.GoToPage(kColorPage));
    EXPECT_EQ(drvhost::PendingDialogAnswers(), 0);
    EXPECT_EQ(message, L"您的一个或多个设置无效。");
    EXPECT_EQ(s.CurrentPage(), kJobOptionsPage);
    EXPECT_EQ(GetFocus(), GetDlgItem(s.page(), IDC_JO_COPIES));
    EXPECT_TRUE(s.UpdateCalls().empty());
    // Scale is checked first.
    SetDlgItemTextW(s.page(), IDC_JO_SCALE, L"0");
    drvhost::AnswerNextDialog([](HWND box) { SendMessageW(box, WM_COMMAND, IDOK, 0); });
    EXPECT_FALSE(s.GoToPage(kColorPage));
    EXPECT_EQ(GetFocus(), GetDlgItem(s.page(), IDC_JO_SCALE));
    EXPECT_TRUE(s.UpdateCalls().empty());
}

// While the page holds a value outside an item's bounds, the overlay
// dialog's OK hands the last valid one to the driver.
TEST_F(JobOptionsPage, OtherDialogsHandOnlyValidCopiesAndScale) {
    Open();
    HostSession& s = *session_;
    ASSERT_TRUE(s.Type(IDC_JO_COPIES, L"12"));
    ASSERT_TRUE(s.Type(IDC_JO_COPIES, L"0"));
    ASSERT_TRUE(s.Type(IDC_JO_SCALE, L""));
    drvhost::ActInNextDialog([](HWND dlg) { drvhost::ClickControl(dlg, IDOK); });
    ASSERT_TRUE(s.Click(IDC_JO_OVERLAY));
    EXPECT_EQ(s.PublicItemSel(3), 12);
    EXPECT_EQ(s.PublicItemSel(2), 100);
    int handed = 0;
    for (const drvhost::UpdateCall& c : s.UpdateCalls())
        if (c.item == int(Ctx().slots[zd::slot::Copies]) ||
            c.item == int(Ctx().slots[zd::slot::Scale])) {
            EXPECT_NE(c.newSel, 0) << c.keyword;
            ++handed;
        }
    EXPECT_EQ(handed, 2);
}

// Defaults set a selection only where the printer's item has that option.
TEST_F(JobOptionsPage, DefaultsKeepSelectionsTheItemHasNoOptionFor) {
    Open();
    OPTITEM* binding = session_->Item("ZDBindPosition");
    ASSERT_NE(binding, nullptr);
    binding->pOptType->Count = 2; // a printer with two binding positions
    Ctx().selections[zd::slot::BindPosition] = 1;
    ASSERT_TRUE(session_->Click(IDC_DEFAULTS));
    EXPECT_EQ(Ctx().selections[zd::slot::BindPosition], 1u);
    ASSERT_TRUE(session_->GoToPage(kColorPage));
    EXPECT_EQ(session_->ItemSel("ZDBindPosition"), 1);
}

TEST_F(JobOptionsPage, DefaultsResetTheWholeList) {
    Open();
    HostSession& s = *session_;
    zd::UiContext& ctx = Ctx();
    ASSERT_TRUE(s.Click(IDC_JO_QUALITY_HIGH));
    ASSERT_TRUE(s.Click(IDC_JO_TONER_SAVE));
    ASSERT_TRUE(s.Type(IDC_JO_COPIES, L"7"));
    ctx.selections[zd::slot::BindPosition] = 0;
    ctx.selections[zd::slot::ImageSmoothing] = 0;
    ctx.selections[zd::slot::Trapping] = 1;
    ASSERT_TRUE(s.Click(IDC_DEFAULTS));
    EXPECT_TRUE(s.Checked(IDC_JO_QUALITY_NORMAL));
    EXPECT_FALSE(s.Checked(IDC_JO_TONER_SAVE));
    EXPECT_EQ(s.Text(IDC_JO_COPIES), L"1");
    ASSERT_TRUE(s.GoToPage(kColorPage));
    EXPECT_EQ(DriverSel(zd::slot::Resolution), 1);
    EXPECT_EQ(s.ItemSel("ZDOutputMode"), 0);
    EXPECT_EQ(s.ItemSel("ZDBindPosition"), 2);
    EXPECT_EQ(s.ItemSel("ZDImageSmoothing"), 1);
    EXPECT_EQ(s.ItemSel("ZDTrapping"), 0);
}

// The watermark list and the overlay definitions were changed and
// confirmed in their dialogs, so OK would write both: Cancel writes neither.
TEST_F(JobOptionsPage, CancelLeavesDriverDevModeAndFilesAsTheyWere) {
    Open();
    ASSERT_TRUE(session_->Click(IDC_JO_QUALITY_HIGH));
    ASSERT_TRUE(session_->Type(IDC_JO_COPIES, L"3"));
    drvhost::ActInNextDialog([](HWND list) {
        drvhost::SelectListEntry(list, IDC_WM_LIST, 1);
        drvhost::ClickControl(list, IDC_WM_DELETE);
        drvhost::ClickControl(list, IDOK);
    });
    ASSERT_TRUE(session_->Click(IDC_JO_WATERMARK));
    drvhost::ActInNextDialog([](HWND dlg) {
        drvhost::SelectListViewItems(dlg, IDC_OV_DEFINED_LIST, {0});
        drvhost::ClickControl(dlg, IDC_OV_DELETE);
        drvhost::ClickControl(dlg, IDOK);
    });
    ASSERT_TRUE(session_->Click(IDC_JO_OVERLAY));
    EXPECT_EQ(drvhost::PendingDialogAnswers(), 0);
    session_->host().ClearUpdateCalls(); // the overlay dialog's OK hands its choice over
    // The dialog's OK wrote the working sections; only the sheet's OK commits.
    const std::string ini = ConfigFileBytes();
    ASSERT_FALSE(ini.empty());
    ASSERT_TRUE(session_->PressCancel());
    EXPECT_TRUE(session_->UpdateCalls().empty());
    // The page remembered the paper in the block; the driver drops it.
    EXPECT_EQ(session_->PrivateBlock(), blockBeforeSheet_);
    EXPECT_EQ(ConfigFileBytes(), ini);
    EXPECT_TRUE(session_->sheet()->setResults().empty());
}

TEST_F(JobOptionsPage, OkHandsTheSettingsOverAndReportsThePage) {
    Open();
    ASSERT_TRUE(session_->Type(IDC_JO_COPIES, L"3"));
    // A confirmed overlay dialog makes the OK commit the overlay store,
    // after which a second page handle, never filled, is not reported.
    drvhost::ActInNextDialog([](HWND dlg) { drvhost::ClickControl(dlg, IDOK); });
    ASSERT_TRUE(session_->Click(IDC_JO_OVERLAY));
    ASSERT_EQ(zd::OverlayStoreStateOf(Ctx()), uint32_t(zd::Working));
    ASSERT_TRUE(session_->PressOk());
    EXPECT_FALSE(session_->sheet()->isOpen());
    EXPECT_EQ(session_->PublicItemSel(3), 3);
    EXPECT_EQ(session_->PublicDevMode().dmCopies, 3);
    const auto& results = session_->sheet()->setResults();
    ASSERT_EQ(results.size(), 1u); // no report for the unfilled second handle
    EXPECT_EQ(results[0].page, kJobOptionsPage);
    EXPECT_EQ(results[0].result, CPSUI_OK);
}

// The link's font goes with Apply and comes back with the next paint, so
// the link never loses its look while the sheet stays open.
TEST_F(JobOptionsPage, LinkKeepsItsFontAfterApply) {
    Open();
    ASSERT_TRUE(session_->Click(IDC_JO_TONER_SAVE));
    ASSERT_TRUE(session_->PressApply());
    RedrawWindow(session_->page(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    HFONT font = zd::Process().linkFont;
    ASSERT_NE(font, nullptr);
    LOGFONTW lf = {};
    ASSERT_TRUE(GetObjectW(font, sizeof lf, &lf));
    EXPECT_TRUE(lf.lfUnderline);
    EXPECT_STREQ(lf.lfFaceName, L"Verdana");
}

// A page made without the sheet's record keeps its template and answers
// every message without touching anything.
TEST(JobOptionsPageAlone, WithoutAWorkingRecordThePageIsInert) {
    zd::Process().moduleInstance = GetModuleHandleW(nullptr);
    PROPSHEETPAGEW psp = {};
    psp.dwSize = sizeof psp;
    HWND sheet =
        CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 600, 600, nullptr, nullptr, nullptr, nullptr);
    HWND page = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_JOB_OPTIONS),
                                   sheet, zd::JobOptionsPageProc, reinterpret_cast<LPARAM>(&psp));
    ASSERT_NE(page, nullptr);
    for (UINT code :
         {UINT(PSN_SETACTIVE), UINT(PSN_KILLACTIVE), UINT(PSN_APPLY), UINT(PSN_RESET)}) {
        NMHDR header = {page, 0, code};
        SendMessageW(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
    }
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_DEFAULTS, BN_CLICKED), 0);
    SetDlgItemTextW(page, IDC_JO_COPIES, L"5x");
    EXPECT_EQ(drvhost::ControlText(page, IDC_JO_COPIES), L"5x");
    EXPECT_TRUE(DestroyWindow(sheet));
}

// The finishing selections survive an opening with the paper remembered in
// the document, and return to their defaults when the paper changed.
TEST_F(JobOptionsPage, FinishingKeptUnlessThePaperChanged) {
    drvhost::HostOptions options;
    options.document.selections["ZDStaple"] = "OneStaple";
    Open(options);
    ASSERT_TRUE(session_->PressOk());
    EXPECT_EQ(session_->ItemSel("ZDStaple"), 0); // first opening: nothing remembered
    std::vector<uint8_t> stored = session_->PrivateBlock();

    options.storedBlock = stored;
    Open(options);
    ASSERT_TRUE(session_->PressOk());
    EXPECT_EQ(session_->ItemSel("ZDStaple"), 1);
    stored = session_->PrivateBlock();

    options.storedBlock = stored;
    options.document.selections["PageSize"] = "Letter";
    options.document.selections["ZDBindPosition"] = "Left";
    Open(options);
    ASSERT_TRUE(session_->PressOk());
    EXPECT_EQ(session_->ItemSel("ZDStaple"), 0);
    EXPECT_EQ(session_->ItemSel("ZDBindPosition"), 2);
}

// A held job needs the printer's hard disk: without one the job type goes
// back to normal and copies can be set; with one a held job keeps copies
// fixed.
TEST_F(JobOptionsPage, JobTypeFollowsTheHardDisk) {
    drvhost::HostOptions options;
    options.document.selections["ZDJob_Type"] = "Secure";
    Open(options);
    EXPECT_TRUE(session_->Enabled(IDC_JO_COPIES));
    ASSERT_TRUE(session_->GoToPage(kColorPage));
    EXPECT_EQ(session_->ItemSel("ZDJob_Type"), 0);

    options.device.selections["ZDHDD"] = "True";
    Open(options);
    EXPECT_FALSE(session_->Enabled(IDC_JO_COPIES));
    EXPECT_FALSE(session_->Enabled(IDC_JO_COPIES_SPIN));
    ASSERT_TRUE(session_->GoToPage(kColorPage));
    EXPECT_EQ(session_->ItemSel("ZDJob_Type"), 2);
}

TEST_F(JobOptionsPage, WithoutPermissionOnlyTheLinkAndAboutStayUsable) {
    drvhost::HostOptions options;
    options.pageFlags = DM_NOPERMISSION;
    Open(options);
    for (int id : {IDC_JO_QUALITY_HIGH, IDC_JO_QUALITY_NORMAL, IDC_JO_TONER_SAVE, IDC_JO_COPIES,
                   IDC_JO_SCALE, IDC_JO_WATERMARK, IDC_JO_OVERLAY, IDC_JO_ADVANCED, IDC_DEFAULTS})
        EXPECT_FALSE(session_->Enabled(id)) << id;
    EXPECT_TRUE(session_->Enabled(IDC_LINK_LOGO));
    EXPECT_TRUE(session_->Enabled(IDC_JO_ABOUT));
}

TEST_F(JobOptionsPage, PrinterWithoutCopiesScaleAndLayoutItems) {
    drvhost::HostOptions options;
    options.document.omit =
        drvhost::kCopies | drvhost::kScale | drvhost::kOrientation | drvhost::kPagesPerSheet;
    Open(options);
    for (int id : {IDC_JO_COPIES, IDC_JO_COPIES_SPIN, IDC_JO_COPIES_RANGE, IDC_JO_SCALE_GROUP,
                   IDC_JO_SCALE, IDC_JO_SCALE_SPIN, IDC_JO_SCALE_RANGE})
        EXPECT_FALSE(session_->Exists(id)) << id;
    ASSERT_TRUE(session_->Click(IDC_JO_QUALITY_HIGH));
    EXPECT_TRUE(session_->GoToPage(kColorPage));
    EXPECT_EQ(DriverSel(zd::slot::Resolution), 0);
}

// The Advanced dialog marks the page changed only when confirmed; About
// never does.
TEST_F(JobOptionsPage, AdvancedAndAboutOpenFromThePage) {
    Open();
    std::wstring caption;
    auto closeWith = [&](WPARAM button) {
        drvhost::AnswerNextDialog([&caption, button](HWND dlg) {
            WCHAR text[64] = {};
            GetWindowTextW(dlg, text, 64);
            caption = text;
            SendMessageW(dlg, WM_COMMAND, button, 0);
        });
    };
    closeWith(IDOK);
    ASSERT_TRUE(session_->Click(IDC_JO_ABOUT));
    EXPECT_FALSE(caption.empty());
    EXPECT_FALSE(ApplyEnabled());
    closeWith(IDCANCEL);
    ASSERT_TRUE(session_->Click(IDC_JO_ADVANCED));
    EXPECT_EQ(caption, L"高级");
    EXPECT_FALSE(ApplyEnabled());
    // Only a dialog ending with 1 is a confirmation.
    for (INT_PTR result : {0, 2}) {
        drvhost::AnswerNextDialog([result](HWND dlg) { EndDialog(dlg, result); });
        ASSERT_TRUE(session_->Click(IDC_JO_ADVANCED));
        EXPECT_FALSE(ApplyEnabled()) << result;
    }
    closeWith(IDOK);
    ASSERT_TRUE(session_->Click(IDC_JO_ADVANCED));
    EXPECT_TRUE(ApplyEnabled());
    EXPECT_EQ(drvhost::PendingDialogAnswers(), 0);
}

} // namespace
