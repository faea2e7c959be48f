// Installs a printer into the Wine prefix through the spooler API.
//   instprinter demo PRINTER            the demo model of samples/
//   instprinter PRINTER DRIVER PPD FILE...
#include "test_printer.h"

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    zdtest::PrinterSpec spec;
    if (argc == 3 && wcscmp(argv[1], L"demo") == 0) {
        spec = zdtest::DemoPrinterSpec(argv[2]);
    } else if (argc >= 4) {
        spec.printerName = argv[1];
        spec.driverName = argv[2];
        spec.dataFile = argv[3];
        for (int i = 4; i < argc; ++i)
            spec.dependentFiles.push_back(argv[i]);
    } else {
        std::fwprintf(stderr, L"usage: instprinter demo PRINTER | PRINTER DRIVER PPD FILE...\n");
        return 2;
    }
    std::wstring error;
    if (!zdtest::InstallPrinter(spec, &error)) {
        std::fwprintf(stderr, L"instprinter: %ls\n", error.c_str());
        return 1;
    }
    std::wprintf(L"installed printer \"%ls\" with driver \"%ls\"\n", spec.printerName.c_str(),
                 spec.driverName.c_str());
    return 0;
}
