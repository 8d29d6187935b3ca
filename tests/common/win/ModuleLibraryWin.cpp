#include <windows.h>

#include "tests/common/ModuleLibrary.h"

namespace {
// Under Wine the build machine's folders are reachable through drive Z:.
std::string WindowsPath(const std::string& path) {
  std::string result = path;
  if (!result.empty() && result[0] == '/') result = "Z:" + result;
  for (char& c : result) {
    if (c == '/') c = '\\';
  }
  return result;
}
}  // namespace

ModuleLibrary::ModuleLibrary(const std::string& path) {
  handle_ = reinterpret_cast<void*>(LoadLibraryA(WindowsPath(path).c_str()));
  if (!handle_) error_ = "LoadLibrary failed with error " + std::to_string(GetLastError());
}

ModuleLibrary::~ModuleLibrary() {
  if (handle_) FreeLibrary(static_cast<HMODULE>(handle_));
}

void* ModuleLibrary::Symbol(const char* name) const {
  if (!handle_) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}
