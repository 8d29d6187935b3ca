#pragma once
// The reference count every object handed to a host carries: one count for
// all of an object's interfaces, 1 at construction, the object deletes itself
// when the last reference goes.
#include <atomic>

#include "framework/vst3/Vst3Base.h"

namespace vst3 {

class RefCountedObject {
 public:
  RefCountedObject() = default;
  RefCountedObject(const RefCountedObject&) = delete;
  RefCountedObject& operator=(const RefCountedObject&) = delete;

  // Any thread. Both return the new count.
  uint32 AddReference() { return count_.fetch_add(1, std::memory_order_relaxed) + 1; }
  uint32 ReleaseReference() {
    const uint32 left = count_.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0) DeleteSelf();
    return left;
  }
  uint32 ReferenceCount() const { return count_.load(std::memory_order_relaxed); }

 protected:
  virtual ~RefCountedObject() = default;
  // Deletes the object through its most-derived (or first-base) pointer, so
  // the pointer handed to delete is the start of the allocation.
  virtual void DeleteSelf() = 0;

 private:
  std::atomic<uint32> count_{1};
};

// Releases an interface pointer (if any) and clears it.
template <class T>
void ReleaseAndClear(T*& p) {
  if (p) p->release();
  p = nullptr;
}

}  // namespace vst3
