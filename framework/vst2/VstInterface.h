#pragma once
// Declarations of the VST 2.4 binary interface the module speaks: the effect
// record, the records exchanged through the dispatcher and the host callback,
// and the opcode, flag and enum values. Written for x86-64 only, where one C
// calling convention exists per system; every integer is declared with a
// fixed width (a `long` would be 32 bits on Windows and 64 on Linux).
#include <cstddef>
#include <cstdint>

using VstInt16 = int16_t;
using VstInt32 = int32_t;
using VstIntPtr = intptr_t;

struct AEffect;

// Host callback (plug-in -> host) and the dispatcher (host -> plug-in) share
// one shape: effect, opcode, index, value, ptr, opt.
using audioMasterCallback = VstIntPtr (*)(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                          VstIntPtr value, void* ptr, float opt);
using AEffectDispatcherProc = VstIntPtr (*)(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                            VstIntPtr value, void* ptr, float opt);
using AEffectProcessProc = void (*)(AEffect* effect, float** inputs, float** outputs,
                                    VstInt32 sampleFrames);
using AEffectProcessDoubleProc = void (*)(AEffect* effect, double** inputs, double** outputs,
                                          VstInt32 sampleFrames);
using AEffectSetParameterProc = void (*)(AEffect* effect, VstInt32 index, float value);
using AEffectGetParameterProc = float (*)(AEffect* effect, VstInt32 index);

// The record a plug-in hands to the host. resvd1, resvd2 and user belong to
// the host (hosts store their own pointers there); the plug-in finds itself
// through `object` only.
struct AEffect {
  VstInt32 magic;
  AEffectDispatcherProc dispatcher;
  AEffectProcessProc process;
  AEffectSetParameterProc setParameter;
  AEffectGetParameterProc getParameter;
  VstInt32 numPrograms;
  VstInt32 numParams;
  VstInt32 numInputs;
  VstInt32 numOutputs;
  VstInt32 flags;
  VstIntPtr resvd1;
  VstIntPtr resvd2;
  VstInt32 initialDelay;
  VstInt32 realQualities;
  VstInt32 offQualities;
  float ioRatio;
  void* object;
  void* user;
  VstInt32 uniqueID;
  VstInt32 version;
  AEffectProcessProc processReplacing;
  AEffectProcessDoubleProc processDoubleReplacing;
  char future[56];
};

// Editor rectangle; note the order top, left, bottom, right.
struct ERect {
  VstInt16 top;
  VstInt16 left;
  VstInt16 bottom;
  VstInt16 right;
};

struct VstEvent {
  VstInt32 type;
  VstInt32 byteSize;
  VstInt32 deltaFrames;
  VstInt32 flags;
  char data[16];
};

// Declared with two entries; hosts allocate as many as numEvents says.
struct VstEvents {
  VstInt32 numEvents;
  VstIntPtr reserved;
  VstEvent* events[2];
};

struct VstMidiEvent {
  VstInt32 type;
  VstInt32 byteSize;
  VstInt32 deltaFrames;
  VstInt32 flags;
  VstInt32 noteLength;
  VstInt32 noteOffset;
  char midiData[4];
  char detune;
  char noteOffVelocity;
  char reserved1;
  char reserved2;
};

struct VstMidiSysexEvent {
  VstInt32 type;
  VstInt32 byteSize;
  VstInt32 deltaFrames;
  VstInt32 flags;
  VstInt32 dumpBytes;
  VstIntPtr resvd1;
  char* sysexDump;
  VstIntPtr resvd2;
};

struct VstTimeInfo {
  double samplePos;
  double sampleRate;
  double nanoSeconds;
  double ppqPos;
  double tempo;
  double barStartPos;
  double cycleStartPos;
  double cycleEndPos;
  VstInt32 timeSigNumerator;
  VstInt32 timeSigDenominator;
  VstInt32 smpteOffset;
  VstInt32 smpteFrameRate;
  VstInt32 samplesToNextClock;
  VstInt32 flags;
};

// Hosts may allocate only the first 80 bytes (up to shortLabel): a plug-in
// writes label and flags and nothing past them.
struct VstPinProperties {
  char label[64];
  VstInt32 flags;
  VstInt32 arrangementType;
  char shortLabel[8];
  char future[48];
};

struct VstSpeakerProperties {
  float azimuth;
  float elevation;
  float radius;
  float reserved;
  char name[64];
  VstInt32 type;
  char future[28];
};

