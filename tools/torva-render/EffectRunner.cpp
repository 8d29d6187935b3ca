#include "tools/torva-render/EffectRunner.h"

#include <string>

#include "tools/torva-render/RenderError.h"

EffectRunner::EffectRunner(double sampleRate, int blockSize, int channels,
                           const EffectSettings& settings, std::vector<ParameterRamp> ramps)
    : effect_(static_cast<TORVA*>(CreatePluginInstance(nullptr))),
      sampleRate_(sampleRate),
      blockSize_(blockSize),
      channels_(channels),
      ramps_(std::move(ramps)) {
  if (!effect_->Prepare(sampleRate, blockSize, channels)) {
    throw BadInput("the input has " + std::to_string(channels) +
                   " channels; only mono and stereo files can be rendered");
  }
  for (int i = 0; i < TORVA::kNumParams; ++i) effect_->SetPlainValue(i, settings.values[i]);
  for (auto& channel : planar_) channel.assign(static_cast<size_t>(blockSize), 0.0);
}

void EffectRunner::ProcessBlock(double* interleaved, int frames) {
  if (frames > blockSize_) frames = blockSize_;
  const double seconds = static_cast<double>(nextFrame_) / sampleRate_;
  for (const ParameterRamp& ramp : ramps_) {
    effect_->SetPlainValue(ramp.ParamIndex(), ramp.ValueAt(seconds));
  }
  double* io[2] = {planar_[0].data(), planar_[1].data()};
  for (int f = 0; f < frames; ++f) {
    for (int c = 0; c < channels_; ++c) io[c][f] = interleaved[f * channels_ + c];
  }
  effect_->Process(io, io, frames);
  for (int f = 0; f < frames; ++f) {
    for (int c = 0; c < channels_; ++c) interleaved[f * channels_ + c] = io[c][f];
  }
  nextFrame_ += frames;
}
