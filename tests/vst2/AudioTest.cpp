// Audio through the module's three processing callbacks, compared with the
// same effect run in-process on the host-less binding.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "effect/TORVA.h"
#include "tests/vst2/HostedEffect.h"

namespace {
constexpr float kSampleRate = 48000.0f;
constexpr int kBlockSize = 64;
// Frames past the end of every host buffer, which no call may write.
constexpr int kGuard = 16;
constexpr float kGuardValue = 12345.0f;

enum class Form { Accumulating, Replacing, Double };

struct AudioCase {
  const char* name;
  Form form;
  int channels;
  std::vector<int> calls;  // frames per host call
};

// A deterministic test signal: a sine on the left, noise on the right.
double Signal(int channel, int frame) {
  if (channel == 0) return 0.5 * std::sin(0.031 * frame);
  uint32_t x = static_cast<uint32_t>(frame) * 2654435761u + 12345u;
  x ^= x >> 13;
  return (static_cast<double>(x % 20001) - 10000.0) / 20000.0;
}

const float kParams[5] = {0.3f, 0.8f, 0.25f, 0.6f, 1.0f};

// The module, driven like a host: arrangement, open, rate, size, resume,
// parameters, then the calls.
std::vector<std::vector<double>> RunModule(const AudioCase& c) {
  HostedEffect fx;
  if (c.channels == 1) {
    VstSpeakerArrangement mono = {};
    mono.type = kSpeakerArrMono;
    mono.numChannels = 1;
    fx.Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&mono), &mono);
  }
  fx.Start(kSampleRate, kBlockSize);
  for (int i = 0; i < 5; ++i) fx.SetParameter(i, kParams[i]);
  std::vector<std::vector<double>> result(c.channels);
  int start = 0;
  for (size_t call = 0; call < c.calls.size(); ++call) {
    const int frames = c.calls[call];
    // Before the last call: a host's suspend / reconfigure / resume cycle and
    // a parameter change. Neither clears the effect's state.
    if (call > 0 && call + 1 == c.calls.size()) {
      fx.Dispatch(effMainsChanged, 0, 0);
      fx.Dispatch(effSetBlockSize, 0, kBlockSize);
      fx.Dispatch(effMainsChanged, 0, 1);
      fx.SetParameter(1, 0.1f);
    }
    std::vector<std::vector<double>> in(c.channels), out(c.channels);
    std::vector<std::vector<float>> inF(c.channels), outF(c.channels);
    std::vector<double*> inD, outD;
    std::vector<float*> inP, outP;
    for (int ch = 0; ch < c.channels; ++ch) {
      for (int f = 0; f < frames; ++f) {
        in[ch].push_back(Signal(ch, start + f));
        inF[ch].push_back(static_cast<float>(Signal(ch, start + f)));
      }
      in[ch].resize(frames + kGuard, kGuardValue);
      inF[ch].resize(frames + kGuard, kGuardValue);
      out[ch].assign(frames + kGuard, kGuardValue);
      // The accumulating form adds to what the host's output holds.
      outF[ch].assign(frames + kGuard, kGuardValue);
      for (int f = 0; f < frames; ++f) outF[ch][f] = c.form == Form::Accumulating ? 0.25f : -7.0f;
      inD.push_back(in[ch].data());
      outD.push_back(out[ch].data());
      inP.push_back(inF[ch].data());
      outP.push_back(outF[ch].data());
    }
    if (c.form == Form::Double) {
      fx.effect->processDoubleReplacing(fx.effect, inD.data(), outD.data(), frames);
    } else if (c.form == Form::Replacing) {
      fx.effect->processReplacing(fx.effect, inP.data(), outP.data(), frames);
    } else {
      fx.effect->process(fx.effect, inP.data(), outP.data(), frames);
    }
    for (int ch = 0; ch < c.channels; ++ch) {
      for (int f = frames; f < frames + kGuard; ++f) {
        EXPECT_EQ(c.form == Form::Double ? out[ch][f] : outF[ch][f], kGuardValue)
            << c.name << ": written past the host buffer";
      }
      for (int f = 0; f < frames; ++f) {
        result[ch].push_back(c.form == Form::Double ? out[ch][f] : outF[ch][f]);
      }
    }
    start += frames;
  }
  return result;
}

