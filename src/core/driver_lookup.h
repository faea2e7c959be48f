// The spooler's answer about a printer's driver: its name, its data file and
// its dependent files (driver information level 3).
//
// A plug-in object binds the printer handle its calls carry; the answer for
// that handle is then asked once and kept until the object goes. The driver
// keeps the handle open for as long as the object lives, so no other printer
// can be behind the same handle value meanwhile. Handles no live object has
// bound are asked every time: the system hands a closed handle's value out
// again for the next printer opened.
#pragma once

#include <windows.h>

#include <string>

namespace zd {

struct DriverAnswer {
    std::wstring name;     // the driver's name
    std::wstring dataFile; // full path of its data file, the PPD
    // The dependent-file list as the block held it (names ended by NUL, the
    // list by an empty name), cut at the block's end.
    std::u16string dependentFiles;
};

// The answer for `printer`; false (and `out` empty) when the spooler gave none.
bool AskDriver(HANDLE printer, DriverAnswer* out);

// `owner` holds `printer` open until ForgetPrinter(owner); a new handle of the
// same owner replaces its old one.
void BindPrinter(const void* owner, HANDLE printer);
void ForgetPrinter(const void* owner);

} // namespace zd
