#pragma once
// A list of programs as a host sees it through the unit interface: an id, a
// name and as many programs as the plug-in holds presets.
#include <string>

#include "framework/vst3/Vst3Controller.h"
#include "framework/vst3/Vst3Text.h"

namespace vst3 {

class ProgramList {
 public:
  ProgramList(ProgramListID id, const char* name) : id_(id), name_(name ? name : "") {}

  ProgramListID Id() const { return id_; }
  void FillInfo(int32 programCount, ProgramListInfo& info) const {
    info.id = id_;
    WidenText(info.name, 128, name_.c_str());
    info.programCount = programCount;
  }

 private:
  ProgramListID id_;
  std::string name_;
};

}  // namespace vst3
