#include "tools/torva-render/PendingOutput.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "tools/torva-render/RenderError.h"

PendingOutput::PendingOutput(std::string finalPath) : final_(std::move(finalPath)) {
  // Same directory, so that the rename never crosses file systems; a hidden
  // name with the process id, so that parallel runs do not collide.
  const size_t slash = final_.find_last_of('/');
  const std::string dir = slash == std::string::npos ? std::string() : final_.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? final_ : final_.substr(slash + 1);
  temporary_ = dir + "." + base + ".tmp-" + std::to_string(static_cast<long>(getpid()));
}

PendingOutput::~PendingOutput() {
  if (!committed_) std::remove(temporary_.c_str());
}

void PendingOutput::Commit() {
  if (std::rename(temporary_.c_str(), final_.c_str()) != 0) {
    throw RenderFailure(final_ + ": " + std::strerror(errno));
  }
  committed_ = true;
}
