// The binding in-process, under a small probe effect: what a host cannot see
// through the module (host identification, the core's hooks, the editor
// push, units from parameter groups, presets beyond the first).
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "framework/graphics/IGraphics.h"
#include "framework/vst3/IFxVST3.h"
#include "tests/vst3/HostObjects.h"

using namespace vst3;

namespace {

// Three parameters in two groups, two presets, pass-through audio.
class ProbeEffect : public IFxVST3 {
 public:
  ProbeEffect()
      : IFxVST3(nullptr, "Probe", "", "Maker", 0x00010000, 0x50726F62, 0x4D616B72, "1-1 2-2", 3,
                2, false, false, false) {
    GetParam(0)->SetUpNumeric("Gain", 0.0, 0.0, 10.0, 0.1, "dB", "Amp", 1.0);
    GetParam(1)->SetUpNumeric("Tone", 5.0, 0.0, 10.0, 0.1, "", "EQ", 1.0);
    GetParam(2)->SetUpInteger("Drive", 1.0, 0.0, 3.0, "", "Amp");
    FillDefaultPresets("-", 1);
  }
  void HostIdentified() override { ++hostIdentified; }
  void ProcessBlock(double** in, double** out, int frames) override {
    GetTransportInfo(&transport);
    samplePosition = GetSamplePosition();
    GetTimeSignature(&numerator, &denominator);
    tempo = GetTempo();
    offline = IsOfflineRendering();
    IFxBase::ProcessBlock(in, out, frames);
  }
  int hostIdentified = 0;
  ITransportInfo transport;
  int32_t samplePosition = 0;
  int numerator = 0, denominator = 0;
  double tempo = 0.0;
  bool offline = false;
};

struct ProbeDeleter {
  void operator()(ProbeEffect* p) const { p->release(); }
};
using Probe = std::unique_ptr<ProbeEffect, ProbeDeleter>;

class RecordingEditor : public IGraphics {
 public:
  void SetControlFromPlugin(int index, double value, bool normalized) override {
    pushes.emplace_back(index, value, normalized);
  }
  void PrepareDrawSurface() override {}
  std::vector<std::tuple<int, double, bool>> pushes;
};

class RecordingHandler : public host::ComponentHandler {
 public:
  tresult TORVA_VST3_API beginEdit(ParamID id) override {
    log += "b" + std::to_string(id);
    return kResultOk;
  }
  tresult TORVA_VST3_API performEdit(ParamID id, ParamValue v) override {
    log += "p" + std::to_string(id) + "=" + std::to_string(v);
    return kResultOk;
  }
  tresult TORVA_VST3_API endEdit(ParamID id) override {
    log += "e" + std::to_string(id);
    return kResultOk;
  }
  std::string log;
};

// A context that is not a host application.
class BareContext : public host::StackObject<IBStream> {
 public:
  tresult TORVA_VST3_API read(void*, int32, int32*) override { return kResultFalse; }
  tresult TORVA_VST3_API write(void*, int32, int32*) override { return kResultFalse; }
  tresult TORVA_VST3_API seek(int64, int32, int64*) override { return kResultFalse; }
  tresult TORVA_VST3_API tell(int64*) override { return kResultFalse; }
};

TEST(Vst3Binding, HostIsIdentifiedFromTheApplicationName) {
  struct Row {
    const char* name;  // null: no host application behind the context
    int32_t code;
  } rows[] = {{"REAPER", 1}, {"Cubase Pro 10", 3}, {"Steinberg Nuendo", 4},
              {"PreSonus Studio One", 26}, {"My Host", 0}, {"", 0}, {nullptr, -1}};
  for (const Row& r : rows) {
    Probe fx(new ProbeEffect);
    host::HostApplication app(r.name ? r.name : "");
    BareContext bare;
    FUnknown* context = r.name ? static_cast<FUnknown*>(&app) : &bare;
    EXPECT_EQ(fx->initialize(context), kResultOk);
    EXPECT_EQ(fx->HostCode(), r.code) << (r.name ? r.name : "(none)");
    EXPECT_EQ(fx->HostVersion(), 0u);
    EXPECT_EQ(fx->hostIdentified, 1);
    EXPECT_EQ(app.Held() + bare.Held(), 1);  // the kept context only
    fx->terminate();
  }
}

TEST(Vst3Binding, SecondInitializeWithoutContextAddsNothing) {
  Probe fx(new ProbeEffect);
  EXPECT_EQ(fx->initialize(nullptr), kResultOk);
  EXPECT_EQ(fx->initialize(nullptr), kResultFalse);
  EXPECT_EQ(fx->getParameterCount(), 5);
  EXPECT_EQ(fx->getBusCount(kAudio, kInput), 1);
  EXPECT_EQ(fx->hostIdentified, 2);
}

TEST(Vst3Binding, GroupsBecomeUnits) {
  Probe fx(new ProbeEffect);
  ASSERT_EQ(fx->initialize(nullptr), kResultOk);
  ASSERT_EQ(fx->getUnitCount(), 3);
  struct Row {
    int32 index;
    const char* name;
    UnitID parent;
  } units[] = {{0, "Root Unit", -1}, {1, "Amp", 0}, {2, "EQ", 0}};
  for (const Row& r : units) {
    UnitInfo info;
    ASSERT_EQ(fx->getUnitInfo(r.index, info), kResultOk);
    char name[128];
    NarrowText(name, sizeof name, info.name);
    EXPECT_EQ(info.id, r.index);
    EXPECT_STREQ(name, r.name);
    EXPECT_EQ(info.parentUnitId, r.parent);
  }
  // Parameter infos: preset, bypass, then Gain (Amp), Tone (EQ), Drive (Amp).
  struct ParamRow {
    int32 index;
    UnitID unit;
    int32 steps;
    const char* units;
  } params[] = {{0, 0, 2, ""}, {1, 0, 1, ""}, {2, 1, 0, "dB"}, {3, 2, 0, ""}, {4, 1, 3, ""}};
  for (const ParamRow& r : params) {
    ParameterInfo info;
    ASSERT_EQ(fx->getParameterInfo(r.index, info), kResultOk);
    char units[128];
    NarrowText(units, sizeof units, info.units);
    EXPECT_EQ(info.unitId, r.unit) << r.index;
    EXPECT_EQ(info.stepCount, r.steps) << r.index;
    EXPECT_STREQ(units, r.units) << r.index;
  }
  // A second initialize after terminate finds the groups already listed.
  fx->terminate();
  ASSERT_EQ(fx->initialize(nullptr), kResultOk);
  EXPECT_EQ(fx->getUnitCount(), 3);
}

TEST(Vst3Binding, EditorGesturesReachTheComponentHandler) {
  Probe fx(new ProbeEffect);
  ASSERT_EQ(fx->initialize(nullptr), kResultOk);
  // Without a handler the hooks do nothing.
  fx->BeginParameterEdit(1);
  fx->SetParameterFromEditor(1, 0.3);
  fx->EndParameterEdit(1);
  RecordingHandler handler;
  ASSERT_EQ(fx->setComponentHandler(&handler), kResultOk);
  fx->BeginParameterEdit(2);
  fx->SetParameterFromEditor(2, 0.4);  // snaps to 1 of 0..3; the host hears 0.4
  fx->EndParameterEdit(2);
  EXPECT_EQ(handler.log, "b2p2=" + std::to_string(0.4) + "e2");
  EXPECT_DOUBLE_EQ(fx->GetParam(2)->value, 1.0);
  fx->terminate();
  EXPECT_EQ(handler.Held(), 0);
}

TEST(Vst3Binding, ProcessContextFeedsTheTransportQueries) {
  Probe fx(new ProbeEffect);
  ASSERT_EQ(fx->initialize(nullptr), kResultOk);
  ProcessSetup setup{kOffline, kSample64, 32, 48000.0};
  ASSERT_EQ(fx->setupProcessing(setup), kResultOk);
  EXPECT_DOUBLE_EQ(fx->GetSampleRate(), 48000.0);
  EXPECT_EQ(fx->GetBlockSize(), 32);
  ProcessContext context{};
  context.state = kPlaying | kCycleActive;  // validity bits are not consulted
  context.tempo = 133.0;
  context.projectTimeSamples = (int64{1} << 32) + 77;
  context.projectTimeMusic = 12.5;
  context.barPositionMusic = 12.0;
  context.cycleStartMusic = 8.0;
  context.cycleEndMusic = 16.0;
  context.timeSigNumerator = 7;
  context.timeSigDenominator = 8;
  std::vector<double> in(32, 0.5), out(32);
  double* ins[] = {in.data(), in.data()};
  double* outs[] = {out.data(), out.data()};
  AudioBusBuffers inBus{}, outBus{};
  inBus.numChannels = outBus.numChannels = 2;
  inBus.channelBuffers64 = ins;
  outBus.channelBuffers64 = outs;
  ProcessData data{};
  data.symbolicSampleSize = kSample64;
  data.numSamples = 32;
  data.numInputs = data.numOutputs = 1;
  data.inputs = &inBus;
  data.outputs = &outBus;
  data.processContext = &context;
  ASSERT_EQ(fx->process(data), kResultOk);
  EXPECT_TRUE(fx->offline);
  EXPECT_EQ(fx->samplePosition, 77);
  EXPECT_EQ(fx->tempo, 133.0);
  EXPECT_EQ(fx->numerator, 7);
  EXPECT_EQ(fx->denominator, 8);
  EXPECT_EQ(fx->transport.samplePosition, 4294967373.0);
  EXPECT_EQ(fx->transport.ppqPosition, 12.5);
  EXPECT_EQ(fx->transport.lastBarPosition, 12.0);
  EXPECT_EQ(fx->transport.cycleStart, 8.0);
  EXPECT_EQ(fx->transport.cycleEnd, 16.0);
  EXPECT_TRUE(fx->transport.transportPlaying);
  EXPECT_TRUE(fx->transport.cycleActive);
}

TEST(Vst3Binding, ParameterChangesAndStateReachTheEditor) {
  Probe fx(new ProbeEffect);
  auto* editor = new RecordingEditor;  // owned by the plug-in from here
  fx->AttachEditor(editor);
  ASSERT_EQ(fx->initialize(nullptr), kResultOk);
  editor->pushes.clear();
  host::ParamChanges changes;
  changes.Add(1, {{0, 0.25}});
  ProcessData data{};
  data.symbolicSampleSize = kSample32;
  data.inputParameterChanges = &changes;
  ASSERT_EQ(fx->process(data), kResultOk);
  ASSERT_EQ(editor->pushes.size(), 1u);
  EXPECT_EQ(editor->pushes[0], std::make_tuple(1, 0.25, true));

  editor->pushes.clear();
  host::MemoryStream stream;
  ASSERT_EQ(fx->getEditorState(&stream), kResultOk);
  stream.position_ = 0;
  ASSERT_EQ(fx->setEditorState(&stream), kResultOk);
  // Every parameter's plain value, after the state was applied.
  ASSERT_EQ(editor->pushes.size(), 3u);
  EXPECT_EQ(editor->pushes[1], std::make_tuple(1, 2.5, false));
}

TEST(Vst3Binding, PresetParameterSelectsAndNamesPresets) {
  Probe fx(new ProbeEffect);
  ASSERT_EQ(fx->initialize(nullptr), kResultOk);
  host::ParamChanges changes;
  changes.Add(IFxVST3::kProgramSelectParamId, {{0, 0.5}});  // preset 1 of 2
  ProcessData data{};
  data.symbolicSampleSize = kSample32;
  data.inputParameterChanges = &changes;
  ASSERT_EQ(fx->process(data), kResultOk);
  EXPECT_EQ(fx->CurrentPresetIndex(), 1);
  String128 name;
  ASSERT_EQ(fx->getProgramName(IFxVST3::kProgramSelectParamId, 1, name), kResultOk);
  char narrow[128];
  NarrowText(narrow, sizeof narrow, name);
  EXPECT_STREQ(narrow, "user preset 1");
  ProgramListInfo list;
  ASSERT_EQ(fx->getProgramListInfo(0, list), kResultOk);
  EXPECT_EQ(list.programCount, 2);
}

}  // namespace

// The module's create function makes the probe in this test program.
IFxVST3* CreatePluginInstance(IFxVST3::HostArgument) { return new ProbeEffect; }
