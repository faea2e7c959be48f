// The Color page and its office colour and advanced photo details in the
// emulated driver's document sheet, over the demo model: what a mode shows,
// what reaches the driver and the private DEVMODE when the page is left,
// the details written back only on OK, the swatch tool, toner save shared
// with the Job Options page, no permission and refused driver updates.
#include "core/byte_view.h"
#include "core/devmode_record.h"
#include "core/oemui_plugin.h"
#include "core/process_state.h"
#include "core/ui_context.h"
#include "drvhost_api.h"
#include "jobopts/maker_link.h"
#include "resources/resource.h"
#include "test_printer.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

using drvhost::HostSession;

constexpr int kJobOptionsPage = 3;
constexpr int kColorPage = 4;
constexpr int kApplyButton = 0x3021;
const wchar_t kPrinter[] = L"zd color page";
const wchar_t kDriver[] = L"ZD Color Page";
const wchar_t kBare[] = L"zd color bare"; // no colour setting store, no swatch tool
const wchar_t kBareDriver[] = L"ZD Color Bare";
const wchar_t kSwatchKey[] = L"SOFTWARE\\Zed\\ColorPageTestSwatch";

std::string Str(const std::wstring& w) {
    return std::string(w.begin(), w.end());
}

std::wstring ModelCap(const std::wstring& driver, const std::wstring& extra) {
    return L"[Capability]\r\n" + driver + L"=ZED_COLOR\r\n[ZED_COLOR]\r\nCompression=1281\r\n" +
           L"TabLinkName=www.zed.example\r\n" + extra;
}

void Install(const std::wstring& dir, const wchar_t* printer, const wchar_t* driver,
             const std::wstring& capName, const std::wstring& extra) {
    std::wstring cap = dir + L"\\" + capName;
    ASSERT_TRUE(zdtest::WriteTextFile(cap, ModelCap(driver, extra)));
    zdtest::PrinterSpec spec = zdtest::DemoPrinterSpec(printer);
    spec.driverName = driver;
    for (std::wstring& f : spec.dependentFiles)
        if (f.size() > 4 && f.compare(f.size() - 4, 4, L".cap") == 0)
            f = cap;
    std::wstring error;
    ASSERT_TRUE(zdtest::InstallPrinter(spec, &error)) << Str(error);
}

void SetSwatchValue(DWORD type, const void* data, DWORD bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSwatchKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, L"install", 0, type, static_cast<const BYTE*>(data), bytes);
    RegCloseKey(key);
}

std::vector<std::string> WaitForLines(const std::wstring& path, size_t count) {
    std::vector<std::string> lines;
    for (int i = 0; i < 200 && lines.size() < count; ++i) {
        lines.clear();
        std::string text = drvhost::ReadWholeFile(path);
        for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
             start = end + 1)
            lines.push_back(text.substr(start, end - start));
        if (lines.size() < count)
            Sleep(50);
    }
    return lines;
}

struct State {
    bool shown, enabled, checked;
};
State StateOf(HWND w, int id) {
    return {drvhost::IsShown(w, id), drvhost::IsEnabled(w, id), drvhost::IsChecked(w, id)};
}
LRESULT Choice(HWND w, int id) {
    return SendDlgItemMessageW(w, id, CB_GETCURSEL, 0, 0);
}

