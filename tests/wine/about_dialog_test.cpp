// The About dialog run modally over installed test printers: the texts come
// from the driver's PPD, version file and printer information.
#include "core/process_state.h"
#include "core/ui_context.h"
#include "drvhost_api.h"
#include "jobopts/about_dialog.h"
#include "resources/resource.h"
#include "test_pixels.h"
#include "test_printer.h"

#include <gtest/gtest.h>

#include <winspool.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using zdtest::BitmapPixels;
using zdtest::ControlOrigin;
using zdtest::ScreenPixels;

struct AboutTexts {
    std::wstring driverName, driverVersion, ppdVersion, copyright;
    INT_PTR result = -2;
};

class AboutDialogTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        zd::Process().moduleInstance = GetModuleHandleW(nullptr);
        std::wstring error;
        ASSERT_TRUE(zdtest::InstallPrinter(zdtest::DemoPrinterSpec(kDemoPrinter), &error))
            << std::string(error.begin(), error.end());
        dir_ = zdtest::MakeTempDir(L"about");
        ASSERT_FALSE(dir_.empty());
    }

    // A printer of driver `driver` whose files are written here under names
    // of their own: "<base>.ini", "<base>.ppd" and the given version files.
    static void InstallVariant(const std::wstring& printer, const std::wstring& driver,
                               const std::wstring& base, const std::string& ppd,
                               const std::vector<std::pair<std::wstring, std::string>>& verFiles) {
        zdtest::PrinterSpec spec;
        spec.printerName = printer;
        spec.driverName = driver;
        spec.dataFile = dir_ + L"\\" + base + L".ppd";
        ASSERT_TRUE(WriteBytes(spec.dataFile, ppd));
        std::wstring ini = dir_ + L"\\" + base + L".ini";
        ASSERT_TRUE(zdtest::WriteTextFile(ini, L"[OEMFiles]\r\nOEMConfigFile1=zdui.dll\r\n"));
        spec.dependentFiles.push_back(ini);
        for (const auto& [name, text] : verFiles) {
            std::wstring path = dir_ + L"\\" + name;
            ASSERT_TRUE(WriteBytes(path, text));
            spec.dependentFiles.push_back(path);
        }
        std::wstring error;
        ASSERT_TRUE(zdtest::InstallPrinter(spec, &error))
            << std::string(error.begin(), error.end());
    }

    static bool WriteBytes(const std::wstring& path, const std::string& bytes) {
        HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (f == INVALID_HANDLE_VALUE)
            return false;
        DWORD written = 0;
        BOOL ok = WriteFile(f, bytes.data(), DWORD(bytes.size()), &written, nullptr);
        CloseHandle(f);
        return ok && written == bytes.size();
    }

    // Runs the dialog for the printer with the configuration path of the
    // installed file `configName`; `close` is the command that ends it.
    AboutTexts Run(const wchar_t* printer, const std::wstring& configName, WPARAM close = IDOK,
                   std::function<void(HWND)> also = nullptr) {
        AboutTexts texts;
        HANDLE handle = nullptr;
        EXPECT_TRUE(OpenPrinterW(const_cast<LPWSTR>(printer), &handle, nullptr));
        std::wstring config = zdtest::DriverFilesDir() + L"\\" + configName;
        std::vector<WCHAR> configBlock(zd::kOemConfigPathUnits, 0);
        config.copy(configBlock.data(), zd::kOemConfigPathUnits - 1);
        OEMUIPSPARAM psp = {};
        psp.cbSize = sizeof psp;
        psp.hPrinter = handle;
        psp.pPrinterName = const_cast<LPWSTR>(printer);
        auto ctx = std::make_unique<zd::UiContext>();
        ctx->pageParam = &psp;
        ctx->configFilePath = configBlock.data();
        drvhost::AnswerNextDialog([&](HWND dlg) {
            texts.driverName = drvhost::ControlText(dlg, IDC_ABOUT_DRIVER_NAME);
            texts.driverVersion = drvhost::ControlText(dlg, IDC_ABOUT_DRIVER_VERSION);
            texts.ppdVersion = drvhost::ControlText(dlg, IDC_ABOUT_PPD_VERSION);
            texts.copyright = drvhost::ControlText(dlg, IDC_ABOUT_COPYRIGHT);
            if (also)
                also(dlg);
            SendMessageW(dlg, WM_COMMAND, close, 0);
        });
        texts.result = zd::RunAboutDialog(nullptr, ctx.get());
        EXPECT_EQ(drvhost::PendingDialogAnswers(), 0);
        ClosePrinter(handle);
        return texts;
    }

    static constexpr const wchar_t* kDemoPrinter = L"zd about demo";
    static std::wstring dir_;
};

