#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/plugbase/TestPlugin.h"

namespace {

TEST(FxBaseConfig, ParsesChannelConfigurations) {
  struct Case {
    const char* text;
    std::vector<std::pair<int, int>> configs;
    int inputs;
    int outputs;
  };
  const Case cases[] = {
      {"1-1 2-2", {{1, 1}, {2, 2}}, 2, 2},
      {"", {{0, 0}}, 0, 0},
      // Two spaces: the token after them is read twice.
      {"1-1  2-2", {{1, 1}, {2, 2}, {2, 2}}, 2, 2},
      {"0-2 x-y 1-4", {{0, 2}, {0, 0}, {1, 4}}, 1, 4},
  };
  for (const Case& c : cases) {
    TestPlugin plug(c.text);
    std::vector<std::pair<int, int>> got;
    for (const ChannelIOConfig& config : plug.ChannelConfigs()) got.push_back({config.inputs, config.outputs});
    EXPECT_EQ(got, c.configs) << '"' << c.text << '"';
    EXPECT_EQ(plug.NumInputChannels(), c.inputs);
    EXPECT_EQ(plug.NumOutputChannels(), c.outputs);
  }
}

TEST(FxBaseConfig, LegalIO) {
  TestPlugin plug("1-1 2-2");
  struct Case {
    int in, out;
    bool legal;
  };
  for (const Case& c : {Case{1, -1, true}, Case{2, 2, true}, Case{2, 1, false}, Case{3, -1, false},
                        Case{-1, -1, true}, Case{1, 1, true}, Case{0, 0, false}}) {
    EXPECT_EQ(plug.LegalIO(c.in, c.out), c.legal) << c.in << "-" << c.out;
  }
}

TEST(FxBaseConfig, IdentityNamesAreCutToTheirFields) {
  const std::string longName(300, 'a');
  TestPlugin plug;
  IFxOffline cut(nullptr, longName.c_str(), longName.c_str(), longName.c_str(), 1, 2, 3, "1-1", 0, 0,
                 false, false, false);
  EXPECT_EQ(std::string(cut.EffectName()), std::string(127, 'a'));
  EXPECT_EQ(std::string(cut.ProductName()), std::string(127, 'a'));
  EXPECT_EQ(std::string(cut.MakerName()), std::string(127, 'a'));
  EXPECT_EQ(cut.HostCode(), -1);
  EXPECT_EQ(cut.GetSampleRate(), 44100.0);
  EXPECT_EQ(cut.GetParam(0), nullptr);
  EXPECT_EQ(plug.GetParam(-1), nullptr);
  EXPECT_EQ(plug.GetParam(3), nullptr);
  EXPECT_NE(plug.GetParam(2), nullptr);
  EXPECT_STREQ(plug.GetPreset(0)->name, "empty");
  EXPECT_FALSE(plug.GetPreset(0)->initialized);
}

class FxBaseBuffers : public ::testing::Test {
 protected:
  void SetUp() override {
    plug.SetBlockSize(8);
    for (int i = 0; i < 2; ++i) {
      plug.SetInputConnected(i, true);
      plug.SetOutputConnected(i, true);
    }
  }
  TestPlugin plug;
};

TEST_F(FxBaseBuffers, SetBlockSizeClearsOnlyOnChange) {
  plug.InputChannel(0)->scratch[3] = 7.0;
  plug.SetBlockSize(8);
  EXPECT_EQ(plug.InputChannel(0)->scratch[3], 7.0);
  plug.SetBlockSize(16);
  EXPECT_EQ(plug.InputChannel(0)->scratch.size(), 16u);
  EXPECT_EQ(plug.OutputChannel(1)->scratch.size(), 16u);
  EXPECT_EQ(plug.InputChannel(0)->scratch[3], 0.0);
}

TEST_F(FxBaseBuffers, SinglePrecisionBindingStopsAfterTheHostBuffers) {
  std::vector<float> a(8, 0.5f);
  float* host[] = {a.data()};
  double* before = *plug.InputChannel(1)->dataSlot;
  plug.BindInputBuffers(0, 1, host, 8);
  EXPECT_EQ(*plug.InputChannel(0)->dataSlot, plug.InputChannel(0)->scratch.data());
  EXPECT_EQ(plug.InputChannel(0)->scratch[7], 0.5);
  EXPECT_EQ(*plug.InputChannel(1)->dataSlot, before);
}

TEST_F(FxBaseBuffers, UnconnectedChannelsConsumeNoHostBuffer) {
  plug.SetInputConnected(0, false);
  std::vector<double> a(8, 1.0), b(8, 2.0);
  double* host[] = {a.data(), b.data()};
  plug.BindInputBuffers(2, host);
  EXPECT_EQ(*plug.InputChannel(0)->dataSlot, plug.InputChannel(0)->scratch.data());
  EXPECT_EQ(*plug.InputChannel(1)->dataSlot, a.data());
}

TEST_F(FxBaseBuffers, DefaultProcessingCopiesAndReplacesOrAccumulates) {
  std::vector<float> inL(8), inR(8), outL(8, 10.0f), outR(8, 10.0f);
  for (int i = 0; i < 8; ++i) {
    inL[i] = static_cast<float>(i);
    inR[i] = static_cast<float>(-i);
  }
  float* in[] = {inL.data(), inR.data()};
  float* out[] = {outL.data(), outR.data()};

  ASSERT_TRUE(plug.ProcessHostBuffers(in, 2, out, 2, 8, true));
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(outL[i], 10.0f + i);
    EXPECT_EQ(outR[i], 10.0f - i);
  }
  ASSERT_TRUE(plug.ProcessHostBuffers(in, 2, out, 2, 8, false));
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(outL[i], static_cast<float>(i));
    EXPECT_EQ(outR[i], static_cast<float>(-i));
  }
  std::vector<float> untouched(outL);
  ASSERT_TRUE(plug.ProcessHostBuffers(in, 2, out, 2, 0, false));
  EXPECT_EQ(outL, untouched);
}

