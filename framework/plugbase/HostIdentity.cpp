#include "framework/plugbase/HostIdentity.h"

#include <cstring>

namespace {
struct HostName {
  const char* substring;
  int32_t code;
};

// Tested in this order; earlier entries win where names overlap
// ("live" matches inside other words too).
constexpr HostName kHostNames[] = {
    {"cubase", 3},     {"reaper", 1},      {"nuendo", 4},      {"cakewalk", 5},
    {"samplitude", 8}, {"fruity", 7},      {"live", 9},        {"melodyne", 12},
    {"vstmanlib", 13}, {"aulab", 14},      {"garageband", 22}, {"forte", 15},
    {"chainer", 16},   {"audition", 17},   {"orion", 18},      {"sawstudio", 20},
    {"logic", 21},     {"digital", 23},    {"audiomulch", 25}, {"presonus", 26},
    {"vst3plugintesthost", 27}, {"protools", 2}, {"ardour", 28}, {"openmpt", 30},
    {"renoise", 29},   {"standalone", 24},
};
}  // namespace

int32_t IdentifyHost(const char* productName) {
  char lowered[256];
  size_t n = 0;
  if (productName) {
    for (; n + 1 < sizeof lowered && productName[n] != '\0'; ++n) {
      char c = productName[n];
      lowered[n] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
  }
  lowered[n] = '\0';
  for (const HostName& entry : kHostNames) {
    if (std::strstr(lowered, entry.substring)) return entry.code;
  }
  return kHostUnknown;
}
