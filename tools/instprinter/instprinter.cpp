// Installs a printer through the spooler API.
//   instprinter --inf INF MODEL PRINTER  the model as a printer INF describes
//                                        it (the demo's way)
//   instprinter demo PRINTER             the demo model of samples/
//   instprinter PRINTER DRIVER PPD FILE...
// The demo model's colour swatch tool is registered too when swatch.exe lies
// beside this program.
#include "driver_inf.h"
#include "test_printer.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

// Copies swatch.exe into its own folder under Program Files and names that
// folder in the value "install" of the key that the demo model's
// SwatchRegPath gives.
bool RegisterSwatchTool(const std::wstring& cap, const std::wstring& driver, std::wstring* error) {
    const std::wstring source = zdtest::ExeDir() + L"\\swatch.exe";
    if (GetFileAttributesW(source.c_str()) == INVALID_FILE_ATTRIBUTES)
        return true; // not the project's own build: no tool to register
    WCHAR section[128] = {}, keyPath[522] = {}, programs[MAX_PATH] = {};
    GetPrivateProfileStringW(L"Capability", driver.c_str(), L"", section, 128, cap.c_str());
    GetPrivateProfileStringW(section, L"SwatchRegPath", L"", keyPath, 522, cap.c_str());
    if (!keyPath[0])
        return true; // the model has no swatch tool
    ExpandEnvironmentStringsW(L"%ProgramFiles%\\Zed", programs, MAX_PATH);
    CreateDirectoryW(programs, nullptr);
    const std::wstring folder = std::wstring(programs) + L"\\ColorSwatch";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring tool = folder + L"\\swatch.exe";
    if (!CopyFileW(source.c_str(), tool.c_str(), FALSE)) {
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

// The printer spec of one model of a printer INF: its files from the INF's
// folder, the PPD as data file, every other copied file as dependent file.
bool SpecFromInf(const std::wstring& infPath, const std::wstring& model, zdtest::PrinterSpec* spec,
                 std::wstring* cap, std::wstring* error) {
    drvhost::DriverInf inf;
    if (!drvhost::ReadDriverInf(infPath, &inf, error))
        return false;
    const drvhost::InfModel* m = drvhost::FindInfModel(inf, model);
    if (!m) {
        *error = L"the INF offers no model \"" + model + L"\"";
        return false;
    }
    if (m->dataFile.empty()) {
        *error = L"the install section [" + m->installSection + L"] names no DataFile";
        return false;
    }
    spec->driverName = m->name;
    spec->dataFile = inf.folder + m->dataFile;
    for (const std::wstring& f : drvhost::DependentFiles(*m)) {
        spec->dependentFiles.push_back(inf.folder + f);
        if (f.size() > 4 && _wcsicmp(f.c_str() + f.size() - 4, L".cap") == 0)
            *cap = inf.folder + f;
    }
    return true;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    zdtest::PrinterSpec spec;
    std::wstring error;
    std::wstring cap = zdtest::SamplesDir() + L"\\zdcp95.cap";
    if (argc == 5 && wcscmp(argv[1], L"--inf") == 0) {
        spec.printerName = argv[4];
        if (!SpecFromInf(argv[2], argv[3], &spec, &cap, &error)) {
            std::fwprintf(stderr, L"instprinter: %ls\n", error.c_str());
            return 1;
        }
    } else if (argc == 3 && wcscmp(argv[1], L"demo") == 0) {
        spec = zdtest::DemoPrinterSpec(argv[2]);
    } else if (argc >= 4) {
        spec.printerName = argv[1];
        spec.driverName = argv[2];
        spec.dataFile = argv[3];
        for (int i = 4; i < argc; ++i)
            spec.dependentFiles.push_back(argv[i]);
    } else {
        std::fwprintf(stderr, L"usage: instprinter --inf INF MODEL PRINTER | demo PRINTER |\n"
                              L"                   PRINTER DRIVER PPD FILE...\n");
        return 2;
    }
    if (!zdtest::InstallPrinter(spec, &error)) {
        std::fwprintf(stderr, L"instprinter: %ls\n", error.c_str());
        return 1;
    }
    std::wprintf(L"installed printer \"%ls\" with driver \"%ls\"\n", spec.printerName.c_str(),
                 spec.driverName.c_str());
    if (!RegisterSwatchTool(cap, spec.driverName, &error)) {
        std::fwprintf(stderr, L"instprinter: %ls\n", error.c_str());
        return 1;
    }
    return 0;
}
