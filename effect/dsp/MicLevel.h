#pragma once
#include <cmath>
#include <cstdint>
#include <cstring>

// The microphone's level, 10^(−29·m/20) for the smoothed placement m: −4.35 dB
// at position 0, −14.5 dB at position 10. The power is recomputed only when
// m differs in any bit from the last call, which gives the same double.
struct MicLevel {
  double Gain(double m) {
    uint64_t bits;
    std::memcpy(&bits, &m, sizeof bits);
    if (bits != mBits_) {
      mBits_ = bits;
      gain_ = std::pow(10.0, (m * -29.0) / 20.0);
    }
    return gain_;
  }

 private:
  uint64_t mBits_ = 0x7ff8dead0000beefULL;  // a NaN no control can carry
  double gain_ = 0.0;
};
