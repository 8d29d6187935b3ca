#include "effect/TORVA.h"

#include <cmath>
#include <cstring>

#include "effect/dsp/Waveshaper.h"
#include "framework/plugbase/PackedVersion.h"
#include "framework/plugbase/Trace.h"

namespace {
constexpr uint32_t FourCharCode(const char (&c)[5]) {
  return (static_cast<uint32_t>(static_cast<unsigned char>(c[0])) << 24) |
         (static_cast<uint32_t>(static_cast<unsigned char>(c[1])) << 16) |
         (static_cast<uint32_t>(static_cast<unsigned char>(c[2])) << 8) |
         static_cast<uint32_t>(static_cast<unsigned char>(c[3]));
}

struct ContinuousParam {
  int index;
  const char* name;
  double defaultValue;
};

constexpr ContinuousParam kContinuousParams[] = {
    {TORVA::kMic, "Mic Placement", 0.0},
    {TORVA::kSize, "Cabinet Size", 5.0},
    {TORVA::kCharacter, "Character", 5.0},
    {TORVA::kOutput, "Output", 5.0},
};

// −2π: one smoother Advance is a one-pole low-pass with a 1 Hz corner.
constexpr double kMinusTwoPi = -6.283185307179586;
// The double nearest to 0.18 − 0.1: one unit in the last place below 0.08.
constexpr double kSizeScaleSpan = 0.07999999999999999;
// One channel's filter chain: character, then size, then microphone.
inline double CabinetSections(CharacterFilter& character, SizeFilter& size, MicFilter& mic,
                              double x) {
  return mic.ProcessSample(size.ProcessSample(character.ProcessSample(x)));
}
}  // namespace

TorvaBinding* CreatePluginInstance(TorvaBinding::HostArgument host) { return new TORVA(host); }

TORVA::TORVA(TorvaBinding::HostArgument host)
    : TorvaBinding(host, "TORVA", "", "FennickAudioLab", PackVersion(1, 0, 0),
                   FourCharCode("TRV1"), FourCharCode("Fenn"), "1-1 2-2", kNumParams, 1,
                   false, false, false) {
  GetParam(kBypass)->SetUpInteger("Bypass", 1.0, 0.0, 1.0, "", "");
  for (const ContinuousParam& p : kContinuousParams) {
    IParamRecord* param = GetParam(p.index);
    param->SetUpNumeric(p.name, p.defaultValue, 0.0, 10.0, 0.1, "", "", 1.0);
    param->SetShape(1.0);
  }
  FillDefaultPresets("-", 1);
}

TORVA::~TORVA() = default;

void TORVA::ParamChanged(int index) {
  ProcessLockGuard guard(Lock());
  const IParamRecord* param = GetParam(index);
  if (!param) return;
  const double v = param->value;
  TORVA_TRACE_OP("TORVA::ParamChanged", "%d %f", index, v);
  // A NaN from a damaged state chunk would poison the smoothers and every
  // filter history for good; the control keeps its last value instead.
  if (!std::isfinite(v)) return;
  switch (index) {
    case kMic: cachedMic = v; break;
    case kSize: cachedSize = v; break;
    case kCharacter: cachedCharacter = v; break;
    case kOutput: cachedOutput = v; break;
    default: break;  // Bypass is read at every block
  }
}

void TORVA::UpdateSmoothingAndTargets(double fs) {
  const double pole = std::exp((1.0 / fs) * kMinusTwoPi);
  micSmoother.SetPole(pole);
  sizeSmoother.SetPole(pole);
  characterSmoother.SetPole(pole);
  gainSmoother.SetPole(pole);
  sizeScaleSmoother.SetPole(pole);

  characterTarget = cachedCharacter / 10.0;
  gainTarget = (cachedOutput / 10.0) * 2.0;
  sizeTarget = cachedSize / 10.0;
  micTarget = (cachedMic / 10.0) * 0.35 + 0.15;
  sizeScaleTarget = 0.18 - (1.0 - 2.0 * sizeTarget) * kSizeScaleSpan;
}

bool TORVA::SmoothersSettled() const {
  return micSmoother.IsSettledAt(micTarget) && sizeSmoother.IsSettledAt(sizeTarget) &&
         characterSmoother.IsSettledAt(characterTarget) && gainSmoother.IsSettledAt(gainTarget) &&
         sizeScaleSmoother.IsSettledAt(sizeScaleTarget);
}