struct VstSpeakerArrangement {
  VstInt32 type;
  VstInt32 numChannels;
  VstSpeakerProperties speakers[8];
};

struct MidiKeyName {
  VstInt32 thisProgramIndex;
  VstInt32 thisKeyNumber;
  char keyName[64];
  VstInt32 reserved;
  VstInt32 flags;
};

// ---- Layouts both targets must agree on with every host ----
static_assert(sizeof(void*) == 8, "the module is built for x86-64 only");
static_assert(sizeof(VstIntPtr) == 8 && sizeof(VstInt32) == 4 && sizeof(VstInt16) == 2,
              "scalar sizes");

static_assert(sizeof(AEffect) == 192 && alignof(AEffect) == 8, "AEffect size");
static_assert(offsetof(AEffect, magic) == 0, "AEffect.magic");
static_assert(offsetof(AEffect, dispatcher) == 8, "AEffect.dispatcher");
static_assert(offsetof(AEffect, process) == 16, "AEffect.process");
static_assert(offsetof(AEffect, setParameter) == 24, "AEffect.setParameter");
static_assert(offsetof(AEffect, getParameter) == 32, "AEffect.getParameter");
static_assert(offsetof(AEffect, numPrograms) == 40, "AEffect.numPrograms");
static_assert(offsetof(AEffect, numParams) == 44, "AEffect.numParams");
static_assert(offsetof(AEffect, numInputs) == 48, "AEffect.numInputs");
static_assert(offsetof(AEffect, numOutputs) == 52, "AEffect.numOutputs");
static_assert(offsetof(AEffect, flags) == 56, "AEffect.flags");
static_assert(offsetof(AEffect, resvd1) == 64, "AEffect.resvd1");
static_assert(offsetof(AEffect, resvd2) == 72, "AEffect.resvd2");
static_assert(offsetof(AEffect, initialDelay) == 80, "AEffect.initialDelay");
static_assert(offsetof(AEffect, realQualities) == 84, "AEffect.realQualities");
static_assert(offsetof(AEffect, offQualities) == 88, "AEffect.offQualities");
static_assert(offsetof(AEffect, ioRatio) == 92, "AEffect.ioRatio");
static_assert(offsetof(AEffect, object) == 96, "AEffect.object");
static_assert(offsetof(AEffect, user) == 104, "AEffect.user");
static_assert(offsetof(AEffect, uniqueID) == 112, "AEffect.uniqueID");
static_assert(offsetof(AEffect, version) == 116, "AEffect.version");
static_assert(offsetof(AEffect, processReplacing) == 120, "AEffect.processReplacing");
static_assert(offsetof(AEffect, processDoubleReplacing) == 128, "AEffect.processDoubleReplacing");
static_assert(offsetof(AEffect, future) == 136, "AEffect.future");

static_assert(sizeof(ERect) == 8 && alignof(ERect) == 2, "ERect size");
static_assert(offsetof(ERect, top) == 0 && offsetof(ERect, left) == 2 &&
                  offsetof(ERect, bottom) == 4 && offsetof(ERect, right) == 6,
              "ERect fields");

static_assert(sizeof(VstEvent) == 32 && offsetof(VstEvent, deltaFrames) == 8 &&
                  offsetof(VstEvent, data) == 16,
              "VstEvent layout");
static_assert(sizeof(VstEvents) == 32 && offsetof(VstEvents, reserved) == 8 &&
                  offsetof(VstEvents, events) == 16,
              "VstEvents layout");
static_assert(sizeof(VstMidiEvent) == 32 && offsetof(VstMidiEvent, noteLength) == 16 &&
                  offsetof(VstMidiEvent, noteOffset) == 20 &&
                  offsetof(VstMidiEvent, midiData) == 24 && offsetof(VstMidiEvent, detune) == 28 &&
                  offsetof(VstMidiEvent, noteOffVelocity) == 29 &&
                  offsetof(VstMidiEvent, reserved2) == 31,
              "VstMidiEvent layout");
static_assert(sizeof(VstMidiSysexEvent) == 48 && offsetof(VstMidiSysexEvent, dumpBytes) == 16 &&
                  offsetof(VstMidiSysexEvent, resvd1) == 24 &&
                  offsetof(VstMidiSysexEvent, sysexDump) == 32 &&
                  offsetof(VstMidiSysexEvent, resvd2) == 40,
              "VstMidiSysexEvent layout");