// An unconnected record in front of a connected one: the host's one buffer
// goes to the connected channel, in both precisions and whatever came before.
TEST_F(FxBaseBuffers, HostBuffersGoToConnectedChannelsOnly) {
  plug.SetInputConnected(0, false);
  plug.SetOutputConnected(0, false);
  std::vector<double> din(8, 0.25), dout(8, 0.0);
  double* dins[] = {din.data()};
  double* douts[] = {dout.data()};
  ASSERT_TRUE(plug.ProcessHostBuffers(dins, 1, douts, 1, 8));
  EXPECT_EQ(dout, din);

  std::vector<float> fin(8, 0.5f), fout(8, 0.0f);
  float* fins[] = {fin.data()};
  float* fouts[] = {fout.data()};
  ASSERT_TRUE(plug.ProcessHostBuffers(fins, 1, fouts, 1, 8, false));
  EXPECT_EQ(fout, fin);
  EXPECT_EQ(*plug.InputChannel(1)->dataSlot, plug.InputChannel(1)->scratch.data());
}

TEST_F(FxBaseBuffers, MoreOutputsThanInputsAreZeroed) {
  TestPlugin wide("1-2");
  wide.SetBlockSize(4);
  wide.SetInputConnected(0, true);
  wide.SetOutputConnected(0, true);
  wide.SetOutputConnected(1, true);
  std::vector<double> in(4, 3.0), o1(4, 9.0), o2(4, 9.0);
  double* ins[] = {in.data()};
  double* outs[] = {o1.data(), o2.data()};
  ASSERT_TRUE(wide.ProcessHostBuffers(ins, 1, outs, 2, 4));
  EXPECT_EQ(o1, std::vector<double>(4, 3.0));
  EXPECT_EQ(o2, std::vector<double>(4, 0.0));
}

