#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/plugbase/TestPlugin.h"

namespace {

// Five parameters shaped like the cabinet effect's: four knobs 0..10 and an
// integer switch 0..1, values 0, 5, 5, 5, 1.
class FivePlugin : public TestPlugin {
 public:
  explicit FivePlugin(int presets = 1) : TestPlugin("1-1 2-2", 5, presets) {
    GetParam(4)->SetUpInteger("Switch", 1, 0, 1, "", "");
    const double defaults[] = {0, 5, 5, 5};
    for (int i = 0; i < 4; ++i) GetParam(i)->SetUpNumeric("Knob", defaults[i], 0, 10, 0.1, "", "", 1.0);
  }
  std::vector<double> Values() {
    std::vector<double> v;
    for (int i = 0; i < NumParams(); ++i) v.push_back(GetParam(i)->value);
    return v;
  }
};

std::vector<uint8_t> Bytes(const StateChunk& c) {
  return c.Size() ? std::vector<uint8_t>(c.Data(), c.Data() + c.Size()) : std::vector<uint8_t>();
}

StateChunk Doubles(std::initializer_list<double> values, int keepBytes = -1) {
  StateChunk c;
  for (double v : values) c.PutDouble(v);
  if (keepBytes >= 0) c.Resize(keepBytes);
  return c;
}

TEST(StateFormat, ProgramChunkLayout) {
  FivePlugin plug;
  StateChunk chunk;
  IFxBase::InitChunkWithVersion(chunk);
  ASSERT_TRUE(plug.SerializeState(chunk));
  ASSERT_EQ(chunk.Size(), 48);
  const std::vector<uint8_t> header = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00};
  EXPECT_EQ(std::vector<uint8_t>(chunk.Data(), chunk.Data() + 8), header);
  const double expected[] = {0, 5, 5, 5, 1};
  for (int i = 0; i < 5; ++i) {
    double v;
    std::memcpy(&v, chunk.Data() + 8 + 8 * i, 8);
    EXPECT_EQ(v, expected[i]);
  }
}

TEST(StateFormat, BankChunkLayout) {
  FivePlugin plug;
  plug.FillDefaultPresets("-", 1);
  StateChunk chunk;
  IFxBase::InitChunkWithVersion(chunk);
  ASSERT_TRUE(plug.SerializePresets(chunk));
  ASSERT_EQ(chunk.Size(), 54);
  const std::vector<uint8_t> record = {0x01, 0x00, 0x00, 0x00, 0x2D, 0x01};
  EXPECT_EQ(std::vector<uint8_t>(chunk.Data() + 8, chunk.Data() + 14), record);
  StateChunk body;
  plug.SerializeParams(body);
  EXPECT_EQ(std::vector<uint8_t>(chunk.Data() + 14, chunk.Data() + 54), Bytes(body));
}

TEST(StateRead, BodiesOfEveryLength) {
  struct Case {
    const char* what;
    StateChunk chunk;
    int start;
    int result;
    std::vector<double> values;
  };
  const std::vector<double> fresh = {0, 5, 5, 5, 1};
  Case cases[] = {
      {"16 bytes: two set, the third cleared, the rest kept", Doubles({7, 8, 9}, 16), 0, -1, {7, 8, 0, 5, 1}},
      {"longer than needed", Doubles({1, 2, 3, 4, 0, 99, 99}), 0, 40, {1, 2, 3, 4, 0}},
      {"out of range clamped", Doubles({-4, 12, 5, 5, 0.5}), 0, 40, {0, 10, 5, 5, 0.5}},
      {"negative start reads nothing", Doubles({1, 2, 3, 4, 0}), -1, -1, fresh},
      {"empty", StateChunk(), 0, -1, {0, 5, 5, 5, 1}},
      {"after a header", Doubles({0, 1, 2, 3, 4, 0}), 8, 48, {1, 2, 3, 4, 0}},
  };
  cases[4].values[0] = 0;  // an empty body clears parameter 0 only
  for (Case& c : cases) {
    FivePlugin plug;
    EXPECT_EQ(plug.UnserializeState(c.chunk, c.start), c.result) << c.what;
    EXPECT_EQ(plug.Values(), c.values) << c.what;
    EXPECT_EQ(plug.changed, (std::vector<int>{0, 1, 2, 3, 4})) << c.what;
  }
}

