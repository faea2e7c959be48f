// The colour setting store named by the model, read from the driver folder
// of installed test printers, and its commit into the private DEVMODE.
#include "color/color_setting_store.h"
#include "core/devmode_record.h"
#include "core/driver_files.h"
#include "core/process_state.h"
#include "core/ui_context.h"
#include "test_printer.h"

#include <winspool.h>

#include <gtest/gtest.h>

#include <array>

using namespace zd;

namespace {

using Block = std::array<uint8_t, kOemDevModeSize>;

std::wstring Installed(const std::wstring& name) {
    return zdtest::DriverFilesDir() + L"\\" + name;
}

std::wstring Repeat(const std::wstring& s, int n) {
    std::wstring out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

// A printer whose model names `ccmName` (or nothing) as its store.
class ColorSettingStoreTest : public testing::Test {
  protected:
    void Install(const std::wstring& tag, const std::wstring& ccmName,
                 const std::wstring& ccmText) {
        std::wstring dir = zdtest::MakeTempDir(L"ccm" + tag);
        std::wstring cap = dir + L"\\zdst_ccm_" + tag + L".cap";
        std::wstring driver = L"ZD Stores Colour " + tag;
        std::wstring model =
            L"[Capability]\r\n" + driver + L"=Model" + tag + L"\r\n[Model" + tag + L"]\r\n";
        if (!ccmName.empty())
            model += L"CCMInfoFile=" + ccmName + L"\r\n";
        ASSERT_TRUE(zdtest::WriteTextFile(cap, model));
        zdtest::PrinterSpec spec;
        spec.printerName = L"zd stores colour " + tag;
        spec.driverName = driver;
        spec.dataFile = zdtest::SamplesDir() + L"\\zdcp95.ppd";
        spec.dependentFiles = {cap};
        if (!ccmName.empty()) {
            std::wstring ccm = dir + L"\\" + ccmName;
            ASSERT_TRUE(zdtest::WriteTextFile(ccm, ccmText));
            spec.dependentFiles.push_back(ccm);
        }
        std::wstring error;
        ASSERT_TRUE(zdtest::InstallPrinter(spec, &error))
            << std::string(error.begin(), error.end());
        ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(spec.printerName.c_str()), &printer_, nullptr));
        WCHAR config[kOemConfigPathUnits] = {};
        FindDriverFiles(printer_, config);
        ASSERT_EQ(std::wstring(Process().capabilityFilePath),
                  Installed(L"zdst_ccm_" + tag + L".cap"));
        params_.cbSize = sizeof params_;
        params_.hPrinter = printer_;
        params_.pOEMDM = devmode_.data();
        ctx_.pageParam = &params_;
    }
    void TearDown() override {
        if (printer_)
            ClosePrinter(printer_);
    }
    ByteView Dm() { return ByteView(devmode_.data(), devmode_.size()); }

    HANDLE printer_ = nullptr;
    OEMUIPSPARAM params_{};
    UiContext ctx_{};
    Block devmode_{};
};

const wchar_t kStore[] = L"[Color]\r\nSettingNum=3\r\nSettingID0=5\r\nSettingID1=2\r\n"
                         L"SettingID2=7\r\n"
                         L"SettingName5=\u9c9c\u8273\r\nSettingName2=\r\nSettingName7=Seven\r\n"
                         L"CCMNT5=0A1b\r\nCCMNV5=ABC\r\nCCMNT2=FFFF\r\n"
                         L"[Gamma]\r\nSettingNum=1\r\nSettingID0=5\r\nSettingName5=Gamma 1.8\r\n"
                         L"CCMNT5=1234\r\n";

TEST_F(ColorSettingStoreTest, PathComesFromTheModelSection) {
    Install(L"path", L"zdst_ccm_path.ini", kStore);
    WCHAR path[260] = L"untouched";
    ASSERT_TRUE(GetColorSettingFilePath(&params_, path, sizeof path));
    EXPECT_EQ(std::wstring(path), Installed(L"zdst_ccm_path.ini"));
    // A buffer too small for the path leaves it untouched.
    WCHAR small[10] = L"untouched";
    EXPECT_FALSE(GetColorSettingFilePath(&params_, small, sizeof small));
    EXPECT_STREQ(small, L"untouched");
}

