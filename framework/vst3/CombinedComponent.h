#pragma once
// One object that is at the same time the component, the audio processor and
// the edit controller of a plug-in. Holds the one reference count of all its
// interfaces, the audio bus lists, the parameter container, the host context
// and the component handler, and answers the host's enumeration calls over
// them. The binding derives from it and supplies processing, state and
// parameter values.
#include <memory>
#include <vector>

#include "framework/vst3/AudioBus.h"
#include "framework/vst3/HostParameter.h"
#include "framework/vst3/RefCountedObject.h"
#include "framework/vst3/Vst3Controller.h"

namespace vst3 {

class CombinedComponent : public IComponent,
                          public IAudioProcessor,
                          public IEditController,
                          public IEditController2,
                          public IUnitInfo,
                          public RefCountedObject {
 public:
  CombinedComponent() = default;

  // ---- FUnknown, any thread ----
  // Offers IComponent, IAudioProcessor, IEditController(2), IUnitInfo,
  // IPluginBase and FUnknown; never IConnectionPoint.
  tresult TORVA_VST3_API queryInterface(const TUID iid, void** obj) override;
  uint32 TORVA_VST3_API addRef() override { return AddReference(); }
  uint32 TORVA_VST3_API release() override { return ReleaseReference(); }

  // The object as FUnknown: the same pointer whichever interface asks.
  FUnknown* Unknown() { return static_cast<IComponent*>(this); }

  // ---- IPluginBase, host thread outside processing ----
  // Keeps the context (one reference); kResultFalse when already initialized.
  tresult TORVA_VST3_API initialize(FUnknown* context) override;
  // Removes every parameter and bus, releases the handler and the context.
  tresult TORVA_VST3_API terminate() override;

  // ---- IComponent, host thread outside processing ----
  tresult TORVA_VST3_API getControllerClassId(TUID) override { return kNotImplemented; }
  tresult TORVA_VST3_API setIoMode(IoMode) override { return kNotImplemented; }
  int32 TORVA_VST3_API getBusCount(MediaType type, BusDirection dir) override;
  tresult TORVA_VST3_API getBusInfo(MediaType type, BusDirection dir, int32 index,
                                    BusInfo& bus) override;
  tresult TORVA_VST3_API getRoutingInfo(RoutingInfo&, RoutingInfo&) override {
    return kNotImplemented;
  }
  tresult TORVA_VST3_API activateBus(MediaType type, BusDirection dir, int32 index,
                                     TBool state) override;
  tresult TORVA_VST3_API setState(IBStream*) override { return kNotImplemented; }
  tresult TORVA_VST3_API getState(IBStream*) override { return kNotImplemented; }

  // ---- IAudioProcessor ----
  tresult TORVA_VST3_API getBusArrangement(BusDirection dir, int32 index,
                                           SpeakerArrangement& arr) override;
  tresult TORVA_VST3_API setProcessing(TBool) override { return kNotImplemented; }

  // ---- IEditController, host UI thread ----
  tresult TORVA_VST3_API setComponentState(IBStream*) override { return kNotImplemented; }
  int32 TORVA_VST3_API getParameterCount() override;
  tresult TORVA_VST3_API getParameterInfo(int32 paramIndex, ParameterInfo& info) override;
  // Keeps the handler (one reference) and its IComponentHandler2 if offered.
  tresult TORVA_VST3_API setComponentHandler(IComponentHandler* handler) override;

  // ---- IEditController2 ----
  tresult TORVA_VST3_API setKnobMode(KnobMode) override { return kResultOk; }
  tresult TORVA_VST3_API openHelp(TBool) override { return kResultFalse; }
  tresult TORVA_VST3_API openAboutBox(TBool) override { return kResultFalse; }

 protected:
  ~CombinedComponent() override;

  void AddAudioBus(BusDirection dir, const char* name, SpeakerArrangement arr, BusType type,
                   uint32 flags);
  void RemoveAudioBuses(BusDirection dir);
  std::vector<AudioBus>& Buses(BusDirection dir) { return dir == kInput ? inputs_ : outputs_; }

  // Takes ownership.
  void AddParameter(std::unique_ptr<HostParameter> parameter);
  void RemoveAllParameters() { parameters_.clear(); }
  // Null for an id that names no parameter.
  HostParameter* FindParameter(ParamID id) const;

  // Forwarded to the component handler; kResultFalse without one.
  tresult BeginEdit(ParamID id);
  tresult PerformEdit(ParamID id, ParamValue normalized);
  tresult EndEdit(ParamID id);
  IComponentHandler* ComponentHandler() const { return handler_; }

 private:
  bool initialized_ = false;
  FUnknown* hostContext_ = nullptr;
  IComponentHandler* handler_ = nullptr;
  IComponentHandler2* handler2_ = nullptr;
  std::vector<AudioBus> inputs_;
  std::vector<AudioBus> outputs_;
  std::vector<std::unique_ptr<HostParameter>> parameters_;
};

}  // namespace vst3
