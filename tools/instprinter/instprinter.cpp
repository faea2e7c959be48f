// Installs a printer into the Wine prefix through the spooler API.
//   instprinter demo PRINTER            the demo model of samples/, with its
//                                       colour swatch tool
//   instprinter PRINTER DRIVER PPD FILE...
#include "test_printer.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

// Copies swatch.exe into its own folder under Program Files and names that
// folder in the value "install" of the key that the demo model's
// SwatchRegPath gives.
bool RegisterSwatchTool(std::wstring* error) {
    const std::wstring cap = zdtest::SamplesDir() + L"\\zdcp95.cap";
    WCHAR section[128] = {}, keyPath[522] = {}, programs[MAX_PATH] = {};
    GetPrivateProfileStringW(L"Capability", zdtest::kDemoDriver, L"", section, 128, cap.c_str());
    GetPrivateProfileStringW(section, L"SwatchRegPath", L"", keyPath, 522, cap.c_str());
    if (!keyPath[0])
        return true; // the model has no swatch tool
    ExpandEnvironmentStringsW(L"%ProgramFiles%\\Zed", programs, MAX_PATH);
    CreateDirectoryW(programs, nullptr);
    const std::wstring folder = std::wstring(programs) + L"\\ColorSwatch";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring tool = folder + L"\\swatch.exe";
    if (!CopyFileW((zdtest::ExeDir() + L"\\swatch.exe").c_str(), tool.c_str(), FALSE)) {
        *error = L"cannot copy swatch.exe to " + tool;
        return false;
    }
    HKEY key = nullptr;
    LONG status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, 0, KEY_SET_VALUE,
                                  nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS) {
        status = RegSetValueExW(key, L"install", 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(folder.c_str()),
                                DWORD((folder.size() + 1) * sizeof(WCHAR)));
        RegCloseKey(key);
    }
    if (status != ERROR_SUCCESS) {
        *error = L"cannot register the swatch tool under HKLM\\" + std::wstring(keyPath);
        return false;
    }
    std::wprintf(L"colour swatch tool %ls (HKLM\\%ls)\n", tool.c_str(), keyPath);
    return true;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    zdtest::PrinterSpec spec;
    if (argc == 3 && wcscmp(argv[1], L"demo") == 0) {
        spec = zdtest::DemoPrinterSpec(argv[2]);
    } else if (argc >= 4) {
        spec.printerName = argv[1];
        spec.driverName = argv[2];
        spec.dataFile = argv[3];
        for (int i = 4; i < argc; ++i)
            spec.dependentFiles.push_back(argv[i]);
    } else {
        std::fwprintf(stderr, L"usage: instprinter demo PRINTER | PRINTER DRIVER PPD FILE...\n");
        return 2;
    }
    std::wstring error;
    if (!zdtest::InstallPrinter(spec, &error)) {
        std::fwprintf(stderr, L"instprinter: %ls\n", error.c_str());
        return 1;
    }
    std::wprintf(L"installed printer \"%ls\" with driver \"%ls\"\n", spec.printerName.c_str(),
                 spec.driverName.c_str());
    if (argc == 3 && !RegisterSwatchTool(&error)) {
        std::fwprintf(stderr, L"instprinter: %ls\n", error.c_str());
        return 1;
    }
    return 0;
}
