#include "core/detected_options.h"

#include <cstdint>

namespace zd {

uint32_t TrayCount(uint32_t flags) {
    if (flags & installed::kTray4)
        return 4;
    if (flags & installed::kTray3)
        return 3;
    if (flags & installed::kTray2)
        return 2;
    if (flags & installed::kTray1)
        return 1;
    return 0;
}

namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f';
}

// Whether the text reads as a number at all (a digit after blanks and sign).
bool HasLeadingNumber(std::u16string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    return i < text.size() && text[i] >= u'0' && text[i] <= u'9';
}

} // namespace

int32_t ParseLeadingInt(std::u16string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    // Accumulate toward the limit of the sign so that INT32_MIN is reachable.
    const int64_t limit = negative ? int64_t(INT32_MAX) + 1 : int64_t(INT32_MAX);
    int64_t value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i] - u'0');
        if (value > limit)
            value = limit;
    }
    return int32_t(negative ? -value : value);
}

uint32_t MatchMemoryOption(int32_t memory, const std::vector<std::u16string>& optionNames) {
    for (size_t i = 0; i < optionNames.size(); ++i) {
        const std::u16string& name = optionNames[i];
        if (name.size() < 3)
            continue;
        // A name without a number (such as "Standard") never matches, not
        // even a memory size of 0 from a data file that lacks the key.
        std::u16string_view number(name.data(), name.size() - 3);
        if (!HasLeadingNumber(number))
            continue;
        if (ParseLeadingInt(number) == memory)
            return uint32_t(i);
    }
    return 0;
}

DetectedOptions DetectOptions(const OptionDataValues& v,
                              const std::vector<std::u16string>& memoryOptionNames) {
    DetectedOptions d;
    d.hardDisk = v.hardDisk ? 0 : 1;
    d.duplex = (v.installed & installed::kDuplex) ? 0 : 1;
    d.trays = TrayCount(v.installed);
    d.memory = MatchMemoryOption(v.memory, memoryOptionNames);
    d.finisher = (v.installed & installed::kFinisher) ? 1 : 0;
    d.multiPurposeFeeder = (v.installed & installed::kMultiPurposeFeeder) ? 1 : 0;
    d.punchUnit = v.punchType != 0 ? 1 : 0;
    return d;
}

bool IsUsbPort(std::u16string_view port) {
    if (port.size() < 3)
        return false;
    auto up = [](char16_t c) { return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c; };
    return up(port[0]) == u'U' && up(port[1]) == u'S' && up(port[2]) == u'B';
}

} // namespace zd
