#include "core/paper_names.h"

#include <gtest/gtest.h>

using zd::SplitHiddenPaperNames;

TEST(HiddenPaperNames, SplitsAtCommasKeepingEmptyNames) {
    EXPECT_TRUE(SplitHiddenPaperNames(u"").empty());
    EXPECT_EQ(SplitHiddenPaperNames(u"A4,Letter"), (std::vector<std::u16string>{u"A4", u"Letter"}));
    EXPECT_EQ(SplitHiddenPaperNames(u"A4,,B5,"),
              (std::vector<std::u16string>{u"A4", u"", u"B5", u""}));
    EXPECT_EQ(SplitHiddenPaperNames(u" A4"), (std::vector<std::u16string>{u" A4"}));
}

TEST(HiddenPaperNames, AtMostTwelveNamesOfSixtyThreeUnits) {
    std::u16string list;
    for (int i = 0; i < 20; ++i)
        list += u"P" + std::u16string(1, char16_t(u'a' + i)) + u",";
    auto names = SplitHiddenPaperNames(list);
    ASSERT_EQ(names.size(), 12u);
    EXPECT_EQ(names[11], u"Pl");

    std::u16string longName(100, u'x');
    names = SplitHiddenPaperNames(longName + u",A4");
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0], std::u16string(63, u'x'));
    EXPECT_EQ(names[1], u"A4");
}