// The same effect in-process, same parameters, same calls.
std::vector<std::vector<double>> RunReference(const AudioCase& c) {
  TORVA effect(nullptr);
  EXPECT_TRUE(effect.Prepare(kSampleRate, kBlockSize, c.channels));
  for (int i = 0; i < 5; ++i) effect.SetNormalizedValue(i, kParams[i]);
  std::vector<std::vector<double>> result(c.channels);
  int start = 0;
  for (size_t call = 0; call < c.calls.size(); ++call) {
    const int frames = c.calls[call];
    if (call > 0 && call + 1 == c.calls.size()) effect.SetNormalizedValue(1, 0.1f);
    std::vector<std::vector<double>> in(c.channels), out(c.channels);
    std::vector<std::vector<float>> inF(c.channels), outF(c.channels);
    std::vector<double*> inD, outD;
    std::vector<float*> inP, outP;
    for (int ch = 0; ch < c.channels; ++ch) {
      for (int f = 0; f < frames; ++f) {
        in[ch].push_back(Signal(ch, start + f));
        inF[ch].push_back(static_cast<float>(Signal(ch, start + f)));
      }
      out[ch].assign(frames, 0.0);
      outF[ch].assign(frames, 0.0f);
      inD.push_back(in[ch].data());
      outD.push_back(out[ch].data());
      inP.push_back(inF[ch].data());
      outP.push_back(outF[ch].data());
    }
    if (c.form == Form::Double) {
      effect.Process(inD.data(), outD.data(), frames);
    } else {
      effect.Process(inP.data(), outP.data(), frames);
    }
    for (int ch = 0; ch < c.channels; ++ch) {
      for (int f = 0; f < frames; ++f) {
        if (c.form == Form::Double) {
          result[ch].push_back(out[ch][f]);
        } else if (c.form == Form::Replacing) {
          result[ch].push_back(outF[ch][f]);
        } else {
          result[ch].push_back(0.25f + outF[ch][f]);
        }
      }
    }
    start += frames;
  }
  return result;
}

class Vst2Audio : public ::testing::TestWithParam<AudioCase> {};

