#include <dlfcn.h>

#include "tests/vst3/ModuleLoader.h"

std::string ModuleLoader::ModulePath() {
  return std::string(TORVA_DIST_PLATFORM_DIR) + "/TORVA.vst3/Contents/x86_64-linux/TORVA.so";
}

bool ModuleLoader::Load(const std::string& path) {
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) return false;
  auto entry = reinterpret_cast<bool (*)(void*)>(Symbol("ModuleEntry"));
  if (!entry || !entry(handle_)) {
    dlclose(handle_);
    handle_ = nullptr;
    return false;
  }
  return true;
}

void ModuleLoader::Unload() {
  if (!handle_) return;
  if (auto exit = reinterpret_cast<bool (*)()>(Symbol("ModuleExit"))) exit();
  dlclose(handle_);
  handle_ = nullptr;
}

void* ModuleLoader::Symbol(const char* name) const {
  return handle_ ? dlsym(handle_, name) : nullptr;
}

bool ModuleLoader::HasExport(const char* name) const { return Symbol(name) != nullptr; }

vst3::IPluginFactory* ModuleLoader::GetFactory() {
  using GetFactoryProc = vst3::IPluginFactory* (*)();
  auto get = reinterpret_cast<GetFactoryProc>(Symbol("GetPluginFactory"));
  return get ? get() : nullptr;
}
