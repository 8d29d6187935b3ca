// IFxVST in-process, with effects of other shapes than TORVA and a fake
// host: the record's shape, the host-facing operations and the requests whose
// answers depend on the effect.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "framework/graphics/IGraphics.h"
#include "framework/vst2/IFxVST.h"

namespace {
// ---- A host that records and answers (tests run on one thread) ----
struct FakeHost {
  struct Call {
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    float opt;
  };
  std::vector<Call> calls;
  std::string product = "REAPER";
  VstIntPtr vendorVersion = 5010;
  VstIntPtr level = kVstProcessLevelRealtime;
  const VstTimeInfo* time = nullptr;
  VstMidiSysexEvent lastSysex = {};

  std::vector<VstInt32> Opcodes() const {
    std::vector<VstInt32> ops;
    for (const Call& c : calls) ops.push_back(c.opcode);
    return ops;
  }
};
FakeHost* g_host = nullptr;

VstIntPtr FakeHostCallback(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                           float opt) {
  FakeHost& host = *g_host;
  host.calls.push_back({opcode, index, value, opt});
  switch (opcode) {
    case audioMasterGetProductString:
      std::strcpy(static_cast<char*>(ptr), host.product.c_str());
      return 1;
    case audioMasterGetVendorVersion:
      return host.vendorVersion;
    case audioMasterGetCurrentProcessLevel:
      return host.level;
    case audioMasterGetTime:
      return reinterpret_cast<VstIntPtr>(host.time);
    case audioMasterProcessEvents: {
      const VstEvents* events = static_cast<const VstEvents*>(ptr);
      if (events->numEvents == 1 && events->events[0]->type == kVstSysExType) {
        host.lastSysex = *reinterpret_cast<const VstMidiSysexEvent*>(events->events[0]);
      }
      return 1;
    }
    default:
      return 0;
  }
}

// ---- An effect of a chosen shape ----
struct Shape {
  const char* config = "1-1 2-2";
  int params = 2;
  int presets = 1;
  bool midi = false;
  bool instrument = false;
};

class ProbeEffect : public IFxVST {
 public:
  explicit ProbeEffect(const Shape& s)
      : IFxVST(&FakeHostCallback, "Probe", "Probe Product", "Probe Maker", 0x00010203,
               0x50726F62, 0x4D616B72, s.config, s.params, s.presets, s.midi, false,
               s.instrument) {
    for (int i = 0; i < NumParams(); ++i) {
      GetParam(i)->SetUpNumeric("p", 0.0, 0.0, 1.0, 1.0, "dB", "", 1.0);
    }
    if (NumPresets() > 0) FillDefaultPresets("-", 1);
  }
  bool GetMidiNoteName(int note, char* name) override {
    if (note != 60) return IFxVST::GetMidiNoteName(note, name);
    std::memset(name, 'k', 100);
    name[100] = '\0';
    return true;
  }
  void ParamChanged(int index) override {
    IFxVST::ParamChanged(index);
    ++paramChanges;
  }
  void ActivationChanged(bool active) override { hooks.push_back(active ? "on" : "off"); }
  void ResetProcessing() override { hooks.push_back("reset"); }
  int paramChanges = 0;
  std::vector<std::string> hooks;
};

// Records what the plug-in pushes into its controls.
struct EditorPush {
  int index;
  double value;
  bool normalized;
};
class RecordingEditor : public IGraphics {
 public:
  explicit RecordingEditor(std::vector<EditorPush>* pushes) : pushes_(pushes) {}
  void SetControlFromPlugin(int index, double value, bool normalized) override {
    pushes_->push_back({index, value, normalized});
  }
  void PrepareDrawSurface() override {}

