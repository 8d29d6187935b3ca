#include "framework/vst3/CombinedComponent.h"

#include "framework/vst3/Vst3Text.h"

namespace vst3 {

namespace {
template <class I>
tresult Hand(I* p, void** obj) {
  p->addRef();
  *obj = p;
  return kResultOk;
}
}  // namespace

CombinedComponent::~CombinedComponent() {
  ReleaseAndClear(handler2_);
  ReleaseAndClear(handler_);
  ReleaseAndClear(hostContext_);
}

tresult CombinedComponent::queryInterface(const TUID iid, void** obj) {
  if (!obj) return kInvalidArgument;
  *obj = nullptr;
  if (!iid) return kNoInterface;
  if (SameUid(iid, IConnectionPoint::iid)) return kNoInterface;
  if (SameUid(iid, IComponent::iid)) return Hand(static_cast<IComponent*>(this), obj);
  if (SameUid(iid, IAudioProcessor::iid)) return Hand(static_cast<IAudioProcessor*>(this), obj);
  if (SameUid(iid, IUnitInfo::iid)) return Hand(static_cast<IUnitInfo*>(this), obj);
  if (SameUid(iid, IEditController::iid)) return Hand(static_cast<IEditController*>(this), obj);
  if (SameUid(iid, IEditController2::iid)) return Hand(static_cast<IEditController2*>(this), obj);
  if (SameUid(iid, IPluginBase::iid)) {
    return Hand(static_cast<IPluginBase*>(static_cast<IComponent*>(this)), obj);
  }
  if (SameUid(iid, FUnknown::iid)) return Hand(Unknown(), obj);
  return kNoInterface;
}

tresult CombinedComponent::initialize(FUnknown* context) {
  // A flag rather than the context pointer: a host that passes no context
  // must not get buses and parameters added twice by a second call.
  if (initialized_) return kResultFalse;
  initialized_ = true;
  hostContext_ = context;
  if (hostContext_) hostContext_->addRef();
  return kResultOk;
}

tresult CombinedComponent::terminate() {
  RemoveAllParameters();
  inputs_.clear();
  outputs_.clear();
  ReleaseAndClear(handler2_);
  ReleaseAndClear(handler_);
  ReleaseAndClear(hostContext_);
  initialized_ = false;
  return kResultOk;
}

int32 CombinedComponent::getBusCount(MediaType type, BusDirection dir) {
  if (type != kAudio) return 0;
  return static_cast<int32>(Buses(dir).size());
}

tresult CombinedComponent::getBusInfo(MediaType type, BusDirection dir, int32 index,
                                      BusInfo& bus) {
  if (type != kAudio) return kInvalidArgument;
  const std::vector<AudioBus>& list = Buses(dir);
  if (index < 0 || index >= static_cast<int32>(list.size())) return kInvalidArgument;
  const AudioBus& b = list[index];
  bus.mediaType = type;
  bus.direction = dir;
  bus.channelCount = SpeakerCount(b.arrangement);
  WidenText(bus.name, 128, b.name.c_str());
  bus.busType = b.busType;
  bus.flags = b.flags;
  return kResultOk;
}

tresult CombinedComponent::activateBus(MediaType type, BusDirection dir, int32 index,
                                       TBool state) {
  if (type != kAudio) return kInvalidArgument;
  std::vector<AudioBus>& list = Buses(dir);
  if (index < 0 || index >= static_cast<int32>(list.size())) return kInvalidArgument;
  list[index].active = state != 0;
  return kResultOk;
}

tresult CombinedComponent::getBusArrangement(BusDirection dir, int32 index,
                                             SpeakerArrangement& arr) {
  const std::vector<AudioBus>& list = Buses(dir);
  if (index < 0 || index >= static_cast<int32>(list.size())) return kInvalidArgument;
  arr = list[index].arrangement;
  return kResultOk;
}

void CombinedComponent::AddAudioBus(BusDirection dir, const char* name, SpeakerArrangement arr,
                                    BusType type, uint32 flags) {
  AudioBus bus;
  bus.name = name ? name : "";
  bus.arrangement = arr;
  bus.busType = type;
  bus.flags = flags;
  Buses(dir).push_back(bus);
}

void CombinedComponent::RemoveAudioBuses(BusDirection dir) { Buses(dir).clear(); }

int32 CombinedComponent::getParameterCount() { return static_cast<int32>(parameters_.size()); }

tresult CombinedComponent::getParameterInfo(int32 paramIndex, ParameterInfo& info) {
  if (paramIndex < 0 || paramIndex >= getParameterCount()) return kResultFalse;
  info = parameters_[paramIndex]->Info();
  return kResultOk;
}

void CombinedComponent::AddParameter(std::unique_ptr<HostParameter> parameter) {
  if (parameter) parameters_.push_back(std::move(parameter));
}

HostParameter* CombinedComponent::FindParameter(ParamID id) const {
  for (const auto& p : parameters_) {
    if (p->Id() == id) return p.get();
  }
  return nullptr;
}

tresult CombinedComponent::setComponentHandler(IComponentHandler* handler) {
  if (handler == handler_) return kResultOk;
  ReleaseAndClear(handler2_);
  ReleaseAndClear(handler_);
  handler_ = handler;
  if (!handler_) return kResultOk;
  handler_->addRef();
  void* second = nullptr;
  if (handler_->queryInterface(IComponentHandler2::iid.bytes, &second) == kResultOk) {
    handler2_ = static_cast<IComponentHandler2*>(second);
  }
  return kResultOk;
}

tresult CombinedComponent::BeginEdit(ParamID id) {
  return handler_ ? handler_->beginEdit(id) : kResultFalse;
}

tresult CombinedComponent::PerformEdit(ParamID id, ParamValue normalized) {
  return handler_ ? handler_->performEdit(id, normalized) : kResultFalse;
}

tresult CombinedComponent::EndEdit(ParamID id) {
  return handler_ ? handler_->endEdit(id) : kResultFalse;
}

}  // namespace vst3
