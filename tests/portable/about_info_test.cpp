#include "jobopts/about_info.h"

#include <gtest/gtest.h>

#include <string>

using namespace zd;

namespace {

const char kPpd[] = "*PPD-Adobe: \"4.3\"\r\n"
                    "*% no version here: FileVersion without quotes\r\n"
                    "*FileVersion: \"3.2.105\"\r\n"
                    "*FileVersion: \"9.9.9\"\r\n"
                    "*Copyright Copyright (C) 2026 Zed Printing Systems.\r\n"
                    "*Copyright Second line\r\n";

} // namespace

TEST(AboutPpd, FileVersionIsTheQuotedValueOfTheFirstMarkedLine) {
    EXPECT_EQ(PpdFileVersion(kPpd), u"3.2.105");
    EXPECT_EQ(PpdFileVersion("*FileVersion: \"1.0\n"), u"1.0"); // no closing quote: line end
    EXPECT_EQ(PpdFileVersion("*FileVersion: \"\"\n*FileVersion: \"2\"\n"), u"");
    EXPECT_EQ(PpdFileVersion("\"quoted\" before FileVersion\n"), u"quoted");
    EXPECT_EQ(PpdFileVersion("*Version: \"1.0\"\n"), u"");
    EXPECT_EQ(PpdFileVersion(""), u"");
    // Old Macintosh line ends.
    EXPECT_EQ(PpdFileVersion("*A: x\r*FileVersion: \"4.5\"\r*B: y\r"), u"4.5");
    // Bytes above 127 become the same code units.
    EXPECT_EQ(PpdFileVersion("*FileVersion: \"1\xE9\"\n"), u"1\u00E9");
    // Cut to 256 units.
    std::string longLine = "*FileVersion: \"" + std::string(400, '7') + "\"\n";
    EXPECT_EQ(PpdFileVersion(longLine), std::u16string(256, u'7'));
}

TEST(AboutPpd, CopyrightIsEverythingAfterTheFirstSpace) {
    EXPECT_EQ(PpdCopyright(kPpd), u"Copyright (C) 2026 Zed Printing Systems.");
    EXPECT_EQ(PpdCopyright("*%Copyright\n*Copyright x y\n"), u"x y"); // no space: skipped
    EXPECT_EQ(PpdCopyright("A Copyright line\n"), u"Copyright line");
    EXPECT_EQ(PpdCopyright("*Copyright \n"), u"");
    EXPECT_EQ(PpdCopyright("*Copyright (C) 2026 Zed"), u"(C) 2026 Zed"); // last line, no end
    EXPECT_EQ(PpdCopyright("*copyright lower case\n"), u"");
    std::string longLine = "*Copyright " + std::string(300, 'c') + "\n";
    EXPECT_EQ(PpdCopyright(longLine).size(), 256u);
}

TEST(AboutDriverVer, VersionAfterTheComma) {
    EXPECT_EQ(DriverVersionFromDriverVer(u"11/20/2026,3.2.105.0"), u"3.2.105.0");
    EXPECT_EQ(DriverVersionFromDriverVer(u"11/20/2026, 3.2"), u" 3.2");
    EXPECT_EQ(DriverVersionFromDriverVer(u"11/20/2026,3.2\"tail"), u"3.2");
    EXPECT_EQ(DriverVersionFromDriverVer(u"11/20/2026"), u"");
    EXPECT_EQ(DriverVersionFromDriverVer(u""), u"");
    // The comma must lie within the first 32 units.
    std::u16string late = std::u16string(32, u'd') + u",1.0";
    EXPECT_EQ(DriverVersionFromDriverVer(late), u"");
    std::u16string edge = std::u16string(31, u'd') + u",1.0";
    EXPECT_EQ(DriverVersionFromDriverVer(edge), u"1.0");
    // At most 32 units of version.
    std::u16string longVersion = u"1/1/2000," + std::u16string(50, u'9');
    EXPECT_EQ(DriverVersionFromDriverVer(longVersion), std::u16string(32, u'9'));
}

TEST(AboutVersionFile, LastDependentFileEndingInVer) {
    EXPECT_EQ(FindVersionFile(
                  {u"C:\\d\\3\\zdcp95.ini", u"C:\\d\\3\\ZDCP95.VER", u"C:\\d\\3\\zdcp95.ppd"}),
              u"C:\\d\\3\\ZDCP95.VER");
    EXPECT_EQ(FindVersionFile({u"a.ver", u"b.Ver", u"c.txt"}), u"b.Ver");
    EXPECT_EQ(FindVersionFile({u"a.vers", u"ver", u"aver"}), u"");
    EXPECT_EQ(FindVersionFile({}), u"");
}

