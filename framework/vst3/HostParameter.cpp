#include "framework/vst3/HostParameter.h"

#include <cstdlib>

#include "framework/vst3/Vst3Text.h"

namespace vst3 {

HostParameter::HostParameter(ParamID id, const char* title, int32 stepCount,
                             ParamValue defaultNormalized, int32 flags, UnitID unitId)
    : info_() {
  info_.id = id;
  WidenText(info_.title, 128, title);
  info_.stepCount = stepCount;
  info_.defaultNormalizedValue = defaultNormalized;
  info_.flags = flags;
  info_.unitId = unitId;
}

bool HostParameter::FromString(const TChar* text, ParamValue& normalized) const {
  char buffer[128];
  NarrowText(buffer, sizeof buffer, text);
  char* end = nullptr;
  const double v = std::strtod(buffer, &end);
  if (end == buffer) return false;
  normalized = v;
  return true;
}

namespace {
int32 StepsFor(const std::vector<std::string>& entries) {
  return entries.empty() ? 0 : static_cast<int32>(entries.size()) - 1;
}
ParamValue IndexToNormalized(int32 index, int32 steps) {
  return steps > 0 ? static_cast<ParamValue>(index) / steps : 0.0;
}
}  // namespace

ListParameter::ListParameter(ParamID id, const char* title,
                             const std::vector<std::string>& entries, int32 defaultIndex,
                             int32 flags, UnitID unitId)
    : HostParameter(id, title, StepsFor(entries),
                    IndexToNormalized(defaultIndex, StepsFor(entries)), flags, unitId),
      entries_(entries) {}

int32 ListParameter::StepOf(ParamValue normalized) const {
  const int32 steps = Info().stepCount;
  if (steps <= 0) return 0;
  if (!(normalized > 0.0)) return 0;
  if (normalized >= 1.0) return steps;
  const int32 step = static_cast<int32>(normalized * (steps + 1));
  return step < steps ? step : steps;
}

bool ListParameter::FromString(const TChar* text, ParamValue& normalized) const {
  char buffer[128];
  NarrowText(buffer, sizeof buffer, text);
  const int32 steps = Info().stepCount;
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i] == buffer) {
      normalized = IndexToNormalized(static_cast<int32>(i), steps);
      return true;
    }
  }
  return false;
}

ParamValue ListParameter::ToPlain(ParamValue normalized) const {
  return static_cast<ParamValue>(StepOf(normalized));
}

}  // namespace vst3