static_assert(sizeof(VstTimeInfo) == 88 && offsetof(VstTimeInfo, ppqPos) == 24 &&
                  offsetof(VstTimeInfo, tempo) == 32 && offsetof(VstTimeInfo, barStartPos) == 40 &&
                  offsetof(VstTimeInfo, cycleStartPos) == 48 &&
                  offsetof(VstTimeInfo, cycleEndPos) == 56 &&
                  offsetof(VstTimeInfo, timeSigNumerator) == 64 &&
                  offsetof(VstTimeInfo, timeSigDenominator) == 68 &&
                  offsetof(VstTimeInfo, samplesToNextClock) == 80 &&
                  offsetof(VstTimeInfo, flags) == 84,
              "VstTimeInfo layout");
static_assert(sizeof(VstPinProperties) == 128 && offsetof(VstPinProperties, flags) == 64 &&
                  offsetof(VstPinProperties, arrangementType) == 68 &&
                  offsetof(VstPinProperties, shortLabel) == 72 &&
                  offsetof(VstPinProperties, future) == 80,
              "VstPinProperties layout");
static_assert(sizeof(VstSpeakerProperties) == 112 && offsetof(VstSpeakerProperties, name) == 16 &&
                  offsetof(VstSpeakerProperties, type) == 80 &&
                  offsetof(VstSpeakerProperties, future) == 84,
              "VstSpeakerProperties layout");
static_assert(sizeof(VstSpeakerArrangement) == 904 &&
                  offsetof(VstSpeakerArrangement, numChannels) == 4 &&
                  offsetof(VstSpeakerArrangement, speakers) == 8,
              "VstSpeakerArrangement layout");
static_assert(sizeof(MidiKeyName) == 80 && offsetof(MidiKeyName, thisKeyNumber) == 4 &&
                  offsetof(MidiKeyName, keyName) == 8 && offsetof(MidiKeyName, reserved) == 72 &&
                  offsetof(MidiKeyName, flags) == 76,
              "MidiKeyName layout");

// ---- Values ----

// 'VstP', first character in the most significant byte.
constexpr VstInt32 kEffectMagic = 0x56737450;
constexpr VstInt32 kVstVersion = 2400;
// 'NvEf', the answer old hosts expect from effIdentify.
constexpr VstIntPtr kVstIdentifyCode = 0x4E764566;

// Dispatcher opcodes (host -> plug-in).
enum : VstInt32 {
  effOpen = 0,
  effClose = 1,
  effSetProgram = 2,
  effGetProgram = 3,
  effSetProgramName = 4,
  effGetProgramName = 5,
  effGetParamLabel = 6,
  effGetParamDisplay = 7,
  effGetParamName = 8,
  effGetVu = 9,
  effSetSampleRate = 10,
  effSetBlockSize = 11,
  effMainsChanged = 12,
  effEditGetRect = 13,
  effEditOpen = 14,
  effEditClose = 15,
  effEditDraw = 16,
  effEditMouse = 17,
  effEditKey = 18,
  effEditIdle = 19,
  effEditTop = 20,
  effEditSleep = 21,
  effIdentify = 22,
  effGetChunk = 23,
  effSetChunk = 24,
  effProcessEvents = 25,
  effCanBeAutomated = 26,
  effString2Parameter = 27,
  effGetNumProgramCategories = 28,
  effGetProgramNameIndexed = 29,
  effCopyProgram = 30,
  effConnectInput = 31,
  effConnectOutput = 32,
  effGetInputProperties = 33,
  effGetOutputProperties = 34,
  effGetPlugCategory = 35,
  effGetCurrentPosition = 36,
  effGetDestinationBuffer = 37,
  effOfflineNotify = 38,
  effOfflinePrepare = 39,
  effOfflineRun = 40,
  effProcessVarIo = 41,
  effSetSpeakerArrangement = 42,
  effSetBlockSizeAndSampleRate = 43,
  effSetBypass = 44,
  effGetEffectName = 45,
  effGetErrorText = 46,
  effGetVendorString = 47,
  effGetProductString = 48,
  effGetVendorVersion = 49,
  effVendorSpecific = 50,
  effCanDo = 51,
  effGetTailSize = 52,
  effIdle = 53,
  effGetIcon = 54,
  effSetViewPosition = 55,
  effGetParameterProperties = 56,
  effKeysRequired = 57,
  effGetVstVersion = 58,
  effEditKeyDown = 59,
  effEditKeyUp = 60,
  effSetEditKnobMode = 61,
  effGetMidiProgramName = 62,
  effGetCurrentMidiProgram = 63,
  effGetMidiProgramCategory = 64,
  effHasMidiProgramsChanged = 65,
  effGetMidiKeyName = 66,
  effBeginSetProgram = 67,
  effEndSetProgram = 68,
  effGetSpeakerArrangement = 69,
  effShellGetNextPlugin = 70,
  effStartProcess = 71,
  effStopProcess = 72,
  effSetTotalSampleToProcess = 73,
  effSetPanLaw = 74,
  effBeginLoadBank = 75,
  effBeginLoadProgram = 76,
  effSetProcessPrecision = 77,
  effGetNumMidiInputChannels = 78,
  effGetNumMidiOutputChannels = 79,
};

