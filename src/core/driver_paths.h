// Pure rules on the driver's file names and paths.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zd {

enum class DriverFileKind { Other, Ini, Cap };

// By the last four units of the name: ".ini" or ".cap", any letter case.
DriverFileKind ClassifyDriverFile(std::u16string_view name);

// Splits a NUL-separated, double-NUL-ended list of at most `units` units into
// names (the list need not be terminated inside `units`). Names of
// `maxNameUnits` units or more are dropped whole, never cut.
std::vector<std::u16string> SplitDependentFiles(const char16_t* list, size_t units,
                                                size_t maxNameUnits);

// The folder of a file path: the text up to and including its last "\".
// Empty for a path without one (a bare name has no folder to load from).
std::u16string FolderOfPath(std::u16string_view path);

// Whether a name from a configuration file may be joined to a folder: a
// non-empty bare file name, without a path separator, a drive colon or
// "..", so that it can only name a file inside that folder.
bool IsBareFileName(std::u16string_view name);

// Whether a path names its file from a drive's or a server's root
// ("C:\..." or "\\server\..."), so that no search and no current
// directory takes part in finding it.
bool IsFullPath(std::u16string_view path);

// The extension resource library: the bare name `library` in the folder of
// the configuration file. Empty when the name is not bare, the
// configuration path has no folder, or the result would not fit in
// `maxUnits` units with its NUL.
std::u16string ExtensionLibraryPath(std::u16string_view configPath, std::u16string_view library,
                                    size_t maxUnits);

// The PPD file that goes with the configuration file: same directory and
// base name, extension "PPD". The extension starts at the first "." of the
// file name; a name without one gets ".PPD" appended.
std::u16string PpdPathFromConfigPath(std::u16string_view configPath);

} // namespace zd
