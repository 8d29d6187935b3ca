#include "framework/vst3/IFxVST3.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "framework/graphics/IGraphics.h"
#include "framework/plugbase/HostIdentity.h"
#include "framework/plugbase/Trace.h"
#include "framework/vst3/IFxParameter.h"
#include "framework/vst3/Vst3Text.h"

using namespace vst3;

namespace {
constexpr int kDefaultBlockSize = 1024;

template <class Sample>
Sample** ChannelBuffers(const AudioBusBuffers& bus);
template <>
float** ChannelBuffers<float>(const AudioBusBuffers& bus) {
  return bus.channelBuffers32;
}
template <>
double** ChannelBuffers<double>(const AudioBusBuffers& bus) {
  return bus.channelBuffers64;
}

template <class Sample>
void SizePointers(std::vector<Sample*>& v, int n) {
  v.assign(static_cast<size_t>(n), nullptr);
}
}  // namespace

IFxVST3::IFxVST3(HostArgument, const char* effectName, const char* productName,
                 const char* makerName, uint32_t version, uint32_t uniqueId, uint32_t makerCode,
                 const char* channelConfig, int numParams, int numPresets, bool doesMidi,
                 bool doesStateChunks, bool isInstrument)
    : IFxBase(effectName, productName, makerName, version, uniqueId, makerCode, channelConfig,
              numParams, numPresets, doesMidi, doesStateChunks, isInstrument, kPluginFormatVST3),
      setup_{kRealtime, kSample32, kDefaultBlockSize, 44100.0},
      context_(),
      programList_(kProgramSelectParamId, "Factory Presets") {
  // The scratch buffers match the stored set-up from the start, so that a
  // host that processes before its first setupProcessing stays inside them.
  SetBlockSize(kDefaultBlockSize);
  SizePointers(pointers32_.inputs, NumInputChannels());
  SizePointers(pointers32_.outputs, NumOutputChannels());
  SizePointers(pointers64_.inputs, NumInputChannels());
  SizePointers(pointers64_.outputs, NumOutputChannels());
  for (int i = 0; i < NumInputChannels(); ++i) SetInputConnected(i, true);
  for (int i = 0; i < NumOutputChannels(); ++i) SetOutputConnected(i, true);
  InputBusNames().assign(1, "Main Input");
  OutputBusNames().assign(1, "Output");
}

SpeakerArrangement IFxVST3::ArrangementFor(int channels) {
  switch (channels) {
    case 1: return SpeakerArr::kMono;
    case 2: return SpeakerArr::kStereo;
    case 3: return SpeakerArr::k30Music;
    case 4: return SpeakerArr::k40Music;
    case 5: return SpeakerArr::k50;
    case 6: return SpeakerArr::k51;
    default: return SpeakerArr::kEmpty;
  }
}

// ---------------------------------------------------------------- set-up

tresult IFxVST3::initialize(FUnknown* context) {
  try {
    const tresult result = CombinedComponent::initialize(context);
    ProcessLockGuard guard(Lock());
    IdentifyHostFrom(context);
    if (result == kResultOk) RegisterBusesAndParameters();
    HostIdentified();
    LoadPreset(0);
    return result;
  } catch (const std::bad_alloc&) {
    return kOutOfMemory;
  }
}

// The host's name, narrowed to its low bytes, picks the host code.
void IFxVST3::IdentifyHostFrom(FUnknown* context) {
  if (!context) return;
  void* answer = nullptr;
  if (context->queryInterface(IHostApplication::iid.bytes, &answer) != kResultOk || !answer) {
    return;
  }
  IHostApplication* app = static_cast<IHostApplication*>(answer);
  String128 name = {};
  app->getName(name);
  name[127] = 0;
  char narrow[128];
  NarrowText(narrow, sizeof narrow, name);
  SetHost(IdentifyHost(narrow), 0);
  TORVA_TRACE_OP("IFxVST3::initialize", "%s %d", narrow, HostCode());
  app->release();
}

