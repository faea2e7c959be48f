// The plug-in's dialogs as a user opens them from the document sheet's
// pages: the screenshots and the caption check visit the same dialogs.
#pragma once

#include "drvhost_api.h"

#include <functional>
#include <string>
#include <vector>

namespace drvhost {

// Index of the plug-in's pages in the document sheet of the demo model
// (after the driver's three pages).
constexpr int kJobOptionsPageIndex = 3;
constexpr int kFinishingPageIndex = 4;
constexpr int kColorPageIndex = 5;

// Calls `visit` with a name ("dialog-advanced", ...) and the window of each
// dialog the plug-in opens from its pages, while the dialog is shown; each
// is cancelled afterwards. Returns how many could not be opened, each told
// in `problems`; a dialog whose button the model rightly leaves disabled is
// told there as skipped, with the reason, and is no failure.
int VisitPluginDialogs(HostSession& session,
                       const std::function<void(const std::wstring& name, HWND dialog)>& visit,
                       std::vector<std::wstring>* problems);

} // namespace drvhost
