// What the watermark list and edit dialogs both show of the working set:
// each dialog holds some of the controls named here and the others are
// skipped.
#pragma once

#include <windows.h>

namespace zd {

struct UiContext;

// The list of entries, the selected entry's text, size, angle, flags,
// offsets, position preset and frame, then the preview.
void RefreshWatermarkControls(HWND dialog, UiContext* ctx);

// Delete and Edit are usable exactly while a stored watermark is selected.
void UpdateEditButtons(HWND dialog, const UiContext* ctx);

} // namespace zd
