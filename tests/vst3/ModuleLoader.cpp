#include "tests/vst3/ModuleLoader.h"

// Windows hosts call InitDll/ExitDll; Linux hosts ModuleEntry(handle) and
// ModuleExit, and find the library inside the bundle.
#ifdef _WIN32
std::string ModuleLoader::ModulePath() { return std::string(TORVA_DIST_PLATFORM_DIR) + "/TORVA.vst3"; }

static bool RunEntry(ModuleLibrary& library) {
  auto init = reinterpret_cast<bool(TORVA_VST3_API*)()>(library.Symbol("InitDll"));
  return !init || init();
}

static void RunExit(ModuleLibrary& library) {
  if (auto exit = reinterpret_cast<bool(TORVA_VST3_API*)()>(library.Symbol("ExitDll"))) exit();
}
#else
std::string ModuleLoader::ModulePath() {
  return std::string(TORVA_DIST_PLATFORM_DIR) + "/TORVA.vst3/Contents/x86_64-linux/TORVA.so";
}

static bool RunEntry(ModuleLibrary& library) {
  auto entry = reinterpret_cast<bool (*)(void*)>(library.Symbol("ModuleEntry"));
  return entry && entry(library.Handle());
}

static void RunExit(ModuleLibrary& library) {
  if (auto exit = reinterpret_cast<bool (*)()>(library.Symbol("ModuleExit"))) exit();
}
#endif

bool ModuleLoader::Load(const std::string& path) {
  auto library = std::make_unique<ModuleLibrary>(path);
  if (!library->IsLoaded() || !RunEntry(*library)) return false;
  library_ = std::move(library);
  return true;
}

void ModuleLoader::Unload() {
  if (!library_) return;
  RunExit(*library_);
  library_.reset();
}

bool ModuleLoader::HasExport(const char* name) const { return Symbol(name) != nullptr; }

vst3::IPluginFactory* ModuleLoader::GetFactory() {
  using GetFactoryProc = vst3::IPluginFactory*(TORVA_VST3_API*)();
  auto get = reinterpret_cast<GetFactoryProc>(Symbol("GetPluginFactory"));
  return get ? get() : nullptr;
}
