// The component and controller faces of one instance: interfaces, buses,
// the parameter list, texts and conversions, units and the handler.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "tests/vst3/PluginSession.h"

using namespace vst3;
using host::kHostBypassParamId;
using host::kProgramSelectParamId;
using host::PluginSession;

namespace {

std::string Narrow(const char16* text) {
  char buffer[128];
  NarrowText(buffer, sizeof buffer, text);
  return buffer;
}

std::u16string Widened(const char* text) {
  String128 w;
  WidenText(w, 128, text);
  return std::u16string(w);
}

TEST(Vst3Controller, OneObjectAnswersEveryInterfaceWithOneIdentity) {
  PluginSession s;
  ASSERT_TRUE(s.Ok());
  FUnknown* ifaces[] = {s.component, s.processor, s.controller, s.units};
  void* identity = nullptr;
  for (FUnknown* i : ifaces) {
    void* unknown = nullptr;
    ASSERT_EQ(i->queryInterface(FUnknown::iid.bytes, &unknown), kResultOk);
    if (!identity) identity = unknown;
    EXPECT_EQ(unknown, identity);
    static_cast<FUnknown*>(unknown)->release();
  }
  void* p = &p;
  EXPECT_EQ(s.component->queryInterface(IConnectionPoint::iid.bytes, &p), kNoInterface);
  EXPECT_EQ(p, nullptr);
  ASSERT_EQ(s.component->queryInterface(IEditController2::iid.bytes, &p), kResultOk);
  auto* c2 = static_cast<IEditController2*>(p);
  EXPECT_EQ(c2->setKnobMode(2), kResultOk);
  EXPECT_EQ(c2->openHelp(0), kResultFalse);
  EXPECT_EQ(c2->openAboutBox(0), kResultFalse);
  c2->release();
}

TEST(Vst3Controller, SecondInitializeAddsNothing) {
  PluginSession s;
  ASSERT_TRUE(s.Ok());
  // The host context is held once; the controller face gets kResultFalse.
  EXPECT_EQ(s.application.Held(), 1);
  EXPECT_EQ(s.controller->initialize(&s.application), kResultFalse);
  EXPECT_EQ(s.controller->getParameterCount(), 7);
  EXPECT_EQ(s.component->getBusCount(kAudio, kInput), 1);
  EXPECT_EQ(s.component->getBusCount(kAudio, kOutput), 1);
  // Preset 0 is restored again: a changed value returns to its default.
  ASSERT_EQ(s.controller->setParamNormalized(1, 0.9), kResultOk);
  s.controller->initialize(&s.application);
  EXPECT_DOUBLE_EQ(s.controller->getParamNormalized(1), 0.5);
  s.component->terminate();
  EXPECT_EQ(s.application.Held(), 0);
  EXPECT_EQ(s.controller->getParameterCount(), 0);
  EXPECT_EQ(s.component->getBusCount(kAudio, kOutput), 0);
  // After terminate a new initialize rebuilds everything.
  EXPECT_EQ(s.component->initialize(&s.application), kResultOk);
  EXPECT_EQ(s.controller->getParameterCount(), 7);
}

TEST(Vst3Controller, ParameterListInHostOrder) {
  PluginSession s;
  ASSERT_TRUE(s.Ok());
  struct Row {
    ParamID id;
    const char* title;
    int32 stepCount;
    double defaultNormalized;
    int32 flags;
  } rows[] = {
      {kProgramSelectParamId, "Preset", 1, 0.0, 0x8000},
      {kHostBypassParamId, "Bypass", 1, 0.0, 0x10009},
      {0, "Mic Placement", 0, 0.0, 1},
      {1, "Cabinet Size", 0, 0.5, 1},
      {2, "Character", 0, 0.5, 1},
      {3, "Output", 0, 0.5, 1},
      {4, "Bypass", 1, 1.0, 1},
  };
  ASSERT_EQ(s.controller->getParameterCount(), 7);
  for (int i = 0; i < 7; ++i) {
    ParameterInfo info;
    ASSERT_EQ(s.controller->getParameterInfo(i, info), kResultOk);
    EXPECT_EQ(info.id, rows[i].id) << i;
    EXPECT_EQ(Narrow(info.title), rows[i].title) << i;
    EXPECT_EQ(info.shortTitle[0], 0) << i;
    EXPECT_EQ(info.units[0], 0) << i;
    EXPECT_EQ(info.stepCount, rows[i].stepCount) << i;
    EXPECT_DOUBLE_EQ(info.defaultNormalizedValue, rows[i].defaultNormalized) << i;
    EXPECT_EQ(info.flags, rows[i].flags) << i;
    EXPECT_EQ(info.unitId, 0) << i;
  }
  ParameterInfo info;
  EXPECT_EQ(s.controller->getParameterInfo(-1, info), kResultFalse);
  EXPECT_EQ(s.controller->getParameterInfo(7, info), kResultFalse);
}

TEST(Vst3Controller, BusesAfterInitialize) {
  PluginSession s;
  ASSERT_TRUE(s.Ok());
  struct Row {
    BusDirection dir;
    const char* name;
  } rows[] = {{kInput, "Main Input"}, {kOutput, "Output"}};
  for (const Row& r : rows) {
    BusInfo info;
    ASSERT_EQ(s.component->getBusInfo(kAudio, r.dir, 0, info), kResultOk);
    EXPECT_EQ(info.mediaType, kAudio);
    EXPECT_EQ(info.direction, r.dir);
    EXPECT_EQ(info.channelCount, 2);
    EXPECT_EQ(Narrow(info.name), r.name);
    EXPECT_EQ(info.busType, kMain);
    EXPECT_EQ(info.flags, static_cast<uint32>(kDefaultActive));
    SpeakerArrangement arr = 0;
    ASSERT_EQ(s.processor->getBusArrangement(r.dir, 0, arr), kResultOk);
    EXPECT_EQ(arr, SpeakerArr::kStereo);
  }
  BusInfo info;
  EXPECT_EQ(s.component->getBusCount(kEvent, kInput), 0);
  EXPECT_EQ(s.component->getBusInfo(kEvent, kInput, 0, info), kInvalidArgument);
  EXPECT_EQ(s.component->getBusInfo(kAudio, kInput, 1, info), kInvalidArgument);
  EXPECT_EQ(s.component->getBusInfo(kAudio, kInput, -1, info), kInvalidArgument);
  EXPECT_EQ(s.component->activateBus(kAudio, kOutput, 1, 1), kInvalidArgument);
  EXPECT_EQ(s.component->activateBus(kAudio, kOutput, -1, 1), kInvalidArgument);
  SpeakerArrangement arr;
  EXPECT_EQ(s.processor->getBusArrangement(kOutput, 3, arr), kInvalidArgument);
  char cid[16];
  EXPECT_EQ(s.component->getControllerClassId(cid), kNotImplemented);
  EXPECT_EQ(s.component->setIoMode(0), kNotImplemented);
  EXPECT_EQ(s.processor->setProcessing(1), kNotImplemented);
  EXPECT_EQ(s.controller->setComponentState(nullptr), kNotImplemented);
  EXPECT_EQ(s.controller->createView("editor"), nullptr);
  EXPECT_EQ(s.controller->createView(nullptr), nullptr);
}

TEST(Vst3Controller, BusArrangementNegotiation) {
  constexpr SpeakerArrangement M = SpeakerArr::kMono, S = SpeakerArr::kStereo;
  struct Row {
    const char* what;
    std::vector<SpeakerArrangement> ins, outs;
    tresult result;
    int inChannels;  // input bus 0 afterwards
    const char* inName;
  } rows[] = {
      {"mono to mono", {M}, {M}, kResultOk, 1, "Input"},
      {"stereo to stereo", {S}, {S}, kResultOk, 2, "Main Input"},
      {"stereo to mono", {S}, {M}, kResultFalse, 2, "Main Input"},
      {"no inputs", {}, {S}, kResultFalse, 2, "Main Input"},
      {"no outputs", {S}, {}, kResultFalse, 2, "Main Input"},
      {"5.1", {SpeakerArr::k51}, {SpeakerArr::k51}, kResultFalse, 2, "Main Input"},
      {"two input buses", {M, M}, {M}, kResultFalse, 1, "Input"},
  };
  for (const Row& r : rows) {
    PluginSession s;
    ASSERT_TRUE(s.Ok());
    std::vector<SpeakerArrangement> ins = r.ins, outs = r.outs;
    EXPECT_EQ(s.processor->setBusArrangements(ins.data(), static_cast<int32>(ins.size()),
                                              outs.data(), static_cast<int32>(outs.size())),
              r.result)
        << r.what;
    BusInfo info;
    ASSERT_EQ(s.component->getBusInfo(kAudio, kInput, 0, info), kResultOk);
    EXPECT_EQ(info.channelCount, r.inChannels) << r.what;
    EXPECT_EQ(Narrow(info.name), r.inName) << r.what;
  }
  PluginSession s;
  EXPECT_EQ(s.processor->setBusArrangements(nullptr, 1, nullptr, 1), kResultFalse);
}

TEST(Vst3Controller, SampleSizesAndSetup) {
  PluginSession s;
  ASSERT_TRUE(s.Ok());
  struct Row {
    int32 size;
    tresult result;
  } rows[] = {{kSample32, kResultOk}, {kSample64, kResultOk}, {2, kResultFalse}, {-1, kResultFalse}};
  for (const Row& r : rows) {
    EXPECT_EQ(s.processor->canProcessSampleSize(r.size), r.result) << r.size;
    ProcessSetup setup{kRealtime, r.size, 256, 48000.0};
    EXPECT_EQ(s.processor->setupProcessing(setup), r.result) << r.size;
  }
  EXPECT_EQ(s.processor->getLatencySamples(), 0u);
  EXPECT_EQ(s.processor->getTailSamples(), 0u);
}

TEST(Vst3Controller, ValueTextsAndConversions) {
  PluginSession s;
  ASSERT_TRUE(s.Ok());
  struct TextRow {
    ParamID id;
    double normalized;
    const char* text;
  } texts[] = {
      {0, 0.5, "5.0"}, {0, 0.0, "0.0"}, {3, 1.0, "10.0"}, {1, 0.123, "1.2"},
      {4, 1.0, "1"},   {4, 0.4, "0"},   {kHostBypassParamId, 1.0, "<fail>"},
      {kProgramSelectParamId, 0.0, "<fail>"}, {5, 0.5, "<fail>"},
  };
  for (const TextRow& r : texts) EXPECT_EQ(s.ParamString(r.id, r.normalized), r.text) << r.id;

  struct ParseRow {
    ParamID id;
    const char* text;
    tresult result;
    double normalized;
  } parses[] = {
      {1, "7.5", kResultOk, 0.75},
      {1, "12", kResultOk, 1.0},
      {1, "-3", kResultOk, 0.0},
      {1, "loud", kResultOk, 0.0},
      {4, "1", kResultOk, 1.0},
      {kHostBypassParamId, "on", kResultOk, 1.0},
      {kHostBypassParamId, "off", kResultOk, 0.0},
      {kHostBypassParamId, "maybe", kResultFalse, -1.0},
      {77, "1", kResultFalse, -1.0},
  };
  for (const ParseRow& r : parses) {
    std::u16string text = Widened(r.text);
    double v = -1.0;
    EXPECT_EQ(s.controller->getParamValueByString(r.id, text.data(), v), r.result) << r.text;
    EXPECT_DOUBLE_EQ(v, r.normalized) << r.text;
  }

  struct PlainRow {
    ParamID id;
    double in, toPlain, toNormalized;
  } plains[] = {
      {0, 0.5, 5.0, 0.05},
      {4, 0.4, 0.4, 0.4},  // no step rounding in the plain value
      {kHostBypassParamId, 0.7, 1.0, 0.7},
      {kProgramSelectParamId, 0.3, 0.3, 0.3},
      {99, 0.3, 0.3, 0.3},
  };
  for (const PlainRow& r : plains) {
    EXPECT_DOUBLE_EQ(s.controller->normalizedParamToPlain(r.id, r.in), r.toPlain) << r.id;
    EXPECT_DOUBLE_EQ(s.controller->plainParamToNormalized(r.id, r.in), r.toNormalized) << r.id;
  }
  EXPECT_DOUBLE_EQ(s.controller->plainParamToNormalized(2, 12.0), 1.0);
}

TEST(Vst3Controller, NormalizedValuesByIdentifier) {
  PluginSession s;
  ASSERT_TRUE(s.Ok());
  const double defaults[] = {0.0, 0.5, 0.5, 0.5, 1.0};
  for (ParamID id = 0; id < 5; ++id) {
    EXPECT_DOUBLE_EQ(s.controller->getParamNormalized(id), defaults[id]) << id;
  }
  EXPECT_EQ(s.controller->getParamNormalized(kHostBypassParamId), 0.0);
  EXPECT_EQ(s.controller->getParamNormalized(kProgramSelectParamId), 0.0);
  EXPECT_EQ(s.controller->getParamNormalized(5), 0.0);
  EXPECT_EQ(s.controller->setParamNormalized(1, 0.25), kResultOk);
  EXPECT_DOUBLE_EQ(s.controller->getParamNormalized(1), 0.25);
  EXPECT_EQ(s.controller->setParamNormalized(4, 0.4), kResultOk);
  EXPECT_EQ(s.controller->getParamNormalized(4), 0.0);
  EXPECT_EQ(s.controller->setParamNormalized(kHostBypassParamId, 1.0), kResultFalse);
  EXPECT_EQ(s.controller->setParamNormalized(kProgramSelectParamId, 0.0), kResultFalse);
  EXPECT_EQ(s.controller->setParamNormalized(5, 0.0), kResultFalse);
}

TEST(Vst3Controller, UnitsAndProgramList) {
  PluginSession s;
  ASSERT_TRUE(s.Ok());
  EXPECT_EQ(s.units->getUnitCount(), 1);
  UnitInfo unit;
  ASSERT_EQ(s.units->getUnitInfo(0, unit), kResultOk);
  EXPECT_EQ(unit.id, 0);
  EXPECT_EQ(unit.parentUnitId, -1);
  EXPECT_EQ(unit.programListId, -1);
  EXPECT_EQ(Narrow(unit.name), "Root Unit");
  EXPECT_EQ(s.units->getUnitInfo(1, unit), kResultFalse);
  EXPECT_EQ(s.units->getUnitInfo(-1, unit), kResultFalse);

  EXPECT_EQ(s.units->getProgramListCount(), 0);
  ProgramListInfo list;
  ASSERT_EQ(s.units->getProgramListInfo(0, list), kResultOk);
  EXPECT_EQ(list.id, static_cast<int32>(kProgramSelectParamId));
  EXPECT_EQ(Narrow(list.name), "Factory Presets");
  EXPECT_EQ(list.programCount, 1);
  EXPECT_EQ(s.units->getProgramListInfo(1, list), kResultFalse);

  struct NameRow {
    int32 list, index;
    tresult result;
    const char* name;
  } names[] = {
      {static_cast<int32>(kProgramSelectParamId), 0, kResultOk, "-"},
      {static_cast<int32>(kProgramSelectParamId), 1, kResultOk, ""},
      {static_cast<int32>(kProgramSelectParamId), -1, kResultOk, ""},
      {0, 0, kResultFalse, "x"},
  };
  for (const NameRow& r : names) {
    String128 name;
    WidenText(name, 128, "x");
    EXPECT_EQ(s.units->getProgramName(r.list, r.index, name), r.result) << r.index;
    EXPECT_EQ(Narrow(name), r.name) << r.index;
  }
  EXPECT_EQ(s.units->getSelectedUnit(), 0);
  EXPECT_EQ(s.units->selectUnit(0), kNotImplemented);
  EXPECT_EQ(s.units->hasProgramPitchNames(0, 0), kNotImplemented);
}

TEST(Vst3Controller, ComponentHandlerIsHeldUntilReplacedOrTerminated) {
  PluginSession s;
  ASSERT_TRUE(s.Ok());
  host::ComponentHandler a, b;
  EXPECT_EQ(s.controller->setComponentHandler(&a), kResultOk);
  EXPECT_EQ(a.Held(), 1);
  EXPECT_EQ(s.controller->setComponentHandler(&a), kResultOk);
  EXPECT_EQ(a.Held(), 1);
  EXPECT_EQ(s.controller->setComponentHandler(&b), kResultOk);
  EXPECT_EQ(a.Held(), 0);
  EXPECT_EQ(b.Held(), 1);
  s.component->terminate();
  EXPECT_EQ(b.Held(), 0);
}

}  // namespace
