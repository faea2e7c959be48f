#include "overlay/overlay_editing.h"

#include "core/text_fields.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace zd;

namespace {

// Definitions named D0, D1, ... and the document's current list.
std::unique_ptr<OverlayRecords> Records(uint16_t defined, std::vector<uint16_t> current) {
    auto r = std::make_unique<OverlayRecords>();
    for (uint16_t n = 0; n < defined; ++n)
        SetFieldText(r->definitions[n].OverlayName, kOverlayTextUnits, u"D" + FormatDecimal(n));
    r->list.DefinedCount = defined;
    for (size_t i = 0; i < current.size(); ++i)
        r->list.CurrentIndex[i] = current[i];
    r->list.CurrentCount = uint16_t(current.size());
    return r;
}

std::vector<uint16_t> Current(const OverlayList& l) {
    return std::vector<uint16_t>(l.CurrentIndex, l.CurrentIndex + l.CurrentCount);
}

std::u16string Form(const OverlayDefinition& d, int f) {
    return FieldText(d.FormName[f], kOverlayTextUnits);
}

uint32_t Bits(std::initializer_list<int> items) {
    uint32_t b = 0;
    for (int i : items)
        b |= uint32_t(1) << i;
    return b;
}

} // namespace

TEST(OverlayButtons, AddNeedsRoomAndNewDefinitions) {
    auto r = Records(5, {0, 1});
    EXPECT_FALSE(OverlayButtons(r->list, Bits({2, 3, 4}), 0).add); // 3 + 2 > 4
    EXPECT_TRUE(OverlayButtons(r->list, Bits({2, 3}), 0).add);
    EXPECT_FALSE(OverlayButtons(r->list, Bits({1, 2}), 0).add); // 1 is chosen already
    EXPECT_FALSE(AddToCurrent(r->list, Bits({1})));
    EXPECT_EQ(Current(r->list), (std::vector<uint16_t>{0, 1}));
    // Selection bits past the list never count.
    EXPECT_FALSE(OverlayButtons(r->list, Bits({7}), 0).edit);
    EXPECT_FALSE(OverlayButtons(r->list, 0, Bits({5})).remove);
}

TEST(OverlayButtons, EditDeleteNewAndRemove) {
    auto r = Records(2, {1});
    OverlayButtonStates b = OverlayButtons(r->list, Bits({0}), Bits({0}));
    EXPECT_TRUE(b.edit);
    EXPECT_TRUE(b.erase);
    EXPECT_TRUE(b.create);
    EXPECT_TRUE(b.remove);
    b = OverlayButtons(r->list, Bits({0, 1}), 0);
    EXPECT_FALSE(b.edit);
    EXPECT_TRUE(b.erase);
    EXPECT_FALSE(b.remove);
    r->list.DefinedCount = kMaxDefinedOverlays;
    EXPECT_FALSE(OverlayButtons(r->list, 0, 0).create);
    auto empty = Records(0, {});
    b = OverlayButtons(empty->list, Bits({0}), 0);
    EXPECT_FALSE(b.edit || b.erase || b.add || b.remove);
    EXPECT_TRUE(b.create);
}

TEST(OverlayLists, NamesAreUniqueExceptForTheDefinitionItself) {
    auto r = Records(3, {});
    EXPECT_TRUE(NameTaken(*r, 3, u"D1"));
    EXPECT_FALSE(NameTaken(*r, 1, u"D1"));
    EXPECT_FALSE(NameTaken(*r, 3, u"d1"));
    // A slot past the count (a new definition being made) is no definition.
    SetFieldText(r->definitions[3].OverlayName, kOverlayTextUnits, u"D3");
    EXPECT_FALSE(NameTaken(*r, 4, u"D3"));
}

TEST(OverlayForms, AddRenameAndDeleteKeepThreeDistinctNames) {
    OverlayDefinition d{};
    EXPECT_FALSE(AddOverlayForm(d, u""));
    EXPECT_TRUE(AddOverlayForm(d, u"A"));
    EXPECT_FALSE(AddOverlayForm(d, u"A"));
    EXPECT_TRUE(AddOverlayForm(d, u"B"));
    EXPECT_TRUE(AddOverlayForm(d, u"C"));
    EXPECT_FALSE(CanAddOverlayForm(d, u"D")); // a fourth form
    EXPECT_FALSE(AddOverlayForm(d, u"D"));
    EXPECT_EQ(d.FormCount, 3);

    EXPECT_FALSE(CanRenameOverlayForm(d, u"C", 0)); // listed already
    EXPECT_FALSE(CanRenameOverlayForm(d, u"X", -1));
    EXPECT_FALSE(CanRenameOverlayForm(d, u"X", 3));
    EXPECT_TRUE(RenameOverlayForm(d, 1, u"X"));
    EXPECT_EQ(Form(d, 1), u"X");

    EXPECT_TRUE(DeleteOverlayForm(d, 0));
    EXPECT_EQ(d.FormCount, 2);
    EXPECT_EQ(Form(d, 0), u"X");
    EXPECT_EQ(Form(d, 1), u"C");
    EXPECT_EQ(Form(d, 2), u"");
    EXPECT_FALSE(DeleteOverlayForm(d, 2));
    EXPECT_TRUE(AddOverlayForm(d, u"A"));
}

TEST(OverlayPageMode, FollowsThePageListAndReadsUnknownValuesAsAllPages) {
    constexpr auto kCustom = uint16_t(PageMode::CustomPages);
    constexpr auto kOdd = uint16_t(PageMode::OddPages);
    EXPECT_EQ(PageModeAfterPageList(kOdd, true), kCustom);
    EXPECT_EQ(PageModeAfterPageList(kCustom, false), 0);
    EXPECT_EQ(PageModeAfterPageList(kOdd, false), kOdd);
    EXPECT_EQ(PageModeFromFile(4), kCustom);
    EXPECT_EQ(PageModeFromFile(5), 0);
    EXPECT_EQ(PageModeFromFile(-1), 0);
}
