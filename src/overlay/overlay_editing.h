// What the overlay dialog and the overlay definition dialog decide without a
// window: which list buttons are usable, adding to and removing from the
// document's overlays, deleting definitions with the document's indexes
// renumbered, and the forms and page mode of one definition. Portable.
#pragma once

#include "overlay/overlay_record.h"

#include <cstdint>
#include <string_view>

namespace zd {

// A dialog's own copy of the sheet's overlay records: edited while the
// dialog is open and written back only when it is confirmed.
struct OverlayRecords {
    OverlayList list;
    OverlayDefinition definitions[kMaxDefinedOverlays];
};

// Selected items of a list view: bit n for item n.
using DefinedSelection = uint32_t;
using CurrentSelection = uint32_t;

struct OverlayButtonStates {
    bool add = false;    // selected definitions into the document's list
    bool remove = false; // selected entries out of the document's list
    bool create = false;
    bool edit = false;
    bool erase = false; // delete the selected definitions
};

OverlayButtonStates OverlayButtons(const OverlayList& list, DefinedSelection defined,
                                   CurrentSelection current);

// Appends the selected definitions in definition order. Refused (false,
// nothing changed) when the add button would be disabled: nothing selected,
// more than four in all, or a definition chosen already.
bool AddToCurrent(OverlayList& list, DefinedSelection defined);

// Drops the selected entries, keeping the order of the others.
bool RemoveFromCurrent(OverlayList& list, CurrentSelection current);

// Deletes the selected definitions and closes the gaps; the document's
// entries that named a deleted definition go, the others are lowered by the
// number of deleted definitions before them.
bool DeleteDefinitions(OverlayRecords& records, DefinedSelection defined);

// The document's overlay index list: the chosen overlays, then 255.
void DocumentOverlayIndexes(const OverlayList& list, uint16_t (&indexes)[kMaxCurrentOverlays]);

// Another of the first DefinedCount definitions (not `self`) has this name.
bool NameTaken(const OverlayRecords& records, uint16_t self, std::u16string_view name);

// The definition's forms include `text` (exact comparison).
bool FormListed(const OverlayDefinition& d, std::u16string_view text);
// Add: a text that is neither empty nor listed, and room for it.
bool CanAddOverlayForm(const OverlayDefinition& d, std::u16string_view text);
// Rename: a text that is neither empty nor listed, and a form selected.
bool CanRenameOverlayForm(const OverlayDefinition& d, std::u16string_view text, int selected);
bool AddOverlayForm(OverlayDefinition& d, std::u16string_view text);
bool RenameOverlayForm(OverlayDefinition& d, int selected, std::u16string_view text);
// Removes form `selected`; the later forms move up.
bool DeleteOverlayForm(OverlayDefinition& d, int selected);

// The page mode after the page list changed: custom pages while any page
// is listed, all pages when the list of custom pages became empty.
uint16_t PageModeAfterPageList(uint16_t mode, bool anyPageListed);

// A page mode as stored: values outside the known modes read as all pages.
uint16_t PageModeFromFile(int value);

} // namespace zd