class ColorPage : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        zd::Process().moduleInstance = GetModuleHandleW(nullptr);
        dir_ = zdtest::MakeTempDir(L"colorpage");
        ASSERT_FALSE(dir_.empty());
        Install(dir_, kPrinter, kDriver, L"zdcolor_page.cap",
                L"CCMInfoFile=zdccm.ini\r\nSwatchRegPath=" + std::wstring(kSwatchKey) + L"\r\n");
        Install(dir_, kBare, kBareDriver, L"zdcolor_bare.cap", L"");
    }

    void Open(drvhost::HostOptions options = {}, const wchar_t* printer = kPrinter) {
        plugin_ = new zd::OemUiPlugin();
        session_ = std::make_unique<HostSession>(std::move(options));
        std::wstring error;
        ASSERT_TRUE(session_->host().Attach(plugin_, &error)) << Str(error);
        ASSERT_TRUE(session_->OpenDocumentSheet(printer, &error)) << Str(error);
        // Both pages of the plug-in made, as a user who looked at both.
        ASSERT_TRUE(session_->GoToPage(kJobOptionsPage));
        ASSERT_TRUE(session_->GoToPage(kColorPage));
        session_->host().ClearUpdateCalls();
        blockAtOpen_ = session_->PrivateBlock();
    }
    void Close() {
        if (session_ && session_->sheet())
            session_->sheet()->Close();
        if (plugin_)
            plugin_->Release();
        plugin_ = nullptr;
        session_.reset();
    }
    void TearDown() override { Close(); }

    zd::UiContext& Ctx() { return *plugin_->documentContext(); }
    bool ApplyEnabled() {
        return IsWindowEnabled(GetDlgItem(session_->sheetWindow(), kApplyButton)) != FALSE;
    }
    // The option name the driver's item of a feature has chosen.
    std::wstring Chosen(const char* feature) {
        const OPTITEM* item = session_->Item(feature);
        if (!item || item->Sel < 0 || item->Sel >= item->pOptType->Count)
            return L"(none)";
        return item->pOptType->pOptParam[item->Sel].pData;
    }
    // Presses a button of the page and runs `act` in the dialog it opens,
    // which `close` then closes.
    bool RunDialog(int button, std::function<void(HWND)> act, WPARAM close) {
        bool opened = false;
        drvhost::AnswerNextDialog([&](HWND dlg) {
            opened = true;
            ShowWindow(dlg, SW_SHOWNORMAL);
            act(dlg);
            SendMessageW(dlg, WM_COMMAND, close, 0);
        });
        session_->Click(button);
        if (!opened)
            drvhost::ForgetDialogAnswers();
        return opened;
    }
    std::wstring MessageOfClick(int button) {
        std::wstring text;
        drvhost::AnswerNextDialog([&](HWND box) {
            WCHAR caption[32] = {};
            GetWindowTextW(box, caption, 32);
            text = std::wstring(caption) + L": " + drvhost::MessageBoxText(box);
            SendMessageW(box, WM_COMMAND, IDOK, 0);
        });
        session_->Click(button);
        drvhost::ForgetDialogAnswers();
        return text;
    }

    static std::wstring dir_;
    zd::OemUiPlugin* plugin_ = nullptr;
    std::unique_ptr<HostSession> session_;
    std::vector<uint8_t> blockAtOpen_;
};

std::wstring ColorPage::dir_;

const char* const kModeKeywords[] = {"Auto", "Office", "Photo", "NoMatching", "Gray"};

TEST_F(ColorPage, OpensInTheDocumentsModeWithWhatThatModeOffers) {
    for (int mode = 0; mode < 5; ++mode) {
        drvhost::HostOptions options;
        options.document.selections["ZDControl"] = kModeKeywords[mode];
        Open(options);
        HostSession& s = *session_;
        for (int radio = 0; radio < 5; ++radio)
            EXPECT_EQ(s.Checked(IDC_COLOR_MODE_AUTO + radio), radio == mode) << mode;
        EXPECT_EQ(s.Enabled(IDC_COLOR_OFFICE_DETAILS), mode == 1) << mode;
        EXPECT_EQ(s.Enabled(IDC_COLOR_PHOTO_DETAILS), mode == 2) << mode;
        EXPECT_EQ(s.Enabled(IDC_COLOR_TONER_SAVE), mode != 4) << mode;
        EXPECT_TRUE(s.Enabled(IDC_LINK_LOGO));
        EXPECT_TRUE(s.Enabled(IDC_COLOR_SWATCH));
        // The driver has no custom calibration item.
        EXPECT_FALSE(s.Exists(IDC_COLOR_CALIBRATION_LABEL) || s.Exists(IDC_COLOR_CALIBRATION));
        EXPECT_FALSE(ApplyEnabled());
        Close();
    }
    EXPECT_NE(zd::Process().sheetFlags & zd::kSheetPageInitialised, 0u);
}

