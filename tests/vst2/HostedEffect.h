#pragma once
#include <string>

#include "tests/common/ModuleLibrary.h"
#include "tests/vst2/RecordingHost.h"

// The built TORVA module, loaded once per test program, and its two entries.
struct TorvaModuleEntries {
  const ModuleLibrary* library;
  VstEntryProc pluginMain;  // VSTPluginMain
  VstEntryProc legacyMain;  // main
};
const TorvaModuleEntries& TorvaModule();

// One effect instance driven only through its record, with a recording host.
// Closed (effClose) when the object goes unless closed before.
class HostedEffect {
 public:
  explicit HostedEffect(VstEntryProc entry = TorvaModule().pluginMain);
  ~HostedEffect();
  HostedEffect(const HostedEffect&) = delete;
  HostedEffect& operator=(const HostedEffect&) = delete;

  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                     void* ptr = nullptr, float opt = 0.0f);
  // A text request into a 256-byte buffer pre-filled with a marker byte; the
  // text up to the first NUL.
  std::string Text(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, float opt = 0.0f);
  // effOpen, sample rate, block size, mains on: what hosts do before audio.
  void Start(float sampleRate, VstIntPtr blockSize);
  void Close();

  void SetParameter(VstInt32 index, float value) { effect->setParameter(effect, index, value); }
  float GetParameter(VstInt32 index) { return effect->getParameter(effect, index); }

  RecordingHost host;
  AEffect* effect = nullptr;
};

// The marker the text buffers are pre-filled with.
constexpr char kUnwritten = '\x7f';
