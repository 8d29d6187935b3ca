#pragma once
#include <cstdint>
#include <vector>

// One legal pair of channel counts.
struct ChannelIOConfig {
  int32_t inputs = 0;
  int32_t outputs = 0;
};

// Per-channel records through which host audio reaches ProcessBlock. The data
// slot always refers to the same entry of the plug-in's data-pointer array;
// the scratch buffer holds block-size doubles.
struct IInputChannel {
  bool connected = false;
  double** dataSlot = nullptr;
  std::vector<double> scratch;
  char label[64] = {};
};

struct IOutputChannel {
  bool connected = false;
  double** dataSlot = nullptr;
  float* hostDestination = nullptr;  // single-precision processing only
  std::vector<double> scratch;
  char label[64] = {};
};
