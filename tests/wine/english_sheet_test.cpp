// The document sheet under an English user interface (ctest runs this
// program in the English locale): the real zdui.dll shows its pages, captions
// and messages from its English resources.
#include "dialog_tour.h"
#include "drvhost_api.h"
#include "resources/resource.h"
#include "test_printer.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using drvhost::HostSession;

const wchar_t kPrinter[] = L"zd english";

std::string Narrow(const std::wstring& w) {
    return std::string(w.begin(), w.end());
}

TEST(EnglishSheet, JobOptionsPageAndTheScaleMessageAreInEnglish) {
    ASSERT_EQ(GetUserDefaultUILanguage(), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    std::wstring error;
    ASSERT_TRUE(zdtest::InstallPrinter(zdtest::DemoPrinterSpec(kPrinter), &error)) << Narrow(error);
    HostSession s;
    ASSERT_TRUE(s.OpenDocumentSheet(kPrinter, &error)) << Narrow(error);
    ASSERT_TRUE(s.GoToPage(drvhost::kJobOptionsPageIndex));
    EXPECT_EQ(s.sheet()->pages()[drvhost::kJobOptionsPageIndex].title, L"Job Options");
    EXPECT_EQ(s.sheet()->pages()[drvhost::kFinishingPageIndex].title, L"Finishing");
    EXPECT_EQ(s.sheet()->pages()[drvhost::kColorPageIndex].title, L"Color");
    EXPECT_EQ(s.Text(IDC_TONER_SAVE), L"&Toner Save");
    EXPECT_EQ(s.Text(IDC_JO_SCALE_RANGE), L"(1-1000%)");

    // An out-of-range scale keeps the page and says why, in English.
    ASSERT_TRUE(s.Type(IDC_JO_SCALE, L"0"));
    std::wstring message;
    drvhost::AnswerNextDialog([&](HWND box) {
        message = drvhost::MessageBoxText(box);
        SendMessageW(box, WM_COMMAND, IDOK, 0);
    });
    EXPECT_FALSE(s.GoToPage(drvhost::kColorPageIndex));
    EXPECT_EQ(message, L"One or more of your settings are not valid.");
    EXPECT_EQ(s.CurrentPage(), drvhost::kJobOptionsPageIndex);
    s.PressCancel();
}

} // namespace
