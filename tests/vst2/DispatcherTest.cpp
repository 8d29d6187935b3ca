// Dispatcher requests sent through the module's record, as a host sends them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "tests/vst2/HostedEffect.h"

namespace {
const std::string kUntouched(256, kUnwritten);

class Vst2Dispatcher : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(fx.effect, nullptr);
    fx.Start(44100.0f, 512);
  }
  std::vector<float> Parameters() {
    std::vector<float> values;
    for (int i = 0; i < 5; ++i) values.push_back(fx.GetParameter(i));
    return values;
  }
  HostedEffect fx;
};

struct FixedAnswer {
  const char* what;
  VstInt32 opcode;
  VstInt32 index;
  VstIntPtr value;
  VstIntPtr expected;
};

TEST_F(Vst2Dispatcher, FixedAnswers) {
  const FixedAnswer cases[] = {
      {"plug-in category", effGetPlugCategory, 0, 0, 1},
      {"interface version", effGetVstVersion, 0, 0, 2400},
      {"identify", effIdentify, 0, 0, 0x4E764566},
      {"vendor version", effGetVendorVersion, 0, 0, 10000},
      {"tail size", effGetTailSize, 0, 0, 0},
      {"bypass by value", effSetBypass, 0, 1, 0},
      {"bypass by index", effSetBypass, 1, 0, 0},
      {"current program", effGetProgram, 0, 0, 0},
      {"automatable by index", effCanBeAutomated, 3, 0, 1},
      {"automatable by value", effCanBeAutomated, 0, 3, 1},
      {"editor open", effEditOpen, 0, 0, 0},
      {"editor close", effEditClose, 0, 0, 0},
      {"editor idle", effEditIdle, 0, 0, 0},
      {"idle", effIdle, 0, 0, 0},
      {"vu", effGetVu, 0, 0, 0},
      {"program categories", effGetNumProgramCategories, 0, 0, 0},
      {"connect input", effConnectInput, 0, 1, 0},
      {"start process", effStartProcess, 0, 0, 0},
      {"stop process", effStopProcess, 0, 0, 0},
      {"process precision", effSetProcessPrecision, 0, 1, 0},
      {"shell", effShellGetNextPlugin, 0, 0, 0},
      {"begin load bank", effBeginLoadBank, 0, 0, 0},
      {"unknown opcode", 200, 0, 0, 0},
      {"negative opcode", -1, 0, 0, 0},
  };
  for (const FixedAnswer& c : cases) {
    EXPECT_EQ(fx.Dispatch(c.opcode, c.index, c.value), c.expected) << c.what;
  }
}

TEST_F(Vst2Dispatcher, HasNoEditor) {
  ERect* rect = nullptr;
  EXPECT_EQ(fx.Dispatch(effEditGetRect, 0, 0, &rect), 0);
  EXPECT_EQ(rect, nullptr);
  EXPECT_EQ(fx.effect->flags & effFlagsHasEditor, 0);
}

struct TextCase {
  VstInt32 opcode;
  VstInt32 index;
  const char* text;  // null: the buffer stays untouched
  VstIntPtr result;
};

