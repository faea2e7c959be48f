// The Color page and its office colour and advanced photo details in the
// emulated driver's document sheet: what a mode shows, what reaches the
// driver and the private DEVMODE when the page is left, details written back
// only on OK, the swatch tool, toner save shared with the Job Options page,
// no permission and refused driver updates.
#include "core/byte_view.h"
#include "core/devmode_record.h"
#include "plugin/oemui_plugin.h"
#include "core/process_state.h"
#include "core/ui_context.h"
#include "drvhost_api.h"
#include "ui/maker_link.h"
#include "resources/resource.h"
#include "plugin_sheet_test.h"
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
constexpr int kColorPage = 5; // after the Finishing page
const wchar_t kPrinter[] = L"zd color page";
const wchar_t kBare[] = L"zd color bare"; // no colour setting store, no swatch tool
const wchar_t kSwatchKey[] = L"SOFTWARE\\Zed\\ColorPageTestSwatch";
const wchar_t kNoTool[] = L"错误: 本操作需要颜色样本打印工具。请安装颜色样本打印工具后进行此操作。";

std::string Str(const std::wstring& w) {
    return std::string(w.begin(), w.end());
}

// The demo model under a driver of its own, with its own model section.
void Install(const std::wstring& dir, const wchar_t* printer, const std::wstring& driver,
             const std::wstring& capName, const std::wstring& extra) {
    std::wstring cap = dir + L"\\" + capName;
    ASSERT_TRUE(zdtest::WriteTextFile(cap, L"[Capability]\r\n" + driver + L"=ZED_COLOR\r\n" +
                                               L"[ZED_COLOR]\r\nTabLinkName=www.zed.example\r\n" +
                                               extra));
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

// The shell starts the tool on its own: wait for the lines it writes.
size_t WaitForLines(const std::wstring& path, size_t count, std::string* text) {
    for (int i = 0; i < 200; ++i) {
        *text = drvhost::ReadWholeFile(path);
        if (size_t(std::count(text->begin(), text->end(), '\n')) >= count)
            break;
        Sleep(50);
    }
    return size_t(std::count(text->begin(), text->end(), '\n'));
}

LRESULT Choice(HWND dlg, int id) {
    return SendDlgItemMessageW(dlg, id, CB_GETCURSEL, 0, 0);
}
LRESULT Entries(HWND dlg, int id) {
    return SendDlgItemMessageW(dlg, id, CB_GETCOUNT, 0, 0);
}

class ColorPage : public zdtest::PluginSheetTest {
  protected:
    static void SetUpTestSuite() {
        zd::Process().moduleInstance = GetModuleHandleW(nullptr);
        dir_ = zdtest::MakeTempDir(L"colorpage");
        ASSERT_FALSE(dir_.empty());
        Install(dir_, kPrinter, L"ZD Color Page", L"zdcolor_page.cap",
                L"CCMInfoFile=zdccm.ini\r\nSwatchRegPath=" + std::wstring(kSwatchKey) + L"\r\n");
        Install(dir_, kBare, L"ZD Color Bare", L"zdcolor_bare.cap", L"");
    }

    // Opens the sheet in colour mode `mode` (a ZDControl keyword) and looks
    // at both pages of the plug-in, ending on the Color page.
    void Open(const char* mode = "Auto", drvhost::HostOptions options = {},
              const wchar_t* printer = kPrinter) {
        options.document.selections["ZDControl"] = mode;
        StartSession(std::move(options));
        std::wstring error;
        ASSERT_TRUE(session_->OpenDocumentSheet(printer, &error)) << Str(error);
        ASSERT_TRUE(session_->GoToPage(kJobOptionsPage));
        ASSERT_TRUE(session_->GoToPage(kColorPage));
        session_->host().ClearUpdateCalls();
        blockAtOpen_ = session_->PrivateBlock();
    }
    bool ApplyEnabled() { return IsWindowEnabled(GetDlgItem(session_->sheetWindow(), 0x3021)); }
    uint32_t StoredWord() {
        std::vector<uint8_t> block = session_->PrivateBlock();
        return zd::ByteView(block.data(), block.size()).u32(zd::dm::kColorSetting);
    }
    // The option name the driver's item of a feature has chosen.
    std::wstring Chosen(const char* feature) {
        const OPTITEM* item = session_->Item(feature);
        if (!item || item->Sel < 0 || item->Sel >= item->pOptType->Count)
            return L"(none)";
        return item->pOptType->pOptParam[item->Sel].pData;
    }
    // Presses a button of the page; `act` runs in the dialog it opens,
    // which `close` then closes.
    void InDialog(int button, WPARAM close, std::function<void(HWND)> act) {
        bool opened = false;
        drvhost::AnswerNextDialog([&](HWND dlg) {
            opened = true;
            ShowWindow(dlg, SW_SHOWNORMAL);
            act(dlg);
            SendMessageW(dlg, WM_COMMAND, close, 0);
        });
        session_->Click(button);
        drvhost::ForgetDialogAnswers();
        EXPECT_TRUE(opened) << "button " << button;
    }
    // "caption: text" of the message box a click shows; empty for none.
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
    std::vector<uint8_t> blockAtOpen_;
};

std::wstring ColorPage::dir_;

TEST_F(ColorPage, OpensInTheDocumentsModeWithWhatThatModeOffers) {
    const char* const modes[] = {"Auto", "Office", "Photo", "NoMatching", "Gray"};
    for (int mode = 0; mode < 5; ++mode) {
        Open(modes[mode]);
        HostSession& s = *session_;
        for (int radio = 0; radio < 5; ++radio)
            EXPECT_EQ(s.Checked(IDC_COLOR_MODE_AUTO + radio), radio == mode) << mode;
        EXPECT_EQ(s.Enabled(IDC_COLOR_OFFICE_DETAILS), mode == 1) << mode;
        EXPECT_EQ(s.Enabled(IDC_COLOR_PHOTO_DETAILS), mode == 2) << mode;
        EXPECT_EQ(s.Enabled(IDC_COLOR_TONER_SAVE), mode != 4) << mode;
        EXPECT_TRUE(s.Enabled(IDC_LINK_LOGO) && s.Enabled(IDC_COLOR_SWATCH));
        // The driver has no custom calibration item.
        EXPECT_FALSE(s.Exists(IDC_COLOR_CALIBRATION_LABEL) || s.Exists(IDC_COLOR_CALIBRATION));
        EXPECT_FALSE(ApplyEnabled());
        EndSession();
    }
}

// A picture chooses its mode as the radio button does; the driver hears of
// it when the page is left and a reopened document shows it again. Defaults
// goes back to Auto and keeps the details.
TEST_F(ColorPage, ModeReachesTheDriverAndComesBackAfterReopening) {
    Open();
    ASSERT_TRUE(session_->Click(IDC_COLOR_PICTURE_PHOTO));
    EXPECT_TRUE(session_->Checked(IDC_COLOR_MODE_PHOTO));
    EXPECT_TRUE(session_->Enabled(IDC_COLOR_PHOTO_DETAILS));
    EXPECT_TRUE(ApplyEnabled());
    EXPECT_TRUE(session_->UpdateCalls().empty());
    ASSERT_TRUE(session_->GoToPage(kJobOptionsPage));
    EXPECT_EQ(Chosen("ZDControl"), L"Advanced Photo");
    ASSERT_TRUE(session_->PressOk());
    int colorReports = 0;
    for (const drvhost::SetResultCall& r : session_->sheet()->setResults())
        colorReports += r.page == kColorPage && r.result == CPSUI_OK;
    EXPECT_EQ(colorReports, 1);

    drvhost::HostOptions options;
    options.storedBlock = session_->PrivateBlock();
    EndSession();
    Open("Photo", options);
    EXPECT_TRUE(session_->Checked(IDC_COLOR_MODE_PHOTO));
    Ctx().selections[zd::slot::ColorIcms] = 2;
    ASSERT_TRUE(session_->Click(IDC_DEFAULTS));
    EXPECT_TRUE(session_->Checked(IDC_COLOR_MODE_AUTO));
    ASSERT_TRUE(session_->GoToPage(kJobOptionsPage));
    EXPECT_EQ(Chosen("ZDControl"), L"Automatic");
    EXPECT_EQ(Chosen("ZDColorICMS"), L"Creating Profiles");
}

TEST_F(ColorPage, RefusedDriverUpdatesRestoreTheMode) {
    drvhost::HostOptions options;
    options.refuseUpdates = true;
    Open("Auto", options);
    ASSERT_TRUE(session_->Click(IDC_COLOR_MODE_OFFICE));
    // Through the driver's own page, whose leaving hands nothing over.
    ASSERT_TRUE(session_->GoToPage(drvhost::kTreePageIndex));
    EXPECT_FALSE(session_->UpdateCalls().empty());
    ASSERT_TRUE(session_->GoToPage(kColorPage));
    EXPECT_TRUE(session_->Checked(IDC_COLOR_MODE_AUTO));
    EXPECT_FALSE(session_->Checked(IDC_COLOR_MODE_OFFICE));
    EXPECT_FALSE(session_->Enabled(IDC_COLOR_OFFICE_DETAILS));
}

// Each hand-over leaves the item as it was, so the next one (leaving the
// page again) cannot take the refused value back as the one to keep.
TEST_F(ColorPage, ARefusedModeIsNotBroughtBackByTheNextHandOver) {
    drvhost::HostOptions options;
    options.refuseUpdates = true;
    Open("Auto", options);
    ASSERT_TRUE(session_->Click(IDC_COLOR_MODE_OFFICE));
    ASSERT_TRUE(session_->GoToPage(kJobOptionsPage));
    EXPECT_EQ(Chosen("ZDControl"), L"Automatic");
    ASSERT_TRUE(session_->GoToPage(kColorPage));
    EXPECT_EQ(Chosen("ZDControl"), L"Automatic");
    EXPECT_TRUE(session_->Checked(IDC_COLOR_MODE_AUTO));
    EXPECT_FALSE(session_->Checked(IDC_COLOR_MODE_OFFICE));
}

TEST_F(ColorPage, TonerSaveAgreesWithTheJobOptionsPageAndOthersOpens) {
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
    InDialog(IDC_COLOR_ADVANCED, IDOK, [](HWND dlg) {
        WCHAR caption[16] = {};
        GetWindowTextW(dlg, caption, 16);
        EXPECT_STREQ(caption, L"其他");
    });
}

TEST_F(ColorPage, WithoutPermissionOnlyTheLinkStaysUsable) {
    drvhost::HostOptions options;
    options.pageFlags = DM_NOPERMISSION;
    Open("Office", options);
    for (int id = IDC_COLOR_PICTURE_AUTO; id <= IDC_COLOR_MODE_GROUP; ++id)
        EXPECT_FALSE(session_->Enabled(id)) << id;
    for (int id : {IDC_COLOR_ADVANCED, IDC_COLOR_TONER_SAVE, IDC_DEFAULTS})
        EXPECT_FALSE(session_->Enabled(id)) << id;
    EXPECT_TRUE(session_->Enabled(IDC_LINK_LOGO));
}

// The link font goes when the page is left; after Apply (kill-active, then
// apply) the sheet activates the page again and the font is a live one. A
// sheet without a font lends the default GUI font's size.
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
        CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
    HWND page =
        CreateWindowW(L"STATIC", L"", WS_CHILD, 0, 0, 9, 9, fontless, nullptr, nullptr, nullptr);
    zd::DeleteLinkFont();
    LOGFONTW link = {}, gui = {};
    ASSERT_TRUE(GetObjectW(zd::EnsureLinkFont(page), sizeof link, &link));
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
    DestroyWindow(fontless);
    EXPECT_EQ(link.lfHeight, gui.lfHeight);
    EXPECT_STREQ(link.lfFaceName, L"Verdana");
    EXPECT_TRUE(link.lfUnderline);
}

