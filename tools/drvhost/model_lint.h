// The model-file checker: reads a printer model's files as the plug-in reads
// them (its own readers, linked from the plug-in's units) and reports what
// the plug-in would ignore, cut or refuse, with file and line.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace drvhost {

enum class LintLevel { Note, Warning, Error };

struct LintFinding {
    LintLevel level;
    std::wstring file; // empty: the model as a whole
    int line = 0;      // 0: no line
    std::wstring message;
};

struct ModelFileSet {
    std::wstring cap, ini, ppd; // ppd may be empty
    std::wstring driverName;    // empty: every model of [Capability]
    std::wstring filesDir;      // where the bare file names lie, with a trailing "\"
};

// The files of an installed printer, found as the plug-in finds them.
bool ModelFilesOfPrinter(const std::wstring& printer, ModelFileSet* out, std::wstring* error);

// Every finding; `resources` is a zdui.dll for the store section names (null:
// their built-in names).
std::vector<LintFinding> LintModel(const ModelFileSet& files, HMODULE resources);

// 0 clean (notes only), 1 warnings, 2 errors.
int LintExitStatus(const std::vector<LintFinding>& findings);

// "file:line: error: message".
std::wstring FormatFinding(const LintFinding& f);

} // namespace drvhost
