#include "color/user_setting_choice.h"

#include <cstddef>

namespace zd {

UserSettingView ResolveUserSetting(const std::vector<uint16_t>& itemValues, uint32_t word) {
    UserSettingView v;
    v.word = word;
    for (size_t i = 0; i < itemValues.size(); ++i)
        if (itemValues[i] == (word & kSettingValueMask))
            v.entry = int(i);
    if (v.entry < 0) {
        v.entry = itemValues.empty() ? -1 : 0;
        v.word = itemValues.empty() ? kNoColorSetting : itemValues.front();
    }
    const bool on = UserSettingOn(v.word);
    v.renderStyleEnabled = !on;
    v.listEnabled = on;
    v.boxEnabled = !itemValues.empty();
    v.boxChecked = v.boxEnabled && on;
    return v;
}

uint32_t WithUserSetting(uint32_t word, bool on) {
    return (word & kSettingValueMask) | (on ? kUserSettingOn : 0);
}

uint32_t WithSettingValue(uint32_t word, uint16_t itemValue) {
    return (word & ~kSettingValueMask) | itemValue;
}

} // namespace zd
