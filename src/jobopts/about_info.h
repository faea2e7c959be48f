// Texts of the About dialog taken from the driver's files: the PPD file's
// version and copyright lines and the version of the driver's version file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zd {

// From the PPD file's bytes: in the first line holding "FileVersion" and a
// double quote, what follows that quote up to the next one or the line end.
// Each byte becomes one UTF-16 unit; at most 256 units.
std::u16string PpdFileVersion(std::string_view ppd);

// From the first line holding "Copyright" and a space: everything after the
// first space up to the line end; at most 256 units.
std::u16string PpdCopyright(std::string_view ppd);

// From the "DriverVer" value (date, comma, version): what follows the first
// comma within the first 32 units, up to a double quote or the end, at most
// 32 units. Empty without such a comma.
std::u16string DriverVersionFromDriverVer(std::u16string_view value);

// The driver's version file among its dependent files: the last one whose
// name ends in ".ver" in any letter case; empty when there is none.
std::u16string FindVersionFile(const std::vector<std::u16string>& dependentFiles);

} // namespace zd
