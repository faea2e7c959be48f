// Functions of the shell and common-dialog libraries, which only a button
// click needs: the libraries are loaded from the system folder by full path
// on first use, not with the plug-in, so that opening a printer's sheet or
// the spooler's printer events do not pay for them.
#pragma once

#include <windows.h>
#include <commdlg.h>

namespace zd {

// The shell's open verb on a file, folder or address; false when the shell
// is not there or refuses.
bool ShellOpen(HWND owner, const wchar_t* target);

// The user's application-data folder (8-bit, MAX_PATH units); false when it
// cannot be had.
bool AppDataFolderA(char* path);

// The system colour picker; false when cancelled or not available.
bool PickColor(CHOOSECOLORW* choice);

// Lets go of the libraries loaded here (library unload, not process end).
void ReleaseLateLibraries();

} // namespace zd
