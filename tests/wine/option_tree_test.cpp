// The plug-in's changes to the driver's option trees and its writing of
// working selections back into them, through the emulated driver.
#include "core/devmode_record.h"
#include "plugin/oemui_plugin.h"
#include "core/option_tree.h"
#include "driver_host.h"
#include "drvhost_api.h"
#include "test_printer.h"

#include <gtest/gtest.h>

#include <winspool.h>

#include <string>
#include <vector>

namespace {

using drvhost::HostSession;

std::wstring g_dir;

std::wstring WriteFile(const std::wstring& name, const std::wstring& text, bool utf16 = true) {
    std::wstring path = g_dir + L"\\" + name;
    EXPECT_TRUE(zdtest::WriteTextFile(path, text, utf16));
    return path;
}

const wchar_t kDemo[] = L"zd tree demo";
const wchar_t kPlain[] = L"zd tree plain";
const wchar_t kHide[] = L"zd tree hide";
const wchar_t kNet[] = L"zd tree net";
const wchar_t kNoNet[] = L"zd tree other";
const wchar_t kPlanted[] = L"zd tree planted net"; // its library by bare name
const wchar_t kPlantedLibrary[] = L"zdplanted_netext.dll";
// Served by the network library, but too long for its 221-byte name buffer.
const std::wstring kLongName = L"zd tree net " + std::wstring(215, L'n');

// A PPD with only the public features: no keyword of the plug-in's tables.
const wchar_t kPlainPpd[] =
    L"*PPD-Adobe: \"4.3\"\r\n*FileVersion: \"1.0\"\r\n*ColorDevice: True\r\n"
    L"*OpenUI *PageSize/Paper Size: PickOne\r\n*DefaultPageSize: A4\r\n"
    L"*PageSize A4/A4: \"\"\r\n*PageSize Letter/Letter: \"\"\r\n*CloseUI: *PageSize\r\n"
    L"*OpenUI *Duplex/2-Sided: PickOne\r\n*DefaultDuplex: None\r\n*Duplex None/Off: \"\"\r\n"
    L"*Duplex DuplexNoTumble/Long Edge: \"\"\r\n*CloseUI: *Duplex\r\n"
    L"*OpenUI *Resolution/Resolution: PickOne\r\n*DefaultResolution: 600dpi\r\n"
    L"*Resolution 600dpi/600 dpi: \"\"\r\n*CloseUI: *Resolution\r\n";

void Install(const std::wstring& printer, const std::wstring& driver, const std::wstring& ppd,
             std::vector<std::wstring> files) {
    zdtest::PrinterSpec spec;
    spec.printerName = printer;
    spec.driverName = driver;
    spec.dataFile = ppd;
    spec.dependentFiles = std::move(files);
    std::wstring error;
    ASSERT_TRUE(zdtest::InstallPrinter(spec, &error)) << std::string(error.begin(), error.end());
}

class OptionTree : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        g_dir = zdtest::MakeTempDir(L"tree");
        std::wstring samples = zdtest::SamplesDir();
        // The demo model's configuration, naming a help file as a model may.
        const std::wstring demoIni = g_dir + L"\\zdt_demo.ini";
        ASSERT_TRUE(CopyFileW((samples + L"\\zdcp95.ini").c_str(), demoIni.c_str(), FALSE));
        ASSERT_TRUE(WritePrivateProfileStringW(L"DependentFiles", L"HELP", L"zdcp95.hlp",
                                               demoIni.c_str()));
        Install(kDemo, L"ZD Tree Demo", samples + L"\\zdcp95.ppd",
                {demoIni,
                 WriteFile(L"zdt_demo.cap", L"[Capability]\r\nZD Tree Demo=M\r\n[M]\r\n"
                                            L"Compression=1281\r\nNetExtDLL=zdnetext.dll\r\n")});
        Install(kPlain, L"ZD Tree Plain", WriteFile(L"zdt_plain.ppd", kPlainPpd, false),
                {samples + L"\\zdcp95.ini",
                 WriteFile(L"zdt_plain.cap",
                           L"[Capability]\r\nZD Tree Plain=P\r\n[P]\r\nCompression=1280\r\n")});
        Install(kHide, L"ZD Tree Hide", samples + L"\\zdcp95.ppd",
                {WriteFile(L"zdt_hide.ini", L"[OEMFiles]\r\nOEMConfigFile1=zdui.dll\r\n"
                                            L"[Plg_Feature]\r\nHidePaperName=A4,Letter\r\n"),
                 WriteFile(L"zdt_hide.cap", L"[Capability]\r\n")});
        std::wstring netCap =
            WriteFile(L"zdt_net.cap", L"[Capability]\r\nZD Tree Net=N\r\n[N]\r\nNetExtDLL=" +
                                          zdtest::ExeDir() + L"\\zdfakenetext.dll\r\n");
        Install(kNet, L"ZD Tree Net", samples + L"\\zdcp95.ppd",
                {samples + L"\\zdcp95.ini", netCap});
        Install(kNoNet, L"ZD Tree Net", samples + L"\\zdcp95.ppd",
                {samples + L"\\zdcp95.ini", netCap});
        Install(kLongName, L"ZD Tree Net", samples + L"\\zdcp95.ppd",
                {samples + L"\\zdcp95.ini", netCap});
        Install(kPlanted, L"ZD Tree Planted", samples + L"\\zdcp95.ppd",
                {samples + L"\\zdcp95.ini",
                 WriteFile(L"zdt_planted.cap", L"[Capability]\r\nZD Tree Planted=P\r\n[P]\r\n"
                                               L"NetExtDLL=" +
                                                   std::wstring(kPlantedLibrary) + L"\r\n")});
    }

    HostSession& Document(const wchar_t* printer, drvhost::HostOptions options = {}) {
        session_ = std::make_unique<HostSession>(std::move(options));
        std::wstring error;
        EXPECT_TRUE(session_->PrepareDocument(printer, &error))
            << std::string(error.begin(), error.end());
        return *session_;
    }

    HostSession& Device(const std::wstring& printer) {
        session_ = std::make_unique<HostSession>();
        std::wstring error;
        EXPECT_TRUE(session_->PrepareDevice(printer, &error))
            << std::string(error.begin(), error.end());
        return *session_;
    }

    drvhost::OptionTree& DocTree() { return session_->host().documentTree(); }
    drvhost::OptionTree& DevTree() { return session_->host().deviceTree(); }

    // The sheet's working record, as the plug-in keeps it.
    zd::UiContext* Context() {
        auto* plugin = static_cast<zd::OemUiPlugin*>(DocTree().param.pOEMUserData);
        return plugin ? plugin->documentContext() : nullptr;
    }

    int Find(const char* keyword) { return session_->host().FindItem(DocTree(), keyword); }
    int FindPublic(uint8_t id) { return session_->host().FindPublicItem(DocTree(), id); }
    int FindNamed(ULONG_PTR nameId, drvhost::OptionTree& tree) {
        for (size_t i = 0; i < tree.items.size(); ++i)
            if (reinterpret_cast<ULONG_PTR>(tree.items[i].pName) == nameId)
                return int(i);
        return -1;
    }
    int FindItemId(ULONG_PTR itemId) {
        for (size_t i = 0; i < DocTree().items.size(); ++i) {
            auto* ud = reinterpret_cast<USERDATA*>(DocTree().items[i].UserData);
            if (ud && ud->dwItemID == itemId)
                return int(i);
        }
        return -1;
    }

    // The driver items of the recorded DrvUpdateUISetting calls, in order.
    std::vector<int> CalledItems() {
        std::vector<int> items;
        for (const drvhost::UpdateCall& c : session_->UpdateCalls())
            items.push_back(c.item);
        return items;
    }

    std::unique_ptr<HostSession> session_;
};

