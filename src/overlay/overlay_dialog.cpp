#include "overlay/overlay_dialog.h"

namespace zd {

// The overlay dialog is not built yet: the button changes nothing.
INT_PTR RunOverlayDialog(HWND, UiContext*) {
    return 0;
}

} // namespace zd
