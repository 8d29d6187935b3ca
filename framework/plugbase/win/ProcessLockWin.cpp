#include "framework/plugbase/ProcessLock.h"

#include <windows.h>


namespace {
CRITICAL_SECTION* Section(unsigned char* storage) {
  return reinterpret_cast<CRITICAL_SECTION*>(storage);
}
}  // namespace

ProcessLock::ProcessLock() {
  static_assert(sizeof(CRITICAL_SECTION) <= sizeof(section_), "critical section storage too small");
  InitializeCriticalSection(Section(section_));
}
ProcessLock::~ProcessLock() { DeleteCriticalSection(Section(section_)); }
void ProcessLock::Lock() { EnterCriticalSection(Section(section_)); }
void ProcessLock::Unlock() { LeaveCriticalSection(Section(section_)); }
