// The DLL's attach notification: the module keeps its instance handle for
// the editor's resource lookups.
#include <windows.h>

#include "framework/vst2/ModuleHandle.h"

// Loader thread, with the loader lock held: store the handle and nothing else.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) SetModuleInstanceHandle(instance);
  return TRUE;
}
