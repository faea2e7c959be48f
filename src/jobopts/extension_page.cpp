// The extension page: two pictures of the resource library and a button
// that opens the model's support address. It has no settings of its own.
#include "jobopts/extension_page.h"

#include "core/driver_files.h"
#include "core/late_libraries.h"
#include "core/process_state.h"
#include "core/ui_context.h"
#include "ui/dialog_helpers.h"
#include "ui/dialog_plumbing.h"
#include "resources/resource.h"
#include "ui/bitmap_helpers.h"

#include <commctrl.h>
#include <prsht.h>

#include <string>

namespace zd {

namespace {

constexpr DWORD kAddressUnits = 522;

void DrawPicture(HWND page) {
    DrawDibWithFrame(page, Process().extensionModule, IDB_EXT_PICTURE, IDC_EXT_PICTURE);
}

BOOL OnInitDialog(HWND page, LPARAM lParam) {
    AttachPageState(page, lParam);
    DrawPicture(page);
    Process().sheetFlags |= kSheetPageInitialised;
    return FALSE;
}

// The frame control does not draw the picture itself: after the page's own
// painting (which covers it) it is drawn again, so it survives every repaint.
BOOL OnPaint(HWND page) {
    PAINTSTRUCT ps;
    if (BeginPaint(page, &ps))
        EndPaint(page, &ps);
    DrawPicture(page);
    return TRUE;
}

BOOL OnDrawItem(HWND page, const DRAWITEMSTRUCT* item) {
    if (!item)
        return FALSE;
    switch (item->CtlID) {
    case IDC_EXT_PICTURE:
        DrawPicture(page);
        return TRUE;
    case IDC_EXT_BUTTON_PICTURE:
        DrawTransparentBitmap(page, Process().extensionModule, IDC_EXT_BUTTON_PICTURE,
                              IDB_EXT_BUTTON_PICTURE);
        return TRUE;
    default:
        return FALSE;
    }
}

// The address is read again at every click: the model's file may change.
void OpenSupportAddress(HWND page) {
    HANDLE printer = PrinterOf(DialogState<UiContext>(page));
    if (!printer)
        return;
    std::wstring address = ReadModelText(printer, L"AskZedURL", kAddressUnits);
    // An empty text would make the shell open its current folder instead of nothing.
    if (address.empty())
        return;
    ShellOpen(page, address.c_str());
}

BOOL OnNotify(HWND page, const NMHDR* header) {
    if (header && header->code == UINT(PSN_SETACTIVE))
        DrawPicture(page);
    return FALSE; // the page accepts activation and has nothing to apply
}

} // namespace

INT_PTR CALLBACK ExtensionPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog(page, lParam);
    case WM_PAINT:
        return OnPaint(page);
    case WM_DRAWITEM:
        return OnDrawItem(page, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_ACTIVATE:
        DrawPicture(page);
        return FALSE;
    case WM_NOTIFY:
        return OnNotify(page, reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND:
        if (LOWORD(wParam) != IDC_EXT_OPEN_URL || HIWORD(wParam) != BN_CLICKED)
            return FALSE;
        OpenSupportAddress(page);
        return TRUE;
    case WM_HELP:
    case WM_CONTEXTMENU:
        return HandleContextHelp(msg, wParam, lParam);
    default:
        return FALSE;
    }
}

} // namespace zd
