// The controller's state stream: the core's parameter values as
// little-endian doubles, then the host-bypass flag as a 32-bit integer.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/vst3/PluginSession.h"

using namespace vst3;
using host::kHostBypassParamId;
using host::MemoryStream;
using host::PluginSession;

namespace {

std::vector<uint8_t> StateBytes(std::vector<double> values, std::vector<int32_t> ints = {}) {
  std::vector<uint8_t> bytes;
  for (double v : values) {
    uint8_t b[8];
    std::memcpy(b, &v, 8);  // both targets are little-endian
    bytes.insert(bytes.end(), b, b + 8);
  }
  for (int32_t v : ints) {
    uint8_t b[4];
    std::memcpy(b, &v, 4);
    bytes.insert(bytes.end(), b, b + 4);
  }
  return bytes;
}

std::vector<double> PlainValues(PluginSession& s) {
  std::vector<double> v;
  for (ParamID id = 0; id < 5; ++id) {
    v.push_back(s.controller->normalizedParamToPlain(id, s.controller->getParamNormalized(id)));
  }
  return v;
}

TEST(Vst3State, DefaultStateIs44Bytes) {
  PluginSession s;
  ASSERT_TRUE(s.Ok());
  MemoryStream stream;
  ASSERT_EQ(s.controller->getEditorState(&stream), kResultOk);
  EXPECT_EQ(stream.bytes_, StateBytes({0, 5, 5, 5, 1}, {0}));
}

TEST(Vst3State, RoundTripsIntoAnotherInstance) {
  PluginSession a, b;
  ASSERT_TRUE(a.Ok() && b.Ok());
  a.Prepare(2, kSample32, 64);
  const double values[] = {0.2, 0.3, 0.4, 0.5};
  for (ParamID id = 0; id < 4; ++id) a.controller->setParamNormalized(id, values[id]);
  a.controller->setParamNormalized(4, 0.0);
  host::ParamChanges bypass;
  bypass.Add(kHostBypassParamId, {{0, 1.0}});
  std::vector<std::vector<float>> none(2, std::vector<float>(64));
  auto out = none;
  ASSERT_EQ(a.Process<float>(none, out, 64, &bypass), kResultOk);
  MemoryStream stream;
  ASSERT_EQ(a.controller->getEditorState(&stream), kResultOk);
  EXPECT_EQ(stream.bytes_, StateBytes({2, 3, 4, 5, 0}, {1}));
  stream.position_ = 0;
  ASSERT_EQ(b.controller->setEditorState(&stream), kResultOk);
  EXPECT_EQ(PlainValues(b), PlainValues(a));
  EXPECT_EQ(b.controller->getParamNormalized(kHostBypassParamId), 1.0);
}

// What a stream does not deliver is not applied: the values it covers are
// set, every later one keeps its live value.
TEST(Vst3State, ShortAndFailingStreams) {
  struct Row {
    const char* what;
    std::vector<uint8_t> bytes;
    bool failShortReads;
    tresult result;
    std::vector<double> values;
    double bypass;
  } rows[] = {
      {"whole", StateBytes({1, 2, 3, 4, 1}, {1}), false, kResultOk, {1, 2, 3, 4, 1}, 1.0},
      {"longer than needed", StateBytes({1, 2, 3, 4, 1}, {0, 77}), false, kResultOk,
       {1, 2, 3, 4, 1}, 0.0},
      {"out of range values clamp", StateBytes({-5, 20, 3, 4, 7}, {0}), false, kResultOk,
       {0, 10, 3, 4, 1}, 0.0},
      {"no flag, read fails", StateBytes({1, 2, 3, 4, 1}), true, kResultFalse, {1, 2, 3, 4, 1},
       1.0},
      {"no flag, read skipped", StateBytes({1, 2, 3, 4, 1}), false, kResultOk, {1, 2, 3, 4, 1},
       0.0},
      {"16 bytes, silent", StateBytes({7, 3}), false, kResultOk, {7, 3, 8, 8, 0}, 0.0},
      {"16 bytes, failing", StateBytes({7, 3}), true, kResultFalse, {7, 3, 8, 8, 0}, 1.0},
      {"nothing, failing", {}, true, kResultFalse, {8, 8, 8, 8, 0}, 1.0},
      {"nothing, silent", {}, false, kResultOk, {8, 8, 8, 8, 0}, 0.0},
  };
  for (const Row& r : rows) {
    PluginSession s;
    ASSERT_TRUE(s.Ok());
    // Values the stream must overwrite or leave alone, bypass on.
    MemoryStream before(StateBytes({8, 8, 8, 8, 0}, {1}));
    ASSERT_EQ(s.controller->setEditorState(&before), kResultOk);
    MemoryStream stream(r.bytes);
    stream.failShortReads_ = r.failShortReads;
    EXPECT_EQ(s.controller->setEditorState(&stream), r.result) << r.what;
    EXPECT_EQ(PlainValues(s), r.values) << r.what;
    EXPECT_EQ(s.controller->getParamNormalized(kHostBypassParamId), r.bypass) << r.what;
  }
}

TEST(Vst3State, NullStreamsAndTheComponentPair) {
  PluginSession s;
  ASSERT_TRUE(s.Ok());
  EXPECT_EQ(s.controller->getEditorState(nullptr), kResultFalse);
  EXPECT_EQ(s.controller->setEditorState(nullptr), kResultFalse);
  MemoryStream stream(StateBytes({1, 2, 3, 4, 1}, {1}));
  // Processor state goes through the controller; the component pair is idle.
  EXPECT_EQ(s.component->setState(&stream), kNotImplemented);
  EXPECT_EQ(s.component->getState(&stream), kNotImplemented);
  EXPECT_EQ(stream.position_, 0u);
  EXPECT_EQ(PlainValues(s), (std::vector<double>{0, 5, 5, 5, 1}));
}

}  // namespace