TEST_F(Vst2Dispatcher, Texts) {
  const TextCase cases[] = {
      {effGetEffectName, 0, "TORVA", 1},
      {effGetVendorString, 0, "FennickAudioLab", 1},
      {effGetProductString, 0, "", 1},
      {effGetParamName, 0, "Mic Placement", 0},
      {effGetParamName, 1, "Cabinet Size", 0},
      {effGetParamName, 2, "Character", 0},
      {effGetParamName, 3, "Output", 0},
      {effGetParamName, 4, "Bypass", 0},
      {effGetParamName, 5, nullptr, 0},
      {effGetParamName, -1, nullptr, 0},
      {effGetParamDisplay, 0, "0.0", 0},
      {effGetParamDisplay, 1, "5.0", 0},
      {effGetParamDisplay, 3, "5.0", 0},
      {effGetParamDisplay, 4, "1", 0},
      {effGetParamDisplay, 5, nullptr, 0},
      {effGetParamLabel, 0, "", 0},
      {effGetParamLabel, 4, "", 0},
      {effGetParamLabel, 5, nullptr, 0},
      {effGetProgramName, 0, "-", 0},
      {effGetProgramNameIndexed, 0, "-", 1},
      {effGetProgramNameIndexed, 1, "", 0},
      {effGetProgramNameIndexed, -1, "", 0},
  };
  for (const TextCase& c : cases) {
    char buffer[256];
    std::memset(buffer, kUnwritten, sizeof buffer);
    const VstIntPtr result = fx.Dispatch(c.opcode, c.index, 0, buffer);
    EXPECT_EQ(result, c.result) << c.opcode << " " << c.index;
    const std::string got(buffer, strnlen(buffer, sizeof buffer));
    EXPECT_EQ(got, c.text ? std::string(c.text) : kUntouched) << c.opcode << " " << c.index;
  }
  // Without a buffer nothing is written and the requests that report it fail.
  EXPECT_EQ(fx.Dispatch(effGetEffectName), 0);
  EXPECT_EQ(fx.Dispatch(effGetVendorString), 0);
  EXPECT_EQ(fx.Dispatch(effGetProductString), 0);
  EXPECT_EQ(fx.Dispatch(effGetProgramNameIndexed), 0);
}

// Texts never run past the published limit plus the terminator: 24 characters
// for program names, 8 for value texts.
TEST_F(Vst2Dispatcher, TextsAreCutAtThePublishedLimits) {
  const std::string longName(100, 'n');
  fx.Dispatch(effSetProgramName, 0, 0, const_cast<char*>(longName.c_str()));
  char buffer[256];
  std::memset(buffer, kUnwritten, sizeof buffer);
  fx.Dispatch(effGetProgramName, 0, 0, buffer);
  EXPECT_EQ(std::string(buffer), std::string(24, 'n'));
  EXPECT_EQ(buffer[25], kUnwritten);
  std::memset(buffer, kUnwritten, sizeof buffer);
  fx.Dispatch(effGetProgramNameIndexed, 0, 0, buffer);
  EXPECT_EQ(std::string(buffer), std::string(24, 'n'));

  // A normalized value far outside 0..1 formats as a long number.
  std::memset(buffer, kUnwritten, sizeof buffer);
  EXPECT_EQ(fx.Dispatch(effVendorSpecific, effGetParamDisplay, 2, buffer, 1e30f), 0xBEEF);
  EXPECT_EQ(strnlen(buffer, sizeof buffer), 8u);
  EXPECT_EQ(buffer[9], kUnwritten);
}

TEST_F(Vst2Dispatcher, CanDo) {
  const std::pair<const char*, VstIntPtr> cases[] = {
      {"receiveVstTimeInfo", 1},        {"hasCockosExtensions", 0xBEEF0000},
      {"hasCockosViewAsConfig", 0xBEEF0000}, {"bypass", 0},
      {"receiveVstEvents", 0},          {"receiveVstMidiEvent", 0},
      {"sendVstEvents", 0},             {"sendVstMidiEvent", 0},
      {"receivevsttimeinfo", 0},        {"", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fx.Dispatch(effCanDo, 0, 0, const_cast<char*>(c.first)), c.second) << c.first;
  }
  EXPECT_EQ(fx.Dispatch(effCanDo), 0);
}

struct VendorCase {
  VstInt32 index;
  VstIntPtr value;
  float opt;
  bool withBuffer;
  VstIntPtr result;
  const char* text;  // null: untouched
};

