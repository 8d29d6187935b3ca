#include "framework/plugbase/IParamRecord.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "framework/plugbase/FixedText.h"

namespace {
// Truncation toward zero into int range; values beyond it saturate instead of
// being undefined.
int32_t TruncateToInt(double v) {
  if (!(v == v)) return 0;
  if (v >= 2147483647.0) return 2147483647;
  if (v <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(v);
}
}  // namespace

void IParamRecord::SetUpNumeric(const char* newName, double newDefault, double newMin,
                                double newMax, double newStep, const char* newLabel,
                                const char* newGroup, double newShape) {
  if (kind == KindUnset) kind = KindContinuous;
  CopyFixedText(name, newName);
  CopyFixedText(label, newLabel);
  CopyFixedText(group, newGroup);
  minValue = newMin;
  step = newStep;
  value = newDefault;
  defaultValue = newDefault;
  displayPrecision = 0;
  maxValue = (newMin + newStep > newMax) ? newMin + newStep : newMax;
  double x = newStep;
  while (x != std::floor(x) && displayPrecision < 6) {
    ++displayPrecision;
    x *= 10.0;
  }
  if (newShape != 0.0) shape = newShape;
}

void IParamRecord::SetUpInteger(const char* newName, double newDefault, double newMin,
                                double newMax, const char* newLabel, const char* newGroup) {
  if (kind == KindUnset) kind = KindInteger;
  SetUpNumeric(newName, newDefault, newMin, newMax, 1.0, newLabel, newGroup, 1.0);
}

void IParamRecord::SetShape(double newShape) { shape = newShape; }

void IParamRecord::AddDisplayText(int32_t w, const char* text) {
  DisplayTextEntry entry{};
  entry.value = w;
  CopyFixedText(entry.text, text);
  displayTexts.push_back(entry);
}

double IParamRecord::PlainFromNormalized(double n) const {
  return std::pow(n, shape) * (maxValue - minValue) + minValue;
}

double IParamRecord::NormalizedFromPlain(double v) const {
  double c = v;
  if (minValue > v) {
    c = minValue;
  } else if (maxValue < v) {
    c = maxValue;
  }
  return std::pow((c - minValue) / (maxValue - minValue), 1.0 / shape);
}

double IParamRecord::NormalizedValue() const { return NormalizedFromPlain(value); }

double IParamRecord::DefaultNormalized() const {
  return std::pow((defaultValue - minValue) / (maxValue - minValue), 1.0 / shape);
}

void IParamRecord::ApplyNormalized(double n) {
  double v = std::pow(n, shape) * (maxValue - minValue) + minValue;
  // The step grid counts from zero, not from minValue.
  if (kind != KindContinuous) v = std::floor(v / step + 0.5) * step;
  value = v < maxValue ? v : maxValue;
}

void IParamRecord::SetPlainClamped(double v) {
  // NaN passes both range tests; from a damaged state it would reach the
  // host and the signal path, so the value stays as it was.
  if (v != v) return;
  if (v < minValue) {
    value = minValue;
  } else if (maxValue < v) {
    value = maxValue;
  } else {
    value = v;
  }
}

const char* IParamRecord::DisplayTextFor(int32_t w) const {
  for (const DisplayTextEntry& entry : displayTexts) {
    if (entry.value == w) return entry.text[0] != '\0' ? entry.text : nullptr;
  }
  return nullptr;
}

bool IParamRecord::ValueOfDisplayText(const char* t, int32_t* w) const {
  if (!t) return false;
  for (const DisplayTextEntry& entry : displayTexts) {
    if (std::strcmp(entry.text, t) == 0) {
      if (w) *w = entry.value;
      return true;
    }
  }
  return false;
}

std::string IParamRecord::FormatValueText(double v, bool valueIsNormalized,
                                          bool useDisplayTexts) const {
  if (valueIsNormalized) v = PlainFromNormalized(v);
  if (useDisplayTexts && !displayTexts.empty()) {
    if (const char* text = DisplayTextFor(TruncateToInt(v))) return text;
  }
  if (displayNegated) v = -v;
  char buffer[352];
  if (displayPrecision == 0) {
    std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(TruncateToInt(v)));
  } else {
    std::snprintf(buffer, sizeof buffer, "%.*f", static_cast<int>(displayPrecision), v);
  }
  return buffer;
}

std::string IParamRecord::UnitText() const {
  if (DisplayTextFor(TruncateToInt(value))) return std::string();
  return label;
}