// A missing key, a value that is no string and a folder too long for the
// path give the message; a folder stored without its terminator, plain or
// with environment strings, starts the tool.
TEST_F(ColorPage, SwatchToolMissingOrFound) {
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, kSwatchKey);
    Open();
    EXPECT_EQ(MessageOfClick(IDC_COLOR_SWATCH), kNoTool);
    DWORD number = 1;
    SetSwatchValue(REG_DWORD, &number, sizeof number);
    EXPECT_EQ(MessageOfClick(IDC_COLOR_SWATCH), kNoTool);
    std::wstring tooLong(1013, L'a');
    SetSwatchValue(REG_SZ, tooLong.c_str(), DWORD(tooLong.size() * 2));
    EXPECT_EQ(MessageOfClick(IDC_COLOR_SWATCH), kNoTool);

    std::wstring folder = dir_ + L"\\swatch tool";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW((zdtest::ExeDir() + L"\\zdopenmarker.exe").c_str(),
                          (folder + L"\\swatch.exe").c_str(), FALSE));
    std::wstring marker = dir_ + L"\\swatch_opened.txt";
    DeleteFileW(marker.c_str());
    SetEnvironmentVariableW(L"ZD_OPEN_MARKER", marker.c_str());
    SetEnvironmentVariableW(L"ZD_SWATCH_DIR", folder.c_str());
    const std::wstring unterminated = folder + L"X"; // a unit that is not NUL follows
    SetSwatchValue(REG_SZ, unterminated.c_str(), DWORD(folder.size() * 2));
    EXPECT_EQ(MessageOfClick(IDC_COLOR_SWATCH), L"");
    const std::wstring expandable = L"%ZD_SWATCH_DIR%";
    SetSwatchValue(REG_EXPAND_SZ, expandable.c_str(), DWORD((expandable.size() + 1) * 2));
    EXPECT_EQ(MessageOfClick(IDC_COLOR_SWATCH), L"");
    std::string lines;
    ASSERT_EQ(WaitForLines(marker, 2, &lines), 2u) << lines;
    const std::string tool = "swatch tool\\swatch.exe";
    EXPECT_NE(lines.find(tool), lines.rfind(tool)) << lines; // once per start
}

