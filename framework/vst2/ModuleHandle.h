#pragma once

// The handle of the loaded module (an HINSTANCE on Windows, kept as void* so
// that portable code needs no system header). The editor loads its image
// resources through it. Null until the library's attach notification stored
// it, and always null on Linux.
void* ModuleInstanceHandle();
// Library loader thread, from the attach notification only.
void SetModuleInstanceHandle(void* handle);
