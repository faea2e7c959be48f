// The emulated PostScript driver's option trees, planned from a PPD before
// they become OPTITEM arrays: one item per *OpenUI feature plus the driver's
// built-in items that the plug-in looks for.
#pragma once

#include "ppd_reader.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace drvhost {

// Public item identifiers and item ids of the driver's built-in items.
namespace pub {
constexpr uint8_t Orientation = 1;
constexpr uint8_t Scale = 2;
constexpr uint8_t CopiesCollate = 3;
constexpr uint8_t PrintQuality = 5;
constexpr uint8_t Color = 6;
constexpr uint8_t Duplex = 7;
constexpr uint8_t FormName = 9;
constexpr uint8_t PagesPerSheet = 16;
} // namespace pub
constexpr uint32_t kOutputOptionItemId = 25; // the PostScript output option
constexpr uint32_t kMirrorNameId = 423;
constexpr uint32_t kNegativeNameId = 424;
constexpr uint32_t kInstallableRootNameId = 64798;

// Built-in items a host can leave out, to stand for printers without them.
enum BuiltIn : uint32_t {
    kOrientation = 1u << 0,
    kScale = 1u << 1,
    kCopies = 1u << 2,
    kPrintQuality = 1u << 3,
    kColor = 1u << 4,
    kDuplex = 1u << 5,
    kFormName = 1u << 6,
    kPagesPerSheet = 1u << 7,
    kOutputOption = 1u << 8,
    kMirror = 1u << 9,
    kNegative = 1u << 10,
    kInstallableRoot = 1u << 11,
};

enum class ItemKind { List, UpDown, Header };

struct PlanOption {
    std::string keyword;
    std::u16string name;
};

struct PlanItem {
    ItemKind kind = ItemKind::List;
    std::u16string name; // display name
    uint32_t nameId = 0; // non-zero: pName is this string identifier
    std::string keyword; // USERDATA keyword (PPD features only)
    std::string feature; // PPD feature the item answers for (DrvGetDriverSetting)
    uint8_t dmPubId = 0;
    uint32_t itemId = 0; // USERDATA dwItemID
    uint8_t level = 1;
    std::vector<PlanOption> options;
    int32_t sel = 0;   // option index, or the value of an up-down item
    int32_t lower = 0; // up-down bounds
    int32_t upper = 0;
    std::u16string unit; // up-down unit text (first OPTPARAM)
};

struct TreeOptions {
    uint32_t omit = 0; // BuiltIn bits
    // Initial option keyword per feature, overriding the PPD's defaults.
    std::map<std::string, std::string> selections;
};

// Features that the driver shows as built-in items rather than keyword items.
bool IsBuiltInFeature(std::string_view keyword);

std::vector<PlanItem> BuildDocumentPlan(const PpdFile& ppd, const TreeOptions& options);
// The installable options under their root item.
std::vector<PlanItem> BuildDevicePlan(const PpdFile& ppd, const TreeOptions& options);

// Public DEVMODE paper number (DMPAPER_*) of a PageSize keyword; 256 when unknown.
int16_t PaperNumberForKeyword(std::string_view keyword);

// The option keyword the item currently selects ("" for up-down items or a
// selection outside the options).
std::string SelectedKeyword(const PlanItem& item, int32_t sel);

} // namespace drvhost
