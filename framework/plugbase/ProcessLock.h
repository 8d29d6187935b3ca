#pragma once
#include <mutex>

// The recursive lock that serialises processing, host calls and parameter
// changes of one instance; also used for the module-wide creation lock.
// A critical section on Windows, a recursive mutex elsewhere. A thread that
// holds it may take it again.
class ProcessLock {
 public:
  ProcessLock();
  ~ProcessLock();
  ProcessLock(const ProcessLock&) = delete;
  ProcessLock& operator=(const ProcessLock&) = delete;

  void Lock();
  void Unlock();

 private:
#ifdef _WIN32
  // Storage for a CRITICAL_SECTION; the Windows source checks that it fits.
  alignas(8) unsigned char section_[48];
#else
  std::recursive_mutex mutex_;
#endif
};

// Holds a ProcessLock for the lifetime of the guard.
class ProcessLockGuard {
 public:
  explicit ProcessLockGuard(ProcessLock& lock) : lock_(lock) { lock_.Lock(); }
  ~ProcessLockGuard() { lock_.Unlock(); }
  ProcessLockGuard(const ProcessLockGuard&) = delete;
  ProcessLockGuard& operator=(const ProcessLockGuard&) = delete;

 private:
  ProcessLock& lock_;
};
