// The model-file checker's line index: sections and keys found on their
// lines in 8-bit and UTF-16 files, letter case and comments as the profile
// functions treat them.
#include "ini_lines.h"

#include <gtest/gtest.h>

namespace {

using drvhost::IniLines;

TEST(IniLines, FindsSectionsAndKeysOnTheirLines) {
    IniLines ini("; comment\r\n[Capability]\r\nZed CP9500 PS = ZED\r\n\r\n[ZED]\r\n"
                 "Compression=1281\r\n;NetExtDLL=x\r\nnetextdll=zdnetext.dll\r\n"
                 "[capability]\r\nLate=1\r\n");
    EXPECT_EQ(ini.Section(u"Capability"), 2);
    EXPECT_EQ(ini.Section(u"zed"), 5);
    EXPECT_EQ(ini.Section(u"Missing"), 0);
    EXPECT_EQ(ini.Key(u"Capability", u"Zed CP9500 PS"), 3);
    EXPECT_EQ(ini.Key(u"ZED", u"NetExtDLL"), 8); // the commented line is skipped
    EXPECT_EQ(ini.Key(u"ZED", u"Missing"), 0);
    // A repeated header continues its section.
    EXPECT_EQ(ini.Key(u"Capability", u"Late"), 10);
    EXPECT_EQ(ini.Keys(u"Capability"), (std::vector<std::u16string>{u"Zed CP9500 PS", u"Late"}));
    EXPECT_EQ(ini.Sections(), (std::vector<std::u16string>{u"Capability", u"ZED"}));
}

TEST(IniLines, ReadsUtf16AndUtf8Names) {
    // "[自定义颜色]\nColor0=1" in UTF-16LE with its byte-order mark.
    std::u16string text = u"[\u81EA\u5B9A\u4E49\u989C\u8272]\r\nColor0=1\r\nColor0=2\r\n";
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes.push_back(char(c & 0xFF));
        bytes.push_back(char(c >> 8));
    }
    IniLines wide(bytes);
    EXPECT_EQ(wide.Key(u"\u81EA\u5B9A\u4E49\u989C\u8272", u"color0"), 2);
    EXPECT_EQ(wide.Keys(u"\u81EA\u5B9A\u4E49\u989C\u8272").size(), 1u);

    IniLines utf8("[\xE8\x87\xAA\xE5\xAE\x9A]\nA=1\n[\xFF\xFE\x80]\nB=2\n");
    EXPECT_EQ(utf8.Key(u"\u81EA\u5B9A", u"A"), 2);
    // Bytes that are not UTF-8 read as replacement characters.
    EXPECT_EQ(utf8.Key(u"\uFFFD\uFFFD\uFFFD", u"B"), 4);
}

TEST(IniLines, KeysOutsideSectionsAndLinesWithoutEqualsAreNotKeys) {
    IniLines ini("Orphan=1\n[S]\njust text\nK=\n[Unclosed\nL=2");
    EXPECT_EQ(ini.Keys(u"S"), (std::vector<std::u16string>{u"K"}));
    EXPECT_EQ(ini.Key(u"Unclosed", u"L"), 6);
    EXPECT_EQ(IniLines("").Sections().size(), 0u);
}

} // namespace