void IFxVST3::RegisterBusesAndParameters() {
  const int nIn = NumInputChannels();
  const int nOut = NumOutputChannels();
  if (nIn > 0 && nIn <= 6) {
    AddAudioBus(kInput, InputBusNames().empty() ? "" : InputBusNames()[0].c_str(),
                ArrangementFor(nIn), kMain, kDefaultActive);
  }
  AddAudioBus(kOutput, OutputBusNames().empty() ? "" : OutputBusNames()[0].c_str(),
              ArrangementFor(nOut), kMain, kDefaultActive);
  if (NumPresets() > 0) {
    AddParameter(std::make_unique<HostParameter>(kProgramSelectParamId, "Preset", NumPresets(),
                                                 0.0, kIsProgramChange, kRootUnitId));
  }
  AddParameter(std::make_unique<ListParameter>(
      kHostBypassParamId, "Bypass", std::vector<std::string>{"off", "on"}, 0,
      kCanAutomate | kIsList | kIsBypass, kRootUnitId));
  std::vector<std::string>& groups = GroupNames();
  for (int i = 0; i < NumParams(); ++i) {
    const IParamRecord* record = GetParam(i);
    UnitID unit = kRootUnitId;
    if (record->group[0] != '\0') {
      for (size_t g = 0; g < groups.size(); ++g) {
        if (groups[g] == record->group) unit = static_cast<UnitID>(g + 1);
      }
      if (unit == kRootUnitId) {
        groups.emplace_back(record->group);
        unit = static_cast<UnitID>(groups.size());
      }
    }
    AddParameter(std::make_unique<IFxParameter>(record, static_cast<ParamID>(i), unit));
  }
}

tresult IFxVST3::setActive(TBool state) {
  ActivationChanged(state != 0);
  return kResultOk;
}

tresult IFxVST3::setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                    SpeakerArrangement* outputs, int32 numOuts) {
  try {
    ProcessLockGuard guard(Lock());
    for (int i = 0; i < NumInputChannels(); ++i) SetInputConnected(i, false);
    for (int i = 0; i < NumOutputChannels(); ++i) SetOutputConnected(i, false);
    if (numIns <= 0 || numOuts <= 0 || !inputs || !outputs) return kResultFalse;
    const int in = SpeakerCount(inputs[0]);
    const int out = SpeakerCount(outputs[0]);
    if (!LegalIO(in, out)) return kResultFalse;
    std::vector<AudioBus>& inBuses = Buses(kInput);
    if (!inBuses.empty() && SpeakerCount(inBuses[0].arrangement) != in) {
      RemoveAudioBuses(kInput);
      AddAudioBus(kInput, "Input", ArrangementFor(in), kMain, kDefaultActive);
    }
    std::vector<AudioBus>& outBuses = Buses(kOutput);
    if (!outBuses.empty() && SpeakerCount(outBuses[0].arrangement) != out) {
      RemoveAudioBuses(kOutput);
      AddAudioBus(kOutput, "Output", ArrangementFor(out), kMain, kDefaultActive);
    }
    return numIns != 1 ? kResultFalse : kResultOk;
  } catch (const std::bad_alloc&) {
    return kOutOfMemory;
  }
}

tresult IFxVST3::canProcessSampleSize(int32 symbolicSampleSize) {
  return (symbolicSampleSize == kSample32 || symbolicSampleSize == kSample64) ? kResultOk
                                                                              : kResultFalse;
}

uint32 IFxVST3::getLatencySamples() { return static_cast<uint32>(GetLatency()); }

uint32 IFxVST3::getTailSamples() { return static_cast<uint32>(GetTailSize()); }

tresult IFxVST3::setupProcessing(ProcessSetup& setup) {
  if (canProcessSampleSize(setup.symbolicSampleSize) != kResultOk) return kResultFalse;
  ProcessLockGuard guard(Lock());
  try {
    SetBlockSize(setup.maxSamplesPerBlock);
  } catch (const std::bad_alloc&) {
    // The buffers that did grow are larger than the block size still in
    // force, so processing stays inside them.
    return kOutOfMemory;
  }
  SetSampleRate(setup.sampleRate);
  SetBypassed(false);
  ResetProcessing();
  setup_ = setup;
  return kResultOk;
}

