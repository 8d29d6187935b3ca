#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/plugbase/ChannelRecords.h"
#include "framework/plugbase/HostEvents.h"
#include "framework/plugbase/IParamRecord.h"
#include "framework/plugbase/IPresetSlot.h"
#include "framework/plugbase/ProcessLock.h"
#include "framework/plugbase/StateChunk.h"

class IGraphics;

struct IRect;

// Plug-in format codes.
enum : int32_t { kPluginFormatVST2 = 0, kPluginFormatVST3 = 1 };

// The format-independent plug-in base: identity, parameters, presets, channel
// configurations and records, the processing lock and the editor. A binding
// class per host format derives from it and the effect derives from the
// binding.
//
// Threads: the host's audio thread (processing), host threads (parameters,
// state, set-up) and the editor's window thread. Everything that touches the
// parameters, the channel records or the effect state holds the processing
// lock, which is recursive.
class IFxBase {
 public:
  // Constructor thread, before any host can reach the instance. Names longer
  // than 127 characters are cut.
  IFxBase(const char* effectName, const char* productName, const char* makerName,
          uint32_t version, uint32_t uniqueId, uint32_t makerCode, const char* channelConfig,
          int numParams, int numPresets, bool doesMidi, bool doesStateChunks,
          bool isInstrument, int32_t pluginFormat);
  // The binding on close; no other thread may be inside the instance.
  virtual ~IFxBase();

  IFxBase(const IFxBase&) = delete;
  IFxBase& operator=(const IFxBase&) = delete;

  // ---- Hooks, in table order. Unless said otherwise: any host thread. ----

  // After a sample-rate or block-size change and on deactivation.
  virtual void ResetProcessing();
  // After every change of parameter `index`'s value; any thread, lock taken.
  virtual void ParamChanged(int index);
  // Audio thread, lock held. inputs/outputs have one pointer per channel
  // record; frames never exceeds the block size.
  virtual void ProcessBlock(double** inputs, double** outputs, int frames);
  // Editor thread, after the window opened / before it closes.
  virtual void EditorOpened() {}
  virtual void EditorClosed() {}
  virtual void ActivationChanged(bool active);
  virtual void ProcessMidiMessage(const IMidiMessage& message);
  virtual void ProcessSysExMessage(const ISysExMessage&) {}
  // Writes an empty name into `name` (at least one byte) and returns false.
  virtual bool GetMidiNoteName(int note, char* name);
  // Lock taken inside. Default: the parameter values.
  virtual bool SerializeState(StateChunk& chunk);
  // Lock taken inside. Returns the position after the state, or -1.
  virtual int UnserializeState(const StateChunk& chunk, int pos);
  // True when every stored double, narrowed to float, is within 1e-5 of the
  // current value narrowed to float.
  virtual bool StateMatchesStored(const StateChunk& chunk, int startValue);
  virtual void EditorResized(const IRect*) {}
  // After the binding identified the host.
  virtual void HostIdentified() {}
  virtual void ShowHostContextMenu(int, int, int) {}
  // Editor thread: set from a control's normalized value, tell the host,
  // then ParamChanged. Lock taken inside.
  virtual void SetParameterFromEditor(int index, double normalized);
  // Editor thread; no lock is taken.
  virtual void BeginParameterEdit(int index) = 0;
  virtual void InformHostOfParameterChange(int index, double normalized) = 0;
  virtual void EndParameterEdit(int index) = 0;
  virtual void NotifyHostOfProgramChange() = 0;
  virtual bool IsOfflineRendering() { return false; }
  virtual int32_t GetSamplePosition() = 0;
  virtual double GetTempo() = 0;
  virtual void GetTimeSignature(int* numerator, int* denominator) = 0;
  virtual void GetTransportInfo(ITransportInfo* info) = 0;
  virtual int32_t GetHost() { return hostCode_; }
  virtual int32_t GetPluginFormat() { return pluginFormat_; }
  virtual void UpdateEditorSize(int width, int height) = 0;
  virtual void PrepareForHost() {}
  // Constructor thread. Takes ownership of `editor` (null: nothing happens).
  virtual void AttachEditor(IGraphics* editor);
  virtual void SetLatency(int samples) { latency_ = samples; }
  virtual bool SendMidiMessage(const IMidiMessage& message) = 0;
  virtual bool SendSysExMessage(const ISysExMessage&) { return false; }
  // Caller holds the lock. Pushes every plain value into the editor.
  virtual void RefreshEditorControls();
  virtual void OnPresetChanged() {}
  // Outside processing, lock held by the caller. Resizes and clears every
  // scratch buffer when the size changes.
  virtual void SetBlockSize(int frames);

