#include "tests/vst2/RecordingHost.h"

#include <cstring>

namespace {
thread_local RecordingHost* t_creatingHost = nullptr;
}  // namespace

VstIntPtr RecordingHost::Callback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                  VstIntPtr value, void* ptr, float opt) {
  RecordingHost* host = effect && effect->user ? static_cast<RecordingHost*>(effect->user)
                                               : t_creatingHost;
  return host ? host->Answer(opcode, index, value, ptr, opt) : 0;
}

AEffect* RecordingHost::Create(VstEntryProc entry) {
  t_creatingHost = this;
  AEffect* effect = entry(&RecordingHost::Callback);
  t_creatingHost = nullptr;
  if (effect) effect->user = this;
  return effect;
}

VstIntPtr RecordingHost::Answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                float opt) {
  std::lock_guard<std::mutex> guard(mutex_);
  calls_.push_back(HostCall{opcode, index, value, opt});
  switch (opcode) {
    case audioMasterGetProductString:
      if (ptr) std::memcpy(ptr, productString.c_str(), productString.size() + 1);
      return productString.empty() ? 0 : 1;
    case audioMasterGetVendorVersion:
      return vendorVersion;
    case audioMasterGetCurrentProcessLevel:
      return processLevel;
    case audioMasterGetTime:
      return reinterpret_cast<VstIntPtr>(timeInfo);
    case audioMasterProcessEvents: {
      const VstEvents* events = static_cast<const VstEvents*>(ptr);
      for (VstInt32 i = 0; events && i < events->numEvents; ++i) {
        if (events->events[i] && events->events[i]->type == kVstMidiType) {
          midiOut_.push_back(*reinterpret_cast<const VstMidiEvent*>(events->events[i]));
        }
      }
      return processEventsAnswer;
    }
    case audioMasterVersion:
      return kVstVersion;
    default:
      return 0;
  }
}

std::vector<HostCall> RecordingHost::Calls() const {
  std::lock_guard<std::mutex> guard(mutex_);
  return calls_;
}

int RecordingHost::Count(VstInt32 opcode) const {
  std::lock_guard<std::mutex> guard(mutex_);
  int n = 0;
  for (const HostCall& call : calls_) n += call.opcode == opcode ? 1 : 0;
  return n;
}

void RecordingHost::ClearCalls() {
  std::lock_guard<std::mutex> guard(mutex_);
  calls_.clear();
  midiOut_.clear();
}

std::vector<VstMidiEvent> RecordingHost::MidiOut() const {
  std::lock_guard<std::mutex> guard(mutex_);
  return midiOut_;
}
