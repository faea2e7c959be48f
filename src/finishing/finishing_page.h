// The Finishing page of the document sheet: collate, output bin, binding
// position, staples, punched holes, image smoothing and trapping, with a
// picture of the sheet.
#pragma once

#include "core/ui_context.h"

#include <windows.h>

namespace zd {

INT_PTR CALLBACK FinishingPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);

// The reconciliation the Job Options and Finishing pages run when they are
// made: output bins 2 and 3 need the finisher; staple, punch and binding
// position return to their defaults when the paper or the layout changed
// since the document last saw them (remembered in the private block), then
// follow the paper's size class and the punch unit.
void ReconcileFinishingSelections(UiContext* ctx);

// The finishing and image selections as Defaults leaves them, on this page
// and on the Job Options page alike.
void ResetFinishingDefaults(UiContext* ctx);

} // namespace zd
