// The Advanced dialog over the document trees of installed test printers,
// built by the emulated driver: check boxes from the working selections,
// the hard-disk and compression rules, the preview icons and Defaults.
#include "core/devmode_record.h"
#include "core/driver_files.h"
#include "plugin/oemui_plugin.h"
#include "core/option_tree.h"
#include "core/process_state.h"
#include "core/ui_context.h"
#include "driver_host.h"
#include "drvhost_api.h"
#include "jobopts/advanced_dialog.h"
#include "resources/resource.h"
#include "test_printer.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

using drvhost::HostSession;

const wchar_t kDemo[] = L"zd adv demo";         // Compression 0x501: offered, digit 5
const wchar_t kNoCompress[] = L"zd adv nocomp"; // Compression 0x500: not offered
const wchar_t kEightDigit[] = L"zd adv digit8"; // Compression 0x801: offered, digit 8
const wchar_t kPlain[] = L"zd adv plain";       // no plug-in keywords in the PPD

const wchar_t kPlainPpd[] = L"*PPD-Adobe: \"4.3\"\r\n*FileVersion: \"1.0\"\r\n"
                            L"*OpenUI *PageSize/Paper Size: PickOne\r\n*DefaultPageSize: A4\r\n"
                            L"*PageSize A4/A4: \"\"\r\n*CloseUI: *PageSize\r\n";

std::wstring g_dir;

std::wstring WriteFile(const std::wstring& name, const std::wstring& text, bool utf16 = true) {
    std::wstring path = g_dir + L"\\" + name;
    EXPECT_TRUE(zdtest::WriteTextFile(path, text, utf16));
    return path;
}

void Install(const std::wstring& printer, const std::wstring& driver, const std::wstring& ppd,
             const std::wstring& capName, int compression) {
    zdtest::PrinterSpec spec;
    spec.printerName = printer;
    spec.driverName = driver;
    spec.dataFile = ppd;
    spec.dependentFiles = {zdtest::SamplesDir() + L"\\zdcp95.ini",
                           WriteFile(capName, L"[Capability]\r\n" + driver + L"=M\r\n[M]\r\n" +
                                                  L"Compression=" + std::to_wstring(compression) +
                                                  L"\r\n")};
    std::wstring error;
    ASSERT_TRUE(zdtest::InstallPrinter(spec, &error)) << std::string(error.begin(), error.end());
}

// What the dialog showed for one control.
struct Box {
    bool exists = false, checked = false, enabled = false;
};

Box ReadBox(HWND dlg, int id) {
    Box b;
    b.exists = drvhost::HasControl(dlg, id);
    b.checked = b.exists && drvhost::IsChecked(dlg, id);
    b.enabled = b.exists && drvhost::IsEnabled(dlg, id);
    return b;
}

// A click on a control that must be there, visible and enabled.
void Click(HWND dlg, int id) {
    EXPECT_TRUE(drvhost::ClickControl(dlg, id)) << "control " << id;
}

HICON PreviewIcon(HWND dlg) {
    return reinterpret_cast<HICON>(SendDlgItemMessageW(dlg, IDC_ADV_PREVIEW, STM_GETICON, 0, 0));
}

HICON LibraryIcon(int id) {
    return LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
}