// A picture selects its mode as the radio button does; the driver hears of
// it when the page is left, and a reopened document shows it again.
// Defaults goes back to Auto but keeps the details.
TEST_F(ColorPage, ModeReachesTheDriverAndComesBackAfterReopening) {
    Open();
    ASSERT_TRUE(session_->Click(IDC_COLOR_PICTURE_PHOTO));
    EXPECT_TRUE(session_->Checked(IDC_COLOR_MODE_PHOTO));
    EXPECT_TRUE(session_->Enabled(IDC_COLOR_PHOTO_DETAILS));
    EXPECT_TRUE(ApplyEnabled());
    EXPECT_TRUE(session_->UpdateCalls().empty());
    ASSERT_TRUE(session_->GoToPage(kJobOptionsPage));
    EXPECT_EQ(session_->ItemSel("ZDControl"), 2);
    ASSERT_TRUE(session_->PressOk());
    const auto& results = session_->sheet()->setResults();
    EXPECT_EQ(std::count_if(results.begin(), results.end(),
                            [](const drvhost::SetResultCall& r) { return r.page == kColorPage; }),
              1);

    drvhost::HostOptions options;
    options.document.selections["ZDControl"] = "Photo";
    options.storedBlock = session_->PrivateBlock();
    Close();
    Open(options);
    EXPECT_TRUE(session_->Checked(IDC_COLOR_MODE_PHOTO));
    Ctx().selections[zd::slot::ColorIcms] = 2;
    ASSERT_TRUE(session_->Click(IDC_DEFAULTS));
    EXPECT_TRUE(session_->Checked(IDC_COLOR_MODE_AUTO));
    ASSERT_TRUE(session_->GoToPage(kJobOptionsPage));
    EXPECT_EQ(session_->ItemSel("ZDControl"), 0);
    EXPECT_EQ(session_->ItemSel("ZDColorICMS"), 2);
}

TEST_F(ColorPage, RefusedDriverUpdatesRestoreTheMode) {
    drvhost::HostOptions options;
    options.refuseUpdates = true;
    Open(options);
    ASSERT_TRUE(session_->Click(IDC_COLOR_MODE_OFFICE));
    // Through the driver's own page, whose leaving hands nothing over.
    ASSERT_TRUE(session_->GoToPage(drvhost::kTreePageIndex));
    EXPECT_EQ(session_->UpdateCalls().empty(), false);
    ASSERT_TRUE(session_->GoToPage(kColorPage));
    EXPECT_EQ(Ctx().selections[zd::slot::ColorControl], 0u);
    EXPECT_TRUE(session_->Checked(IDC_COLOR_MODE_AUTO));
    EXPECT_FALSE(session_->Checked(IDC_COLOR_MODE_OFFICE));
    EXPECT_FALSE(session_->Enabled(IDC_COLOR_OFFICE_DETAILS));
}

TEST_F(ColorPage, TheTwoTonerSaveBoxesAgree) {
    Open();
    ASSERT_TRUE(session_->Click(IDC_COLOR_TONER_SAVE));
    ASSERT_TRUE(session_->GoToPage(kJobOptionsPage));
    EXPECT_EQ(Chosen("ZDOutputMode"), L"On");
    EXPECT_TRUE(session_->Checked(IDC_JO_TONER_SAVE));
    ASSERT_TRUE(session_->Click(IDC_JO_TONER_SAVE));
    ASSERT_TRUE(session_->GoToPage(kColorPage));
    EXPECT_EQ(Chosen("ZDOutputMode"), L"Off");
    EXPECT_FALSE(session_->Checked(IDC_COLOR_TONER_SAVE));
    ASSERT_TRUE(session_->Click(IDC_COLOR_MODE_GRAYSCALE));
    EXPECT_FALSE(session_->Enabled(IDC_COLOR_TONER_SAVE));
}

TEST_F(ColorPage, WithoutPermissionOnlyTheLinkStaysUsable) {
    drvhost::HostOptions options;
    options.pageFlags = DM_NOPERMISSION;
    options.document.selections["ZDControl"] = "Office";
    Open(options);
    for (int id = IDC_COLOR_PICTURE_AUTO; id <= IDC_COLOR_MODE_GROUP; ++id)
        EXPECT_FALSE(session_->Enabled(id)) << id;
    for (int id : {IDC_COLOR_ADVANCED, IDC_COLOR_TONER_SAVE, IDC_DEFAULTS})
        EXPECT_FALSE(session_->Enabled(id)) << id;
    EXPECT_TRUE(session_->Enabled(IDC_LINK_LOGO));
}

