// The watermark list, edit and font dialogs opened from the Job Options page
// of the emulated sheet, answered as a user would: what reaches the private
// DEVMODE and the configuration file, what Cancel undoes, the 16-entry
// limit, the preview's pixels and its GDI objects.
#include "core/devmode_record.h"
#include "plugin/oemui_plugin.h"
#include "core/process_state.h"
#include "core/text_fields.h"
#include "core/ui_context.h"
#include "core/win_util.h"
#include "drvhost_api.h"
#include "resources/resource.h"
#include "test_pixels.h"
#include "plugin_sheet_test.h"
#include "test_printer.h"
#include "watermark/preview_geometry.h"
#include "watermark/watermark_edit_dialog.h"
#include "watermark/watermark_list_dialog.h"
#include "watermark/watermark_preview.h"
#include "watermark/watermark_store.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using drvhost::HostSession;

constexpr int kJobOptionsPage = 3;
const wchar_t kPrinter[] = L"zd watermark dialogs";

std::string Str(const std::wstring& w) {
    return std::string(w.begin(), w.end());
}

std::wstring ConfigPath() {
    return zdtest::DriverFilesDir() + L"\\zdcp95.ini";
}

void Press(HWND dlg, int id) {
    EXPECT_TRUE(drvhost::ClickControl(dlg, id)) << "control " << id;
}

