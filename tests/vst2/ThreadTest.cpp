// Host threads meeting inside the module: creation from two threads at once,
// and an audio thread processing while another sets parameters and loads
// chunks. Natively these also run under ThreadSanitizer (scripts/sanitize).
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#include "tests/vst2/HostedEffect.h"

namespace {
TEST(Vst2Threads, TwoThreadsCreateCompleteIndependentInstances) {
  constexpr int kPerThread = 20;
  std::vector<std::unique_ptr<HostedEffect>> made[2];
  std::atomic<int> ready{0};
  auto create = [&](int t) {
    ready.fetch_add(1);
    while (ready.load() < 2) std::this_thread::yield();
    for (int i = 0; i < kPerThread; ++i) made[t].push_back(std::make_unique<HostedEffect>());
  };
  std::thread a(create, 0);
  std::thread b(create, 1);
  a.join();
  b.join();

  std::vector<void*> objects;
  for (auto& list : made) {
    for (auto& fx : list) {
      ASSERT_NE(fx->effect, nullptr);
      EXPECT_EQ(fx->effect->magic, kEffectMagic);
      EXPECT_EQ(fx->effect->numParams, 5);
      EXPECT_EQ(fx->effect->numPrograms, 1);
      EXPECT_EQ(fx->Text(effGetProgramNameIndexed, 0), "-");
      objects.push_back(fx->effect->object);
    }
  }
  for (size_t i = 0; i < objects.size(); ++i) {
    for (size_t j = i + 1; j < objects.size(); ++j) ASSERT_NE(objects[i], objects[j]);
  }
  // Each instance holds its own values.
  for (int t = 0; t < 2; ++t) {
    for (int i = 0; i < kPerThread; ++i) made[t][i]->SetParameter(0, (t * kPerThread + i) / 64.0f);
  }
  for (int t = 0; t < 2; ++t) {
    for (int i = 0; i < kPerThread; ++i) {
      EXPECT_FLOAT_EQ(made[t][i]->GetParameter(0), (t * kPerThread + i) / 64.0f);
    }
  }
}

std::vector<unsigned char> ProgramChunk(HostedEffect& fx) {
  void* data = nullptr;
  const VstIntPtr size = fx.Dispatch(effGetChunk, 1, 0, &data);
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  return size > 0 ? std::vector<unsigned char>(bytes, bytes + size) : std::vector<unsigned char>();
}

TEST(Vst2Threads, AudioRunsWhileAnotherThreadChangesParametersAndLoadsChunks) {
  HostedEffect fx;
  fx.Start(44100.0f, 256);
  std::vector<unsigned char> chunks[2];
  fx.SetParameter(1, 0.9f);
  chunks[0] = ProgramChunk(fx);
  fx.SetParameter(1, 0.1f);
  fx.SetParameter(4, 0.0f);
  chunks[1] = ProgramChunk(fx);
  ASSERT_FALSE(chunks[0].empty());
  ASSERT_FALSE(chunks[1].empty());

  std::atomic<bool> audioDone{false};
  std::atomic<int> controlRounds{0};
  bool finite = true;
  std::thread audio([&] {
    std::vector<float> inL(256), inR(256), outL(256), outR(256);
    for (int block = 0; block < 300; ++block) {
      for (int f = 0; f < 256; ++f) {
        inL[f] = static_cast<float>(std::sin(0.02 * (block * 256 + f)));
        inR[f] = -inL[f];
      }
      float* in[2] = {inL.data(), inR.data()};
      float* out[2] = {outL.data(), outR.data()};
      fx.effect->processReplacing(fx.effect, in, out, 256);
      for (int f = 0; f < 256; ++f) finite = finite && std::isfinite(outL[f]) && std::isfinite(outR[f]);
    }
    audioDone = true;
  });
  std::thread control([&] {
    char text[256];
    while (!audioDone.load()) {
      const int round = controlRounds.fetch_add(1);
      fx.SetParameter(round % 5, (round % 11) / 10.0f);
      std::vector<unsigned char>& chunk = chunks[round % 2];
      fx.Dispatch(effSetChunk, 1, static_cast<VstIntPtr>(chunk.size()), chunk.data());
      fx.GetParameter(round % 5);
      fx.Dispatch(effGetParamDisplay, round % 5, 0, text);
    }
  });
  audio.join();
  control.join();
  EXPECT_TRUE(finite);
  EXPECT_GT(controlRounds.load(), 0);

  // The last load wins whole: every parameter from the same chunk.
  EXPECT_EQ(fx.Dispatch(effSetChunk, 1, static_cast<VstIntPtr>(chunks[0].size()),
                        chunks[0].data()),
            1);
  EXPECT_EQ(ProgramChunk(fx), chunks[0]);
}
}  // namespace
