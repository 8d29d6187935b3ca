// Linux entry points: hosts call ModuleEntry with the dlopen handle right
// after loading and ModuleExit right before unloading.
#include "framework/vst3/ModuleHandle.h"

TORVA_VST3_EXPORT bool ModuleEntry(void* sharedLibraryHandle) {
  SetModuleHandle(sharedLibraryHandle);
  SetFrameworkInstance(sharedLibraryHandle);
  return true;
}

TORVA_VST3_EXPORT bool ModuleExit() { return true; }
