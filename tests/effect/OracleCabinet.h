#pragma once
#include "tests/effect/OracleSection.h"

// The reference model of the whole signal path, written step by step the
// plain way: per frame every smoother is advanced in its fixed order, every
// section's coefficients are recomputed from scratch, the level is a fresh
// power of ten. No caching, no shortcuts.
class OracleCabinet {
 public:
  OracleCabinet();

  // Plain parameter values as the effect caches them (0..10) and the bypass
  // parameter's value (truncated per frame).
  double mic = 0.0, size = 5.0, character = 5.0, output = 5.0, bypass = 1.0;

  // One block: inputs are read before outputs are written, frame by frame.
  void ProcessBlock(const double* const* inputs, double* const* outputs, int frames, double fs);

 private:
  struct Smoother {
    double a0 = 1.0, b1 = 0.0, z = 0.0;
    double Advance(double target) {
      z = b1 * z + a0 * target;
      return z;
    }
  };
  struct Blocker {
    double previousInput = 0.0, previousOutput = 0.0;
    double Step(double x);
  };

  static double LevelAndShape(double m, double v);

  Smoother mic_, size_, character_, gain_, sizeScale_;
  Blocker dcL_, dcR_;
  OracleSection characterL_, characterR_, sizeL_, sizeR_, micL_, micR_;
};
