// The printer maker's link that the Job Options and Color pages share: the
// logo button (10001) and, on the Job Options page, the link text (1392).
// Both open the model's `TabLinkName` address; the text is drawn blue in
// the underlined `LinkFont`, and the hand `LinkCursor` shows over them.
#pragma once

#include "core/ui_context.h"

#include <windows.h>

#include <string>

namespace zd {

// `TabLinkName` of the printer's model section (empty when absent).
std::wstring MakerLinkAddress(const UiContext* ctx);

// The system hand cursor, or the arrow when it cannot be loaded.
void LoadLinkCursor();

// The underlined "Verdana" font made from the sheet's font (the page's
// parent), or from the default GUI font when the sheet has none; made only
// when it does not exist. Null when it cannot be made.
HFONT EnsureLinkFont(HWND page);

// Deletes the link font; the next EnsureLinkFont makes it again.
void DeleteLinkFont();

// WM_CTLCOLORSTATIC of the link text: underlined blue text on a transparent
// background; answers the hollow brush.
INT_PTR ColorLinkText(HWND page, HDC dc);

// WM_SETCURSOR over a link control: the hand, when the model has an
// address. True when the cursor was set (the page then answers TRUE).
bool SetLinkCursor(const UiContext* ctx);

// WM_SETCURSOR of a page with the link: over the logo (and the link text,
// when the page has one) the hand is set and the page answers TRUE.
BOOL AnswerLinkCursor(HWND page, const UiContext* ctx, HWND over);

// Opens the address with the shell's default verb; nothing without one.
void OpenMakerLink(HWND page, const UiContext* ctx);

} // namespace zd
