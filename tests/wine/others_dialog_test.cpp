// The Others dialog run modally over the working record of a document tree
// built by the emulated driver for installed test printers.
#include "color/others_dialog.h"
#include "plugin/oemui_plugin.h"
#include "core/option_tree.h"
#include "core/process_state.h"
#include "core/ui_context.h"
#include "drvhost_api.h"
#include "ui/dialog_helpers.h"
#include "resources/resource.h"
#include "test_printer.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using drvhost::HostSession;
using Selections = std::array<uint32_t, zd::kSlotCount>;

const wchar_t kDemo[] = L"zd others demo";
const wchar_t kPartial[] = L"zd others partial"; // no overprint, no separations
const wchar_t kThreeSep[] = L"zd others sep3";   // no halftone, no greyscale graphics
const wchar_t kBare[] = L"zd others bare";       // none of the four

const char kPpdHead[] = "*PPD-Adobe: \"4.3\"\r\n*FileVersion: \"1.0\"\r\n*ColorDevice: True\r\n"
                        "*OpenUI *PageSize/Paper Size: PickOne\r\n*DefaultPageSize: A4\r\n"
                        "*PageSize A4/A4: \"\"\r\n*CloseUI: *PageSize\r\n";
const char kControl[] = "*OpenUI *ZDControl/Color Control: PickOne\r\n*DefaultZDControl: Auto\r\n"
                        "*ZDControl Auto/Automatic: \"\"\r\n*ZDControl Office/Office: \"\"\r\n"
                        "*ZDControl Photo/Photo: \"\"\r\n*ZDControl NoMatching/None: \"\"\r\n"
                        "*ZDControl Gray/Grayscale: \"\"\r\n*CloseUI: *ZDControl\r\n";
const char kHalftone[] =
    "*OpenUI *ZDAlwaysPrnHT/Always Print Halftone: PickOne\r\n*DefaultZDAlwaysPrnHT: False\r\n"
    "*ZDAlwaysPrnHT True/On: \"\"\r\n*ZDAlwaysPrnHT False/Off: \"\"\r\n*CloseUI: "
    "*ZDAlwaysPrnHT\r\n";
const char kScreen[] =
    "*OpenUI *ZDScreenObo/Optimized Gray Graphics: PickOne\r\n*DefaultZDScreenObo: False\r\n"
    "*ZDScreenObo True/On: \"\"\r\n*ZDScreenObo False/Off: \"\"\r\n*CloseUI: *ZDScreenObo\r\n";
const char kOverPrint[] =
    "*OpenUI *ZDOverPrint/Overprint: PickOne\r\n*DefaultZDOverPrint: False\r\n"
    "*ZDOverPrint False/Off: \"\"\r\n*ZDOverPrint True/On: \"\"\r\n*CloseUI: *ZDOverPrint\r\n";
const char kSeparation3[] =
    "*OpenUI *ZDSeparationorder/Separation Order: PickOne\r\n"
    "*DefaultZDSeparationorder: KCMY\r\n*ZDSeparationorder CMYK/Process Order: \"\"\r\n"
    "*ZDSeparationorder KCMY/Black First: \"\"\r\n*ZDSeparationorder YMCK/Yellow First: \"\"\r\n"
    "*CloseUI: *ZDSeparationorder\r\n";

std::wstring g_dir;

std::wstring Widen(const std::string& s) {
    return std::wstring(s.begin(), s.end());
}

void Install(const std::wstring& printer, const std::wstring& driver, const std::wstring& base,
             const std::string& ppd) {
    zdtest::PrinterSpec spec;
    spec.printerName = printer;
    spec.driverName = driver;
    spec.dataFile = g_dir + L"\\" + base + L".ppd";
    ASSERT_TRUE(zdtest::WriteTextFile(spec.dataFile, Widen(ppd), false));
    std::wstring cap = g_dir + L"\\" + base + L".cap";
    ASSERT_TRUE(zdtest::WriteTextFile(cap, L"[Capability]\r\n"));
    spec.dependentFiles = {zdtest::SamplesDir() + L"\\zdcp95.ini", cap};
    std::wstring error;
    ASSERT_TRUE(zdtest::InstallPrinter(spec, &error)) << std::string(error.begin(), error.end());
}