TEST_F(ColorSettingStoreTest, ListsNamedSettingsInOfferOrder) {
    Install(L"list", L"zdst_ccm_list.ini", kStore);
    WCHAR path[260] = {};
    ASSERT_TRUE(GetColorSettingFilePath(&params_, path, sizeof path));
    auto list = ListColorSettings(path);
    ASSERT_EQ(list.size(), 3u);
    // SettingID0=5 comes first; id 2 has an empty name and is not offered.
    EXPECT_EQ(list[0].name, L"\u9c9c\u8273");
    EXPECT_EQ(list[0].itemValue, 5);
    EXPECT_EQ(list[1].name, L"Seven");
    EXPECT_EQ(list[1].itemValue, 7);
    EXPECT_EQ(list[2].name, L"Gamma 1.8");
    EXPECT_EQ(list[2].itemValue, 0x100 + 5);
}

TEST_F(ColorSettingStoreTest, IdsUseTheirLowByte) {
    Install(L"ids", L"zdst_ccm_ids.ini",
            L"[Color]\r\nSettingNum=2\r\nSettingID0=263\r\nSettingID1=0\r\nSettingName7=Low7\r\n"
            L"[Gamma]\r\nSettingNum=0\r\n");
    WCHAR path[260] = {};
    ASSERT_TRUE(GetColorSettingFilePath(&params_, path, sizeof path));
    auto list = ListColorSettings(path);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].name, L"Low7");
    EXPECT_EQ(list[0].itemValue, 7);
}

// Ids are 8-bit: positions past 256 are not read, however many the count claims.
TEST_F(ColorSettingStoreTest, AtMost256PositionsAreRead) {
    Install(L"bound", L"zdst_ccm_bound.ini",
            L"[Color]\r\nSettingNum=257\r\nSettingID0=1\r\nSettingName1=First\r\n"
            L"SettingID256=2\r\nSettingName2=Past\r\n"
            L"[Gamma]\r\nSettingNum=300\r\nSettingID255=3\r\nSettingName3=Last\r\n");
    WCHAR path[260] = {};
    ASSERT_TRUE(GetColorSettingFilePath(&params_, path, sizeof path));
    auto list = ListColorSettings(path);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].name, L"First");
    EXPECT_EQ(list[1].name, L"Last");
    EXPECT_EQ(list[1].itemValue, 0x100 + 3);
}

TEST_F(ColorSettingStoreTest, EmptySectionsOfferNothing) {
    Install(L"empty", L"zdst_ccm_empty.ini",
            L"[Color]\r\nSettingNum=0\r\nSettingID0=1\r\nSettingName1=Hidden\r\n"
            L"[Gamma]\r\nSettingNum=0\r\n");
    WCHAR path[260] = {};
    ASSERT_TRUE(GetColorSettingFilePath(&params_, path, sizeof path));
    EXPECT_TRUE(ListColorSettings(path).empty());
    EXPECT_TRUE(ListColorSettings(L"").empty());
}

TEST_F(ColorSettingStoreTest, CommitWithTheUserSettingOffTouchesOnly80And600) {
    Install(L"off", L"zdst_ccm_off.ini", kStore);
    devmode_.fill(0xEE);
    ctx_.selections[slot::ColorSettingWord] = 0x105;
    Block before = devmode_;
    CommitColorSetting(ctx_);
    for (size_t i = 0; i < devmode_.size(); ++i) {
        if ((i >= 80 && i < 82) || (i >= 600 && i < 604))
            continue;
        ASSERT_EQ(devmode_[i], before[i]) << "offset " << i;
    }
    EXPECT_EQ(Dm().u16(80), 0);
    EXPECT_EQ(Dm().u32(600), 0x105u);
}

TEST_F(ColorSettingStoreTest, CommitLoadsTheSettingsBlocks) {
    Install(L"on", L"zdst_ccm_on.ini", kStore);
    devmode_.fill(0xEE);
    ctx_.selections[slot::ColorSettingWord] = 0x10005; // "Color" id 5, user setting on
    CommitColorSetting(ctx_);
    EXPECT_EQ(Dm().u32(600), 0x10005u);
    EXPECT_EQ(Dm().u16(80), 0);
    EXPECT_EQ(Dm().u16(88), 2); // low byte 2, high byte cleared
    EXPECT_EQ(devmode_[90], 0x0A);
    EXPECT_EQ(devmode_[91], 0x1B);
    EXPECT_EQ(devmode_[92], 0xEE);
    EXPECT_EQ(Dm().u16(343), 1); // ABC: one byte counted
    EXPECT_EQ(devmode_[345], 0xAB);
    EXPECT_EQ(devmode_[346], 0xC0); // the half byte is written
    EXPECT_EQ(devmode_[347], 0xEE);

    // The "Gamma" setting of the same id; its missing second key reads empty.
    devmode_.fill(0xEE);
    ctx_.selections[slot::ColorSettingWord] = 0x10105;
    CommitColorSetting(ctx_);
    EXPECT_EQ(Dm().u16(88), 2);
    EXPECT_EQ(devmode_[90], 0x12);
    EXPECT_EQ(devmode_[91], 0x34);
    EXPECT_EQ(Dm().u16(343), 0);
    EXPECT_EQ(devmode_[345], 0xEE);
}

