#pragma once
// The host side of the interface, as small as the tests need: an application
// context with a name, a memory stream that can run short or fail, parameter
// queues for one block, and a component handler. They live on the test's
// stack; their counts only record what the plug-in holds.
#include <atomic>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "framework/vst3/Vst3Controller.h"
#include "framework/vst3/Vst3Text.h"

namespace host {

using namespace vst3;

// Reference counting without deletion, and one-interface queries.
template <class Interface>
class StackObject : public Interface {
 public:
  tresult TORVA_VST3_API queryInterface(const TUID iid, void** obj) override {
    if (!obj) return kInvalidArgument;
    *obj = nullptr;
    if (SameUid(iid, Interface::iid) || SameUid(iid, FUnknown::iid)) {
      addRef();
      *obj = static_cast<Interface*>(this);
      return kResultOk;
    }
    return kNoInterface;
  }
  uint32 TORVA_VST3_API addRef() override { return ++refs_; }
  uint32 TORVA_VST3_API release() override { return --refs_; }
  // References the plug-in holds beyond the one the test owns.
  int Held() const { return static_cast<int>(refs_.load()) - 1; }

 private:
  std::atomic<uint32> refs_{1};
};

class HostApplication : public StackObject<IHostApplication> {
 public:
  explicit HostApplication(const char* name) : name_(name) {}
  tresult TORVA_VST3_API getName(String128 name) override {
    WidenText(name, 128, name_.c_str());
    return kResultOk;
  }
  tresult TORVA_VST3_API createInstance(TUID, TUID, void** obj) override {
    if (obj) *obj = nullptr;
    return kResultFalse;
  }

 private:
  std::string name_;
};

// Reads deliver at most `readable` bytes in all. A read that cannot be met
// in full answers kResultFalse when `failShortReads`, else kResultOk with
// the short count, as many hosts do.
class MemoryStream : public StackObject<IBStream> {
 public:
  MemoryStream() = default;
  explicit MemoryStream(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

  std::vector<uint8_t> bytes_;
  size_t position_ = 0;
  size_t readable_ = static_cast<size_t>(-1);
  bool failShortReads_ = false;

  tresult TORVA_VST3_API read(void* buffer, int32 numBytes, int32* numBytesRead) override {
    if (numBytesRead) *numBytesRead = 0;
    if (!buffer || numBytes < 0) return kInvalidArgument;
    size_t limit = std::min(bytes_.size(), readable_);
    size_t n = position_ < limit ? std::min(limit - position_, static_cast<size_t>(numBytes)) : 0;
    if (n > 0) std::memcpy(buffer, bytes_.data() + position_, n);
    position_ += n;
    if (numBytesRead) *numBytesRead = static_cast<int32>(n);
    return (n < static_cast<size_t>(numBytes) && failShortReads_) ? kResultFalse : kResultOk;
  }
  tresult TORVA_VST3_API write(void* buffer, int32 numBytes, int32* numBytesWritten) override {
    if (!buffer || numBytes < 0) return kInvalidArgument;
    const uint8_t* p = static_cast<const uint8_t*>(buffer);
    bytes_.insert(bytes_.end(), p, p + numBytes);
    position_ = bytes_.size();
    if (numBytesWritten) *numBytesWritten = numBytes;
    return kResultOk;
  }
  tresult TORVA_VST3_API seek(int64 pos, int32 mode, int64* result) override {
    int64 base = mode == kIBSeekSet ? 0 : mode == kIBSeekCur ? static_cast<int64>(position_)
                                                              : static_cast<int64>(bytes_.size());
    int64 to = base + pos;
    if (to < 0 || to > static_cast<int64>(bytes_.size())) return kInvalidArgument;
    position_ = static_cast<size_t>(to);
    if (result) *result = to;
    return kResultOk;
  }
  tresult TORVA_VST3_API tell(int64* pos) override {
    if (pos) *pos = static_cast<int64>(position_);
    return kResultOk;
  }
};

class ParamQueue : public StackObject<IParamValueQueue> {
 public:
  ParamQueue(ParamID id, std::vector<std::pair<int32, double>> points)
      : id_(id), points_(std::move(points)) {}
  ParamID TORVA_VST3_API getParameterId() override { return id_; }
  int32 TORVA_VST3_API getPointCount() override { return static_cast<int32>(points_.size()); }
  tresult TORVA_VST3_API getPoint(int32 index, int32& offset, ParamValue& value) override {
    if (index < 0 || index >= getPointCount()) return kResultFalse;
    offset = points_[index].first;
    value = points_[index].second;
    return kResultOk;
  }
  tresult TORVA_VST3_API addPoint(int32 offset, ParamValue value, int32& index) override {
    points_.emplace_back(offset, value);
    index = getPointCount() - 1;
    return kResultOk;
  }

 private:
  ParamID id_;
  std::vector<std::pair<int32, double>> points_;
};

// Queues for one block; pointers into `queues_` stay valid after set-up.
class ParamChanges : public StackObject<IParameterChanges> {
 public:
  void Add(ParamID id, std::vector<std::pair<int32, double>> points) {
    queues_.emplace_back(new ParamQueue(id, std::move(points)));
  }
  void Clear() { queues_.clear(); }
  int32 TORVA_VST3_API getParameterCount() override { return static_cast<int32>(queues_.size()); }
  IParamValueQueue* TORVA_VST3_API getParameterData(int32 index) override {
    return (index >= 0 && index < getParameterCount()) ? queues_[index].get() : nullptr;
  }
  IParamValueQueue* TORVA_VST3_API addParameterData(const ParamID& id, int32& index) override {
    Add(id, {});
    index = getParameterCount() - 1;
    return queues_.back().get();
  }

 private:
  std::vector<std::unique_ptr<ParamQueue>> queues_;
};

class ComponentHandler : public StackObject<IComponentHandler> {
 public:
  tresult TORVA_VST3_API beginEdit(ParamID) override { return kResultOk; }
  tresult TORVA_VST3_API performEdit(ParamID, ParamValue) override { return kResultOk; }
  tresult TORVA_VST3_API endEdit(ParamID) override { return kResultOk; }
  tresult TORVA_VST3_API restartComponent(int32) override { return kResultOk; }
};

}  // namespace host
