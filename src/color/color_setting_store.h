// The colour setting store: named user colour settings with two hexadecimal
// data blocks each, read from an INI file beside the driver and carried to
// the printing side in the private DEVMODE.
#pragma once

#include "core/ui_context.h"

#include <windows.h>

#include <string>
#include <vector>

namespace zd {

constexpr uint32_t kColorSettingGamma = 0x100; // bit 8: the "Gamma" section
constexpr size_t kColorSettingPathUnits = 260;
// Setting ids are 8-bit: a section's positions beyond these name no other
// setting and are not read, whatever its SettingNum says.
constexpr int kMaxColorSettingPositions = 256;

struct ColorSettingEntry {
    std::wstring name;
    uint16_t itemValue; // id for "Color", id + 0x100 for "Gamma"
};

// Path of the model's store ("CCMInfoFile" of the model section) in `path`
// (`sizeBytes` bytes). False, with `path` untouched, when the model names none.
bool GetColorSettingFilePath(const OEMUIPSPARAM* documentParams, WCHAR* path, DWORD sizeBytes);

// The named settings of "Color", then of "Gamma", in file order; at most
// kMaxColorSettingPositions positions of each section are read.
std::vector<ColorSettingEntry> ListColorSettings(const WCHAR* path);

// Copies the sheet's colour-setting word into the private DEVMODE and, when
// a user setting is on, the setting's two data blocks with their counts.
void CommitColorSetting(UiContext& ctx);

// One line per offered setting of a store file.
std::wstring DescribeColorSettings(const WCHAR* path);

} // namespace zd
