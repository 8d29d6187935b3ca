#pragma once
#include "effect/dsp/FilterSection.h"

// The microphone: a broad boost whose peak grows and moves down as the
// microphone moves (p), shaped further by q. Order 5.
struct MicTerms {
  static constexpr int kOrder = 5;
  // Rows k = 0..5; columns 1, q, p, p·q, p², p²·q.
  static constexpr double kA[kOrder + 1][kTermCount] = {
      {1.81767568680935e-11, 0, 0, 0, 0, 0},
      {2.08356528627583e-12, -2.03577641146236e-14, 1.20146034478828e-14, 0, 0, 0},
      {2.14260920914559e-14, -2.29635579212954e-15, 1.37704852038183e-15, -1.34361243156516e-17, 0, 0},
      {3.35354678749475e-17, -1.97869324088496e-17, 1.41453771706759e-17, -1.5155948228055e-18, 0, 0},
      {1.06850503502138e-20, 0, 2.21351896213821e-20, -1.30593753898407e-20, 0, 0},
      {0, 0, 7.05213323114109e-24, 0, 0, 0},
  };
  static constexpr double kB[kOrder + 1][kTermCount] = {
      {0, 0, 0, 0, 0, 0},
      {1.70858097381046e-12, 0, 0, 0, 0, 0},
      {1.91839471739438e-14, 0, 1.69798777177283e-13, 0, 0, 0},
      {3.03922383621404e-17, 0, 3.88945610159028e-16, 0, 0, 0},
      {9.71348786582931e-21, 0, 1.81950341749501e-19, 0, 0, 0},
      {0, 0, 6.41090199144734e-24, 0, 0, 0},
  };
};

using MicFilter = FilterSection<MicTerms>;
