#pragma once
// The VST3 binding: one object that is the plug-in core, the audio processor
// and the edit controller at once. The effect class derives from it.
//
// Threads: the host's audio thread calls process; host threads outside
// processing call set-up, bus, state and controller methods. process,
// getEditorState and setEditorState hold the processing lock for their whole
// duration; every other method that touches live values takes it too.
#include <vector>

#include "framework/plugbase/IFxBase.h"
#include "framework/vst3/CombinedComponent.h"
#include "framework/vst3/ProgramList.h"

class IFxVST3 : public IFxBase, public vst3::CombinedComponent {
 public:
  // The VST3 module passes nothing into the effect's constructor.
  using HostArgument = void*;

  // Ids of the two parameters the binding adds to the core's ("prst", "bpas").
  static constexpr vst3::ParamID kProgramSelectParamId = 0x70727374;
  static constexpr vst3::ParamID kHostBypassParamId = 0x62706173;

  // Constructor thread, under the module's creation lock.
  IFxVST3(HostArgument host, const char* effectName, const char* productName,
          const char* makerName, uint32_t version, uint32_t uniqueId, uint32_t makerCode,
          const char* channelConfig, int numParams, int numPresets, bool doesMidi,
          bool doesStateChunks, bool isInstrument);

  // The arrangement announced for a channel count (0 for none known).
  static vst3::SpeakerArrangement ArrangementFor(int channels);

  // ---- IPluginBase (reached through the component and the controller) ----
  // Identifies the host, registers buses and parameters (first call only),
  // then restores preset 0.
  vst3::tresult TORVA_VST3_API initialize(vst3::FUnknown* context) override;

  // ---- IComponent ----
  vst3::tresult TORVA_VST3_API setActive(vst3::TBool state) override;

  // ---- IAudioProcessor ----
  vst3::tresult TORVA_VST3_API setBusArrangements(vst3::SpeakerArrangement* inputs,
                                                  vst3::int32 numIns,
                                                  vst3::SpeakerArrangement* outputs,
                                                  vst3::int32 numOuts) override;
  vst3::tresult TORVA_VST3_API canProcessSampleSize(vst3::int32 symbolicSampleSize) override;
  vst3::uint32 TORVA_VST3_API getLatencySamples() override;
  vst3::tresult TORVA_VST3_API setupProcessing(vst3::ProcessSetup& setup) override;
  // Audio thread. Applies the last point of every parameter queue, then
  // processes numSamples frames in slices of at most the block size. Null
  // bus arrays or channel pointers read and write scratch buffers instead;
  // a block whose sample size differs from the set-up's gets no audio work.
  vst3::tresult TORVA_VST3_API process(vst3::ProcessData& data) override;
  vst3::uint32 TORVA_VST3_API getTailSamples() override;

  // ---- IEditController ----
  // The core's state followed by the bypass flag as a 32-bit integer.
  vst3::tresult TORVA_VST3_API setEditorState(vst3::IBStream* state) override;
  vst3::tresult TORVA_VST3_API getEditorState(vst3::IBStream* state) override;
  vst3::tresult TORVA_VST3_API getParamStringByValue(vst3::ParamID id,
                                                     vst3::ParamValue valueNormalized,
                                                     vst3::String128 string) override;
  vst3::tresult TORVA_VST3_API getParamValueByString(vst3::ParamID id, vst3::TChar* string,
                                                     vst3::ParamValue& valueNormalized) override;
  vst3::ParamValue TORVA_VST3_API normalizedParamToPlain(vst3::ParamID id,
                                                         vst3::ParamValue valueNormalized) override;
  vst3::ParamValue TORVA_VST3_API plainParamToNormalized(vst3::ParamID id,
                                                         vst3::ParamValue plainValue) override;
  vst3::ParamValue TORVA_VST3_API getParamNormalized(vst3::ParamID id) override;
  vst3::tresult TORVA_VST3_API setParamNormalized(vst3::ParamID id,
                                                  vst3::ParamValue value) override;
  // No editor view is offered yet: always null.
  vst3::IPlugView* TORVA_VST3_API createView(vst3::FIDString name) override;

