#pragma once
// Parameter objects as a host enumerates them: the info record, and the
// text-to-value and plain-value conversions for one parameter id. (Value
// texts come from the binding, which answers them for its own parameters.)
#include <string>
#include <vector>

#include "framework/vst3/Vst3Controller.h"

namespace vst3 {

// A parameter without units of its own: plain value = normalized value.
// Controller threads; a parameter is created at initialize and removed at
// terminate, both while no other call is inside the object.
class HostParameter {
 public:
  HostParameter(ParamID id, const char* title, int32 stepCount, ParamValue defaultNormalized,
                int32 flags, UnitID unitId);
  virtual ~HostParameter() = default;

  const ParameterInfo& Info() const { return info_; }
  ParamID Id() const { return info_.id; }

  // Reads a leading number as the normalized value; false when none.
  virtual bool FromString(const TChar* text, ParamValue& normalized) const;
  virtual ParamValue ToPlain(ParamValue normalized) const { return normalized; }

 protected:
  ParameterInfo& MutableInfo() { return info_; }

 private:
  ParameterInfo info_;
};

// A parameter choosing one text of a list: step = index, normalized =
// index / (count - 1). Flags kCanAutomate | kIsList unless given.
class ListParameter : public HostParameter {
 public:
  ListParameter(ParamID id, const char* title, const std::vector<std::string>& entries,
                int32 defaultIndex, int32 flags, UnitID unitId);

  // Exact match of one entry.
  bool FromString(const TChar* text, ParamValue& normalized) const override;
  ParamValue ToPlain(ParamValue normalized) const override;

 private:
  int32 StepOf(ParamValue normalized) const;
  std::vector<std::string> entries_;
};

}  // namespace vst3
