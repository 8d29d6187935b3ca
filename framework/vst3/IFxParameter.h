#pragma once
// A host parameter that mirrors one IParamRecord of the plug-in core. Its
// info is filled once, when the binding registers it at initialize; every
// value it converts goes through the record's own operations.
#include "framework/plugbase/IParamRecord.h"
#include "framework/vst3/HostParameter.h"

class IFxParameter : public vst3::HostParameter {
 public:
  // `record` must outlive the parameter (the core owns both for the life of
  // the instance).
  IFxParameter(const IParamRecord* record, vst3::ParamID id, vst3::UnitID unitId);

  // Controller threads; these read only the record's fixed fields.
  // Reads a leading number as a plain value (no number reads as 0) and
  // normalizes it; always succeeds.
  bool FromString(const vst3::TChar* text, vst3::ParamValue& normalized) const override;
  // The record's curve, without step rounding.
  vst3::ParamValue ToPlain(vst3::ParamValue normalized) const override;

 private:
  const IParamRecord* record_;
};
