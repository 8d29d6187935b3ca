#pragma once
#include <memory>
#include <vector>

#include "effect/TORVA.h"
#include "tools/torva-render/ParameterRamp.h"

// Plain values for the five parameters, as a host's text entry sets them.
struct EffectSettings {
  double values[TORVA::kNumParams] = {0.0, 5.0, 5.0, 5.0, 1.0};
};

// Drives one TORVA instance over interleaved audio the way the renderer's
// users rely on: every parameter is set (SetPlainClamped, then ParamChanged)
// before the first block, and every ramp's value at f / fs is set the same way
// at the start of each block beginning at frame f.
class EffectRunner {
 public:
  // Throws BadInput when the channel count has no configuration (only mono
  // and stereo run).
  EffectRunner(double sampleRate, int blockSize, int channels, const EffectSettings& settings,
               std::vector<ParameterRamp> ramps);

  int BlockSize() const { return blockSize_; }
  int Channels() const { return channels_; }

  // Processes `frames` (at most the block size) interleaved frames in place.
  void ProcessBlock(double* interleaved, int frames);

 private:
  std::unique_ptr<TORVA> effect_;
  double sampleRate_;
  int blockSize_;
  int channels_;
  std::vector<ParameterRamp> ramps_;
  long long nextFrame_ = 0;
  std::vector<double> planar_[2];
};
