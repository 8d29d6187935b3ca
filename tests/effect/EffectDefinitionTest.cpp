#include <gtest/gtest.h>

#include <cstring>

#include "tests/effect/EffectRig.h"

namespace {

TEST(EffectDefinition, IdentityAndShape) {
  EffectRig rig;
  TORVA& fx = *rig.effect;
  EXPECT_STREQ(fx.EffectName(), "TORVA");
  EXPECT_STREQ(fx.ProductName(), "");
  EXPECT_STREQ(fx.MakerName(), "FennickAudioLab");
  EXPECT_EQ(fx.Version(), 0x10000u);
  EXPECT_EQ(fx.UniqueId(), 0x54525631u);  // 'T' 'R' 'V' '1', first char high
  EXPECT_EQ(fx.MakerCode(), 0x46656E6Eu);  // 'F' 'e' 'n' 'n'
  ASSERT_EQ(fx.ChannelConfigs().size(), 2u);
  EXPECT_EQ(fx.ChannelConfigs()[0].inputs, 1);
  EXPECT_EQ(fx.ChannelConfigs()[0].outputs, 1);
  EXPECT_EQ(fx.ChannelConfigs()[1].inputs, 2);
  EXPECT_EQ(fx.ChannelConfigs()[1].outputs, 2);
  EXPECT_FALSE(fx.DoesMidi());
  EXPECT_FALSE(fx.DoesStateChunks());
  EXPECT_FALSE(fx.IsInstrument());
  EXPECT_EQ(fx.GetLatency(), 0);
  EXPECT_EQ(fx.GetEditor(), nullptr);
  ASSERT_EQ(fx.NumPresets(), 1);
  EXPECT_TRUE(fx.GetPreset(0)->initialized);
  EXPECT_STREQ(fx.GetPreset(0)->name, "-");
}

struct ParamRow {
  const char* name;
  ParamKind kind;
  double maxValue, defaultValue, step;
  int precision;
  const char* text;
};

TEST(EffectDefinition, ParameterTableInHostOrder) {
  const ParamRow rows[] = {
      {"Mic Placement", KindContinuous, 10, 0, 0.1, 1, "0.0"},
      {"Cabinet Size", KindContinuous, 10, 5, 0.1, 1, "5.0"},
      {"Character", KindContinuous, 10, 5, 0.1, 1, "5.0"},
      {"Output", KindContinuous, 10, 5, 0.1, 1, "5.0"},
      {"Bypass", KindInteger, 1, 1, 1, 0, "1"},
  };
  EffectRig rig;
  ASSERT_EQ(rig.effect->NumParams(), 5);
  for (int i = 0; i < 5; ++i) {
    const IParamRecord& p = *rig.effect->GetParam(i);
    SCOPED_TRACE(rows[i].name);
    EXPECT_STREQ(p.name, rows[i].name);
    EXPECT_EQ(p.kind, rows[i].kind);
    EXPECT_EQ(p.minValue, 0.0);
    EXPECT_EQ(p.maxValue, rows[i].maxValue);
    EXPECT_EQ(p.defaultValue, rows[i].defaultValue);
    EXPECT_EQ(p.value, rows[i].defaultValue);
    EXPECT_EQ(p.step, rows[i].step);
    EXPECT_EQ(p.shape, 1.0);
    EXPECT_EQ(p.displayPrecision, rows[i].precision);
    EXPECT_STREQ(p.label, "");
    EXPECT_STREQ(p.group, "");
    EXPECT_TRUE(p.displayTexts.empty());
    EXPECT_FALSE(p.displayNegated);
    EXPECT_TRUE(p.canAutomate);
    EXPECT_EQ(p.FormatValueText(p.value, false, true), rows[i].text);
  }
}

TEST(EffectDefinition, BypassSnapsToWholeSteps) {
  EffectRig rig;
  rig.effect->SetNormalizedValue(TORVA::kBypass, 0.4);
  EXPECT_EQ(rig.effect->GetParam(TORVA::kBypass)->value, 0.0);
  rig.effect->SetNormalizedValue(TORVA::kBypass, 0.5);
  EXPECT_EQ(rig.effect->GetParam(TORVA::kBypass)->value, 1.0);
}

TEST(EffectDefinition, DefaultPresetHoldsTheDefaults) {
  EffectRig rig;
  rig.effect->SetPlainValue(TORVA::kSize, 9.0);
  rig.effect->SetPlainValue(TORVA::kBypass, 0.0);
  ASSERT_TRUE(rig.effect->LoadPreset(0));
  EXPECT_EQ(rig.effect->GetParam(TORVA::kSize)->value, 5.0);
  EXPECT_EQ(rig.effect->GetParam(TORVA::kBypass)->value, 1.0);
}

}  // namespace
