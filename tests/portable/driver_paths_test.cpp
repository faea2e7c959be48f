#include "core/driver_paths.h"

#include <gtest/gtest.h>

using namespace zd;

TEST(ExtensionLibraryPath, TheBareNameInTheConfigurationFilesFolder) {
    EXPECT_EQ(ExtensionLibraryPath(u"C:\\d\\3\\MODEL.INI", u"res.dll", 264), u"C:\\d\\3\\res.dll");
    // A dot in a folder name does not move the folder up.
    EXPECT_EQ(ExtensionLibraryPath(u"C:\\drv.x\\3\\MODEL.INI", u"res.dll", 264),
              u"C:\\drv.x\\3\\res.dll");
    // No folder to load from, or a name that leaves it: no library.
    EXPECT_EQ(ExtensionLibraryPath(u"MODEL.INI", u"res.dll", 264), u"");
    EXPECT_EQ(ExtensionLibraryPath(u"", u"res.dll", 264), u"");
    EXPECT_EQ(ExtensionLibraryPath(u"C:\\d\\3\\MODEL.INI", u"..\\res.dll", 264), u"");
    // The path and its NUL must fit.
    EXPECT_EQ(ExtensionLibraryPath(u"C:\\d\\M.INI", u"r.dll", 11), u"C:\\d\\r.dll");
    EXPECT_EQ(ExtensionLibraryPath(u"C:\\d\\M.INI", u"r.dll", 10), u"");
}

TEST(DriverFileNames, OnlyBareNamesJoinAFolder) {
    for (const char16_t* bare : {u"help.hlp", u"zd wm font.dat", u".hidden", u"noext"})
        EXPECT_TRUE(IsBareFileName(bare));
    for (const char16_t* other : {u"", u"..", u"..\\help.hlp", u"a\\b.hlp", u"a/b.hlp",
                                  u"C:help.hlp", u"C:\\x\\help.hlp", u"x..hlp"})
        EXPECT_FALSE(IsBareFileName(other));

    EXPECT_TRUE(IsFullPath(u"C:\\lib\\net.dll"));
    EXPECT_TRUE(IsFullPath(u"z:\\net.dll"));
    EXPECT_TRUE(IsFullPath(u"\\\\server\\share\\net.dll"));
    for (const char16_t* relative : {u"net.dll", u"C:net.dll", u".\\net.dll", u"lib\\net.dll",
                                     u"\\net.dll", u"1:\\net.dll", u""})
        EXPECT_FALSE(IsFullPath(relative));
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
