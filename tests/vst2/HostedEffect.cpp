#include "tests/vst2/HostedEffect.h"

#include <cstring>

#ifdef _WIN32
#define TORVA_VST2_MODULE_FILE "TORVA.dll"
#else
#define TORVA_VST2_MODULE_FILE "TORVA.so"
#endif

const TorvaModuleEntries& TorvaModule() {
  // Loaded on first use and kept for the whole run, as a host keeps a
  // module while it has instances.
  static const ModuleLibrary library(std::string(TORVA_DIST_PLATFORM_DIR) + "/" +
                                     TORVA_VST2_MODULE_FILE);
  static const TorvaModuleEntries entries{
      &library, reinterpret_cast<VstEntryProc>(library.Symbol("VSTPluginMain")),
      reinterpret_cast<VstEntryProc>(library.Symbol("main"))};
  return entries;
}

HostedEffect::HostedEffect(VstEntryProc entry) {
  if (entry) effect = host.Create(entry);
}

HostedEffect::~HostedEffect() { Close(); }

VstIntPtr HostedEffect::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                 float opt) {
  return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

std::string HostedEffect::Text(VstInt32 opcode, VstInt32 index, VstIntPtr value, float opt) {
  char buffer[256];
  std::memset(buffer, kUnwritten, sizeof buffer);
  Dispatch(opcode, index, value, buffer, opt);
  return std::string(buffer, strnlen(buffer, sizeof buffer));
}

void HostedEffect::Start(float sampleRate, VstIntPtr blockSize) {
  Dispatch(effOpen);
  Dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
  Dispatch(effSetBlockSize, 0, blockSize);
  Dispatch(effMainsChanged, 0, 1);
}

void HostedEffect::Close() {
  if (!effect) return;
  Dispatch(effClose);
  effect = nullptr;
}
