#pragma once

// A one-pole low-pass that glides a control towards its target: one Advance
// moves z by the fraction a0 of the remaining distance.
struct OnePoleSmoother {
  double a0 = 1.0;
  double b1 = 0.0;
  double z = 0.0;

  // Corner of 1 Hz per Advance at sample rate fs; b1 comes from the caller so
  // that several smoothers share one exp().
  void SetPole(double pole) {
    b1 = pole;
    a0 = 1.0 - pole;
  }

  double Advance(double target) {
    z = b1 * z + a0 * target;
    return z;
  }

  // True when an Advance towards target would return z unchanged. The update
  // is monotone in z, so a glide always ends on such a fixed point; from then
  // on every Advance in the block yields the same value and may be skipped.
  bool IsSettledAt(double target) const { return b1 * z + a0 * target == z; }
};
