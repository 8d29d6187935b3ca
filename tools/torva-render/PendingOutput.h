#pragma once
#include <string>

// An output file written under a temporary name beside its final path and
// renamed into place only when the render succeeded, so that a failed run
// never leaves a partial file behind (nor clobbers an existing one). The
// temporary file is also removed when the process is interrupted (SIGINT,
// SIGTERM, SIGHUP). Main thread only.
class PendingOutput {
 public:
  explicit PendingOutput(std::string finalPath);
  ~PendingOutput();  // removes the temporary file unless committed
  PendingOutput(const PendingOutput&) = delete;
  PendingOutput& operator=(const PendingOutput&) = delete;

  const std::string& TemporaryPath() const { return temporary_; }
  const std::string& FinalPath() const { return final_; }
  // Renames the temporary file to the final path; throws RenderFailure.
  void Commit();

 private:
  std::string final_;
  std::string temporary_;
  bool committed_ = false;
  int trackedSlot_ = -1;  // in the interrupt handler's list, or -1
};
