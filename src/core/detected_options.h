// Installed hardware read from an option data file, turned into the option
// indexes of the printer's installable-option items.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zd {

// Bit values of the "Installed" key.
namespace installed {
constexpr uint32_t kTray1 = 0x1;
constexpr uint32_t kTray2 = 0x2;
constexpr uint32_t kTray3 = 0x4;
constexpr uint32_t kTray4 = 0x8;
constexpr uint32_t kMultiPurposeFeeder = 0x10;
constexpr uint32_t kDuplex = 0x20;
constexpr uint32_t kFinisher = 0x40;
constexpr uint32_t kHardDisk = 0x80; // only the USB data file reports it here
} // namespace installed

// What a data file says (absent keys are 0).
struct OptionDataValues {
    uint32_t installed = 0;
    int32_t memory = 0; // in the unit of the memory options' names
    bool hardDisk = false;
    int32_t punchType = 0;
};

// Option index to select in each installable-option item.
struct DetectedOptions {
    uint32_t hardDisk = 1;
    uint32_t duplex = 1;
    uint32_t trays = 0;
    uint32_t memory = 0;
    uint32_t finisher = 0;
    uint32_t multiPurposeFeeder = 0;
    uint32_t punchUnit = 0;
};

// Highest tray bit set: 4..1, 0 without extra trays.
uint32_t TrayCount(uint32_t installedFlags);

// Decimal reading as the C library does it: leading blanks, an optional sign,
// then digits up to the first non-digit; saturates at the 32-bit limits.
int32_t ParseLeadingInt(std::u16string_view text);

// The USB data file's "RAM" text.
inline int32_t ParseUsbRamText(std::u16string_view text) {
    return ParseLeadingInt(text);
}

// Index of the first memory option whose name, without its last three units
// (" MB"), reads as `memory`; 0 when none does.
uint32_t MatchMemoryOption(int32_t memory, const std::vector<std::u16string>& optionNames);

DetectedOptions DetectOptions(const OptionDataValues& values,
                              const std::vector<std::u16string>& memoryOptionNames);

// Whether a printer on this port is asked through the USB library.
bool IsUsbPort(std::u16string_view portName);

} // namespace zd