struct KeywordSlot {
    const char* keyword;
    int slot;
};

const KeywordSlot kHiddenSlots[] = {
    {"ZDOutputMode", zd::slot::OutputMode},
    {"ZDCollate", zd::slot::Collate},
    {"OutputBin", zd::slot::OutputBin},
    {"ZDStaple", zd::slot::Staple},
    {"ZDHDDSpool", zd::slot::HddSpool},
    {"ZDDrumClean", zd::slot::DrumClean},
    {"ZDJob_Type", zd::slot::JobType},
    {"ZDOverlay", zd::slot::Overlay},
    {"ZDControl", zd::slot::ColorControl},
    {"ZDSeparationorder", zd::slot::SeparationOrder},
    {"ZDOverPrint", zd::slot::OverPrint},
    {"ZDProcessMode", zd::slot::ProcessMode},
    {"ZDBlackSubstitution", zd::slot::BlackSubstitution},
    {"ZDHalftoneMode", zd::slot::HalftoneMode},
    {"ZDAlwaysPrnHT", zd::slot::AlwaysPrintHalftone},
    {"ZDColorRenderStyle", zd::slot::RenderStyle},
    {"ZDColorRenderDict", zd::slot::RenderDict},
    {"ZDTargetColor", zd::slot::TargetColor},
    {"ZDHairLine", zd::slot::HairLine},
    {"ZDPunch", zd::slot::Punch},
    {"ZDBindPosition", zd::slot::BindPosition},
    {"ZDBlackSubGra", zd::slot::BlackSubGray},
    {"ZDColorICMS", zd::slot::ColorIcms},
    {"ZDCMYKProfile", zd::slot::CmykProfile},
    {"ZDRGBProfile", zd::slot::RgbProfile},
    {"ZDCMYKInputProfile", zd::slot::CmykInputProfile},
    {"ZDCMYKLinkProfile", zd::slot::CmykLinkProfile},
    {"ZDOutProfile", zd::slot::OutProfile},
    {"ZDSimProfile", zd::slot::SimProfile},
    {"ZDPureBlack", zd::slot::PureBlack},
    {"ZDPreserveBlack", zd::slot::PreserveBlack},
    {"ZDColorMatch", zd::slot::ColorMatch},
    {"ZDImageSmoothing", zd::slot::ImageSmoothing},
    {"ZDTrapping", zd::slot::Trapping},
    {"ZDScreenObo", zd::slot::ScreenObo},
};

