#include <windows.h>

#include "tests/vst3/ModuleLoader.h"

// Under Wine the Linux file system is drive Z:.
std::string ModuleLoader::ModulePath() {
  std::string path = std::string("Z:") + TORVA_DIST_PLATFORM_DIR + "/TORVA.vst3";
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

bool ModuleLoader::Load(const std::string& path) {
  handle_ = LoadLibraryA(path.c_str());
  if (!handle_) return false;
  auto init = reinterpret_cast<bool (*)()>(Symbol("InitDll"));
  if (init && !init()) {
    FreeLibrary(static_cast<HMODULE>(handle_));
    handle_ = nullptr;
    return false;
  }
  return true;
}

void ModuleLoader::Unload() {
  if (!handle_) return;
  if (auto exit = reinterpret_cast<bool (*)()>(Symbol("ExitDll"))) exit();
  FreeLibrary(static_cast<HMODULE>(handle_));
  handle_ = nullptr;
}

void* ModuleLoader::Symbol(const char* name) const {
  if (!handle_) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

bool ModuleLoader::HasExport(const char* name) const { return Symbol(name) != nullptr; }

vst3::IPluginFactory* ModuleLoader::GetFactory() {
  using GetFactoryProc = vst3::IPluginFactory*(TORVA_VST3_API*)();
  auto get = reinterpret_cast<GetFactoryProc>(Symbol("GetPluginFactory"));
  return get ? get() : nullptr;
}
