// The choice of a user colour setting in the office colour details: how the
// colour-setting word meets the settings the store offers. The word's low
// half is a setting's item value, its high half is non-zero while the user
// setting is switched on.
#pragma once

#include <cstdint>
#include <vector>

namespace zd {

constexpr uint32_t kUserSettingOn = 0x10000; // what ticking the box writes into the high half
constexpr uint32_t kSettingValueMask = 0xFFFF;
constexpr uint16_t kNoColorSetting = 0xFFFF; // low half when the store offers nothing

inline bool UserSettingOn(uint32_t word) {
    return (word >> 16) != 0;
}

struct UserSettingView {
    int entry = -1;                  // entry of the user setting list to select; -1 for none
    uint32_t word = 0;               // the word after the rule
    bool renderStyleEnabled = false; // the RGB colour setting list
    bool listEnabled = false;        // the user setting list
    bool boxEnabled = false;
    bool boxChecked = false;
};

// `itemValues` are the offered settings in list order. The last entry whose
// value is the word's low half is chosen; when none is (a setting that left
// the store, or an empty store), the first entry is chosen and the user
// setting goes off, leaving 0xFFFF in the low half of an empty store.
UserSettingView ResolveUserSetting(const std::vector<uint16_t>& itemValues, uint32_t word);

// The box ticked (the high half becomes 1) or cleared (the high half 0).
uint32_t WithUserSetting(uint32_t word, bool on);

// A setting chosen in the list: the low half changes, the high half stays.
uint32_t WithSettingValue(uint32_t word, uint16_t itemValue);

} // namespace zd
