#pragma once
#include <string>
#include <vector>

// A piecewise-linear course of one parameter's plain value over time, given on
// the command line as NAME=V@T,V@T,... (T in seconds).
class ParameterRamp {
 public:
  struct Point {
    double value;
    double seconds;
  };

  // Parses "NAME=V@T,...". Throws BadInput naming what is wrong: an unknown
  // name, a missing or unreadable number, a value outside 0..10, a negative
  // time or times that go backwards. Equal times make a jump.
  static ParameterRamp Parse(const std::string& text);

  // The effect parameter the ramp drives (mic, size, character, output).
  int ParamIndex() const { return paramIndex_; }
  const std::string& Name() const { return name_; }

  // The value at time t: held at the first value before the first point and
  // at the last after the last; at a jump the later value holds.
  double ValueAt(double seconds) const;

 private:
  std::string name_;
  int paramIndex_ = 0;
  std::vector<Point> points_;
};