void TORVA::ProcessBlock(double** inputs, double** outputs, int frames) {
  const double fs = GetSampleRate();
  if (!(fs > 0.0) || !std::isfinite(fs)) {
    // No filter is defined at such a rate; pass the audio through and leave
    // the model's state alone rather than fill it with NaN for good.
    for (int c = 0; c < 2 && frames > 0; ++c) {
      if (outputs[c] != inputs[c]) std::memmove(outputs[c], inputs[c], sizeof(double) * frames);
    }
    return;
  }
  UpdateSmoothingAndTargets(fs);
  if (frames <= 0) return;

  // Truncation toward zero of a value the core keeps within 0..1; NaN passes
  // the input through as 0 does.
  const bool cabinetOn = GetParam(kBypass)->value >= 1.0;
  if (SmoothersSettled()) {
    ProcessSettled(fs, inputs[0], inputs[1], outputs[0], outputs[1], frames, cabinetOn);
  } else {
    ProcessGliding(fs, inputs[0], inputs[1], outputs[0], outputs[1], frames, cabinetOn);
  }
}

// The right channel's sections see every control one or more Advances later
// than the left's; the order of Advances below is what makes a glide sound
// (and measure) the way it does.
void TORVA::ProcessGliding(double fs, const double* inL, const double* inR, double* outL,
                           double* outR, int frames, bool cabinetOn) {
  for (int i = 0; i < frames; ++i) {
    const double m1 = micSmoother.Advance(micTarget);
    const double s1 = sizeSmoother.Advance(sizeTarget);
    const double c1 = characterSmoother.Advance(characterTarget);
    characterFilterL.UpdateCoefficients(fs, c1, 1.0 - (s1 / 3.0 + m1));
    const double m2 = micSmoother.Advance(micTarget);
    const double s2 = sizeSmoother.Advance(sizeTarget);
    const double c2 = characterSmoother.Advance(characterTarget);
    characterFilterR.UpdateCoefficients(fs, c2, 1.0 - (s2 / 3.0 + m2));
    const double s3 = sizeSmoother.Advance(sizeTarget);
    const double k1 = sizeScaleSmoother.Advance(sizeScaleTarget);
    sizeFilterL.UpdateCoefficients(fs, k1, s3);
    const double s4 = sizeSmoother.Advance(sizeTarget);
    const double k2 = sizeScaleSmoother.Advance(sizeScaleTarget);
    sizeFilterR.UpdateCoefficients(fs, k2, s4);
    const double m3 = micSmoother.Advance(micTarget);
    const double s5 = sizeSmoother.Advance(sizeTarget);
    const double m4 = micSmoother.Advance(micTarget);
    micFilterL.UpdateCoefficients(fs, m4, s5 / 3.0 + m3);
    const double m5 = micSmoother.Advance(micTarget);
    const double s6 = sizeSmoother.Advance(sizeTarget);
    const double m6 = micSmoother.Advance(micTarget);
    micFilterR.UpdateCoefficients(fs, m6, s6 / 3.0 + m5);

    // Both inputs are read before either output is written (in-place hosts).
    const double xL = inL[i];
    const double xR = inR[i];
    const double vL = CabinetSections(characterFilterL, sizeFilterL, micFilterL, xL);
    const double vR = CabinetSections(characterFilterR, sizeFilterR, micFilterR, xR);

    const double m7 = micSmoother.Advance(micTarget);
    const double dL = Waveshape(micLevelL.Gain(m7) * vL);
    const double m8 = micSmoother.Advance(micTarget);
    const double dR = Waveshape(micLevelR.Gain(m8) * vR);

    const double oL = gainSmoother.Advance(gainTarget) * dL;
    const double oR = gainSmoother.Advance(gainTarget) * dR;
    outL[i] = cabinetOn ? dcBlockerL.Step(oL) : xL;
    outR[i] = cabinetOn ? dcBlockerR.Step(oR) : xR;
  }
}

void TORVA::ProcessSettled(double fs, const double* inL, const double* inR, double* outL,
                           double* outR, int frames, bool cabinetOn) {
  const double m = micSmoother.z;
  const double s = sizeSmoother.z;
  const double c = characterSmoother.z;
  const double g = gainSmoother.z;
  const double k = sizeScaleSmoother.z;
  characterFilterL.UpdateCoefficients(fs, c, 1.0 - (s / 3.0 + m));
  characterFilterR.UpdateCoefficients(fs, c, 1.0 - (s / 3.0 + m));
  sizeFilterL.UpdateCoefficients(fs, k, s);
  sizeFilterR.UpdateCoefficients(fs, k, s);
  micFilterL.UpdateCoefficients(fs, m, s / 3.0 + m);
  micFilterR.UpdateCoefficients(fs, m, s / 3.0 + m);
  const double levelL = micLevelL.Gain(m);
  const double levelR = micLevelR.Gain(m);

  for (int i = 0; i < frames; ++i) {
    const double xL = inL[i];
    const double xR = inR[i];
    const double vL = CabinetSections(characterFilterL, sizeFilterL, micFilterL, xL);
    const double vR = CabinetSections(characterFilterR, sizeFilterR, micFilterR, xR);
    const double oL = g * Waveshape(levelL * vL);
    const double oR = g * Waveshape(levelR * vR);
    outL[i] = cabinetOn ? dcBlockerL.Step(oL) : xL;
    outR[i] = cabinetOn ? dcBlockerR.Step(oR) : xR;
  }
}
