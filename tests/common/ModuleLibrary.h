#pragma once
#include <string>

// A plug-in module loaded the way a host loads it: dlopen on Linux,
// LoadLibrary on Windows (where a path of the build machine's file system is
// reached through drive Z: under Wine). Unloaded when the object goes.
class ModuleLibrary {
 public:
  explicit ModuleLibrary(const std::string& path);
  ~ModuleLibrary();
  ModuleLibrary(const ModuleLibrary&) = delete;
  ModuleLibrary& operator=(const ModuleLibrary&) = delete;

  bool IsLoaded() const { return handle_ != nullptr; }
  // The loader's handle (HMODULE on Windows), null when loading failed.
  void* Handle() const { return handle_; }
  // Null when the module does not export the name.
  void* Symbol(const char* name) const;
  // The loader's message when loading failed.
  const std::string& Error() const { return error_; }

 private:
  void* handle_ = nullptr;
  std::string error_;
};
