#pragma once
#include <cstdint>

#include "framework/plugbase/IFxBase.h"
#include "framework/plugbase/StateChunk.h"
#include "framework/vst2/VstInterface.h"

// The VST2 binding: an IFxBase that a VST 2.4 host reaches through the
// AEffect record it owns. The effect class derives from it; the module entry
// (VstEntry.cpp) creates the effect and hands the record to the host.
//
// Threads: the host calls the dispatcher, setParameter and getParameter from
// any of its threads and the processing callbacks from its audio thread.
// Every one of them takes the instance's processing lock for the whole call.
// The host-facing operations below call audioMaster on the caller's thread.
class IFxVST : public IFxBase {
 public:
  using HostArgument = audioMasterCallback;

  // Constructor thread, inside the module's creation lock, before the host
  // can reach the instance. `host` may be null (then no host call is made).
  IFxVST(HostArgument host, const char* effectName, const char* productName,
         const char* makerName, uint32_t version, uint32_t uniqueId, uint32_t makerCode,
         const char* channelConfig, int numParams, int numPresets, bool doesMidi,
         bool doesStateChunks, bool isInstrument);
  // Runs on effClose, with no other thread inside the instance.
  ~IFxVST() override;

  // Module entry, after the effect's constructor and before the record is
  // handed out: every preset still empty receives the live state under the
  // name "Empty", and numPrograms is raised to at least 1.
  void FinishCreation();

  // The record handed to the host; lives as long as the instance.
  AEffect* Effect() { return &effect_; }
  // The instance behind a record, or null for a null record or object.
  static IFxVST* FromEffect(AEffect* effect);

  // ---- Host-facing operations (audioMaster) ----
  // Editor thread; no lock taken.
  void BeginParameterEdit(int index) override;
  // Editor thread, processing lock held by SetParameterFromEditor.
  void InformHostOfParameterChange(int index, double normalized) override;
  // Editor thread; no lock taken.
  void EndParameterEdit(int index) override;
  // Any thread.
  void NotifyHostOfProgramChange() override;
  // Any thread; true when the host says it renders offline.
  bool IsOfflineRendering() override;
  // Any thread. The transport queries read the host's time record, which
  // stays valid until the next host call; nothing is kept from it.
  int32_t GetSamplePosition() override;
  double GetTempo() override;
  void GetTimeSignature(int* numerator, int* denominator) override;
  void GetTransportInfo(ITransportInfo* info) override;
  // Any thread; takes the processing lock. The first call asks the host for
  // its product string and version and identifies it; later calls return the
  // stored code.
  int32_t GetHost() override;
  // Any thread, usually the audio thread inside effProcessEvents. True when
  // the host took the event.
  bool SendMidiMessage(const IMidiMessage& message) override;
  bool SendSysExMessage(const ISysExMessage& message) override;

  // ---- Overrides run by dispatcher requests ----
  // effOpen, lock held. Runs once per instance.
  void PrepareForHost() override;
  // Editor thread after the editor changed size, lock held by the caller.
  void UpdateEditorSize(int width, int height) override;
  // Constructor thread or lock held: stores the latency in initialDelay too.
  // The host is not told.
  void SetLatency(int samples) override;

  // ---- The record's entry points ----
  // Each finds the instance through the record's `object` (null: nothing
  // happens, 0 is returned) and holds the processing lock for the whole call.
  // The dispatcher and the parameter callbacks: any host thread. effClose
  // destroys the instance; nothing may reach the record after it.
  // The processing callbacks: the host's audio thread; `inputs` and
  // `outputs` hold one buffer per connected channel of `frames` samples.
  static VstIntPtr VSTDispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                 VstIntPtr value, void* ptr, float opt);
  static void VSTProcess(AEffect* effect, float** inputs, float** outputs, VstInt32 frames);
  static void VSTProcessReplacing(AEffect* effect, float** inputs, float** outputs,
                                  VstInt32 frames);
  static void VSTProcessDoubleReplacing(AEffect* effect, double** inputs, double** outputs,
                                        VstInt32 frames);
  static void VSTSetParameter(AEffect* effect, VstInt32 index, float value);
  static float VSTGetParameter(AEffect* effect, VstInt32 index);

  // Host block sizes are cut to this many frames for the scratch buffers;
  // longer host calls are processed in slices of it.
  static constexpr int kMaxScratchFrames = 1 << 16;
  // effSetChunk refuses byte counts above this (our chunks are a few hundred
  // bytes; a larger count is a host fault, not a state).
  static constexpr VstIntPtr kMaxChunkBytes = 16 << 20;

 private:
  // Dispatcher thread, lock held. One request other than effClose; the
  // helpers below answer single opcodes. `ptr` is host memory valid for the
  // call only.
  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);
  VstIntPtr GetChunk(VstInt32 index, void* ptr);
  VstIntPtr SetChunk(VstInt32 index, VstIntPtr bytes, const void* ptr);
  VstIntPtr StringToParameter(VstInt32 index, const char* text);
  VstIntPtr GetPinProperties(bool input, VstInt32 index, VstPinProperties* pin);
  VstIntPtr SetSpeakerArrangement(const VstSpeakerArrangement* in,
                                  const VstSpeakerArrangement* out);
  VstIntPtr ProcessEvents(const VstEvents* events);
  VstIntPtr VendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt);
  VstIntPtr CanDo(const char* text) const;
  void SetSampleRateFromHost(float rate);
  void SetBlockSizeFromHost(VstIntPtr frames);
  void WriteValueText(int index, double value, bool normalized, char* text);

  // Audio thread, lock held.
  enum class HostForm { Accumulating, Replacing };
  void ProcessSingle(float** inputs, float** outputs, VstInt32 frames, HostForm form);
  void ProcessDouble(double** inputs, double** outputs, VstInt32 frames);
  int ConnectedInputs();
  int ConnectedOutputs();

  // setParameter: any host thread, lock held.
  void SetParameterFromHost(VstInt32 index, float value);

  // Caller's thread. 0 without a host callback.
  VstIntPtr CallHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);
  // The host's time record (valid until the next host call), or null.
  const VstTimeInfo* HostTime(VstInt32 mask);

  ERect editorRect_ = {};
  audioMasterCallback host_;
  VstSpeakerArrangement inputArrangement_ = {};
  VstSpeakerArrangement outputArrangement_ = {};
  bool hostPrepared_ = false;
  StateChunk programChunk_;
  StateChunk bankChunk_;
  AEffect effect_ = {};
};

// Defined by the effect: creates the one plug-in class of this module.
IFxVST* CreatePluginInstance(IFxVST::HostArgument host);
