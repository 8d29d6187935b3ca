#pragma once
#include "effect/dsp/FilterSection.h"

// The cabinet's low end: a high-pass with a resonant bump whose frequency
// falls as the box grows (p, the size scale) and whose height follows q (the
// size). Order 3.
struct SizeTerms {
  static constexpr int kOrder = 3;
  // Rows k = 0..3; columns 1, q, p, p·q, p², p²·q.
  static constexpr double kA[kOrder + 1][kTermCount] = {
      {7.64281973309539e-07, 0, 0, 0, 0, 0},
      {7.47181095180979e-10, 3.5920893536613e-13, 8.71281449572875e-09, 0, 0, 0},
      {8.72852310042993e-13, 1.58700432286232e-11, 4.6685430408502e-12, 4.09498186317388e-15, 0, 0},
      {0, 0, 1.74570462008599e-15, 3.17400864572463e-14, 0, 0},
  };
  static constexpr double kB[kOrder + 1][kTermCount] = {
      {0, 0, 0, 0, 0, 0},
      {0, 0, 0, 0, 0, 0},
      {8.41102090517206e-13, 1.58698507644756e-11, 0, 0, 0, 0},
      {0, 0, 1.68220418103441e-15, 3.17397015289512e-14, 0, 0},
  };
};

using SizeFilter = FilterSection<SizeTerms>;
