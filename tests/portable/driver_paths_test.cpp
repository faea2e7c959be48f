#include "core/driver_paths.h"

#include <gtest/gtest.h>

using namespace zd;

TEST(DirectoryBeforeFirstDot, CutsAfterTheBackslashBeforeTheFirstDot) {
    EXPECT_EQ(DirectoryBeforeFirstDot(u"C:\\d\\3\\MODEL.INI"), u"C:\\d\\3\\");
    EXPECT_EQ(DirectoryBeforeFirstDot(u"C:\\windows\\system32\\spool\\drivers\\x64\\3\\zd.ini"),
              u"C:\\windows\\system32\\spool\\drivers\\x64\\3\\");
    // Only the first dot counts, even inside a folder name.
    EXPECT_EQ(DirectoryBeforeFirstDot(u"C:\\a.b\\c\\MODEL.INI"), u"C:\\");
    // No backslash before the dot, or no dot: the text as it is.
    EXPECT_EQ(DirectoryBeforeFirstDot(u"MODEL.INI"), u"MODEL.INI");
    EXPECT_EQ(DirectoryBeforeFirstDot(u"C:\\d\\MODEL"), u"C:\\d\\MODEL");
    EXPECT_EQ(DirectoryBeforeFirstDot(u""), u"");
    EXPECT_EQ(DirectoryBeforeFirstDot(u"\\.x"), u"\\");
}

TEST(DirectoryBeforeFirstDot, ScansAtMost260Units) {
    std::u16string folder = u"C:\\" + std::u16string(300, u'f') + u"\\";
    std::u16string path = folder + u"MODEL.INI";
    EXPECT_EQ(DirectoryBeforeFirstDot(path), path); // the dot lies beyond unit 260

    std::u16string near = u"C:\\" + std::u16string(250, u'f') + u"\\M.INI"; // dot at 255
    EXPECT_EQ(DirectoryBeforeFirstDot(near), u"C:\\" + std::u16string(250, u'f') + u"\\");
}

TEST(PpdPathFromConfigPath, SameDirectoryAndBaseNameWithPpdExtension) {
    EXPECT_EQ(PpdPathFromConfigPath(u"C:\\d\\3\\MODEL.INI"), u"C:\\d\\3\\MODEL.PPD");
    EXPECT_EQ(PpdPathFromConfigPath(u"C:\\d\\3\\zdcp95.ini"), u"C:\\d\\3\\zdcp95.PPD");
    // A short extension is replaced, not overwritten past its end.
    EXPECT_EQ(PpdPathFromConfigPath(u"C:\\d\\3\\MODEL.I"), u"C:\\d\\3\\MODEL.PPD");
    EXPECT_EQ(PpdPathFromConfigPath(u"C:\\d\\3\\MODEL."), u"C:\\d\\3\\MODEL.PPD");
    // Dots in folder names do not count; the first dot of the name does.
    EXPECT_EQ(PpdPathFromConfigPath(u"C:\\drv.x\\3\\MODEL.INI"), u"C:\\drv.x\\3\\MODEL.PPD");
    EXPECT_EQ(PpdPathFromConfigPath(u"C:\\d\\zd.cp95.ini"), u"C:\\d\\zd.PPD");
    EXPECT_EQ(PpdPathFromConfigPath(u"C:\\d\\MODEL"), u"C:\\d\\MODEL.PPD");
    EXPECT_EQ(PpdPathFromConfigPath(u""), u".PPD");
}
