#pragma once
#include "framework/plugbase/IFxBase.h"

// The binding for running an effect without a host: tests, benchmarks and the
// command-line renderer. Host-facing hooks do nothing; the caller plays the
// host (sample rate, block size, channel counts, parameter values).
//
// Threads: whoever owns the instance; every entry takes the processing lock.
class IFxOffline : public IFxBase {
 public:
  // Offline instances have no host behind them.
  using HostArgument = void*;

  IFxOffline(HostArgument host, const char* effectName, const char* productName,
             const char* makerName, uint32_t version, uint32_t uniqueId, uint32_t makerCode,
             const char* channelConfig, int numParams, int numPresets, bool doesMidi,
             bool doesStateChunks, bool isInstrument);

  // Sets the sample rate and block size, connects `channels` inputs and
  // outputs (false when no channel configuration allows that count) and hands
  // every parameter's value to ParamChanged, as a host does before the first
  // block.
  bool Prepare(double sampleRate, int blockSize, int channels);

  // Processes one host call of any length (split into block-size slices).
  // Buffers may be the same memory for input and output of a channel.
  bool Process(double** inputs, double** outputs, int frames);
  bool Process(float** inputs, float** outputs, int frames);

  // Sets a parameter from a plain value the way a host's text entry does.
  void SetPlainValue(int index, double plain);
  // Sets a parameter from a normalized value the way host automation does.
  void SetNormalizedValue(int index, double normalized);

  void BeginParameterEdit(int) override {}
  void InformHostOfParameterChange(int, double) override {}
  void EndParameterEdit(int) override {}
  void NotifyHostOfProgramChange() override {}
  int32_t GetSamplePosition() override { return 0; }
  double GetTempo() override { return 0.0; }
  void GetTimeSignature(int* numerator, int* denominator) override;
  void GetTransportInfo(ITransportInfo*) override {}
  void UpdateEditorSize(int, int) override {}
  bool SendMidiMessage(const IMidiMessage&) override { return false; }
  bool IsOfflineRendering() override { return true; }

 private:
  int channels_ = 0;
};

// Defined by the effect: creates the one plug-in class of this build.
IFxOffline* CreatePluginInstance(IFxOffline::HostArgument host);