  // ---- Channel configuration and buffers ----

  // True when some configuration matches; a negative count matches any.
  bool LegalIO(int inputs, int outputs) const;
  const std::vector<ChannelIOConfig>& ChannelConfigs() const { return configs_; }
  int NumInputChannels() const { return static_cast<int>(inputs_.size()); }
  int NumOutputChannels() const { return static_cast<int>(outputs_.size()); }
  IInputChannel* InputChannel(int i);
  IOutputChannel* OutputChannel(int i);
  // Marks a channel (un)connected; an unconnected one reads and writes its own
  // scratch buffer. Set-up thread, lock held.
  void SetInputConnected(int i, bool connected);
  void SetOutputConnected(int i, bool connected);

  // Audio thread, lock held. Host buffers go in order to the connected
  // channels only. A frame count above the block size is cut to the block
  // size here (the scratch buffers hold one block); ProcessHostBuffers splits
  // such calls instead.
  void BindInputBuffers(int startChannel, int hostCount, float** hostBuffers, int frames);
  void BindInputBuffers(int hostCount, double** hostBuffers);
  void BindOutputBuffers(int hostCount, float** hostBuffers);
  void BindOutputBuffers(int hostCount, double** hostBuffers);
  // Runs ProcessBlock over the bound pointers. In the single-precision forms
  // the outputs' scratch values are then written to (or added to) the hosts'
  // destinations.
  enum class BoundForm { Double, SingleReplacing, SingleAccumulating };
  void ProcessBoundBuffers(BoundForm form, int frames);

  // Audio thread, lock held by the caller. Binds and processes a whole host
  // call in slices of at most the block size, so that a host that sends more
  // frames than it announced never overruns a scratch buffer. Allocates
  // nothing. Connected channels the host gave no buffer for read and write
  // their scratch buffers. Returns false (and touches nothing) when no block
  // size is set.
  // `passThrough` copies inputs to outputs instead of running ProcessBlock
  // (a host's own bypass).
  bool ProcessHostBuffers(float** inputs, int numInputs, float** outputs, int numOutputs,
                          int frames, bool accumulate, bool passThrough = false);
  bool ProcessHostBuffers(double** inputs, int numInputs, double** outputs, int numOutputs,
                          int frames, bool passThrough = false);

  // Copy inputs to outputs over the bound data pointers, zero the rest
  // (used while a host bypasses the effect). Lock held.
  void PassThroughBlock(int frames);
  void ClearScratchBuffers();

  // ---- Parameters ----
  int NumParams() const { return static_cast<int>(params_.size()); }
  // Null outside the list.
  IParamRecord* GetParam(int index);
  const IParamRecord* GetParam(int index) const;

  // ---- State and presets (lock: see each) ----
  bool SerializeParams(StateChunk& chunk);                 // takes the lock
  int UnserializeParams(const StateChunk& chunk, int pos);  // takes the lock
  // Program and bank chunks start with this magic and format version.
  static constexpr int32_t kChunkMagic = 0x70666674;
  static constexpr int32_t kChunkVersion = 0x00010000;
  static void InitChunkWithVersion(StateChunk& chunk);
  // Caller holds the lock (or runs before the host can reach the instance).
  bool SerializePresets(StateChunk& chunk);
  int UnserializePresets(const StateChunk& chunk, int pos);
  void FillDefaultPresets(const char* name, int count);
  bool LoadPreset(int index);
  void ModifyCurrentPreset(const char* name);
  int NumPresets() const { return static_cast<int>(presets_.size()); }
  IPresetSlot* GetPreset(int index);
  int CurrentPresetIndex() const { return currentPreset_; }

