#include "watermark/watermark_list_dialog.h"

namespace zd {

// The list dialog is not built yet: the button changes nothing.
INT_PTR RunWatermarkListDialog(HWND, UiContext*) {
    return 0;
}

} // namespace zd
