// The module's class factory and its one class: creation of the effect under
// the module-wide creation lock, and the factory export every platform has.
#include <atomic>
#include <cstring>
#include <new>

#include "framework/plugbase/ProcessLock.h"
#include "framework/vst3/ClassFactory.h"
#include "framework/vst3/IFxVST3.h"
#include "framework/vst3/ModuleHandle.h"
#include "framework/vst3/Vst3FactoryDefinition.h"
#include "framework/vst3/Vst3Text.h"

using namespace vst3;

namespace {
std::atomic<void*> gModuleHandle{nullptr};
std::atomic<void*> gFrameworkInstance{nullptr};
// Hosts must not race two first calls of GetPluginFactory; later calls only
// add references.
ClassFactory* gFactory = nullptr;

ProcessLock& CreationLock() {
  static ProcessLock lock;
  return lock;
}

void ForgetFactory(ClassFactory* factory) {
  if (gFactory == factory) gFactory = nullptr;
}

// Any host thread; at most one effect is constructed at a time.
FUnknown* CreateEffect(void*) {
  IFxVST3* effect = nullptr;
  {
    ProcessLockGuard guard(CreationLock());
    try {
      effect = CreatePluginInstance(nullptr);
    } catch (...) {
      return nullptr;
    }
  }
  if (!effect) return nullptr;
  return static_cast<IAudioProcessor*>(effect);
}
}  // namespace

void SetModuleHandle(void* handle) { gModuleHandle = handle; }
void* ModuleHandle() { return gModuleHandle; }
void SetFrameworkInstance(void* handle) { gFrameworkInstance = handle; }
void* FrameworkInstance() { return gFrameworkInstance; }

PFactoryInfo vst3::Vst3FactoryInfo() {
  PFactoryInfo info;
  CopyBytesField(info.vendor, sizeof info.vendor, kVst3Vendor);
  CopyBytesField(info.url, sizeof info.url, kVst3Url);
  CopyBytesField(info.email, sizeof info.email, kVst3Email);
  info.flags = kUnicode;
  return info;
}

const PClassInfo2& vst3::Vst3EffectClassInfo() {
  static const PClassInfo2 info = [] {
    PClassInfo2 c;
    std::memset(&c, 0, sizeof c);
    std::memcpy(c.cid, kVst3EffectClassId.bytes, sizeof c.cid);
    c.cardinality = kManyInstances;
    CopyBytesField(c.category, sizeof c.category, "Audio Module Class");
    CopyBytesField(c.name, sizeof c.name, kVst3EffectName);
    c.classFlags = kSimpleModeSupported;
    CopyBytesField(c.subCategories, sizeof c.subCategories, "Fx");
    CopyBytesField(c.version, sizeof c.version, kVst3EffectVersion);
    CopyBytesField(c.sdkVersion, sizeof c.sdkVersion, "VST 3.6.12");
    return c;
  }();
  return info;
}

// Host thread. The first call builds the factory; every call hands the
// caller one reference to the same factory until the last one is released.
TORVA_VST3_EXPORT IPluginFactory* TORVA_VST3_API GetPluginFactory() {
  if (gFactory) {
    gFactory->addRef();
    return gFactory;
  }
  ClassFactory* factory = nullptr;
  try {
    factory = new ClassFactory(Vst3FactoryInfo(), &ForgetFactory);
    factory->RegisterClass(Vst3EffectClassInfo(), &CreateEffect, nullptr);
  } catch (...) {
    if (factory) factory->release();  // a factory without its class is no use
    return nullptr;
  }
  gFactory = factory;
  return factory;
}
