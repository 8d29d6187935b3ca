#pragma once
#include <memory>
#include <random>
#include <vector>

#include "effect/TORVA.h"

// A TORVA instance on the offline binding, prepared like a host would, with
// two channel buffers to feed it.
struct EffectRig {
  explicit EffectRig(double fs = 48000.0, int blockSize = 512, int channels = 2)
      : effect(static_cast<TORVA*>(CreatePluginInstance(nullptr))), fs(fs) {
    effect->Prepare(fs, blockSize, channels);
  }

  // Runs `frames` frames of the given (or silent) signal through the effect in
  // one host call, returning the two outputs.
  void Run(std::vector<double>& left, std::vector<double>& right) {
    double* io[2] = {left.data(), right.data()};
    effect->Process(io, io, static_cast<int>(left.size()));
  }
  void RunSilence(int frames) {
    std::vector<double> l(frames, 0.0), r(frames, 0.0);
    Run(l, r);
  }

  std::unique_ptr<TORVA> effect;
  double fs;
};

inline std::vector<double> Noise(size_t frames, unsigned seed, double amplitude = 0.5) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> dist(-amplitude, amplitude);
  std::vector<double> v(frames);
  for (double& s : v) s = dist(rng);
  return v;
}
