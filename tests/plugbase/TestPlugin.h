#pragma once
#include <string>
#include <vector>

#include "framework/graphics/IGraphics.h"
#include "framework/offline/IFxOffline.h"

// A plug-in over the host-less binding that records the hooks the core calls.
class TestPlugin : public IFxOffline {
 public:
  TestPlugin(const char* config = "1-1 2-2", int params = 3, int presets = 2)
      : IFxOffline(nullptr, "Test", "", "Maker", 0x00010000, 0x54455354, 0x4D4B5221, config,
                   params, presets, false, false, false) {}

  void ParamChanged(int index) override {
    IFxBase::ParamChanged(index);
    changed.push_back(index);
  }
  void InformHostOfParameterChange(int index, double normalized) override {
    informed.push_back({index, normalized});
  }
  void OnPresetChanged() override { ++presetChanges; }

  std::vector<int> changed;
  std::vector<std::pair<int, double>> informed;
  int presetChanges = 0;
};

// An editor that records what the core pushes into it.
class RecordingEditor : public IGraphics {
 public:
  struct Push {
    int index;
    double value;
    bool normalized;
  };
  explicit RecordingEditor(std::vector<Push>* log, int* prepared) : log_(log), prepared_(prepared) {}
  void SetControlFromPlugin(int index, double value, bool normalized) override {
    log_->push_back({index, value, normalized});
  }
  void PrepareDrawSurface() override { ++*prepared_; }

 private:
  std::vector<Push>* log_;
  int* prepared_;
};
