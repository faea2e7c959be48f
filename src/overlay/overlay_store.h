// The overlay store of the configuration file: the list section with the
// form name history and one section per definition, each in a committed
// and a working ("_Sv") family.
#pragma once

#include "core/ui_context.h"
#include "overlay/overlay_record.h"

#include <windows.h>

#include <string>

namespace zd {

// The state kept in the sheet's selection slot 39.
inline uint32_t& OverlayStoreStateOf(UiContext& ctx) {
    return ctx.selections[slot::OverlayStoreState];
}

// Builds the list and the definitions from the file (working family in state
// Working, committed otherwise) and the document's overlay indexes; reading
// a committed definition moves the state to Working. Records of an earlier
// load are released first. False when memory ran out.
bool LoadOverlayStore(UiContext& ctx);

// Writes the list and every definition into the family of the state; 1.
int SaveOverlayStore(UiContext& ctx);

// Releases the definitions and the list.
void FreeOverlayStore(UiContext& ctx);

// Puts a form name at the head of the sheet's history.
void RememberFormName(UiContext& ctx, const WCHAR* name);

// One line for the list and one per committed definition of a file.
std::wstring DescribeOverlayStore(const WCHAR* configPath);

} // namespace zd
