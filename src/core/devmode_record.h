// The plug-in's private DEVMODE block: a persisted 3604-byte little-endian
// record. Offsets are fixed forever; blocks written by one build are read
// by another.
#pragma once

#include "core/byte_view.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zd {

constexpr uint32_t kOemDevModeSize = 3604;
constexpr uint32_t kOemSignature = 0x32303030; // the bytes "0002"
constexpr uint32_t kOemDevModeVersion = 1;

namespace dm {
constexpr size_t kSize = 0;
constexpr size_t kSignature = 4;
constexpr size_t kVersion = 8;
constexpr size_t kValue12 = 12; // 0..100; first own document item
constexpr size_t kJobName = 16; // 17 UTF-16 units
constexpr size_t kJobNameUnits = 17;
constexpr size_t kJobPassword = 50; // 5 UTF-16 units
constexpr size_t kJobPasswordUnits = 5;
constexpr size_t kAskJobName = 60;
constexpr size_t kHeldJob = 64;        // held-job word of the job storage dialog (tagged)
constexpr size_t kWatermarkIndex = 68; // 0 none, 1..16
constexpr size_t kOverlays = 72;       // 4 x u16, 255 = unused
constexpr size_t kOverlayCount = 4;
constexpr uint16_t kNoOverlay = 255;
constexpr size_t kColorWord = 80;
constexpr size_t kForeignCleared = 84;
constexpr size_t kColorData1Count = 88;
constexpr size_t kColorData1 = 90;
constexpr size_t kColorData1Size = 253;
constexpr size_t kColorData2Count = 343; // unaligned
constexpr size_t kColorData2 = 345;
constexpr size_t kColorData2Size = 255;
constexpr size_t kColorSetting = 600;
constexpr size_t kReserved604 = 604;
constexpr size_t kWmSize = 608;
constexpr size_t kWmFontNumber = 612;
constexpr size_t kWmAngle = 616;
constexpr size_t kWmOffsetX = 620;
constexpr size_t kWmOffsetY = 624;
constexpr size_t kWmColor = 628;
constexpr size_t kWmPsFontName = 894; // 33 units
constexpr size_t kWmPsFontNameUnits = 33;
constexpr size_t kWmWeight = 960;
constexpr size_t kWmItalic = 964;
constexpr size_t kWmCharSet = 965;
constexpr size_t kWmPosition = 966;
constexpr size_t kWmFrame = 968;
constexpr size_t kWmBackground = 970;
constexpr size_t kWmFirstPageOnly = 972;
constexpr size_t kWmStyle = 974;
constexpr size_t kWmColorText = 976; // 16 bytes
constexpr size_t kWmColorTextSize = 16;
constexpr size_t kReservedText = 992; // 522 units
constexpr size_t kReservedTextUnits = 522;
constexpr size_t kCapabilityPath = 2036; // 261 units
constexpr size_t kCapabilityPathUnits = 261;
constexpr size_t kCompressionLevel = 2558;
constexpr size_t kPagesPerSheetSel = 2560;
constexpr size_t kPaperSize = 2564;
constexpr size_t kLayoutKey = 2568;
constexpr size_t kOrientationSel = 2569;
constexpr size_t kWmText = 2570; // 129 units
constexpr size_t kWmTextUnits = 129;
constexpr size_t kReserved3596 = 3596;
} // namespace dm

// Compression level 0..3 from the model's `Compression` value: its second
// hexadecimal digit mapped as (digit + 2) / 3; digits above 9 give 3.
int CompressionLevelFromModelValue(int32_t compression);

// Writes the reset values that DEFAULT, CONVERT and MERGE share.
void ResetDevModeFields(ByteView out);

// DEFAULT: header, reset values, empty reserved text, the CapabilityFile
// path and the compression level. `out` must hold kOemDevModeSize bytes.
void DefaultDevMode(ByteView out, std::u16string_view capabilityPath, int compressionLevel);

// CONVERT: `in` is the incoming block (its declared size bounds the copy
// together with the sizes of both views), `out` the outgoing block.
void ConvertDevMode(ByteView in, ByteView out);

// MERGE: CONVERT, then the header again and the range check of offset 12.
void MergeDevMode(ByteView in, ByteView out);

} // namespace zd
