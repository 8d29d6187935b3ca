// The module's entry points: the host loads the module and calls
// VSTPluginMain (or, in old hosts, main) once per instance it wants.
#include "framework/plugbase/ProcessLock.h"
#include "framework/vst2/IFxVST.h"

#ifdef _WIN32
#define TORVA_VST_EXPORT __declspec(dllexport)
#else
#define TORVA_VST_EXPORT __attribute__((visibility("default")))
#endif

namespace {
// Instances are created one at a time. Made on first use (thread-safe local
// static) and destroyed when the module unloads.
ProcessLock& CreationLock() {
  static ProcessLock lock;
  return lock;
}
}  // namespace

// Any host thread. Creates the effect under the creation lock and returns its
// record, or null when it cannot be created. The host callback is not called
// during creation.
extern "C" TORVA_VST_EXPORT AEffect* VSTPluginMain(audioMasterCallback host) {
  ProcessLockGuard guard(CreationLock());
  IFxVST* plugin = nullptr;
  try {
    plugin = CreatePluginInstance(host);
    if (!plugin) return nullptr;
    plugin->FinishCreation();
  } catch (...) {
    delete plugin;
    return nullptr;
  }
  return plugin->Effect();
}

// The entry's older name. C++ reserves `main`, so the symbol is given to a
// function of another name. On x86-64 the host passes its callback as a full
// pointer in the first argument register; taking it as a 32-bit integer
// would cut the address and send the first host call astray, so the argument
// is the callback pointer itself.
extern "C" TORVA_VST_EXPORT AEffect* VSTLegacyMain(audioMasterCallback host) __asm__("main");

extern "C" AEffect* VSTLegacyMain(audioMasterCallback host) { return VSTPluginMain(host); }
