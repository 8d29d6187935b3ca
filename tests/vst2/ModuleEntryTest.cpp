// The module as a host first meets it: its exports and the record they return.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/vst2/HostedEffect.h"

namespace {
constexpr VstInt32 kTorvaId = ('T' << 24) | ('R' << 16) | ('V' << 8) | '1';

TEST(Vst2ModuleEntry, ExportsBothEntryNames) {
  const TorvaModuleEntries& module = TorvaModule();
  ASSERT_TRUE(module.library->IsLoaded()) << module.library->Error();
  EXPECT_NE(module.pluginMain, nullptr);
  EXPECT_NE(module.legacyMain, nullptr);
  EXPECT_EQ(module.library->Symbol("CreatePluginInstance"), nullptr);
}

struct EntryCase {
  const char* name;
  VstEntryProc (*entry)();
};

class Vst2EntryRecord : public ::testing::TestWithParam<EntryCase> {};

// Both names give the same complete record, without calling the host while
// they create it; the host callback reaches the host afterwards, so `main`
// passed the callback pointer on whole.
TEST_P(Vst2EntryRecord, IsCompleteAndReachesTheHost) {
  VstEntryProc entry = GetParam().entry();
  ASSERT_NE(entry, nullptr);
  HostedEffect fx(entry);
  ASSERT_NE(fx.effect, nullptr);
  const AEffect& e = *fx.effect;
  EXPECT_TRUE(fx.host.Calls().empty());

  EXPECT_EQ(e.magic, 0x56737450);
  EXPECT_EQ(e.numPrograms, 1);
  EXPECT_EQ(e.numParams, 5);
  EXPECT_EQ(e.numInputs, 2);
  EXPECT_EQ(e.numOutputs, 2);
  // Replacing, double replacing and mono; no editor, no chunks, no synth.
  EXPECT_EQ(e.flags, 16 + 4096 + 8);
  EXPECT_EQ(e.initialDelay, 0);
  EXPECT_EQ(e.ioRatio, 1.0f);
  EXPECT_EQ(e.uniqueID, kTorvaId);
  EXPECT_EQ(e.version, 10000);
  EXPECT_EQ(e.resvd1, 0);
  EXPECT_EQ(e.resvd2, 0);
  EXPECT_EQ(e.realQualities, 0);
  EXPECT_EQ(e.offQualities, 0);
  EXPECT_NE(e.object, nullptr);
  EXPECT_NE(e.dispatcher, nullptr);
  EXPECT_NE(e.process, nullptr);
  EXPECT_NE(e.processReplacing, nullptr);
  EXPECT_NE(e.processDoubleReplacing, nullptr);
  EXPECT_NE(e.setParameter, nullptr);
  EXPECT_NE(e.getParameter, nullptr);
  const char zeros[sizeof e.future] = {};
  EXPECT_EQ(std::memcmp(e.future, zeros, sizeof zeros), 0);

  fx.Dispatch(effOpen);
  EXPECT_EQ(fx.host.Count(audioMasterGetProductString), 1);
}

INSTANTIATE_TEST_SUITE_P(
    BothNames, Vst2EntryRecord,
    ::testing::Values(EntryCase{"VSTPluginMain", [] { return TorvaModule().pluginMain; }},
                      EntryCase{"main", [] { return TorvaModule().legacyMain; }}),
    [](const ::testing::TestParamInfo<EntryCase>& info) { return std::string(info.param.name); });

// The host keeps its own pointers in user, resvd1 and resvd2; the effect
// must neither need nor touch them.
TEST(Vst2ModuleEntry, IgnoresTheHostFieldsOfTheRecord) {
  HostedEffect fx;
  fx.effect->resvd1 = 0x1234;
  fx.effect->resvd2 = 0x5678;
  fx.Start(44100.0f, 64);
  fx.SetParameter(3, 0.25f);
  EXPECT_EQ(fx.Text(effGetParamDisplay, 3), "2.5");
  EXPECT_EQ(fx.effect->resvd1, 0x1234);
  EXPECT_EQ(fx.effect->resvd2, 0x5678);
  EXPECT_EQ(fx.effect->user, &fx.host);
}
}  // namespace
