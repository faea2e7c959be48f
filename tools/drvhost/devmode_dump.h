// Field-by-field description of the plug-in's private DEVMODE block, for
// `drvhost info` and `drvhost devmode FILE`.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace drvhost {

struct DecodedField {
    size_t offset = 0;
    size_t width = 0;
    std::string name;
    std::string value; // UTF-8; "(beyond the block)" when the block is too short
};

// Decodes the named fields of a block of `size` bytes; never reads past it.
std::vector<DecodedField> DecodeOemDevMode(const uint8_t* data, size_t size);

// The held-job word at offset 64: "normal", or the kind of held job and
// the job type option it was written for.
std::string HeldJobText(uint32_t word);

// One line per field: "offset  width  name  value".
std::string FormatFields(const std::vector<DecodedField>& fields);

} // namespace drvhost