TEST_F(OptionTree, DemoItemsFillTheirSlotsAndAreHidden) {
    drvhost::TreeOptions selections;
    selections.selections = {{"ZDStaple", "TwoStaples"}, {"ZDPunch", "ThreeHoles"}};
    drvhost::HostOptions options;
    options.document = selections;
    Document(kDemo, options);
    zd::UiContext* ctx = Context();
    ASSERT_NE(ctx, nullptr);
    for (const KeywordSlot& row : kHiddenSlots) {
        int index = Find(row.keyword);
        ASSERT_GE(index, 0) << row.keyword << " is missing from the demo PPD";
        const OPTITEM& item = DocTree().items[size_t(index)];
        EXPECT_EQ(ctx->slots[row.slot], uint32_t(index)) << row.keyword;
        EXPECT_EQ(ctx->selections[row.slot], uint32_t(item.Sel)) << row.keyword;
        EXPECT_TRUE(item.Flags & OPTIF_HIDE) << row.keyword;
    }
    EXPECT_EQ(ctx->selections[zd::slot::Staple], 2u);
    EXPECT_EQ(ctx->selections[zd::slot::Punch], 2u);
    EXPECT_EQ(DocTree().items[size_t(Find("ZDStaple"))].UserItemID, 200);

    // Items known by their public identifiers, item id and name ids.
    EXPECT_EQ(ctx->slots[zd::slot::Orientation], uint32_t(FindPublic(1)));
    EXPECT_EQ(ctx->slots[zd::slot::Scale], uint32_t(FindPublic(2)));
    EXPECT_EQ(ctx->slots[zd::slot::Copies], uint32_t(FindPublic(3)));
    EXPECT_EQ(ctx->slots[zd::slot::Color], uint32_t(FindPublic(6)));
    EXPECT_EQ(ctx->slots[zd::slot::Duplex], uint32_t(FindPublic(7)));
    EXPECT_EQ(ctx->slots[zd::slot::PagesPerSheet], uint32_t(FindPublic(16)));
    int quality = FindPublic(5), resolution = Find("ZDResolution");
    ASSERT_GE(quality, 0);
    ASSERT_GE(resolution, 0);
    EXPECT_EQ(ctx->slots[zd::slot::Resolution], uint32_t(std::max(quality, resolution)));
    for (uint8_t hiddenPublic : {2, 3, 5})
        EXPECT_TRUE(DocTree().items[size_t(FindPublic(hiddenPublic))].Flags & OPTIF_HIDE);
    EXPECT_FALSE(DocTree().items[size_t(FindPublic(1))].Flags & OPTIF_HIDE);
    int output = FindItemId(25);
    ASSERT_GE(output, 0);
    EXPECT_EQ(ctx->slots[zd::slot::PsOutputOption], uint32_t(output));
    EXPECT_EQ(DocTree().items[size_t(output)].UserItemID, BYTE(output & 0xFF));
    int mirror = FindNamed(423, DocTree()), negative = FindNamed(424, DocTree());
    EXPECT_EQ(ctx->slots[zd::slot::Mirror], uint32_t(mirror));
    EXPECT_EQ(ctx->slots[zd::slot::Negative], uint32_t(negative));
    EXPECT_TRUE(DocTree().items[size_t(mirror)].Flags & OPTIF_HIDE);
    EXPECT_EQ(ctx->slots[zd::slot::Compression], 0u); // Compression bit 0 set

    // Never-filled slots stay absent.
    for (int s : {0, 9, 15, zd::slot::Reserved20, zd::slot::CustomCalibration, zd::slot::Reserved23,
                  27, 44, 79})
        EXPECT_EQ(ctx->slots[s], zd::kNoSlot) << s;
    EXPECT_STREQ(ctx->configFilePath, (zdtest::DriverFilesDir() + L"\\zdt_demo.ini").c_str());
}

