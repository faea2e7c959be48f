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

// The directory of a file path as the sheet set-up derives it: find the first
// "." (scanning at most 260 units), go back to the nearest "\" before it and
// end the text just after it. Without a backslash before the first dot (or
// without a dot) the text is returned as it is.
std::u16string DirectoryBeforeFirstDot(std::u16string_view path);

// The PPD file that goes with the configuration file: same directory and
// base name, extension "PPD". The extension starts at the first "." of the
// file name; a name without one gets ".PPD" appended.
std::u16string PpdPathFromConfigPath(std::u16string_view configPath);

} // namespace zd
