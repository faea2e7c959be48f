#include "color/swatch_tool_path.h"

#include <gtest/gtest.h>

#include <string>

using namespace zd;

namespace {

TEST(SwatchToolPath, TheProgramFollowsTheFolder) {
    EXPECT_EQ(SwatchToolPath(u"C:\\Zed\\Swatch"), u"C:\\Zed\\Swatch\\swatch.exe");
    EXPECT_FALSE(SwatchToolPath(u"").has_value());
}

// 1024 units hold the path with its terminator: a folder of 1012 units
// fits, one more does not.
TEST(SwatchToolPath, APathThatDoesNotFitIsNotFound) {
    const size_t fits = kSwatchPathUnits - kSwatchProgram.size() - 1;
    ASSERT_EQ(fits, 1012u);
    std::optional<std::u16string> longest = SwatchToolPath(std::u16string(fits, u'a'));
    ASSERT_TRUE(longest.has_value());
    EXPECT_EQ(longest->size(), kSwatchPathUnits - 1);
    EXPECT_FALSE(SwatchToolPath(std::u16string(fits + 1, u'a')).has_value());
    EXPECT_FALSE(SwatchToolPath(std::u16string(kSwatchPathUnits, u'a')).has_value());
}

TEST(SwatchToolPath, ValueTextEndsAtItsFirstNulOrAtTheBytesRead) {
    const char16_t stored[] = {u'C', u':', u'\\', u'x', 0, u'y', u'z'};
    EXPECT_EQ(TerminatedText(stored, 7), u"C:\\x");
    // Stored without a terminator: every unit read counts, nothing beyond.
    const char16_t bare[] = {u'C', u':', u'\\', u'x', u'y'};
    EXPECT_EQ(TerminatedText(bare, 3), u"C:\\");
    EXPECT_EQ(TerminatedText(nullptr, 5), u"");
    EXPECT_EQ(TerminatedText(bare, 0), u"");
}

} // namespace