struct Shown {
    bool shown = false, enabled = false, checked = false;
};

Shown StateOf(HWND dlg, int id) {
    return {drvhost::IsShown(dlg, id), drvhost::IsEnabled(dlg, id), drvhost::IsChecked(dlg, id)};
}

std::vector<std::wstring> ListEntries(HWND dlg) {
    HWND list = GetDlgItem(dlg, IDC_OTH_SEPARATION);
    std::vector<std::wstring> entries;
    LRESULT n = SendMessageW(list, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
        LRESULT len = SendMessageW(list, CB_GETLBTEXTLEN, WPARAM(i), 0);
        std::wstring text(size_t(len < 0 ? 0 : len) + 1, L'\0');
        SendMessageW(list, CB_GETLBTEXT, WPARAM(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(wcslen(text.c_str()));
        entries.push_back(text);
    }
    return entries;
}

LRESULT ListChoice(HWND dlg) {
    return SendDlgItemMessageW(dlg, IDC_OTH_SEPARATION, CB_GETCURSEL, 0, 0);
}

// The option names of a driver item, in option order.
std::vector<std::wstring> OptionNames(const OPTITEM* item) {
    std::vector<std::wstring> names;
    if (item && item->pOptType)
        for (WORD i = 0; i < item->pOptType->Count; ++i)
            names.push_back(item->pOptType->pOptParam[i].pData);
    return names;
}

std::wstring ChosenName(const OPTITEM* item) {
    if (!item || !item->pOptType || item->Sel < 0 || item->Sel >= item->pOptType->Count)
        return L"(none)";
    return item->pOptType->pOptParam[item->Sel].pData;
}

class OthersDialog : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        zd::Process().moduleInstance = GetModuleHandleW(nullptr);
        g_dir = zdtest::MakeTempDir(L"others");
        ASSERT_FALSE(g_dir.empty());
        std::wstring error;
        ASSERT_TRUE(zdtest::InstallPrinter(zdtest::DemoPrinterSpec(kDemo), &error))
            << std::string(error.begin(), error.end());
        Install(kPartial, L"ZD Others Partial", L"zdoth_part",
                std::string(kPpdHead) + kControl + kHalftone + kScreen);
        Install(kThreeSep, L"ZD Others Sep3", L"zdoth_sep3",
                std::string(kPpdHead) + kControl + kOverPrint + kSeparation3);
        Install(kBare, L"ZD Others Bare", L"zdoth_bare", std::string(kPpdHead) + kControl);
    }

    zd::UiContext* Document(const wchar_t* printer, drvhost::HostOptions options = {}) {
        session_ = std::make_unique<HostSession>(std::move(options));
        std::wstring error;
        EXPECT_TRUE(session_->PrepareDocument(printer, &error))
            << std::string(error.begin(), error.end());
        auto* plugin =
            static_cast<zd::OemUiPlugin*>(session_->host().documentTree().param.pOEMUserData);
        return plugin ? plugin->documentContext() : nullptr;
    }

    // Opens the dialog, lets `act` look and click (the dialog is shown
    // first, as the modal loop would), then closes it with `close`.
    INT_PTR Run(zd::UiContext* ctx, std::function<void(HWND)> act, WPARAM close) {
        bool answered = false;
        drvhost::AnswerNextDialog([&](HWND dlg) {
            answered = true;
            ShowWindow(dlg, SW_SHOWNORMAL);
            if (act)
                act(dlg);
            SendMessageW(dlg, WM_COMMAND, close, 0);
        });
        INT_PTR result = zd::RunOthersDialog(nullptr, ctx);
        EXPECT_TRUE(answered);
        EXPECT_EQ(drvhost::PendingDialogAnswers(), 0);
        return result;
    }

    static Selections Copy(const zd::UiContext* ctx) {
        Selections s;
        std::copy(std::begin(ctx->selections), std::end(ctx->selections), s.begin());
        return s;
    }

    std::unique_ptr<HostSession> session_;
};

