// The plug-in's own calls when the demo printer's document sheet opens in
// the emulated driver (run under Wine): DevMode, both CommonUIProp calls and
// DocumentPropertySheets, in milliseconds, for the first sheet of the
// process and on average over the sheets after it.
#include "drvhost_api.h"
#include "test_printer.h"

#include <cstdio>
#include <map>
#include <string>

namespace {

constexpr int kSheets = 20;
const char* const kRows[] = {"DevMode default", "DevMode merge", "CommonUIProp document count",
                             "CommonUIProp document items", "DocumentPropertySheets init"};

using Rows = std::map<std::string, double>;

// One sheet opened and cancelled: the time of each plug-in call.
bool OpenOnce(const std::wstring& printer, Rows* rows) {
    drvhost::HostSession session;
    std::wstring error;
    if (!session.OpenDocumentSheet(printer, &error)) {
        std::fprintf(stderr, "sheet bench: %ls\n", error.c_str());
        return false;
    }
    for (const drvhost::Timing& t : session.host().timings())
        for (const char* row : kRows)
            if (t.what == row)
                (*rows)[row] += t.ms;
    session.PressCancel();
    return true;
}

void Print(const char* title, const Rows& rows, int sheets) {
    double sum = 0;
    std::printf("%s\n", title);
    for (const char* row : kRows) {
        double ms = rows.count(row) ? rows.at(row) / sheets : 0;
        sum += ms;
        std::printf("  %9.3f ms  %s\n", ms, row);
    }
    std::printf("  %9.3f ms  together\n", sum);
}

} // namespace

int main() {
    const std::wstring printer = L"Zed Sheet Bench";
    std::wstring error;
    if (!zdtest::InstallPrinter(zdtest::DemoPrinterSpec(printer), &error)) {
        std::fprintf(stderr, "sheet bench: %ls\n", error.c_str());
        return 1;
    }
    Rows first, later;
    if (!OpenOnce(printer, &first))
        return 1;
    for (int i = 0; i < kSheets; ++i)
        if (!OpenOnce(printer, &later))
            return 1;
    Print("first sheet of the process:", first, 1);
    Print(("each of the next " + std::to_string(kSheets) + " sheets:").c_str(), later, kSheets);
    return 0;
}
