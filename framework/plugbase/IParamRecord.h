#pragma once
#include <cstdint>
#include <string>
#include <vector>

// How a parameter's value is stepped and entered.
enum ParamKind : int32_t {
  KindUnset = 0,
  KindToggle = 1,
  KindInteger = 2,
  KindChoice = 3,
  KindContinuous = 4,
};

// A text shown for one particular whole value.
struct DisplayTextEntry {
  int32_t value;
  char text[32];
};

// One automatable parameter. Holds the plain value in the parameter's own
// units; hosts and controls speak normalized 0..1 values converted here.
// No lock of its own: callers hold the plug-in's processing lock.
struct IParamRecord {
  ParamKind kind = KindUnset;
  double value = 0.0;
  double minValue = 0.0;
  double maxValue = 1.0;
  double step = 1.0;
  double shape = 1.0;
  double defaultValue = 0.0;
  int32_t displayPrecision = 0;
  char name[32] = {};
  char label[32] = {};
  char group[32] = {};
  bool displayNegated = false;
  bool canAutomate = true;
  std::vector<DisplayTextEntry> displayTexts;

  // Set-up, called once from the effect's constructor. Texts longer than 31
  // characters are cut.
  void SetUpNumeric(const char* name, double defaultValue, double minValue, double maxValue,
                    double step, const char* label, const char* group, double shape);
  void SetUpInteger(const char* name, double defaultValue, double minValue, double maxValue,
                    const char* label, const char* group);
  void SetShape(double shape);
  void AddDisplayText(int32_t value, const char* text);

  double PlainFromNormalized(double n) const;
  double NormalizedFromPlain(double v) const;
  double NormalizedValue() const;
  double DefaultNormalized() const;
  void ApplyNormalized(double n);
  // Clamps into minValue..maxValue; NaN leaves the value unchanged.
  void SetPlainClamped(double v);

  std::string FormatValueText(double v, bool valueIsNormalized, bool useDisplayTexts) const;
  std::string UnitText() const;
  // The text for a whole value, or null when there is none.
  const char* DisplayTextFor(int32_t w) const;
  // Finds the whole value whose display text equals t; false when none does.
  bool ValueOfDisplayText(const char* t, int32_t* w) const;
};
