// The audio thread processes while a host thread uses the controller's
// parameter methods and moves the state in and out.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

#include "tests/vst3/PluginSession.h"

using namespace vst3;
using host::kHostBypassParamId;
using host::PluginSession;

namespace {

TEST(Vst3Threads, ProcessingAlongsideControllerAndState) {
  for (int size : {kSample32, kSample64}) {
    PluginSession s;
    ASSERT_TRUE(s.Ok());
    s.Prepare(2, size, 64);
    std::atomic<bool> audioDone{false};
    std::atomic<int> audioFailures{0};

    std::thread audio([&] {
      auto signal = host::TestSignal(2, 96);
      std::vector<std::vector<float>> in32, out32;
      for (auto& c : signal) in32.emplace_back(c.begin(), c.end());
      out32 = in32;
      auto in64 = signal, out64 = signal;
      for (int block = 0; block < 400; ++block) {
        host::ParamChanges changes;
        changes.Add(1, {{0, (block % 10) / 10.0}});
        changes.Add(kHostBypassParamId, {{0, (block % 7 == 0) ? 1.0 : 0.0}});
        const tresult r = size == kSample32 ? s.Process<float>(in32, out32, 96, &changes)
                                            : s.Process<double>(in64, out64, 96, &changes);
        if (r != kResultOk) ++audioFailures;
        for (int c = 0; c < 2; ++c) {
          const double v = size == kSample32 ? out32[c][95] : out64[c][95];
          if (!std::isfinite(v)) ++audioFailures;
        }
      }
      audioDone = true;
    });

    int controllerFailures = 0;
    int rounds = 0;
    while (!audioDone || rounds < 50) {
      const double n = (rounds % 11) / 10.0;
      if (s.controller->setParamNormalized(2, n) != kResultOk) ++controllerFailures;
      const double v = s.controller->getParamNormalized(1);
      if (!(v >= 0.0 && v <= 1.0)) ++controllerFailures;
      const double b = s.controller->getParamNormalized(kHostBypassParamId);
      if (b != 0.0 && b != 1.0) ++controllerFailures;
      if (s.ParamString(3, n).empty()) ++controllerFailures;
      host::MemoryStream stream;
      if (s.controller->getEditorState(&stream) != kResultOk || stream.bytes_.size() != 44) {
        ++controllerFailures;
      }
      stream.position_ = 0;
      if (s.controller->setEditorState(&stream) != kResultOk) ++controllerFailures;
      ++rounds;
    }
    audio.join();
    EXPECT_EQ(audioFailures, 0) << size;
    EXPECT_EQ(controllerFailures, 0) << size;
    // Parameter 1 holds a value some block's queue gave it (a state written
    // back by the host thread may carry an earlier one), never a torn one.
    const double tenths = s.controller->getParamNormalized(1) * 10.0;
    EXPECT_NEAR(tenths, std::round(tenths), 1e-9);
    EXPECT_GE(tenths, 0.0);
    EXPECT_LE(tenths, 9.0 + 1e-9);
  }
}

}  // namespace