TEST_F(OthersDialog, DemoPrinterShowsAllFourFeaturesWithTheDriversOptionNames) {
    zd::UiContext* ctx = Document(kDemo);
    ASSERT_NE(ctx, nullptr);
    for (int s : {zd::slot::OverPrint, zd::slot::ScreenObo, zd::slot::AlwaysPrintHalftone,
                  zd::slot::SeparationOrder})
        ASSERT_NE(ctx->slots[s], zd::kNoSlot) << "slot " << s;
    std::vector<std::wstring> entries;
    Shown overprint, screen, halftone, label, list;
    Run(
        ctx,
        [&](HWND dlg) {
            overprint = StateOf(dlg, IDC_OTH_OVERPRINT);
            screen = StateOf(dlg, IDC_OTH_GRAY_GRAPHICS);
            halftone = StateOf(dlg, IDC_OTH_PRINTER_HALFTONE);
            label = StateOf(dlg, IDC_OTH_SEPARATION_LABEL);
            list = StateOf(dlg, IDC_OTH_SEPARATION);
            entries = ListEntries(dlg);
        },
        IDCANCEL);
    for (const Shown& s : {overprint, screen, halftone, label, list}) {
        EXPECT_TRUE(s.shown);
        EXPECT_TRUE(s.enabled);
    }
    EXPECT_EQ(entries, OptionNames(session_->Item("ZDSeparationorder")));
    EXPECT_EQ(entries.size(), 2u);
}

TEST_F(OthersDialog, ControlsFollowTheWorkingSelectionsBothWays) {
    zd::UiContext* ctx = Document(kDemo);
    ASSERT_NE(ctx, nullptr);
    struct Case {
        uint32_t overprint, screen, halftone, separation;
        bool overprintTicked, screenTicked, halftoneTicked;
    };
    // Overprint is ticked at 1; the other two boxes at 0.
    for (const Case& c : {Case{1, 0, 0, 1, true, true, true}, Case{0, 1, 1, 0, false, false, false},
                          Case{1, 1, 0, 0, true, false, true}}) {
        ctx->selections[zd::slot::OverPrint] = c.overprint;
        ctx->selections[zd::slot::ScreenObo] = c.screen;
        ctx->selections[zd::slot::AlwaysPrintHalftone] = c.halftone;
        ctx->selections[zd::slot::SeparationOrder] = c.separation;
        Shown overprint, screen, halftone;
        LRESULT choice = -2;
        Run(
            ctx,
            [&](HWND dlg) {
                overprint = StateOf(dlg, IDC_OTH_OVERPRINT);
                screen = StateOf(dlg, IDC_OTH_GRAY_GRAPHICS);
                halftone = StateOf(dlg, IDC_OTH_PRINTER_HALFTONE);
                choice = ListChoice(dlg);
            },
            IDCANCEL);
        EXPECT_EQ(overprint.checked, c.overprintTicked) << c.overprint;
        EXPECT_EQ(screen.checked, c.screenTicked) << c.screen;
        EXPECT_EQ(halftone.checked, c.halftoneTicked) << c.halftone;
        EXPECT_EQ(choice, LRESULT(c.separation));
    }
}

