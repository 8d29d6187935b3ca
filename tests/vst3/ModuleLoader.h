#pragma once
// Loads the built module the way a host does: the platform's library loader,
// the entry function, then the factory export.
#include <memory>
#include <string>

#include "framework/vst3/Vst3Base.h"
#include "tests/common/ModuleLibrary.h"

class ModuleLoader {
 public:
  // The deliverable of the platform being tested.
  static std::string ModulePath();

  // Loads the library and runs its entry function; false when either fails.
  bool Load(const std::string& path);
  // Runs the exit function and unloads. Every factory reference must have
  // been released.
  void Unload();
  // One new reference per call; null when not loaded.
  vst3::IPluginFactory* GetFactory();
  // Whether the library exports `name`.
  bool HasExport(const char* name) const;
  bool Loaded() const { return library_ != nullptr; }

 private:
  void* Symbol(const char* name) const { return library_ ? library_->Symbol(name) : nullptr; }
  std::unique_ptr<ModuleLibrary> library_;
};
