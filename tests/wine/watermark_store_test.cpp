// The watermark list, the custom colours and the font list against real INI
// files in the driver folder of a printer installed through the spooler.
#include "core/devmode_record.h"
#include "core/driver_files.h"
#include "core/process_state.h"
#include "core/win_util.h"
#include "core/ui_context.h"
#include "test_printer.h"
#include "watermark/watermark_store.h"

#include <winspool.h>

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>

using namespace zd;

namespace {

using Block = std::array<uint8_t, kOemDevModeSize>;

std::wstring Installed(const std::wstring& name) {
    return zdtest::DriverFilesDir() + L"\\" + name;
}

std::wstring ReadKey(const std::wstring& path, const wchar_t* section, const wchar_t* key) {
    WCHAR buf[1100] = {};
    GetPrivateProfileStringW(section, key, L"<absent>", buf, 1100, path.c_str());
    return buf;
}

// The NUL-separated key names of a section, in file order.
std::vector<std::wstring> Keys(const std::wstring& path, const wchar_t* section) {
    std::vector<std::wstring> out;
    WCHAR buf[4096] = {};
    DWORD n = GetPrivateProfileStringW(section, nullptr, L"", buf, 4096, path.c_str());
    for (DWORD i = 0; i < n && buf[i]; i += DWORD(wcslen(buf + i)) + 1)
        out.emplace_back(buf + i);
    return out;
}

class WatermarkStoreTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        Process().moduleInstance = GetModuleHandleW(nullptr);
        // The printer brings the configuration file and its font list.
        std::wstring dir = zdtest::MakeTempDir(L"wmstore");
        std::wstring ini = dir + L"\\zdst_wm.ini";
        std::wstring font = dir + L"\\zdst_wmfont.dat";
        ASSERT_TRUE(zdtest::WriteTextFile(
            ini, L"[OEMFiles]\r\nOEMConfigFile1=zdui.dll\r\n[DependentFiles]\r\n"
                 L"WMFONT=zdst_wmfont.dat\r\n"));
        ASSERT_TRUE(zdtest::WriteTextFile(
            font, L"[PrinterFont]\r\nDefaultNo=3\r\n"
                  L"1=Courier,Courier-Oblique,Courier-Bold,Courier-BoldOblique,Courier New\r\n"
                  L"2=\u660E\u671D,MS Mincho,Ryumin-Light-90ms-RKSJ-H,\u65E5\u672C\u8A9E\r\n"
                  L"3=Times,Times-Italic,Times-Bold,Times-BoldItalic,Times New Roman\r\n"));
        zdtest::PrinterSpec spec;
        spec.printerName = L"zd stores watermark";
        spec.driverName = L"ZD Stores Watermark";
        spec.dataFile = zdtest::SamplesDir() + L"\\zdcp95.ppd";
        spec.dependentFiles = {ini, font};
        std::wstring error;
        ASSERT_TRUE(zdtest::InstallPrinter(spec, &error))
            << std::string(error.begin(), error.end());
        HANDLE printer = nullptr;
        ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(spec.printerName.c_str()), &printer, nullptr));
        static WCHAR configPath[kOemConfigPathUnits];
        EXPECT_TRUE(FindDriverFiles(printer, configPath));
        ClosePrinter(printer);
        EXPECT_STREQ(configPath, Installed(L"zdst_wm.ini").c_str());
        configPath_ = configPath;
    }

    void SetUp() override {
        ctx_ = UiContext{};
        BuildWatermarkFontFilePath(configPath_);
        devmode_.fill(0);
    }

    void TearDown() override {
        FreeWatermarkSnapshot(ctx_);
        FreeWatermarkList(ctx_);
    }

    // A configuration file of this test's own in the driver folder.
    std::wstring Config(const std::wstring& name, const std::wstring& text) {
        std::wstring path = Installed(name);
        EXPECT_TRUE(zdtest::WriteTextFile(path, text));
        path_ = path;
        ctx_.configFilePath = path_.data();
        return path;
    }

    ByteView Dm() { return ByteView(devmode_.data(), devmode_.size()); }
    WatermarkList List() { return WatermarkList(ctx_); }

    static const WCHAR* configPath_;
    UiContext ctx_{};
    std::wstring path_;
    Block devmode_{};
};

