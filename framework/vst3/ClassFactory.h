#pragma once
// The module's class factory: factory information, the registered classes in
// their three description forms, and instance creation.
#include <vector>

#include "framework/vst3/RefCountedObject.h"
#include "framework/vst3/Vst3Base.h"

namespace vst3 {

// Creates one object with a reference count of 1 and returns it as FUnknown,
// or null. `context` is what was registered with the class.
using CreateFunction = FUnknown* (*)(void* context);

// Host threads. Registration happens before the factory is handed out; the
// enumeration and creation calls only read the class list afterwards.
class ClassFactory : public IPluginFactory3, public RefCountedObject {
 public:
  // `onDestroyed` runs from the destructor (when the last reference goes).
  ClassFactory(const PFactoryInfo& info, void (*onDestroyed)(ClassFactory*));

  // Stores the description as given and makes its UTF-16 form at once.
  void RegisterClass(const PClassInfo2& info, CreateFunction create, void* context);

  tresult TORVA_VST3_API queryInterface(const TUID iid, void** obj) override;
  uint32 TORVA_VST3_API addRef() override { return AddReference(); }
  uint32 TORVA_VST3_API release() override { return ReleaseReference(); }

  tresult TORVA_VST3_API getFactoryInfo(PFactoryInfo* info) override;
  int32 TORVA_VST3_API countClasses() override;
  tresult TORVA_VST3_API getClassInfo(int32 index, PClassInfo* info) override;
  // The object the class's create function made, queried for iid. kNoInterface
  // and a null result for an unknown class, a failed creation or query.
  tresult TORVA_VST3_API createInstance(FIDString cid, FIDString iid, void** obj) override;
  tresult TORVA_VST3_API getClassInfo2(int32 index, PClassInfo2* info) override;
  tresult TORVA_VST3_API getClassInfoUnicode(int32 index, PClassInfoW* info) override;
  tresult TORVA_VST3_API setHostContext(FUnknown*) override { return kNotImplemented; }

  // The UTF-16 form of a description: name, vendor, version and sdkVersion
  // widen byte by byte (at most 63 units); category and subCategories stay.
  static PClassInfoW Widen(const PClassInfo2& info);

 protected:
  ~ClassFactory() override;
  void DeleteSelf() override { delete this; }

 private:
  struct Entry {
    PClassInfo2 info;
    PClassInfoW infoW;
    CreateFunction create;
    void* context;
  };
  bool ValidIndex(int32 index) const {
    return index >= 0 && index < static_cast<int32>(classes_.size());
  }

  PFactoryInfo info_;
  void (*onDestroyed_)(ClassFactory*);
  std::vector<Entry> classes_;
};

}  // namespace vst3
