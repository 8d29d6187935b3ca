// IFxVST: the dispatcher, the single entry for every host request other than
// audio and plain parameter values.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "framework/graphics/IGraphics.h"
#include "framework/plugbase/FixedText.h"
#include "framework/plugbase/PackedVersion.h"
#include "framework/plugbase/Trace.h"
#include "framework/vst2/IFxVST.h"

namespace {
// The host never says how large the buffer behind ptr is. Texts are cut to
// the published limits, with one exception: parameter names may use 31
// characters, because the published 8 would cut the effect's own names and
// every host we know of passes at least 64 bytes for them.
constexpr size_t kEffectNameBytes = kVstMaxEffectNameLen + 1;
constexpr size_t kVendorBytes = kVstMaxVendorStrLen + 1;
constexpr size_t kProductBytes = kVstMaxProductStrLen + 1;
constexpr size_t kProgramNameBytes = kVstMaxProgNameLen + 1;
constexpr size_t kParamNameBytes = 32;
constexpr size_t kParamTextBytes = kVstMaxParamStrLen + 1;

constexpr VstIntPtr kVendorSpecificYes = 0xBEEF;
constexpr VstIntPtr kCanDoHostExtension = 0xBEEF0000;

bool ValidIndex(VstIntPtr index, int count) { return index >= 0 && index < count; }

int ToIndex(VstIntPtr value) {
  return (value >= INT32_MIN && value <= INT32_MAX) ? static_cast<int>(value) : -1;
}

// Where the body of a chunk starts (or -1) and its format version.
void ReadChunkHeader(const StateChunk& chunk, int* bodyPos, int32_t* version) {
  int32_t magic = 0;
  *bodyPos = 0;
  *version = 0;
  if (chunk.GetInt32(&magic, 0) < 0 || magic != IFxBase::kChunkMagic) return;
  if (chunk.GetInt32(version, 4) < 0) {
    *bodyPos = -1;
    *version = 0;
    return;
  }
  *bodyPos = 8;
}
}  // namespace

VstIntPtr IFxVST::VSTDispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                VstIntPtr value, void* ptr, float opt) {
  IFxVST* plugin = FromEffect(effect);
  if (!plugin) return 0;
  if (opcode == effClose) {
    // The lock is part of the instance: wait for whoever holds it, then let
    // it go before the instance goes.
    { ProcessLockGuard guard(plugin->Lock()); }
    delete plugin;
    return 0;
  }
  ProcessLockGuard guard(plugin->Lock());
  // Nothing may be thrown across the host interface; a request that runs out
  // of memory fails with 0.
  try {
    return plugin->Dispatch(opcode, index, value, ptr, opt);
  } catch (...) {
    return 0;
  }
}

