// The overlay definition dialog opened by the overlay dialog's New and Edit.
#pragma once

#include "overlay/overlay_editing.h"

#include <windows.h>

namespace zd {

// Edits definition `index` of `records` modally over `owner`: the name, the
// pages it prints on and its forms. The definition changes only when the
// dialog is confirmed (1); the form-name history of `records` keeps the
// names added or renamed either way.
INT_PTR RunOverlayDefinitionDialog(HWND owner, OverlayRecords& records, uint16_t index);

} // namespace zd
