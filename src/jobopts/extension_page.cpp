// The extension page of the resource library. For now it only keeps the sheet's working record.
#include "jobopts/extension_page.h"

#include "core/ui_context.h"

namespace zd {

INT_PTR CALLBACK ExtensionPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG: {
        auto* psp = reinterpret_cast<PROPSHEETPAGEW*>(lParam);
        SetWindowLongPtrW(page, DWLP_USER, psp ? psp->lParam : 0);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

} // namespace zd