TEST_F(Vst2Dispatcher, VendorSpecific) {
  const VendorCase cases[] = {
      {effGetParamDisplay, 1, 0.5f, true, 0xBEEF, "5.0"},
      {effGetParamDisplay, 0, 0.123f, true, 0xBEEF, "1.2"},
      {effGetParamDisplay, 4, 0.4f, true, 0xBEEF, "0"},
      {effGetParamDisplay, 5, 0.5f, true, 0xBEEF, nullptr},
      {effGetParamDisplay, -1, 0.5f, true, 0xBEEF, nullptr},
      // A 64-bit value whose low half is a valid index is still invalid.
      {effGetParamDisplay, (VstIntPtr(1) << 32) + 1, 0.5f, true, 0xBEEF, nullptr},
      {effGetParamDisplay, 1, 0.5f, false, 0, nullptr},
      {effGetParamName, 4, 0.0f, false, 0xBEEF, nullptr},
      {effGetParamName, 0, 0.0f, false, 0, nullptr},
      {effGetParamName, 5, 0.0f, false, 0, nullptr},
      {effGetParamName, (VstIntPtr(1) << 32) + 4, 0.0f, false, 0, nullptr},
      {9, 1, 0.5f, true, 0, nullptr},
  };
  for (const VendorCase& c : cases) {
    char buffer[256];
    std::memset(buffer, kUnwritten, sizeof buffer);
    const VstIntPtr result =
        fx.Dispatch(effVendorSpecific, c.index, c.value, c.withBuffer ? buffer : nullptr, c.opt);
    EXPECT_EQ(result, c.result) << c.index << " " << c.value;
    const std::string got(buffer, strnlen(buffer, sizeof buffer));
    EXPECT_EQ(got, c.text ? std::string(c.text) : kUntouched) << c.index << " " << c.value;
  }
}

struct PinCase {
  VstInt32 opcode;
  VstInt32 index;
  VstIntPtr result;
  const char* label;
  VstInt32 flags;
};

// Only label and flags are written: hosts may allocate just the first 80 bytes.
TEST_F(Vst2Dispatcher, PinProperties) {
  const PinCase cases[] = {
      {effGetInputProperties, 0, 1, "Input 1", 3},   {effGetInputProperties, 1, 1, "Input 2", 1},
      {effGetInputProperties, 2, 0, nullptr, 0},     {effGetInputProperties, -1, 0, nullptr, 0},
      {effGetOutputProperties, 0, 1, "Output 1", 3}, {effGetOutputProperties, 1, 1, "Output 2", 1},
      {effGetOutputProperties, 2, 0, nullptr, 0},
  };
  for (const PinCase& c : cases) {
    unsigned char raw[sizeof(VstPinProperties)];
    std::memset(raw, 0x7f, sizeof raw);
    VstPinProperties* pin = reinterpret_cast<VstPinProperties*>(raw);
    EXPECT_EQ(fx.Dispatch(c.opcode, c.index, 0, pin), c.result) << c.opcode << " " << c.index;
    for (size_t i = 68; i < sizeof raw; ++i) ASSERT_EQ(raw[i], 0x7f) << "byte " << i;
    if (!c.label) {
      EXPECT_EQ(raw[0], 0x7f);
      continue;
    }
    EXPECT_STREQ(pin->label, c.label);
    EXPECT_EQ(pin->flags, c.flags);
  }
  EXPECT_EQ(fx.Dispatch(effGetInputProperties, 0, 0, nullptr), 0);
}

TEST_F(Vst2Dispatcher, SpeakerArrangementsAnswered) {
  VstSpeakerArrangement* in = nullptr;
  VstSpeakerArrangement* out = nullptr;
  EXPECT_EQ(fx.Dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out), 1);
  ASSERT_NE(in, nullptr);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(in->type, kSpeakerArrStereo);
  EXPECT_EQ(in->numChannels, 2);
  EXPECT_EQ(out->type, kSpeakerArrStereo);
  EXPECT_EQ(out->numChannels, 2);
  EXPECT_EQ(fx.Dispatch(effGetSpeakerArrangement), 1);
  // Setting an arrangement always succeeds and leaves the answered ones alone.
  VstSpeakerArrangement mono = {};
  mono.type = kSpeakerArrMono;
  mono.numChannels = 1;
  EXPECT_EQ(fx.Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&mono), &mono),
            1);
  EXPECT_EQ(in->numChannels, 2);
  EXPECT_EQ(fx.Dispatch(effSetSpeakerArrangement), 1);
}