const WCHAR* WatermarkStoreTest::configPath_ = nullptr;

const wchar_t kAbc[] = L"72,0,45,0,0,12632256,ABC,HeiseiMin-W3-90ms-RKSJ-H,0,0,0,3,0,0,0,0";

TEST_F(WatermarkStoreTest, FontListPathAndEntries) {
    EXPECT_STREQ(WatermarkFontFilePath(), Installed(L"zdst_wmfont.dat").c_str());
    EXPECT_EQ(ReadFontEntry(0),
              L"Courier,Courier-Oblique,Courier-Bold,Courier-BoldOblique,Courier New");
    std::wstring jp = ReadFontEntry(1);
    EXPECT_TRUE(IsJapaneseFontEntry(SplitFontEntry(U16(jp.c_str()))));
    EXPECT_EQ(ReadFontEntry(3), L"");
    EXPECT_EQ(ReadFontEntry(-1), L"");

    // Without WMFONT there is no font list: no path, no entries, DefaultNo 0.
    std::wstring plain = Config(L"zdst_wm_nofont.ini", L"[DependentFiles]\r\nHELP=x.hlp\r\n");
    BuildWatermarkFontFilePath(plain.c_str());
    EXPECT_STREQ(WatermarkFontFilePath(), L"");
    EXPECT_EQ(ReadFontEntry(0), L"");
    LoadWatermarkList(nullptr, ctx_, Dm());
    ASSERT_NE(List().entry(0), nullptr);
    EXPECT_EQ(List().entry(0)->fontNumber, 0);
}

TEST_F(WatermarkStoreTest, NoneEntryTakesTheDefaultsAndDefaultNo) {
    Config(L"zdst_wm_none.ini", L"[Watermark]\r\n");
    LoadWatermarkList(nullptr, ctx_, Dm());
    WatermarkRecord* none = List().entry(0);
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(none->fontNumber, 2); // DefaultNo=3
    EXPECT_EQ(none->size, 72);
    EXPECT_EQ(none->angle, 45);
    EXPECT_EQ(none->color, 0x00C0C0C0u);
    EXPECT_EQ(none->position, 3);
    EXPECT_EQ(FieldText(none->text, kWatermarkTextUnits), u"\u65E0");
    EXPECT_EQ(FieldText(none->face, kWatermarkFaceUnits), u"HeiseiMin-W3-90ms-RKSJ-H");
    EXPECT_EQ(List().count(), 0u);
    EXPECT_EQ(List().loaded(), 1u);
    // The working copy shows no text for "none".
    ASSERT_NE(List().working(), nullptr);
    EXPECT_EQ(List().working()->text[0], 0);
    EXPECT_EQ(List().working()->size, 72);
}

TEST_F(WatermarkStoreTest, LoadsEntriesInFileOrderAndTheStoredSelection) {
    Config(L"zdst_wm_load.ini",
           std::wstring(L"[Watermark]\r\nWTMK002=") + kAbc +
               L"\r\nWTMK001=36,1,-30,10,-20,255,\u6C34\u5370 a\\,b\\;c\\\\d,Times-Bold,700,"
               L"1,0,6,3,1,1,2\r\n");
    devmode_[68] = 2;
    LoadWatermarkList(nullptr, ctx_, Dm());
    WatermarkList l = List();
    ASSERT_EQ(l.count(), 2u);
    EXPECT_EQ(l.selected(), 2u);
    // Entry numbers follow the file, not the digits of the key names.
    EXPECT_EQ(FieldText(l.entry(1)->text, kWatermarkTextUnits), u"ABC");
    const WatermarkRecord* e = l.entry(2);
    EXPECT_EQ(FieldText(e->text, kWatermarkTextUnits), u"\u6C34\u5370 a,b;c\\d");
    EXPECT_EQ(e->size, 36);
    EXPECT_EQ(e->angle, -30);
    EXPECT_EQ(e->y, -20);
    EXPECT_EQ(e->weight, 700);
    EXPECT_EQ(e->style, 2);
    // Snapshot and working copy.
    EXPECT_EQ(l.snapshotCount(), 2u);
    EXPECT_EQ(l.snapshotSelected(), 2u);
    ASSERT_NE(l.snapshot(2), nullptr);
    EXPECT_EQ(FieldText(l.snapshot(2)->text, kWatermarkTextUnits), u"\u6C34\u5370 a,b;c\\d");
    EXPECT_NE(l.snapshot(2), l.entry(2));
    EXPECT_EQ(l.working()->size, 36);
    EXPECT_EQ(FieldText(l.working()->face, kWatermarkFaceUnits), u"Times-Bold");

    // A second opening keeps the list in memory: file changes are not read.
    l.entry(1)->size = 99;
    Config(L"zdst_wm_load.ini", L"[Watermark]\r\n");
    LoadWatermarkList(nullptr, ctx_, Dm());
    EXPECT_EQ(l.count(), 2u);
    EXPECT_EQ(l.snapshot(1)->size, 99);
}

