// State chunks and presets of IFxBase: the parameter body, the chunk header
// and the preset bank.
#include <cstring>
#include <cstdio>

#include "framework/plugbase/FixedText.h"
#include "framework/plugbase/IFxBase.h"
#include "framework/plugbase/Trace.h"

bool IFxBase::SerializeParams(StateChunk& chunk) {
  ProcessLockGuard guard(lock_);
  for (auto& param : params_) chunk.PutDouble(param->value);
  return true;
}

int IFxBase::UnserializeParams(const StateChunk& chunk, int pos) {
  ProcessLockGuard guard(lock_);
  for (int i = 0; i < NumParams() && pos >= 0; ++i) {
    double v = 0.0;
    int next = chunk.GetDouble(&v, pos);
    if (next < 0) v = 0.0;
    pos = next;
    TORVA_TRACE_OP("IFxBase::UnserializeParams", "%d %s %f", i, params_[i]->name, v);
    params_[i]->SetPlainClamped(v);
  }
  for (int i = 0; i < NumParams(); ++i) ParamChanged(i);
  return pos;
}

void IFxBase::InitChunkWithVersion(StateChunk& chunk) {
  chunk.Clear();
  chunk.PutInt32(kChunkMagic);
  chunk.PutInt32(kChunkVersion);
}

bool IFxBase::SerializePresets(StateChunk& chunk) {
  bool ok = true;
  for (size_t i = 0; i < presets_.size() && ok; ++i) {
    IPresetSlot& preset = *presets_[i];
    chunk.PutText(preset.name);
    chunk.PutBool(preset.initialized);
    if (preset.initialized) {
      chunk.PutBytes(preset.state.Data(), preset.state.Size());
      ok = chunk.Size() > 0;
    }
  }
  return ok;
}

int IFxBase::UnserializePresets(const StateChunk& chunk, int pos) {
  // One name buffer for the whole call: a record whose name cannot be read
  // receives the name read last.
  char name[256] = "";
  for (size_t i = 0; i < presets_.size() && pos >= 0; ++i) {
    IPresetSlot& preset = *presets_[i];
    int32_t length = 0;
    if (chunk.GetInt32(&length, pos) < 0 || length < 0) {
      // A missing or negative length is a record that cannot be read.
      pos = -1;
    } else {
      const int64_t next = static_cast<int64_t>(pos) + 4 + length;
      if (next <= chunk.Size()) {
        const int n = length < 256 ? length : 255;
        std::memcpy(name, chunk.Data() + pos + 4, static_cast<size_t>(n));
        name[n] = '\0';  // also cuts at the first zero byte
      }
      pos = next > chunk.Size() ? -1 : static_cast<int>(next);
    }
    CopyFixedText(preset.name, name);

    bool initialized = preset.initialized;
    pos = chunk.GetBool(&initialized, pos);
    if (pos < 0) break;
    preset.initialized = initialized;
    if (preset.initialized) {
      pos = UnserializeState(chunk, pos);
      if (pos > 0) {
        preset.state.Clear();
        SerializeState(preset.state);
      }
    }
  }
  LoadPreset(currentPreset_);
  return pos;
}

void IFxBase::FillDefaultPresets(const char* name, int count) {
  for (int pass = 0; pass < count; ++pass) {
    for (auto& preset : presets_) {
      if (preset->initialized) continue;
      preset->initialized = true;
      CopyFixedText(preset->name, name ? name : "Empty");
      SerializeState(preset->state);
      break;
    }
  }
}

bool IFxBase::LoadPreset(int index) {
  IPresetSlot* preset = GetPreset(index);
  if (!preset) return false;
  bool ok;
  if (preset->initialized) {
    ok = UnserializeState(preset->state, 0) > 0;
  } else {
    preset->initialized = true;
    int userPresets = 0;
    for (auto& p : presets_) {
      if (std::strstr(p->name, "user preset")) ++userPresets;
    }
    std::snprintf(preset->name, sizeof preset->name, "%s %d", "user preset", userPresets + 1);
    preset->state.Clear();
    ok = SerializeState(preset->state);
  }
  if (ok) {
    currentPreset_ = index;
    OnPresetChanged();
    RefreshEditorControls();
  }
  return ok;
}

void IFxBase::ModifyCurrentPreset(const char* name) {
  IPresetSlot* preset = GetPreset(currentPreset_);
  if (!preset) return;
  preset->state.Clear();
  SerializeState(preset->state);
  if (name && name[0] != '\0') CopyFixedText(preset->name, name);
}