std::wstring AboutDialogTest::dir_;

TEST_F(AboutDialogTest, DemoPrinterShowsDriverNameVersionsAndCopyright) {
    AboutTexts t = Run(kDemoPrinter, L"zdcp95.ini");
    EXPECT_EQ(t.driverName, zdtest::kDemoDriver);
    EXPECT_EQ(t.driverVersion, L"3.2.105.0");
    EXPECT_EQ(t.ppdVersion, L"3.2.105");
    EXPECT_EQ(t.copyright, L"Copyright (C) 2026 Zed Printing Systems. All rights reserved.");
    EXPECT_EQ(t.result, 1);
}

TEST_F(AboutDialogTest, CancelAndTheCloseBoxEndWithZero) {
    EXPECT_EQ(Run(kDemoPrinter, L"zdcp95.ini", IDCANCEL).result, 0);
    AboutTexts closed;
    closed.result = -2;
    HANDLE handle = nullptr;
    ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(kDemoPrinter), &handle, nullptr));
    OEMUIPSPARAM psp = {};
    psp.hPrinter = handle;
    zd::UiContext ctx = {};
    ctx.pageParam = &psp;
    drvhost::AnswerNextDialog([](HWND dlg) { SendMessageW(dlg, WM_CLOSE, 0, 0); });
    EXPECT_EQ(zd::RunAboutDialog(nullptr, &ctx), 0);
    ClosePrinter(handle);
}

TEST_F(AboutDialogTest, PpdWithoutMarkersAndNoVersionFileLeaveTextsEmpty) {
    // "FileVersion" without quotes is skipped; no line holds "Copyright".
    InstallVariant(L"zd about bare", L"Zed About Bare", L"zdabtbare",
                   "*PPD-Adobe: \"4.3\"\r\n*FileVersion: 5.0\r\n*ModelName: \"Bare\"\r\n", {});
    AboutTexts t = Run(L"zd about bare", L"zdabtbare.ini");
    EXPECT_EQ(t.driverName, L"Zed About Bare");
    EXPECT_EQ(t.driverVersion, L"");
    EXPECT_EQ(t.ppdVersion, L"");
    EXPECT_EQ(t.copyright, L"");
    EXPECT_EQ(t.result, 1);
}

TEST_F(AboutDialogTest, LastUpperCaseVersionFileAndFirstMarkedLinesWin) {
    InstallVariant(L"zd about rules", L"Zed About Rules", L"zdabtrule",
                   "*PPD-Adobe: \"4.3\"\n*FileVersion: none here\n*FileVersion: \"7.1.42\"\n"
                   "*FileVersion: \"9.9\"\n*Copyright Zed test line (c) 2027\n"
                   "*Copyright Second line\n",
                   {{L"zdabtrule1.ver", "[Version]\r\nDriverVer=01/01/2020,1.0.0.1\r\n"},
                    {L"zdabtrule2.VER", "[Version]\r\nDriverVer=01/02/2027,7.1.42.9\r\n"}});
    AboutTexts t = Run(L"zd about rules", L"zdabtrule.ini");
    EXPECT_EQ(t.driverName, L"Zed About Rules");
    EXPECT_EQ(t.driverVersion, L"7.1.42.9");
    EXPECT_EQ(t.ppdVersion, L"7.1.42");
    EXPECT_EQ(t.copyright, L"Zed test line (c) 2027");
}