class AdvancedDialog : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        zd::Process().moduleInstance = GetModuleHandleW(nullptr);
        g_dir = zdtest::MakeTempDir(L"advanced");
        ASSERT_FALSE(g_dir.empty());
        std::wstring ppd = zdtest::SamplesDir() + L"\\zdcp95.ppd";
        Install(kDemo, L"ZD Adv Demo", ppd, L"zdadv_demo.cap", 0x501);
        Install(kNoCompress, L"ZD Adv NoComp", ppd, L"zdadv_nocomp.cap", 0x500);
        Install(kEightDigit, L"ZD Adv Digit8", ppd, L"zdadv_digit8.cap", 0x801);
        Install(kPlain, L"ZD Adv Plain", WriteFile(L"zdadv_plain.ppd", kPlainPpd, false),
                L"zdadv_plain.cap", 0x501);
    }

    // The document tree of `printer`; `hardDisk` is what the device tree's
    // ZDHDD item selects, so what DrvGetDriverSetting answers.
    zd::UiContext* Open(const wchar_t* printer, const char* hardDisk = "True", uint32_t omit = 0) {
        drvhost::HostOptions options;
        options.device.selections["ZDHDD"] = hardDisk;
        options.document.omit = omit;
        session_ = std::make_unique<HostSession>(std::move(options));
        std::wstring error;
        EXPECT_TRUE(session_->PrepareDocument(printer, &error))
            << std::string(error.begin(), error.end());
        drvhost::DriverHost& host = session_->host();
        auto* plugin = static_cast<zd::OemUiPlugin*>(host.documentTree().param.pOEMUserData);
        zd::UiContext* ctx = plugin ? plugin->documentContext() : nullptr;
        if (!ctx)
            return nullptr;
        // What DocumentPropertySheets hands the pages.
        psp_ = {};
        psp_.cbSize = sizeof psp_;
        psp_.poemuiobj = host.uiObject();
        psp_.hPrinter = host.printer();
        psp_.hOEMHeap = host.heap();
        psp_.pPublicDM = host.publicDevMode();
        psp_.pOEMDM = host.oemBlock();
        ctx->pageParam = &psp_;
        // The plug-in's CommonUIProp found the model's files in the DLL's
        // copy of the process state; this executable has its own.
        WCHAR config[zd::kOemConfigPathUnits] = {};
        EXPECT_TRUE(zd::FindDriverFiles(host.printer(), config));
        return ctx;
    }

    // Runs the dialog; `drive` acts on it, then `close` ends it.
    INT_PTR Run(zd::UiContext* ctx, std::function<void(HWND)> drive, WPARAM close = IDOK) {
        drvhost::AnswerNextDialog([&](HWND dlg) {
            // The modal loop shows the dialog only once it is idle; clicks
            // need it visible.
            ShowWindow(dlg, SW_SHOWNORMAL);
            if (drive)
                drive(dlg);
            SendMessageW(dlg, WM_COMMAND, close, 0);
        });
        INT_PTR result = zd::RunAdvancedDialog(nullptr, ctx);
        EXPECT_EQ(drvhost::PendingDialogAnswers(), 0);
        return result;
    }

    uint16_t StoredCompression() {
        return zd::ByteView(session_->host().oemBlock(), zd::kOemDevModeSize)
            .u16(zd::dm::kCompressionLevel);
    }
    void SetStoredCompression(uint16_t level) {
        zd::ByteView(session_->host().oemBlock(), zd::kOemDevModeSize)
            .set_u16(zd::dm::kCompressionLevel, level);
    }

    // The five selections the dialog edits.
    static void SetSelections(zd::UiContext* ctx, uint32_t mirror, uint32_t negative,
                              uint32_t spool, uint32_t drum, uint32_t hairline) {
        ctx->selections[zd::slot::Mirror] = mirror;
        ctx->selections[zd::slot::Negative] = negative;
        ctx->selections[zd::slot::HddSpool] = spool;
        ctx->selections[zd::slot::DrumClean] = drum;
        ctx->selections[zd::slot::HairLine] = hairline;
    }

    std::unique_ptr<HostSession> session_;
    OEMUIPSPARAM psp_ = {};
};

