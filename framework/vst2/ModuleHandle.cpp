#include "framework/vst2/ModuleHandle.h"

#include <atomic>

namespace {
// Written once by the loader before any host call; atomic so that a reader
// on another thread never needs a lock.
std::atomic<void*> g_moduleHandle{nullptr};
}  // namespace

void* ModuleInstanceHandle() { return g_moduleHandle.load(std::memory_order_acquire); }

void SetModuleInstanceHandle(void* handle) {
  g_moduleHandle.store(handle, std::memory_order_release);
}