// ---------------------------------------------------------------- process

tresult IFxVST3::process(ProcessData& data) {
  try {
    ProcessLockGuard guard(Lock());
    if (data.processContext) context_ = *data.processContext;
    ApplyParameterChanges(data.inputParameterChanges);
    // The block's own sample size says which buffer type the host passed; a
    // block that contradicts the set-up is not read as the other type.
    if (data.symbolicSampleSize != setup_.symbolicSampleSize) return kResultOk;
    if (setup_.symbolicSampleSize == kSample32) {
      ProcessAudio<float>(data);
    } else if (setup_.symbolicSampleSize == kSample64) {
      ProcessAudio<double>(data);
    }
  } catch (const std::bad_alloc&) {
    // Only the first load of a preset allocates here (it captures the live
    // state); the block is dropped rather than letting the failure escape.
  }
  return kResultOk;
}

// Only the last point of each queue counts; all of a block's changes apply
// before its audio.
void IFxVST3::ApplyParameterChanges(IParameterChanges* changes) {
  if (!changes) return;
  const int32 count = changes->getParameterCount();
  for (int32 q = 0; q < count; ++q) {
    IParamValueQueue* queue = changes->getParameterData(q);
    if (!queue) continue;
    const int32 points = queue->getPointCount();
    int32 offset = 0;
    ParamValue value = 0.0;
    if (points <= 0 || queue->getPoint(points - 1, offset, value) != kResultOk) continue;
    const ParamID id = queue->getParameterId();
    if (id == kHostBypassParamId) {
      SetBypassed(value > 0.5);
    } else if (id == kProgramSelectParamId) {
      // The index is trunc(value x presets): 1.0 names no preset, and
      // neither does any value that truncates outside the list.
      const double index = std::trunc(value * NumPresets());
      if (index >= 0.0 && index < NumPresets()) LoadPreset(static_cast<int>(index));
    } else if (IsParamRecordId(id)) {
      const int index = static_cast<int>(id);
      GetParam(index)->ApplyNormalized(value);
      if (IGraphics* editor = GetEditor()) editor->SetControlFromPlugin(index, value, true);
      ParamChanged(index);
    }
  }
}

// Input bus 0 feeds the input channel records in order. A channel without a
// host pointer is left unconnected and reads its scratch buffer.
template <class Sample>
int IFxVST3::ConnectInputs(const ProcessData& data, HostPointers<Sample>& host) {
  const int records = NumInputChannels();
  int count = 0;
  Sample** buffers = nullptr;
  int n = 0;
  if (data.numInputs > 0 && data.inputs) {
    buffers = ChannelBuffers<Sample>(data.inputs[0]);
    n = buffers ? std::max(data.inputs[0].numChannels, 0) : 0;
  }
  for (int i = 0; i < records; ++i) {
    const bool connected = i < n && buffers[i] != nullptr;
    SetInputConnected(i, connected);
    if (connected) host.inputs[count++] = buffers[i];
  }
  return count;
}

// Each declared output bus takes the next records for its channels,
// connected while the bus is active; records no bus covers are unconnected
// and write into their scratch buffers.
template <class Sample>
int IFxVST3::ConnectOutputs(const ProcessData& data, HostPointers<Sample>& host) {
  const int records = NumOutputChannels();
  int record = 0;
  int count = 0;
  const int declared = static_cast<int>(Buses(kOutput).size());
  const int buses = data.outputs ? std::min(std::max(data.numOutputs, 0), declared) : 0;
  for (int b = 0; b < buses && record < records; ++b) {
    const AudioBusBuffers& bus = data.outputs[b];
    Sample** buffers = ChannelBuffers<Sample>(bus);
    const int n = buffers ? std::max(bus.numChannels, 0) : 0;
    const bool active = Buses(kOutput)[b].active;
    for (int c = 0; c < n && record < records; ++c, ++record) {
      const bool connected = active && buffers[c] != nullptr;
      SetOutputConnected(record, connected);
      if (connected) host.outputs[count++] = buffers[c];
    }
  }
  for (; record < records; ++record) SetOutputConnected(record, false);
  return count;
}