TEST_F(AdvancedDialog, BoxesFollowTheWorkingSelectionsBothWays) {
    zd::UiContext* ctx = Open(kDemo);
    ASSERT_NE(ctx, nullptr);
    for (int slot : {zd::slot::Mirror, zd::slot::Negative, zd::slot::HddSpool, zd::slot::DrumClean,
                     zd::slot::HairLine})
        ASSERT_NE(ctx->slots[slot], zd::kNoSlot) << "slot " << slot;

    // Mirror and negative and hairline are checked at selection 0; spool
    // and maintenance at selection 1.
    struct Case {
        uint32_t sel[5];
        bool checked[5];
    } cases[] = {{{0, 1, 1, 1, 1}, {true, false, true, true, false}},
                 {{1, 0, 0, 0, 0}, {false, true, false, false, true}}};
    const int ids[] = {IDC_ADV_MIRROR, IDC_ADV_NEGATIVE, IDC_ADV_JOB_SPOOL, IDC_ADV_MAINTENANCE,
                       IDC_ADV_HAIRLINE};
    for (const Case& c : cases) {
        SetSelections(ctx, c.sel[0], c.sel[1], c.sel[2], c.sel[3], c.sel[4]);
        Box boxes[5];
        bool groupShown = false;
        EXPECT_EQ(Run(
                      ctx,
                      [&](HWND dlg) {
                          for (int i = 0; i < 5; ++i)
                              boxes[i] = ReadBox(dlg, ids[i]);
                          groupShown = drvhost::IsShown(dlg, IDC_ADV_SPECIAL_GROUP);
                      },
                      IDCANCEL),
                  0);
        EXPECT_TRUE(groupShown);
        for (int i = 0; i < 5; ++i) {
            EXPECT_TRUE(boxes[i].exists) << ids[i];
            EXPECT_TRUE(boxes[i].enabled) << ids[i];
            EXPECT_EQ(boxes[i].checked, c.checked[i]) << ids[i] << " selection " << c.sel[i];
        }
        // Cancel stored nothing.
        EXPECT_EQ(ctx->selections[zd::slot::Mirror], c.sel[0]);
        EXPECT_EQ(ctx->selections[zd::slot::Negative], c.sel[1]);
        EXPECT_EQ(ctx->selections[zd::slot::HddSpool], c.sel[2]);
        EXPECT_EQ(ctx->selections[zd::slot::DrumClean], c.sel[3]);
        EXPECT_EQ(ctx->selections[zd::slot::HairLine], c.sel[4]);
    }
}

TEST_F(AdvancedDialog, ConfirmStoresEveryBoxAndTheDriverGetsItOnApply) {
    zd::UiContext* ctx = Open(kDemo);
    ASSERT_NE(ctx, nullptr);
    SetSelections(ctx, 1, 1, 0, 0, 0);
    // Every box flipped by clicks.
    EXPECT_EQ(Run(ctx,
                  [](HWND dlg) {
                      for (int id : {IDC_ADV_MIRROR, IDC_ADV_NEGATIVE, IDC_ADV_JOB_SPOOL,
                                     IDC_ADV_MAINTENANCE, IDC_ADV_HAIRLINE})
                          Click(dlg, id);
                  }),
              1);
    EXPECT_EQ(ctx->selections[zd::slot::Mirror], 0u);
    EXPECT_EQ(ctx->selections[zd::slot::Negative], 0u);
    EXPECT_EQ(ctx->selections[zd::slot::HddSpool], 1u);
    EXPECT_EQ(ctx->selections[zd::slot::DrumClean], 1u);
    EXPECT_EQ(ctx->selections[zd::slot::HairLine], 1u);

    // The dialog itself never talks to the driver; the page's apply does.
    EXPECT_TRUE(session_->UpdateCalls().empty());
    zd::ApplyWorkingSelections(ctx);
    drvhost::OptionTree& tree = session_->host().documentTree();
    EXPECT_EQ(tree.items[ctx->slots[zd::slot::Mirror]].Sel, 0);
    EXPECT_EQ(tree.items[ctx->slots[zd::slot::Negative]].Sel, 0);
    EXPECT_EQ(session_->ItemSel("ZDHDDSpool"), 1);
    EXPECT_EQ(session_->ItemSel("ZDDrumClean"), 1);
    EXPECT_EQ(session_->ItemSel("ZDHairLine"), 1);

    // And back the other way.
    EXPECT_EQ(Run(ctx,
                  [](HWND dlg) {
                      for (int id : {IDC_ADV_MIRROR, IDC_ADV_NEGATIVE, IDC_ADV_JOB_SPOOL,
                                     IDC_ADV_MAINTENANCE, IDC_ADV_HAIRLINE})
                          Click(dlg, id);
                  }),
              1);
    EXPECT_EQ(ctx->selections[zd::slot::Mirror], 1u);
    EXPECT_EQ(ctx->selections[zd::slot::Negative], 1u);
    EXPECT_EQ(ctx->selections[zd::slot::HddSpool], 0u);
    EXPECT_EQ(ctx->selections[zd::slot::DrumClean], 0u);
    EXPECT_EQ(ctx->selections[zd::slot::HairLine], 0u);
}

