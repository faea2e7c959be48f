// The watermark edit dialog: text, size, angle, font, colour, frame and
// position of the working watermark, with a live preview. The list dialog
// copies the working copy into an entry only when this dialog is confirmed.
#pragma once

#include <windows.h>

namespace zd {

struct UiContext;

// Runs the dialog modally over `owner`, starting from the selected entry:
// 1 when confirmed, 2 after Cancel, -1 when it could not be made.
INT_PTR RunWatermarkEditDialog(HWND owner, UiContext* ctx);

} // namespace zd
