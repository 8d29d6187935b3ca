#include "framework/plugbase/IFxBase.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "framework/graphics/IGraphics.h"
#include "framework/plugbase/FixedText.h"
#include "framework/plugbase/Trace.h"

IFxBase::IFxBase(const char* effectName, const char* productName, const char* makerName,
                 uint32_t version, uint32_t uniqueId, uint32_t makerCode,
                 const char* channelConfig, int numParams, int numPresets, bool doesMidi,
                 bool doesStateChunks, bool isInstrument, int32_t pluginFormat)
    : uniqueId_(uniqueId),
      makerCode_(makerCode),
      version_(version),
      pluginFormat_(pluginFormat),
      doesStateChunks_(doesStateChunks),
      isInstrument_(isInstrument),
      doesMidi_(doesMidi) {
  for (int i = 0; i < numParams; ++i) params_.push_back(std::make_unique<IParamRecord>());
  for (int i = 0; i < numPresets; ++i) presets_.push_back(std::make_unique<IPresetSlot>());
  CopyFixedText(effectName_, effectName);
  CopyFixedText(productName_, productName);
  CopyFixedText(makerName_, makerName);
  ParseChannelConfigs(channelConfig);

  int maxIn = 0;
  int maxOut = 0;
  for (const ChannelIOConfig& c : configs_) {
    maxIn = std::max(maxIn, c.inputs);
    maxOut = std::max(maxOut, c.outputs);
  }
  inputData_.assign(maxIn, nullptr);
  outputData_.assign(maxOut, nullptr);
  sliceInputsF_.assign(maxIn, nullptr);
  sliceOutputsF_.assign(maxOut, nullptr);
  sliceInputsD_.assign(maxIn, nullptr);
  sliceOutputsD_.assign(maxOut, nullptr);
  for (int i = 0; i < maxIn; ++i) {
    auto channel = std::make_unique<IInputChannel>();
    channel->dataSlot = &inputData_[i];
    inputs_.push_back(std::move(channel));
  }
  for (int i = 0; i < maxOut; ++i) {
    auto channel = std::make_unique<IOutputChannel>();
    channel->dataSlot = &outputData_[i];
    outputs_.push_back(std::move(channel));
  }
}

IFxBase::~IFxBase() {
  // The editor may still refer to the parameters: it goes first.
  editor_.reset();
  params_.clear();
  presets_.clear();
  inputs_.clear();
  outputs_.clear();
  configs_.clear();
}

// Tokens are "%d-%d" separated by spaces; every token yields one
// configuration, an unreadable count reading as 0.
void IFxBase::ParseChannelConfigs(const char* text) {
  const char* at = text ? text : "";
  for (;;) {
    int in = 0;
    int out = 0;
    std::sscanf(at, "%d-%d", &in, &out);
    configs_.push_back(ChannelIOConfig{in, out});
    const char* space = std::strchr(at, ' ');
    if (!space) break;
    at = space + 1;
  }
}

bool IFxBase::LegalIO(int inputs, int outputs) const {
  for (const ChannelIOConfig& c : configs_) {
    if ((inputs < 0 || inputs == c.inputs) && (outputs < 0 || outputs == c.outputs)) return true;
  }
  return false;
}

IInputChannel* IFxBase::InputChannel(int i) {
  return (i >= 0 && i < NumInputChannels()) ? inputs_[i].get() : nullptr;
}

IOutputChannel* IFxBase::OutputChannel(int i) {
  return (i >= 0 && i < NumOutputChannels()) ? outputs_[i].get() : nullptr;
}

void IFxBase::SetInputConnected(int i, bool connected) {
  IInputChannel* channel = InputChannel(i);
  if (!channel) return;
  channel->connected = connected;
  if (!connected) *channel->dataSlot = channel->scratch.empty() ? nullptr : channel->scratch.data();
}

void IFxBase::SetOutputConnected(int i, bool connected) {
  IOutputChannel* channel = OutputChannel(i);
  if (!channel) return;
  channel->connected = connected;
  if (!connected) *channel->dataSlot = channel->scratch.empty() ? nullptr : channel->scratch.data();
}

IParamRecord* IFxBase::GetParam(int index) {
  return (index >= 0 && index < NumParams()) ? params_[index].get() : nullptr;
}

const IParamRecord* IFxBase::GetParam(int index) const {
  return (index >= 0 && index < NumParams()) ? params_[index].get() : nullptr;
}

IPresetSlot* IFxBase::GetPreset(int index) {
  return (index >= 0 && index < NumPresets()) ? presets_[index].get() : nullptr;
}

void IFxBase::ResetProcessing() { ProcessLockGuard guard(lock_); }

