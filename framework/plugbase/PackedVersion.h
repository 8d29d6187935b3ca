#pragma once
#include <cstdint>
#include <string>

// Versions are packed major.minor.patch in 16, 8 and 8 bits.
inline uint32_t PackVersion(uint32_t major, uint32_t minor, uint32_t patch) {
  return (major << 16) | ((minor & 0xFF) << 8) | (patch & 0xFF);
}

// (major * 100 + minor) * 100 + patch, the form VST2 hosts show.
int32_t DecimalFromPackedVersion(uint32_t packed);
// A host's decimal vendor version (major * 10000 + minor * 100 + patch).
uint32_t PackedVersionFromDecimal(int32_t decimal);
// "v1.2.3".
std::string FormatVersionText(uint32_t packed);
