// The overlay store's two section families in a real configuration file in
// the driver folder: loading, saving, commit and discard.
#include "core/devmode_record.h"
#include "core/process_state.h"
#include "core/ui_context.h"
#include "overlay/overlay_store.h"
#include "test_printer.h"
#include "watermark/watermark_record.h"

#include <gtest/gtest.h>

#include <array>

using namespace zd;

namespace {

std::wstring Installed(const std::wstring& name) {
    return zdtest::DriverFilesDir() + L"\\" + name;
}

std::wstring ReadKey(const std::wstring& path, const wchar_t* section, const wchar_t* key) {
    WCHAR buf[600] = {};
    GetPrivateProfileStringW(section, key, L"<absent>", buf, 600, path.c_str());
    return buf;
}

std::wstring Definition(const std::wstring& section, const std::wstring& name, int pageMode,
                        const std::wstring& custom, std::initializer_list<const wchar_t*> forms) {
    std::wstring s = L"[" + section + L"]\r\nOverlay_Name=" + name + L"\r\nPageMode=" +
                     std::to_wstring(pageMode) + L"\r\nCustomPage=" + custom + L"\r\nForm_Num=" +
                     std::to_wstring(forms.size()) + L"\r\n";
    int i = 0;
    for (const wchar_t* f : forms)
        s += L"Form_Name " + std::to_wstring(i++) + L"=" + f + L"\r\n";
    return s;
}

std::u16string T(const char16_t* field, size_t units = kOverlayTextUnits) {
    return FieldText(field, units);
}

class OverlayStoreTest : public testing::Test {
  protected:
    void SetUp() override {
        Process().printerDataWritable = 1;
        devmode_.fill(0);
        for (size_t i = 0; i < 4; ++i)
            ByteView(devmode_.data(), devmode_.size()).set_u16(dm::kOverlays + 2 * i, 255);
        params_.cbSize = sizeof params_;
        params_.pOEMDM = devmode_.data();
        ctx_.pageParam = &params_;
    }
    void TearDown() override { FreeOverlayStore(ctx_); }

    std::wstring Config(const std::wstring& name, const std::wstring& text) {
        path_ = Installed(name);
        EXPECT_TRUE(zdtest::WriteTextFile(path_, text));
        ctx_.configFilePath = path_.data();
        return path_;
    }
    void SetDocumentOverlays(std::array<uint16_t, 4> v) {
        for (size_t i = 0; i < 4; ++i)
            ByteView(devmode_.data(), devmode_.size()).set_u16(dm::kOverlays + 2 * i, v[i]);
    }
    uint32_t& State() { return OverlayStoreStateOf(ctx_); }

