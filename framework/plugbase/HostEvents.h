#pragma once
#include <cstdint>

// MIDI, system-exclusive and transport records exchanged between the effect
// and the bindings.
struct IMidiMessage {
  int32_t offset = 0;  // sample offset within the block
  uint8_t status = 0;
  uint8_t data1 = 0;
  uint8_t data2 = 0;
};

struct ISysExMessage {
  int32_t offset = 0;
  int32_t size = 0;
  const uint8_t* data = nullptr;  // not owned
};

// The host fills only the members it has valid values for; the others keep
// what the caller put there.
struct ITransportInfo {
  double tempo = 0.0;
  double samplePosition = 0.0;
  double ppqPosition = 0.0;
  double lastBarPosition = 0.0;
  double cycleStart = 0.0;
  double cycleEnd = 0.0;
  int32_t numerator = 0;
  int32_t denominator = 0;
  bool transportPlaying = false;
  bool cycleActive = false;
};
