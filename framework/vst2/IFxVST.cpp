// IFxVST: construction, the record, and the operations that call the host.
#include "framework/vst2/IFxVST.h"

#include <string>

#include "framework/plugbase/HostIdentity.h"
#include "framework/plugbase/PackedVersion.h"
#include "framework/plugbase/Trace.h"

namespace {
VstInt32 ArrangementTypeFor(int channels) {
  if (channels == 0) return kSpeakerArrEmpty;
  if (channels == 1) return kSpeakerArrMono;
  if (channels == 2) return kSpeakerArrStereo;
  return kSpeakerArrUserDefined;
}

// The flags the transport query asks for and tests: ppq position, tempo,
// bars, cycle and time signature.
constexpr VstInt32 kTransportMask =
    kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstCyclePosValid | kVstTimeSigValid;
static_assert(kTransportMask == 0x3E00, "transport request mask");
}  // namespace

IFxVST::IFxVST(HostArgument host, const char* effectName, const char* productName,
               const char* makerName, uint32_t version, uint32_t uniqueId, uint32_t makerCode,
               const char* channelConfig, int numParams, int numPresets, bool doesMidi,
               bool doesStateChunks, bool isInstrument)
    : IFxBase(effectName, productName, makerName, version, uniqueId, makerCode, channelConfig,
              numParams, numPresets, doesMidi, doesStateChunks, isInstrument, kPluginFormatVST2),
      host_(host) {
  effect_.magic = kEffectMagic;
  effect_.dispatcher = &IFxVST::VSTDispatcher;
  effect_.process = &IFxVST::VSTProcess;
  effect_.setParameter = &IFxVST::VSTSetParameter;
  effect_.getParameter = &IFxVST::VSTGetParameter;
  effect_.processReplacing = &IFxVST::VSTProcessReplacing;
  effect_.processDoubleReplacing = &IFxVST::VSTProcessDoubleReplacing;
  effect_.object = this;
  effect_.numPrograms = NumPresets();
  effect_.numParams = NumParams();
  effect_.numInputs = NumInputChannels();
  effect_.numOutputs = NumOutputChannels();
  effect_.uniqueID = static_cast<VstInt32>(uniqueId);
  effect_.version = DecimalFromPackedVersion(version);
  effect_.ioRatio = 1.0f;
  effect_.initialDelay = 0;
  effect_.flags = effFlagsCanReplacing | effFlagsCanDoubleReplacing;
  if (LegalIO(1, -1)) effect_.flags |= effFlagsCanMono;

  inputArrangement_.type = ArrangementTypeFor(NumInputChannels());
  inputArrangement_.numChannels = NumInputChannels();
  outputArrangement_.type = ArrangementTypeFor(NumOutputChannels());
  outputArrangement_.numChannels = NumOutputChannels();

  for (int i = 0; i < NumInputChannels(); ++i) SetInputConnected(i, true);
  for (int i = 0; i < NumOutputChannels(); ++i) SetOutputConnected(i, true);
  SetBlockSize(1024);
}

IFxVST::~IFxVST() {
  programChunk_.Clear();
  bankChunk_.Clear();
}

void IFxVST::FinishCreation() {
  FillDefaultPresets("Empty", NumPresets());
  if (effect_.numPrograms < 1) effect_.numPrograms = 1;
}

IFxVST* IFxVST::FromEffect(AEffect* effect) {
  return effect ? static_cast<IFxVST*>(effect->object) : nullptr;
}

VstIntPtr IFxVST::CallHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                           float opt) {
  return host_ ? host_(&effect_, opcode, index, value, ptr, opt) : 0;
}

const VstTimeInfo* IFxVST::HostTime(VstInt32 mask) {
  return reinterpret_cast<const VstTimeInfo*>(CallHost(audioMasterGetTime, 0, mask, nullptr, 0.0f));
}

void IFxVST::BeginParameterEdit(int index) {
  CallHost(audioMasterBeginEdit, index, 0, nullptr, 0.0f);
}

void IFxVST::InformHostOfParameterChange(int index, double normalized) {
  CallHost(audioMasterAutomate, index, 0, nullptr, static_cast<float>(normalized));
}

void IFxVST::EndParameterEdit(int index) { CallHost(audioMasterEndEdit, index, 0, nullptr, 0.0f); }

void IFxVST::NotifyHostOfProgramChange() {
  CallHost(audioMasterUpdateDisplay, 0, 0, nullptr, 0.0f);
}

bool IFxVST::IsOfflineRendering() {
  return CallHost(audioMasterGetCurrentProcessLevel, 0, 0, nullptr, 0.0f) ==
         kVstProcessLevelOffline;
}

int32_t IFxVST::GetSamplePosition() {
  const VstTimeInfo* time = HostTime(0);
  if (!time || !(time->samplePos >= 0.0)) return 0;
  // Positions past 2^31 samples (about 13 hours at 44.1 kHz) saturate rather
  // than overflow the conversion.
  const double rounded = time->samplePos + 0.5;
  if (rounded >= 2147483647.0) return INT32_MAX;
  return static_cast<int32_t>(rounded);
}

double IFxVST::GetTempo() {
  const VstTimeInfo* time = HostTime(kVstTempoValid);
  if (!time || !(time->flags & kVstTempoValid) || !(time->tempo >= 0.0)) return 0.0;
  return time->tempo;
}