TEST_F(OptionTree, ToneAndMediaTypeStayVisibleWithHelp) {
    Document(kDemo);
    for (auto [keyword, help] : {std::pair{"ZDTone", 1302u}, std::pair{"ZDMediaType", 414u},
                                 std::pair{"ZDManualFeed", 603u}, std::pair{"TraySwitch", 601u}}) {
        const OPTITEM& item = DocTree().items[size_t(Find(keyword))];
        EXPECT_FALSE(item.Flags & OPTIF_HIDE) << keyword;
        EXPECT_EQ(item.HelpIndex, help) << keyword;
        ASSERT_TRUE(item.Flags & OPTIF_HAS_POIEXT) << keyword;
        ASSERT_NE(item.pOIExt, nullptr);
        EXPECT_EQ(item.pOIExt->cbSize, 56);
        EXPECT_STREQ(item.pOIExt->pHelpFile, (zdtest::DriverFilesDir() + L"\\zdcp95.hlp").c_str());
    }
    // Hidden items without a help row keep the driver's help.
    EXPECT_EQ(DocTree().items[size_t(Find("ZDControl"))].pOIExt, nullptr);
}

TEST_F(OptionTree, TreeWithoutFeatureKeywordsAppliesOnlyPublicAndMarkedItems) {
    Document(kPlain);
    zd::UiContext* ctx = Context();
    ASSERT_NE(ctx, nullptr);
    for (const KeywordSlot& row : kHiddenSlots)
        EXPECT_EQ(ctx->slots[row.slot], zd::kNoSlot) << row.keyword;
    EXPECT_EQ(ctx->slots[zd::slot::Compression], zd::kNoSlot); // bit 0 clear
    ASSERT_NE(ctx->slots[zd::slot::Scale], zd::kNoSlot);

    session_->host().ClearUpdateCalls();
    zd::ApplyWorkingSelections(ctx);
    std::vector<int> expected = {FindPublic(2), FindPublic(3), FindNamed(423, DocTree()),
                                 FindNamed(424, DocTree()), FindPublic(5)};
    EXPECT_EQ(CalledItems(), expected);
}

TEST_F(OptionTree, OutputBinGoesFirstOnlyWithStapleOrPunch) {
    Document(kDemo);
    zd::UiContext* ctx = Context();
    int bin = Find("OutputBin"), staple = Find("ZDStaple"), punch = Find("ZDPunch");
    auto order = [&] {
        std::vector<int> finishing;
        for (int item : CalledItems())
            if (item == bin || item == staple || item == punch)
                finishing.push_back(item);
        return finishing;
    };
    ctx->selections[zd::slot::Staple] = 0;
    ctx->selections[zd::slot::Punch] = 0;
    session_->host().ClearUpdateCalls();
    zd::ApplyWorkingSelections(ctx);
    EXPECT_EQ(order(), (std::vector<int>{staple, punch, bin}));

    ctx->selections[zd::slot::Staple] = 1;
    session_->host().ClearUpdateCalls();
    zd::ApplyWorkingSelections(ctx);
    EXPECT_EQ(order(), (std::vector<int>{bin, staple, punch}));

    ctx->selections[zd::slot::Staple] = 0;
    ctx->selections[zd::slot::Punch] = 2;
    session_->host().ClearUpdateCalls();
    zd::ApplyWorkingSelections(ctx);
    EXPECT_EQ(order(), (std::vector<int>{bin, staple, punch}));
}

