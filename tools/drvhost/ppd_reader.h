// Reads the parts of a PPD file that the emulated PostScript driver needs:
// the *OpenUI features with their options and translations, the default
// options, the installable-option group and the main keyword values.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace drvhost {

struct PpdOption {
    std::string keyword; // 8-bit option keyword
    std::u16string text; // translation, or the keyword when there is none
};

struct PpdFeature {
    std::string keyword;       // without the leading '*'
    std::u16string text;       // translation of the feature
    std::string uiType;        // PickOne, PickMany, Boolean
    std::string defaultOption; // keyword from *Default<keyword>
    std::string group;         // *OpenGroup name around the feature
    bool installable = false;  // inside the InstallableOptions group
    std::vector<PpdOption> options;

    // Index of the option with this keyword, or -1.
    int Find(std::string_view option) const;
    // Index of the default option; 0 when the default names no option.
    int DefaultIndex() const;
};

struct PpdAttribute {
    std::string keyword; // main keyword without '*'
    std::string option;  // option part (may be empty)
    std::string value;   // value with surrounding quotes removed
};

struct PpdFile {
    std::vector<PpdFeature> features;
    std::vector<PpdAttribute> attributes; // every other main keyword, in file order
    std::vector<std::string> warnings;    // lines that could not be understood

    const PpdFeature* Find(std::string_view keyword) const;
    // Value of the first attribute with this main keyword ("" when absent).
    std::string Attribute(std::string_view keyword) const;
};

// Limits that keep a hostile file from exhausting memory.
constexpr size_t kMaxPpdFeatures = 1024;
constexpr size_t kMaxPpdOptions = 1024;

PpdFile ParsePpd(std::string_view text);

// Translation strings are ISOLatin1 with <hex> substrings for other bytes.
std::u16string DecodePpdTranslation(std::string_view s);

} // namespace drvhost