// The core processes calls longer than the block size in block-size slices,
// so that no scratch buffer is ever overrun.
template <class Sample>
void IFxVST3::ProcessAudio(ProcessData& data) {
  HostPointers<Sample>& host = PointersFor(static_cast<Sample*>(nullptr));
  const int numInputs = ConnectInputs(data, host);
  const int numOutputs = ConnectOutputs(data, host);
  if constexpr (sizeof(Sample) == sizeof(float)) {
    ProcessHostBuffers(host.inputs.data(), numInputs, host.outputs.data(), numOutputs,
                       data.numSamples, false, IsBypassed());
  } else {
    ProcessHostBuffers(host.inputs.data(), numInputs, host.outputs.data(), numOutputs,
                       data.numSamples, IsBypassed());
  }
}

// ---------------------------------------------------------------- state

tresult IFxVST3::getEditorState(IBStream* stream) {
  if (!stream) return kResultFalse;
  try {
    ProcessLockGuard guard(Lock());
    StateChunk chunk;
    if (!SerializeState(chunk)) return kResultFalse;
    int32 written = 0;
    if (chunk.Size() > 0) stream->write(chunk.Data(), chunk.Size(), &written);
    int32 flag = IsBypassed() ? 1 : 0;
    stream->write(&flag, 4, &written);
    return kResultOk;
  } catch (const std::bad_alloc&) {
    return kOutOfMemory;
  }
}

// The chunk starts out as the live state and the stream's bytes overwrite it
// from the front: whatever a short stream does not deliver keeps its live
// value. A failed read of the bypass flag is reported while the parameters
// stay as read.
tresult IFxVST3::setEditorState(IBStream* stream) {
  if (!stream) return kResultFalse;
  try {
    ProcessLockGuard guard(Lock());
    StateChunk chunk;
    SerializeState(chunk);
    const int size = chunk.Size();
    if (size == 0) return kResultFalse;
    int32 got = 0;
    stream->read(chunk.Data(), size, &got);
    UnserializeState(chunk, 0);
    int32 flag = 0;
    if (stream->read(&flag, 4, &got) != kResultOk) return kResultFalse;
    SetBypassed(flag != 0);
    RefreshEditorControls();
    return kResultOk;
  } catch (const std::bad_alloc&) {
    return kOutOfMemory;
  }
}

// ---------------------------------------------------------------- parameters

tresult IFxVST3::getParamStringByValue(ParamID id, ParamValue valueNormalized, String128 string) {
  if (!string || !IsParamRecordId(id)) return kResultFalse;
  try {
    const IParamRecord* record = GetParam(static_cast<int>(id));
    WidenText(string, 128, record->FormatValueText(valueNormalized, true, true).c_str());
    return kResultOk;
  } catch (const std::bad_alloc&) {
    return kOutOfMemory;
  }
}

tresult IFxVST3::getParamValueByString(ParamID id, TChar* string, ParamValue& valueNormalized) {
  HostParameter* parameter = FindParameter(id);
  if (!parameter || !string) return kResultFalse;
  return parameter->FromString(string, valueNormalized) ? kResultOk : kResultFalse;
}

ParamValue IFxVST3::normalizedParamToPlain(ParamID id, ParamValue valueNormalized) {
  HostParameter* parameter = FindParameter(id);
  return parameter ? parameter->ToPlain(valueNormalized) : valueNormalized;
}

ParamValue IFxVST3::plainParamToNormalized(ParamID id, ParamValue plainValue) {
  if (!IsParamRecordId(id)) return plainValue;
  return GetParam(static_cast<int>(id))->NormalizedFromPlain(plainValue);
}

