#include <gtest/gtest.h>

#include "tools/torva-render/ParameterRamp.h"
#include "tools/torva-render/RenderError.h"

namespace {

struct RampCase {
  const char* text;
  int index;
  double at[6];        // times probed
  double expected[6];  // values there
};

TEST(ParameterRamp, PiecewiseLinearHeldAtBothEnds) {
  const RampCase cases[] = {
      {"mic=2@1,6@3", 0, {0.0, 1.0, 2.0, 2.5, 3.0, 9.0}, {2.0, 2.0, 4.0, 5.0, 6.0, 6.0}},
      {"size=7@0", 1, {0.0, 0.5, 1.0, 2.0, 3.0, 1e6}, {7, 7, 7, 7, 7, 7}},
      {"character=0@0,10@1,0@2", 2, {0.0, 0.25, 1.0, 1.5, 2.0, 2.5}, {0.0, 2.5, 10.0, 5.0, 0.0, 0.0}},
      // A jump: at its time and after it, the later value holds.
      {"output=5@0,5@1,0@1,0@2", 3, {0.0, 0.5, 0.999, 1.0, 1.5, 3.0}, {5, 5, 5, 0, 0, 0}},
      {"output=9@0,1@0", 3, {0.0, 0.5, 1.0, 2.0, 3.0, 4.0}, {1, 1, 1, 1, 1, 1}},
  };
  for (const RampCase& c : cases) {
    SCOPED_TRACE(c.text);
    const ParameterRamp ramp = ParameterRamp::Parse(c.text);
    EXPECT_EQ(ramp.ParamIndex(), c.index);
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(ramp.ValueAt(c.at[i]), c.expected[i], 1e-12) << c.at[i];
  }
}

TEST(ParameterRamp, MalformedTextIsBadInput) {
  for (const char* text : {"", "mic", "mic=", "=5@0", "mic=5", "mic=5@", "mic=@1", "mic=a@1",
                           "mic=5@1x", "mic=10.5@0", "mic=-1@0", "mic=5@-0.5", "mic=5@2,4@1",
                           "mic=5@0,", "mic=inf@0", "mic=5@nan", "Mic=5@0", "bypass=1@0"}) {
    EXPECT_THROW(ParameterRamp::Parse(text), BadInput) << text;
  }
}

}  // namespace
