// Helpers shared by every page and dialog of the plug-in.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace zd {

// Control id -> help context pairs for WinHelp, ended by (0, 0).
extern const DWORD HelpIdTable[];

// Enables a control only when `flag` is set and it is enabled already: the
// flag can only take enabling away.
void LimitControlRange(HWND dlg, WORD first, WORD last, BOOL flag);

// Shows and enables (flag set) or hides and disables (flag clear).
void ShowControlRange(HWND dlg, WORD first, WORD last, BOOL flag);

// Destroys the controls; ids the dialog lacks are skipped.
void DestroyControlRange(HWND dlg, WORD first, WORD last);

// A text of the library's string table; `fallback` when the table lacks it
// (texts that must not vanish, such as the stores' section names).
std::wstring LibraryString(UINT id, std::wstring_view fallback = {});

// Message box with texts from the string table (caption id 0: default caption).
int ShowStringMessage(HWND owner, UINT textId, UINT captionId, UINT type);

// Tells the sheet that the page changed (enables Apply).
void NotifyPageChanged(HWND page);

// Once per process, visits the driver's option page (index 2) and comes
// back, so that the driver's tree page exists before the sheet is applied.
void ForceTreeVisit(HWND page);

// Keeps an edit field numeric and inside lowest..highest while typing.
// `savedText` is the caller's 12-unit buffer of the last accepted text.
UINT CheckNumberField(HWND dlg, UINT code, int id, int defaultValue, int lowest, int highest,
                      WCHAR* savedText, BOOL isSigned);

// WM_HELP / WM_CONTEXTMENU: WinHelp with HelpIdTable. Always FALSE.
BOOL HandleContextHelp(UINT msg, WPARAM wParam, LPARAM lParam);

// Question-mark title-bar button of modal dialogs: only before version 6.
void ApplyHelpButtonRule(HWND dlg);

} // namespace zd
