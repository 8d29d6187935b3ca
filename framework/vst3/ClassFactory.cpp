#include "framework/vst3/ClassFactory.h"

#include <cstring>

namespace vst3 {

ClassFactory::ClassFactory(const PFactoryInfo& info, void (*onDestroyed)(ClassFactory*))
    : info_(info), onDestroyed_(onDestroyed) {}

ClassFactory::~ClassFactory() {
  if (onDestroyed_) onDestroyed_(this);
}

void ClassFactory::RegisterClass(const PClassInfo2& info, CreateFunction create, void* context) {
  classes_.push_back(Entry{info, Widen(info), create, context});
}

PClassInfoW ClassFactory::Widen(const PClassInfo2& info) {
  PClassInfoW w;
  std::memset(&w, 0, sizeof w);
  std::memcpy(w.cid, info.cid, sizeof w.cid);
  w.cardinality = info.cardinality;
  std::memcpy(w.category, info.category, sizeof w.category);
  w.classFlags = info.classFlags;
  std::memcpy(w.subCategories, info.subCategories, sizeof w.subCategories);
  // Plain conversion of the signed byte: no UTF-8 decoding, unit 63 always 0.
  auto widen = [](char16* dst, const char* src) {
    for (int i = 0; i < 63 && src[i] != '\0'; ++i) {
      dst[i] = static_cast<char16>(static_cast<int16>(static_cast<signed char>(src[i])));
    }
  };
  widen(w.name, info.name);
  widen(w.vendor, info.vendor);
  widen(w.version, info.version);
  widen(w.sdkVersion, info.sdkVersion);
  return w;
}

tresult ClassFactory::queryInterface(const TUID iid, void** obj) {
  if (!obj) return kInvalidArgument;
  *obj = nullptr;
  if (SameUid(iid, IPluginFactory3::iid) || SameUid(iid, IPluginFactory2::iid) ||
      SameUid(iid, IPluginFactory::iid) || SameUid(iid, FUnknown::iid)) {
    addRef();
    *obj = static_cast<IPluginFactory3*>(this);
    return kResultOk;
  }
  return kNoInterface;
}

tresult ClassFactory::getFactoryInfo(PFactoryInfo* info) {
  if (info) *info = info_;
  return kResultOk;
}

int32 ClassFactory::countClasses() { return static_cast<int32>(classes_.size()); }

tresult ClassFactory::getClassInfo(int32 index, PClassInfo* info) {
  if (!info || !ValidIndex(index)) return kInvalidArgument;
  std::memcpy(info, &classes_[index].info, sizeof(PClassInfo));
  return kResultOk;
}

tresult ClassFactory::getClassInfo2(int32 index, PClassInfo2* info) {
  if (!info || !ValidIndex(index)) return kInvalidArgument;
  *info = classes_[index].info;
  return kResultOk;
}

tresult ClassFactory::getClassInfoUnicode(int32 index, PClassInfoW* info) {
  if (!info || !ValidIndex(index)) return kInvalidArgument;
  *info = classes_[index].infoW;
  return kResultOk;
}

tresult ClassFactory::createInstance(FIDString cid, FIDString iid, void** obj) {
  if (!obj) return kInvalidArgument;
  *obj = nullptr;
  if (!cid || !iid) return kNoInterface;
  for (const Entry& entry : classes_) {
    Uid classId;
    std::memcpy(classId.bytes, entry.info.cid, 16);
    if (!SameUid(cid, classId)) continue;
    FUnknown* object = entry.create ? entry.create(entry.context) : nullptr;
    if (!object) return kNoInterface;
    void* answer = nullptr;
    const tresult result = object->queryInterface(iid, &answer);
    // Drop the creation reference: the host holds exactly the queried one,
    // and a failed query destroys the object here.
    object->release();
    if (result != kResultOk || !answer) return kNoInterface;
    *obj = answer;
    return kResultOk;
  }
  return kNoInterface;
}

}  // namespace vst3
