#include "color/user_setting_choice.h"

#include <gtest/gtest.h>

using namespace zd;

namespace {

// "Color" ids 1 and 2, "Gamma" ids 1 and 3 (item values 0x101, 0x103).
const std::vector<uint16_t> kStore = {1, 2, 0x101, 0x103};

TEST(UserSettingChoice, AStoredSettingIsChosenAndTheBoxFollowsTheHighHalf) {
    UserSettingView on = ResolveUserSetting(kStore, 0x10103);
    EXPECT_EQ(on.entry, 3);
    EXPECT_EQ(on.word, 0x10103u);
    EXPECT_TRUE(on.boxEnabled && on.boxChecked && on.listEnabled && !on.renderStyleEnabled);
    UserSettingView off = ResolveUserSetting(kStore, 0x0002);
    EXPECT_EQ(off.entry, 1);
    EXPECT_TRUE(off.boxEnabled && !off.boxChecked && !off.listEnabled && off.renderStyleEnabled);
    EXPECT_EQ(ResolveUserSetting({7, 2, 7}, 0x10007).entry, 2); // the last equal entry
}

// A word naming no setting: the first entry with the user setting off; an
// empty store leaves 0xFFFF and the box disabled.
TEST(UserSettingChoice, WordsNamingNoSetting) {
    for (uint32_t word : {0x10063u, 0xFFFF0102u, 0x0000FFFFu}) {
        UserSettingView v = ResolveUserSetting(kStore, word);
        EXPECT_EQ(v.entry, 0) << std::hex << word;
        EXPECT_EQ(v.word, 1u) << std::hex << word;
        EXPECT_FALSE(v.boxChecked || v.listEnabled);
    }
    UserSettingView empty = ResolveUserSetting({}, 0x10001);
    EXPECT_EQ(empty.entry, -1);
    EXPECT_EQ(empty.word, 0xFFFFu);
    EXPECT_FALSE(empty.boxEnabled || empty.boxChecked || empty.listEnabled);
}

TEST(UserSettingChoice, TheBoxAndTheListChangeTheirOwnHalf) {
    EXPECT_EQ(WithUserSetting(0x0103, true), 0x10103u);
    EXPECT_EQ(WithUserSetting(0x50103u, true), 0x10103u);
    EXPECT_EQ(WithUserSetting(0xFFFF0103u, false), 0x0103u);
    EXPECT_EQ(WithSettingValue(0x10001, 0x103), 0x10103u);
}

} // namespace