TEST_F(OthersDialog, ConfirmStoresTheControlsAndTheDriverGetsThemOnlyWhenApplied) {
    zd::UiContext* ctx = Document(kDemo);
    ASSERT_NE(ctx, nullptr);
    ctx->selections[zd::slot::OverPrint] = 0;
    ctx->selections[zd::slot::ScreenObo] = 1;
    ctx->selections[zd::slot::AlwaysPrintHalftone] = 1;
    ctx->selections[zd::slot::SeparationOrder] = 0;
    Selections before = Copy(ctx);
    size_t callsBefore = session_->UpdateCalls().size();
    LONG overprintSelBefore = session_->ItemSel("ZDOverPrint");
    bool clicked = false;
    INT_PTR result = Run(
        ctx,
        [&](HWND dlg) {
            clicked = drvhost::ClickControl(dlg, IDC_OTH_OVERPRINT) &&
                      drvhost::ClickControl(dlg, IDC_OTH_GRAY_GRAPHICS) &&
                      drvhost::ClickControl(dlg, IDC_OTH_PRINTER_HALFTONE) &&
                      drvhost::SelectComboEntry(dlg, IDC_OTH_SEPARATION, 1);
        },
        IDOK);
    EXPECT_TRUE(clicked);
    EXPECT_EQ(result, 1);
    Selections expected = before;
    expected[zd::slot::OverPrint] = 1;
    expected[zd::slot::ScreenObo] = 0;
    expected[zd::slot::AlwaysPrintHalftone] = 0;
    expected[zd::slot::SeparationOrder] = 1;
    EXPECT_EQ(Copy(ctx), expected);
    // The dialog itself tells the driver nothing.
    EXPECT_EQ(session_->UpdateCalls().size(), callsBefore);
    EXPECT_EQ(session_->ItemSel("ZDOverPrint"), overprintSelBefore);

    // Handed on as the colour page does: ticked boxes are the "On" options.
    zd::ApplyWorkingSelections(ctx);
    EXPECT_EQ(ChosenName(session_->Item("ZDOverPrint")), L"On");
    EXPECT_EQ(ChosenName(session_->Item("ZDScreenObo")), L"On");
    EXPECT_EQ(ChosenName(session_->Item("ZDAlwaysPrnHT")), L"On");
    EXPECT_EQ(ChosenName(session_->Item("ZDSeparationorder")), L"KCMY");
}