TEST(Presets, FillDefaultPresetsUsesFirstFreeSlots) {
  FivePlugin plug(3);
  plug.FillDefaultPresets("-", 1);
  plug.GetParam(0)->value = 2.0;
  plug.FillDefaultPresets(nullptr, 5);  // more passes than free slots
  EXPECT_STREQ(plug.GetPreset(0)->name, "-");
  EXPECT_STREQ(plug.GetPreset(1)->name, "Empty");
  EXPECT_STREQ(plug.GetPreset(2)->name, "Empty");
  EXPECT_EQ(plug.GetPreset(0)->state.Size(), 40);
  double v;
  plug.GetPreset(1)->state.GetDouble(&v, 0);
  EXPECT_EQ(v, 2.0);
}

TEST(Presets, LoadPreset) {
  FivePlugin plug(3);
  plug.FillDefaultPresets("-", 1);
  EXPECT_FALSE(plug.LoadPreset(3));
  EXPECT_FALSE(plug.LoadPreset(-1));
  EXPECT_EQ(plug.presetChanges, 0);

  plug.GetParam(1)->value = 9.0;
  ASSERT_TRUE(plug.LoadPreset(1));  // uninitialized: captures the live state
  EXPECT_STREQ(plug.GetPreset(1)->name, "user preset 1");
  EXPECT_TRUE(plug.GetPreset(1)->initialized);
  EXPECT_EQ(plug.CurrentPresetIndex(), 1);
  ASSERT_TRUE(plug.LoadPreset(2));
  EXPECT_STREQ(plug.GetPreset(2)->name, "user preset 2");

  ASSERT_TRUE(plug.LoadPreset(0));
  EXPECT_EQ(plug.Values(), (std::vector<double>{0, 5, 5, 5, 1}));
  EXPECT_EQ(plug.presetChanges, 3);

  plug.GetPreset(1)->state.Resize(12);  // short: applied as far as it goes, then false
  EXPECT_FALSE(plug.LoadPreset(1));
  EXPECT_EQ(plug.CurrentPresetIndex(), 0);
  EXPECT_EQ(plug.GetParam(0)->value, 0.0);
  EXPECT_EQ(plug.GetParam(1)->value, 0.0);
}

TEST(Presets, ModifyCurrentPreset) {
  FivePlugin plug(2);
  plug.FillDefaultPresets("-", 1);
  plug.GetParam(3)->value = 1.5;
  plug.ModifyCurrentPreset(nullptr);
  EXPECT_STREQ(plug.GetPreset(0)->name, "-");
  plug.ModifyCurrentPreset(std::string(400, 'q').c_str());
  EXPECT_EQ(std::string(plug.GetPreset(0)->name), std::string(255, 'q'));
  double v;
  plug.GetPreset(0)->state.GetDouble(&v, 24);
  EXPECT_EQ(v, 1.5);
}

TEST(Presets, BankRoundTripRestoresCurrentPreset) {
  FivePlugin source(2);
  source.GetParam(0)->value = 3.0;
  source.FillDefaultPresets("first", 1);
  source.GetParam(0)->value = 6.0;
  source.FillDefaultPresets("second", 1);
  StateChunk bank;
  ASSERT_TRUE(source.SerializePresets(bank));

  FivePlugin target(2);
  EXPECT_EQ(target.UnserializePresets(bank, 0), bank.Size());
  EXPECT_STREQ(target.GetPreset(0)->name, "first");
  EXPECT_STREQ(target.GetPreset(1)->name, "second");
  EXPECT_EQ(target.GetParam(0)->value, 3.0);  // current preset 0 restored last
  EXPECT_TRUE(target.GetPreset(1)->initialized);
}

TEST(Presets, BrokenBanksStopTheLoadSafely) {
  struct Case {
    const char* what;
    int32_t secondLength;
  };
  for (const Case& c : {Case{"name beyond the end", 1000}, Case{"negative name length", -8},
                        Case{"absurd name length", INT32_MAX}}) {
    FivePlugin target(2);
    target.FillDefaultPresets("orig", 2);
    target.GetPreset(1)->initialized = false;
    StateChunk bank;
    bank.PutText("A");
    bank.PutBool(true);
    StateChunk body = Doubles({4, 4, 4, 4, 1});
    bank.PutBytes(body.Data(), body.Size());
    bank.PutInt32(c.secondLength);
    bank.PutBytes("xy", 2);

    EXPECT_EQ(target.UnserializePresets(bank, 0), -1) << c.what;
    EXPECT_STREQ(target.GetPreset(0)->name, "A") << c.what;
    EXPECT_STREQ(target.GetPreset(1)->name, "A") << c.what;  // the name read last
    EXPECT_FALSE(target.GetPreset(1)->initialized) << c.what;  // flag kept
    EXPECT_EQ(target.GetParam(0)->value, 4.0) << c.what;     // current preset restored
  }
}

}  // namespace
