#pragma once
#include "effect/TorvaBinding.h"
#include "effect/dsp/CharacterFilter.h"
#include "effect/dsp/DcBlocker.h"
#include "effect/dsp/MicFilter.h"
#include "effect/dsp/MicLevel.h"
#include "effect/dsp/OnePoleSmoother.h"
#include "effect/dsp/SizeFilter.h"

// The guitar-cabinet simulator: per channel a character, size and microphone
// section, the microphone level, a gentle waveshaper, the output gain and a DC
// blocker, with every control smoothed sample by sample.
class TORVA : public TorvaBinding {
 public:
  enum ParamIndex { kMic = 0, kSize, kCharacter, kOutput, kBypass, kNumParams };

  // Module entry (or the offline caller), under the creation lock. `host` is
  // forwarded to the binding untouched.
  explicit TORVA(TorvaBinding::HostArgument host);
  // Host close / final release; no other thread inside the instance.
  ~TORVA() override;

  // Any thread; takes the processing lock. Copies the plain value of
  // parameters 0 to 3 into the cached controls.
  void ParamChanged(int index) override;
  // Audio thread, processing lock held. inputs[0..1] and outputs[0..1] are
  // valid for `frames` samples (the core points unconnected channels at
  // scratch buffers); an output may be the same memory as its input.
  void ProcessBlock(double** inputs, double** outputs, int frames) override;

 private:
  // Block-start work shared by both frame loops.
  void UpdateSmoothingAndTargets(double fs);
  bool SmoothersSettled() const;
  // Every control glides: the frame-by-frame path.
  void ProcessGliding(double fs, const double* inL, const double* inR, double* outL,
                      double* outR, int frames, bool cabinetOn);
  // Every smoother sits on its fixed point, so each Advance in this block would
  // return the same value: the controls, coefficients and level are constant.
  void ProcessSettled(double fs, const double* inL, const double* inR, double* outL,
                      double* outR, int frames, bool cabinetOn);

  DcBlocker dcBlockerL, dcBlockerR;
  OnePoleSmoother micSmoother, sizeSmoother, characterSmoother, gainSmoother, sizeScaleSmoother;
  // Parameters 0 to 3 as plain values; ParamChanged refreshes them before the
  // first block. They start at the defaults so that a non-finite value, which
  // ParamChanged refuses, never leaves them unset.
  double cachedMic = 0.0;
  double cachedSize = 5.0;
  double cachedCharacter = 5.0;
  double cachedOutput = 5.0;
  double micTarget = 0.0;
  double sizeTarget = 0.0;
  double characterTarget = 0.0;
  double gainTarget = 0.0;
  double sizeScaleTarget = 0.0;
  CharacterFilter characterFilterL, characterFilterR;
  SizeFilter sizeFilterL, sizeFilterR;
  MicFilter micFilterL, micFilterR;
  MicLevel micLevelL, micLevelR;
};
