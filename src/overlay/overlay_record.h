// In-memory overlay definitions and the list of a sheet. Portable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zd {

constexpr size_t kOverlayTextUnits = 64;        // 63 characters + NUL
constexpr size_t kOverlayCustomPageUnits = 255; // 254 characters + NUL
constexpr uint16_t kMaxOverlayForms = 3;
constexpr uint16_t kMaxOverlayHistory = 10;
constexpr uint16_t kMaxCurrentOverlays = 4;
constexpr uint16_t kMaxDefinedOverlays = 32;

enum class PageMode : uint16_t { AllPages = 0, FirstPage, OddPages, EvenPages, CustomPages };

// Unmoved: definitions were read from the committed sections but could not
// yet be written to the working ones; the dialog's OK tries that again and
// never writes the committed sections itself.
enum OverlayStoreState : uint32_t { Initial = 0, Working = 1, Committed = 2, Unmoved = 3 };

struct OverlayList {
    uint16_t CurrentCount;
    uint16_t CurrentIndex[kMaxCurrentOverlays];
    uint16_t DefinedCount;
    uint16_t HistoryCount;
    char16_t History[kMaxOverlayHistory][kOverlayTextUnits];
};

struct OverlayDefinition {
    char16_t OverlayName[kOverlayTextUnits];
    uint16_t FormCount;
    char16_t FormName[kMaxOverlayForms][kOverlayTextUnits];
    uint16_t PageMode;
    char16_t CustomPage[kOverlayCustomPageUnits];
};

// Puts `name` at the head of the history: an entry equal to it (case
// included) moves to the front; a new name pushes the others down, the
// oldest falling out when all ten are used.
void RememberFormName(OverlayList& list, std::u16string_view name);

// The document's overlay index list (4 entries, 255 ends it) into
// CurrentIndex/CurrentCount; reset to 0, 1, ... when it names more overlays
// than are defined or an index that names no definition.
void TakeCurrentOverlays(OverlayList& list, const uint16_t (&documentIndexes)[4]);

} // namespace zd
