// The extension page in the emulated driver's document sheet: the resource
// library's pictures, the sheet flag and the button that opens the address.
#include "plugin/oemui_plugin.h"
#include "core/process_state.h"
#include "drvhost_api.h"
#include "resources/resource.h"
#include "test_pixels.h"
#include "plugin_sheet_test.h"
#include "test_printer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using zdtest::BitmapPixels;
using zdtest::ControlOrigin;
using zdtest::ScreenPixels;

using drvhost::HostSession;

constexpr int kExtensionPageIndex = 6; // after three driver pages, Job Options, Finishing and Color
const wchar_t kPrinter[] = L"zd extension page";
const wchar_t kDriver[] = L"Zed CP9500 PS ExtPage";
const wchar_t kCapName[] = L"zdextpg.cap";

std::string Str(const std::wstring& w) {
    return std::string(w.begin(), w.end());
}

// Share of the bitmap's pixels (magenta ones left out when `transparent`)
// that the window shows at (x, y); 0 when the bitmap is missing.
double ShownShare(HWND window, HMODULE module, int bitmapId, POINT at, bool transparent) {
    int w = 0, h = 0;
    std::vector<COLORREF> picture = BitmapPixels(module, bitmapId, &w, &h);
    if (picture.empty())
        return 0;
    std::vector<COLORREF> shown = ScreenPixels(window, at.x, at.y, w, h);
    size_t counted = 0, matching = 0;
    for (size_t i = 0; i < picture.size(); ++i) {
        if (transparent && picture[i] == RGB(255, 0, 255))
            continue;
        ++counted;
        matching += shown[i] == picture[i];
    }
    return counted ? double(matching) / double(counted) : 0;
}

std::vector<std::string> ReadLines(const std::wstring& path) {
    std::vector<std::string> lines;
    std::ifstream in(path.c_str());
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            lines.push_back(line);
    return lines;
}

// The shell starts the handler on its own: wait for its lines.
std::vector<std::string> WaitForLines(const std::wstring& path, size_t count) {
    std::vector<std::string> lines;
    for (int i = 0; i < 200; ++i) {
        lines = ReadLines(path);
        if (lines.size() >= count)
            break;
        Sleep(50);
    }
    return lines;
}

std::wstring CapText(const std::wstring& address) {
    return std::wstring(L"[Capability]\r\n") + kDriver + L"=ZED_EXTPAGE\r\n[ZED_EXTPAGE]\r\n" +
           L"Compression=1281\r\nPSOutputOpt=1\r\nAskZedURL=" + address +
           L"\r\nAskZedRES=zdaskres.dll\r\nCCMInfoFile=zdccm.ini\r\n";
}

class ExtensionPageTest : public zdtest::PluginSheetTest {
  protected:
    static void SetUpTestSuite() {
        zd::Process().moduleInstance = GetModuleHandleW(nullptr);
        dir_ = zdtest::MakeTempDir(L"extpage");
        ASSERT_FALSE(dir_.empty());
        // The support address names a stand-in browser that only records
        // that it was opened; a second copy tells a changed address apart.
        first_ = zdtest::ExeDir() + L"\\zdopenmarker.exe";
        second_ = dir_ + L"\\zdopenmarker2.exe";
        ASSERT_TRUE(CopyFileW(first_.c_str(), second_.c_str(), FALSE));

        std::wstring cap = dir_ + L"\\" + kCapName;
        ASSERT_TRUE(zdtest::WriteTextFile(cap, CapText(first_)));
        zdtest::PrinterSpec spec = zdtest::DemoPrinterSpec(kPrinter);
        spec.driverName = kDriver;
        for (std::wstring& f : spec.dependentFiles)
            if (f.size() > 4 && f.compare(f.size() - 4, 4, L".cap") == 0)
                f = cap;
        std::wstring error;
        ASSERT_TRUE(zdtest::InstallPrinter(spec, &error)) << Str(error);
    }

    void SetUp() override {
        StartSession();
        std::wstring error;
        ASSERT_TRUE(session_->OpenDocumentSheet(kPrinter, &error)) << Str(error);
        ASSERT_GT(session_->sheet()->pageCount(), kExtensionPageIndex);
        marker_ = dir_ + L"\\opened_" + std::to_wstring(++runs_) + L".txt";
        SetEnvironmentVariableW(L"ZD_OPEN_MARKER", marker_.c_str());
    }

