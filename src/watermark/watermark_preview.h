// The watermark preview of the list and edit dialogs: a miniature page with
// the working watermark, composed off-screen and copied into control 1436.
#pragma once

#include "watermark/preview_geometry.h"

#include <windows.h>

namespace zd {

struct UiContext;

// What the preview shows for the sheet's working watermark and paper; the
// control's client size is filled in by the caller.
PreviewInput WatermarkPreviewInput(const UiContext& ctx);

// Draws the preview of the working copy into the dialog's control 1436.
void DrawWatermarkPreview(HWND dialog, const UiContext* ctx);

} // namespace zd