TEST_F(OptionTree, WorkingSelectionsReachTheDriverInTheFixedOrder) {
    Document(kDemo);
    zd::UiContext* ctx = Context();
    session_->host().ClearUpdateCalls();
    zd::ApplyWorkingSelections(ctx);
    std::vector<int> expected;
    for (const char* k : {"ZDControl", "ZDSeparationorder", "ZDOverPrint", "ZDProcessMode",
                          "ZDBlackSubstitution", "ZDAlwaysPrnHT", "ZDColorRenderStyle",
                          "ZDColorRenderDict", "ZDTargetColor", "ZDOutputMode"})
        expected.push_back(Find(k));
    expected.push_back(FindPublic(2));
    expected.push_back(Find("ZDJob_Type"));
    expected.push_back(FindPublic(3));
    expected.push_back(Find("ZDCollate"));
    expected.push_back(FindNamed(423, DocTree()));
    expected.push_back(FindNamed(424, DocTree()));
    for (const char* k :
         {"ZDHDDSpool", "ZDDrumClean", "ZDHairLine", "ZDStaple", "ZDPunch", "OutputBin",
          "ZDBindPosition", "ZDBlackSubGra", "ZDColorICMS", "ZDCMYKProfile", "ZDRGBProfile",
          "ZDCMYKInputProfile", "ZDCMYKLinkProfile", "ZDOutProfile", "ZDSimProfile", "ZDPureBlack",
          "ZDPreserveBlack", "ZDColorMatch"})
        expected.push_back(Find(k));
    expected.push_back(int(ctx->slots[zd::slot::Resolution]));
    for (const char* k : {"ZDImageSmoothing", "ZDScreenObo", "ZDTrapping", "ZDOverlay"})
        expected.push_back(Find(k));
    EXPECT_EQ(CalledItems(), expected);
    for (const drvhost::UpdateCall& c : session_->UpdateCalls())
        EXPECT_EQ(c.mode, 1u);
    // The halftone mode is indexed but never applied.
    EXPECT_EQ(std::count(expected.begin(), expected.end(), Find("ZDHalftoneMode")), 0);
}

TEST_F(OptionTree, OverlaySelectionTwoSetsThePostScriptOutputOptionLast) {
    Document(kDemo);
    zd::UiContext* ctx = Context();
    ctx->selections[zd::slot::Overlay] = 2;
    session_->host().ClearUpdateCalls();
    EXPECT_TRUE(zd::ApplyWorkingSelections(ctx));
    const auto& calls = session_->UpdateCalls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[calls.size() - 2].item, Find("ZDOverlay"));
    EXPECT_EQ(calls.back().item, FindItemId(25));
    EXPECT_EQ(calls.back().newSel, 2);
    EXPECT_EQ(DocTree().items[size_t(FindItemId(25))].Sel, 2);

    ctx->selections[zd::slot::Overlay] = 1;
    session_->host().ClearUpdateCalls();
    zd::ApplyWorkingSelections(ctx);
    EXPECT_EQ(session_->UpdateCalls().back().item, Find("ZDOverlay"));
}