// Host callback opcodes (plug-in -> host).
enum : VstInt32 {
  audioMasterAutomate = 0,
  audioMasterVersion = 1,
  audioMasterCurrentId = 2,
  audioMasterIdle = 3,
  audioMasterPinConnected = 4,
  audioMasterWantMidi = 6,
  audioMasterGetTime = 7,
  audioMasterProcessEvents = 8,
  audioMasterIOChanged = 13,
  audioMasterSizeWindow = 15,
  audioMasterGetSampleRate = 16,
  audioMasterGetBlockSize = 17,
  audioMasterGetCurrentProcessLevel = 23,
  audioMasterGetAutomationState = 24,
  audioMasterGetVendorString = 32,
  audioMasterGetProductString = 33,
  audioMasterGetVendorVersion = 34,
  audioMasterVendorSpecific = 35,
  audioMasterCanDo = 37,
  audioMasterGetLanguage = 38,
  audioMasterGetDirectory = 41,
  audioMasterUpdateDisplay = 42,
  audioMasterBeginEdit = 43,
  audioMasterEndEdit = 44,
};

// AEffect.flags.
enum : VstInt32 {
  effFlagsHasEditor = 1 << 0,
  effFlagsCanMono = 1 << 3,
  effFlagsCanReplacing = 1 << 4,
  effFlagsProgramChunks = 1 << 5,
  effFlagsIsSynth = 1 << 8,
  effFlagsNoSoundInStop = 1 << 9,
  effFlagsCanDoubleReplacing = 1 << 12,
};

// VstTimeInfo.flags, also the request mask of audioMasterGetTime.
enum : VstInt32 {
  kVstTransportChanged = 1,
  kVstTransportPlaying = 1 << 1,
  kVstTransportCycleActive = 1 << 2,
  kVstTransportRecording = 1 << 3,
  kVstNanosValid = 1 << 8,
  kVstPpqPosValid = 1 << 9,
  kVstTempoValid = 1 << 10,
  kVstBarsValid = 1 << 11,
  kVstCyclePosValid = 1 << 12,
  kVstTimeSigValid = 1 << 13,
  kVstSmpteValid = 1 << 14,
  kVstClockValid = 1 << 15,
};

enum : VstInt32 { kVstMidiType = 1, kVstSysExType = 6 };

enum : VstInt32 { kVstPinIsActive = 1, kVstPinIsStereo = 2, kVstPinUseSpeaker = 4 };

enum : VstInt32 {
  kSpeakerArrUserDefined = -2,
  kSpeakerArrEmpty = -1,
  kSpeakerArrMono = 0,
  kSpeakerArrStereo = 1,
};

enum : VstInt32 { kPlugCategUnknown = 0, kPlugCategEffect = 1, kPlugCategSynth = 2 };

enum : VstInt32 {
  kVstProcessLevelUnknown = 0,
  kVstProcessLevelUser = 1,
  kVstProcessLevelRealtime = 2,
  kVstProcessLevelPrefetch = 3,
  kVstProcessLevelOffline = 4,
};

// Published text limits in characters, without the terminating NUL.
enum : int {
  kVstMaxProgNameLen = 24,
  kVstMaxParamStrLen = 8,
  kVstMaxVendorStrLen = 64,
  kVstMaxProductStrLen = 64,
  kVstMaxEffectNameLen = 32,
  kVstMaxNameLen = 64,
  kVstMaxLabelLen = 64,
};
