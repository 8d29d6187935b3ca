#include "tools/torva-render/PendingOutput.h"

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "tools/torva-render/RenderError.h"

namespace {

// The temporary names of the outputs in progress, for the interrupt handler:
// Ctrl-C or a kill during a long render must not leave hidden files behind.
// Plain arrays, since the handler may only call async-signal-safe functions.
constexpr int kMaxTracked = 8;
constexpr size_t kMaxTrackedPath = 4096;
char gTrackedPath[kMaxTracked][kMaxTrackedPath];
volatile std::sig_atomic_t gTracked[kMaxTracked];

extern "C" void RemoveTrackedAndDie(int signalNumber) {
  for (int i = 0; i < kMaxTracked; ++i) {
    if (gTracked[i]) unlink(gTrackedPath[i]);
  }
  std::signal(signalNumber, SIG_DFL);
  std::raise(signalNumber);
}

// Returns the slot holding `path`, or -1 when there is none free (or the
// name is too long); such a file is still removed on every ordinary exit.
int Track(const std::string& path) {
  static const bool installed = [] {
    for (int s : {SIGINT, SIGTERM, SIGHUP}) std::signal(s, RemoveTrackedAndDie);
    return true;
  }();
  (void)installed;
  if (path.size() >= kMaxTrackedPath) return -1;
  for (int i = 0; i < kMaxTracked; ++i) {
    if (gTracked[i]) continue;
    std::memcpy(gTrackedPath[i], path.c_str(), path.size() + 1);
    gTracked[i] = 1;
    return i;
  }
  return -1;
}

void Untrack(int slot) {
  if (slot >= 0) gTracked[slot] = 0;
}

}  // namespace

PendingOutput::PendingOutput(std::string finalPath) : final_(std::move(finalPath)) {
  // Same directory, so that the rename never crosses file systems; a hidden
  // name with the process id, so that parallel runs do not collide.
  const size_t slash = final_.find_last_of('/');
  const std::string dir = slash == std::string::npos ? std::string() : final_.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? final_ : final_.substr(slash + 1);
  temporary_ = dir + "." + base + ".tmp-" + std::to_string(static_cast<long>(getpid()));
  trackedSlot_ = Track(temporary_);
}

PendingOutput::~PendingOutput() {
  Untrack(trackedSlot_);
  if (!committed_) std::remove(temporary_.c_str());
}

void PendingOutput::Commit() {
  if (std::rename(temporary_.c_str(), final_.c_str()) != 0) {
    throw RenderFailure(final_ + ": " + std::strerror(errno));
  }
  committed_ = true;
  Untrack(trackedSlot_);
  trackedSlot_ = -1;
}