void IFxBase::ParamChanged(int) { ProcessLockGuard guard(lock_); }

void IFxBase::ActivationChanged(bool) { ProcessLockGuard guard(lock_); }

void IFxBase::ProcessBlock(double** inputs, double** outputs, int frames) {
  const int nIn = NumInputChannels();
  const int nOut = NumOutputChannels();
  for (int i = 0; i < nOut; ++i) {
    double* out = outputs[i];
    if (i < nIn) {
      const double* in = inputs[i];
      if (in != out) std::memmove(out, in, sizeof(double) * std::max(frames, 0));
    } else {
      std::fill(out, out + std::max(frames, 0), 0.0);
    }
  }
}

void IFxBase::ProcessMidiMessage(const IMidiMessage& message) { SendMidiMessage(message); }

bool IFxBase::GetMidiNoteName(int, char* name) {
  if (name) name[0] = '\0';
  return false;
}

bool IFxBase::SerializeState(StateChunk& chunk) { return SerializeParams(chunk); }

int IFxBase::UnserializeState(const StateChunk& chunk, int pos) {
  return UnserializeParams(chunk, pos);
}

bool IFxBase::StateMatchesStored(const StateChunk& chunk, int startValue) {
  int pos = startValue * 8;
  for (int i = 0; i < NumParams(); ++i) {
    double stored = 0.0;
    pos = chunk.GetDouble(&stored, pos);
    if (pos < 0) return false;
    float difference = static_cast<float>(stored) - static_cast<float>(params_[i]->value);
    if (!(difference < 0.00001f && difference > -0.00001f)) return false;
  }
  return true;
}

void IFxBase::SetParameterFromEditor(int index, double normalized) {
  ProcessLockGuard guard(lock_);
  IParamRecord* param = GetParam(index);
  if (!param) return;
  TORVA_TRACE_OP("IFxBase::SetParameterFromEditor", "%d %f", index, normalized);
  param->ApplyNormalized(normalized);
  InformHostOfParameterChange(index, normalized);
  ParamChanged(index);
}

void IFxBase::AttachEditor(IGraphics* editor) {
  if (!editor) return;
  ProcessLockGuard guard(lock_);
  for (int i = 0; i < NumParams(); ++i) {
    editor->SetControlFromPlugin(i, params_[i]->NormalizedValue(), true);
  }
  editor->PrepareDrawSurface();
  editor_.reset(editor);
}

void IFxBase::RefreshEditorControls() {
  if (!editor_) return;
  for (int i = 0; i < NumParams(); ++i) {
    editor_->SetControlFromPlugin(i, params_[i]->value, false);
  }
}

void IFxBase::SetBlockSize(int frames) {
  if (frames == blockSize_) return;
  if (frames < 0) frames = 0;
  for (auto& channel : inputs_) {
    channel->scratch.assign(static_cast<size_t>(frames), 0.0);
    if (!channel->connected) *channel->dataSlot = frames ? channel->scratch.data() : nullptr;
  }
  for (auto& channel : outputs_) {
    channel->scratch.assign(static_cast<size_t>(frames), 0.0);
    if (!channel->connected) *channel->dataSlot = frames ? channel->scratch.data() : nullptr;
  }
  blockSize_ = frames;
}

void IFxBase::BindInputBuffers(int startChannel, int hostCount, float** hostBuffers, int frames) {
  frames = ClampToBlock(frames);
  const int n = NumInputChannels();
  int host = 0;
  for (int i = std::max(startChannel, 0); i < n && i - startChannel < hostCount; ++i) {
    IInputChannel& channel = *inputs_[i];
    if (!channel.connected) continue;
    const float* src = hostBuffers[host++];
    double* dst = channel.scratch.data();
    for (int f = 0; f < frames; ++f) dst[f] = src[f];
    *channel.dataSlot = dst;
  }
}

void IFxBase::BindInputBuffers(int hostCount, double** hostBuffers) {
  int host = 0;
  for (auto& channel : inputs_) {
    if (host >= hostCount) break;
    if (channel->connected) *channel->dataSlot = hostBuffers[host++];
  }
}

void IFxBase::BindOutputBuffers(int hostCount, float** hostBuffers) {
  int host = 0;
  for (auto& channel : outputs_) {
    if (host >= hostCount) break;
    if (!channel->connected) continue;
    *channel->dataSlot = channel->scratch.data();
    channel->hostDestination = hostBuffers[host++];
  }
}

void IFxBase::BindOutputBuffers(int hostCount, double** hostBuffers) {
  int host = 0;
  for (auto& channel : outputs_) {
    if (host >= hostCount) break;
    if (channel->connected) *channel->dataSlot = hostBuffers[host++];
  }
}