// A user setting ticked and chosen in the office colour details reaches the
// private block, word and both data blocks, only on OK; Defaults then
// switches it off.
TEST_F(ColorPage, OfficeUserSettingReachesThePrivateBlockOnlyOnOk) {
    Open("Office");
    auto chooseGamma22 = [](HWND dlg) {
        EXPECT_FALSE(drvhost::IsEnabled(dlg, IDC_OC_USER_SETTING));
        drvhost::ClickControl(dlg, IDC_OC_USER_SETTING_CHECK);
        EXPECT_TRUE(drvhost::IsEnabled(dlg, IDC_OC_USER_SETTING));
        EXPECT_FALSE(drvhost::IsEnabled(dlg, IDC_OC_RENDER_STYLE));
        drvhost::SelectComboEntry(dlg, IDC_OC_USER_SETTING, 3); // "Gamma 2.2", id 3
        drvhost::SelectComboEntry(dlg, IDC_OC_TARGET_COLOR, 2);
        drvhost::ClickControl(dlg, IDC_OC_BLACK_COMPOSITE);
    };
    InDialog(IDC_COLOR_OFFICE_DETAILS, IDCANCEL, chooseGamma22);
    EXPECT_FALSE(ApplyEnabled());
    ASSERT_TRUE(session_->GoToPage(kJobOptionsPage));
    EXPECT_EQ(session_->PrivateBlock(), blockAtOpen_);
    EXPECT_EQ(Chosen("ZDTargetColor"), L"Standard");

    ASSERT_TRUE(session_->GoToPage(kColorPage));
    InDialog(IDC_COLOR_OFFICE_DETAILS, IDOK, chooseGamma22);
    EXPECT_TRUE(ApplyEnabled());
    ASSERT_TRUE(session_->GoToPage(kJobOptionsPage));
    std::vector<uint8_t> b = session_->PrivateBlock();
    zd::ByteView d(b.data(), b.size());
    EXPECT_EQ(d.u32(zd::dm::kColorSetting), 0x10103u);
    EXPECT_EQ(d.u16(zd::dm::kColorData1Count), 51);
    EXPECT_EQ(std::vector<uint8_t>(&b[zd::dm::kColorData1], &b[zd::dm::kColorData1 + 3]),
              (std::vector<uint8_t>{0x00, 0x15, 0x27}));
    EXPECT_EQ(d.u16(zd::dm::kColorData2Count), 9);
    EXPECT_EQ(std::vector<uint8_t>(&b[zd::dm::kColorData2], &b[zd::dm::kColorData2 + 5]),
              (std::vector<uint8_t>{0x40, 0, 0, 0, 0x40}));
    EXPECT_EQ(Chosen("ZDTargetColor"), L"Euroscale");
    EXPECT_EQ(Chosen("ZDBlackSubstitution"), L"Composite Black");

    ASSERT_TRUE(session_->GoToPage(kColorPage));
    InDialog(IDC_COLOR_OFFICE_DETAILS, IDOK, [](HWND dlg) {
        drvhost::ClickControl(dlg, IDC_DEFAULTS);
        EXPECT_FALSE(drvhost::IsChecked(dlg, IDC_OC_USER_SETTING_CHECK));
        EXPECT_EQ(Choice(dlg, IDC_OC_TARGET_COLOR), 0);
        EXPECT_TRUE(drvhost::IsChecked(dlg, IDC_OC_BLACK_AUTO));
    });
    EXPECT_EQ(Ctx().selections[zd::slot::ColorSettingWord], 0x0001u); // the store has no id 0
}

