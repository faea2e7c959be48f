// The "FeatureKeyword" replacement over random data, keywords and installer
// values, and the number reading of the option data files.
// Layout: u32 installed, i32 memory, i32 hard disk, i32 punch type, u16
// stored size, u8 feature length, u8 option length, feature, option, data.
#include "core/detected_options.h"
#include "core/option_keywords.h"
#include "fuzz_input.h"

#include <vector>

using namespace zd;

namespace {

std::vector<std::string> SplitEntries(const FeatureKeywordData& d) {
    std::vector<std::string> entries;
    std::string cur;
    for (size_t i = 0; i < d.length; ++i) {
        cur.push_back(char(d.bytes[i]));
        if (d.bytes[i] == '\n') {
            entries.push_back(cur);
            cur.clear();
        }
    }
    if (!cur.empty())
        entries.push_back(cur);
    return entries;
}

bool EntryHasFeature(const std::string& entry, std::string_view feature) {
    size_t nul = entry.find('\0');
    return nul != std::string::npos && std::string_view(entry).substr(0, nul) == feature;
}

std::string Clean(std::string_view s) {
    std::string c(s);
    for (char& ch : c)
        if (ch == '\0' || ch == '\n')
            ch = 'x';
    return c;
}

// Plain reading with a wide accumulator, clamped at the end.
int32_t ReferenceInt(std::u16string_view t) {
    size_t i = 0;
    while (i < t.size() && (t[i] == u' ' || (t[i] >= u'\t' && t[i] <= u'\r')))
        ++i;
    bool neg = false;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
        neg = t[i++] == u'-';
    __int128 v = 0;
    for (; i < t.size() && t[i] >= u'0' && t[i] <= u'9'; ++i)
        if (v < (__int128(1) << 40))
            v = v * 10 + (t[i] - u'0');
    if (neg)
        v = -v;
    if (v > INT32_MAX)
        return INT32_MAX;
    if (v < INT32_MIN)
        return INT32_MIN;
    return int32_t(v);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zdfuzz::Input f(data, size);
    InstallerOptions inst;
    inst.installed = f.take<uint32_t>();
    inst.memory = f.take<int32_t>();
    inst.hardDisk = f.take<int32_t>();
    inst.punchType = f.take<int32_t>();
    const uint32_t storedSize = f.take<uint16_t>();
    const size_t featureLen = f.take<uint8_t>() % 24;
    const size_t optionLen = f.take<uint8_t>() % 48;
    const std::string feature = Clean(f.bytes(featureLen));
    const std::string option = Clean(f.bytes(optionLen));
    const std::string_view raw = f.restBytes();

    const FeatureKeywordData before = FeatureKeywordDataFrom(
        reinterpret_cast<const uint8_t*>(raw.data()), raw.size(), storedSize);
    ZD_FUZZ_CHECK(before.length <= kFeatureKeywordCapacity && before.length <= raw.size());

    FeatureKeywordData d = before;
    const int replaced = ReplaceOptionKeyword(d, feature, option);
    ZD_FUZZ_CHECK(d.length <= kFeatureKeywordCapacity);

    // Entries of other features keep their bytes and their order.
    std::vector<std::string> others0, others1;
    size_t matching = 0;
    for (const std::string& e : SplitEntries(before)) {
        if (!feature.empty() && EntryHasFeature(e, feature))
            ++matching;
        else
            others0.push_back(e);
    }
    size_t holding = 0;
    const std::string wanted = feature + std::string(1, '\0') + option + std::string("\0\n", 2);
    for (const std::string& e : SplitEntries(d)) {
        if (!feature.empty() && EntryHasFeature(e, feature))
            holding += e == wanted ? 1 : 0;
        else
            others1.push_back(e);
    }
    ZD_FUZZ_CHECK(others0 == others1);
    ZD_FUZZ_CHECK(replaced >= 0 && size_t(replaced) <= matching);
    ZD_FUZZ_CHECK(holding >= size_t(replaced));
    if (feature.empty() || matching == 0)
        ZD_FUZZ_CHECK(d.length == before.length && d.bytes == before.bytes);
    if (size_t(replaced) == matching) {
        // Done everywhere: doing it again changes nothing.
        FeatureKeywordData again = d;
        ReplaceOptionKeyword(again, feature, option);
        ZD_FUZZ_CHECK(again.length == d.length && again.bytes == d.bytes);
    }

    // The same bytes read as a PPD: every option found is one keyword.
    for (const std::string& o : PpdOptionKeywords(raw, feature))
        ZD_FUZZ_CHECK(!o.empty() && o.find_first_of(" \t\r\n/:") == std::string::npos);
    FeatureKeywordData installed = before;
    ApplyInstallerOptions(installed, inst, raw);
    ZD_FUZZ_CHECK(installed.length <= kFeatureKeywordCapacity);

    // The number reading saturates exactly like a wide reading clamped.
    std::u16string text;
    for (char c : option)
        text.push_back(char16_t(static_cast<unsigned char>(c)));
    ZD_FUZZ_CHECK(ParseLeadingInt(text) == ReferenceInt(text));
    DetectedOptions det = DetectOptions(
        OptionDataValues{inst.installed, inst.memory, inst.hardDisk != 0, inst.punchType},
        {text, u"128 MB", u"256 MB"});
    ZD_FUZZ_CHECK(det.trays <= 4 && det.memory <= 2 && det.duplex <= 1 && det.hardDisk <= 1);
    return 0;
}