TEST_F(OthersDialog, CancelAndTheCloseBoxChangeNothing) {
    zd::UiContext* ctx = Document(kDemo);
    ASSERT_NE(ctx, nullptr);
    Selections before = Copy(ctx);
    bool clicked = false;
    INT_PTR result = Run(
        ctx,
        [&](HWND dlg) {
            clicked = drvhost::ClickControl(dlg, IDC_OTH_OVERPRINT) &&
                      drvhost::ClickControl(dlg, IDC_OTH_GRAY_GRAPHICS) &&
                      drvhost::ClickControl(dlg, IDC_OTH_PRINTER_HALFTONE) &&
                      drvhost::SelectComboEntry(dlg, IDC_OTH_SEPARATION, 1);
        },
        IDCANCEL);
    EXPECT_TRUE(clicked);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Copy(ctx), before);

    drvhost::AnswerNextDialog([](HWND dlg) {
        drvhost::ClickControl(dlg, IDC_OTH_OVERPRINT);
        SendMessageW(dlg, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(zd::RunOthersDialog(nullptr, ctx), 0);
    EXPECT_EQ(Copy(ctx), before);
}

TEST_F(OthersDialog, DefaultsShowInTheControlsAndAreStoredOnlyOnConfirm) {
    zd::UiContext* ctx = Document(kDemo);
    ASSERT_NE(ctx, nullptr);
    // Every stored value the opposite of its default.
    ctx->selections[zd::slot::OverPrint] = 1;
    ctx->selections[zd::slot::ScreenObo] = 1;
    ctx->selections[zd::slot::AlwaysPrintHalftone] = 1;
    ctx->selections[zd::slot::SeparationOrder] = 1;
    Selections before = Copy(ctx);
    for (WPARAM close : {WPARAM(IDCANCEL), WPARAM(IDOK)}) {
        Shown overprint, screen, halftone;
        LRESULT choice = -2;
        INT_PTR result = Run(
            ctx,
            [&](HWND dlg) {
                drvhost::ClickControl(dlg, IDC_DEFAULTS);
                overprint = StateOf(dlg, IDC_OTH_OVERPRINT);
                screen = StateOf(dlg, IDC_OTH_GRAY_GRAPHICS);
                halftone = StateOf(dlg, IDC_OTH_PRINTER_HALFTONE);
                choice = ListChoice(dlg);
            },
            close);
        EXPECT_FALSE(overprint.checked);
        EXPECT_TRUE(screen.checked);
        EXPECT_TRUE(halftone.checked);
        EXPECT_EQ(choice, 0);
        if (close == IDCANCEL) {
            EXPECT_EQ(result, 0);
            EXPECT_EQ(Copy(ctx), before);
        } else {
            EXPECT_EQ(result, 1);
            Selections expected = before;
            expected[zd::slot::OverPrint] = 0;
            expected[zd::slot::ScreenObo] = 0;
            expected[zd::slot::AlwaysPrintHalftone] = 0;
            expected[zd::slot::SeparationOrder] = 0;
            EXPECT_EQ(Copy(ctx), expected);
        }
    }
}

TEST_F(OthersDialog, SeparationsAreDisabledOnlyInGrayscale) {
    zd::UiContext* ctx = Document(kDemo);
    ASSERT_NE(ctx, nullptr);
    for (uint32_t mode = 0; mode <= 4; ++mode) {
        ctx->selections[zd::slot::ColorControl] = mode;
        Shown label, list, overprint;
        Run(
            ctx,
            [&](HWND dlg) {
                label = StateOf(dlg, IDC_OTH_SEPARATION_LABEL);
                list = StateOf(dlg, IDC_OTH_SEPARATION);
                overprint = StateOf(dlg, IDC_OTH_OVERPRINT);
            },
            IDCANCEL);
        bool gray = mode == 4;
        EXPECT_TRUE(label.shown);
        EXPECT_TRUE(list.shown);
        EXPECT_EQ(label.enabled, !gray) << "mode " << mode;
        EXPECT_EQ(list.enabled, !gray) << "mode " << mode;
        EXPECT_TRUE(overprint.enabled) << "mode " << mode;
    }
}

TEST_F(OthersDialog, PrinterWithoutOverprintAndSeparationsHidesThemAndLeavesThemAlone) {
    zd::UiContext* ctx = Document(kPartial);
    ASSERT_NE(ctx, nullptr);
    ASSERT_EQ(ctx->slots[zd::slot::OverPrint], zd::kNoSlot);
    ASSERT_EQ(ctx->slots[zd::slot::SeparationOrder], zd::kNoSlot);
    ASSERT_NE(ctx->slots[zd::slot::ScreenObo], zd::kNoSlot);
    ASSERT_NE(ctx->slots[zd::slot::AlwaysPrintHalftone], zd::kNoSlot);
    // Values that no control holds, to see that nothing writes them.
    ctx->selections[zd::slot::OverPrint] = 7;
    ctx->selections[zd::slot::SeparationOrder] = 9;
    ctx->selections[zd::slot::ScreenObo] = 1;
    ctx->selections[zd::slot::AlwaysPrintHalftone] = 1;
    Selections before = Copy(ctx);
    Shown overprint, label, list, screen, halftone;
    size_t entries = 99;
    bool clickedHidden = true;
    INT_PTR result = Run(
        ctx,
        [&](HWND dlg) {
            overprint = StateOf(dlg, IDC_OTH_OVERPRINT);
            label = StateOf(dlg, IDC_OTH_SEPARATION_LABEL);
            list = StateOf(dlg, IDC_OTH_SEPARATION);
            screen = StateOf(dlg, IDC_OTH_GRAY_GRAPHICS);
            halftone = StateOf(dlg, IDC_OTH_PRINTER_HALFTONE);
            entries = ListEntries(dlg).size();
            clickedHidden = drvhost::ClickControl(dlg, IDC_OTH_OVERPRINT);
            drvhost::ClickControl(dlg, IDC_DEFAULTS);
        },
        IDOK);
    EXPECT_EQ(result, 1);
    for (const Shown& s : {overprint, label, list}) {
        EXPECT_FALSE(s.shown);
        EXPECT_FALSE(s.enabled);
    }
    EXPECT_FALSE(clickedHidden);
    EXPECT_EQ(entries, 0u);
    EXPECT_TRUE(screen.shown && screen.enabled);
    EXPECT_TRUE(halftone.shown && halftone.enabled);
    Selections expected = before;
    expected[zd::slot::ScreenObo] = 0;
    expected[zd::slot::AlwaysPrintHalftone] = 0;
    EXPECT_EQ(Copy(ctx), expected);
}

TEST_F(OthersDialog, PrinterWithoutHalftoneAndGreyGraphicsListsItsOwnSeparations) {
    drvhost::HostOptions options;
    options.document.selections["ZDOverPrint"] = "True";
    zd::UiContext* ctx = Document(kThreeSep, options);
    ASSERT_NE(ctx, nullptr);
    ASSERT_EQ(ctx->slots[zd::slot::ScreenObo], zd::kNoSlot);
    ASSERT_EQ(ctx->slots[zd::slot::AlwaysPrintHalftone], zd::kNoSlot);
    // The driver's initial choices arrive through the tree: KCMY and True.
    ASSERT_EQ(ctx->selections[zd::slot::SeparationOrder], 1u);
    ASSERT_EQ(ctx->selections[zd::slot::OverPrint], 1u);
    ctx->selections[zd::slot::ScreenObo] = 5;
    ctx->selections[zd::slot::AlwaysPrintHalftone] = 6;
    Selections before = Copy(ctx);
    std::vector<std::wstring> entries;
    LRESULT choice = -2;
    Shown overprint, screen, halftone;
    INT_PTR result = Run(
        ctx,
        [&](HWND dlg) {
            entries = ListEntries(dlg);
            choice = ListChoice(dlg);
            overprint = StateOf(dlg, IDC_OTH_OVERPRINT);
            screen = StateOf(dlg, IDC_OTH_GRAY_GRAPHICS);
            halftone = StateOf(dlg, IDC_OTH_PRINTER_HALFTONE);
            drvhost::SelectComboEntry(dlg, IDC_OTH_SEPARATION, 2);
        },
        IDOK);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(entries,
              (std::vector<std::wstring>{L"Process Order", L"Black First", L"Yellow First"}));
    EXPECT_EQ(choice, 1);
    EXPECT_TRUE(overprint.shown && overprint.checked);
    EXPECT_FALSE(screen.shown || screen.enabled);
    EXPECT_FALSE(halftone.shown || halftone.enabled);
    Selections expected = before;
    expected[zd::slot::SeparationOrder] = 2;
    EXPECT_EQ(Copy(ctx), expected);
}

TEST_F(OthersDialog, PrinterWithNoneOfTheFeaturesShowsOnlyTheButtons) {
    zd::UiContext* ctx = Document(kBare);
    ASSERT_NE(ctx, nullptr);
    Selections before = Copy(ctx);
    std::vector<Shown> states;
    Shown ok, defaults;
    INT_PTR result = Run(
        ctx,
        [&](HWND dlg) {
            for (int id : {IDC_OTH_PRINTER_HALFTONE, IDC_OTH_OVERPRINT, IDC_OTH_GRAY_GRAPHICS,
                           IDC_OTH_SEPARATION_LABEL, IDC_OTH_SEPARATION})
                states.push_back(StateOf(dlg, id));
            ok = StateOf(dlg, IDOK);
            defaults = StateOf(dlg, IDC_DEFAULTS);
            drvhost::ClickControl(dlg, IDC_DEFAULTS);
        },
        IDOK);
    EXPECT_EQ(result, 1);
    ASSERT_EQ(states.size(), 5u);
    for (const Shown& s : states) {
        EXPECT_FALSE(s.shown);
        EXPECT_FALSE(s.enabled);
    }
    EXPECT_TRUE(ok.shown && ok.enabled);
    EXPECT_TRUE(defaults.shown && defaults.enabled);
    EXPECT_EQ(Copy(ctx), before);
}

// A working selection beyond the driver's options selects no entry; confirm
// must not store "no entry" as a selection.
TEST_F(OthersDialog, SeparationBeyondTheOptionsIsKeptOnConfirm) {
    zd::UiContext* ctx = Document(kDemo);
    ASSERT_NE(ctx, nullptr);
    ctx->selections[zd::slot::SeparationOrder] = 5;
    LRESULT choice = -2;
    EXPECT_EQ(Run(
                  ctx, [&](HWND dlg) { choice = ListChoice(dlg); }, IDOK),
              1);
    EXPECT_EQ(choice, CB_ERR);
    EXPECT_EQ(ctx->selections[zd::slot::SeparationOrder], 5u);

    // A slot that points past the driver's items gives an empty list.
    ctx->slots[zd::slot::SeparationOrder] = ctx->treeParam->cDrvOptItems + 3;
    ctx->selections[zd::slot::SeparationOrder] = 1;
    size_t entries = 99;
    EXPECT_EQ(Run(
                  ctx, [&](HWND dlg) { entries = ListEntries(dlg).size(); }, IDOK),
              1);
    EXPECT_EQ(entries, 0u);
    EXPECT_EQ(ctx->selections[zd::slot::SeparationOrder], 1u);
}

TEST_F(OthersDialog, WithoutAWorkingRecordEverythingIsHidden) {
    Shown overprint, list;
    INT_PTR result = Run(
        nullptr,
        [&](HWND dlg) {
            overprint = StateOf(dlg, IDC_OTH_OVERPRINT);
            list = StateOf(dlg, IDC_OTH_SEPARATION);
            drvhost::ClickControl(dlg, IDC_DEFAULTS);
        },
        IDOK);
    EXPECT_EQ(result, 1);
    EXPECT_FALSE(overprint.shown);
    EXPECT_FALSE(list.shown);
}

TEST_F(OthersDialog, QuestionMarkButtonFollowsTheSystemVersion) {
    zd::UiContext* ctx = Document(kDemo);
    ASSERT_NE(ctx, nullptr);
    DWORD saved = zd::Process().systemIsNt6OrLater;
    for (DWORD nt6 : {0u, 1u}) {
        zd::Process().systemIsNt6OrLater = nt6;
        LONG_PTR exStyle = -1;
        Run(
            ctx, [&](HWND dlg) { exStyle = GetWindowLongPtrW(dlg, GWL_EXSTYLE); }, IDCANCEL);
        ASSERT_NE(exStyle, -1);
        EXPECT_EQ((exStyle & WS_EX_CONTEXTHELP) != 0, nt6 == 0) << "version 6 flag " << nt6;
    }
    zd::Process().systemIsNt6OrLater = saved;
}

// Context help answers from the shared table: every control of the dialog
// must have its topic there.
TEST_F(OthersDialog, EveryControlHasItsHelpTopic) {
    auto topic = [](int id) -> DWORD {
        for (size_t i = 0; zd::HelpIdTable[2 * i] || zd::HelpIdTable[2 * i + 1]; ++i)
            if (zd::HelpIdTable[2 * i] == DWORD(id))
                return zd::HelpIdTable[2 * i + 1];
        return 0;
    };
    std::vector<int> ids;
    Run(
        nullptr,
        [&](HWND dlg) {
            for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
                ids.push_back(GetDlgCtrlID(c));
        },
        IDCANCEL);
    EXPECT_EQ(ids.size(), 9u);
    for (int id : ids)
        EXPECT_NE(topic(id), 0u) << "control " << id;
    EXPECT_EQ(topic(IDC_OTH_GROUP), 1354u);
    EXPECT_EQ(topic(IDC_OTH_PRINTER_HALFTONE), 1351u);
    EXPECT_EQ(topic(IDC_OTH_OVERPRINT), 1352u);
    EXPECT_EQ(topic(IDC_OTH_SEPARATION_LABEL), 1353u);
    EXPECT_EQ(topic(IDC_OTH_SEPARATION), 1353u);
    EXPECT_EQ(topic(IDC_OTH_GRAY_GRAPHICS), 1355u);
}

TEST_F(OthersDialog, CaptionAndScreenshot) {
    zd::UiContext* ctx = Document(kDemo);
    ASSERT_NE(ctx, nullptr);
    ctx->selections[zd::slot::OverPrint] = 1;
    std::wstring caption, overprintText;
    bool saved = false;
    Run(
        ctx,
        [&](HWND dlg) {
            WCHAR text[64] = {};
            GetWindowTextW(dlg, text, 64);
            caption = text;
            overprintText = drvhost::ControlText(dlg, IDC_OTH_OVERPRINT);
            RedrawWindow(dlg, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            std::wstring error;
            saved = drvhost::SaveWindowPng(dlg, zdtest::ExeDir() + L"\\others_dialog.png", &error);
        },
        IDCANCEL);
    EXPECT_EQ(caption, L"其他");
    EXPECT_EQ(overprintText, L"黑色套印(&O)");
    EXPECT_TRUE(saved);
}

} // namespace
