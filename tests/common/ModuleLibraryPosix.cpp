#include <dlfcn.h>

#include "tests/common/ModuleLibrary.h"

ModuleLibrary::ModuleLibrary(const std::string& path) {
  // Local and immediate: the module must resolve everything itself and must
  // not lean on symbols of the host program.
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) {
    const char* message = dlerror();
    error_ = message ? message : "dlopen failed";
  }
}

ModuleLibrary::~ModuleLibrary() {
  if (handle_) dlclose(handle_);
}

void* ModuleLibrary::Symbol(const char* name) const {
  return handle_ ? dlsym(handle_, name) : nullptr;
}