  // ---- IUnitInfo ----
  vst3::int32 TORVA_VST3_API getUnitCount() override;
  vst3::tresult TORVA_VST3_API getUnitInfo(vst3::int32 unitIndex, vst3::UnitInfo& info) override;
  vst3::int32 TORVA_VST3_API getProgramListCount() override { return 0; }
  vst3::tresult TORVA_VST3_API getProgramListInfo(vst3::int32 listIndex,
                                                  vst3::ProgramListInfo& info) override;
  vst3::tresult TORVA_VST3_API getProgramName(vst3::ProgramListID listId,
                                              vst3::int32 programIndex,
                                              vst3::String128 name) override;
  vst3::tresult TORVA_VST3_API getProgramInfo(vst3::ProgramListID, vst3::int32, vst3::CString,
                                              vst3::String128) override {
    return vst3::kNotImplemented;
  }
  vst3::tresult TORVA_VST3_API hasProgramPitchNames(vst3::ProgramListID, vst3::int32) override {
    return vst3::kNotImplemented;
  }
  vst3::tresult TORVA_VST3_API getProgramPitchName(vst3::ProgramListID, vst3::int32, vst3::int16,
                                                   vst3::String128) override {
    return vst3::kNotImplemented;
  }
  vst3::UnitID TORVA_VST3_API getSelectedUnit() override { return vst3::kRootUnitId; }
  vst3::tresult TORVA_VST3_API selectUnit(vst3::UnitID) override { return vst3::kNotImplemented; }
  vst3::tresult TORVA_VST3_API getUnitByBus(vst3::MediaType, vst3::BusDirection, vst3::int32,
                                            vst3::int32, vst3::UnitID&) override {
    return vst3::kNotImplemented;
  }
  vst3::tresult TORVA_VST3_API setUnitProgramData(vst3::int32, vst3::int32,
                                                  vst3::IBStream*) override {
    return vst3::kNotImplemented;
  }

  // ---- Hooks of the core ----
  // Editor thread; forwarded to the component handler (nothing without one).
  void BeginParameterEdit(int index) override;
  void InformHostOfParameterChange(int index, double normalized) override;
  void EndParameterEdit(int index) override;
  // No view exists yet, so there is nothing to anchor a host menu to.
  void ShowHostContextMenu(int, int, int) override {}
  void NotifyHostOfProgramChange() override {}
  // Audio thread, from inside process: read the last set-up and context.
  bool IsOfflineRendering() override;
  int32_t GetSamplePosition() override;
  double GetTempo() override;
  void GetTimeSignature(int* numerator, int* denominator) override;
  void GetTransportInfo(ITransportInfo* info) override;
  void UpdateEditorSize(int, int) override {}
  bool SendMidiMessage(const IMidiMessage&) override { return false; }

  // The last processing set-up and host context (lock held by the caller).
  const vst3::ProcessSetup& Setup() const { return setup_; }
  const vst3::ProcessContext& Context() const { return context_; }

 protected:
  ~IFxVST3() override = default;
  // IFxBase is the first base: its address starts the allocation.
  void DeleteSelf() override { delete static_cast<IFxBase*>(this); }

 private:
  bool IsParamRecordId(vst3::ParamID id) const {
    return id < static_cast<vst3::ParamID>(NumParams());
  }
  void IdentifyHostFrom(vst3::FUnknown* context);
  void RegisterBusesAndParameters();
  void ApplyParameterChanges(vst3::IParameterChanges* changes);
  template <class Sample>
  void ProcessAudio(vst3::ProcessData& data);

  // Host channel pointers of the current call in connected-channel order.
  // Sized at construction: the audio path allocates nothing.
  template <class Sample>
  struct HostPointers {
    std::vector<Sample*> inputs, outputs;
  };
  HostPointers<float>& PointersFor(float*) { return pointers32_; }
  HostPointers<double>& PointersFor(double*) { return pointers64_; }
  template <class Sample>
  int ConnectInputs(const vst3::ProcessData& data, HostPointers<Sample>& host);
  template <class Sample>
  int ConnectOutputs(const vst3::ProcessData& data, HostPointers<Sample>& host);

  vst3::ProcessSetup setup_;
  vst3::ProcessContext context_;
  vst3::ProgramList programList_;
  HostPointers<float> pointers32_;
  HostPointers<double> pointers64_;
};

// Defined by the effect: creates the one plug-in class of this module.
IFxVST3* CreatePluginInstance(IFxVST3::HostArgument host);