// The link font goes whenever the page is left and comes back with it; after
// Apply (kill-active, then apply) the sheet activates the page again and it
// is a live font, not a deleted one. A sheet without a font lends the
// default GUI font's size.
TEST_F(ColorPage, LinkFontIsDeletedOnLeavingAndMadeAgain) {
    Open();
    ASSERT_EQ(GetObjectType(zd::Process().linkFont), DWORD(OBJ_FONT));
    ASSERT_TRUE(session_->GoToPage(drvhost::kTreePageIndex));
    EXPECT_EQ(zd::Process().linkFont, nullptr);
    ASSERT_TRUE(session_->GoToPage(kColorPage));
    ASSERT_TRUE(session_->Click(IDC_COLOR_MODE_OFFICE));
    ASSERT_TRUE(session_->PressApply());
    EXPECT_EQ(GetObjectType(zd::Process().linkFont), DWORD(OBJ_FONT));

    HWND fontless =
        CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND page =
        CreateWindowW(L"STATIC", L"", WS_CHILD, 0, 0, 5, 5, fontless, nullptr, nullptr, nullptr);
    zd::DeleteLinkFont();
    LOGFONTW link = {}, gui = {};
    ASSERT_TRUE(GetObjectW(zd::EnsureLinkFont(page), sizeof link, &link));
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
    DestroyWindow(fontless);
    EXPECT_EQ(link.lfHeight, gui.lfHeight);
    EXPECT_STREQ(link.lfFaceName, L"Verdana");
    EXPECT_TRUE(link.lfUnderline);
}

// Missing key, a value that is no string and a folder too long for the
// path give the message; a folder stored without its terminator, plain or
// with environment strings, starts the tool.
TEST_F(ColorPage, SwatchToolMissingOrFound) {
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, kSwatchKey);
    Open();
    const std::wstring missing =
        L"错误: 本操作需要颜色样本打印工具。请安装颜色样本打印工具后进行此操作。";
    EXPECT_EQ(MessageOfClick(IDC_COLOR_SWATCH), missing);
    DWORD number = 1;
    SetSwatchValue(REG_DWORD, &number, sizeof number);
    EXPECT_EQ(MessageOfClick(IDC_COLOR_SWATCH), missing);
    std::wstring tooLong(1013, L'a');
    SetSwatchValue(REG_SZ, tooLong.c_str(), DWORD(tooLong.size() * 2));
    EXPECT_EQ(MessageOfClick(IDC_COLOR_SWATCH), missing);

    std::wstring folder = dir_ + L"\\swatch tool";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW((zdtest::ExeDir() + L"\\zdopenmarker.exe").c_str(),
                          (folder + L"\\swatch.exe").c_str(), FALSE));
    std::wstring marker = dir_ + L"\\swatch_opened.txt";
    DeleteFileW(marker.c_str());
    SetEnvironmentVariableW(L"ZD_OPEN_MARKER", marker.c_str());
    SetEnvironmentVariableW(L"ZD_SWATCH_DIR", folder.c_str());
    // Stored without its terminator: a unit follows that is not NUL.
    const std::wstring unterminated = folder + L"X";
    SetSwatchValue(REG_SZ, unterminated.c_str(), DWORD(folder.size() * 2));
    EXPECT_EQ(MessageOfClick(IDC_COLOR_SWATCH), L"");
    const std::wstring expandable = L"%ZD_SWATCH_DIR%";
    SetSwatchValue(REG_EXPAND_SZ, expandable.c_str(), DWORD((expandable.size() + 1) * 2));
    EXPECT_EQ(MessageOfClick(IDC_COLOR_SWATCH), L"");
    std::vector<std::string> lines = WaitForLines(marker, 2);
    ASSERT_EQ(lines.size(), 2u);
    for (const std::string& line : lines)
        EXPECT_NE(line.find("swatch tool\\swatch.exe"), std::string::npos) << line;
}

