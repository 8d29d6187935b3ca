#include "framework/vst3/IFxParameter.h"

#include <cstdlib>

#include "framework/vst3/Vst3Text.h"

namespace {
vst3::int32 StepCountOf(const IParamRecord& r) {
  if (r.kind == KindContinuous) return 0;
  const double span = r.maxValue - r.minValue;
  if (!(span > 0.0)) return 0;
  return span >= 2147483647.0 ? 2147483647 : static_cast<vst3::int32>(span);
}
}  // namespace

IFxParameter::IFxParameter(const IParamRecord* record, vst3::ParamID id, vst3::UnitID unitId)
    : vst3::HostParameter(id, record->name, StepCountOf(*record), record->DefaultNormalized(),
                          record->canAutomate ? vst3::kCanAutomate : vst3::kNoParameterFlags,
                          unitId),
      record_(record) {
  vst3::ParameterInfo& info = MutableInfo();
  vst3::WidenText(info.units, 128, record->UnitText().c_str());
}

bool IFxParameter::FromString(const vst3::TChar* text, vst3::ParamValue& normalized) const {
  char buffer[128];
  vst3::NarrowText(buffer, sizeof buffer, text);
  normalized = record_->NormalizedFromPlain(std::strtod(buffer, nullptr));
  return true;
}

vst3::ParamValue IFxParameter::ToPlain(vst3::ParamValue normalized) const {
  return record_->PlainFromNormalized(normalized);
}
