// The driver's dependent configuration files: the CapabilityFile (.cap) with
// the per-model section, and the OemConfigFile (.ini).
#pragma once

#include <windows.h>

#include <string>

namespace zd {

// Finds the .ini and .cap dependent files of the printer's driver. Clears and
// sets CapabilityFilePath; copies the OemConfigFile path into `oemConfigOut`
// (261 units). True when any .ini or .cap file was seen.
bool FindDriverFiles(HANDLE printer, WCHAR* oemConfigOut);

// Driver directory + "\3\" + fileName. `sizeBytes`: capacity in, byte length
// of the resulting text out (unchanged when the directory query fails). A
// name that is not a bare file name fails with an empty buffer.
bool BuildDriverFilePath(WCHAR* out, DWORD* sizeBytes, const WCHAR* fileName);

// Name of the printer's driver (driver information level 1); empty on failure.
std::wstring PrinterDriverName(HANDLE printer);

// Full path of the driver's data file, its PPD (driver information level
// 3); empty on failure.
std::wstring PrinterDriverDataFile(HANDLE printer);

// A PPD's bytes, at most 16 MB (its header and options stand well before
// that; a larger file's later options count as not offered); empty when the
// file cannot be read.
std::string ReadPpdText(const std::wstring& path);

// [Capability] <driver name> of the CapabilityFile, read into `units` units.
std::wstring FindModelSection(HANDLE printer, DWORD units = 128);

// A key of a named section of a capability file, read as the model keys are
// (the model-file checker reads files that belong to no printer).
int ReadSectionInt(const WCHAR* capPath, const std::wstring& section, const WCHAR* key,
                   int fallback);
std::wstring ReadSectionText(const WCHAR* capPath, const std::wstring& section, const WCHAR* key,
                             DWORD units);

// Integer key of the model section (`fallback` when absent).
int ReadModelInt(HANDLE printer, const WCHAR* key, int fallback = 0);

// Text key of the model section into a buffer of `units` units (default empty).
std::wstring ReadModelText(HANDLE printer, const WCHAR* key, DWORD units = 522);

// Text key of the model section, telling an absent key from an empty one
// (522 units; not kept: read where the difference matters).
bool ReadModelTextIfPresent(HANDLE printer, const WCHAR* key, std::wstring* out);
// Help set-up of CommonUIProp: OemConfigFilePath from the driver heap,
// FindDriverFiles, HelpFilePath. False when no configuration file was found.
bool SetUpHelp(HANDLE heap, HANDLE printer);

} // namespace zd