TEST_F(ColorSettingStoreTest, LongTextsAreCutAtTheBlocksAndCountsKeepTheLowByte) {
    std::wstring store = L"[Color]\r\nSettingNum=1\r\nSettingID0=9\r\nSettingName9=Long\r\n"
                         L"CCMNT9=" +
                         Repeat(L"5A", 300) + L"\r\nCCMNV9=" + Repeat(L"C3", 300) +
                         L"\r\n[Gamma]\r\nSettingNum=0\r\n";
    Install(L"long", L"zdst_ccm_long.ini", store);
    devmode_.fill(0xEE);
    ctx_.selections[slot::ColorSettingWord] = 0x10009;
    CommitColorSetting(ctx_);
    EXPECT_EQ(Dm().u16(88), 253);
    EXPECT_EQ(devmode_[90 + 252], 0x5A);
    EXPECT_EQ(Dm().u16(343), 255); // 343 follows the first block directly
    EXPECT_EQ(devmode_[345], 0xC3);
    EXPECT_EQ(devmode_[345 + 254], 0xC3);
    EXPECT_EQ(Dm().u32(600), 0x10009u); // the block never runs into the word
    EXPECT_EQ(devmode_[604], 0xEE);
}

TEST_F(ColorSettingStoreTest, WithoutAStoreTheCountsAreZero) {
    Install(L"none", L"", L"");
    WCHAR path[260] = L"untouched";
    EXPECT_FALSE(GetColorSettingFilePath(&params_, path, sizeof path));
    EXPECT_STREQ(path, L"untouched");
    devmode_.fill(0xEE);
    ctx_.selections[slot::ColorSettingWord] = 0x10005;
    CommitColorSetting(ctx_);
    EXPECT_EQ(Dm().u16(88), 0);
    EXPECT_EQ(Dm().u16(343), 0);
    EXPECT_EQ(devmode_[90], 0xEE);
    EXPECT_EQ(Dm().u32(600), 0x10005u);
}

TEST_F(ColorSettingStoreTest, DescribesTheSettings) {
    Install(L"describe", L"zdst_ccm_describe.ini", kStore);
    WCHAR path[260] = {};
    ASSERT_TRUE(GetColorSettingFilePath(&params_, path, sizeof path));
    std::wstring d = DescribeColorSettings(path);
    EXPECT_NE(d.find(L"Color 5: \u9c9c\u8273"), std::wstring::npos);
    EXPECT_NE(d.find(L"Gamma 5: Gamma 1.8"), std::wstring::npos);
}

} // namespace

namespace {

// The demo model's own store, installed with the demo printer.
TEST(DemoColorSettings, TheSampleStoreOffersItsColourAndGammaSettings) {
    zdtest::PrinterSpec spec = zdtest::DemoPrinterSpec(L"zd stores demo colour");
    std::wstring error;
    ASSERT_TRUE(zdtest::InstallPrinter(spec, &error)) << std::string(error.begin(), error.end());
    HANDLE printer = nullptr;
    ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(spec.printerName.c_str()), &printer, nullptr));
    WCHAR config[kOemConfigPathUnits] = {};
    FindDriverFiles(printer, config);
    OEMUIPSPARAM params{};
    params.hPrinter = printer;
    WCHAR path[260] = {};
    ASSERT_TRUE(GetColorSettingFilePath(&params, path, sizeof path));
    EXPECT_EQ(std::wstring(path), Installed(L"zdccm.ini"));
    auto list = ListColorSettings(path);
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].name, L"\u9c9c\u8273");
    EXPECT_EQ(list[0].itemValue, 1);
    EXPECT_EQ(list[1].itemValue, 2);
    EXPECT_EQ(list[2].name, L"Gamma 1.8");
    EXPECT_EQ(list[2].itemValue, 0x101);
    EXPECT_EQ(list[3].itemValue, 0x103);

    std::array<uint8_t, kOemDevModeSize> dm{};
    params.pOEMDM = dm.data();
    UiContext ctx{};
    ctx.pageParam = &params;
    ctx.selections[slot::ColorSettingWord] = 0x10001;
    CommitColorSetting(ctx);
    EXPECT_EQ(dm[88], 51); // three 17-point curves
    EXPECT_EQ(dm[343], 9); // a 3 x 3 matrix
    EXPECT_EQ(dm[90], 0x00);
    EXPECT_EQ(dm[90 + 16], 0xFF);
    ClosePrinter(printer);
}

} // namespace
