#pragma once
// The component and audio-processor family: buses, processing set-up, the
// per-block process data with its parameter queues and the process context.
#include "framework/vst3/Vst3Base.h"

namespace vst3 {

using ParamID = uint32;
using ParamValue = double;
using SampleRate = double;
using TSamples = int64;
using TQuarterNotes = double;
using Sample32 = float;
using Sample64 = double;
using SpeakerArrangement = uint64;
using MediaType = int32;
using BusDirection = int32;
using BusType = int32;
using IoMode = int32;

enum MediaTypes : int32 { kAudio = 0, kEvent = 1 };
enum BusDirections : int32 { kInput = 0, kOutput = 1 };
enum BusTypes : int32 { kMain = 0, kAux = 1 };
enum BusFlags : uint32 { kDefaultActive = 1 };
enum ProcessModes : int32 { kRealtime = 0, kPrefetch = 1, kOffline = 2 };
enum SymbolicSampleSizes : int32 { kSample32 = 0, kSample64 = 1 };
constexpr uint32 kNoTail = 0;

// Speaker arrangements: one bit per speaker, channel count = bits set.
namespace SpeakerArr {
constexpr SpeakerArrangement kEmpty = 0x0;
constexpr SpeakerArrangement kMono = 0x80000;
constexpr SpeakerArrangement kStereo = 0x3;
constexpr SpeakerArrangement k30Music = 0x103;
constexpr SpeakerArrangement k40Music = 0x33;
constexpr SpeakerArrangement k50 = 0x37;
constexpr SpeakerArrangement k51 = 0x3F;
}  // namespace SpeakerArr

inline int32 SpeakerCount(SpeakerArrangement arr) {
  int32 n = 0;
  for (; arr; arr &= arr - 1) ++n;
  return n;
}

struct BusInfo {
  MediaType mediaType;
  BusDirection direction;
  int32 channelCount;
  String128 name;
  BusType busType;
  uint32 flags;
};

struct RoutingInfo {
  MediaType mediaType;
  int32 busIndex;
  int32 channel;
};

struct ProcessSetup {
  int32 processMode;
  int32 symbolicSampleSize;
  int32 maxSamplesPerBlock;
  SampleRate sampleRate;
};

struct AudioBusBuffers {
  int32 numChannels;
  uint64 silenceFlags;
  union {
    Sample32** channelBuffers32;
    Sample64** channelBuffers64;
  };
};

struct FrameRate {
  uint32 framesPerSecond;
  uint32 flags;
};

struct Chord {
  uint8 keyNote;
  uint8 rootNote;
  int16 chordMask;
};

enum ProcessContextStates : uint32 {
  kPlaying = 0x2,
  kCycleActive = 0x4,
  kRecording = 0x8,
  kSystemTimeValid = 0x100,
  kProjectTimeMusicValid = 0x200,
  kTempoValid = 0x400,
  kBarPositionValid = 0x800,
  kCycleValid = 0x1000,
  kTimeSigValid = 0x2000,
  kSmpteValid = 0x4000,
  kClockValid = 0x8000,
  kContTimeValid = 0x20000,
  kChordValid = 0x40000,
};

struct ProcessContext {
  uint32 state;
  double sampleRate;
  TSamples projectTimeSamples;
  int64 systemTime;
  TSamples continousTimeSamples;
  TQuarterNotes projectTimeMusic;
  TQuarterNotes barPositionMusic;
  TQuarterNotes cycleStartMusic;
  TQuarterNotes cycleEndMusic;
  double tempo;
  int32 timeSigNumerator;
  int32 timeSigDenominator;
  Chord chord;
  int32 smpteOffsetSubframes;
  FrameRate frameRate;
  int32 samplesToNextClock;
};

// One parameter's automation points within a block (host object).
class IParamValueQueue : public FUnknown {
 public:
  virtual ParamID TORVA_VST3_API getParameterId() = 0;
  virtual int32 TORVA_VST3_API getPointCount() = 0;
  virtual tresult TORVA_VST3_API getPoint(int32 index, int32& sampleOffset, ParamValue& value) = 0;
  virtual tresult TORVA_VST3_API addPoint(int32 sampleOffset, ParamValue value, int32& index) = 0;
  static constexpr Uid iid = MakeUid(0x01263A18, 0xED074F6F, 0x98C9D356, 0x4686F9BA);
};

// The queues of one block (host object); returned queues are borrowed.
class IParameterChanges : public FUnknown {
 public:
  virtual int32 TORVA_VST3_API getParameterCount() = 0;
  virtual IParamValueQueue* TORVA_VST3_API getParameterData(int32 index) = 0;
  virtual IParamValueQueue* TORVA_VST3_API addParameterData(const ParamID& id, int32& index) = 0;
  static constexpr Uid iid = MakeUid(0xA4779663, 0x0BB64A56, 0xB44384A8, 0x466FEB9D);
};

struct Event;  // note events; this effect takes none

class IEventList : public FUnknown {
 public:
  virtual int32 TORVA_VST3_API getEventCount() = 0;
  virtual tresult TORVA_VST3_API getEvent(int32 index, Event& e) = 0;
  virtual tresult TORVA_VST3_API addEvent(Event& e) = 0;
  static constexpr Uid iid = MakeUid(0x3A2C4214, 0x346349FE, 0xB2C4F397, 0xB9695A44);
};

struct ProcessData {
  int32 processMode;
  int32 symbolicSampleSize;
  int32 numSamples;
  int32 numInputs;
  int32 numOutputs;
  AudioBusBuffers* inputs;
  AudioBusBuffers* outputs;
  IParameterChanges* inputParameterChanges;
  IParameterChanges* outputParameterChanges;
  IEventList* inputEvents;
  IEventList* outputEvents;
  ProcessContext* processContext;
};

class IComponent : public IPluginBase {
 public:
  virtual tresult TORVA_VST3_API getControllerClassId(TUID classId) = 0;
  virtual tresult TORVA_VST3_API setIoMode(IoMode mode) = 0;
  virtual int32 TORVA_VST3_API getBusCount(MediaType type, BusDirection dir) = 0;
  virtual tresult TORVA_VST3_API getBusInfo(MediaType type, BusDirection dir, int32 index,
                                            BusInfo& bus) = 0;
  virtual tresult TORVA_VST3_API getRoutingInfo(RoutingInfo& inInfo, RoutingInfo& outInfo) = 0;
  virtual tresult TORVA_VST3_API activateBus(MediaType type, BusDirection dir, int32 index,
                                             TBool state) = 0;
  virtual tresult TORVA_VST3_API setActive(TBool state) = 0;
  // The processor's state (the controller's pair lives in other slots).
  virtual tresult TORVA_VST3_API setState(IBStream* state) = 0;
  virtual tresult TORVA_VST3_API getState(IBStream* state) = 0;
  static constexpr Uid iid = MakeUid(0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802);
};

class IAudioProcessor : public FUnknown {
 public:
  virtual tresult TORVA_VST3_API setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                    SpeakerArrangement* outputs,
                                                    int32 numOuts) = 0;
  virtual tresult TORVA_VST3_API getBusArrangement(BusDirection dir, int32 index,
                                                   SpeakerArrangement& arr) = 0;
  virtual tresult TORVA_VST3_API canProcessSampleSize(int32 symbolicSampleSize) = 0;
  virtual uint32 TORVA_VST3_API getLatencySamples() = 0;
  virtual tresult TORVA_VST3_API setupProcessing(ProcessSetup& setup) = 0;
  virtual tresult TORVA_VST3_API setProcessing(TBool state) = 0;
  virtual tresult TORVA_VST3_API process(ProcessData& data) = 0;
  virtual uint32 TORVA_VST3_API getTailSamples() = 0;
  static constexpr Uid iid = MakeUid(0x42043F99, 0xB7DA453C, 0xA569E79D, 0x9AAEC33D);
};

