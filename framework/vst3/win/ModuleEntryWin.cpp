// Windows entry points: the attach notification records the module handle,
// InitDll hands it to the framework (its resources live in the module), and
// ExitDll has nothing to undo.
#include <windows.h>

#include "framework/vst3/ModuleHandle.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) SetModuleHandle(instance);
  return TRUE;
}

TORVA_VST3_EXPORT bool InitDll() {
  SetFrameworkInstance(ModuleHandle());
  return true;
}

TORVA_VST3_EXPORT bool ExitDll() { return true; }