// Office colour details: a user setting ticked and chosen reaches the
// private block only on OK, with its word and both data blocks.
TEST_F(ColorPage, OfficeUserSettingReachesThePrivateBlockOnlyOnOk) {
    drvhost::HostOptions options;
    options.document.selections["ZDControl"] = "Office";
    Open(options);
    State list{}, styles{};
    auto chooseGamma22 = [&](HWND dlg) {
        EXPECT_FALSE(drvhost::IsEnabled(dlg, IDC_OC_USER_SETTING));
        drvhost::ClickControl(dlg, IDC_OC_USER_SETTING_CHECK);
        list = StateOf(dlg, IDC_OC_USER_SETTING);
        styles = StateOf(dlg, IDC_OC_RENDER_STYLE);
        drvhost::SelectComboEntry(dlg, IDC_OC_USER_SETTING, 3); // "Gamma 2.2", id 3
        drvhost::SelectComboEntry(dlg, IDC_OC_TARGET_COLOR, 2);
        drvhost::ClickControl(dlg, IDC_OC_BLACK_COMPOSITE);
    };
    ASSERT_TRUE(RunDialog(IDC_COLOR_OFFICE_DETAILS, chooseGamma22, IDCANCEL));
    EXPECT_TRUE(list.enabled);
    EXPECT_FALSE(styles.enabled);
    EXPECT_FALSE(ApplyEnabled());
    ASSERT_TRUE(session_->GoToPage(kJobOptionsPage));
    EXPECT_EQ(session_->PrivateBlock(), blockAtOpen_);
    EXPECT_EQ(Chosen("ZDTargetColor"), L"Standard");

    ASSERT_TRUE(session_->GoToPage(kColorPage));
    ASSERT_TRUE(RunDialog(IDC_COLOR_OFFICE_DETAILS, chooseGamma22, IDOK));
    EXPECT_TRUE(ApplyEnabled());
    ASSERT_TRUE(session_->GoToPage(kJobOptionsPage));
    std::vector<uint8_t> block = session_->PrivateBlock();
    zd::ByteView d(block.data(), block.size());
    EXPECT_EQ(d.u32(zd::dm::kColorSetting), 0x10103u);
    EXPECT_EQ(d.u16(zd::dm::kColorData1Count), 51);
    EXPECT_EQ(std::vector<uint8_t>(&block[zd::dm::kColorData1], &block[zd::dm::kColorData1 + 3]),
              (std::vector<uint8_t>{0x00, 0x15, 0x27}));
    EXPECT_EQ(d.u16(zd::dm::kColorData2Count), 9);
    EXPECT_EQ(std::vector<uint8_t>(&block[zd::dm::kColorData2], &block[zd::dm::kColorData2 + 5]),
              (std::vector<uint8_t>{0x40, 0, 0, 0, 0x40}));
    EXPECT_EQ(Chosen("ZDTargetColor"), L"Euroscale");
    EXPECT_EQ(Chosen("ZDBlackSubstitution"), L"Composite Black");

    // Defaults: entry 0 everywhere, automatic black, the user setting off.
    bool boxChecked = true;
    LRESULT target = -2;
    ASSERT_TRUE(session_->GoToPage(kColorPage));
    ASSERT_TRUE(RunDialog(
        IDC_COLOR_OFFICE_DETAILS,
        [&](HWND dlg) {
            drvhost::ClickControl(dlg, IDC_DEFAULTS);
            boxChecked = drvhost::IsChecked(dlg, IDC_OC_USER_SETTING_CHECK);
            target = Choice(dlg, IDC_OC_TARGET_COLOR);
            EXPECT_TRUE(drvhost::IsChecked(dlg, IDC_OC_BLACK_AUTO));
        },
        IDOK));
    EXPECT_FALSE(boxChecked);
    EXPECT_EQ(target, 0);
    EXPECT_EQ(Ctx().selections[zd::slot::ColorSettingWord], 0x0001u); // the store has no id 0
}

// A stored word naming a setting the store no longer has: the first one,
// with the user setting off.
TEST_F(ColorPage, OfficeWordNamingNoSettingFallsBackToTheFirst) {
    Open();
    std::vector<uint8_t> stored = blockAtOpen_;
    zd::ByteView(stored.data(), stored.size()).set_u32(zd::dm::kColorSetting, 0x10063);
    drvhost::HostOptions options;
    options.document.selections["ZDControl"] = "Office";
    options.storedBlock = stored;
    Close();
    Open(options);
    State box{};
    LRESULT entry = -2;
    ASSERT_TRUE(RunDialog(
        IDC_COLOR_OFFICE_DETAILS,
        [&](HWND dlg) {
            box = StateOf(dlg, IDC_OC_USER_SETTING_CHECK);
            entry = Choice(dlg, IDC_OC_USER_SETTING);
        },
        IDOK));
    EXPECT_TRUE(box.enabled);
    EXPECT_FALSE(box.checked);
    EXPECT_EQ(entry, 0);
    ASSERT_TRUE(session_->GoToPage(kJobOptionsPage));
    std::vector<uint8_t> block = session_->PrivateBlock();
    EXPECT_EQ(zd::ByteView(block.data(), block.size()).u32(zd::dm::kColorSetting), 0x0001u);
}