VstIntPtr IFxVST::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                           float opt) {
  char* text = static_cast<char*>(ptr);
  switch (opcode) {
    case effOpen:
      PrepareForHost();
      for (int i = 0; i < NumParams(); ++i) ParamChanged(i);
      return 0;
    case effSetProgram:
      if (!DoesStateChunks()) ModifyCurrentPreset(nullptr);
      LoadPreset(ToIndex(value));
      return 0;
    case effGetProgram:
      return CurrentPresetIndex();
    case effSetProgramName:
      if (text) {
        ModifyCurrentPreset(text);
        OnPresetChanged();
      }
      return 0;
    case effGetProgramName:
      if (text) {
        const IPresetSlot* preset = GetPreset(CurrentPresetIndex());
        CopyFixedText(text, kProgramNameBytes, preset ? preset->name : "");
      }
      return 0;
    case effGetParamLabel:
      if (text && ValidIndex(index, NumParams())) {
        CopyFixedText(text, kParamTextBytes, GetParam(index)->UnitText().c_str());
      }
      return 0;
    case effGetParamDisplay:
      if (text && ValidIndex(index, NumParams())) {
        WriteValueText(index, GetParam(index)->value, false, text);
      }
      return 0;
    case effGetParamName:
      if (text && ValidIndex(index, NumParams())) {
        CopyFixedText(text, kParamNameBytes, GetParam(index)->name);
      }
      return 0;
    case effSetSampleRate:
      SetSampleRateFromHost(opt);
      return 0;
    case effSetBlockSize:
      SetBlockSizeFromHost(value);
      return 0;
    case effMainsChanged:
      if (value == 0) {
        ActivationChanged(false);
        ResetProcessing();
      } else {
        ActivationChanged(true);
      }
      return 0;
    // The module has no editor window yet: the editor requests answer "no
    // editor" and effFlagsHasEditor stays clear.
    case effEditGetRect:
    case effEditOpen:
    case effEditClose:
      return 0;
    case effEditIdle:
      return 0;
    case effIdentify:
      return kVstIdentifyCode;
    case effGetChunk:
      return GetChunk(index, ptr);
    case effSetChunk:
      return SetChunk(index, value, ptr);
    case effProcessEvents:
      return ProcessEvents(static_cast<const VstEvents*>(ptr));
    case effCanBeAutomated:
      return 1;
    case effString2Parameter:
      return StringToParameter(index, text);
    case effGetProgramNameIndexed: {
      const IPresetSlot* preset = GetPreset(index);
      const char* name = preset ? preset->name : "";
      if (!text) return 0;
      CopyFixedText(text, kProgramNameBytes, name);
      return text[0] != '\0' ? 1 : 0;
    }
    case effGetInputProperties:
      return GetPinProperties(true, index, static_cast<VstPinProperties*>(ptr));
    case effGetOutputProperties:
      return GetPinProperties(false, index, static_cast<VstPinProperties*>(ptr));
    case effGetPlugCategory:
      return IsInstrument() ? kPlugCategSynth : kPlugCategEffect;
    case effSetSpeakerArrangement:
      return SetSpeakerArrangement(reinterpret_cast<const VstSpeakerArrangement*>(value),
                                   static_cast<const VstSpeakerArrangement*>(ptr));
    case effGetEffectName:
      if (!text) return 0;
      CopyFixedText(text, kEffectNameBytes, EffectName());
      return 1;
    case effGetVendorString:
      if (!text) return 0;
      CopyFixedText(text, kVendorBytes, MakerName());
      return 1;
    case effGetProductString:
      if (!text) return 0;
      CopyFixedText(text, kProductBytes, ProductName());
      return 1;
    case effGetVendorVersion:
      return DecimalFromPackedVersion(Version());
    case effVendorSpecific:
      return VendorSpecific(index, value, ptr, opt);
    case effCanDo:
      return CanDo(text);
    case effGetTailSize:
      return GetTailSize();
    case effIdle:
      return 0;
    case effGetVstVersion:
      return kVstVersion;
    case effGetMidiKeyName: {
      MidiKeyName* key = static_cast<MidiKeyName*>(ptr);
      if (!key) return 0;
      key->keyName[0] = '\0';
      // The effect writes into a buffer of our own; the host's field holds 64.
      char name[256] = "";
      const bool named = GetMidiNoteName(key->thisKeyNumber, name);
      name[sizeof name - 1] = '\0';
      CopyFixedText(key->keyName, name);
      return named ? 1 : 0;
    }
    case effGetSpeakerArrangement:
      if (value) *reinterpret_cast<VstSpeakerArrangement**>(value) = &inputArrangement_;
      if (ptr) *static_cast<VstSpeakerArrangement**>(ptr) = &outputArrangement_;
      return 1;
    default:
      // Every other opcode, known or not (effSetBypass among them: a host
      // bypasses this effect by its own means).
      return 0;
  }
}

void IFxVST::WriteValueText(int index, double value, bool normalized, char* text) {
  const std::string shown = GetParam(index)->FormatValueText(value, normalized, true);
  CopyFixedText(text, kParamTextBytes, shown.c_str());
}

// A sample rate that is not a positive number would turn every coefficient
// into infinities or NaNs that never leave the filters again; it is ignored.
void IFxVST::SetSampleRateFromHost(float rate) {
  const double r = rate;
  if (!(r > 0.0) || !std::isfinite(r)) return;
  SetSampleRate(r);
  ResetProcessing();
}

// The scratch buffers hold one block. A size below 1 keeps one frame; a size
// beyond kMaxScratchFrames keeps that many, since longer host calls are
// processed in slices anyway and a huge allocation could fail.
void IFxVST::SetBlockSizeFromHost(VstIntPtr frames) {
  if (frames < 1) frames = 1;
  if (frames > kMaxScratchFrames) frames = kMaxScratchFrames;
  SetBlockSize(static_cast<int>(frames));
  ResetProcessing();
}

VstIntPtr IFxVST::GetChunk(VstInt32 index, void* ptr) {
  if (!ptr) return 0;
  const bool bank = index == 0;
  StateChunk& chunk = bank ? bankChunk_ : programChunk_;
  InitChunkWithVersion(chunk);
  bool ok;
  if (bank) {
    ModifyCurrentPreset(nullptr);
    ok = SerializePresets(chunk);
  } else {
    ok = SerializeState(chunk);
  }
  if (!ok || chunk.Size() == 0) return 0;
  *static_cast<void**>(ptr) = chunk.Data();
  return chunk.Size();
}

// A byte count below 1 or above kMaxChunkBytes is refused before anything is
// touched: neither the stored chunk nor a parameter changes.
VstIntPtr IFxVST::SetChunk(VstInt32 index, VstIntPtr bytes, const void* ptr) {
  if (!ptr || bytes < 1 || bytes > kMaxChunkBytes) return 0;
  const bool bank = index == 0;
  StateChunk& chunk = bank ? bankChunk_ : programChunk_;
  // A host may hand back the very bytes effGetChunk lent it: they are copied
  // out before the held chunk lets go of them.
  StateChunk incoming;
  incoming.PutBytes(ptr, static_cast<int>(bytes));
  chunk = std::move(incoming);
  int bodyPos = 0;
  int32_t version = 0;
  ReadChunkHeader(chunk, &bodyPos, &version);
  int pos;
  if (bank && version >= IFxBase::kChunkVersion) {
    pos = UnserializePresets(chunk, bodyPos);
  } else {
    pos = UnserializeState(chunk, bodyPos);
    ModifyCurrentPreset(nullptr);
  }
  TORVA_TRACE_OP("IFxVST::SetChunk", "%d %d %d", index, static_cast<int>(bytes), pos);
  if (pos < 0) return 0;
  RefreshEditorControls();
  return 1;
}