TEST_F(WatermarkStoreTest, SelectionAboveTheCountFallsBackToNone) {
    Config(L"zdst_wm_sel.ini", std::wstring(L"[Watermark]\r\nWTMK001=") + kAbc + L"\r\n");
    devmode_[68] = 5;
    LoadWatermarkList(nullptr, ctx_, Dm());
    EXPECT_EQ(List().count(), 1u);
    EXPECT_EQ(List().selected(), 0u);
    EXPECT_EQ(List().snapshotSelected(), 0u);
    EXPECT_EQ(List().working()->text[0], 0);
}

TEST_F(WatermarkStoreTest, AFirstKeyThatIsNoWKeyEndsTheList) {
    Config(L"zdst_wm_first.ini", std::wstring(L"[Watermark]\r\nCount=1\r\nWTMK001=") + kAbc +
                                     L"\r\nWTMK002=" + kAbc + L"\r\n");
    LoadWatermarkList(nullptr, ctx_, Dm());
    EXPECT_EQ(List().count(), 0u);

    UiContext other{};
    Config(L"zdst_wm_mixed.ini", std::wstring(L"[Watermark]\r\nWTMK001=") + kAbc +
                                     L"\r\nNote=x\r\nWTMK002=" + kAbc + L"\r\n");
    other.configFilePath = path_.data();
    LoadWatermarkList(nullptr, other, Dm());
    EXPECT_EQ(WatermarkList(other).count(), 1u);
    FreeWatermarkSnapshot(other);
    FreeWatermarkList(other);
}

TEST_F(WatermarkStoreTest, MoreThanSixteenWKeysNeverOverflowTheTable) {
    std::wstring text = L"[Watermark]\r\n";
    for (int i = 1; i <= 40; ++i)
        text += L"WTMK00" + std::to_wstring(i) + L"=" + std::to_wstring(i) + L",0,0,0,0,0,T" +
                std::to_wstring(i) + L",F,0,0,0,3,0,0,0,0\r\n";
    Config(L"zdst_wm_many.ini", text);
    LoadWatermarkList(nullptr, ctx_, Dm());
    ASSERT_EQ(List().count(), 16u);
    EXPECT_EQ(List().entry(16)->size, 16);
    EXPECT_EQ(List().entry(17), nullptr);
    EXPECT_EQ(List().snapshot(17), nullptr);
}

TEST_F(WatermarkStoreTest, EnablesDeleteAndEditOnlyWithASelection) {
    HWND dialog = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(dialog, nullptr);
    HWND del = CreateWindowExW(0, L"BUTTON", L"d", WS_CHILD | WS_DISABLED, 0, 0, 5, 5, dialog,
                               HMENU(UINT_PTR(1402)), nullptr, nullptr);
    HWND edit = CreateWindowExW(0, L"BUTTON", L"e", WS_CHILD | WS_DISABLED, 0, 0, 5, 5, dialog,
                                HMENU(UINT_PTR(1404)), nullptr, nullptr);
    Config(L"zdst_wm_buttons.ini", std::wstring(L"[Watermark]\r\nWTMK001=") + kAbc + L"\r\n");
    LoadWatermarkList(dialog, ctx_, Dm());
    EXPECT_FALSE(IsWindowEnabled(del));
    EXPECT_FALSE(IsWindowEnabled(edit));
    List().selected() = 1;
    LoadWatermarkList(dialog, ctx_, Dm());
    EXPECT_TRUE(IsWindowEnabled(del));
    EXPECT_TRUE(IsWindowEnabled(edit));
    DestroyWindow(dialog);
}

