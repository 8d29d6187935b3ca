#pragma once
#include <mutex>
#include <string>
#include <vector>

#include "framework/vst2/VstInterface.h"

using VstEntryProc = AEffect* (*)(audioMasterCallback);

// One audioMaster call as the host saw it.
struct HostCall {
  VstInt32 opcode;
  VstInt32 index;
  VstIntPtr value;
  float opt;
};

// A host of our own: creates effects through an entry point, records every
// audioMaster call and answers with what the test set up. The callback finds
// the host through the record's `user` field, as real hosts do; during
// creation (no record yet) through the creating thread.
//
// Threads: the answers are set before the effect runs; calls may come from
// any thread and are recorded under a mutex.
class RecordingHost {
 public:
  static VstIntPtr Callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                            void* ptr, float opt);

  // Calls the entry with Callback and adopts the record it returns.
  AEffect* Create(VstEntryProc entry);

  std::vector<HostCall> Calls() const;
  // Number of recorded calls with this opcode.
  int Count(VstInt32 opcode) const;
  void ClearCalls();
  // MIDI events the effect sent through audioMasterProcessEvents, copied
  // during the call.
  std::vector<VstMidiEvent> MidiOut() const;

  // Answers.
  std::string productString = "Test Host";
  VstIntPtr vendorVersion = 10203;
  VstIntPtr processLevel = kVstProcessLevelRealtime;
  VstIntPtr processEventsAnswer = 1;
  const VstTimeInfo* timeInfo = nullptr;

 private:
  VstIntPtr Answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);

  mutable std::mutex mutex_;
  std::vector<HostCall> calls_;
  std::vector<VstMidiEvent> midiOut_;
};
