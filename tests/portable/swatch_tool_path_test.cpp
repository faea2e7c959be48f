#include "color/swatch_tool_path.h"

#include <gtest/gtest.h>

#include <string>

using namespace zd;

namespace {

// 1024 units hold the path with its terminator: a folder of 1012 units
// fits, one more does not; an empty folder is no tool.
TEST(SwatchToolPath, TheProgramFollowsAFolderThatLeavesRoomForIt) {
    EXPECT_EQ(SwatchToolPath(u"C:\\Zed\\Swatch"), u"C:\\Zed\\Swatch\\swatch.exe");
    EXPECT_FALSE(SwatchToolPath(u"").has_value());
    EXPECT_EQ(SwatchToolPath(std::u16string(1012, u'a'))->size(), kSwatchPathUnits - 1);
    EXPECT_FALSE(SwatchToolPath(std::u16string(1013, u'a')).has_value());
}

TEST(SwatchToolPath, ValueTextEndsAtItsFirstNulOrAtTheUnitsRead) {
    const char16_t stored[] = {u'C', u':', u'\\', u'x', 0, u'y'};
    EXPECT_EQ(TerminatedText(stored, 6), u"C:\\x");
    EXPECT_EQ(TerminatedText(stored, 3), u"C:\\"); // stored without a terminator
    EXPECT_EQ(TerminatedText(nullptr, 5), u"");
}

} // namespace