// ---- Layout checks (identical on both targets) ----
static_assert(sizeof(BusInfo) == 276 && alignof(BusInfo) == 4, "BusInfo");
static_assert(offsetof(BusInfo, name) == 12 && offsetof(BusInfo, busType) == 268 &&
                  offsetof(BusInfo, flags) == 272, "BusInfo fields");
static_assert(sizeof(RoutingInfo) == 12, "RoutingInfo");
static_assert(sizeof(ProcessSetup) == 24 && alignof(ProcessSetup) == 8, "ProcessSetup");
static_assert(offsetof(ProcessSetup, maxSamplesPerBlock) == 8 &&
                  offsetof(ProcessSetup, sampleRate) == 16, "ProcessSetup fields");
static_assert(sizeof(AudioBusBuffers) == 24 && alignof(AudioBusBuffers) == 8, "AudioBusBuffers");
static_assert(offsetof(AudioBusBuffers, silenceFlags) == 8 &&
                  offsetof(AudioBusBuffers, channelBuffers32) == 16, "AudioBusBuffers fields");
static_assert(sizeof(FrameRate) == 8 && sizeof(Chord) == 4 && alignof(Chord) == 2, "FrameRate");
static_assert(sizeof(ProcessContext) == 112 && alignof(ProcessContext) == 8, "ProcessContext");
static_assert(offsetof(ProcessContext, sampleRate) == 8 &&
                  offsetof(ProcessContext, projectTimeSamples) == 16 &&
                  offsetof(ProcessContext, projectTimeMusic) == 40 &&
                  offsetof(ProcessContext, barPositionMusic) == 48 &&
                  offsetof(ProcessContext, cycleStartMusic) == 56 &&
                  offsetof(ProcessContext, tempo) == 72 &&
                  offsetof(ProcessContext, timeSigNumerator) == 80 &&
                  offsetof(ProcessContext, chord) == 88 &&
                  offsetof(ProcessContext, smpteOffsetSubframes) == 92 &&
                  offsetof(ProcessContext, frameRate) == 96 &&
                  offsetof(ProcessContext, samplesToNextClock) == 104, "ProcessContext fields");
static_assert(sizeof(ProcessData) == 80 && alignof(ProcessData) == 8, "ProcessData");
static_assert(offsetof(ProcessData, numOutputs) == 16 && offsetof(ProcessData, inputs) == 24 &&
                  offsetof(ProcessData, outputs) == 32 &&
                  offsetof(ProcessData, inputParameterChanges) == 40 &&
                  offsetof(ProcessData, inputEvents) == 56 &&
                  offsetof(ProcessData, processContext) == 72, "ProcessData fields");

}  // namespace vst3