    std::array<uint8_t, kOemDevModeSize> devmode_{};
    OEMUIPSPARAM params_{};
    UiContext ctx_{};
    std::wstring path_;
};

const std::wstring kThree =
    L"[OverlaySetting]\r\nOverlay_Num=3\r\nHistory_Num=2\r\nHistory 0=FormA\r\nHistory "
    L"1=FormB\r\n" +
    Definition(L"Overlay_Info 0", L"Letterhead", 0, L"", {L"FormA"}) +
    Definition(L"Overlay_Info 1", L"\u53D1\u7968", 4, L"1,3,5-12", {L"FormB", L"FormC", L"FormD"}) +
    Definition(L"Overlay_Info 2", L"Draft", 2, L"", {}) +
    L"[OverlaySetting_Sv]\r\nOverlay_Num=1\r\nHistory_Num=0\r\n" +
    Definition(L"Overlay_Info_Sv 0", L"Working only", 1, L"", {L"W"});

TEST_F(OverlayStoreTest, LoadingInInitialReadsTheCommittedSectionsAndStartsWorkingFromThem) {
    std::wstring path = Config(L"zdst_ov_initial.ini", kThree);
    SetDocumentOverlays({2, 0, 255, 255});
    ASSERT_EQ(State(), uint32_t(Initial));
    ASSERT_TRUE(LoadOverlayStore(ctx_));
    EXPECT_EQ(State(), uint32_t(Working));
    const OverlayList& l = *ctx_.overlayList;
    EXPECT_EQ(l.DefinedCount, 3);
    EXPECT_EQ(l.HistoryCount, 2);
    EXPECT_EQ(T(l.History[1]), u"FormB");
    EXPECT_EQ(l.CurrentCount, 2);
    EXPECT_EQ(l.CurrentIndex[0], 2);
    EXPECT_EQ(l.CurrentIndex[1], 0);
    const OverlayDefinition& d = *ctx_.overlayDefinitions[1];
    EXPECT_EQ(T(d.OverlayName), u"\u53D1\u7968");
    EXPECT_EQ(d.PageMode, 4);
    EXPECT_EQ(T(d.CustomPage, kOverlayCustomPageUnits), u"1,3,5-12");
    EXPECT_EQ(d.FormCount, 3);
    EXPECT_EQ(T(d.FormName[2]), u"FormD");
    EXPECT_EQ(T(ctx_.overlayDefinitions[2]->OverlayName), u"Draft");
    EXPECT_EQ(ctx_.overlayDefinitions[2]->FormCount, 0);
    EXPECT_EQ(ctx_.overlayDefinitions[3], nullptr);

    // Another sheet's leftovers in the working family were replaced by what
    // was loaded, and the next opening reads that.
    EXPECT_EQ(ReadKey(path, L"OverlaySetting_Sv", L"Overlay_Num"), L"3");
    EXPECT_EQ(ReadKey(path, L"Overlay_Info_Sv 0", L"Overlay_Name"), L"Letterhead");
    SetFieldText(ctx_.overlayDefinitions[2]->OverlayName, kOverlayTextUnits, u"Edited");
    ASSERT_TRUE(SaveOverlayStore(ctx_));
    ASSERT_TRUE(LoadOverlayStore(ctx_));
    EXPECT_EQ(ctx_.overlayList->DefinedCount, 3);
    EXPECT_EQ(T(ctx_.overlayDefinitions[2]->OverlayName), u"Edited");
    EXPECT_EQ(ctx_.overlayList->CurrentCount, 2);
    EXPECT_EQ(ReadKey(path, L"Overlay_Info 2", L"Overlay_Name"), L"Draft");
}

// Users who may not write printer data never write the store: whatever the
// state, they read the committed family and leave the working one alone.
TEST_F(OverlayStoreTest, WithoutWritingRightsTheCommittedSectionsAreRead) {
    std::wstring path = Config(L"zdst_ov_readonly.ini", kThree);
    Process().printerDataWritable = 0;
    State() = Working;
    ASSERT_TRUE(LoadOverlayStore(ctx_));
    EXPECT_EQ(ctx_.overlayList->DefinedCount, 3);
    EXPECT_EQ(T(ctx_.overlayDefinitions[0]->OverlayName), u"Letterhead");
    State() = Initial;
    ASSERT_TRUE(LoadOverlayStore(ctx_));
    EXPECT_EQ(State(), uint32_t(Initial));
    EXPECT_EQ(ReadKey(path, L"Overlay_Info_Sv 0", L"Overlay_Name"), L"Working only");
    EXPECT_EQ(ReadKey(path, L"OverlaySetting_Sv", L"Overlay_Num"), L"1");
}

TEST_F(OverlayStoreTest, WithNoDefinitionTheStateStaysInitial) {
    Config(L"zdst_ov_empty.ini", L"[OverlaySetting]\r\nOverlay_Num=0\r\nHistory_Num=1\r\n"
                                 L"History 0=Only\r\n");
    ASSERT_TRUE(LoadOverlayStore(ctx_));
    EXPECT_EQ(State(), uint32_t(Initial));
    EXPECT_EQ(ctx_.overlayList->HistoryCount, 1);
    EXPECT_EQ(ctx_.overlayList->CurrentCount, 0);
    // A missing file reads as an empty store.
    Config(L"zdst_ov_missing_dummy.ini", L"");
    std::wstring missing = Installed(L"zdst_ov_never_written.ini");
    ctx_.configFilePath = missing.data();
    ASSERT_TRUE(LoadOverlayStore(ctx_));
    EXPECT_EQ(ctx_.overlayList->DefinedCount, 0);
    EXPECT_EQ(State(), uint32_t(Initial));
}

TEST_F(OverlayStoreTest, CountsAboveTheRecordsAreCut) {
    std::wstring text = L"[OverlaySetting]\r\nOverlay_Num=40\r\nHistory_Num=25\r\n";
    for (int i = 0; i < 25; ++i)
        text += L"History " + std::to_wstring(i) + L"=H" + std::to_wstring(i) + L"\r\n";
    for (int n = 0; n < 40; ++n)
        text += L"[Overlay_Info " + std::to_wstring(n) + L"]\r\nOverlay_Name=" +
                std::wstring(90, L'n') +
                L"\r\nForm_Num=9\r\nForm_Name 0=a\r\nForm_Name 3=beyond\r\nPageMode=" +
                (n % 2 ? L"7" : L"-1") + L"\r\nCustomPage=" + std::wstring(300, L'1') + L"\r\n";
    Config(L"zdst_ov_big.ini", text);
    ASSERT_TRUE(LoadOverlayStore(ctx_));
    const OverlayList& l = *ctx_.overlayList;
    EXPECT_EQ(l.DefinedCount, 32);
    EXPECT_EQ(l.HistoryCount, 10);
    EXPECT_EQ(T(l.History[9]), u"H9");
    for (int n = 0; n < 32; ++n) {
        ASSERT_NE(ctx_.overlayDefinitions[n], nullptr);
        EXPECT_EQ(ctx_.overlayDefinitions[n]->FormCount, 3);
        EXPECT_EQ(ctx_.overlayDefinitions[n]->PageMode, 0); // no such mode: all pages
        EXPECT_EQ(T(ctx_.overlayDefinitions[n]->OverlayName).size(), 63u);
        EXPECT_EQ(T(ctx_.overlayDefinitions[n]->CustomPage, kOverlayCustomPageUnits).size(), 254u);
    }
}

TEST_F(OverlayStoreTest, SaveWritesTheFamilyOfTheStateAndApplyCommits) {
    std::wstring path = Config(L"zdst_ov_save.ini", kThree);
    ASSERT_TRUE(LoadOverlayStore(ctx_)); // now Working, from the committed family
    OverlayDefinition& d = *ctx_.overlayDefinitions[0];
    SetFieldText(d.OverlayName, kOverlayTextUnits, u"Renamed");
    d.FormCount = 2;
    SetFieldText(d.FormName[1], kOverlayTextUnits, u"FormZ");
    RememberFormName(ctx_, L"FormZ");
    EXPECT_TRUE(SaveOverlayStore(ctx_));

    // The dialog's confirmation writes the working family only.
    EXPECT_EQ(ReadKey(path, L"OverlaySetting_Sv", L"Overlay_Num"), L"3");
    EXPECT_EQ(ReadKey(path, L"OverlaySetting_Sv", L"History_Num"), L"3");
    EXPECT_EQ(ReadKey(path, L"OverlaySetting_Sv", L"History 0"), L"FormZ");
    EXPECT_EQ(ReadKey(path, L"Overlay_Info_Sv 0", L"Overlay_Name"), L"Renamed");
    EXPECT_EQ(ReadKey(path, L"Overlay_Info_Sv 0", L"Form_Num"), L"2");
    EXPECT_EQ(ReadKey(path, L"Overlay_Info_Sv 0", L"Form_Name 1"), L"FormZ");
    EXPECT_EQ(ReadKey(path, L"Overlay_Info_Sv 1", L"CustomPage"), L"1,3,5-12");
    EXPECT_EQ(ReadKey(path, L"Overlay_Info_Sv 1", L"PageMode"), L"4");
    EXPECT_EQ(ReadKey(path, L"Overlay_Info 0", L"Overlay_Name"), L"Letterhead");

    // The sheet's apply: Committed, save, release.
    State() = Committed;
    EXPECT_TRUE(SaveOverlayStore(ctx_));
    FreeOverlayStore(ctx_);
    EXPECT_EQ(ctx_.overlayList, nullptr);
    EXPECT_EQ(ctx_.overlayDefinitions[0], nullptr);
    EXPECT_EQ(ReadKey(path, L"Overlay_Info 0", L"Overlay_Name"), L"Renamed");
    EXPECT_EQ(ReadKey(path, L"Overlay_Info 0", L"Form_Name 1"), L"FormZ");
    EXPECT_EQ(ReadKey(path, L"OverlaySetting", L"History 0"), L"FormZ");
    EXPECT_EQ(ReadKey(path, L"OverlaySetting", L"History 2"), L"FormB");
}

TEST_F(OverlayStoreTest, CancelLeavesTheWorkingSectionsUntilTheNextWorkingLoad) {
    std::wstring path = Config(L"zdst_ov_cancel.ini", kThree);
    ASSERT_TRUE(LoadOverlayStore(ctx_));
    SetFieldText(ctx_.overlayDefinitions[2]->OverlayName, kOverlayTextUnits, u"Edited");
    SaveOverlayStore(ctx_);
    FreeOverlayStore(ctx_); // the sheet is cancelled
    EXPECT_EQ(ReadKey(path, L"Overlay_Info 2", L"Overlay_Name"), L"Draft");
    EXPECT_EQ(ReadKey(path, L"Overlay_Info_Sv 2", L"Overlay_Name"), L"Edited");

    // A new sheet starts in Initial and reads the committed sections.
    UiContext next{};
    next.configFilePath = path_.data();
    ASSERT_TRUE(LoadOverlayStore(next));
    EXPECT_EQ(T(next.overlayDefinitions[2]->OverlayName), u"Draft");
    FreeOverlayStore(next);
}

TEST_F(OverlayStoreTest, SavingAfterADeleteLeavesTheHighestSection) {
    std::wstring path = Config(L"zdst_ov_delete.ini", kThree);
    ASSERT_TRUE(LoadOverlayStore(ctx_));
    // The dialog deletes definition 0: the others move up, the last is freed.
    OverlayDefinition* gone = ctx_.overlayDefinitions[0];
    ctx_.overlayDefinitions[0] = ctx_.overlayDefinitions[1];
    ctx_.overlayDefinitions[1] = ctx_.overlayDefinitions[2];
    ctx_.overlayDefinitions[2] = nullptr;
    HeapFree(GetProcessHeap(), 0, gone);
    ctx_.overlayList->DefinedCount = 2;
    State() = Committed;
    SaveOverlayStore(ctx_);
    EXPECT_EQ(ReadKey(path, L"OverlaySetting", L"Overlay_Num"), L"2");
    EXPECT_EQ(ReadKey(path, L"Overlay_Info 0", L"Overlay_Name"), L"\u53D1\u7968");
    EXPECT_EQ(ReadKey(path, L"Overlay_Info 1", L"Overlay_Name"), L"Draft");
    EXPECT_EQ(ReadKey(path, L"Overlay_Info 1", L"Form_Num"), L"0");
    // Left in the file although no longer counted; its stale form stays too.
    EXPECT_EQ(ReadKey(path, L"Overlay_Info 2", L"Overlay_Name"), L"Draft");
    EXPECT_EQ(ReadKey(path, L"Overlay_Info 1", L"Form_Name 0"), L"FormB");
}

TEST_F(OverlayStoreTest, HistoryMovesThroughTheContext) {
    std::wstring text = L"[OverlaySetting]\r\nOverlay_Num=0\r\nHistory_Num=10\r\n";
    for (int i = 0; i < 10; ++i)
        text += L"History " + std::to_wstring(i) + L"=F" + std::to_wstring(i) + L"\r\n";
    std::wstring path = Config(L"zdst_ov_history.ini", text);
    ASSERT_TRUE(LoadOverlayStore(ctx_));
    RememberFormName(ctx_, L"F3");
    const OverlayList& l = *ctx_.overlayList;
    EXPECT_EQ(l.HistoryCount, 10);
    EXPECT_EQ(T(l.History[0]), u"F3");
    EXPECT_EQ(T(l.History[1]), u"F0");
    EXPECT_EQ(T(l.History[3]), u"F2");
    EXPECT_EQ(T(l.History[4]), u"F4");
    RememberFormName(ctx_, L"New");
    EXPECT_EQ(l.HistoryCount, 10);
    EXPECT_EQ(T(l.History[0]), u"New");
    EXPECT_EQ(T(l.History[9]), u"F8");
    SaveOverlayStore(ctx_); // Initial: the committed family
    EXPECT_EQ(ReadKey(path, L"OverlaySetting", L"History 0"), L"New");
    EXPECT_EQ(ReadKey(path, L"OverlaySetting", L"History 9"), L"F8");
}

TEST_F(OverlayStoreTest, DescribesTheCommittedStore) {
    std::wstring path = Config(L"zdst_ov_describe.ini", kThree);
    std::wstring d = DescribeOverlayStore(path.c_str());
    EXPECT_NE(d.find(L"overlays 3"), std::wstring::npos);
    EXPECT_NE(d.find(L"\"Letterhead\""), std::wstring::npos);
    EXPECT_NE(d.find(L"(1,3,5-12)"), std::wstring::npos);
    EXPECT_EQ(d.find(L"Working only"), std::wstring::npos);
}

} // namespace
