#pragma once
#include "framework/plugbase/StateChunk.h"

// One stored program: whether it holds a state, its name and the state.
struct IPresetSlot {
  bool initialized = false;
  char name[256] = "empty";
  StateChunk state;
};