TEST_F(OptionTree, RefusedChangesRestoreTheWorkingSelectionAndTheRestStillRun) {
    drvhost::HostOptions options;
    options.refuseUpdates = true;
    Document(kDemo, options);
    zd::UiContext* ctx = Context();
    int collate = Find("ZDCollate");
    LONG before = DocTree().items[size_t(collate)].Sel;
    ctx->selections[zd::slot::Collate] = before == 0 ? 1 : 0;
    uint32_t hidden = DocTree().items[size_t(collate)].Flags & OPTIF_HIDE;
    session_->host().ClearUpdateCalls();
    EXPECT_FALSE(zd::ApplyWorkingSelections(ctx));
    EXPECT_EQ(ctx->selections[zd::slot::Collate], uint32_t(before));
    EXPECT_EQ(DocTree().items[size_t(collate)].Sel, before); // the refused value goes
    EXPECT_TRUE(DocTree().items[size_t(collate)].Flags & OPTIF_CHANGED);
    EXPECT_EQ(DocTree().items[size_t(collate)].Flags & OPTIF_HIDE, hidden);
    // Every call was refused and still the whole order ran, first to last.
    const auto& calls = session_->UpdateCalls();
    ASSERT_FALSE(calls.empty());
    for (const drvhost::UpdateCall& c : calls)
        EXPECT_FALSE(c.answer);
    EXPECT_EQ(calls.front().item, Find("ZDControl"));
    EXPECT_EQ(calls.back().item, Find("ZDOverlay"));
}

// A later call whose help set-up fails leaves no record of an earlier tree.
TEST_F(OptionTree, FailedHelpSetUpDropsTheEarlierRecords) {
    Document(kDemo);
    auto* plugin = static_cast<zd::OemUiPlugin*>(DocTree().param.pOEMUserData);
    ASSERT_NE(plugin, nullptr);
    ASSERT_NE(plugin->documentContext(), nullptr);
    OEMCUIPPARAM later = DocTree().param;
    later.hOEMHeap = nullptr; // no heap to take the configuration path from
    EXPECT_EQ(plugin->CommonUIProp(OEMCUIP_DOCPROP, &later), E_FAIL);
    EXPECT_EQ(plugin->documentContext(), nullptr);

    Device(kDemo);
    plugin = static_cast<zd::OemUiPlugin*>(DevTree().param.pOEMUserData);
    ASSERT_NE(plugin, nullptr);
    ASSERT_NE(plugin->deviceContext(), nullptr);
    later = DevTree().param;
    later.hOEMHeap = nullptr;
    EXPECT_EQ(plugin->CommonUIProp(OEMCUIP_PRNPROP, &later), E_FAIL);
    EXPECT_EQ(plugin->deviceContext(), nullptr);
}

TEST_F(OptionTree, HidePaperNameHidesExactNamesOnly) {
    Document(kHide);
    int form = FindPublic(9);
    ASSERT_GE(form, 0);
    const OPTTYPE* type = DocTree().items[size_t(form)].pOptType;
    ASSERT_NE(type, nullptr);
    std::vector<std::wstring> hidden, shown;
    for (WORD i = 0; i < type->Count; ++i) {
        std::wstring name = type->pOptParam[i].pData;
        (type->pOptParam[i].Flags & OPTPF_HIDE ? hidden : shown).push_back(name);
    }
    EXPECT_EQ(hidden, (std::vector<std::wstring>{L"A4", L"Letter"}));
    EXPECT_NE(std::find(shown.begin(), shown.end(), L"a4"), shown.end());
    EXPECT_NE(std::find(shown.begin(), shown.end(), L"B5"), shown.end());
}

TEST_F(OptionTree, ApplyNowCopiesLayoutSelectionsIntoThePrivateBlock) {
    Document(kDemo);
    zd::UiContext* ctx = Context();
    OEMCUIPPARAM& param = DocTree().param;
    ASSERT_NE(param.OEMCUIPCallback, nullptr);
    DocTree().items[ctx->slots[zd::slot::PagesPerSheet]].Sel = 0x103; // low byte 3
    DocTree().items[ctx->slots[zd::slot::Orientation]].Sel = 1;
    uint8_t* block = static_cast<uint8_t*>(param.pOEMDM);
    zd::ByteView view(block, zd::kOemDevModeSize);
    view.set_u32(zd::dm::kValue12, 42);
    CPSUICBPARAM cb = {};
    cb.cbSize = sizeof(cb);
    cb.Reason = CPSUICB_REASON_APPLYNOW;
    EXPECT_EQ(param.OEMCUIPCallback(&cb, &param), 0);
    EXPECT_EQ(view.u8(zd::dm::kPagesPerSheetSel), 3);
    EXPECT_EQ(view.u8(zd::dm::kOrientationSel), 1);
    EXPECT_EQ(view.u32(zd::dm::kValue12), 42u); // the plug-in has no item of its own
}