VstIntPtr IFxVST::StringToParameter(VstInt32 index, const char* text) {
  IParamRecord* param = GetParam(index);
  if (!param) return 0;
  if (!text) return 1;
  double value;
  if (!param->displayTexts.empty()) {
    int32_t whole = 0;
    if (!param->ValueOfDisplayText(text, &whole)) return 0;
    value = whole;
  } else {
    value = std::atof(text);
    if (param->displayNegated) value = -value;
  }
  // "nan" reads as a number but would pass every range test and stay in the
  // filters for good; it sets nothing.
  if (std::isnan(value)) return 0;
  if (IGraphics* editor = GetEditor()) editor->SetControlFromPlugin(index, value, false);
  param->SetPlainClamped(value);
  ParamChanged(index);
  return 1;
}

VstIntPtr IFxVST::GetPinProperties(bool input, VstInt32 index, VstPinProperties* pin) {
  const int count = input ? NumInputChannels() : NumOutputChannels();
  if (!pin || !ValidIndex(index, count)) return 0;
  pin->flags = kVstPinIsActive;
  if (index % 2 == 0 && index < count - 1) pin->flags |= kVstPinIsStereo;
  const char* label = input ? InputChannel(index)->label : OutputChannel(index)->label;
  if (label[0] != '\0') {
    CopyFixedText(pin->label, label);
  } else {
    std::snprintf(pin->label, sizeof pin->label, "%s %d", input ? "Input" : "Output",
                  static_cast<int>(index) + 1);
  }
  return 1;
}

VstIntPtr IFxVST::SetSpeakerArrangement(const VstSpeakerArrangement* in,
                                        const VstSpeakerArrangement* out) {
  if (in) {
    const int c = in->numChannels > 0 ? in->numChannels : 0;
    for (int i = 0; i < NumInputChannels(); ++i) SetInputConnected(i, i < c);
  }
  if (out) {
    const int c = out->numChannels > 0 ? out->numChannels : 0;
    for (int i = 0; i < NumOutputChannels(); ++i) SetOutputConnected(i, i < c);
  }
  return 1;
}

// The list and its events are host memory valid during this call only;
// nothing is kept.
VstIntPtr IFxVST::ProcessEvents(const VstEvents* events) {
  if (!events) return 0;
  for (VstInt32 i = 0; i < events->numEvents; ++i) {
    const VstEvent* event = events->events[i];
    if (!event) continue;
    if (event->type == kVstMidiType) {
      const VstMidiEvent* midi = reinterpret_cast<const VstMidiEvent*>(event);
      IMidiMessage message;
      message.offset = midi->deltaFrames;
      message.status = static_cast<uint8_t>(midi->midiData[0]);
      message.data1 = static_cast<uint8_t>(midi->midiData[1]);
      message.data2 = static_cast<uint8_t>(midi->midiData[2]);
      ProcessMidiMessage(message);
    } else if (event->type == kVstSysExType) {
      const VstMidiSysexEvent* sysex = reinterpret_cast<const VstMidiSysexEvent*>(event);
      ISysExMessage message;
      message.offset = sysex->deltaFrames;
      message.size = sysex->dumpBytes;
      message.data = reinterpret_cast<const uint8_t*>(sysex->sysexDump);
      ProcessSysExMessage(message);
    }
  }
  return 1;
}

// Index 7 and 8 are the numbers of effGetParamDisplay and effGetParamName:
// hosts ask for the text of a value that is not the current one, and whether a
// parameter is stepped.
VstIntPtr IFxVST::VendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  if (index == effGetParamDisplay) {
    if (!ptr) return 0;
    if (ValidIndex(value, NumParams())) {
      WriteValueText(static_cast<int>(value), opt, true, static_cast<char*>(ptr));
    }
    return kVendorSpecificYes;
  }
  if (index == effGetParamName) {
    if (!ValidIndex(value, NumParams())) return 0;
    return GetParam(static_cast<int>(value))->kind != KindContinuous ? kVendorSpecificYes : 0;
  }
  return 0;
}

VstIntPtr IFxVST::CanDo(const char* text) const {
  if (!text) return 0;
  if (std::strcmp(text, "receiveVstTimeInfo") == 0) return 1;
  if (DoesMidi()) {
    static const char* const kMidiTexts[] = {"sendVstEvents", "sendVstMidiEvent",
                                             "receiveVstEvents", "receiveVstMidiEvent"};
    for (const char* midi : kMidiTexts) {
      if (std::strcmp(text, midi) == 0) return 1;
    }
  }
  if (std::strcmp(text, "hasCockosExtensions") == 0) return kCanDoHostExtension;
  if (std::strcmp(text, "hasCockosViewAsConfig") == 0) return kCanDoHostExtension;
  return 0;
}
