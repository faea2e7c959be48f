// The shared dialog helpers on real windows: numeric fields typed into as
// keystrokes, control ranges, and the once-per-process visit of the
// driver's option page in a real property sheet.
#include "core/process_state.h"
#include "ui/dialog_helpers.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <prsht.h>

#include <string>
#include <vector>

namespace {

constexpr int kSizeField = 100;  // unsigned, 1..600, default 72
constexpr int kAngleField = 101; // signed, -180..180, default 45
constexpr int kButtonA = 200;
constexpr int kButtonB = 201;
constexpr int kButtonC = 202;

WCHAR g_saved[12];

// An in-memory dialog template: two edits and three buttons.
std::vector<WORD> MakeTemplate(DWORD style) {
    std::vector<WORD> t;
    auto dword = [&](DWORD v) {
        t.push_back(LOWORD(v));
        t.push_back(HIWORD(v));
    };
    auto align = [&] {
        if (t.size() % 2)
            t.push_back(0);
    };
    dword(style);
    dword(0);
    t.push_back(5);
    for (short v : {0, 0, 200, 100})
        t.push_back(WORD(v));
    t.push_back(0);
    t.push_back(0);
    t.push_back(0); // no menu, default class, no title
    auto item = [&](DWORD itemStyle, short x, short y, short cx, short cy, WORD id, WORD cls) {
        align();
        dword(itemStyle | WS_CHILD | WS_VISIBLE);
        dword(0);
        for (short v : {x, y, cx, cy})
            t.push_back(WORD(v));
        t.push_back(id);
        t.push_back(0xFFFF);
        t.push_back(cls);
        t.push_back(0);
        t.push_back(0);
    };
    item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 5, 5, 60, 12, kSizeField, 0x0081);
    item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 5, 20, 60, 12, kAngleField, 0x0081);
    item(BS_PUSHBUTTON, 5, 40, 40, 14, kButtonA, 0x0080);
    item(BS_PUSHBUTTON | WS_DISABLED, 50, 40, 40, 14, kButtonB, 0x0080);
    item(BS_PUSHBUTTON, 95, 40, 40, 14, kButtonC, 0x0080);
    return t;
}

INT_PTR CALLBACK FieldDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM) {
    if (msg == WM_INITDIALOG)
        return TRUE;
    if (msg == WM_COMMAND) {
        int id = LOWORD(wParam);
        UINT code = HIWORD(wParam);
        if (id == kSizeField)
            zd::CheckNumberField(dlg, code, id, 72, 1, 600, g_saved, FALSE);
        else if (id == kAngleField)
            zd::CheckNumberField(dlg, code, id, 45, -180, 180, g_saved, TRUE);
        return TRUE;
    }
    return FALSE;
}

class FieldDialog : public testing::Test {
  protected:
    void SetUp() override {
        g_saved[0] = 0;
        tmpl_ = MakeTemplate(DS_SETFONT * 0 | WS_POPUP);
        dlg_ = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                          reinterpret_cast<DLGTEMPLATE*>(tmpl_.data()), nullptr,
                                          FieldDialogProc, 0);
        ASSERT_NE(dlg_, nullptr);
    }
    void TearDown() override { DestroyWindow(dlg_); }

    std::wstring Text(int id) {
        WCHAR buf[64] = {};
        GetDlgItemTextW(dlg_, id, buf, 64);
        return buf;
    }

    // Sets the field's text the way a program does, then types `keys` at
    // the end, one WM_CHAR at a time, as the user would.
    void Type(int id, const std::wstring& start, const std::wstring& keys, int caret = -1) {
        HWND edit = GetDlgItem(dlg_, id);
        SetFocus(edit);
        SetWindowTextW(edit, start.c_str());
        int pos = caret < 0 ? int(start.size()) : caret;
        SendMessageW(edit, EM_SETSEL, pos, pos);
        for (wchar_t k : keys)
            SendMessageW(edit, WM_CHAR, k, 1);
    }

    std::vector<WORD> tmpl_;
    HWND dlg_ = nullptr;
};

TEST_F(FieldDialog, SizeFieldTypedAboveRangeEndsAtHighest) {
    Type(kSizeField, L"", L"700");
    EXPECT_EQ(Text(kSizeField), L"600");
}

TEST_F(FieldDialog, LettersAreRefusedAndThePreviousTextComesBack) {
    Type(kSizeField, L"", L"12x");
    EXPECT_EQ(Text(kSizeField), L"12");
    Type(kSizeField, L"", L"3a4");
    EXPECT_EQ(Text(kSizeField), L"34");
}

TEST_F(FieldDialog, LeadingZeroRefusedLoneZeroRaisedToLowest) {
    Type(kSizeField, L"72", L"0", 0); // "0" in front of existing digits
    EXPECT_EQ(Text(kSizeField), L"72");
    Type(kSizeField, L"", L"0");
    EXPECT_EQ(Text(kSizeField), L"1");
}

