#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "framework/plugbase/IParamRecord.h"

namespace {

IParamRecord Knob() {
  IParamRecord p;
  p.SetUpNumeric("Knob", 5.0, 0.0, 10.0, 0.1, "", "", 1.0);
  return p;
}

TEST(ParamRecord, FreshRecordHasDocumentedDefaults) {
  IParamRecord p;
  EXPECT_EQ(p.kind, KindUnset);
  EXPECT_EQ(p.value, 0.0);
  EXPECT_EQ(p.minValue, 0.0);
  EXPECT_EQ(p.maxValue, 1.0);
  EXPECT_EQ(p.step, 1.0);
  EXPECT_EQ(p.shape, 1.0);
  EXPECT_TRUE(p.canAutomate);
  EXPECT_FALSE(p.displayNegated);
  EXPECT_STREQ(p.name, "");
}

TEST(ParamRecord, SetUpNumericFixesKindRangeAndPrecision) {
  struct Case {
    double step;
    int precision;
  };
  const Case cases[] = {{1.0, 0}, {0.1, 1}, {0.25, 2}, {0.001, 3}, {1e-7, 6}};
  for (const Case& c : cases) {
    IParamRecord p;
    p.SetUpNumeric("x", 0.0, 0.0, 10.0, c.step, "", "", 1.0);
    EXPECT_EQ(p.displayPrecision, c.precision) << "step " << c.step;
    EXPECT_EQ(p.kind, KindContinuous);
  }
  IParamRecord empty;
  empty.SetUpNumeric("x", 0.0, 0.0, 0.0, 1.0, "", "", 1.0);
  EXPECT_EQ(empty.maxValue, 1.0);  // at least min + step

  IParamRecord keepsShape;
  keepsShape.SetShape(2.0);
  keepsShape.SetUpNumeric("x", 0.0, 0.0, 1.0, 0.1, "", "", 0.0);
  EXPECT_EQ(keepsShape.shape, 2.0);

  IParamRecord toggle;
  toggle.kind = KindToggle;
  toggle.SetUpInteger("t", 1, 0, 1, "", "");
  EXPECT_EQ(toggle.kind, KindToggle);  // a configured kind stays
}

TEST(ParamRecord, LongNamesAreCutToTheirFields) {
  IParamRecord p;
  const std::string longName(100, 'n');
  p.SetUpNumeric(longName.c_str(), 0, 0, 1, 0.1, longName.c_str(), longName.c_str(), 1.0);
  EXPECT_EQ(std::string(p.name), std::string(31, 'n'));
  EXPECT_EQ(std::string(p.label), std::string(31, 'n'));
  EXPECT_EQ(std::string(p.group), std::string(31, 'n'));
  p.AddDisplayText(1, longName.c_str());
  EXPECT_EQ(std::string(p.displayTexts[0].text), std::string(31, 'n'));
}

TEST(ParamRecord, IntegerSnapsToStepWhenSetFromNormalized) {
  IParamRecord p;
  p.SetUpInteger("Bypass", 1, 0, 1, "", "");
  EXPECT_EQ(p.kind, KindInteger);
  struct Case {
    double n;
    double expected;
  };
  for (const Case& c : {Case{0.5, 1.0}, Case{0.49, 0.0}, Case{0.4, 0.0}, Case{1.0, 1.0}, Case{7.0, 1.0}}) {
    p.ApplyNormalized(c.n);
    EXPECT_EQ(p.value, c.expected) << c.n;
  }
}

TEST(ParamRecord, StepGridCountsFromZeroNotFromMinimum) {
  IParamRecord p;
  p.kind = KindInteger;
  p.SetUpNumeric("x", 0.3, 0.3, 2.3, 1.0, "", "", 1.0);
  p.ApplyNormalized(0.0);  // plain 0.3 snaps to 0, below the minimum
  EXPECT_EQ(p.value, 0.0);
}

TEST(ParamRecord, ContinuousConversions) {
  IParamRecord p = Knob();
  p.ApplyNormalized(0.123);
  EXPECT_EQ(p.value, 0.123 * 10.0);
  EXPECT_EQ(p.NormalizedFromPlain(-3.0), 0.0);
  EXPECT_EQ(p.NormalizedFromPlain(12.0), 1.0);
  EXPECT_DOUBLE_EQ(p.NormalizedFromPlain(2.5), 0.25);
  EXPECT_DOUBLE_EQ(p.DefaultNormalized(), 0.5);
  p.ApplyNormalized(1.5);
  EXPECT_EQ(p.value, 10.0);  // never above the maximum

  IParamRecord curved = Knob();
  curved.SetShape(2.0);
  EXPECT_DOUBLE_EQ(curved.PlainFromNormalized(0.5), 2.5);
  EXPECT_DOUBLE_EQ(curved.NormalizedFromPlain(2.5), 0.5);
}

TEST(ParamRecord, SetPlainClampedLimitsBothEnds) {
  IParamRecord p = Knob();
  p.SetPlainClamped(11.0);
  EXPECT_EQ(p.value, 10.0);
  p.SetPlainClamped(-1.0);
  EXPECT_EQ(p.value, 0.0);
  p.SetPlainClamped(3.3);
  EXPECT_EQ(p.value, 3.3);
  p.SetPlainClamped(std::nan(""));  // a damaged state never stores NaN
  EXPECT_EQ(p.value, 3.3);
}

TEST(ParamRecord, FormatValueText) {
  IParamRecord knob = Knob();
  IParamRecord toggle;
  toggle.SetUpInteger("Bypass", 1, 0, 1, "", "");
  IParamRecord negated = Knob();
  negated.displayNegated = true;
  struct Case {
    const IParamRecord* p;
    double v;
    bool normalized;
    const char* text;
  };
  const Case cases[] = {
      {&knob, 0.5, true, "5.0"},   {&knob, 3.0, false, "3.0"}, {&knob, 10.0, false, "10.0"},
      {&toggle, 1.0, false, "1"},  {&toggle, 0.9, false, "0"}, {&negated, 2.0, false, "-2.0"},
      {&knob, 1e300, false, nullptr},
  };
  for (const Case& c : cases) {
    std::string text = c.p->FormatValueText(c.v, c.normalized, true);
    if (c.text) EXPECT_EQ(text, c.text) << c.v;
    else EXPECT_FALSE(text.empty());
  }
}

TEST(ParamRecord, DisplayTexts) {
  IParamRecord p;
  p.SetUpInteger("Mode", 0, 0, 3, "dB", "");
  p.AddDisplayText(0, "Off");
  p.AddDisplayText(1, "");  // empty text falls through to the number
  p.AddDisplayText(2, "Two");
  p.AddDisplayText(2, "Second");

  EXPECT_EQ(p.FormatValueText(0, false, true), "Off");
  EXPECT_EQ(p.FormatValueText(1, false, true), "1");
  EXPECT_EQ(p.FormatValueText(2, false, true), "Two");
  EXPECT_EQ(p.FormatValueText(2, false, false), "2");
  EXPECT_EQ(p.DisplayTextFor(3), nullptr);

  int32_t w = -1;
  EXPECT_TRUE(p.ValueOfDisplayText("Two", &w));
  EXPECT_EQ(w, 2);
  EXPECT_FALSE(p.ValueOfDisplayText("two", &w));
  EXPECT_FALSE(p.ValueOfDisplayText(nullptr, &w));

  p.value = 0;
  EXPECT_EQ(p.UnitText(), "");
  p.value = 3;
  EXPECT_EQ(p.UnitText(), "dB");
}

}  // namespace
