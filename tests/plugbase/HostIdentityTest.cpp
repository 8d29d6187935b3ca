#include <gtest/gtest.h>

#include <string>

#include "framework/plugbase/HostIdentity.h"
#include "framework/plugbase/PackedVersion.h"

namespace {

TEST(HostIdentity, ProductNamesMapToCodes) {
  struct Case {
    const char* name;
    int32_t code;
  };
  const Case cases[] = {
      {"REAPER", 1},           {"Cubase Pro 10", 3},   {"Steinberg Nuendo", 4},
      {"Ableton Live 10", 9},  {"PreSonus Studio One", 26}, {"", 0},
      {"My Host", 0},          {"Nuendo and Cubase", 3}, {"Deliverance", 9},
      {"VST3PluginTestHost", 27}, {"Renoise", 29},      {"Standalone", 24},
      {nullptr, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IdentifyHost(c.name), c.code) << (c.name ? c.name : "(null)");
  }
}

TEST(HostIdentity, OverlongNamesAreCutBeforeTheLookup) {
  std::string name(255, 'x');
  EXPECT_EQ(IdentifyHost((name + "reaper").c_str()), 0);
  EXPECT_EQ(IdentifyHost((std::string(249, 'x') + "reaper").c_str()), 1);
}

TEST(PackedVersion, Conversions) {
  EXPECT_EQ(DecimalFromPackedVersion(0x00010000), 10000);
  EXPECT_EQ(DecimalFromPackedVersion(0x00010203), 10203);
  EXPECT_EQ(FormatVersionText(0x00010203), "v1.2.3");
  EXPECT_EQ(PackVersion(1, 2, 3), 0x00010203u);
  struct Case {
    int32_t decimal;
    uint32_t packed;
  };
  for (const Case& c : {Case{10000, 0x00010000}, Case{0, 0}, Case{5010, 0x0000320A}, Case{20304, 0x00020304}}) {
    EXPECT_EQ(PackedVersionFromDecimal(c.decimal), c.packed) << c.decimal;
  }
}

}  // namespace
