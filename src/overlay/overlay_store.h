// The overlay store of the configuration file: the list section with the
// form name history and one section per definition, each in a committed
// and a working ("_Sv") family.
#pragma once

#include "core/ui_context.h"
#include "overlay/overlay_editing.h"
#include "overlay/overlay_record.h"

#include <windows.h>

#include <string>

namespace zd {

// The state kept in the sheet's selection slot 39.
inline uint32_t& OverlayStoreStateOf(UiContext& ctx) {
    return ctx.selections[slot::OverlayStoreState];
}

// Builds the list and the definitions from the file and the document's
// overlay indexes; records of an earlier load are released first. In state
// Working the working family is read, otherwise the committed one; reading
// committed definitions moves to Working and first writes them into the
// working family (to Unmoved when that write fails). Users who may not write printer data read the
// committed family and stay in their state. False when memory ran out.
bool LoadOverlayStore(UiContext& ctx);

// The overlay dialog's opening: the file is read only when the sheet holds
// no records (its first opening, or after Apply released them); later
// openings start from the sheet's own records, which another sheet's
// writes or a failed save must not replace. The document's overlay indexes
// are taken either way. False when memory ran out.
bool OpenOverlayStore(UiContext& ctx);

// Writes the list and every definition into the family of the state; in
// state Unmoved into the working family, which then becomes the state.
// False at the first value that could not be written.
bool SaveOverlayStore(UiContext& ctx);

// Releases the definitions and the list.
void FreeOverlayStore(UiContext& ctx);

// SaveOverlayStore; a failure is told to the user in one message over
// `owner`, and the records stay as they are.
bool SaveOverlayStoreOrTell(HWND owner, UiContext& ctx);

// The sheet's records by value, for a dialog to edit; false without records.
bool CopyOverlayRecords(const UiContext& ctx, OverlayRecords& out);

// A confirmed dialog's records into the sheet's; false, with nothing
// changed, when memory ran out.
bool StoreOverlayRecords(UiContext& ctx, const OverlayRecords& in);

// Puts a form name at the head of the sheet's history.
void RememberFormName(UiContext& ctx, const WCHAR* name);

// One line for the list and one per committed definition of a file.
std::wstring DescribeOverlayStore(const WCHAR* configPath);

} // namespace zd
