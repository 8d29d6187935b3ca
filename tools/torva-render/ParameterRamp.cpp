#include "tools/torva-render/ParameterRamp.h"

#include <cmath>
#include <cstdlib>

#include "effect/TORVA.h"
#include "tools/torva-render/RenderError.h"

namespace {

struct RampName {
  const char* name;
  int index;
};
constexpr RampName kRampNames[] = {{"mic", TORVA::kMic},
                                   {"size", TORVA::kSize},
                                   {"character", TORVA::kCharacter},
                                   {"output", TORVA::kOutput}};

// A whole-string decimal number; false on anything else (also nan and inf).
bool ReadNumber(const std::string& text, double* out) {
  if (text.empty()) return false;
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || !std::isfinite(v)) return false;
  *out = v;
  return true;
}

}  // namespace

ParameterRamp ParameterRamp::Parse(const std::string& text) {
  const std::string where = "--automate " + text + ": ";
  const size_t eq = text.find('=');
  if (eq == std::string::npos) throw BadInput(where + "expected NAME=V@T,V@T,...");
  ParameterRamp ramp;
  ramp.name_ = text.substr(0, eq);
  bool known = false;
  for (const RampName& n : kRampNames) {
    if (ramp.name_ == n.name) {
      ramp.paramIndex_ = n.index;
      known = true;
    }
  }
  if (!known) throw BadInput(where + "NAME must be one of mic, size, character, output");

  const std::string list = text.substr(eq + 1);
  size_t start = 0;
  for (;;) {
    const size_t comma = list.find(',', start);
    const std::string item = list.substr(start, comma == std::string::npos ? std::string::npos
                                                                           : comma - start);
    const size_t at = item.find('@');
    Point p{};
    if (at == std::string::npos || !ReadNumber(item.substr(0, at), &p.value) ||
        !ReadNumber(item.substr(at + 1), &p.seconds)) {
      throw BadInput(where + "point \"" + item + "\" is not V@T");
    }
    if (p.value < 0.0 || p.value > 10.0) {
      throw BadInput(where + "value " + item.substr(0, at) + " is outside 0 to 10");
    }
    if (p.seconds < 0.0) throw BadInput(where + "time " + item.substr(at + 1) + " is negative");
    if (!ramp.points_.empty() && p.seconds < ramp.points_.back().seconds) {
      throw BadInput(where + "times must not go backwards");
    }
    ramp.points_.push_back(p);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return ramp;
}

double ParameterRamp::ValueAt(double seconds) const {
  if (seconds <= points_.front().seconds) {
    // Before the first point; with a jump at the very first time, the later
    // value already holds there.
    double v = points_.front().value;
    for (const Point& p : points_) {
      if (p.seconds == points_.front().seconds && seconds == p.seconds) v = p.value;
    }
    return v;
  }
  for (size_t i = 1; i < points_.size(); ++i) {
    const Point& a = points_[i - 1];
    const Point& b = points_[i];
    if (seconds >= b.seconds) continue;
    const double t = (seconds - a.seconds) / (b.seconds - a.seconds);
    return a.value + (b.value - a.value) * t;
  }
  return points_.back().value;
}
