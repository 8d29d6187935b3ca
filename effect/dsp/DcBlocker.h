#pragma once

// Removes the DC the waveshaper's even-order term adds: a zero at DC and a
// pole at 0.999 (about 7 Hz at 44.1 kHz).
struct DcBlocker {
  double previousInput = 0.0;
  double previousOutput = 0.0;

  double Step(double x) {
    const double y = 0.999 * previousOutput + (x - previousInput);
    previousInput = x;
    previousOutput = y;
    return y;
  }
};
