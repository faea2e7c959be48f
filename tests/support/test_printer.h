// Installs test printers into the Wine prefix through the real spooler API.
#pragma once

#include <string>
#include <vector>

namespace zdtest {

struct PrinterSpec {
    std::wstring printerName;
    std::wstring driverName;
    // Full paths of the files to install; their bare names are what the
    // driver lists (they all land in the driver directory's "\3" folder,
    // shared by every driver, so variants need names of their own).
    std::wstring dataFile; // the PPD
    std::vector<std::wstring> dependentFiles;
};

// Copies the files into the driver directory, adds the driver (level 3,
// version 3) and the printer (port FILE:). Re-adding overwrites both.
// Tests running at the same time install the same stand-in driver files, so
// a failing step is retried for a while (a sharing violation passes after a
// moment). On failure returns false and describes the failing step in `error`.
bool InstallPrinter(const PrinterSpec& spec, std::wstring* error = nullptr);

// Folder of the running executable (zdui.dll lies beside the test programs).
std::wstring ExeDir();

// The repository's samples/ folder as a Windows path.
std::wstring SamplesDir();

// The driver directory's "\3" folder (where installed files land).
std::wstring DriverFilesDir();

// The demo printer: the model of samples/ with the driver "Zed CP9500 PS".
constexpr const wchar_t* kDemoDriver = L"Zed CP9500 PS";
PrinterSpec DemoPrinterSpec(const std::wstring& printerName);

// Writes `text` as a UTF-16LE file with a byte-order mark (INI files that
// the profile functions read as Unicode) or as UTF-8 when `utf16` is false.
bool WriteTextFile(const std::wstring& path, const std::wstring& text, bool utf16 = true);

// A fresh folder under %TEMP% for the files of one test.
std::wstring MakeTempDir(const std::wstring& tag);

} // namespace zdtest