// A host that sends more frames than the block size it announced must not
// make the core write past a scratch buffer: the call is processed in slices.
TEST_F(FxBaseBuffers, CallsLongerThanTheBlockAreSliced) {
  const int frames = 8 * 5 + 3;
  std::vector<float> inL(frames), inR(frames), outL(frames), outR(frames);
  for (int i = 0; i < frames; ++i) {
    inL[i] = static_cast<float>(i);
    inR[i] = static_cast<float>(2 * i);
  }
  float* in[] = {inL.data(), inR.data()};
  float* out[] = {outL.data(), outR.data()};
  ASSERT_TRUE(plug.ProcessHostBuffers(in, 2, out, 2, frames, false));
  EXPECT_EQ(outL, inL);
  EXPECT_EQ(outR, inR);

  std::vector<double> d(frames, 1.25), e(frames, 0.0);
  double* din[] = {d.data(), d.data()};
  double* dout[] = {e.data(), e.data()};
  ASSERT_TRUE(plug.ProcessHostBuffers(din, 2, dout, 2, frames));
  EXPECT_EQ(e, d);

  // The raw operations cut an oversized call to one block.
  std::vector<float> big(frames, 4.0f);
  float* bigIn[] = {big.data(), big.data()};
  plug.BindInputBuffers(0, 2, bigIn, frames);
  plug.BindOutputBuffers(2, out);
  std::fill(outL.begin(), outL.end(), -1.0f);
  plug.ProcessBoundBuffers(IFxBase::BoundForm::SingleReplacing, frames);
  EXPECT_EQ(outL[7], 4.0f);
  EXPECT_EQ(outL[8], -1.0f);
}

TEST(FxBaseBuffersNoBlock, ProcessingWithoutABlockSizeIsRefused) {
  TestPlugin plug;
  std::vector<float> a(4);
  float* bufs[] = {a.data()};
  EXPECT_FALSE(plug.ProcessHostBuffers(bufs, 1, bufs, 1, 4, false));
  EXPECT_FALSE(plug.ProcessHostBuffers(bufs, 1, nullptr, 1, 4, false));
}

TEST_F(FxBaseBuffers, PassThroughAndClearScratch) {
  plug.SetInputConnected(0, false);
  plug.SetInputConnected(1, false);
  plug.SetOutputConnected(0, false);
  plug.SetOutputConnected(1, false);
  plug.InputChannel(0)->scratch.assign(8, 2.0);
  plug.PassThroughBlock(8);
  EXPECT_EQ(plug.OutputChannel(0)->scratch, std::vector<double>(8, 2.0));
  plug.ClearScratchBuffers();
  EXPECT_EQ(plug.OutputChannel(0)->scratch, std::vector<double>(8, 0.0));
  EXPECT_EQ(plug.InputChannel(0)->scratch, std::vector<double>(8, 0.0));
}

TEST(FxBaseParams, SetParameterFromEditorReportsTheValueReceived) {
  TestPlugin plug;
  plug.GetParam(1)->SetUpInteger("Switch", 0, 0, 1, "", "");
  plug.SetParameterFromEditor(1, 0.7);
  EXPECT_EQ(plug.GetParam(1)->value, 1.0);
  ASSERT_EQ(plug.informed.size(), 1u);
  EXPECT_EQ(plug.informed[0].first, 1);
  EXPECT_EQ(plug.informed[0].second, 0.7);
  EXPECT_EQ(plug.changed, std::vector<int>{1});

  plug.SetParameterFromEditor(9, 0.5);  // outside the list: nothing happens
  EXPECT_EQ(plug.informed.size(), 1u);
}

TEST(FxBaseEditor, AttachAndRefreshPushValuesIntoTheEditor) {
  std::vector<RecordingEditor::Push> log;
  int prepared = 0;
  {
    TestPlugin plug;
    plug.GetParam(0)->SetUpNumeric("A", 5.0, 0.0, 10.0, 0.1, "", "", 1.0);
    plug.AttachEditor(nullptr);
    EXPECT_EQ(plug.GetEditor(), nullptr);
    plug.RefreshEditorControls();  // no editor: nothing to do

    plug.AttachEditor(new RecordingEditor(&log, &prepared));
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].index, 0);
    EXPECT_EQ(log[0].value, 0.5);
    EXPECT_TRUE(log[0].normalized);
    EXPECT_EQ(prepared, 1);

    log.clear();
    plug.RefreshEditorControls();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].value, 5.0);
    EXPECT_FALSE(log[0].normalized);
    EXPECT_EQ(log[2].index, 2);
  }
}

}  // namespace
