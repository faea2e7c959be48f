#include "core/devmode_record.h"

#include <algorithm>

namespace zd {

int CompressionLevelFromModelValue(int32_t compression) {
    int digit = (uint32_t(compression) >> 8) & 0xF;
    return std::min(3, (digit + 2) / 3);
}

static void WriteHeader(ByteView out) {
    out.set_u32(dm::kSize, kOemDevModeSize);
    out.set_u32(dm::kSignature, kOemSignature);
    out.set_u32(dm::kVersion, kOemDevModeVersion);
}

void ResetDevModeFields(ByteView out) {
    out.set_u32(dm::kValue12, 0);
    out.set_u16(dm::kJobName, 0);
    out.set_u16(dm::kJobPassword, 0);
    out.set_u32(dm::kAskJobName, 0);
    out.set_u32(dm::kWatermarkIndex, 0);
    out.set_u16(dm::kOverlays, dm::kNoOverlay);
    out.set_u16(dm::kColorWord, 0);
    out.set_u8(dm::kColorData1Count, 0);
    out.set_u8(dm::kColorData2Count, 0);
    out.set_u32(dm::kColorSetting, 0);
    out.set_u32(dm::kReserved604, 1);
    out.set_u8(dm::kPagesPerSheetSel, 0);
    out.set_u32(dm::kPaperSize, 0);
    out.set_u8(dm::kLayoutKey, 0);
    out.set_u8(dm::kOrientationSel, 0);
    out.set_u32(dm::kReserved3596, 0);
}

void DefaultDevMode(ByteView out, std::u16string_view capabilityPath, int compressionLevel) {
    if (!out.data())
        return;
    WriteHeader(out);
    ResetDevModeFields(out);
    out.set_text16(dm::kReservedText, dm::kReservedTextUnits, u"");
    out.set_text16(dm::kCapabilityPath, dm::kCapabilityPathUnits, capabilityPath);
    out.set_u16(dm::kCompressionLevel, uint16_t(compressionLevel));
}

void ConvertDevMode(ByteView in, ByteView out) {
    if (!in.data() || !out.data())
        return;
    const uint32_t outSignature = out.u32(dm::kSignature);
    const uint32_t outSize = out.u32(dm::kSize);
    ResetDevModeFields(out);
    if (in.size() >= 8 && in.u32(dm::kSignature) == outSignature) {
        // The declared sizes bound the copy, and so do the buffers themselves:
        // a block that claims more than it holds is never read or written past.
        size_t n = std::min<size_t>(in.u32(dm::kSize), outSize);
        n = std::min({n, in.size(), out.size(), size_t(kOemDevModeSize)});
        if (in.data() != out.data())
            std::memmove(out.data(), in.data(), n);
    } else {
        out.set_u32(dm::kSignature, kOemSignature);
        out.set_u32(dm::kForeignCleared, 0);
    }
    out.set_u32(dm::kVersion, kOemDevModeVersion);
    out.set_u32(dm::kSize, kOemDevModeSize);
}

void MergeDevMode(ByteView in, ByteView out) {
    if (!in.data() || !out.data())
        return;
    ConvertDevMode(in, out);
    WriteHeader(out);
    if (out.i32(dm::kValue12) > 100)
        out.set_u32(dm::kValue12, 0);
}

} // namespace zd