TEST_F(AboutDialogTest, DriverVerWithoutAnEarlyCommaGivesNoVersion) {
    InstallVariant(
        L"zd about nocomma", L"Zed About NoComma", L"zdabtnoc", "*FileVersion: \"2.0\"\r\n",
        {{L"zdabtnoc.ver",
          "[Version]\r\nDriverVer=a date text that runs past thirty-two units,2.0\r\n"}});
    AboutTexts t = Run(L"zd about nocomma", L"zdabtnoc.ini");
    EXPECT_EQ(t.driverVersion, L"");
    EXPECT_EQ(t.ppdVersion, L"2.0");
}

TEST_F(AboutDialogTest, NoPrinterAndNoConfigurationLeaveEverythingEmpty) {
    zd::UiContext ctx = {};
    AboutTexts t;
    drvhost::AnswerNextDialog([&](HWND dlg) {
        t.driverName = drvhost::ControlText(dlg, IDC_ABOUT_DRIVER_NAME);
        t.driverVersion = drvhost::ControlText(dlg, IDC_ABOUT_DRIVER_VERSION);
        t.ppdVersion = drvhost::ControlText(dlg, IDC_ABOUT_PPD_VERSION);
        t.copyright = drvhost::ControlText(dlg, IDC_ABOUT_COPYRIGHT);
        SendMessageW(dlg, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(zd::RunAboutDialog(nullptr, &ctx), 1);
    EXPECT_EQ(t.driverName + t.driverVersion + t.ppdVersion + t.copyright, L"");
}

TEST_F(AboutDialogTest, PictureIsDrawnIntoItsButtonAndTheDialogLooksRight) {
    int w = 0, h = 0;
    std::vector<COLORREF> picture = BitmapPixels(GetModuleHandleW(nullptr), IDB_ABOUT, &w, &h);
    ASSERT_FALSE(picture.empty());
    size_t opaque = 0, matching = 0;
    bool saved = false;
    Run(kDemoPrinter, L"zdcp95.ini", IDOK, [&](HWND dlg) {
        // The modal loop shows the dialog only once it is idle.
        ShowWindow(dlg, SW_SHOWNORMAL);
        RedrawWindow(dlg, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        POINT at = ControlOrigin(dlg, IDC_ABOUT_PICTURE);
        std::vector<COLORREF> shown = ScreenPixels(dlg, at.x, at.y, w, h);
        for (size_t i = 0; i < picture.size(); ++i) {
            if (picture[i] == RGB(255, 0, 255))
                continue;
            ++opaque;
            matching += shown[i] == picture[i];
        }
        std::wstring error;
        saved = drvhost::SaveWindowPng(dlg, zdtest::ExeDir() + L"\\about_dialog.png", &error);
    });
    EXPECT_TRUE(saved);
    ASSERT_GT(opaque, 100u);
    // Controls over the picture (the group box, texts) may cover a few pixels.
    EXPECT_GT(matching, opaque * 9 / 10);
}

} // namespace

namespace {

// The title bar's question mark only before system version 6.
TEST_F(AboutDialogTest, QuestionMarkButtonFollowsTheSystemVersion) {
    DWORD saved = zd::Process().systemIsNt6OrLater;
    for (DWORD nt6 : {0u, 1u}) {
        zd::Process().systemIsNt6OrLater = nt6;
        LONG_PTR exStyle = -1;
        Run(kDemoPrinter, L"zdcp95.ini", IDOK,
            [&](HWND dlg) { exStyle = GetWindowLongPtrW(dlg, GWL_EXSTYLE); });
        ASSERT_NE(exStyle, -1);
        EXPECT_EQ((exStyle & WS_EX_CONTEXTHELP) != 0, nt6 == 0) << "version 6 flag " << nt6;
    }
    zd::Process().systemIsNt6OrLater = saved;
}

} // namespace