TEST_F(WatermarkStoreTest, SavingRewritesTheSection) {
    std::wstring path = Config(
        L"zdst_wm_save.ini", std::wstring(L"[Before]\r\nk=1\r\n[Watermark]\r\nOld=1\r\nWTMK005=") +
                                 kAbc + L"\r\n[After]\r\nk=2\r\n");
    LoadWatermarkList(nullptr, ctx_, Dm());
    WatermarkList l = List();
    ASSERT_EQ(l.count(), 0u); // "Old" ends the walk
    for (uint32_t n = 1; n <= 10; ++n) {
        l.entry(n) = static_cast<WatermarkRecord*>(
            HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(WatermarkRecord)));
        CopyWatermark(*l.entry(n), *l.entry(0));
        l.entry(n)->size = int32_t(n);
    }
    l.count() = 3;
    SetFieldText(l.entry(1)->text, kWatermarkTextUnits, u"ABC");
    SetFieldText(l.entry(1)->face, kWatermarkFaceUnits, u"HeiseiMin-W3-90ms-RKSJ-H");
    l.entry(1)->size = 72;
    l.entry(1)->fontNumber = 0;
    SaveWatermarkList(ctx_);
    EXPECT_EQ(Keys(path, L"Watermark"),
              (std::vector<std::wstring>{L"WTMK001", L"WTMK002", L"WTMK003"}));
    EXPECT_EQ(ReadKey(path, L"Watermark", L"WTMK001"), kAbc);
    EXPECT_EQ(ReadKey(path, L"Before", L"k"), L"1");
    EXPECT_EQ(ReadKey(path, L"After", L"k"), L"2");

    l.count() = 10;
    SaveWatermarkList(ctx_);
    auto keys = Keys(path, L"Watermark");
    ASSERT_EQ(keys.size(), 10u);
    EXPECT_EQ(keys[9], L"WTMK0010");
    EXPECT_EQ(ReadKey(path, L"Watermark", L"WTMK0010").substr(0, 3), L"10,");

    l.count() = 0;
    SaveWatermarkList(ctx_);
    EXPECT_TRUE(Keys(path, L"Watermark").empty());
    WCHAR sections[512] = {};
    DWORD n = GetPrivateProfileSectionNamesW(sections, 512, path.c_str());
    bool found = false;
    for (DWORD i = 0; i < n && sections[i]; i += DWORD(wcslen(sections + i)) + 1)
        found = found || wcscmp(sections + i, L"Watermark") == 0;
    EXPECT_FALSE(found) << "the empty list leaves no section";
    // The entries are the sheet's: count 0 released nothing, Free releases all.
    FreeWatermarkList(ctx_);
    for (uint32_t i = 0; i < 32; ++i)
        EXPECT_EQ(l.entry(i), nullptr);
    EXPECT_EQ(l.working(), nullptr);
}