void IFxVST::GetTimeSignature(int* numerator, int* denominator) {
  if (numerator) *numerator = 0;
  if (denominator) *denominator = 0;
  const VstTimeInfo* time = HostTime(kVstTimeSigValid);
  if (!time || !(time->flags & kVstTimeSigValid)) return;
  if (time->timeSigNumerator < 0 || time->timeSigDenominator < 0) return;
  if (numerator) *numerator = time->timeSigNumerator;
  if (denominator) *denominator = time->timeSigDenominator;
}

void IFxVST::GetTransportInfo(ITransportInfo* info) {
  if (!info) return;
  const VstTimeInfo* time = HostTime(kTransportMask);
  if (!time || !(time->flags & kTransportMask)) return;
  info->samplePosition = time->samplePos;
  if ((time->flags & kVstPpqPosValid) && time->ppqPos >= 0.0) info->ppqPosition = time->ppqPos;
  if ((time->flags & kVstTempoValid) && time->tempo > 0.0) info->tempo = time->tempo;
  if ((time->flags & kVstBarsValid) && time->barStartPos >= 0.0) {
    info->lastBarPosition = time->barStartPos;
  }
  if ((time->flags & kVstCyclePosValid) && time->cycleStartPos >= 0.0 &&
      time->cycleEndPos >= 0.0) {
    info->cycleStart = time->cycleStartPos;
    info->cycleEnd = time->cycleEndPos;
  }
  if ((time->flags & kVstTimeSigValid) && time->timeSigNumerator > 0 &&
      time->timeSigDenominator > 0) {
    info->numerator = time->timeSigNumerator;
    info->denominator = time->timeSigDenominator;
  }
  info->transportPlaying = (time->flags & kVstTransportPlaying) != 0;
  info->cycleActive = (time->flags & kVstTransportCycleActive) != 0;
}

int32_t IFxVST::GetHost() {
  // Two threads asking first must not both identify the host and write the
  // stored code at once.
  ProcessLockGuard guard(Lock());
  if (HostCode() != kHostNotIdentified) return HostCode();
  char product[256];
  product[0] = '\0';
  CallHost(audioMasterGetProductString, 0, 0, product, 0.0f);
  // A host that fills the whole buffer without a terminator still leaves us
  // a terminated text.
  product[sizeof product - 1] = '\0';
  uint32_t hostVersion = 0;
  if (product[0] != '\0') {
    const VstIntPtr decimal = CallHost(audioMasterGetVendorVersion, 0, 0, nullptr, 0.0f);
    hostVersion = PackedVersionFromDecimal(static_cast<int32_t>(decimal));
  }
  SetHost(IdentifyHost(product), hostVersion);
  TORVA_TRACE_OP("IFxVST::GetHost", "%d %s %s", HostCode(), product,
                 FormatVersionText(hostVersion).c_str());
  return HostCode();
}

bool IFxVST::SendMidiMessage(const IMidiMessage& message) {
  VstMidiEvent event = {};
  event.type = kVstMidiType;
  event.byteSize = static_cast<VstInt32>(sizeof event);
  event.deltaFrames = message.offset;
  event.midiData[0] = static_cast<char>(message.status);
  event.midiData[1] = static_cast<char>(message.data1);
  event.midiData[2] = static_cast<char>(message.data2);
  VstEvents events = {};
  events.numEvents = 1;
  events.events[0] = reinterpret_cast<VstEvent*>(&event);
  events.events[1] = nullptr;
  return CallHost(audioMasterProcessEvents, 0, 0, &events, 0.0f) == 1;
}

bool IFxVST::SendSysExMessage(const ISysExMessage& message) {
  VstMidiSysexEvent event = {};
  event.type = kVstSysExType;
  event.byteSize = static_cast<VstInt32>(sizeof event);
  event.deltaFrames = message.offset;
  event.dumpBytes = message.size;
  event.sysexDump = const_cast<char*>(reinterpret_cast<const char*>(message.data));
  VstEvents events = {};
  events.numEvents = 1;
  events.events[0] = reinterpret_cast<VstEvent*>(&event);
  events.events[1] = nullptr;
  return CallHost(audioMasterProcessEvents, 0, 0, &events, 0.0f) == 1;
}

void IFxVST::PrepareForHost() {
  if (hostPrepared_) return;
  hostPrepared_ = true;
  const int32_t host = GetHost();
  // These hosts hand buffers to every output pin but to no input pin beyond
  // the first pair.
  if (host == 15 || host == 17 || host == 19 || host == 20) {
    for (int i = 2; i < NumInputChannels(); ++i) SetInputConnected(i, false);
    for (int i = 2; i < NumOutputChannels(); ++i) SetOutputConnected(i, true);
  }
  effect_.numInputs = inputArrangement_.numChannels = NumInputChannels();
  effect_.numOutputs = outputArrangement_.numChannels = NumOutputChannels();
  HostIdentified();
}

void IFxVST::UpdateEditorSize(int width, int height) {
  if (!GetEditor()) return;
  editorRect_.top = 0;
  editorRect_.left = 0;
  editorRect_.bottom = static_cast<VstInt16>(height);
  editorRect_.right = static_cast<VstInt16>(width);
  EditorResized(nullptr);
}

void IFxVST::SetLatency(int samples) {
  IFxBase::SetLatency(samples);
  effect_.initialDelay = samples;
}
