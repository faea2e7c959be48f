// Process-wide state of the loaded library: one instance per process.
#pragma once

#include <windows.h>

namespace zd {

constexpr size_t kPathUnits = 264;
constexpr size_t kOemConfigPathUnits = 261;

struct ProcessState {
    HINSTANCE moduleInstance = nullptr;
    HMODULE extensionModule = nullptr;
    volatile LONG lockCount = 0;
    volatile LONG objectCount = 0;
    DWORD systemIsNt6OrLater = 0;
    DWORD winHelpAvailable = 1;
    DWORD printerDataWritable = 0;
    DWORD environmentChecked = 0;
    // Bit 1: the driver's option page has been shown; bit 2: a page of the
    // plug-in has been initialised.
    DWORD sheetFlags = 0;
    WCHAR capabilityFilePath[kPathUnits] = {};
    WCHAR* oemConfigFilePath = nullptr; // 261 units in the driver's heap
    WCHAR helpFilePath[kPathUnits] = {};
};

ProcessState& Process();

// Once per process: system version and WinHelp viewer version.
void EnsureEnvironmentChecked();

} // namespace zd