// A stored word naming a setting the store no longer has falls back to the
// first one with the user setting off; a model without a store leaves no
// setting at all, with the box disabled (and has no swatch button).
TEST_F(ColorPage, OfficeWordsThatNameNoSetting) {
    Open();
    drvhost::HostOptions options;
    options.storedBlock = blockAtOpen_;
    zd::ByteView(options.storedBlock.data(), options.storedBlock.size())
        .set_u32(zd::dm::kColorSetting, 0x10063);
    EndSession();
    Open("Office", options);
    InDialog(IDC_COLOR_OFFICE_DETAILS, IDOK, [](HWND dlg) {
        EXPECT_TRUE(drvhost::IsEnabled(dlg, IDC_OC_USER_SETTING_CHECK));
        EXPECT_FALSE(drvhost::IsChecked(dlg, IDC_OC_USER_SETTING_CHECK));
        EXPECT_EQ(Choice(dlg, IDC_OC_USER_SETTING), 0);
    });
    ASSERT_TRUE(session_->GoToPage(kJobOptionsPage));
    EXPECT_EQ(StoredWord(), 0x0001u);
    EndSession();

    Open("Office", {}, kBare);
    EXPECT_FALSE(session_->Exists(IDC_COLOR_SWATCH));
    InDialog(IDC_COLOR_OFFICE_DETAILS, IDOK, [](HWND dlg) {
        EXPECT_EQ(Entries(dlg, IDC_OC_USER_SETTING), 0);
        EXPECT_FALSE(drvhost::IsEnabled(dlg, IDC_OC_USER_SETTING_CHECK));
    });
    ASSERT_TRUE(session_->GoToPage(kJobOptionsPage));
    EXPECT_EQ(StoredWord(), 0xFFFFu);
}

