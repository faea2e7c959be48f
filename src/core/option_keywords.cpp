#include "core/option_keywords.h"

#include "core/detected_options.h"

#include <algorithm>
#include <cstring>

namespace zd {

FeatureKeywordData FeatureKeywordDataFrom(const uint8_t* data, size_t size, uint32_t storedSize) {
    FeatureKeywordData d;
    if (!data)
        return d;
    size_t n = storedSize & 0xFF;
    n = std::min({n, size, kFeatureKeywordCapacity});
    std::memcpy(d.bytes.data(), data, n);
    d.length = n;
    return d;
}

int ReplaceOptionKeyword(FeatureKeywordData& data, std::string_view feature,
                         std::string_view option) {
    if (feature.empty())
        return 0;
    const size_t length = std::min(data.length, kFeatureKeywordCapacity);
    const uint8_t* in = data.bytes.data();
    std::array<uint8_t, kFeatureKeywordCapacity> out{};
    size_t outLen = 0;
    int replaced = 0;
    // Invariant: outLen + (length - pos) <= capacity, so copying the rest as
    // it is always fits.
    size_t pos = 0;
    while (pos < length) {
        const uint8_t* lf = static_cast<const uint8_t*>(std::memchr(in + pos, '\n', length - pos));
        const size_t entryEnd = lf ? size_t(lf - in) + 1 : length;
        const size_t entryLen = entryEnd - pos;
        const uint8_t* nul = static_cast<const uint8_t*>(std::memchr(in + pos, 0, entryLen));
        const bool match = nul && size_t(nul - (in + pos)) == feature.size() &&
                           std::memcmp(in + pos, feature.data(), feature.size()) == 0;
        const size_t newLen = feature.size() + 1 + option.size() + 2;
        if (match && outLen + newLen + (length - entryEnd) <= kFeatureKeywordCapacity) {
            std::memcpy(out.data() + outLen, feature.data(), feature.size());
            outLen += feature.size();
            out[outLen++] = 0;
            std::memcpy(out.data() + outLen, option.data(), option.size());
            outLen += option.size();
            out[outLen++] = 0;
            out[outLen++] = '\n';
            ++replaced;
        } else {
            std::memcpy(out.data() + outLen, in + pos, entryLen);
            outLen += entryLen;
        }
        pos = entryEnd;
    }
    data.bytes = out;
    data.length = outLen;
    return replaced;
}

std::vector<KeywordReplacement> InstallerKeywordReplacements(const InstallerOptions& o) {
    auto flag = [&](uint32_t bit) { return std::string((o.installed & bit) ? "True" : "False"); };
    std::string punch = "None";
    if (o.punchType >= 1 && o.punchType <= 3)
        punch = "Type" + std::to_string(o.punchType);
    std::vector<KeywordReplacement> r = {
        {"ZDOptionMPF", flag(installed::kMultiPurposeFeeder)},
        {"ZDOptionDuplex", flag(installed::kDuplex)},
        {"ZDFinisher", flag(installed::kFinisher)},
        {"ZDPunchUnit", punch},
        {"ZDOptionTray", std::to_string(TrayCount(o.installed))},
        {"ZDHDD", o.hardDisk != 0 ? "True" : "False"},
    };
    if (o.memory != 0)
        r.push_back({"InstalledMemory", std::to_string(o.memory) + "MB"});
    return r;
}

void ApplyInstallerOptions(FeatureKeywordData& data, const InstallerOptions& options) {
    for (const KeywordReplacement& k : InstallerKeywordReplacements(options))
        ReplaceOptionKeyword(data, k.feature, k.option);
}

} // namespace zd