TEST_F(Vst2Dispatcher, ProgramsKeepTheLiveState) {
  fx.SetParameter(1, 0.2f);
  EXPECT_EQ(fx.Dispatch(effSetProgram, 0, 0), 0);
  EXPECT_EQ(fx.Dispatch(effGetProgram), 0);
  EXPECT_EQ(fx.Text(effGetParamDisplay, 1), "2.0");
  fx.Dispatch(effSetProgramName, 0, 0, const_cast<char*>("Clean"));
  EXPECT_EQ(fx.Text(effGetProgramName), "Clean");
  // A program outside the list changes nothing.
  EXPECT_EQ(fx.Dispatch(effSetProgram, 0, 3), 0);
  EXPECT_EQ(fx.Dispatch(effSetProgram, 0, VstIntPtr(1) << 32), 0);
  EXPECT_EQ(fx.Dispatch(effGetProgram), 0);
  EXPECT_EQ(fx.Text(effGetProgramName), "Clean");
}

std::vector<unsigned char> GetChunkBytes(HostedEffect& fx, VstInt32 index) {
  void* data = nullptr;
  const VstIntPtr size = fx.Dispatch(effGetChunk, index, 0, &data);
  if (size <= 0 || !data) return {};
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  return std::vector<unsigned char>(bytes, bytes + size);
}

std::vector<double> DoublesAt(const std::vector<unsigned char>& bytes, size_t at, int n) {
  std::vector<double> values(n);
  if (bytes.size() >= at + 8 * n) std::memcpy(values.data(), bytes.data() + at, 8 * n);
  return values;
}

TEST_F(Vst2Dispatcher, ProgramAndBankChunksOfAFreshInstance) {
  const std::vector<unsigned char> program = GetChunkBytes(fx, 1);
  ASSERT_EQ(program.size(), 48u);
  const std::vector<unsigned char> header = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00};
  EXPECT_EQ(std::vector<unsigned char>(program.begin(), program.begin() + 8), header);
  EXPECT_EQ(DoublesAt(program, 8, 5), (std::vector<double>{0, 5, 5, 5, 1}));

  const std::vector<unsigned char> bank = GetChunkBytes(fx, 0);
  ASSERT_EQ(bank.size(), 54u);
  EXPECT_EQ(std::vector<unsigned char>(bank.begin(), bank.begin() + 8), header);
  const std::vector<unsigned char> record = {0x01, 0x00, 0x00, 0x00, '-', 0x01};
  EXPECT_EQ(std::vector<unsigned char>(bank.begin() + 8, bank.begin() + 14), record);
  EXPECT_EQ(DoublesAt(bank, 14, 5), (std::vector<double>{0, 5, 5, 5, 1}));
  EXPECT_EQ(fx.Dispatch(effGetChunk, 1, 0, nullptr), 0);
}

TEST_F(Vst2Dispatcher, ChunksRoundTripIntoAnotherInstance) {
  for (VstInt32 index : {0, 1}) {
    HostedEffect source;
    source.Start(44100.0f, 512);
    source.SetParameter(0, 0.3f);
    source.SetParameter(2, 0.9f);
    source.SetParameter(4, 0.0f);
    std::vector<unsigned char> chunk = GetChunkBytes(source, index);
    ASSERT_FALSE(chunk.empty());
    HostedEffect target;
    target.Start(44100.0f, 512);
    EXPECT_EQ(target.Dispatch(effSetChunk, index, static_cast<VstIntPtr>(chunk.size()),
                              chunk.data()),
              1)
        << index;
    // A host may also hand the module's own chunk bytes straight back.
    void* own = nullptr;
    const VstIntPtr ownSize = target.Dispatch(effGetChunk, index, 0, &own);
    ASSERT_EQ(ownSize, static_cast<VstIntPtr>(chunk.size())) << index;
    EXPECT_EQ(target.Dispatch(effSetChunk, index, ownSize, own), 1) << index;
    EXPECT_EQ(GetChunkBytes(target, index), chunk) << index;
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(target.Text(effGetParamDisplay, i), source.Text(effGetParamDisplay, i))
          << index << " " << i;
    }
  }
}

