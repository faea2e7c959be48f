#include "color/user_setting_choice.h"

#include <gtest/gtest.h>

using namespace zd;

namespace {

// "Color" ids 1 and 2, "Gamma" ids 1 and 3 (item values 0x101, 0x103).
const std::vector<uint16_t> kStore = {1, 2, 0x101, 0x103};

TEST(UserSettingChoice, AStoredSettingIsSelectedAndTheBoxFollowsTheHighHalf) {
    UserSettingView on = ResolveUserSetting(kStore, 0x10103);
    EXPECT_EQ(on.entry, 3);
    EXPECT_EQ(on.word, 0x10103u);
    EXPECT_TRUE(on.boxEnabled && on.boxChecked && on.listEnabled);
    EXPECT_FALSE(on.renderStyleEnabled);

    UserSettingView off = ResolveUserSetting(kStore, 0x0002);
    EXPECT_EQ(off.entry, 1);
    EXPECT_EQ(off.word, 0x0002u);
    EXPECT_TRUE(off.boxEnabled && off.renderStyleEnabled);
    EXPECT_FALSE(off.boxChecked || off.listEnabled);
}

TEST(UserSettingChoice, TheLastOfEqualEntriesIsChosen) {
    EXPECT_EQ(ResolveUserSetting({7, 2, 7}, 0x10007).entry, 2);
}

// A word naming no setting of the store: the first entry, user setting off.
TEST(UserSettingChoice, ASettingThatLeftTheStoreFallsBackToTheFirstWithTheUserSettingOff) {
    for (uint32_t word : {0x10063u, 0x00063u, 0xFFFF0102u, 0x0000FFFFu}) {
        UserSettingView v = ResolveUserSetting(kStore, word);
        EXPECT_EQ(v.entry, 0) << std::hex << word;
        EXPECT_EQ(v.word, 1u) << std::hex << word;
        EXPECT_FALSE(v.boxChecked || v.listEnabled);
        EXPECT_TRUE(v.renderStyleEnabled && v.boxEnabled);
    }
}

TEST(UserSettingChoice, AnEmptyStoreLeavesNoSettingAndTheBoxDisabled) {
    UserSettingView v = ResolveUserSetting({}, 0x10001);
    EXPECT_EQ(v.entry, -1);
    EXPECT_EQ(v.word, 0xFFFFu);
    EXPECT_FALSE(v.boxEnabled || v.boxChecked || v.listEnabled);
    EXPECT_TRUE(v.renderStyleEnabled);
}

TEST(UserSettingChoice, TheBoxAndTheListChangeTheirOwnHalf) {
    EXPECT_EQ(WithUserSetting(0x0103, true), 0x10103u);
    EXPECT_EQ(WithUserSetting(0xFFFF0103u, false), 0x0103u);
    EXPECT_EQ(WithUserSetting(0x50103u, true), 0x10103u);
    EXPECT_EQ(WithSettingValue(0x10001, 0x103), 0x10103u);
    EXPECT_EQ(WithSettingValue(0x00001, 2), 0x00002u);
}

} // namespace