TEST_F(OptionTree, DeviceTreeHelpCollapseAndAutoDetectItem) {
    Device(kDemo);
    drvhost::OptionTree& tree = DevTree();
    int root = FindNamed(64798, tree);
    ASSERT_GE(root, 0);
    EXPECT_TRUE(tree.items[size_t(root)].Flags & OPTIF_COLLAPSE);
    struct Row {
        const char* keyword;
        DWORD help;
        BYTE id;
    };
    for (Row r :
         {Row{"ZDHDD", 2205, 3}, Row{"ZDOptionDuplex", 2204, 5}, Row{"ZDOptionTray", 2208, 6},
          Row{"InstalledMemory", 2207, 7}, Row{"ZDFinisher", 2206, 8}, Row{"ZDOptionMPF", 2209, 9},
          Row{"ZDPunchUnit", 2211, 10}}) {
        int i = session_->host().FindItem(tree, r.keyword);
        ASSERT_GE(i, 0) << r.keyword;
        const OPTITEM& item = tree.items[size_t(i)];
        EXPECT_EQ(item.HelpIndex, r.help) << r.keyword;
        EXPECT_EQ(item.UserItemID, r.id) << r.keyword;
        EXPECT_TRUE(item.Flags & OPTIF_HAS_POIEXT);
        EXPECT_FALSE(item.Flags & OPTIF_HIDE);
    }

    ASSERT_EQ(tree.param.cOEMOptItems, 1u);
    const OPTITEM& button = tree.param.pOEMOptItems[0];
    EXPECT_EQ(button.cbSize, 88);
    EXPECT_EQ(button.Level, 2);
    EXPECT_EQ(button.DlgPageIdx, 0);
    EXPECT_EQ(button.Flags & ~OPTIF_HIDE, DWORD(OPTIF_CALLBACK | OPTIF_HAS_POIEXT));
    EXPECT_STREQ(button.pName, L"\u81ea\u52a8\u83b7\u53d6\u53ef\u5b89\u88c5\u9009\u9879(&G)");
    EXPECT_EQ(button.HelpIndex, 2210u);
    EXPECT_EQ(button.UserItemID, 2);
    EXPECT_EQ(button.Sel, 0);
    ASSERT_NE(button.pOptType, nullptr);
    EXPECT_EQ(button.pOptType->cbSize, 48);
    EXPECT_EQ(button.pOptType->Type, TVOT_PUSHBUTTON);
    EXPECT_EQ(button.pOptType->Count, 1);
    EXPECT_EQ(button.pOptType->Style, 0xE0);
    EXPECT_EQ(button.pOptType->BegCtrlID, 1);
    EXPECT_EQ(button.pOptType->pOptParam[0].cbSize, 48);
    EXPECT_EQ(button.pOptType->pOptParam[0].pData, nullptr);
    // The demo model's zdnetext.dll (the simulated printer) lies beside the
    // host and serves every printer: detection is offered.
    EXPECT_FALSE(button.Flags & OPTIF_HIDE);
}

TEST_F(OptionTree, AutoDetectShownOnlyWhenTheNetworkLibraryServesThePrinter) {
    Device(kNet);
    EXPECT_FALSE(DevTree().param.pOEMOptItems[0].Flags & OPTIF_HIDE);
    Device(kNoNet);
    EXPECT_TRUE(DevTree().param.pOEMOptItems[0].Flags & OPTIF_HIDE);
}

TEST_F(OptionTree, NetworkLibraryIsNeverAskedWithACutName) {
    ASSERT_GT(kLongName.size(), 220u);
    Device(kLongName);
    EXPECT_TRUE(DevTree().param.pOEMOptItems[0].Flags & OPTIF_HIDE);
}

TEST_F(OptionTree, NetworkLibraryIsNotLoadedFromTheCurrentDirectory) {
    // A library of the model's name planted beside a document, which the
    // ordinary search would load from the current directory.
    std::wstring planted = g_dir + L"\\" + kPlantedLibrary;
    ASSERT_TRUE(
        CopyFileW((zdtest::ExeDir() + L"\\zdfakenetext.dll").c_str(), planted.c_str(), FALSE));
    WCHAR saved[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, saved);
    ASSERT_TRUE(SetCurrentDirectoryW(g_dir.c_str()));
    HMODULE ordinary = LoadLibraryW(kPlantedLibrary);
    EXPECT_NE(ordinary, nullptr);
    if (ordinary)
        FreeLibrary(ordinary);
    Device(kPlanted);
    SetCurrentDirectoryW(saved);
    EXPECT_TRUE(DevTree().param.pOEMOptItems[0].Flags & OPTIF_HIDE);
    EXPECT_EQ(GetModuleHandleW(kPlantedLibrary), nullptr);
}

