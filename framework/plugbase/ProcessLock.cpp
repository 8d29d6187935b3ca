#include "framework/plugbase/ProcessLock.h"

#ifndef _WIN32
ProcessLock::ProcessLock() = default;
ProcessLock::~ProcessLock() = default;
void ProcessLock::Lock() { mutex_.lock(); }
void ProcessLock::Unlock() { mutex_.unlock(); }
#endif