// A model without a store: no swatch button, an empty user setting list
// with the box disabled, and no setting in the word.
TEST_F(ColorPage, ModelWithoutColourSettingFile) {
    drvhost::HostOptions options;
    options.document.selections["ZDControl"] = "Office";
    Open(options, kBare);
    EXPECT_FALSE(session_->Exists(IDC_COLOR_SWATCH));
    State box{};
    LRESULT entries = -1;
    ASSERT_TRUE(RunDialog(
        IDC_COLOR_OFFICE_DETAILS,
        [&](HWND dlg) {
            box = StateOf(dlg, IDC_OC_USER_SETTING_CHECK);
            entries = SendDlgItemMessageW(dlg, IDC_OC_USER_SETTING, CB_GETCOUNT, 0, 0);
        },
        IDOK));
    EXPECT_EQ(entries, 0);
    EXPECT_FALSE(box.enabled || box.checked);
    EXPECT_EQ(Ctx().selections[zd::slot::ColorSettingWord], 0xFFFFu);
}

// Lists of items the driver lacks (an empty slot, or one pointing past the
// driver's items) stay empty and disabled, and "no entry" is never stored.
TEST_F(ColorPage, DetailListsOfMissingItemsStayEmptyAndStoreNothing) {
    drvhost::HostOptions options;
    options.document.selections["ZDControl"] = "Office";
    Open(options);
    zd::UiContext& ctx = Ctx();
    ctx.slots[zd::slot::TargetColor] = ctx.treeParam->cDrvOptItems + 3;
    ctx.selections[zd::slot::TargetColor] = 1;
    ctx.selections[zd::slot::RenderStyle] = 9; // no such option: no entry chosen
    State target{};
    LRESULT targetEntries = -1;
    ASSERT_TRUE(RunDialog(
        IDC_COLOR_OFFICE_DETAILS,
        [&](HWND dlg) {
            target = StateOf(dlg, IDC_OC_TARGET_COLOR);
            targetEntries = SendDlgItemMessageW(dlg, IDC_OC_TARGET_COLOR, CB_GETCOUNT, 0, 0);
            EXPECT_EQ(Choice(dlg, IDC_OC_RENDER_STYLE), CB_ERR);
        },
        IDOK));
    EXPECT_EQ(targetEntries, 0);
    EXPECT_FALSE(target.enabled);
    EXPECT_EQ(ctx.selections[zd::slot::TargetColor], 1u);
    EXPECT_EQ(ctx.selections[zd::slot::RenderStyle], 9u);

    ASSERT_TRUE(session_->Click(IDC_COLOR_MODE_PHOTO));
    ctx.slots[zd::slot::RgbProfile] = zd::kNoSlot;
    ctx.selections[zd::slot::RgbProfile] = 1;
    State rgb{};
    ASSERT_TRUE(RunDialog(
        IDC_COLOR_PHOTO_DETAILS, [&](HWND dlg) { rgb = StateOf(dlg, IDC_AP_RGB_PROFILE); }, IDOK));
    EXPECT_TRUE(rgb.shown);
    EXPECT_FALSE(rgb.enabled);
    EXPECT_EQ(ctx.selections[zd::slot::RgbProfile], 1u);
}