// Live values change on the audio thread under the processing lock; reading
// and writing them here under the same lock keeps every access whole and
// ordered with the block that uses it.
ParamValue IFxVST3::getParamNormalized(ParamID id) {
  if (id == kHostBypassParamId) {
    ProcessLockGuard guard(Lock());
    return IsBypassed() ? 1.0 : 0.0;
  }
  if (!IsParamRecordId(id)) return 0.0;
  ProcessLockGuard guard(Lock());
  return GetParam(static_cast<int>(id))->NormalizedValue();
}

tresult IFxVST3::setParamNormalized(ParamID id, ParamValue value) {
  if (!IsParamRecordId(id)) return kResultFalse;
  ProcessLockGuard guard(Lock());
  GetParam(static_cast<int>(id))->ApplyNormalized(value);
  return kResultOk;
}

IPlugView* IFxVST3::createView(FIDString) { return nullptr; }

// ---------------------------------------------------------------- units

int32 IFxVST3::getUnitCount() { return static_cast<int32>(GroupNames().size()) + 1; }

tresult IFxVST3::getUnitInfo(int32 unitIndex, UnitInfo& info) {
  const int32 groups = static_cast<int32>(GroupNames().size());
  if (unitIndex < 0 || unitIndex > groups) return kResultFalse;
  info.id = unitIndex;
  info.parentUnitId = unitIndex == 0 ? kNoParentUnitId : kRootUnitId;
  WidenText(info.name, 128, unitIndex == 0 ? "Root Unit" : GroupNames()[unitIndex - 1].c_str());
  info.programListId = kNoProgramListId;
  return kResultOk;
}

tresult IFxVST3::getProgramListInfo(int32 listIndex, ProgramListInfo& info) {
  if (listIndex != 0) return kResultFalse;
  programList_.FillInfo(NumPresets(), info);
  return kResultOk;
}

tresult IFxVST3::getProgramName(ProgramListID listId, int32 programIndex, String128 name) {
  if (listId != programList_.Id() || !name) return kResultFalse;
  // Preset names change when a preset is first loaded, which can happen on
  // the audio thread.
  ProcessLockGuard guard(Lock());
  IPresetSlot* preset = GetPreset(programIndex);
  WidenText(name, 128, preset ? preset->name : "");
  return kResultOk;
}

// ---------------------------------------------------------------- hooks

void IFxVST3::BeginParameterEdit(int index) { BeginEdit(static_cast<ParamID>(index)); }

void IFxVST3::InformHostOfParameterChange(int index, double normalized) {
  PerformEdit(static_cast<ParamID>(index), normalized);
}

void IFxVST3::EndParameterEdit(int index) { EndEdit(static_cast<ParamID>(index)); }

bool IFxVST3::IsOfflineRendering() { return setup_.processMode == kOffline; }

int32_t IFxVST3::GetSamplePosition() {
  return static_cast<int32_t>(static_cast<uint32_t>(context_.projectTimeSamples & 0xFFFFFFFF));
}

double IFxVST3::GetTempo() { return context_.tempo; }

void IFxVST3::GetTimeSignature(int* numerator, int* denominator) {
  if (numerator) *numerator = context_.timeSigNumerator;
  if (denominator) *denominator = context_.timeSigDenominator;
}

// The context's validity bits are not consulted.
void IFxVST3::GetTransportInfo(ITransportInfo* info) {
  if (!info) return;
  info->tempo = context_.tempo;
  info->samplePosition = static_cast<double>(context_.projectTimeSamples);
  info->ppqPosition = context_.projectTimeMusic;
  info->lastBarPosition = context_.barPositionMusic;
  info->cycleStart = context_.cycleStartMusic;
  info->cycleEnd = context_.cycleEndMusic;
  info->numerator = context_.timeSigNumerator;
  info->denominator = context_.timeSigDenominator;
  info->transportPlaying = (context_.state & kPlaying) != 0;
  info->cycleActive = (context_.state & kCycleActive) != 0;
}