// Lists of items the driver lacks (an empty slot, or one pointing past the
// driver's items) stay empty and disabled; "no entry" is never stored.
TEST_F(ColorPage, DetailListsOfMissingItemsStayEmptyAndStoreNothing) {
    Open("Office");
    zd::UiContext& ctx = Ctx();
    ctx.slots[zd::slot::TargetColor] = ctx.treeParam->cDrvOptItems + 3;
    ctx.selections[zd::slot::TargetColor] = 1;
    ctx.selections[zd::slot::RenderStyle] = 9; // no such option: no entry chosen
    InDialog(IDC_COLOR_OFFICE_DETAILS, IDOK, [](HWND dlg) {
        EXPECT_EQ(Entries(dlg, IDC_OC_TARGET_COLOR), 0);
        EXPECT_FALSE(drvhost::IsEnabled(dlg, IDC_OC_TARGET_COLOR));
        EXPECT_EQ(Choice(dlg, IDC_OC_RENDER_STYLE), CB_ERR);
    });
    EXPECT_EQ(ctx.selections[zd::slot::TargetColor], 1u);
    EXPECT_EQ(ctx.selections[zd::slot::RenderStyle], 9u);

    ASSERT_TRUE(session_->Click(IDC_COLOR_MODE_PHOTO));
    ctx.slots[zd::slot::RgbProfile] = zd::kNoSlot;
    ctx.selections[zd::slot::RgbProfile] = 1;
    InDialog(IDC_COLOR_PHOTO_DETAILS, IDOK, [](HWND dlg) {
        EXPECT_TRUE(drvhost::IsShown(dlg, IDC_AP_RGB_PROFILE));
        EXPECT_FALSE(drvhost::IsEnabled(dlg, IDC_AP_RGB_PROFILE));
    });
    EXPECT_EQ(ctx.selections[zd::slot::RgbProfile], 1u);
}