TEST_F(OptionTree, DeviceCallbacksWithNothingDetected) {
    Device(kNet);
    OEMCUIPPARAM& param = DevTree().param;
    OPTITEM& button = param.pOEMOptItems[0];
    CPSUICBPARAM cb = {};
    cb.cbSize = sizeof(cb);
    cb.pCurItem = &button;
    session_->host().ClearUpdateCalls();

    cb.Reason = CPSUICB_REASON_SEL_CHANGED; // the button was pressed
    EXPECT_EQ(param.OEMCUIPCallback(&cb, &param), 1);
    EXPECT_TRUE(session_->UpdateCalls().empty());

    cb.Reason = CPSUICB_REASON_OPTITEM_SETFOCUS; // no reachable port
    button.Flags &= ~(OPTIF_DISABLED | OPTIF_CHANGED);
    EXPECT_EQ(param.OEMCUIPCallback(&cb, &param), 0);
    EXPECT_TRUE(button.Flags & OPTIF_DISABLED);
    EXPECT_TRUE(button.Flags & OPTIF_CHANGED);

    cb.Reason = CPSUICB_REASON_SETACTIVE;
    EXPECT_EQ(param.OEMCUIPCallback(&cb, &param), 0);
    EXPECT_TRUE(session_->UpdateCalls().empty());

    cb.pCurItem = &DevTree().items[0]; // another item
    cb.Reason = CPSUICB_REASON_SEL_CHANGED;
    EXPECT_EQ(param.OEMCUIPCallback(&cb, &param), 0);

    button.Sel = 1;
    cb.Reason = CPSUICB_REASON_APPLYNOW;
    EXPECT_EQ(param.OEMCUIPCallback(&cb, &param), 0);
    DWORD type = 0, value = 0, needed = 0;
    ASSERT_EQ(GetPrinterDataW(session_->host().printer(), const_cast<LPWSTR>(L"OEMUI_VALUE"), &type,
                              reinterpret_cast<BYTE*>(&value), sizeof(value), &needed),
              DWORD(ERROR_SUCCESS));
    EXPECT_EQ(type, DWORD(REG_DWORD));
    EXPECT_EQ(value, 1u);
}

TEST_F(OptionTree, DetectedOptionsGoToTheMatchingDeviceItems) {
    Device(kDemo);
    zd::DetectedOptions d;
    d.hardDisk = 1;
    d.duplex = 1;
    d.trays = 3;
    d.memory = 2;
    d.finisher = 1;
    d.multiPurposeFeeder = 1;
    d.punchUnit = 1;
    session_->host().ClearUpdateCalls();
    zd::ApplyDetectedOptions(&DevTree().param, d);
    auto sel = [&](const char* k) {
        return DevTree().items[size_t(session_->host().FindItem(DevTree(), k))].Sel;
    };
    EXPECT_EQ(sel("ZDHDD"), 1);
    EXPECT_EQ(sel("ZDOptionTray"), 3);
    EXPECT_EQ(sel("InstalledMemory"), 2);
    EXPECT_EQ(sel("ZDPunchUnit"), 1);
    EXPECT_EQ(session_->UpdateCalls().size(), 7u);
    for (const drvhost::UpdateCall& c : session_->UpdateCalls())
        EXPECT_EQ(c.mode, 2u);

    // Values beyond an item's options never reach it; the others still do.
    d.trays = 5; // options 0 to 4
    d.memory = 99;
    d.punchUnit = 0;
    session_->host().ClearUpdateCalls();
    zd::ApplyDetectedOptions(&DevTree().param, d);
    EXPECT_EQ(sel("ZDOptionTray"), 3);
    EXPECT_EQ(sel("InstalledMemory"), 2);
    EXPECT_EQ(sel("ZDPunchUnit"), 0);
    EXPECT_EQ(session_->UpdateCalls().size(), 5u);
}

} // namespace