struct RefusedChunk {
  const char* what;
  VstInt32 index;
  VstIntPtr bytes;
  bool withData;
};

// A byte count that cannot be a chunk is refused before anything changes.
TEST_F(Vst2Dispatcher, RefusesImpossibleChunkSizes) {
  fx.SetParameter(0, 0.7f);
  std::vector<unsigned char> data = GetChunkBytes(fx, 1);
  fx.SetParameter(0, 0.1f);
  const std::vector<float> before = Parameters();
  const RefusedChunk cases[] = {
      {"negative program", 1, -1, true},
      {"negative bank", 0, -48, true},
      {"empty", 1, 0, true},
      {"above the limit", 1, (VstIntPtr(16) << 20) + 1, true},
      {"absurd", 0, std::numeric_limits<VstIntPtr>::max(), true},
      {"no data", 1, 48, false},
  };
  for (const RefusedChunk& c : cases) {
    EXPECT_EQ(fx.Dispatch(effSetChunk, c.index, c.bytes, c.withData ? data.data() : nullptr), 0)
        << c.what;
    EXPECT_EQ(Parameters(), before) << c.what;
  }
}

TEST_F(Vst2Dispatcher, ShortAndHeaderlessChunks) {
  // Four bytes of magic: nothing can be read, the request fails.
  const unsigned char magic[] = {0x74, 0x66, 0x66, 0x70};
  const std::vector<float> before = Parameters();
  EXPECT_EQ(fx.Dispatch(effSetChunk, 1, 4, const_cast<unsigned char*>(magic)), 0);
  EXPECT_EQ(Parameters(), before);

  // A bank without the header is read as one state from its first byte.
  const double state[5] = {2.0, 3.0, 4.0, 6.0, 0.0};
  EXPECT_EQ(fx.Dispatch(effSetChunk, 0, sizeof state, const_cast<double*>(state)), 1);
  EXPECT_EQ(fx.Text(effGetParamDisplay, 0), "2.0");
  EXPECT_EQ(fx.Text(effGetParamDisplay, 3), "6.0");
  EXPECT_EQ(fx.Text(effGetParamDisplay, 4), "0");

  // A bank whose name length runs past the end cannot be read.
  std::vector<unsigned char> bank = GetChunkBytes(fx, 0);
  ASSERT_GE(bank.size(), 12u);
  const int32_t hugeLength = 1000;
  std::memcpy(bank.data() + 8, &hugeLength, 4);
  EXPECT_EQ(fx.Dispatch(effSetChunk, 0, static_cast<VstIntPtr>(bank.size()), bank.data()), 0);
}

struct TextToValue {
  VstInt32 index;
  const char* text;
  VstIntPtr result;
  const char* display;  // the parameter's value text afterwards
};

TEST_F(Vst2Dispatcher, StringToParameter) {
  const TextToValue cases[] = {
      {2, "12", 1, "10.0"}, {2, "2.5", 1, "2.5"}, {0, "-3", 1, "0.0"}, {4, "0", 1, "0"},
#ifdef _WIN32
      // The Windows C library reads no number from "nan": 0.
      {2, "nan", 1, "0.0"}, {2, "2.5", 1, "2.5"},
#else
      // The GNU C library reads a NaN, which must not reach the parameter.
      {2, "nan", 0, "2.5"},
#endif
      {2, "abc", 1, "0.0"}, {1, nullptr, 1, "5.0"}, {5, "1", 0, nullptr},
      {-1, nullptr, 0, nullptr},
  };
  for (const TextToValue& c : cases) {
    EXPECT_EQ(fx.Dispatch(effString2Parameter, c.index, 0, const_cast<char*>(c.text)), c.result)
        << c.index << " " << (c.text ? c.text : "(none)");
    if (c.display) {
      EXPECT_EQ(fx.Text(effGetParamDisplay, c.index), c.display) << c.index;
    }
  }
  // A text entry is not reported back to the host as automation.
  EXPECT_EQ(fx.host.Count(audioMasterAutomate), 0);
}

