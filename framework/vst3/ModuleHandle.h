#pragma once
// The module's handles: the one the loader gave the library, and the one the
// framework loads its resources from (set when the host initialises the
// module). Written by the module entry points, which hosts call before they
// create any instance.
void SetModuleHandle(void* handle);
void* ModuleHandle();
void SetFrameworkInstance(void* handle);
void* FrameworkInstance();

#if defined(_WIN32)
#define TORVA_VST3_EXPORT extern "C" __declspec(dllexport)
#else
#define TORVA_VST3_EXPORT extern "C" __attribute__((visibility("default")))
#endif
