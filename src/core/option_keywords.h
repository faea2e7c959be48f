// The driver's stored option keywords ("FeatureKeyword" printer driver data):
// entries of an 8-bit feature keyword, NUL, the option keyword, NUL, LF.
// An installer's detected options are written over the matching entries.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zd {

// The plug-in handles this much of the value.
constexpr size_t kFeatureKeywordCapacity = 128;

struct FeatureKeywordData {
    std::array<uint8_t, kFeatureKeywordCapacity> bytes{};
    size_t length = 0;
};

// Takes the value as read (`size` bytes) with the stored length, whose low
// 8 bits count; the length never exceeds what was read or the capacity.
FeatureKeywordData FeatureKeywordDataFrom(const uint8_t* data, size_t size, uint32_t storedSize);

// Gives every entry whose feature keyword is `feature` the option keyword
// `option`. The whole feature keyword must match from the start of an entry.
// An entry whose replacement would not fit in the capacity is left as it
// is; a last entry without LF gets one. Returns the number of entries
// replaced.
int ReplaceOptionKeyword(FeatureKeywordData& data, std::string_view feature,
                         std::string_view option);

// What the installer's option file says.
struct InstallerOptions {
    uint32_t installed = 0; // bit values as in detected_options.h
    int32_t memory = 0;
    int32_t hardDisk = 0;
    int32_t punchType = 0;
};

// The option keywords written for an installer's options, in the order of
// writing. "InstalledMemory" is included only for a non-zero memory size.
struct KeywordReplacement {
    std::string feature;
    std::string option;
};
std::vector<KeywordReplacement> InstallerKeywordReplacements(const InstallerOptions& options);

// The option keywords that a PPD offers for a feature: the lines
// "*<feature> <option>[/<translation>]: ...", outside quoted values that
// span lines. Keywords compare case-sensitively.
std::vector<std::string> PpdOptionKeywords(std::string_view ppd, std::string_view feature);

// Runs the replacements above over the data, each only when the driver's
// PPD offers its option for its feature: a value the driver has no option
// for leaves the stored option as it was.
void ApplyInstallerOptions(FeatureKeywordData& data, const InstallerOptions& options,
                           std::string_view ppd);

// The two registry values of the data, written in this order: the data
// before its length, so that a refused write never leaves a length that
// claims bytes which were not stored.
enum class KeywordValue { Data, Size };
using KeywordValueWriter =
    std::function<bool(KeywordValue value, const uint8_t* bytes, size_t size)>;

// Writes the data, then its length (32-bit, little-endian), and stops at
// the first refused write. True when both were written.
bool StoreFeatureKeywords(const FeatureKeywordData& data, const KeywordValueWriter& write);

} // namespace zd