// Each matching method shows its own controls (in this order: RGB, CMYK
// input, CMYK link, simulation, output, keep black, then the arrows RGB,
// CMYK, down, link); Defaults and Cancel leave the record alone.
TEST_F(ColorPage, PhotoMethodsShowTheirControlsAndDefaultsResetThem) {
    drvhost::HostOptions options;
    options.document.selections["ZDOutProfile"] = "Photo";
    Open("Photo", options);
    const std::vector<uint32_t> before(std::begin(Ctx().selections), std::end(Ctx().selections));
    std::vector<std::string> seen;
    InDialog(IDC_COLOR_PHOTO_DETAILS, IDCANCEL, [&](HWND dlg) {
        auto look = [&] {
            std::string shown;
            for (int id :
                 {IDC_AP_RGB_PROFILE, IDC_AP_CMYK_INPUT_PROFILE, IDC_AP_CMYK_LINK_PROFILE,
                  IDC_AP_SIM_PROFILE, IDC_AP_OUTPUT_PROFILE, IDC_AP_KEEP_BLACK, IDC_AP_ARROW_RGB,
                  IDC_AP_ARROW_CMYK, IDC_AP_ARROW_DOWN, IDC_AP_ARROW_LINK})
                shown += drvhost::IsShown(dlg, id) ? '1' : '0';
            seen.push_back(shown);
        };
        look();
        drvhost::ClickControl(dlg, IDC_AP_CMYK_LINK_CHOICE);
        look();
        EXPECT_FALSE(drvhost::IsEnabled(dlg, IDC_AP_CMYK_INPUT_PROFILE));
        EXPECT_FALSE(drvhost::IsEnabled(dlg, IDC_AP_KEEP_BLACK));
        EXPECT_TRUE(drvhost::IsEnabled(dlg, IDC_AP_CMYK_LINK_PROFILE));
        drvhost::ClickControl(dlg, IDC_AP_METHOD_EMULATION);
        look();
        EXPECT_TRUE(drvhost::IsEnabled(dlg, IDC_AP_INTENT));
        drvhost::ClickControl(dlg, IDC_AP_METHOD_CREATE);
        look();
        drvhost::ClickControl(dlg, IDC_AP_METHOD_APPLICATION);
        drvhost::ClickControl(dlg, IDC_DEFAULTS);
        look();
        EXPECT_TRUE(drvhost::IsChecked(dlg, IDC_AP_METHOD_ICC));
        EXPECT_FALSE(drvhost::IsEnabled(dlg, IDC_AP_INTENT)); // output profile entry 0
        EXPECT_EQ(SendDlgItemMessageW(dlg, IDC_AP_PRECISION, TBM_GETPOS, 0, 0), 2);
    });
    EXPECT_EQ(seen, (std::vector<std::string>{"1110111100", "1110111001", "1001110110",
                                              "0000000000", "1110111100"}));
    EXPECT_EQ(std::vector<uint32_t>(std::begin(Ctx().selections), std::end(Ctx().selections)),
              before);
}

// Pure black and keep black are ticked at selection 0: what the user ticks
// reaches the driver as the "On" or "Off" option it means.
TEST_F(ColorPage, PhotoBlackBoxesReachTheDriverInverted) {
    Open("Photo");
    ASSERT_EQ(Chosen("ZDPureBlack"), L"On");
    ASSERT_EQ(Chosen("ZDPreserveBlack"), L"Off");
    InDialog(IDC_COLOR_PHOTO_DETAILS, IDOK, [](HWND dlg) {
        EXPECT_TRUE(drvhost::IsChecked(dlg, IDC_AP_PURE_BLACK));
        EXPECT_FALSE(drvhost::IsChecked(dlg, IDC_AP_KEEP_BLACK));
        drvhost::ClickControl(dlg, IDC_AP_PURE_BLACK);
        drvhost::ClickControl(dlg, IDC_AP_KEEP_BLACK);
        HWND bar = GetDlgItem(dlg, IDC_AP_PRECISION);
        SendMessageW(bar, TBM_SETPOS, TRUE, 0);
        SendMessageW(dlg, WM_HSCROLL, TB_ENDTRACK, reinterpret_cast<LPARAM>(bar));
    });
    EXPECT_TRUE(ApplyEnabled());
    ASSERT_TRUE(session_->GoToPage(kJobOptionsPage));
    EXPECT_EQ(Chosen("ZDPureBlack"), L"Off");
    EXPECT_EQ(Chosen("ZDPreserveBlack"), L"On");
    EXPECT_EQ(Chosen("ZDColorMatch"), L"Fast");
}

} // namespace