TEST_F(AdvancedDialog, CancelAndTheCloseBoxStoreNothing) {
    zd::UiContext* ctx = Open(kDemo);
    ASSERT_NE(ctx, nullptr);
    SetSelections(ctx, 1, 1, 0, 0, 0);
    ctx->selections[zd::slot::Compression] = 3;
    SetStoredCompression(1);
    auto clickAll = [](HWND dlg) {
        for (int id : {IDC_ADV_MIRROR, IDC_ADV_NEGATIVE, IDC_ADV_JOB_SPOOL, IDC_ADV_MAINTENANCE,
                       IDC_ADV_HAIRLINE})
            Click(dlg, id);
    };
    EXPECT_EQ(Run(ctx, clickAll, IDCANCEL), 0);
    drvhost::AnswerNextDialog([&](HWND dlg) {
        ShowWindow(dlg, SW_SHOWNORMAL);
        clickAll(dlg);
        SendMessageW(dlg, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(zd::RunAdvancedDialog(nullptr, ctx), 0);
    EXPECT_EQ(ctx->selections[zd::slot::Mirror], 1u);
    EXPECT_EQ(ctx->selections[zd::slot::Negative], 1u);
    EXPECT_EQ(ctx->selections[zd::slot::HddSpool], 0u);
    EXPECT_EQ(ctx->selections[zd::slot::DrumClean], 0u);
    EXPECT_EQ(ctx->selections[zd::slot::HairLine], 0u);
    EXPECT_EQ(ctx->selections[zd::slot::Compression], 3u);
    EXPECT_EQ(StoredCompression(), 1);
}

TEST_F(AdvancedDialog, WithoutAHardDiskSpoolingIsForcedOffAndDisabled) {
    zd::UiContext* ctx = Open(kDemo, "False");
    ASSERT_NE(ctx, nullptr);
    SetSelections(ctx, 1, 1, 1, 0, 0);
    Box spool, afterClick, afterDefaults;
    EXPECT_EQ(Run(
                  ctx,
                  [&](HWND dlg) {
                      spool = ReadBox(dlg, IDC_ADV_JOB_SPOOL);
                      EXPECT_FALSE(drvhost::ClickControl(dlg, IDC_ADV_JOB_SPOOL));
                      afterClick = ReadBox(dlg, IDC_ADV_JOB_SPOOL);
                      Click(dlg, IDC_DEFAULTS);
                      afterDefaults = ReadBox(dlg, IDC_ADV_JOB_SPOOL);
                  },
                  IDCANCEL),
              0);
    EXPECT_TRUE(spool.exists);
    EXPECT_FALSE(spool.checked);
    EXPECT_FALSE(spool.enabled);
    EXPECT_FALSE(afterClick.checked);
    EXPECT_FALSE(afterDefaults.enabled);
    // Forced off at the opening, even though the dialog was cancelled.
    EXPECT_EQ(ctx->selections[zd::slot::HddSpool], 0u);

    // With the disk installed the same selection shows checked and usable.
    ctx = Open(kDemo, "True");
    ASSERT_NE(ctx, nullptr);
    ctx->selections[zd::slot::HddSpool] = 1;
    EXPECT_EQ(Run(
                  ctx, [&](HWND dlg) { spool = ReadBox(dlg, IDC_ADV_JOB_SPOOL); }, IDCANCEL),
              0);
    EXPECT_TRUE(spool.checked);
    EXPECT_TRUE(spool.enabled);
    EXPECT_EQ(ctx->selections[zd::slot::HddSpool], 1u);
}

TEST_F(AdvancedDialog, PreviewIconFollowsTheMirrorAndNegativeBoxes) {
    zd::UiContext* ctx = Open(kDemo);
    ASSERT_NE(ctx, nullptr);
    const HICON icons[] = {LibraryIcon(IDI_PRINT_NORMAL), LibraryIcon(IDI_PRINT_MIRROR),
                           LibraryIcon(IDI_PRINT_NEGATIVE), LibraryIcon(IDI_PRINT_MIRROR_NEGATIVE)};
    for (HICON icon : icons)
        ASSERT_NE(icon, nullptr);
    ASSERT_NE(icons[0], icons[3]);
    EXPECT_EQ(zd::AdvancedPreviewIcon(false, false), IDI_PRINT_NORMAL);
    EXPECT_EQ(zd::AdvancedPreviewIcon(true, false), IDI_PRINT_MIRROR);
    EXPECT_EQ(zd::AdvancedPreviewIcon(false, true), IDI_PRINT_NEGATIVE);
    EXPECT_EQ(zd::AdvancedPreviewIcon(true, true), IDI_PRINT_MIRROR_NEGATIVE);

    SetSelections(ctx, 1, 0, 0, 0, 0); // negative only
    HICON atStart = nullptr, both = nullptr, negativeOnly = nullptr, none = nullptr,
          mirrorOnly = nullptr, afterDefaults = nullptr;
    Run(
        ctx,
        [&](HWND dlg) {
            atStart = PreviewIcon(dlg);
            Click(dlg, IDC_ADV_MIRROR);
            both = PreviewIcon(dlg);
            Click(dlg, IDC_ADV_MIRROR);
            negativeOnly = PreviewIcon(dlg);
            Click(dlg, IDC_ADV_NEGATIVE);
            none = PreviewIcon(dlg);
            Click(dlg, IDC_ADV_MIRROR);
            mirrorOnly = PreviewIcon(dlg);
            Click(dlg, IDC_ADV_NEGATIVE);
            Click(dlg, IDC_DEFAULTS);
            afterDefaults = PreviewIcon(dlg);
        },
        IDCANCEL);
    EXPECT_EQ(atStart, icons[2]);
    EXPECT_EQ(both, icons[3]);
    EXPECT_EQ(negativeOnly, icons[2]);
    EXPECT_EQ(none, icons[0]);
    EXPECT_EQ(mirrorOnly, icons[1]);
    EXPECT_EQ(afterDefaults, icons[0]);
}

TEST_F(AdvancedDialog, WithoutTheMirrorItemTheWholeSpecialGroupGoes) {
    zd::UiContext* ctx = Open(kDemo, "True", drvhost::kMirror);
    ASSERT_NE(ctx, nullptr);
    ASSERT_EQ(ctx->slots[zd::slot::Mirror], zd::kNoSlot);
    ASSERT_NE(ctx->slots[zd::slot::Negative], zd::kNoSlot);
    ctx->selections[zd::slot::Negative] = 0;
    bool any = true, spool = false;
    EXPECT_EQ(Run(ctx,
                  [&](HWND dlg) {
                      any = false;
                      for (int id = IDC_ADV_SPECIAL_GROUP; id <= IDC_ADV_PREVIEW; ++id)
                          any = any || drvhost::HasControl(dlg, id);
                      spool = drvhost::HasControl(dlg, IDC_ADV_JOB_SPOOL);
                      Click(dlg, IDC_DEFAULTS);
                  }),
              1);
    EXPECT_FALSE(any);
    EXPECT_TRUE(spool);
    // The negative item reads its absent box as unchecked: an old
    // document's negative setting is cleared on OK.
    EXPECT_EQ(ctx->selections[zd::slot::Negative], 1u);
}

TEST_F(AdvancedDialog, WithoutTheNegativeItemOnlyItsBoxGoes) {
    zd::UiContext* ctx = Open(kDemo, "True", drvhost::kNegative);
    ASSERT_NE(ctx, nullptr);
    ASSERT_NE(ctx->slots[zd::slot::Mirror], zd::kNoSlot);
    ASSERT_EQ(ctx->slots[zd::slot::Negative], zd::kNoSlot);
    ctx->selections[zd::slot::Mirror] = 1;
    ctx->selections[zd::slot::Negative] = 7; // not an item: left alone
    bool group = false, mirror = false, negative = true;
    HICON icon = nullptr;
    EXPECT_EQ(Run(ctx,
                  [&](HWND dlg) {
                      group = drvhost::HasControl(dlg, IDC_ADV_SPECIAL_GROUP);
                      mirror = drvhost::HasControl(dlg, IDC_ADV_MIRROR);
                      negative = drvhost::HasControl(dlg, IDC_ADV_NEGATIVE);
                      Click(dlg, IDC_ADV_MIRROR);
                      icon = PreviewIcon(dlg);
                  }),
              1);
    EXPECT_TRUE(group);
    EXPECT_TRUE(mirror);
    EXPECT_FALSE(negative);
    EXPECT_EQ(icon, LibraryIcon(IDI_PRINT_MIRROR));
    EXPECT_EQ(ctx->selections[zd::slot::Mirror], 0u);
    EXPECT_EQ(ctx->selections[zd::slot::Negative], 7u);
}

TEST_F(AdvancedDialog, APrinterWithoutTheJobItemsLosesTheirBoxes) {
    zd::UiContext* ctx = Open(kPlain);
    ASSERT_NE(ctx, nullptr);
    ASSERT_EQ(ctx->slots[zd::slot::HddSpool], zd::kNoSlot);
    ASSERT_EQ(ctx->slots[zd::slot::DrumClean], zd::kNoSlot);
    ASSERT_EQ(ctx->slots[zd::slot::HairLine], zd::kNoSlot);
    SetSelections(ctx, 1, 1, 5, 6, 7);
    bool spool = true, drum = true, hairline = true, mirror = false;
    EXPECT_EQ(Run(ctx,
                  [&](HWND dlg) {
                      spool = drvhost::HasControl(dlg, IDC_ADV_JOB_SPOOL);
                      drum = drvhost::HasControl(dlg, IDC_ADV_MAINTENANCE);
                      hairline = drvhost::HasControl(dlg, IDC_ADV_HAIRLINE);
                      mirror = drvhost::HasControl(dlg, IDC_ADV_MIRROR);
                      Click(dlg, IDC_DEFAULTS);
                  }),
              1);
    EXPECT_FALSE(spool);
    EXPECT_FALSE(drum);
    EXPECT_FALSE(hairline);
    EXPECT_TRUE(mirror);
    EXPECT_EQ(ctx->selections[zd::slot::HddSpool], 5u);
    EXPECT_EQ(ctx->selections[zd::slot::DrumClean], 6u);
    EXPECT_EQ(ctx->selections[zd::slot::HairLine], 7u);
    // Defaults unchecked the mirror and negative boxes.
    EXPECT_EQ(ctx->selections[zd::slot::Mirror], 1u);
    EXPECT_EQ(ctx->selections[zd::slot::Negative], 1u);
}

TEST_F(AdvancedDialog, DefaultsSetTheBoxesAndChangeNothingUntilConfirmed) {
    zd::UiContext* ctx = Open(kDemo);
    ASSERT_NE(ctx, nullptr);
    ASSERT_EQ(ctx->slots[zd::slot::Compression], 0u);
    SetSelections(ctx, 0, 0, 1, 1, 1);
    SetStoredCompression(0);
    ctx->selections[zd::slot::Compression] = 0;
    Box b[5];
    const int ids[] = {IDC_ADV_MIRROR, IDC_ADV_NEGATIVE, IDC_ADV_JOB_SPOOL, IDC_ADV_MAINTENANCE,
                       IDC_ADV_HAIRLINE};
    auto pressDefaults = [&](HWND dlg) {
        Click(dlg, IDC_DEFAULTS);
        for (int i = 0; i < 5; ++i)
            b[i] = ReadBox(dlg, ids[i]);
    };
    EXPECT_EQ(Run(ctx, pressDefaults, IDCANCEL), 0);
    EXPECT_FALSE(b[0].checked);
    EXPECT_FALSE(b[1].checked);
    EXPECT_FALSE(b[2].checked);
    EXPECT_TRUE(b[2].enabled); // the disk is there
    EXPECT_FALSE(b[3].checked);
    EXPECT_TRUE(b[4].checked);
    EXPECT_EQ(ctx->selections[zd::slot::Mirror], 0u);
    EXPECT_EQ(ctx->selections[zd::slot::Negative], 0u);
    EXPECT_EQ(ctx->selections[zd::slot::HddSpool], 1u);
    EXPECT_EQ(ctx->selections[zd::slot::DrumClean], 1u);
    EXPECT_EQ(ctx->selections[zd::slot::HairLine], 1u);
    EXPECT_EQ(ctx->selections[zd::slot::Compression], 0u);
    EXPECT_EQ(StoredCompression(), 0);

    EXPECT_EQ(Run(ctx, pressDefaults), 1);
    EXPECT_EQ(ctx->selections[zd::slot::Mirror], 1u);
    EXPECT_EQ(ctx->selections[zd::slot::Negative], 1u);
    EXPECT_EQ(ctx->selections[zd::slot::HddSpool], 0u);
    EXPECT_EQ(ctx->selections[zd::slot::DrumClean], 0u);
    EXPECT_EQ(ctx->selections[zd::slot::HairLine], 0u);
    // 0x501: digit 5 gives level 2, as a fresh DEVMODE of this model has.
    EXPECT_EQ(StoredCompression(), 2);
    EXPECT_EQ(ctx->selections[zd::slot::Compression], 2u);
    EXPECT_EQ(zd::CompressionLevelFromModelValue(0x501), 2);
}

TEST_F(AdvancedDialog, DefaultCompressionComesFromTheModelsDigit) {
    zd::UiContext* ctx = Open(kEightDigit);
    ASSERT_NE(ctx, nullptr);
    ASSERT_EQ(ctx->slots[zd::slot::Compression], 0u);
    EXPECT_EQ(zd::CompressionLevelFromModelValue(0x801), 3);
    SetStoredCompression(1);
    EXPECT_EQ(Run(ctx, [](HWND dlg) { Click(dlg, IDC_DEFAULTS); }), 1);
    EXPECT_EQ(StoredCompression(), 3);
}

TEST_F(AdvancedDialog, CompressionOfferedIsLoadedFromTheDevModeAndWrittenBack) {
    zd::UiContext* ctx = Open(kDemo);
    ASSERT_NE(ctx, nullptr);
    ASSERT_EQ(ctx->slots[zd::slot::Compression], 0u);
    SetStoredCompression(1);
    ctx->selections[zd::slot::Compression] = 3;
    EXPECT_EQ(Run(ctx, nullptr), 1);
    EXPECT_EQ(ctx->selections[zd::slot::Compression], 1u);
    EXPECT_EQ(StoredCompression(), 1);
}

TEST_F(AdvancedDialog, CompressionNotOfferedKeepsTheContextsLevelEvenAfterDefaults) {
    zd::UiContext* ctx = Open(kNoCompress);
    ASSERT_NE(ctx, nullptr);
    ASSERT_EQ(ctx->slots[zd::slot::Compression], zd::kNoSlot);
    SetStoredCompression(1);
    ctx->selections[zd::slot::Compression] = 3;
    EXPECT_EQ(Run(ctx, [](HWND dlg) { Click(dlg, IDC_DEFAULTS); }), 1);
    // Confirming always writes the level, here the one the record held.
    EXPECT_EQ(StoredCompression(), 3);
    EXPECT_EQ(ctx->selections[zd::slot::Compression], 3u);
}

TEST_F(AdvancedDialog, BeforeTheSheetExistsTheTreeBlockServes) {
    // Only the tree call block: its driver object answers ZDHDD, its
    // private DEVMODE takes the level.
    zd::UiContext* ctx = Open(kDemo, "False");
    ASSERT_NE(ctx, nullptr);
    ctx->pageParam = nullptr;
    ASSERT_NE(ctx->treeParam, nullptr);
    ctx->selections[zd::slot::HddSpool] = 1;
    SetStoredCompression(0);
    Box spool;
    EXPECT_EQ(Run(ctx,
                  [&](HWND dlg) {
                      spool = ReadBox(dlg, IDC_ADV_JOB_SPOOL);
                      Click(dlg, IDC_DEFAULTS);
                  }),
              1);
    EXPECT_FALSE(spool.enabled);
    EXPECT_FALSE(spool.checked);
    EXPECT_EQ(StoredCompression(), 2);

    ctx = Open(kDemo, "True");
    ASSERT_NE(ctx, nullptr);
    ctx->pageParam = nullptr;
    ctx->selections[zd::slot::HddSpool] = 1;
    EXPECT_EQ(Run(
                  ctx, [&](HWND dlg) { spool = ReadBox(dlg, IDC_ADV_JOB_SPOOL); }, IDCANCEL),
              0);
    EXPECT_TRUE(spool.enabled);
    EXPECT_TRUE(spool.checked);
}

TEST_F(AdvancedDialog, WithoutARecordEveryItemCountsAsAbsent) {
    bool any = true;
    drvhost::AnswerNextDialog([&](HWND dlg) {
        any = false;
        for (int id : {IDC_ADV_SPECIAL_GROUP, IDC_ADV_MIRROR, IDC_ADV_NEGATIVE, IDC_ADV_PREVIEW,
                       IDC_ADV_JOB_SPOOL, IDC_ADV_MAINTENANCE, IDC_ADV_HAIRLINE})
            any = any || drvhost::HasControl(dlg, id);
        ShowWindow(dlg, SW_SHOWNORMAL);
        Click(dlg, IDC_DEFAULTS);
        SendMessageW(dlg, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(zd::RunAdvancedDialog(nullptr, nullptr), 1);
    EXPECT_FALSE(any);
}

TEST_F(AdvancedDialog, QuestionMarkButtonFollowsTheSystemVersion) {
    zd::UiContext* ctx = Open(kDemo);
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

TEST_F(AdvancedDialog, ScreenshotOfTheDialog) {
    zd::UiContext* ctx = Open(kDemo);
    ASSERT_NE(ctx, nullptr);
    SetSelections(ctx, 0, 0, 1, 0, 0);
    bool saved = false;
    std::wstring error;
    Run(
        ctx,
        [&](HWND dlg) {
            RedrawWindow(dlg, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            saved =
                drvhost::SaveWindowPng(dlg, zdtest::ExeDir() + L"\\advanced_dialog.png", &error);
        },
        IDCANCEL);
    EXPECT_TRUE(saved) << std::string(error.begin(), error.end());
}

} // namespace
