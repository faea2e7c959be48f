// No clipped captions: every page the plug-in adds to the document sheet,
// the device page's auto-detect button and every dialog opened from the
// pages, through the emulated driver and the real zdui.dll, in the language
// of the locale the program runs in (ctest runs it once in the Chinese and
// once in the English locale and names the user interface language it must
// find in ZD_UI_LANGUAGE). The text of every static, push button, check box,
// radio button and group box must fit its control in the control's font.
#include "dialog_tour.h"
#include "drvhost_api.h"
#include "test_printer.h"
#include "test_text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using drvhost::HostSession;

const wchar_t kPrinter[] = L"zd captions";

std::wstring ClassOf(HWND w) {
    wchar_t buf[64] = {};
    int n = GetClassNameW(w, buf, 64);
    return std::wstring(buf, n > 0 ? n : 0);
}

// How a control lays out its caption: the width it leaves the text and
// whether the text wraps. Nothing for controls without a caption to check.
struct TextBox {
    int width = 0;
    bool wraps = false;
};

bool CaptionBox(HWND control, HDC dc, TextBox* box) {
    RECT rc;
    GetClientRect(control, &rc);
    DWORD style = DWORD(GetWindowLongW(control, GWL_STYLE));
    std::wstring cls = ClassOf(control);
    box->width = rc.right;
    if (_wcsicmp(cls.c_str(), L"Static") == 0) {
        switch (style & SS_TYPEMASK) {
        case SS_LEFT:
        case SS_CENTER:
        case SS_RIGHT:
            box->wraps = true;
            return true;
        case SS_LEFTNOWORDWRAP:
        case SS_SIMPLE:
            return true;
        default:
            return false; // pictures, lines, owner-drawn
        }
    }
    if (_wcsicmp(cls.c_str(), L"Button") != 0)
        return false;
    box->wraps = (style & BS_MULTILINE) != 0;
    switch (style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
        box->width -= 2 * 2; // the button's edge on each side
        return true;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: {
        // The box, then half a digit's width before the text.
        int digit = 0;
        GetCharWidth32W(dc, L'0', L'0', &digit);
        box->width -= 12 * GetDeviceCaps(dc, LOGPIXELSX) / 96 + 1 + digit / 2;
        return true;
    }
    case BS_GROUPBOX:
        box->width -= 2 * 7; // the frame's corner on each side of the caption
        box->wraps = false;
        return true;
    default:
        return false;
    }
}

struct Check {
    HWND window;
    std::wstring where;
    std::vector<std::string>* misfits;
    int checked = 0;
};

BOOL CALLBACK CheckControl(HWND control, LPARAM param) {
    auto& check = *reinterpret_cast<Check*>(param);
    if (GetParent(control) != check.window)
        return TRUE; // a control's own children
    wchar_t text[512] = {};
    int n = GetWindowTextW(control, text, 512);
    if (n <= 0)
        return TRUE;
    HDC dc = GetDC(control);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    TextBox box;
    if (CaptionBox(control, dc, &box)) {
        ++check.checked;
        RECT client;
        GetClientRect(control, &client);
        RECT need = {0, 0, box.width, 0};
        UINT flags = DT_CALCRECT | DT_EXPANDTABS | (box.wraps ? DT_WORDBREAK : DT_SINGLELINE);
        DrawTextW(dc, text, n, &need, flags);
        TEXTMETRICW tm = {};
        GetTextMetricsW(dc, &tm);
        bool tooWide = need.right > box.width;
        // A text that wraps onto more lines than the control shows.
        bool tooTall = box.wraps && need.bottom > tm.tmHeight && need.bottom > client.bottom;
        if (tooWide || tooTall) {
            std::string what = zdtest::Utf8(check.where) + " id " +
                               std::to_string(GetDlgCtrlID(control)) + " \"" + zdtest::Utf8(text) +
                               "\": ";
            if (tooWide)
                what += "needs " + std::to_string(need.right) + " px, has " +
                        std::to_string(box.width) + " px";
            else
                what += "needs " + std::to_string(need.bottom) + " px high, has " +
                        std::to_string(client.bottom) + " px";
            check.misfits->push_back(what);
        }
    }
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return TRUE;
}

// Checks the captions of a page or dialog; answers how many it checked.
int CheckCaptions(const std::wstring& where, HWND window, std::vector<std::string>* misfits) {
    Check check{window, where, misfits};
    EnumChildWindows(window, CheckControl, reinterpret_cast<LPARAM>(&check));
    return check.checked;
}

