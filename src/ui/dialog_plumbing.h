// The plumbing every page and dialog of the document sheet shares: the
// driver item behind a slot of the working record, the driver's services
// and DEVMODE as the sheet sees them, check boxes, the state pointer kept in
// the window data and the modal run. The rules of each dialog stay in its
// own unit; what they all need lives here once.
#pragma once

#include "core/byte_view.h"
#include "core/ui_context.h"

#include <windows.h>
#include <prsht.h>

#include <string>

namespace zd {

// The slot names a driver item (not 0xFFFF).
bool HasSlotItem(const UiContext* ctx, int slotIndex);

// The driver item of a slot, or null when the slot is empty or does not
// point into the tree's item array.
OPTITEM* SlotItem(const UiContext* ctx, int slotIndex);

// The item's current selection; 0 when the slot has no item.
uint32_t SlotItemSelection(const UiContext* ctx, int slotIndex);

// The driver object, printer and DEVMODE blocks: the page block is the
// host's; before a sheet exists the tree block holds the same objects.
OEMUIOBJ* DriverObject(const UiContext* ctx);
HANDLE PrinterOf(const UiContext* ctx);
DEVMODEW* PublicDevModeOf(const UiContext* ctx);
// The private block, only when its header claims the full record.
ByteView PrivateDevMode(const UiContext* ctx);

// The host marks the user as not allowed to change settings
// (DM_NOPERMISSION in the page block's flags): the pages are read-only.
bool NoPermission(const UiContext* ctx);

// Reports CPSUI_OK for a page of the plug-in through the sheet service;
// nothing for a page that was never added (null handle).
void ReportPageResult(const UiContext* ctx, HANDLE pageHandle);

// The option keyword that DrvGetDriverSetting answers for a feature; empty
// when the service fails or its answer is not terminated in the buffer.
std::string DriverSetting(const UiContext* ctx, const char* feature);
// The feature answers "True" (an installed option).
bool DriverSettingIsTrue(const UiContext* ctx, const char* feature);

bool IsBoxChecked(HWND dlg, int id);
void SetBoxChecked(HWND dlg, int id, bool checked);

// Checks button first + value of the radio group first..last; a value past
// the group checks none.
void CheckRadioOrNone(HWND dlg, int first, int last, uint32_t value);

// Shows a signed decimal number in a field.
void SetDecimalText(HWND dlg, int id, int64_t value);

// The dialog's state, kept in its user slot from WM_INITDIALOG on.
template <typename State> State* AttachDialogState(HWND dlg, LPARAM lParam) {
    SetWindowLongPtrW(dlg, DWLP_USER, lParam);
    return reinterpret_cast<State*>(lParam);
}
template <typename State> State* DialogState(HWND dlg) {
    return reinterpret_cast<State*>(GetWindowLongPtrW(dlg, DWLP_USER));
}

// A page of the document sheet: its working record is the lParam of the
// PROPSHEETPAGE that WM_INITDIALOG carries; kept like a dialog's state.
inline UiContext* AttachPageState(HWND page, LPARAM lParam) {
    const auto* psp = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
    return AttachDialogState<UiContext>(page, psp ? psp->lParam : 0);
}

// A modal dialog of the library's templates over `owner` with `state` as
// its WM_INITDIALOG parameter: the button id that closed it, -1 when the
// dialog could not be made.
INT_PTR RunModalDialog(HWND owner, WORD templateId, DLGPROC proc, void* state);

// Only 1 counts as confirmation: a dialog that could not be made returns -1.
inline bool DialogConfirmed(INT_PTR result) {
    return result == 1;
}

} // namespace zd
