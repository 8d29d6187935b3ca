// Audio and parameter queues through process(), compared with the effect run
// in-process on the host-less binding.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "framework/offline/IFxOffline.h"
#include "tests/vst3/PluginSession.h"

using namespace vst3;
using host::kHostBypassParamId;
using host::kProgramSelectParamId;
using host::PluginSession;

namespace {

template <class Sample>
std::vector<std::vector<Sample>> Convert(const std::vector<std::vector<double>>& s) {
  std::vector<std::vector<Sample>> out;
  for (const auto& c : s) out.emplace_back(c.begin(), c.end());
  return out;
}

struct Change {
  int call;
  ParamID id;
  double value;
};

struct CompareRow {
  const char* what;
  int sampleSize;
  int channels;
  int maxBlock;
  std::vector<int> calls;  // frames per process call
  std::vector<Change> changes;
};

// Runs the same calls through the module and through the effect in-process
// and returns the largest sample difference.
template <class Sample>
double MaxDifference(const CompareRow& row) {
  PluginSession s;
  if (!s.Ok()) return 1e9;
  s.Prepare(row.channels, row.sampleSize, row.maxBlock);
  std::unique_ptr<IFxOffline> ref(CreatePluginInstance(nullptr));
  if (!ref->Prepare(44100.0, row.maxBlock, row.channels)) return 1e9;

  ProcessContext context{};
  context.sampleRate = 44100.0;
  context.tempo = 120.0;
  context.timeSigNumerator = 4;
  context.timeSigDenominator = 4;
  context.state = kPlaying | kTempoValid | kTimeSigValid;
  double worst = 0.0;
  int position = 0;
  for (size_t call = 0; call < row.calls.size(); ++call) {
    const int frames = row.calls[call];
    host::ParamChanges changes;
    for (const Change& c : row.changes) {
      if (c.call != static_cast<int>(call)) continue;
      changes.Add(c.id, {{0, 0.0}, {frames > 0 ? frames - 1 : 0, c.value}});
      if (c.id < 5) ref->SetNormalizedValue(static_cast<int>(c.id), c.value);
    }
    const auto signal = host::TestSignal(row.channels, frames + position);
    std::vector<std::vector<double>> slice;
    for (const auto& ch : signal) slice.emplace_back(ch.begin() + position, ch.end());
    auto in = Convert<Sample>(slice);
    auto out = Convert<Sample>(slice);
    for (auto& ch : out) std::fill(ch.begin(), ch.end(), Sample(9));
    context.projectTimeSamples = position;
    EXPECT_EQ(s.Process<Sample>(in, out, frames, &changes, &context), kResultOk);

    auto refIn = Convert<Sample>(slice);
    auto refOut = refIn;
    std::vector<Sample*> ri, ro;
    for (auto& ch : refIn) ri.push_back(ch.data());
    for (auto& ch : refOut) ro.push_back(ch.data());
    EXPECT_TRUE(ref->Process(ri.data(), ro.data(), frames));
    for (int c = 0; c < row.channels; ++c) {
      for (int f = 0; f < frames; ++f) {
        worst = std::max(worst, std::fabs(static_cast<double>(out[c][f]) - refOut[c][f]));
      }
    }
    position += frames;
  }
  return worst;
}


// A stereo input and output bus over the channel arrays of the block's
// sample size.
void PointStereoBuses(int32 size, float** ins32, float** outs32, double** ins64, double** outs64,
                      AudioBusBuffers& inBus, AudioBusBuffers& outBus) {
  inBus.numChannels = outBus.numChannels = 2;
  if (size == kSample32) {
    inBus.channelBuffers32 = ins32;
    outBus.channelBuffers32 = outs32;
  } else {
    inBus.channelBuffers64 = ins64;
    outBus.channelBuffers64 = outs64;
  }
}

TEST(Vst3Process, AudioMatchesTheEffectRunInProcess) {
  const std::vector<Change> automation = {
      {0, 1, 0.9}, {0, 0, 0.3}, {2, 3, 0.8}, {3, 2, 0.1}, {4, 0, 0.75}};
  const CompareRow rows[] = {
      {"32-bit stereo", kSample32, 2, 256, {100, 256, 256, 0, 77}, automation},
      {"64-bit stereo", kSample64, 2, 256, {100, 256, 256, 0, 77}, automation},
      {"32-bit mono", kSample32, 1, 128, {128, 128, 50, 0, 128}, automation},
      {"64-bit mono", kSample64, 1, 128, {128, 128, 50, 0, 128}, automation},
      // More frames than announced: processed in block-size slices.
      {"32-bit long calls", kSample32, 2, 64, {1000, 65, 64, 0, 300}, automation},
      {"64-bit long calls", kSample64, 2, 64, {1000, 65, 64, 0, 300}, automation},
  };
  for (const CompareRow& row : rows) {
    const double worst = row.sampleSize == kSample32 ? MaxDifference<float>(row)
                                                     : MaxDifference<double>(row);
    EXPECT_EQ(worst, 0.0) << row.what;
  }
}

TEST(Vst3Process, EffectChangesTheSignal) {
  // Guards the comparison above against two silent or pass-through paths.
  PluginSession s;
  ASSERT_TRUE(s.Ok());
  s.Prepare(2, kSample64, 512);
  auto in = host::TestSignal(2, 512);
  auto out = in;
  ASSERT_EQ(s.Process<double>(in, out, 512), kResultOk);
  double difference = 0.0, energy = 0.0;
  for (int f = 0; f < 512; ++f) {
    difference += std::fabs(out[0][f] - in[0][f]);
    energy += std::fabs(out[0][f]);
  }
  EXPECT_GT(difference, 1.0);
  EXPECT_GT(energy, 1.0);
}

TEST(Vst3Process, HostBypassCopiesInputToOutput) {
  for (int size : {kSample32, kSample64}) {
    PluginSession s;
    ASSERT_TRUE(s.Ok());
    s.Prepare(2, size, 64);
    host::ParamChanges bypass;
    bypass.Add(kHostBypassParamId, {{0, 0.7}});
    const auto signal = host::TestSignal(2, 300);
    if (size == kSample32) {
      auto in = Convert<float>(signal), out = in;
      for (auto& ch : out) std::fill(ch.begin(), ch.end(), 9.0f);
      ASSERT_EQ(s.Process<float>(in, out, 300, &bypass), kResultOk);
      EXPECT_EQ(out, in);
    } else {
      auto in = signal, out = signal;
      for (auto& ch : out) std::fill(ch.begin(), ch.end(), 9.0);
      ASSERT_EQ(s.Process<double>(in, out, 300, &bypass), kResultOk);
      EXPECT_EQ(out, in);
    }
    EXPECT_EQ(s.controller->getParamNormalized(kHostBypassParamId), 1.0) << size;
    ProcessSetup setup{kRealtime, size, 64, 44100.0};
    ASSERT_EQ(s.processor->setupProcessing(setup), kResultOk);
    EXPECT_EQ(s.controller->getParamNormalized(kHostBypassParamId), 0.0) << size;
  }
}

TEST(Vst3Process, ParameterQueuesUseTheirLastPoint) {
  struct Row {
    const char* what;
    ParamID id;
    std::vector<std::pair<int32, double>> points;
    ParamID readId;
    double expected;
  } rows[] = {
      {"last point counts", 1, {{0, 0.2}, {40, 0.9}}, 1, 0.9},
      {"integer snaps down", 4, {{0, 0.4}}, 4, 0.0},
      {"integer snaps up", 4, {{0, 0.5}}, 4, 1.0},
      {"host bypass on", kHostBypassParamId, {{0, 0.7}}, kHostBypassParamId, 1.0},
      {"host bypass off", kHostBypassParamId, {{0, 0.5}}, kHostBypassParamId, 0.0},
      {"empty queue ignored", 1, {}, 1, 0.5},
      {"unknown id ignored", 5, {{0, 0.1}}, 1, 0.5},
      // Preset value 1.0 names no preset: the edited value stays.
      {"preset 1.0 changes nothing", kProgramSelectParamId, {{0, 1.0}}, 2, 0.25},
      {"preset 0 restores preset 0", kProgramSelectParamId, {{0, 0.0}}, 2, 0.5},
      {"preset -0.5 truncates to 0", kProgramSelectParamId, {{0, -0.5}}, 2, 0.5},
  };
  for (const Row& r : rows) {
    PluginSession s;
    ASSERT_TRUE(s.Ok());
    s.Prepare(2, kSample32, 128);
    ASSERT_EQ(s.controller->setParamNormalized(2, 0.25), kResultOk);
    host::ParamChanges changes;
    changes.Add(r.id, r.points);
    auto in = Convert<float>(host::TestSignal(2, 128)), out = in;
    ASSERT_EQ(s.Process<float>(in, out, 128, &changes), kResultOk) << r.what;
    EXPECT_DOUBLE_EQ(s.controller->getParamNormalized(r.readId), r.expected) << r.what;
  }
}

TEST(Vst3Process, InactiveOutputBusLeavesHostBuffersAlone) {
  PluginSession s;
  ASSERT_TRUE(s.Ok());
  s.Prepare(2, kSample32, 128);
  ASSERT_EQ(s.component->activateBus(kAudio, kOutput, 0, 0), kResultOk);
  auto in = Convert<float>(host::TestSignal(2, 128)), out = in;
  for (auto& ch : out) std::fill(ch.begin(), ch.end(), 7.0f);
  ASSERT_EQ(s.Process<float>(in, out, 128), kResultOk);
  for (auto& ch : out) EXPECT_EQ(ch, std::vector<float>(128, 7.0f));
  // Reactivated, the bus receives audio again.
  ASSERT_EQ(s.component->activateBus(kAudio, kOutput, 0, 1), kResultOk);
  ASSERT_EQ(s.Process<float>(in, out, 128), kResultOk);
  EXPECT_NE(out[0], std::vector<float>(128, 7.0f));
}

// Hosts that send broken bus data get silence or scratch audio, never a
// crash, and every host buffer that does exist is written in full.
TEST(Vst3Process, BrokenBusDataNeverCrashes) {
  enum Fault { kNullInputs, kNullOutputs, kNullChannelArrays, kNullInputChannel,
               kNullOutputChannel, kNoBuses, kNegativeFrames, kManyChannels,
               kOtherSampleSize };
  struct Row {
    const char* what;
    Fault fault;
  } rows[] = {
      {"null input bus array", kNullInputs},
      {"null output bus array", kNullOutputs},
      {"null channel arrays", kNullChannelArrays},
      {"null input channel", kNullInputChannel},
      {"null output channel", kNullOutputChannel},
      {"no buses", kNoBuses},
      {"negative frame count", kNegativeFrames},
      {"more channels than the effect has", kManyChannels},
      // Buffers of the other type must not be read as the set-up's type.
      {"sample size other than the set-up's", kOtherSampleSize},
  };
  for (int size : {kSample32, kSample64}) {
    for (const Row& r : rows) {
      PluginSession s;
      ASSERT_TRUE(s.Ok());
      s.Prepare(2, size, 64);
      const int frames = 200;  // above the block size as well
      std::vector<float> in32(frames, 0.25f), out32a(frames, 9.0f), out32b(frames, 9.0f);
      std::vector<double> in64(frames, 0.25), out64a(frames, 9.0), out64b(frames, 9.0);
      float* ins32[8] = {in32.data(), in32.data()};
      float* outs32[8] = {out32a.data(), out32b.data()};
      double* ins64[8] = {in64.data(), in64.data()};
      double* outs64[8] = {out64a.data(), out64b.data()};
      AudioBusBuffers inBus{}, outBus{};
      PointStereoBuses(size, ins32, outs32, ins64, outs64, inBus, outBus);
      ProcessData data{};
      data.symbolicSampleSize = size;
      data.numSamples = frames;
      data.numInputs = data.numOutputs = 1;
      data.inputs = &inBus;
      data.outputs = &outBus;
      switch (r.fault) {
        case kNullInputs: data.inputs = nullptr; break;
        case kNullOutputs: data.outputs = nullptr; break;
        case kNullChannelArrays: inBus.channelBuffers32 = outBus.channelBuffers32 = nullptr; break;
        case kNullInputChannel: ins32[0] = nullptr, ins64[0] = nullptr; break;
        case kNullOutputChannel: outs32[0] = nullptr, outs64[0] = nullptr; break;
        case kNoBuses: data.numInputs = data.numOutputs = 0; break;
        case kNegativeFrames: data.numSamples = -5; break;
        case kManyChannels: inBus.numChannels = outBus.numChannels = 8; break;
        case kOtherSampleSize: data.symbolicSampleSize = 1 - size; break;
      }
      EXPECT_EQ(s.processor->process(data), kResultOk) << r.what;
      // Output channel 1 is written whenever the host gave it.
      const bool written = r.fault != kNullOutputs && r.fault != kNullChannelArrays &&
                           r.fault != kNoBuses && r.fault != kNegativeFrames &&
                           r.fault != kOtherSampleSize;
      for (int f = 0; f < frames; ++f) {
        const double v = size == kSample32 ? out32b[f] : out64b[f];
        ASSERT_EQ(v != 9.0, written) << r.what << " frame " << f;
        ASSERT_TRUE(std::isfinite(v)) << r.what;
      }
    }
  }
}

// A channel the host gives no pointer for drops out on its own: every other
// channel keeps its own host buffer, also in calls longer than a block.
TEST(Vst3Process, ChannelWithoutPointerLeavesTheOthersOnTheirBuffers) {
  struct Row {
    const char* what;
    bool nullInput;  // else output channel 0 has no pointer
  } rows[] = {{"input channel 0 null", true}, {"output channel 0 null", false}};
  for (int size : {kSample32, kSample64}) {
    for (const Row& r : rows) {
      PluginSession s;
      ASSERT_TRUE(s.Ok());
      s.Prepare(2, size, 64);
      const int frames = 200;
      const auto signal = host::TestSignal(2, frames);
      std::vector<float> in32(signal[1].begin(), signal[1].end()), out32(frames, 9.0f);
      std::vector<double> in64 = signal[1], out64(frames, 9.0);
      std::vector<float> other32(frames, 0.5f);
      std::vector<double> other64(frames, 0.5);
      float* ins32[] = {r.nullInput ? nullptr : other32.data(), in32.data()};
      float* outs32[] = {r.nullInput ? other32.data() : nullptr, out32.data()};
      double* ins64[] = {r.nullInput ? nullptr : other64.data(), in64.data()};
      double* outs64[] = {r.nullInput ? other64.data() : nullptr, out64.data()};
      AudioBusBuffers inBus{}, outBus{};
      PointStereoBuses(size, ins32, outs32, ins64, outs64, inBus, outBus);
      host::ParamChanges bypass;  // output = input, so each channel shows its source
      bypass.Add(kHostBypassParamId, {{0, 1.0}});
      ProcessData data{};
      data.symbolicSampleSize = size;
      data.numSamples = frames;
      data.numInputs = data.numOutputs = 1;
      data.inputs = &inBus;
      data.outputs = &outBus;
      data.inputParameterChanges = &bypass;
      ASSERT_EQ(s.processor->process(data), kResultOk) << r.what;
      if (size == kSample32) {
        EXPECT_EQ(out32, in32) << r.what;
      } else {
        EXPECT_EQ(out64, in64) << r.what;
      }
    }
  }
}

TEST(Vst3Process, ProcessBeforeSetupStaysInsideItsBuffers) {
  PluginSession s;
  ASSERT_TRUE(s.Ok());
  // No setupProcessing: the stored set-up (32-bit, 1024 frames) applies.
  ASSERT_EQ(s.component->activateBus(kAudio, kOutput, 0, 1), kResultOk);
  auto in = Convert<float>(host::TestSignal(2, 3000)), out = in;
  ASSERT_EQ(s.Process<float>(in, out, 3000), kResultOk);
  for (float v : out[1]) ASSERT_TRUE(std::isfinite(v));
}

}  // namespace
