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

namespace {

bool OddQuotes(std::string_view text) {
    return std::count(text.begin(), text.end(), '"') % 2 != 0;
}

} // namespace

std::vector<std::string> PpdOptionKeywords(std::string_view ppd, std::string_view feature) {
    std::vector<std::string> options;
    bool quoted = false; // inside a value that spans lines
    size_t pos = 0;
    while (pos < ppd.size() && !feature.empty()) {
        size_t end = std::min(ppd.find_first_of("\r\n", pos), ppd.size());
        std::string_view line = ppd.substr(pos, end - pos);
        pos = end + 1;
        if (quoted) {
            quoted = !OddQuotes(line);
            continue;
        }
        if (line.empty() || line[0] != '*')
            continue;
        size_t colon = line.find(':');
        if (colon == std::string_view::npos)
            continue;
        quoted = OddQuotes(line.substr(colon + 1));
        std::string_view head = line.substr(1, colon - 1);
        if (head.size() <= feature.size() || head.compare(0, feature.size(), feature) != 0 ||
            (head[feature.size()] != ' ' && head[feature.size()] != '\t'))
            continue;
        head.remove_prefix(feature.size());
        size_t start = head.find_first_not_of(" \t");
        if (start == std::string_view::npos)
            continue;
        head.remove_prefix(start);
        std::string_view option = head.substr(0, head.find_first_of("/ \t"));
        if (!option.empty())
            options.emplace_back(option);
    }
    return options;
}

void ApplyInstallerOptions(FeatureKeywordData& data, const InstallerOptions& options,
                           std::string_view ppd) {
    for (const KeywordReplacement& k : InstallerKeywordReplacements(options)) {
        std::vector<std::string> offered = PpdOptionKeywords(ppd, k.feature);
        if (std::find(offered.begin(), offered.end(), k.option) != offered.end())
            ReplaceOptionKeyword(data, k.feature, k.option);
    }
}

bool StoreFeatureKeywords(const FeatureKeywordData& data, const KeywordValueWriter& write) {
    const size_t length = std::min(data.length, kFeatureKeywordCapacity);
    const uint8_t size[4] = {uint8_t(length), uint8_t(length >> 8), uint8_t(length >> 16),
                             uint8_t(length >> 24)};
    return write(KeywordValue::Data, data.bytes.data(), length) &&
           write(KeywordValue::Size, size, sizeof(size));
}

} // namespace zd