// The GDI objects of this process, from the PEB's handle table: Wine's
// GetGuiResources answers 0 whatever the process holds.
size_t LiveGdiObjects() {
    using QueryProcess = LONG(WINAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<QueryProcess>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    ULONG_PTR basic[6] = {}; // PROCESS_BASIC_INFORMATION; the PEB is its second member
    if (!query || query(GetCurrentProcess(), 0, basic, sizeof basic, nullptr) != 0)
        return 0;
    auto* peb = reinterpret_cast<BYTE*>(basic[1]);
    BYTE* table = peb ? *reinterpret_cast<BYTE**>(peb + 0xF8) : nullptr;
    if (!table)
        return 0;
    size_t live = 0;
    for (size_t i = 0; i < 0x10000; ++i)
        live += table[i * 24 + 14] != 0; // the entry's type byte
    return live;
}

class WatermarkDialogs : public zdtest::PluginSheetTest {
  protected:
    static void SetUpTestSuite() {
        zd::Process().moduleInstance = GetModuleHandleW(nullptr);
        std::wstring error;
        ASSERT_TRUE(zdtest::InstallPrinter(zdtest::DemoPrinterSpec(kPrinter), &error))
            << Str(error);
    }

    // Every test starts from the demo model's store.
    void SetUp() override {
        ASSERT_TRUE(CopyFileW((zdtest::SamplesDir() + L"\\zdcp95.ini").c_str(),
                              ConfigPath().c_str(), FALSE));
    }

    void Open() {
        StartSession();
        std::wstring error;
        ASSERT_TRUE(session_->OpenDocumentSheet(kPrinter, &error)) << Str(error);
        ASSERT_TRUE(session_->GoToPage(kJobOptionsPage));
    }

    void TearDown() override {
        EndSession();
        CopyFileW((zdtest::SamplesDir() + L"\\zdcp95.ini").c_str(), ConfigPath().c_str(), FALSE);
    }

    // Opens the list dialog from the page's button; `act` runs in it and
    // ends it.
    void InListDialog(std::function<void(HWND)> act) {
        drvhost::ActInNextDialog(act);
        ASSERT_TRUE(session_->Click(IDC_JO_WATERMARK));
        EXPECT_EQ(drvhost::PendingDialogAnswers(), 0);
        drvhost::ForgetDialogAnswers();
    }

    std::vector<std::wstring> ListTexts(HWND dlg) {
        std::vector<std::wstring> texts;
        HWND list = GetDlgItem(dlg, IDC_WM_LIST);
        LRESULT n = SendMessageW(list, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < n; ++i) {
            WCHAR text[160] = {};
            SendMessageW(list, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(text));
            texts.push_back(text);
        }
        return texts;
    }

    zd::ByteView Block() { return zd::ByteView(session_->host().oemBlock(), zd::kOemDevModeSize); }
};

// New with a text that needs escaping, a font from the font dialog, offsets
// typed and reset by a preset, a double frame: the block gets every field,
// the sheet's OK writes the exact line, and a new sheet reads it back.
TEST_F(WatermarkDialogs, NewWatermarkReachesTheBlockAndTheFile) {
    Open();
    InListDialog([&](HWND list) {
        drvhost::ActInNextDialog([&](HWND edit) {
            EXPECT_FALSE(drvhost::IsEnabled(edit, IDOK)); // no text yet
            EXPECT_EQ(drvhost::ControlText(edit, IDC_WM_SIZE), L"72");
            EXPECT_EQ(drvhost::ControlText(edit, IDC_WM_ANGLE), L"45");
            EXPECT_TRUE(drvhost::TypeInto(edit, IDC_WM_TEXT, L"A,B;C\\D"));
            EXPECT_TRUE(drvhost::IsEnabled(edit, IDOK));
            drvhost::ActInNextDialog([](HWND font) {
                EXPECT_TRUE(drvhost::SelectListEntry(font, IDC_FONT_LIST, 2)); // Times
                EXPECT_TRUE(drvhost::SelectListEntry(font, IDC_FONT_STYLE_LIST, 3));
                EXPECT_TRUE(drvhost::SelectListEntry(font, IDC_FONT_SIZE_LIST, 13)); // 36
                Press(font, IDOK);
            });
            Press(edit, IDC_WM_FONT);
            EXPECT_EQ(drvhost::ControlText(edit, IDC_WM_SIZE), L"36");
            EXPECT_TRUE(drvhost::TypeInto(edit, IDC_WM_X, L"50"));
            EXPECT_TRUE(drvhost::SelectComboEntry(edit, IDC_WM_POSITION, 6)); // bottom right
            EXPECT_EQ(drvhost::ControlText(edit, IDC_WM_X), L"0");
            EXPECT_TRUE(drvhost::TypeInto(edit, IDC_WM_X, L"-25"));
            EXPECT_TRUE(drvhost::TypeInto(edit, IDC_WM_Y, L"12a"));
            EXPECT_EQ(drvhost::ControlText(edit, IDC_WM_Y), L"12");
            Press(edit, IDC_WM_FRAME_DOUBLE);
            // A cancelled colour picker keeps the colour but still saves
            // the 16 custom colours.
            drvhost::ActInNextDialog(
                [](HWND picker) { SendMessageW(picker, WM_COMMAND, IDCANCEL, 0); });
            Press(edit, IDC_WM_COLOR);
            Press(edit, IDOK);
        });
        Press(list, IDC_WM_NEW);
        EXPECT_EQ(ListTexts(list).back(), L"A,B;C\\D");
        EXPECT_TRUE(drvhost::IsEnabled(list, IDC_WM_EDIT));
        Press(list, IDOK);
    });
    zd::ByteView b = Block();
    EXPECT_EQ(b.u32(zd::dm::kWatermarkIndex), 4u);
    EXPECT_EQ(b.text16(zd::dm::kWmText, zd::dm::kWmTextUnits), u"A,B;C\\D");
    EXPECT_EQ(b.u32(zd::dm::kWmSize), 36u);
    EXPECT_EQ(b.u32(zd::dm::kWmFontNumber), 2u);
    EXPECT_EQ(b.u32(zd::dm::kWmWeight), 700u);
    EXPECT_EQ(b.u8(zd::dm::kWmItalic), 1u);
    EXPECT_EQ(b.u16(zd::dm::kWmStyle), 5u);
    EXPECT_EQ(b.text16(zd::dm::kWmPsFontName, zd::dm::kWmPsFontNameUnits), u"Times-BoldItalic");
    EXPECT_EQ(b.i32(zd::dm::kWmOffsetX), -25);
    EXPECT_EQ(b.i32(zd::dm::kWmOffsetY), 12);
    EXPECT_EQ(b.u16(zd::dm::kWmPosition), 6u);
    EXPECT_EQ(b.u16(zd::dm::kWmFrame), 3u);
    EXPECT_TRUE(session_->sheet()->isOpen());
    EXPECT_NE(IsWindowEnabled(GetDlgItem(session_->sheetWindow(), 0x3021)), FALSE);

    EXPECT_EQ(drvhost::ReadIni(ConfigPath(), L"\u81EA\u5B9A\u4E49\u989C\u8272", L"Color15"),
              L"192,192,192");
    ASSERT_TRUE(session_->PressOk());
    EXPECT_EQ(drvhost::ReadIni(ConfigPath(), L"Watermark", L"WTMK004"),
              L"36,2,45,-25,12,12632256,A\\,B\\;C\\\\D,Times-BoldItalic,700,1,0,6,3,0,0,5");

    Open();
    InListDialog([&](HWND list) {
        EXPECT_EQ(ListTexts(list).size(), 5u);
        EXPECT_EQ(ListTexts(list).back(), L"A,B;C\\D");
        Press(list, IDCANCEL);
    });
}

// Adds a watermark of text `text` through the list dialog of the session's
// Job Options page, confirming both dialogs.
void AddWatermark(HostSession& s, const std::wstring& text) {
    drvhost::ActInNextDialog([&](HWND list) {
        drvhost::ActInNextDialog([&](HWND edit) {
            drvhost::TypeInto(edit, IDC_WM_TEXT, text);
            Press(edit, IDOK);
        });
        Press(list, IDC_WM_NEW);
        Press(list, IDOK);
    });
    EXPECT_TRUE(s.Click(IDC_JO_WATERMARK));
    EXPECT_EQ(drvhost::PendingDialogAnswers(), 0);
}

// The text field of a stored watermark (empty when there is none).
std::wstring StoredText(int n) {
    std::wstring value =
        drvhost::ReadIni(ConfigPath(), L"Watermark", L"WTMK00" + std::to_wstring(n));
    zd::WatermarkRecord r{};
    zd::ParseWatermarkValue(zd::U16(value), r);
    return zd::W(zd::FieldText(r.text, zd::kWatermarkTextUnits));
}

// A store that cannot be written is told at Apply; the list stays, and the
// next Apply (here the sheet's OK) saves it.
TEST_F(WatermarkDialogs, AFailedSaveIsToldAndTheListKeptForTheNextApply) {
    Open();
    AddWatermark(*session_, L"Kept");
    std::wstring message;
    {
        HANDLE lock =
            CreateFileW(ConfigPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(lock, INVALID_HANDLE_VALUE);
        drvhost::AnswerNextDialog([&](HWND box) {
            message = drvhost::MessageBoxText(box);
            SendMessageW(box, WM_COMMAND, IDOK, 0);
        });
        EXPECT_TRUE(session_->PressApply());
        CloseHandle(lock);
    }
    EXPECT_EQ(message, L"无法保存水印设置。\n请确认配置文件可以写入。");
    EXPECT_EQ(drvhost::PendingDialogAnswers(), 0);
    EXPECT_EQ(Ctx().selections[zd::slot::WatermarkCount], 4u);
    EXPECT_EQ(StoredText(4), L"");
    ASSERT_TRUE(session_->PressOk()); // applies again
    EXPECT_EQ(StoredText(4), L"Kept");
}

// Two sheets of one printer each add a watermark: the later Apply keeps the
// other sheet's one after its own.
TEST_F(WatermarkDialogs, TwoSheetsOfOnePrinterKeepBothAdditions) {
    Open();
    AddWatermark(*session_, L"One");
    auto* otherPlugin = new zd::OemUiPlugin();
    {
        HostSession other;
        ASSERT_TRUE(other.host().Attach(otherPlugin, nullptr));
        ASSERT_TRUE(other.OpenDocumentSheet(kPrinter));
        ASSERT_TRUE(other.GoToPage(kJobOptionsPage));
        AddWatermark(other, L"Two");
        ASSERT_TRUE(other.PressOk());
        otherPlugin->Release();
    }
    EXPECT_EQ(StoredText(4), L"Two");
    ASSERT_TRUE(session_->PressOk());
    EXPECT_EQ(StoredText(4), L"One");
    EXPECT_EQ(StoredText(5), L"Two");
    EXPECT_EQ(StoredText(6), L"");
}

// The list's Cancel undoes deletions, additions and flag changes; the
// sheet's Cancel leaves the file as it was.
TEST_F(WatermarkDialogs, CancelRestoresTheListAndTheFile) {
    const std::string before = drvhost::ReadWholeFile(ConfigPath());
    Open();
    std::vector<std::wstring> opened;
    InListDialog([&](HWND list) {
        opened = ListTexts(list);
        EXPECT_TRUE(drvhost::SelectListEntry(list, IDC_WM_LIST, 1));
        Press(list, IDC_WM_DELETE);
        EXPECT_EQ(ListTexts(list).size(), opened.size() - 1);
        drvhost::ActInNextDialog([](HWND edit) {
            drvhost::TypeInto(edit, IDC_WM_TEXT, L"X");
            Press(edit, IDOK);
        });
        Press(list, IDC_WM_NEW);
        Press(list, IDC_WM_FIRST_PAGE); // on the new entry
        // A second new entry goes above the count the list opened with.
        drvhost::ActInNextDialog([](HWND edit) {
            drvhost::TypeInto(edit, IDC_WM_TEXT, L"Y");
            Press(edit, IDOK);
        });
        Press(list, IDC_WM_NEW);
        EXPECT_EQ(ListTexts(list).size(), opened.size() + 1);
        EXPECT_TRUE(drvhost::SelectListEntry(list, IDC_WM_LIST, 0));
        Press(list, IDC_WM_BACKGROUND); // on "none"
        Press(list, IDCANCEL);
    });
    zd::UiContext& ctx = *plugin_->documentContext();
    EXPECT_EQ(ctx.selections[zd::slot::WatermarkCount], 3u);
    for (uint32_t i = 1; i <= 3; ++i) // live records, not freed ones
        EXPECT_TRUE(ctx.watermarks[i] && HeapValidate(GetProcessHeap(), 0, ctx.watermarks[i])) << i;
    for (uint32_t i = 4; i < uint32_t(zd::kMaxWatermarkEntries); ++i)
        EXPECT_EQ(ctx.watermarks[i], nullptr) << i; // nothing left to reuse
    // The snapshot went back into the list: no slot still points at it.
    for (uint32_t i = 0; i < uint32_t(zd::kMaxWatermarkEntries); ++i)
        EXPECT_EQ(ctx.watermarkSnapshot[i], nullptr) << i;
    InListDialog([&](HWND list) {
        EXPECT_EQ(ListTexts(list), opened);
        EXPECT_EQ(SendDlgItemMessageW(list, IDC_WM_LIST, LB_GETCURSEL, 0, 0), 0);
        EXPECT_FALSE(drvhost::IsChecked(list, IDC_WM_BACKGROUND));
        EXPECT_FALSE(drvhost::IsEnabled(list, IDC_WM_DELETE));
        Press(list, IDCANCEL);
    });
    // A confirmed deletion is still only in memory until the sheet's OK.
    InListDialog([&](HWND list) {
        EXPECT_TRUE(drvhost::SelectListEntry(list, IDC_WM_LIST, 2));
        Press(list, IDC_WM_DELETE);
        Press(list, IDOK);
    });
    ASSERT_TRUE(session_->PressCancel());
    EXPECT_EQ(drvhost::ReadWholeFile(ConfigPath()), before);
}

// The edit dialog's OK refuses an empty text even when the click comes
// past the disabled button; Cancel closes it even without a working copy.
TEST_F(WatermarkDialogs, EditDialogRefusesAnEmptyTextAndAlwaysCancels) {
    Open();
    InListDialog([&](HWND list) {
        const size_t opened = ListTexts(list).size();
        bool stayed = false;
        drvhost::ActInNextDialog([&](HWND edit) {
            drvhost::TypeInto(edit, IDC_WM_TEXT, L"X");
            drvhost::TypeInto(edit, IDC_WM_TEXT, L"");
            SendMessageW(edit, WM_COMMAND, IDOK, 0);
            stayed = IsWindowVisible(edit) != FALSE;
            Press(edit, IDCANCEL);
        });
        Press(list, IDC_WM_NEW);
        EXPECT_TRUE(stayed);
        EXPECT_EQ(ListTexts(list).size(), opened);
        Press(list, IDCANCEL);
    });

    zd::UiContext bare{}; // no list loaded: no working copy
    bool closed = false;
    drvhost::AnswerNextDialog([&](HWND edit) {
        ShowWindow(edit, SW_SHOWNORMAL);
        SendMessageW(edit, WM_COMMAND, IDCANCEL, 0);
        closed = !IsWindowVisible(edit);
        if (!closed)
            EndDialog(edit, 99); // the test must not hang on a dialog that stays
    });
    EXPECT_EQ(zd::RunWatermarkEditDialog(nullptr, &bare), IDCANCEL);
    EXPECT_TRUE(closed);
}

// Records of a sheet that never saw apply or cancel go with the object.
TEST_F(WatermarkDialogs, RecordsGoWithTheObject) {
    auto recordBlocks = [] {
        PROCESS_HEAP_ENTRY e = {};
        int n = 0;
        while (HeapWalk(GetProcessHeap(), &e))
            n += (e.wFlags & PROCESS_HEAP_ENTRY_BUSY) && e.cbData == sizeof(zd::WatermarkRecord);
        return n;
    };
    const int before = recordBlocks();
    StartSession();
    ASSERT_TRUE(session_->PrepareDocument(kPrinter));
    drvhost::ActInNextDialog([](HWND list) { Press(list, IDOK); });
    EXPECT_EQ(zd::RunWatermarkListDialog(nullptr, &Ctx()), 1);
    EXPECT_GE(recordBlocks(), before + 5); // "none", three stored and the working copy
    EndSession();
    EXPECT_EQ(recordBlocks(), before);
}

TEST_F(WatermarkDialogs, SixteenStoredWatermarksRefuseANewOne) {
    for (int n = 4; n <= 16; ++n)
        WritePrivateProfileStringW(L"Watermark", (L"WTMK00" + std::to_wstring(n)).c_str(),
                                   L"72,0,45,0,0,0,W,Times,0,0,0,3,0,0,0,0", ConfigPath().c_str());
    Open();
    std::wstring message, caption;
    bool editOpened = false;
    InListDialog([&](HWND list) {
        EXPECT_EQ(ListTexts(list).size(), 17u);
        drvhost::ActInNextDialog([&](HWND box) {
            message = drvhost::MessageBoxText(box);
            WCHAR text[32] = {};
            GetWindowTextW(box, text, 32);
            caption = text;
            SendMessageW(box, WM_COMMAND, IDOK, 0);
        });
        Press(list, IDC_WM_NEW);
        EXPECT_TRUE(drvhost::SelectListEntry(list, IDC_WM_LIST, 16));
        Press(list, IDC_WM_DELETE);
        drvhost::ActInNextDialog([&](HWND edit) {
            editOpened = true;
            Press(edit, IDCANCEL);
        });
        Press(list, IDC_WM_NEW);
        Press(list, IDCANCEL);
    });
    EXPECT_EQ(message, L"注册的数量超出限制，最多为16个。");
    EXPECT_EQ(caption, L"警告");
    EXPECT_TRUE(editOpened);
}

// The page outline lies inside the control; the watermark's colour shows
// only inside the page, and not at all for "none".
TEST_F(WatermarkDialogs, PreviewDrawsThePageAndTheWatermarkInsideIt) {
    Open();
    zd::UiContext& ctx = *plugin_->documentContext();
    InListDialog([&](HWND list) {
        HWND control = GetDlgItem(list, IDC_WM_PREVIEW);
        RECT client = {};
        GetClientRect(control, &client);
        zd::PreviewInput in = zd::WatermarkPreviewInput(ctx);
        const zd::PreviewPage page =
            zd::ComputePreviewPage(client.right, client.bottom, in.formName, in.orientation);
        ASSERT_TRUE(page.valid);
        auto watermarkPixels = [&](bool inside) {
            zd::DrawWatermarkPreview(list, &ctx);
            std::vector<COLORREF> px =
                zdtest::ScreenPixels(control, 0, 0, client.right, client.bottom);
            size_t n = 0;
            for (LONG y = 0; y < client.bottom; ++y)
                for (LONG x = 0; x < client.right; ++x) {
                    const bool inPage = x >= page.left && x < page.left + page.width &&
                                        y >= page.top && y < page.top + page.height;
                    n += inPage == inside && px[size_t(y * client.right + x)] == 0x00FF0000;
                }
            return n;
        };
        ctx.workingWatermark->color = RGB(255, 0, 0);
        EXPECT_EQ(watermarkPixels(true), 0u); // "none" has no text
        EXPECT_EQ(zdtest::ScreenPixels(control, int(page.left - 1), int(page.top - 1), 1, 1)[0],
                  0u);                                               // the black outline
        EXPECT_TRUE(drvhost::SelectListEntry(list, IDC_WM_LIST, 2)); // framed, size 60
        ctx.workingWatermark->color = RGB(255, 0, 0);
        ctx.workingWatermark->x = 400; // pushed partly off the page
        EXPECT_GT(watermarkPixels(true), 20u);
        EXPECT_EQ(watermarkPixels(false), 0u);
        Press(list, IDCANCEL);
    });
}

// Redrawing leaves no GDI object behind; the count is trusted only after it
// has been seen to catch a deliberate leak.
TEST_F(WatermarkDialogs, TenThousandRedrawsLeaveNoGdiObject) {
    ASSERT_GT(LiveGdiObjects(), 0u);
    const size_t calibration = LiveGdiObjects();
    std::vector<HBRUSH> leaked;
    for (int i = 0; i < 50; ++i)
        leaked.push_back(CreateSolidBrush(RGB(i, 0, 0)));
    EXPECT_GE(LiveGdiObjects(), calibration + 50);
    for (HBRUSH b : leaked)
        DeleteObject(b);

    Open();
    zd::UiContext& ctx = *plugin_->documentContext();
    InListDialog([&](HWND list) {
        drvhost::ActInNextDialog([&](HWND edit) {
            drvhost::TypeInto(edit, IDC_WM_TEXT, L"GDI");
            Press(edit, IDC_WM_FRAME_DOUBLE);
            zd::DrawWatermarkPreview(edit, &ctx); // first drawing may cache objects
            const size_t before = LiveGdiObjects();
            for (int i = 0; i < 10000; ++i)
                zd::DrawWatermarkPreview(edit, &ctx);
            EXPECT_EQ(LiveGdiObjects(), before);
            Press(edit, IDCANCEL);
        });
        Press(list, IDC_WM_NEW);
        Press(list, IDCANCEL);
    });
}

} // namespace