void IFxBase::ProcessBoundBuffers(BoundForm form, int frames) { RunBound(form, frames, false); }

void IFxBase::RunBound(BoundForm form, int frames, bool passThrough) {
  frames = ClampToBlock(frames);
  if (passThrough) {
    PassThroughBlock(frames);
  } else {
    ProcessBlock(inputData_.data(), outputData_.data(), frames);
  }
  if (form == BoundForm::Double) return;
  for (auto& channel : outputs_) {
    if (!channel->connected || !channel->hostDestination) continue;
    const double* src = channel->scratch.data();
    float* dst = channel->hostDestination;
    if (form == BoundForm::SingleAccumulating) {
      for (int f = 0; f < frames; ++f) dst[f] += static_cast<float>(src[f]);
    } else {
      for (int f = 0; f < frames; ++f) dst[f] = static_cast<float>(src[f]);
    }
  }
}

bool IFxBase::ProcessHostBuffers(float** inputs, int numInputs, float** outputs, int numOutputs,
                                 int frames, bool accumulate, bool passThrough) {
  if (frames <= 0) return true;
  if (blockSize_ <= 0) return false;
  numInputs = std::clamp(numInputs, 0, NumInputChannels());
  numOutputs = std::clamp(numOutputs, 0, NumOutputChannels());
  if ((numInputs && !inputs) || (numOutputs && !outputs)) return false;
  PointUncoveredAtScratch(numInputs, numOutputs);
  float** in = sliceInputsF_.data();
  float** out = sliceOutputsF_.data();
  for (int done = 0; done < frames;) {
    const int n = std::min(blockSize_, frames - done);
    for (int c = 0; c < numInputs; ++c) in[c] = inputs[c] + done;
    for (int c = 0; c < numOutputs; ++c) out[c] = outputs[c] + done;
    BindInputBuffers(0, InputRecordsCovering(numInputs), in, n);
    BindOutputBuffers(numOutputs, out);
    RunBound(accumulate ? BoundForm::SingleAccumulating : BoundForm::SingleReplacing, n,
             passThrough);
    done += n;
  }
  return true;
}

bool IFxBase::ProcessHostBuffers(double** inputs, int numInputs, double** outputs,
                                 int numOutputs, int frames, bool passThrough) {
  if (frames <= 0) return true;
  if (blockSize_ <= 0) return false;
  numInputs = std::clamp(numInputs, 0, NumInputChannels());
  numOutputs = std::clamp(numOutputs, 0, NumOutputChannels());
  if ((numInputs && !inputs) || (numOutputs && !outputs)) return false;
  PointUncoveredAtScratch(numInputs, numOutputs);
  double** in = sliceInputsD_.data();
  double** out = sliceOutputsD_.data();
  for (int done = 0; done < frames;) {
    const int n = std::min(blockSize_, frames - done);
    for (int c = 0; c < numInputs; ++c) in[c] = inputs[c] + done;
    for (int c = 0; c < numOutputs; ++c) out[c] = outputs[c] + done;
    BindInputBuffers(numInputs, in);
    BindOutputBuffers(numOutputs, out);
    RunBound(BoundForm::Double, n, passThrough);
    done += n;
  }
  return true;
}

// The single-precision input bind walks channel records, not host buffers:
// this many records hold the first `hostBuffers` connected channels, so an
// unconnected record in front never cuts a later channel off its buffer.
int IFxBase::InputRecordsCovering(int hostBuffers) const {
  int records = 0;
  for (int given = 0; records < NumInputChannels() && given < hostBuffers; ++records) {
    if (inputs_[records]->connected) ++given;
  }
  return records;
}

// A connected channel beyond the host's buffer count would otherwise keep a
// pointer into a buffer of an earlier call.
void IFxBase::PointUncoveredAtScratch(int numInputs, int numOutputs) {
  int covered = 0;
  for (auto& channel : inputs_) {
    if (!channel->connected) continue;
    if (covered++ >= numInputs) *channel->dataSlot = channel->scratch.data();
  }
  covered = 0;
  for (auto& channel : outputs_) {
    if (!channel->connected) continue;
    if (covered++ >= numOutputs) {
      *channel->dataSlot = channel->scratch.data();
      channel->hostDestination = nullptr;
    }
  }
}

void IFxBase::PassThroughBlock(int frames) {
  frames = ClampToBlock(frames);
  IFxBase::ProcessBlock(inputData_.data(), outputData_.data(), frames);
}

void IFxBase::ClearScratchBuffers() {
  for (auto& channel : inputs_) std::fill(channel->scratch.begin(), channel->scratch.end(), 0.0);
  for (auto& channel : outputs_) std::fill(channel->scratch.begin(), channel->scratch.end(), 0.0);
}