TEST_F(WatermarkStoreTest, RecordsSurviveSaveAndLoad) {
    std::mt19937 rng(7);
    const std::wstring alphabet = L"Aa0 ,;\\-\"=[]\u6C34\u5370\u65E0\u00E9";
    std::wstring path = Config(L"zdst_wm_roundtrip.ini", L"[Other]\r\nx=1\r\n");
    for (int round = 0; round < 6; ++round) {
        UiContext a{};
        a.configFilePath = path_.data();
        LoadWatermarkList(nullptr, a, Dm());
        WatermarkList la(a);
        la.count() = 16;
        for (uint32_t n = 1; n <= 16; ++n) {
            WatermarkRecord* r = static_cast<WatermarkRecord*>(
                HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(WatermarkRecord)));
            la.entry(n) = r;
            r->size = int32_t(rng() % 600 + 1);
            r->fontNumber = int32_t(rng() % 3);
            r->angle = int16_t(int(rng() % 361) - 180);
            r->x = int32_t(rng() % 2001) - 1000;
            r->y = int32_t(rng() % 2001) - 1000;
            r->color = rng() & 0xFFFFFF;
            std::wstring text;
            for (size_t i = 0, len = 1 + rng() % 128; i < len; ++i)
                text.push_back(alphabet[rng() % alphabet.size()]);
            SetFieldText(r->text, kWatermarkTextUnits, U16(text.c_str()));
            SetFieldText(r->face, kWatermarkFaceUnits, u"Ryumin-Light-90ms-RKSJ-H");
            r->weight = (rng() % 2) ? 700 : 400;
            r->italic = uint8_t(rng() % 2);
            r->position = uint16_t(rng() % 7);
            r->frame = uint16_t(rng() % 4);
            r->background = uint16_t(rng() % 2);
            r->firstPageOnly = uint8_t(rng() % 2);
            r->style = uint16_t(rng() % 4);
        }
        SaveWatermarkList(a);

        UiContext b{};
        b.configFilePath = path_.data();
        LoadWatermarkList(nullptr, b, Dm());
        WatermarkList lb(b);
        ASSERT_EQ(lb.count(), 16u);
        for (uint32_t n = 1; n <= 16; ++n) {
            const WatermarkRecord& x = *la.entry(n);
            const WatermarkRecord& y = *lb.entry(n);
            EXPECT_EQ(FormatWatermarkValue(x), FormatWatermarkValue(y)) << "entry " << n;
            EXPECT_EQ(FieldText(x.text, kWatermarkTextUnits),
                      FieldText(y.text, kWatermarkTextUnits));
            EXPECT_EQ(x.angle, y.angle);
            EXPECT_EQ(x.x, y.x);
            EXPECT_EQ(x.color, y.color);
            EXPECT_EQ(x.style, y.style);
        }
        for (UiContext* c : {&a, &b}) {
            FreeWatermarkSnapshot(*c);
            FreeWatermarkList(*c);
        }
    }
}

TEST_F(WatermarkStoreTest, CommitWritesTheExactDevModeBytes) {
    Config(L"zdst_wm_commit.ini",
           std::wstring(L"[Watermark]\r\nWTMK001=") + kAbc +
               L"\r\nWTMK002=48,1,-45,-5,7,16744448,Top\\,Secret,Times-Bold,700,1,0,6,2,1,1,5\r\n");
    devmode_.fill(0xEE);
    devmode_[68] = 2;
    devmode_[69] = devmode_[70] = devmode_[71] = 0;
    LoadWatermarkList(nullptr, ctx_, Dm());
    ASSERT_EQ(List().selected(), 2u);
    Block before = devmode_;
    CommitSelectionToDevMode(ctx_, Dm());

    Block expect = before;
    auto put = [&expect](size_t off, std::initializer_list<uint8_t> bytes) {
        for (uint8_t b : bytes)
            expect[off++] = b;
    };
    put(68, {2, 0, 0, 0});
    put(608, {48, 0, 0, 0});
    put(612, {1, 0, 0, 0});
    put(616, {0xD3, 0xFF});
    put(620, {0xFB, 0xFF, 0xFF, 0xFF});
    put(624, {7, 0, 0, 0});
    put(628, {0x00, 0x80, 0xFF, 0x00});
    const char face[] = "Times-Bold";
    for (size_t i = 0; i < sizeof face; ++i)
        put(894 + 2 * i, {uint8_t(face[i]), 0});
    put(960, {0xBC, 0x02, 0, 0});
    put(964, {1, 0, 6, 0, 2, 0, 1, 0, 1});
    put(974, {5, 0});
    const char color[16] = "0.00 0.50 1.00";
    for (size_t i = 0; i < 16; ++i)
        put(976 + i, {uint8_t(color[i])});
    const char text[] = "Top,Secret";
    for (size_t i = 0; i < sizeof text; ++i)
        put(2570 + 2 * i, {uint8_t(text[i]), 0});
    for (size_t i = 0; i < expect.size(); ++i)
        ASSERT_EQ(devmode_[i], expect[i]) << "offset " << i;

    // "None" writes 0 at offset 68 and entry 0's description.
    List().selected() = 0;
    CommitSelectionToDevMode(ctx_, Dm());
    EXPECT_EQ(Dm().u32(68), 0u);
    EXPECT_EQ(Dm().u32(608), 72u);
    EXPECT_EQ(Dm().text16(2570, 129), u"\u65E0");
}