  // ---- Identity and host ----
  const char* EffectName() const { return effectName_; }
  const char* ProductName() const { return productName_; }
  const char* MakerName() const { return makerName_; }
  uint32_t UniqueId() const { return uniqueId_; }
  uint32_t MakerCode() const { return makerCode_; }
  uint32_t Version() const { return version_; }
  int32_t HostCode() const { return hostCode_; }
  uint32_t HostVersion() const { return hostVersion_; }
  void SetHost(int32_t code, uint32_t version) { hostCode_ = code; hostVersion_ = version; }
  bool DoesStateChunks() const { return doesStateChunks_; }
  bool IsInstrument() const { return isInstrument_; }
  bool DoesMidi() const { return doesMidi_; }
  bool IsBypassed() const { return bypassed_; }
  void SetBypassed(bool b) { bypassed_ = b; }
  double GetSampleRate() const { return sampleRate_; }
  void SetSampleRate(double rate) { sampleRate_ = rate; }
  int GetBlockSize() const { return blockSize_; }
  int GetLatency() const { return latency_; }
  int GetTailSize() const { return tailSize_; }
  IGraphics* GetEditor() const { return editor_.get(); }
  std::vector<std::string>& GroupNames() { return groupNames_; }
  std::vector<std::string>& InputBusNames() { return inputBusNames_; }
  std::vector<std::string>& OutputBusNames() { return outputBusNames_; }

  ProcessLock& Lock() { return lock_; }

 protected:
  double** InputDataPointers() { return inputData_.data(); }
  double** OutputDataPointers() { return outputData_.data(); }

 private:
  void ParseChannelConfigs(const char* text);
  int ClampToBlock(int frames) const { return frames < blockSize_ ? frames : blockSize_; }
  void PointUncoveredAtScratch(int numInputs, int numOutputs);
  int InputRecordsCovering(int hostBuffers) const;
  void RunBound(BoundForm form, int frames, bool passThrough);

  // Destroyed in reverse order of declaration: editor first, lock last.
  std::vector<ChannelIOConfig> configs_;
  ProcessLock lock_;
  char effectName_[128] = {};
  char productName_[128] = {};
  char makerName_[128] = {};
  uint32_t uniqueId_;
  uint32_t makerCode_;
  uint32_t version_;
  int32_t pluginFormat_;
  int32_t hostCode_ = -1;
  uint32_t hostVersion_ = 0;
  bool doesStateChunks_;
  bool isInstrument_;
  bool doesMidi_;
  bool bypassed_ = false;
  int currentPreset_ = 0;
  double sampleRate_ = 44100.0;
  int blockSize_ = 0;
  int latency_ = 0;
  int tailSize_ = 0;
  std::vector<std::string> groupNames_;
  std::vector<std::unique_ptr<IOutputChannel>> outputs_;
  std::vector<std::unique_ptr<IInputChannel>> inputs_;
  std::vector<std::unique_ptr<IPresetSlot>> presets_;
  std::vector<std::unique_ptr<IParamRecord>> params_;
  std::vector<double*> inputData_;
  std::vector<double*> outputData_;
  // Offset host pointers for sliced processing, sized at construction.
  std::vector<float*> sliceInputsF_;
  std::vector<float*> sliceOutputsF_;
  std::vector<double*> sliceInputsD_;
  std::vector<double*> sliceOutputsD_;
  std::vector<std::string> inputBusNames_;
  std::vector<std::string> outputBusNames_;
  std::unique_ptr<IGraphics> editor_;
};
