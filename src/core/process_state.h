// Process-wide state of the loaded library: one instance per process.
#pragma once

#include <windows.h>

namespace zd {

constexpr size_t kPathUnits = 264;
constexpr size_t kOemConfigPathUnits = 261;

// ProcessState::sheetFlags
constexpr DWORD kSheetTreePageShown = 1;   // no forced visit of the tree page is needed
constexpr DWORD kSheetPageInitialised = 2; // a page of the plug-in has been initialised

struct ProcessState {
    HINSTANCE moduleInstance = nullptr;
    HMODULE extensionModule = nullptr;
    volatile LONG lockCount = 0;
    volatile LONG objectCount = 0;
    DWORD systemIsNt6OrLater = 0;
    DWORD winHelpAvailable = 1;
    DWORD printerDataWritable = 0;
    DWORD environmentChecked = 0;
    DWORD sheetFlags = 0; // kSheet* bits
    // The maker link's underlined font and hand cursor, shared by the Job
    // Options and Color pages: the font is deleted whenever either page is
    // left, applied or cancelled and made again when next needed.
    HFONT linkFont = nullptr;
    HCURSOR linkCursor = nullptr;
    WCHAR capabilityFilePath[kPathUnits] = {};
    WCHAR* oemConfigFilePath = nullptr; // 261 units in the driver's heap
    WCHAR helpFilePath[kPathUnits] = {};
};

ProcessState& Process();

// Once per process: system version and WinHelp viewer version.
void EnsureEnvironmentChecked();

} // namespace zd
