// Drop-down lists of the Color page and its dialogs that show the options
// of one of the driver's items: an entry's position is the option index.
#pragma once

#include "core/ui_context.h"

#include <windows.h>

#include <optional>

namespace zd {

// Number of options of the driver item behind a slot; 0 without the item.
uint32_t OptionCount(const UiContext* ctx, int slotIndex);

// Fills list `listId` with the option names of the slot's driver item, in
// option order (a name the driver gives as a resource number shows empty).
// Without the item (absent slot, an index past the driver's items, no
// options) the list stays empty and disabled. True when filled.
bool FillOptionList(HWND dlg, int listId, const UiContext* ctx, int slotIndex);

// Selects the entry of option `selection`; none when no entry has it.
void SelectOptionEntry(HWND dlg, int listId, uint32_t selection);

// The option the list's chosen entry names: nothing when no entry is chosen
// or the entry lies beyond the item's options, so that neither is ever
// stored as a selection.
std::optional<uint32_t> ChosenOption(HWND dlg, int listId, const UiContext* ctx, int slotIndex);

// Makes `option` the slot's working selection when the slot's driver item
// has that option; otherwise the selection keeps its value. True when stored.
bool StoreOption(UiContext* ctx, int slotIndex, uint32_t option);

} // namespace zd
