// The package checker: a printer maker's driver package (a folder with a
// printer INF and the files it copies) as the spooler and the plug-in see it
// once the INF has installed it.
#pragma once

#include "model_lint.h"

#include <string>
#include <vector>

namespace drvhost {

// `infOrFolder`: the INF, or a folder holding exactly one. Every model the
// INF offers is checked, its model files too (LintModel). A package that
// cannot be read at all is one error finding.
std::vector<LintFinding> LintPackage(const std::wstring& infOrFolder, HMODULE resources);

} // namespace drvhost