// Calls longer than the block size (300 > 64) are processed in slices; a call
// of 0 frames changes nothing.
TEST_P(Vst2Audio, MatchesTheEffectRunInProcess) {
  const AudioCase& c = GetParam();
  const std::vector<std::vector<double>> module = RunModule(c);
  const std::vector<std::vector<double>> reference = RunReference(c);
  ASSERT_EQ(module.size(), reference.size());
  for (size_t ch = 0; ch < module.size(); ++ch) {
    ASSERT_EQ(module[ch].size(), reference[ch].size());
    double energy = 0.0;
    for (size_t f = 0; f < module[ch].size(); ++f) {
      ASSERT_EQ(module[ch][f], reference[ch][f]) << c.name << " channel " << ch << " frame " << f;
      energy += module[ch][f] * module[ch][f];
    }
    EXPECT_GT(energy, 0.0) << c.name;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Forms, Vst2Audio,
    ::testing::Values(AudioCase{"Replacing", Form::Replacing, 2, {64, 64, 300, 0, 17, 64}},
                      AudioCase{"Accumulating", Form::Accumulating, 2, {128, 300, 5}},
                      AudioCase{"Double", Form::Double, 2, {64, 300, 1, 0, 64}},
                      AudioCase{"MonoReplacing", Form::Replacing, 1, {100, 300, 64}},
                      AudioCase{"MonoDouble", Form::Double, 1, {64, 300, 64}}),
    [](const ::testing::TestParamInfo<AudioCase>& info) { return std::string(info.param.name); });

// Double-precision hosts may pass the same buffer as input and output.
TEST(Vst2AudioInPlace, DoubleReplacingInTheHostsOwnBuffers) {
  HostedEffect fx;
  fx.Start(kSampleRate, kBlockSize);
  HostedEffect separate;
  separate.Start(kSampleRate, kBlockSize);
  std::vector<double> left(256), right(256), outL(256), outR(256);
  for (int f = 0; f < 256; ++f) {
    left[f] = Signal(0, f);
    right[f] = Signal(1, f);
  }
  std::vector<double> inL = left, inR = right;
  double* sepIn[2] = {inL.data(), inR.data()};
  double* sepOut[2] = {outL.data(), outR.data()};
  separate.effect->processDoubleReplacing(separate.effect, sepIn, sepOut, 256);
  double* same[2] = {left.data(), right.data()};
  fx.effect->processDoubleReplacing(fx.effect, same, same, 256);
  EXPECT_EQ(left, outL);
  EXPECT_EQ(right, outR);
}

struct HostFault {
  const char* what;
  VstInt32 opcode;
  VstIntPtr value;
  float opt;
};

// Block sizes and sample rates no host should send leave the effect working
// and its output finite.
TEST(Vst2AudioHostFaults, OutputStaysFiniteAndInsideTheBuffers) {
  const HostFault cases[] = {
      {"block size 0", effSetBlockSize, 0, 0.0f},
      {"negative block size", effSetBlockSize, -5, 0.0f},
      {"huge block size", effSetBlockSize, VstIntPtr(1) << 40, 0.0f},
      {"sample rate 0", effSetSampleRate, 0, 0.0f},
      {"negative sample rate", effSetSampleRate, 0, -44100.0f},
      {"NaN sample rate", effSetSampleRate, 0, std::nanf("")},
      {"infinite sample rate", effSetSampleRate, 0, HUGE_VALF},
  };
  for (const HostFault& c : cases) {
    HostedEffect fx;
    fx.Start(kSampleRate, kBlockSize);
    fx.Dispatch(c.opcode, 0, c.value, nullptr, c.opt);
    const int frames = 3000;
    std::vector<float> inL(frames), inR(frames), outL(frames + kGuard, kGuardValue),
        outR(frames + kGuard, kGuardValue);
    for (int f = 0; f < frames; ++f) {
      inL[f] = static_cast<float>(Signal(0, f));
      inR[f] = static_cast<float>(Signal(1, f));
    }
    float* in[2] = {inL.data(), inR.data()};
    float* out[2] = {outL.data(), outR.data()};
    fx.effect->processReplacing(fx.effect, in, out, frames);
    double energy = 0.0;
    for (int f = 0; f < frames; ++f) {
      ASSERT_TRUE(std::isfinite(outL[f]) && std::isfinite(outR[f])) << c.what << " frame " << f;
      energy += outL[f] * outL[f];
    }
    EXPECT_GT(energy, 0.0) << c.what;
    for (int f = frames; f < frames + kGuard; ++f) {
      ASSERT_EQ(outL[f], kGuardValue) << c.what;
      ASSERT_EQ(outR[f], kGuardValue) << c.what;
    }
  }
}

// With a mono input arrangement the second input is not read at all.
TEST(Vst2AudioArrangement, MonoInputLeavesTheSecondInputUnread) {
  std::vector<float> results[2];
  for (int run = 0; run < 2; ++run) {
    HostedEffect fx;
    VstSpeakerArrangement mono = {};
    mono.type = kSpeakerArrMono;
    mono.numChannels = 1;
    VstSpeakerArrangement stereo = {};
    stereo.type = kSpeakerArrStereo;
    stereo.numChannels = 2;
    fx.Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&mono), &stereo);
    fx.Start(kSampleRate, kBlockSize);
    std::vector<float> inL(256), inR(256, run == 0 ? 0.0f : 0.9f), outL(256), outR(256);
    for (int f = 0; f < 256; ++f) inL[f] = static_cast<float>(Signal(0, f));
    float* in[2] = {inL.data(), inR.data()};
    float* out[2] = {outL.data(), outR.data()};
    fx.effect->processReplacing(fx.effect, in, out, 256);
    results[run] = outR;
  }
  EXPECT_EQ(results[0], results[1]);
}
}  // namespace