// The check itself, on a window of the test's own: a check box whose caption
// is wider than the box, one that fits, and a group box caption cut short.
TEST(CaptionCheck, ReportsOnlyTheCaptionsThatDoNotFit) {
    HWND parent = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 400, 200, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    HFONT font = HFONT(GetStockObject(DEFAULT_GUI_FONT));
    auto add = [&](const wchar_t* cls, const wchar_t* text, DWORD style, int width, int id) {
        HWND w = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, width, 20,
                                 parent, HMENU(INT_PTR(id)), nullptr, nullptr);
        SendMessageW(w, WM_SETFONT, WPARAM(font), FALSE);
    };
    add(L"Button", L"A caption far too long for its box", BS_AUTOCHECKBOX, 60, 11);
    add(L"Button", L"&Fits", BS_AUTOCHECKBOX, 300, 12);
    add(L"Button", L"Group caption cut short", BS_GROUPBOX, 50, 13);
    add(L"Static", L"", SS_LEFT, 1, 14); // no text, nothing to check
    std::vector<std::string> misfits;
    EXPECT_EQ(CheckCaptions(L"test", parent, &misfits), 3);
    ASSERT_EQ(misfits.size(), 2u) << zdtest::JoinedLines(misfits);
    EXPECT_EQ(misfits[0].rfind("test id 11 \"A caption far too long for its box\": needs ", 0), 0u);
    EXPECT_EQ(misfits[1].rfind("test id 13 ", 0), 0u);
    DestroyWindow(parent);
}

class CaptionFit : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        std::wstring error;
        ASSERT_TRUE(zdtest::InstallPrinter(zdtest::DemoPrinterSpec(kPrinter), &error))
            << zdtest::Utf8(error);
    }
};

TEST_F(CaptionFit, TheLocaleGivesTheExpectedLanguage) {
    const char* expected = std::getenv("ZD_UI_LANGUAGE");
    ASSERT_NE(expected, nullptr) << "ZD_UI_LANGUAGE names the language this run checks";
    EXPECT_EQ(GetUserDefaultUILanguage(), LANGID(std::strtoul(expected, nullptr, 16)));
}

TEST_F(CaptionFit, EveryPageAndDialogOfTheDocumentSheet) {
    // With a hard disk, so that the job storage button opens its dialog too.
    drvhost::HostOptions options;
    options.device.selections["ZDHDD"] = "True";
    HostSession session(options);
    std::wstring error;
    ASSERT_TRUE(session.OpenDocumentSheet(kPrinter, &error)) << zdtest::Utf8(error);
    std::vector<std::string> misfits;
    int pages = 0, dialogs = 0, captions = 0;
    const auto& sheetPages = session.sheet()->pages();
    for (int i = 0; i < int(sheetPages.size()); ++i) {
        if (!sheetPages[size_t(i)].fromPlugin)
            continue;
        ASSERT_TRUE(session.GoToPage(i));
        captions += CheckCaptions(L"page " + sheetPages[size_t(i)].title, session.page(), &misfits);
        ++pages;
    }
    std::vector<std::wstring> problems;
    int unopened = drvhost::VisitPluginDialogs(
        session,
        [&](const std::wstring& name, HWND dialog) {
            captions += CheckCaptions(name, dialog, &misfits);
            ++dialogs;
        },
        &problems);
    session.PressCancel();
    EXPECT_EQ(unopened, 0) << (problems.empty() ? "" : zdtest::Utf8(problems.front()));
    EXPECT_GE(pages, 2);
    EXPECT_EQ(dialogs, 11);
    EXPECT_GT(captions, 100);
    EXPECT_TRUE(misfits.empty()) << zdtest::JoinedLines(misfits);
}

TEST_F(CaptionFit, TheAutoDetectButtonOfTheDevicePage) {
    HostSession session;
    std::wstring error;
    ASSERT_TRUE(session.OpenPrinterSheet(kPrinter, &error)) << zdtest::Utf8(error);
    HWND button = GetDlgItem(session.page(), drvhost::hostctl::PushItem);
    ASSERT_NE(button, nullptr);
    std::vector<std::string> misfits;
    Check check{session.page(), L"device page", &misfits};
    CheckControl(button, reinterpret_cast<LPARAM>(&check));
    EXPECT_EQ(check.checked, 1);
    EXPECT_TRUE(misfits.empty()) << zdtest::JoinedLines(misfits);
    session.PressCancel();
}

} // namespace
