#pragma once
// One plug-in instance as a host drives it: created through the loaded
// module's factory, its component, processor and controller interfaces
// queried from the one object, initialized with a host context.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/vst3/HostObjects.h"
#include "tests/vst3/ModuleLoader.h"

namespace host {

// The module stays loaded for the whole test program; null when it could
// not be loaded (the tests then fail with the path in the message).
ModuleLoader* SharedModule();

constexpr ParamID kProgramSelectParamId = 0x70727374;
constexpr ParamID kHostBypassParamId = 0x62706173;

// The class id of the effect as the platform's factory must report it.
Uid ExpectedClassId();

struct PluginSession {
  PluginSession();
  ~PluginSession();
  PluginSession(const PluginSession&) = delete;
  PluginSession& operator=(const PluginSession&) = delete;

  bool Ok() const { return component && processor && controller && units; }

  // setBusArrangements with n in and n out, setupProcessing, output bus
  // active, setActive(true).
  void Prepare(int channels, int sampleSize, int maxBlock, double sampleRate = 44100.0);
  // One process call over non-interleaved host buffers.
  template <class Sample>
  tresult Process(std::vector<std::vector<Sample>>& in, std::vector<std::vector<Sample>>& out,
                  int frames, IParameterChanges* changes = nullptr,
                  ProcessContext* context = nullptr);

  std::string ParamString(ParamID id, double normalized);

  HostApplication application{"REAPER"};
  IComponent* component = nullptr;
  IAudioProcessor* processor = nullptr;
  IEditController* controller = nullptr;
  IUnitInfo* units = nullptr;
  int sampleSize = kSample32;
};

template <class Sample>
tresult PluginSession::Process(std::vector<std::vector<Sample>>& in,
                               std::vector<std::vector<Sample>>& out, int frames,
                               IParameterChanges* changes, ProcessContext* context) {
  std::vector<Sample*> inPtrs, outPtrs;
  for (auto& c : in) inPtrs.push_back(c.data());
  for (auto& c : out) outPtrs.push_back(c.data());
  AudioBusBuffers inBus{};
  inBus.numChannels = static_cast<int32>(inPtrs.size());
  AudioBusBuffers outBus{};
  outBus.numChannels = static_cast<int32>(outPtrs.size());
  if constexpr (sizeof(Sample) == 4) {
    inBus.channelBuffers32 = inPtrs.data();
    outBus.channelBuffers32 = outPtrs.data();
  } else {
    inBus.channelBuffers64 = inPtrs.data();
    outBus.channelBuffers64 = outPtrs.data();
  }
  ProcessData data{};
  data.processMode = kRealtime;
  data.symbolicSampleSize = sizeof(Sample) == 4 ? kSample32 : kSample64;
  data.numSamples = frames;
  data.numInputs = 1;
  data.numOutputs = 1;
  data.inputs = &inBus;
  data.outputs = &outBus;
  data.inputParameterChanges = changes;
  data.processContext = context;
  return processor->process(data);
}

// A deterministic guitar-like test signal, different per channel.
std::vector<std::vector<double>> TestSignal(int channels, int frames);

}  // namespace host
