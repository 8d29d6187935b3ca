#include "framework/offline/IFxOffline.h"

// Offline instances report their own format code; only the editor reads it.
static constexpr int32_t kPluginFormatOffline = 2;

IFxOffline::IFxOffline(HostArgument, const char* effectName, const char* productName,
                       const char* makerName, uint32_t version, uint32_t uniqueId,
                       uint32_t makerCode, const char* channelConfig, int numParams,
                       int numPresets, bool doesMidi, bool doesStateChunks, bool isInstrument)
    : IFxBase(effectName, productName, makerName, version, uniqueId, makerCode, channelConfig,
              numParams, numPresets, doesMidi, doesStateChunks, isInstrument,
              kPluginFormatOffline) {}

bool IFxOffline::Prepare(double sampleRate, int blockSize, int channels) {
  if (sampleRate <= 0.0 || blockSize <= 0 || !LegalIO(channels, channels)) return false;
  ProcessLockGuard guard(Lock());
  SetSampleRate(sampleRate);
  SetBlockSize(blockSize);
  for (int i = 0; i < NumInputChannels(); ++i) SetInputConnected(i, i < channels);
  for (int i = 0; i < NumOutputChannels(); ++i) SetOutputConnected(i, i < channels);
  channels_ = channels;
  ResetProcessing();
  for (int i = 0; i < NumParams(); ++i) ParamChanged(i);
  return true;
}

bool IFxOffline::Process(double** inputs, double** outputs, int frames) {
  ProcessLockGuard guard(Lock());
  return ProcessHostBuffers(inputs, channels_, outputs, channels_, frames);
}

bool IFxOffline::Process(float** inputs, float** outputs, int frames) {
  ProcessLockGuard guard(Lock());
  return ProcessHostBuffers(inputs, channels_, outputs, channels_, frames, false);
}

void IFxOffline::SetPlainValue(int index, double plain) {
  ProcessLockGuard guard(Lock());
  IParamRecord* param = GetParam(index);
  if (!param) return;
  param->SetPlainClamped(plain);
  ParamChanged(index);
}

void IFxOffline::SetNormalizedValue(int index, double normalized) {
  ProcessLockGuard guard(Lock());
  IParamRecord* param = GetParam(index);
  if (!param) return;
  param->ApplyNormalized(normalized);
  ParamChanged(index);
}

void IFxOffline::GetTimeSignature(int* numerator, int* denominator) {
  if (numerator) *numerator = 4;
  if (denominator) *denominator = 4;
}