    HWND Page() { return session_->page(); }
    HMODULE Extension() { return zd::Process().extensionModule; }

    double PictureShare() {
        POINT at = ControlOrigin(Page(), IDC_EXT_PICTURE);
        at.x += 2; // inside its two-pixel frame
        at.y += 2;
        return ShownShare(Page(), Extension(), IDB_EXT_PICTURE, at, false);
    }

    double ButtonPictureShare() {
        return ShownShare(Page(), Extension(), IDB_EXT_BUTTON_PICTURE,
                          ControlOrigin(Page(), IDC_EXT_BUTTON_PICTURE), true);
    }

    static std::wstring dir_, first_, second_;
    static int runs_;
    std::wstring marker_;
};

std::wstring ExtensionPageTest::dir_, ExtensionPageTest::first_, ExtensionPageTest::second_;
int ExtensionPageTest::runs_ = 0;

TEST_F(ExtensionPageTest, ShowsTheLibrarysPicturesAndMarksThePluginPageInitialised) {
    const drvhost::SheetPage& tab = session_->sheet()->pages()[kExtensionPageIndex];
    EXPECT_TRUE(tab.fromPlugin);
    EXPECT_EQ(tab.title, L"在线支持");
    ASSERT_NE(Extension(), nullptr);

    // Only the pages' initialisation sets the bit; none of them has run yet.
    zd::Process().sheetFlags &= ~DWORD(2);
    ASSERT_TRUE(session_->GoToPage(kExtensionPageIndex));
    session_->Pump();
    EXPECT_TRUE(zd::Process().sheetFlags & 2);
    ASSERT_TRUE(session_->Exists(IDC_EXT_OPEN_URL));
    EXPECT_GT(PictureShare(), 0.99);
    EXPECT_GT(ButtonPictureShare(), 0.95);

    // A full repaint, as the screenshot makes, keeps both pictures.
    std::wstring error;
    EXPECT_TRUE(session_->Screenshot(zdtest::ExeDir() + L"\\extension_page.png", &error))
        << Str(error);
    EXPECT_GT(PictureShare(), 0.99);
    EXPECT_GT(ButtonPictureShare(), 0.95);
}

TEST_F(ExtensionPageTest, SwitchingBackToThePageDrawsThePictureAgain) {
    ASSERT_TRUE(session_->GoToPage(kExtensionPageIndex));
    session_->Pump();
    ASSERT_GT(PictureShare(), 0.99);
    // Spoil the picture without asking for a repaint.
    RECT r;
    GetWindowRect(GetDlgItem(Page(), IDC_EXT_PICTURE), &r);
    MapWindowPoints(nullptr, Page(), reinterpret_cast<POINT*>(&r), 2);
    HDC dc = GetDC(Page());
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(Page(), dc);
    ValidateRect(Page(), nullptr);
    ASSERT_LT(PictureShare(), 0.5);

    ASSERT_TRUE(session_->GoToPage(0));
    ASSERT_TRUE(session_->GoToPage(kExtensionPageIndex));
    session_->Pump();
    EXPECT_GT(PictureShare(), 0.99);
}

TEST_F(ExtensionPageTest, EveryClickOpensTheSupportAddress) {
    ASSERT_TRUE(session_->GoToPage(kExtensionPageIndex));
    ASSERT_TRUE(session_->Click(IDC_EXT_OPEN_URL));
    std::vector<std::string> lines = WaitForLines(marker_, 1);
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_TRUE(session_->Click(IDC_EXT_OPEN_URL));
    lines = WaitForLines(marker_, 2);
    ASSERT_EQ(lines.size(), 2u);
    for (const std::string& line : lines)
        EXPECT_NE(line.find(Str(first_)), std::string::npos) << line;
}

TEST_F(ExtensionPageTest, TheAddressIsReadFromTheModelAtClickTime) {
    ASSERT_TRUE(session_->GoToPage(kExtensionPageIndex));
    std::wstring installed = zdtest::DriverFilesDir() + L"\\" + kCapName;
    ASSERT_TRUE(zdtest::WriteTextFile(installed, CapText(second_)));
    ASSERT_TRUE(session_->Click(IDC_EXT_OPEN_URL));
    std::vector<std::string> lines = WaitForLines(marker_, 1);
    zdtest::WriteTextFile(installed, CapText(first_));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find(Str(second_)), std::string::npos) << lines[0];
}

} // namespace
