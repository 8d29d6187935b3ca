#include "framework/plugbase/PackedVersion.h"

#include <cstdio>

int32_t DecimalFromPackedVersion(uint32_t packed) {
  uint32_t major = packed >> 16;
  uint32_t minor = (packed >> 8) & 0xFF;
  uint32_t patch = packed & 0xFF;
  return static_cast<int32_t>((major * 100 + minor) * 100 + patch);
}

uint32_t PackedVersionFromDecimal(int32_t v) {
  int32_t major = v / 10000;
  int32_t minor = (v % 10000) / 100;
  int32_t patch = v % 100;
  return static_cast<uint32_t>(major) * 65536u + static_cast<uint32_t>(minor) * 256u +
         static_cast<uint32_t>(patch);
}

std::string FormatVersionText(uint32_t packed) {
  char text[40];
  std::snprintf(text, sizeof text, "v%d.%d.%d", static_cast<int>(packed >> 16),
                static_cast<int>((packed >> 8) & 0xFF), static_cast<int>(packed & 0xFF));
  return text;
}
