// IFxVST: the processing callbacks and the plain parameter callbacks of the
// record. Each takes the instance's processing lock for the whole call.
#include <cmath>

#include "framework/graphics/IGraphics.h"
#include "framework/vst2/IFxVST.h"

void IFxVST::VSTProcess(AEffect* effect, float** inputs, float** outputs, VstInt32 frames) {
  IFxVST* plugin = FromEffect(effect);
  if (!plugin) return;
  ProcessLockGuard guard(plugin->Lock());
  plugin->ProcessSingle(inputs, outputs, frames, HostForm::Accumulating);
}

void IFxVST::VSTProcessReplacing(AEffect* effect, float** inputs, float** outputs,
                                 VstInt32 frames) {
  IFxVST* plugin = FromEffect(effect);
  if (!plugin) return;
  ProcessLockGuard guard(plugin->Lock());
  plugin->ProcessSingle(inputs, outputs, frames, HostForm::Replacing);
}

void IFxVST::VSTProcessDoubleReplacing(AEffect* effect, double** inputs, double** outputs,
                                       VstInt32 frames) {
  IFxVST* plugin = FromEffect(effect);
  if (!plugin) return;
  ProcessLockGuard guard(plugin->Lock());
  plugin->ProcessDouble(inputs, outputs, frames);
}

void IFxVST::VSTSetParameter(AEffect* effect, VstInt32 index, float value) {
  IFxVST* plugin = FromEffect(effect);
  if (!plugin) return;
  ProcessLockGuard guard(plugin->Lock());
  plugin->SetParameterFromHost(index, value);
}

float IFxVST::VSTGetParameter(AEffect* effect, VstInt32 index) {
  IFxVST* plugin = FromEffect(effect);
  if (!plugin) return 0.0f;
  ProcessLockGuard guard(plugin->Lock());
  const IParamRecord* param = plugin->GetParam(index);
  return param ? static_cast<float>(param->NormalizedValue()) : 0.0f;
}

int IFxVST::ConnectedInputs() {
  int n = 0;
  for (int i = 0; i < NumInputChannels(); ++i) n += InputChannel(i)->connected ? 1 : 0;
  return n;
}

int IFxVST::ConnectedOutputs() {
  int n = 0;
  for (int i = 0; i < NumOutputChannels(); ++i) n += OutputChannel(i)->connected ? 1 : 0;
  return n;
}

// The host hands one buffer per connected channel. A call longer than the
// block size is processed in block-size slices (the scratch buffers hold one
// block); a call of 0 frames still runs the effect over 0 frames.
void IFxVST::ProcessSingle(float** inputs, float** outputs, VstInt32 frames, HostForm form) {
  if (DoesMidi()) CallHost(audioMasterWantMidi, 0, 0, nullptr, 0.0f);
  const bool accumulate = form == HostForm::Accumulating;
  if (frames == 0) {
    ProcessBoundBuffers(accumulate ? BoundForm::SingleAccumulating : BoundForm::SingleReplacing,
                        0);
    return;
  }
  ProcessHostBuffers(inputs, ConnectedInputs(), outputs, ConnectedOutputs(), frames, accumulate);
}

void IFxVST::ProcessDouble(double** inputs, double** outputs, VstInt32 frames) {
  if (DoesMidi()) CallHost(audioMasterWantMidi, 0, 0, nullptr, 0.0f);
  if (frames == 0) {
    ProcessBoundBuffers(BoundForm::Double, 0);
    return;
  }
  ProcessHostBuffers(inputs, ConnectedInputs(), outputs, ConnectedOutputs(), frames);
}

// Hosts speak normalized values. One outside 0..1 is held to that range so
// that the plain value stays inside the parameter's; a NaN changes nothing.
void IFxVST::SetParameterFromHost(VstInt32 index, float value) {
  IParamRecord* param = GetParam(index);
  if (!param || std::isnan(value)) return;
  double normalized = value;
  if (normalized < 0.0) normalized = 0.0;
  if (normalized > 1.0) normalized = 1.0;
  if (IGraphics* editor = GetEditor()) editor->SetControlFromPlugin(index, normalized, true);
  param->ApplyNormalized(normalized);
  ParamChanged(index);
}
