#pragma once
// One audio bus of a component as the host negotiates and activates it.
#include <string>

#include "framework/vst3/Vst3Processing.h"

namespace vst3 {

struct AudioBus {
  std::string name;
  SpeakerArrangement arrangement = SpeakerArr::kEmpty;
  BusType busType = kMain;
  uint32 flags = kDefaultActive;
  bool active = false;  // buses start inactive until the host activates them
};

}  // namespace vst3
