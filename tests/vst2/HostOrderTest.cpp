// Hosts call in different orders; every one of these must give a working
// effect whose processReplacing writes every output sample.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "tests/vst2/HostedEffect.h"

namespace {
enum class Step { Open, Rate, Size, Resume, Suspend, NoEvents, Precision, Program0, Process };

struct HostOrder {
  const char* name;
  std::vector<Step> steps;  // the instance is closed after the last step
};

// Pre-fills the host's outputs with NaN: any sample left unwritten shows.
bool ProcessWritesEverySample(HostedEffect& fx) {
  constexpr int kFrames = 700;
  std::vector<float> inL(kFrames), inR(kFrames);
  std::vector<float> outL(kFrames, std::numeric_limits<float>::quiet_NaN());
  std::vector<float> outR(kFrames, std::numeric_limits<float>::quiet_NaN());
  for (int f = 0; f < kFrames; ++f) {
    inL[f] = static_cast<float>(std::sin(0.05 * f));
    inR[f] = static_cast<float>(std::cos(0.03 * f));
  }
  float* in[2] = {inL.data(), inR.data()};
  float* out[2] = {outL.data(), outR.data()};
  fx.effect->processReplacing(fx.effect, in, out, kFrames);
  double energy = 0.0;
  for (int f = 0; f < kFrames; ++f) {
    if (!std::isfinite(outL[f]) || !std::isfinite(outR[f])) return false;
    energy += outL[f] * outL[f] + outR[f] * outR[f];
  }
  return energy > 0.0;
}

void RunStep(HostedEffect& fx, Step step) {
  VstEvents none = {};
  switch (step) {
    case Step::Open: fx.Dispatch(effOpen); break;
    case Step::Rate: fx.Dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f); break;
    case Step::Size: fx.Dispatch(effSetBlockSize, 0, 512); break;
    case Step::Resume: fx.Dispatch(effMainsChanged, 0, 1); break;
    case Step::Suspend: fx.Dispatch(effMainsChanged, 0, 0); break;
    case Step::NoEvents: EXPECT_EQ(fx.Dispatch(effProcessEvents, 0, 0, &none), 1); break;
    case Step::Precision: fx.Dispatch(effSetProcessPrecision, 0, 0); break;
    case Step::Program0:
      fx.Dispatch(effBeginSetProgram);
      fx.Dispatch(effSetProgram, 0, 0);
      fx.Dispatch(effEndSetProgram);
      break;
    case Step::Process: EXPECT_TRUE(ProcessWritesEverySample(fx)); break;
  }
}

class Vst2HostOrder : public ::testing::TestWithParam<HostOrder> {};

TEST_P(Vst2HostOrder, EffectWorksAndCloses) {
  HostedEffect fx;
  ASSERT_NE(fx.effect, nullptr);
  for (Step step : GetParam().steps) RunStep(fx, step);
  fx.Close();
}

using S = Step;
INSTANTIATE_TEST_SUITE_P(
    Hosts, Vst2HostOrder,
    ::testing::Values(
        HostOrder{"RateAndSizeBeforeOpen",
                  {S::Rate, S::Size, S::Open, S::Program0, S::Precision, S::Resume, S::Process,
                   S::Suspend}},
        HostOrder{"OpenThenResumeAtOnce",
                  {S::Open, S::Resume, S::Rate, S::Size, S::Precision, S::NoEvents, S::Process,
                   S::NoEvents, S::Process}},
        HostOrder{"ProcessWithoutOpenOrSizes", {S::Process}},
        HostOrder{"ReconfigureWhileRunning",
                  {S::Open, S::Rate, S::Size, S::Resume, S::Process, S::Suspend, S::Size,
                   S::Resume, S::Process}},
        HostOrder{"CloseWhileResumed", {S::Open, S::Resume, S::Process}},
        HostOrder{"ProgramBeforeOpen", {S::Program0, S::Open, S::Rate, S::Size, S::Process}}),
    [](const ::testing::TestParamInfo<HostOrder>& info) { return std::string(info.param.name); });

struct BadCall {
  const char* what;
  bool nullInputs;
  bool nullOutputs;
  VstInt32 frames;
};

// Null buffer arrays and negative frame counts touch nothing.
TEST(Vst2HostBuffers, BadCallsTouchNothing) {
  const BadCall cases[] = {
      {"null inputs", true, false, 64},
      {"null outputs", false, true, 64},
      {"null both", true, true, 64},
      {"negative frames", false, false, -5},
  };
  HostedEffect fx;
  fx.Start(44100.0f, 64);
  for (const BadCall& c : cases) {
    std::vector<float> inF(64, 0.5f), outF(64, 3.0f);
    std::vector<double> inD(64, 0.5), outD(64, 3.0);
    float* inP[2] = {inF.data(), inF.data()};
    float* outP[2] = {outF.data(), outF.data()};
    double* inQ[2] = {inD.data(), inD.data()};
    double* outQ[2] = {outD.data(), outD.data()};
    fx.effect->processReplacing(fx.effect, c.nullInputs ? nullptr : inP,
                                c.nullOutputs ? nullptr : outP, c.frames);
    fx.effect->process(fx.effect, c.nullInputs ? nullptr : inP, c.nullOutputs ? nullptr : outP,
                       c.frames);
    fx.effect->processDoubleReplacing(fx.effect, c.nullInputs ? nullptr : inQ,
                                      c.nullOutputs ? nullptr : outQ, c.frames);
    EXPECT_EQ(outF, std::vector<float>(64, 3.0f)) << c.what;
    EXPECT_EQ(outD, std::vector<double>(64, 3.0)) << c.what;
  }
  EXPECT_TRUE(ProcessWritesEverySample(fx));
}
}  // namespace