// Advanced photo details: each method shows its own controls; Defaults
// and Cancel change nothing in the record.
TEST_F(ColorPage, PhotoMethodsShowTheirControlsAndDefaultsResetThem) {
    drvhost::HostOptions options;
    options.document.selections["ZDControl"] = "Photo";
    options.document.selections["ZDOutProfile"] = "Photo";
    Open(options);
    std::vector<uint32_t> before(std::begin(Ctx().selections), std::end(Ctx().selections));
    auto shown = [](HWND dlg, std::initializer_list<int> ids) {
        std::string out;
        for (int id : ids)
            out += drvhost::IsShown(dlg, id) ? '1' : '0';
        return out;
    };
    const auto below = {IDC_AP_RGB_PROFILE, IDC_AP_CMYK_INPUT_PROFILE, IDC_AP_CMYK_LINK_PROFILE,
                        IDC_AP_SIM_PROFILE, IDC_AP_OUTPUT_PROFILE,     IDC_AP_KEEP_BLACK,
                        IDC_AP_ARROW_RGB,   IDC_AP_ARROW_CMYK,         IDC_AP_ARROW_DOWN,
                        IDC_AP_ARROW_LINK};
    std::vector<std::string> seen;
    State cmykInput{}, keepBlack{}, link{}, intent{};
    LRESULT precision = -1;
    ASSERT_TRUE(RunDialog(
        IDC_COLOR_PHOTO_DETAILS,
        [&](HWND dlg) {
            seen.push_back(shown(dlg, below)); // ICC, CMYK input profile
            drvhost::ClickControl(dlg, IDC_AP_CMYK_LINK_CHOICE);
            seen.push_back(shown(dlg, below));
            cmykInput = StateOf(dlg, IDC_AP_CMYK_INPUT_PROFILE);
            keepBlack = StateOf(dlg, IDC_AP_KEEP_BLACK);
            link = StateOf(dlg, IDC_AP_CMYK_LINK_PROFILE);
            drvhost::ClickControl(dlg, IDC_AP_METHOD_EMULATION);
            seen.push_back(shown(dlg, below));
            drvhost::ClickControl(dlg, IDC_AP_METHOD_CREATE);
            seen.push_back(shown(dlg, below));
            drvhost::ClickControl(dlg, IDC_AP_METHOD_APPLICATION);
            drvhost::ClickControl(dlg, IDC_DEFAULTS);
            seen.push_back(shown(dlg, below));
            intent = StateOf(dlg, IDC_AP_INTENT);
            precision = SendDlgItemMessageW(dlg, IDC_AP_PRECISION, TBM_GETPOS, 0, 0);
            EXPECT_TRUE(drvhost::IsChecked(dlg, IDC_AP_METHOD_ICC));
        },
        IDCANCEL));
    EXPECT_EQ(seen, (std::vector<std::string>{"1110111100", "1110111001", "1001110110",
                                              "0000000000", "1110111100"}));
    EXPECT_FALSE(cmykInput.enabled || keepBlack.enabled);
    EXPECT_TRUE(link.enabled);
    EXPECT_FALSE(intent.enabled); // output profile entry 0 after Defaults
    EXPECT_EQ(precision, 2);
    EXPECT_EQ(std::vector<uint32_t>(std::begin(Ctx().selections), std::end(Ctx().selections)),
              before);
}

// Pure black and keep black are ticked at selection 0: what the user ticks
// reaches the driver as the matching "On" or "Off" option.
TEST_F(ColorPage, PhotoBlackBoxesReachTheDriverInverted) {
    drvhost::HostOptions options;
    options.document.selections["ZDControl"] = "Photo";
    Open(options);
    ASSERT_EQ(Chosen("ZDPureBlack"), L"On");
    ASSERT_EQ(Chosen("ZDPreserveBlack"), L"Off");
    bool pureTicked = false, keepTicked = true;
    ASSERT_TRUE(RunDialog(
        IDC_COLOR_PHOTO_DETAILS,
        [&](HWND dlg) {
            pureTicked = drvhost::IsChecked(dlg, IDC_AP_PURE_BLACK);
            keepTicked = drvhost::IsChecked(dlg, IDC_AP_KEEP_BLACK);
            drvhost::ClickControl(dlg, IDC_AP_PURE_BLACK);
            drvhost::ClickControl(dlg, IDC_AP_KEEP_BLACK);
            HWND bar = GetDlgItem(dlg, IDC_AP_PRECISION);
            SendMessageW(bar, TBM_SETPOS, TRUE, 0);
            SendMessageW(dlg, WM_HSCROLL, TB_ENDTRACK, reinterpret_cast<LPARAM>(bar));
        },
        IDOK));
    EXPECT_TRUE(pureTicked);
    EXPECT_FALSE(keepTicked);
    EXPECT_TRUE(ApplyEnabled());
    ASSERT_TRUE(session_->GoToPage(kJobOptionsPage));
    EXPECT_EQ(Chosen("ZDPureBlack"), L"Off");
    EXPECT_EQ(Chosen("ZDPreserveBlack"), L"On");
    EXPECT_EQ(Chosen("ZDColorMatch"), L"Fast");
}

TEST_F(ColorPage, OthersDialogOpensFromThePage) {
    Open();
    std::wstring caption;
    ASSERT_TRUE(RunDialog(
        IDC_COLOR_ADVANCED,
        [&](HWND dlg) {
            WCHAR text[32] = {};
            GetWindowTextW(dlg, text, 32);
            caption = text;
        },
        IDOK));
    EXPECT_EQ(caption, L"其他");
    EXPECT_TRUE(ApplyEnabled());
}

} // namespace