TEST_F(FieldDialog, MinusOnlyFirstAndOnlyInSignedFields) {
    Type(kAngleField, L"", L"-45");
    EXPECT_EQ(Text(kAngleField), L"-45");
    Type(kAngleField, L"", L"-200");
    EXPECT_EQ(Text(kAngleField), L"-180");
    Type(kAngleField, L"", L"4-");
    EXPECT_EQ(Text(kAngleField), L"4");
    Type(kSizeField, L"", L"-5");
    EXPECT_EQ(Text(kSizeField), L"5");
}

TEST_F(FieldDialog, LeavingAnEmptyFieldWritesTheDefault) {
    HWND size = GetDlgItem(dlg_, kSizeField);
    SetFocus(size);
    SetWindowTextW(size, L"");
    SetFocus(GetDlgItem(dlg_, kAngleField));
    EXPECT_EQ(Text(kSizeField), L"72");
    SetWindowTextW(GetDlgItem(dlg_, kAngleField), L"");
    SetFocus(size);
    EXPECT_EQ(Text(kAngleField), L"45");
}

TEST_F(FieldDialog, LimitNeverEnablesShowHidesAndDestroyRemoves) {
    zd::LimitControlRange(dlg_, kButtonA, kButtonC, TRUE);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dlg_, kButtonA)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg_, kButtonB))); // stays disabled
    zd::LimitControlRange(dlg_, kButtonA, kButtonA, FALSE);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg_, kButtonA)));

    zd::ShowControlRange(dlg_, kButtonA, kButtonB, TRUE);
    EXPECT_TRUE(GetWindowLongW(GetDlgItem(dlg_, kButtonB), GWL_STYLE) & WS_VISIBLE);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dlg_, kButtonB)));
    zd::ShowControlRange(dlg_, kButtonA, kButtonB, FALSE);
    EXPECT_FALSE(GetWindowLongW(GetDlgItem(dlg_, kButtonA), GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg_, kButtonA)));

    zd::DestroyControlRange(dlg_, kButtonB, kButtonC + 10); // ids past the last are skipped
    EXPECT_EQ(GetDlgItem(dlg_, kButtonB), nullptr);
    EXPECT_EQ(GetDlgItem(dlg_, kButtonC), nullptr);
    EXPECT_NE(GetDlgItem(dlg_, kButtonA), nullptr);
}

// ---- ForceTreeVisit in a real property sheet ----

std::vector<int> g_activations;

INT_PTR CALLBACK SheetPageProc(HWND page, UINT msg, WPARAM, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrW(page, DWLP_USER, reinterpret_cast<PROPSHEETPAGEW*>(lParam)->lParam);
        return TRUE;
    }
    if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == PSN_SETACTIVE) {
        g_activations.push_back(int(GetWindowLongPtrW(page, DWLP_USER)));
        return TRUE;
    }
    return FALSE;
}

TEST(ForceTreeVisit, VisitsPageTwoOncePerProcess) {
    std::vector<WORD> tmpl = MakeTemplate(WS_CHILD | DS_CONTROL);
    HPROPSHEETPAGE pages[4];
    for (int i = 0; i < 4; ++i) {
        PROPSHEETPAGEW p = {};
        p.dwSize = sizeof(p);
        p.dwFlags = PSP_DLGINDIRECT;
        p.pResource = reinterpret_cast<DLGTEMPLATE*>(tmpl.data());
        p.pfnDlgProc = SheetPageProc;
        p.lParam = i;
        pages[i] = CreatePropertySheetPageW(&p);
    }
    PROPSHEETHEADERW h = {};
    h.dwSize = sizeof(h);
    h.dwFlags = PSH_MODELESS;
    h.nPages = 4;
    h.phpage = pages;
    h.nStartPage = 3;
    h.pszCaption = L"sheet";
    HWND sheet = reinterpret_cast<HWND>(PropertySheetW(&h));
    ASSERT_NE(sheet, nullptr);
    HWND page3 = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));

    zd::ProcessState& ps = zd::Process();
    ps.printerDataWritable = 0;
    ps.sheetFlags = 0;
    g_activations.clear();
    zd::ForceTreeVisit(page3); // no page of the plug-in initialised yet
    EXPECT_TRUE(g_activations.empty());

    ps.sheetFlags = 2;
    zd::ForceTreeVisit(page3);
    EXPECT_EQ(g_activations, (std::vector<int>{2, 3}));
    EXPECT_EQ(ps.sheetFlags, 3u);
    EXPECT_EQ(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0), reinterpret_cast<LRESULT>(page3));

    g_activations.clear();
    zd::ForceTreeVisit(page3); // once per process
    EXPECT_TRUE(g_activations.empty());

    ps.sheetFlags = 2;
    ps.printerDataWritable = 1; // users who may write printer data never need the visit
    zd::ForceTreeVisit(page3);
    EXPECT_TRUE(g_activations.empty());
    DestroyWindow(sheet);
}