TEST_F(WatermarkStoreTest, CustomColoursReadAndWrite) {
    const std::wstring section = L"\u81EA\u5B9A\u4E49\u989C\u8272";
    std::wstring text = L"[" + section + L"]\r\n";
    for (int i = 0; i < 20; ++i)
        text += L"K" + std::to_wstring(i) + L"=" + std::to_wstring(i) + L", 0,  " +
                std::to_wstring(100 + i) + L"\r\n";
    std::wstring path = Config(L"zdst_wm_colors.ini", text);
    for (int i = 0; i < 16; ++i)
        CustomColors()[i] = 0x00C0C0C0;
    LoadCustomColors(ctx_);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(CustomColors()[i], RGB(i, 0, 100 + i)) << "slot " << i;

    // Fewer keys fill the first slots; the others keep their values.
    Config(L"zdst_wm_colors2.ini",
           L"[" + section + L"]\r\nZ=255, 0,  128\r\nA=1,2,3\r\n[Watermark]\r\n");
    LoadCustomColors(ctx_);
    EXPECT_EQ(CustomColors()[0], RGB(255, 0, 128));
    EXPECT_EQ(CustomColors()[1], RGB(1, 2, 3));
    EXPECT_EQ(CustomColors()[2], RGB(2, 0, 102));

    // No keys: nothing changes.
    Config(L"zdst_wm_colors3.ini", L"[Watermark]\r\n");
    LoadCustomColors(ctx_);
    EXPECT_EQ(CustomColors()[0], RGB(255, 0, 128));

    CustomColors()[15] = RGB(9, 8, 7);
    SaveCustomColors(ctx_);
    auto keys = Keys(path_, section.c_str());
    ASSERT_EQ(keys.size(), 16u);
    EXPECT_EQ(keys[0], L"Color0");
    EXPECT_EQ(keys[15], L"Color15");
    EXPECT_EQ(ReadKey(path_, section.c_str(), L"Color0"), L"255,0,128");
    EXPECT_EQ(ReadKey(path_, section.c_str(), L"Color15"), L"9,8,7");
    for (int i = 0; i < 16; ++i)
        CustomColors()[i] = 0;
    LoadCustomColors(ctx_);
    EXPECT_EQ(CustomColors()[0], RGB(255, 0, 128));
    EXPECT_EQ(CustomColors()[15], RGB(9, 8, 7));
}

TEST_F(WatermarkStoreTest, DescribesTheStore) {
    std::wstring path =
        Config(L"zdst_wm_describe.ini", std::wstring(L"[Watermark]\r\nWTMK001=") + kAbc + L"\r\n");
    std::wstring d = DescribeWatermarkStore(path.c_str());
    EXPECT_NE(d.find(L"WTMK001"), std::wstring::npos);
    EXPECT_NE(d.find(L"\"ABC\""), std::wstring::npos);
}

} // namespace

namespace {

TEST(DemoFontList, TheSampleListHasJapaneseAndOtherEntries) {
    zdtest::PrinterSpec spec = zdtest::DemoPrinterSpec(L"zd stores demo fonts");
    std::wstring error;
    ASSERT_TRUE(zdtest::InstallPrinter(spec, &error)) << std::string(error.begin(), error.end());
    HANDLE printer = nullptr;
    ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(spec.printerName.c_str()), &printer, nullptr));
    WCHAR config[kOemConfigPathUnits] = {};
    ASSERT_TRUE(FindDriverFiles(printer, config));
    ClosePrinter(printer);
    BuildWatermarkFontFilePath(config);
    EXPECT_EQ(std::wstring(WatermarkFontFilePath()), Installed(L"zdwmfont.dat"));
    auto first = SplitFontEntry(U16(ReadFontEntry(0).c_str()));
    EXPECT_TRUE(IsJapaneseFontEntry(first));
    ASSERT_EQ(first.size(), 4u);
    EXPECT_EQ(first[2], u"HeiseiMin-W3-90ms-RKSJ-H");
    auto times = SplitFontEntry(U16(ReadFontEntry(2).c_str()));
    EXPECT_FALSE(IsJapaneseFontEntry(times));
    ASSERT_EQ(times.size(), 5u);
    EXPECT_EQ(times[4], u"Times New Roman");
    EXPECT_EQ(GetPrivateProfileIntW(L"PrinterFont", L"DefaultNo", -1, WatermarkFontFilePath()), 1u);
}

} // namespace
