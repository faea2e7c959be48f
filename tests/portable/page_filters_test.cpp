#include "overlay/page_filters.h"

#include <gtest/gtest.h>

using namespace zd;

namespace {

// What the edit field shows after the user types `keys` one at a time, the
// filter running on every update as the dialog does; counts the beeps.
std::u16string TypeInto(std::u16string_view keys, int* beeps) {
    std::u16string field;
    for (char16_t k : keys) {
        field.push_back(k);
        FilterResult r = FilterPageList(field);
        if (r.removed > 0 && !field.empty())
            ++*beeps;
        field = r.text;
    }
    return field;
}

} // namespace

TEST(PageListFilter, ExamplesOfTheDefinitionDialog) {
    int beeps = 0;
    EXPECT_EQ(TypeInto(u"1,3,5-12", &beeps), u"1,3,5-12");
    EXPECT_EQ(beeps, 0);
    EXPECT_EQ(TypeInto(u"01", &beeps), u"1");
    EXPECT_EQ(TypeInto(u"12345", &beeps), u"1234");
    EXPECT_EQ(TypeInto(u"1--2", &beeps), u"1-2");
    EXPECT_EQ(TypeInto(u"1-2-3", &beeps), u"1-23");
    beeps = 0;
    EXPECT_EQ(TypeInto(u",", &beeps), u"");
    EXPECT_EQ(beeps, 1);

    // The same texts pasted at once.
    EXPECT_EQ(FilterPageList(u"1,3,5-12").text, u"1,3,5-12");
    EXPECT_EQ(FilterPageList(u"1,3,5-12").removed, 0u);
    EXPECT_EQ(FilterPageList(u"01").text, u"1");
    EXPECT_EQ(FilterPageList(u"12345").text, u"1234");
    EXPECT_EQ(FilterPageList(u"12345").removed, 1u);
    EXPECT_EQ(FilterPageList(u"1--2").text, u"1-2");
    EXPECT_EQ(FilterPageList(u"1-2-3").text, u"1-23");
    EXPECT_EQ(FilterPageList(u",").text, u"");
    EXPECT_EQ(FilterPageList(u",").removed, 1u);
}

TEST(PageListFilter, SeparatorsZerosAndForeignCharacters) {
    EXPECT_EQ(FilterPageList(u"1,,2").text, u"1,2");
    EXPECT_EQ(FilterPageList(u"1-,2").text, u"1-2"); // a "," needs an open number
    EXPECT_EQ(FilterPageList(u"-1").text, u"1");
    EXPECT_EQ(FilterPageList(u"10,100,1000,10000").text, u"10,100,1000,1000");
    EXPECT_EQ(FilterPageList(u"0,0").text, u"");
    EXPECT_EQ(FilterPageList(u"1, 2").text, u"1,2");
    EXPECT_EQ(FilterPageList(u"1a2b").text, u"12");
    EXPECT_EQ(FilterPageList(u"\uFF11,2").text, u"2"); // full-width digits are not digits
    EXPECT_EQ(FilterPageList(u"3-4,5-6").text, u"3-4,5-6");
    EXPECT_EQ(FilterPageList(u"1-2,3-4-5").text, u"1-2,3-45");
    EXPECT_EQ(FilterPageList(u"").removed, 0u);
}

TEST(FormNameFilter, KeepsPrintableAsciiWithoutDelimiters) {
    FilterResult r = FilterFormName(u"A B(1)");
    EXPECT_EQ(r.text, u"AB1");
    EXPECT_EQ(r.removed, 3u);
    EXPECT_EQ(FilterFormName(u"Form-1_x.y!").text, u"Form-1_x.y!");
    EXPECT_EQ(FilterFormName(u"%()/<>[\\]{}").text, u"");
    EXPECT_EQ(FilterFormName(u"%()/<>[\\]{}").removed, 11u);
    EXPECT_EQ(FilterFormName(u"a\tb\x7F"
                             u"c\u00E9d\u8868")
                  .text,
              u"abcd");
    for (char16_t c = 0; c < 0x200; ++c) {
        const bool delimiter = std::u16string_view(u"%()/<>[\\]{}").find(c) != std::u16string::npos;
        EXPECT_EQ(IsFormNameChar(c), c > 0x20 && c < 0x7F && !delimiter) << int(c);
    }
}

TEST(FilterCaret, MovesBackByTheRemovedCountButNotBeforeZero) {
    EXPECT_EQ(CaretAfterFilter(5, 1), 4u);
    EXPECT_EQ(CaretAfterFilter(1, 3), 0u);
    EXPECT_EQ(CaretAfterFilter(0, 0), 0u);
}