 private:
  std::vector<EditorPush>* pushes_;
};

class Vst2Binding : public ::testing::Test {
 protected:
  void SetUp() override { g_host = &host; }
  void TearDown() override { g_host = nullptr; }
  VstIntPtr Dispatch(ProbeEffect& fx, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                     void* ptr = nullptr, float opt = 0.0f) {
    return fx.Effect()->dispatcher(fx.Effect(), opcode, index, value, ptr, opt);
  }
  FakeHost host;
};

struct RecordCase {
  const char* what;
  Shape shape;
  VstInt32 flags;
  VstInt32 programs;
  VstInt32 inputs;
  VstInt32 inputType;
  VstInt32 outputs;
  VstInt32 outputType;
  VstIntPtr category;
};

TEST_F(Vst2Binding, RecordFollowsTheEffectsShape) {
  const VstInt32 base = effFlagsCanReplacing | effFlagsCanDoubleReplacing;
  const RecordCase cases[] = {
      {"mono and stereo", {}, base | effFlagsCanMono, 1, 2, kSpeakerArrStereo, 2,
       kSpeakerArrStereo, kPlugCategEffect},
      {"stereo only", {"2-2"}, base, 1, 2, kSpeakerArrStereo, 2, kSpeakerArrStereo,
       kPlugCategEffect},
      {"no presets", {"1-1", 2, 0}, base | effFlagsCanMono, 1, 1, kSpeakerArrMono, 1,
       kSpeakerArrMono, kPlugCategEffect},
      {"three presets", {"2-2", 2, 3}, base, 3, 2, kSpeakerArrStereo, 2, kSpeakerArrStereo,
       kPlugCategEffect},
      {"instrument without inputs", {"0-6", 1, 1, true, true}, base, 1, 0, kSpeakerArrEmpty, 6,
       kSpeakerArrUserDefined, kPlugCategSynth},
  };
  for (const RecordCase& c : cases) {
    ProbeEffect fx(c.shape);
    fx.FinishCreation();
    const AEffect& e = *fx.Effect();
    EXPECT_EQ(e.flags, c.flags) << c.what;
    EXPECT_EQ(e.numPrograms, c.programs) << c.what;
    EXPECT_EQ(e.numInputs, c.inputs) << c.what;
    EXPECT_EQ(e.numOutputs, c.outputs) << c.what;
    EXPECT_EQ(e.version, 10203) << c.what;
    EXPECT_EQ(e.uniqueID, 0x50726F62) << c.what;
    EXPECT_EQ(e.object, &fx) << c.what;
    EXPECT_EQ(fx.GetPluginFormat(), kPluginFormatVST2) << c.what;
    // Hosts may send audio before any block size: one of 1024 is in place.
    EXPECT_EQ(fx.GetBlockSize(), 1024) << c.what;
    for (int i = 0; i < fx.NumInputChannels(); ++i) EXPECT_TRUE(fx.InputChannel(i)->connected);
    for (int i = 0; i < fx.NumOutputChannels(); ++i) EXPECT_TRUE(fx.OutputChannel(i)->connected);
    VstSpeakerArrangement* in = nullptr;
    VstSpeakerArrangement* out = nullptr;
    Dispatch(fx, effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out);
    EXPECT_EQ(in->type, c.inputType) << c.what;
    EXPECT_EQ(in->numChannels, c.inputs) << c.what;
    EXPECT_EQ(out->type, c.outputType) << c.what;
    EXPECT_EQ(out->numChannels, c.outputs) << c.what;
    EXPECT_EQ(Dispatch(fx, effGetPlugCategory), c.category) << c.what;
    EXPECT_EQ(Dispatch(fx, effGetVendorVersion), 10203) << c.what;
  }
  EXPECT_TRUE(host.calls.empty());
}

TEST_F(Vst2Binding, FinishCreationNamesTheEmptyPresets) {
  ProbeEffect fx(Shape{"2-2", 2, 3});
  fx.FinishCreation();
  const char* expected[] = {"-", "Empty", "Empty"};
  for (int i = 0; i < 3; ++i) {
    char name[64] = "";
    EXPECT_EQ(Dispatch(fx, effGetProgramNameIndexed, i, 0, name), 1);
    EXPECT_STREQ(name, expected[i]);
    EXPECT_TRUE(fx.GetPreset(i)->initialized);
  }
}

TEST_F(Vst2Binding, NullRecordsAreRefused) {
  EXPECT_EQ(IFxVST::VSTDispatcher(nullptr, effGetVstVersion, 0, 0, nullptr, 0.0f), 0);
  AEffect empty = {};
  EXPECT_EQ(IFxVST::VSTDispatcher(&empty, effGetVstVersion, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(IFxVST::VSTGetParameter(&empty, 0), 0.0f);
  IFxVST::VSTSetParameter(&empty, 0, 0.5f);
  IFxVST::VSTProcessReplacing(&empty, nullptr, nullptr, 64);
  IFxVST::VSTProcessDoubleReplacing(nullptr, nullptr, nullptr, 64);
}

TEST_F(Vst2Binding, IdentifiesTheHostOnce) {
  ProbeEffect fx(Shape{});
  EXPECT_EQ(fx.GetHost(), 1);
  EXPECT_EQ(fx.HostVersion(), 0x0000320Au);
  EXPECT_EQ(fx.GetHost(), 1);
  EXPECT_EQ(host.Opcodes(),
            (std::vector<VstInt32>{audioMasterGetProductString, audioMasterGetVendorVersion}));

  host.calls.clear();
  host.product = "";
  ProbeEffect nameless(Shape{});
  EXPECT_EQ(nameless.GetHost(), 0);
  EXPECT_EQ(nameless.HostVersion(), 0u);
  EXPECT_EQ(host.Opcodes(), (std::vector<VstInt32>{audioMasterGetProductString}));
}

// Some hosts give no buffers to input pins past the first pair; the effect
// reads its scratch buffers there.
TEST_F(Vst2Binding, PrepareForHostUnconnectsLaterInputsForSomeHosts) {
  host.product = "Forte";
  ProbeEffect fx(Shape{"4-4"});
  EXPECT_EQ(Dispatch(fx, effOpen), 0);
  EXPECT_EQ(fx.HostCode(), 15);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(fx.InputChannel(i)->connected, i < 2) << i;
    EXPECT_TRUE(fx.OutputChannel(i)->connected) << i;
  }
  EXPECT_EQ(fx.Effect()->numInputs, 4);
  EXPECT_EQ(fx.paramChanges, 2);
}

// Switching off resets; a new rate or block size resets.
TEST_F(Vst2Binding, MainsRateAndBlockSizeReachTheEffect) {
  ProbeEffect fx(Shape{});
  const struct {
    VstInt32 opcode;
    VstIntPtr value;
    float opt;
    std::vector<std::string> hooks;
  } cases[] = {
      {effMainsChanged, 1, 0.0f, {"on"}},
      {effMainsChanged, 0, 0.0f, {"off", "reset"}},
      {effSetSampleRate, 0, 48000.0f, {"reset"}},
      {effSetBlockSize, 256, 0.0f, {"reset"}},
  };
  for (const auto& c : cases) {
    fx.hooks.clear();
    EXPECT_EQ(Dispatch(fx, c.opcode, 0, c.value, nullptr, c.opt), 0);
    EXPECT_EQ(fx.hooks, c.hooks) << c.opcode << " " << c.value;
  }
  EXPECT_EQ(fx.GetSampleRate(), 48000.0);
  EXPECT_EQ(fx.GetBlockSize(), 256);
}

// What the host changes reaches the controls: setParameter as a normalized
// value, a text entry and a loaded chunk as plain values. The host hears
// nothing back.
TEST_F(Vst2Binding, HostChangesReachTheEditor) {
  ProbeEffect fx(Shape{"2-2", 2, 1});
  std::vector<EditorPush> pushes;
  fx.AttachEditor(new RecordingEditor(&pushes));

  pushes.clear();
  fx.paramChanges = 0;
  fx.Effect()->setParameter(fx.Effect(), 1, 0.5f);
  ASSERT_EQ(pushes.size(), 1u);
  EXPECT_EQ(pushes[0].index, 1);
  EXPECT_EQ(pushes[0].value, 0.5);
  EXPECT_TRUE(pushes[0].normalized);
  EXPECT_EQ(fx.GetParam(1)->value, 0.5);
  EXPECT_EQ(fx.paramChanges, 1);

  pushes.clear();
  EXPECT_EQ(Dispatch(fx, effString2Parameter, 0, 0, const_cast<char*>("0.25")), 1);
  ASSERT_EQ(pushes.size(), 1u);
  EXPECT_EQ(pushes[0].index, 0);
  EXPECT_EQ(pushes[0].value, 0.25);
  EXPECT_FALSE(pushes[0].normalized);

  void* data = nullptr;
  const VstIntPtr size = Dispatch(fx, effGetChunk, 1, 0, &data);
  ASSERT_GT(size, 0);
  const std::vector<char> chunk(static_cast<char*>(data), static_cast<char*>(data) + size);
  fx.GetParam(0)->value = 1.0;
  pushes.clear();
  EXPECT_EQ(Dispatch(fx, effSetChunk, 1, size, const_cast<char*>(chunk.data())), 1);
  ASSERT_EQ(pushes.size(), 2u);
  EXPECT_EQ(pushes[0].index, 0);
  EXPECT_EQ(pushes[0].value, 0.25);
  EXPECT_FALSE(pushes[0].normalized);
  EXPECT_EQ(pushes[1].value, 0.5);
  EXPECT_TRUE(host.calls.empty());
}

TEST_F(Vst2Binding, ParameterEditsReachTheHost) {
  ProbeEffect fx(Shape{});
  fx.BeginParameterEdit(1);
  fx.SetParameterFromEditor(1, 0.75);
  fx.EndParameterEdit(1);
  fx.NotifyHostOfProgramChange();
  ASSERT_EQ(host.calls.size(), 4u);
  EXPECT_EQ(host.calls[0].opcode, audioMasterBeginEdit);
  EXPECT_EQ(host.calls[0].index, 1);
  EXPECT_EQ(host.calls[1].opcode, audioMasterAutomate);
  EXPECT_EQ(host.calls[1].index, 1);
  EXPECT_EQ(host.calls[1].opt, 0.75f);
  EXPECT_EQ(host.calls[2].opcode, audioMasterEndEdit);
  EXPECT_EQ(host.calls[3].opcode, audioMasterUpdateDisplay);
}

TEST_F(Vst2Binding, TimeQueries) {
  ProbeEffect fx(Shape{});
  EXPECT_EQ(fx.GetTempo(), 0.0);
  EXPECT_EQ(fx.GetSamplePosition(), 0);

  VstTimeInfo time = {};
  host.time = &time;
  time.tempo = 120.0;
  time.samplePos = 99.6;
  EXPECT_EQ(fx.GetTempo(), 0.0);  // tempo not flagged valid
  EXPECT_EQ(fx.GetSamplePosition(), 100);
  time.flags = kVstTempoValid;
  EXPECT_EQ(fx.GetTempo(), 120.0);
  EXPECT_EQ(host.calls.back().value, kVstTempoValid);
  time.samplePos = -5.0;
  EXPECT_EQ(fx.GetSamplePosition(), 0);
  time.samplePos = 1e12;
  EXPECT_EQ(fx.GetSamplePosition(), INT32_MAX);

  int numerator = -1;
  int denominator = -1;
  fx.GetTimeSignature(&numerator, &denominator);
  EXPECT_EQ(numerator, 0);
  EXPECT_EQ(denominator, 0);
  time.flags = kVstTimeSigValid;
  time.timeSigNumerator = 7;
  time.timeSigDenominator = 8;
  fx.GetTimeSignature(&numerator, &denominator);
  EXPECT_EQ(numerator, 7);
  EXPECT_EQ(denominator, 8);
}

TEST_F(Vst2Binding, TransportTakesOnlyValidMembers) {
  ProbeEffect fx(Shape{});
  VstTimeInfo time = {};
  host.time = &time;
  ITransportInfo info;
  info.tempo = 99.0;
  info.samplePosition = -1.0;
  fx.GetTransportInfo(&info);  // no flag of the five: nothing written
  EXPECT_EQ(info.samplePosition, -1.0);
  EXPECT_EQ(host.calls.back().value, 0x3E00);

  time.flags = kVstTempoValid | kVstPpqPosValid | kVstTransportPlaying;
  time.tempo = 0.0;
  time.ppqPos = 16.5;
  time.samplePos = 4410.0;
  fx.GetTransportInfo(&info);
  EXPECT_EQ(info.tempo, 99.0);  // a tempo of 0 is not taken
  EXPECT_EQ(info.ppqPosition, 16.5);
  EXPECT_EQ(info.samplePosition, 4410.0);
  EXPECT_TRUE(info.transportPlaying);
  EXPECT_FALSE(info.cycleActive);

  time.flags = kVstCyclePosValid | kVstBarsValid | kVstTimeSigValid | kVstTransportCycleActive;
  time.cycleStartPos = 4.0;
  time.cycleEndPos = 8.0;
  time.barStartPos = 12.0;
  time.timeSigNumerator = 0;
  time.timeSigDenominator = 4;
  info.numerator = 3;
  fx.GetTransportInfo(&info);
  EXPECT_EQ(info.cycleStart, 4.0);
  EXPECT_EQ(info.cycleEnd, 8.0);
  EXPECT_EQ(info.lastBarPosition, 12.0);
  EXPECT_EQ(info.numerator, 3);  // a numerator of 0 is not taken
  EXPECT_TRUE(info.cycleActive);
  EXPECT_FALSE(info.transportPlaying);
}

TEST_F(Vst2Binding, OfflineLatencyAndSysEx) {
  ProbeEffect fx(Shape{});
  EXPECT_FALSE(fx.IsOfflineRendering());
  host.level = kVstProcessLevelOffline;
  EXPECT_TRUE(fx.IsOfflineRendering());

  fx.SetLatency(128);
  EXPECT_EQ(fx.Effect()->initialDelay, 128);
  EXPECT_EQ(fx.GetLatency(), 128);

  const uint8_t dump[] = {0xF0, 0x01, 0xF7};
  ISysExMessage sysex;
  sysex.offset = 9;
  sysex.size = 3;
  sysex.data = dump;
  EXPECT_TRUE(fx.SendSysExMessage(sysex));
  EXPECT_EQ(host.lastSysex.type, kVstSysExType);
  EXPECT_EQ(host.lastSysex.byteSize, 48);
  EXPECT_EQ(host.lastSysex.deltaFrames, 9);
  EXPECT_EQ(host.lastSysex.dumpBytes, 3);
  EXPECT_EQ(static_cast<const void*>(host.lastSysex.sysexDump), static_cast<const void*>(dump));
}

TEST_F(Vst2Binding, MidiEffectsAskForMidiAndSayTheyCan) {
  ProbeEffect fx(Shape{"2-2", 1, 1, true});
  Dispatch(fx, effSetBlockSize, 0, 32);
  float in[2][32] = {};
  float out[2][32] = {};
  float* inputs[2] = {in[0], in[1]};
  float* outputs[2] = {out[0], out[1]};
  fx.Effect()->processReplacing(fx.Effect(), inputs, outputs, 32);
  EXPECT_EQ(host.Opcodes(), (std::vector<VstInt32>{audioMasterWantMidi}));
  for (const char* text : {"sendVstEvents", "sendVstMidiEvent", "receiveVstEvents",
                           "receiveVstMidiEvent"}) {
    EXPECT_EQ(Dispatch(fx, effCanDo, 0, 0, const_cast<char*>(text)), 1) << text;
  }
}

// The effect's note name is longer than the host's 64-byte field.
TEST_F(Vst2Binding, MidiKeyNamesFitTheHostsField) {
  ProbeEffect fx(Shape{});
  MidiKeyName key = {};
  key.thisKeyNumber = 60;
  EXPECT_EQ(Dispatch(fx, effGetMidiKeyName, 0, 0, &key), 1);
  EXPECT_EQ(std::string(key.keyName), std::string(63, 'k'));
  key.thisKeyNumber = 61;
  EXPECT_EQ(Dispatch(fx, effGetMidiKeyName, 0, 0, &key), 0);
  EXPECT_STREQ(key.keyName, "");
  EXPECT_EQ(Dispatch(fx, effGetMidiKeyName), 0);
}

TEST_F(Vst2Binding, DisplayTextsDecideTextEntryAndLabels) {
  ProbeEffect fx(Shape{});
  IParamRecord* param = fx.GetParam(0);
  param->AddDisplayText(0, "Off");
  param->AddDisplayText(1, "On");
  char text[64] = "";
  const struct {
    const char* entry;
    VstIntPtr result;
    const char* display;
    const char* label;
  } cases[] = {
      {"On", 1, "On", ""}, {"Maybe", 0, "On", ""}, {"1", 0, "On", ""}, {"Off", 1, "Off", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Dispatch(fx, effString2Parameter, 0, 0, const_cast<char*>(c.entry)), c.result)
        << c.entry;
    Dispatch(fx, effGetParamDisplay, 0, 0, text);
    EXPECT_STREQ(text, c.display) << c.entry;
    Dispatch(fx, effGetParamLabel, 0, 0, text);
    EXPECT_STREQ(text, c.label) << c.entry;
  }
  // A parameter without display texts shows its unit.
  Dispatch(fx, effGetParamLabel, 1, 0, text);
  EXPECT_STREQ(text, "dB");
}
}  // namespace