TEST_F(Vst2Dispatcher, IdentifiesTheHostOnceAtOpen) {
  const std::vector<HostCall> calls = fx.host.Calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].opcode, audioMasterGetProductString);
  EXPECT_EQ(calls[1].opcode, audioMasterGetVendorVersion);
  fx.Dispatch(effOpen);
  EXPECT_EQ(fx.host.Calls().size(), 2u);

  HostedEffect nameless;
  nameless.host.productString = "";
  nameless.Dispatch(effOpen);
  EXPECT_EQ(nameless.host.Count(audioMasterGetProductString), 1);
  EXPECT_EQ(nameless.host.Count(audioMasterGetVendorVersion), 0);
}

TEST_F(Vst2Dispatcher, EventsReachTheEffect) {
  VstMidiEvent note = {};
  note.type = kVstMidiType;
  note.byteSize = sizeof note;
  note.deltaFrames = 5;
  note.midiData[0] = static_cast<char>(0x90);
  note.midiData[1] = 60;
  note.midiData[2] = 100;
  VstMidiSysexEvent sysex = {};
  sysex.type = kVstSysExType;
  sysex.byteSize = sizeof sysex;
  char dump[] = {static_cast<char>(0xF0), 0x7E, static_cast<char>(0xF7)};
  sysex.dumpBytes = sizeof dump;
  sysex.sysexDump = dump;
  struct {
    VstInt32 numEvents;
    VstIntPtr reserved;
    VstEvent* events[4];
  } list = {3, 0, {reinterpret_cast<VstEvent*>(&sysex), nullptr,
                   reinterpret_cast<VstEvent*>(&note), nullptr}};
  fx.host.ClearCalls();
  EXPECT_EQ(fx.Dispatch(effProcessEvents, 0, 0, &list), 1);
  // This effect passes MIDI it receives on to the host; SysEx stays inside.
  const std::vector<VstMidiEvent> out = fx.host.MidiOut();
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].byteSize, 32);
  EXPECT_EQ(out[0].deltaFrames, 5);
  EXPECT_EQ(static_cast<unsigned char>(out[0].midiData[0]), 0x90);
  EXPECT_EQ(out[0].midiData[1], 60);
  EXPECT_EQ(out[0].midiData[2], 100);
  EXPECT_EQ(out[0].midiData[3], 0);
  EXPECT_EQ(fx.host.Count(audioMasterProcessEvents), 1);

  list.numEvents = 0;
  EXPECT_EQ(fx.Dispatch(effProcessEvents, 0, 0, &list), 1);
  EXPECT_EQ(fx.Dispatch(effProcessEvents), 0);
}

TEST_F(Vst2Dispatcher, ParametersByIndex) {
  EXPECT_EQ(fx.GetParameter(5), 0.0f);
  EXPECT_EQ(fx.GetParameter(-1), 0.0f);
  EXPECT_FLOAT_EQ(fx.GetParameter(1), 0.5f);
  EXPECT_FLOAT_EQ(fx.GetParameter(4), 1.0f);

  const std::vector<float> before = Parameters();
  fx.SetParameter(5, 1.0f);
  fx.SetParameter(-1, 1.0f);
  fx.SetParameter(2, std::numeric_limits<float>::quiet_NaN());
  EXPECT_EQ(Parameters(), before);

  const struct {
    VstInt32 index;
    float value;
    const char* display;
  } cases[] = {
      {0, 0.5f, "5.0"}, {4, 0.4f, "0"}, {4, 0.5f, "1"}, {1, -3.0f, "0.0"}, {1, 7.0f, "10.0"},
  };
  for (const auto& c : cases) {
    fx.SetParameter(c.index, c.value);
    EXPECT_EQ(fx.Text(effGetParamDisplay, c.index), c.display) << c.index << " " << c.value;
  }
  EXPECT_FLOAT_EQ(fx.GetParameter(0), 0.5f);
  EXPECT_EQ(fx.host.Count(audioMasterAutomate), 0);
}
}  // namespace