TEST(HelpButtonRule, QuestionMarkOnlyBeforeVersionSix) {
    std::vector<WORD> tmpl = MakeTemplate(WS_POPUP | WS_CAPTION | WS_SYSMENU);
    HWND dlg = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                          reinterpret_cast<DLGTEMPLATE*>(tmpl.data()), nullptr,
                                          FieldDialogProc, 0);
    zd::Process().systemIsNt6OrLater = 0;
    zd::ApplyHelpButtonRule(dlg);
    EXPECT_TRUE(GetWindowLongPtrW(dlg, GWL_EXSTYLE) & WS_EX_CONTEXTHELP);
    zd::Process().systemIsNt6OrLater = 1;
    zd::ApplyHelpButtonRule(dlg);
    EXPECT_FALSE(GetWindowLongPtrW(dlg, GWL_EXSTYLE) & WS_EX_CONTEXTHELP);
    DestroyWindow(dlg);
}

TEST(HelpIdTable, EndsWithZeroPairAndHasOneTopicPerId) {
    size_t n = 0;
    while (zd::HelpIdTable[2 * n] != 0 || zd::HelpIdTable[2 * n + 1] != 0)
        ++n;
    EXPECT_GT(n, 150u);
    for (size_t i = 0; i < n; ++i)
        for (size_t j = i + 1; j < n; ++j)
            ASSERT_NE(zd::HelpIdTable[2 * i], zd::HelpIdTable[2 * j])
                << "control " << zd::HelpIdTable[2 * i] << " listed twice";
    auto topic = [&](DWORD id) {
        for (size_t i = 0; i < n; ++i)
            if (zd::HelpIdTable[2 * i] == id)
                return zd::HelpIdTable[2 * i + 1];
        return DWORD(0);
    };
    EXPECT_EQ(topic(1), 3u);
    EXPECT_EQ(topic(10000), 1u);
    EXPECT_EQ(topic(1559), 830u);
    EXPECT_EQ(topic(1698), 1772u);
    EXPECT_EQ(topic(10001), 0u); // the logo button has no topic
}

// ---- ShowStringMessage ----

struct SeenBox {
    std::wstring caption, text;
    UINT style = 0;
};
SeenBox g_box;
HHOOK g_hook = nullptr;

HWND g_shownBox = nullptr;

// Runs inside the box's own modal loop, after its controls exist: reads the
// box and closes it with its first button.
void CALLBACK ReadShownBox(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    WCHAR buf[700] = {};
    GetWindowTextW(g_shownBox, buf, 700);
    g_box.caption = buf;
    buf[0] = 0;
    GetDlgItemTextW(g_shownBox, 0xFFFF, buf, 700);
    g_box.text = buf;
    g_box.style = GetDlgItem(g_shownBox, IDCANCEL) ? MB_OKCANCEL : MB_OK;
    PostMessageW(g_shownBox, WM_COMMAND, IDOK, 0);
}

LRESULT CALLBACK ReadMessageBox(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && !g_shownBox) {
        g_shownBox = reinterpret_cast<HWND>(wParam);
        SetTimer(nullptr, 0, 10, ReadShownBox);
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

int ShowAndRead(UINT textId, UINT captionId, UINT type) {
    g_box = {};
    g_shownBox = nullptr;
    g_hook = SetWindowsHookExW(WH_CBT, ReadMessageBox, nullptr, GetCurrentThreadId());
    int answer = zd::ShowStringMessage(nullptr, textId, captionId, type);
    UnhookWindowsHookEx(g_hook);
    return answer;
}

TEST(ShowStringMessage, TextsComeFromTheStringTable) {
    zd::Process().moduleInstance = GetModuleHandleW(nullptr);
    WCHAR text[600] = {}, caption[160] = {};
    ASSERT_GT(LoadStringW(GetModuleHandleW(nullptr), 8012, text, 600), 0);
    ASSERT_GT(LoadStringW(GetModuleHandleW(nullptr), 8030, caption, 160), 0);
    // The type's high 16 bits are not the box's business.
    EXPECT_EQ(ShowAndRead(8012, 8030, MB_OKCANCEL | 0x12340000), IDOK);
    EXPECT_EQ(g_box.text, text);
    EXPECT_EQ(g_box.caption, caption);
    EXPECT_EQ(g_box.style, UINT(MB_OKCANCEL));
}

TEST(ShowStringMessage, MissingStringShowsAnEmptyTextUnderTheDefaultCaption) {
    zd::Process().moduleInstance = GetModuleHandleW(nullptr);
    EXPECT_EQ(ShowAndRead(29999, 0, MB_OK), IDOK);
    EXPECT_EQ(g_box.text, L"");
    EXPECT_FALSE(g_box.caption.empty()); // the system's default caption
    EXPECT_EQ(g_box.style, UINT(MB_OK));
}

} // namespace
