// The Others dialog of the Color page: always use the printer's halftone
// screen, black overprint, optimised greyscale graphics and separation
// printing. The controls are the working state; the sheet's working
// selections change only when the dialog is confirmed.
#pragma once

#include <windows.h>

namespace zd {

struct UiContext;

// Runs the dialog modally over `owner`. 1 when confirmed, 0 when cancelled
// or closed (-1 when the dialog could not be made).
INT_PTR RunOthersDialog(HWND owner, UiContext* ctx);

INT_PTR CALLBACK OthersDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);

// Shows the controls of the features the printer offers and sets them from
// the working selections.
void InitOthers(HWND dlg, UiContext* ctx);

// Writes the controls of the offered features into the working selections.
void StoreOthers(HWND dlg, UiContext* ctx);

} // namespace zd
