#include "tests/vst3/PluginSession.h"

#include <cmath>

namespace host {

ModuleLoader* SharedModule() {
  static ModuleLoader* module = [] {
    auto* m = new ModuleLoader;
    if (!m->Load(ModuleLoader::ModulePath())) {
      delete m;
      return static_cast<ModuleLoader*>(nullptr);
    }
    return m;
  }();
  return module;
}

Uid ExpectedClassId() {
#if defined(_WIN32)
  return Uid{{'\x0D', '\xE7', '\xAE', '\xF2', '\xDE', '\x00', '\x4E', '\x4F', 'F', 'e', 'n', 'n',
              'T', 'R', 'V', '1'}};
#else
  return Uid{{'\xF2', '\xAE', '\xE7', '\x0D', '\x00', '\xDE', '\x4F', '\x4E', 'F', 'e', 'n', 'n',
              'T', 'R', 'V', '1'}};
#endif
}

namespace {
template <class I>
I* Query(FUnknown* object) {
  void* p = nullptr;
  if (!object || object->queryInterface(I::iid.bytes, &p) != kResultOk) return nullptr;
  return static_cast<I*>(p);
}
}  // namespace

PluginSession::PluginSession() {
  ModuleLoader* module = SharedModule();
  if (!module) {
    ADD_FAILURE() << "cannot load " << ModuleLoader::ModulePath();
    return;
  }
  IPluginFactory* factory = module->GetFactory();
  if (!factory) {
    ADD_FAILURE() << "no factory";
    return;
  }
  void* obj = nullptr;
  const Uid cid = ExpectedClassId();
  factory->createInstance(cid.bytes, IComponent::iid.bytes, &obj);
  factory->release();
  component = static_cast<IComponent*>(obj);
  if (!component) {
    ADD_FAILURE() << "createInstance failed";
    return;
  }
  processor = Query<IAudioProcessor>(component);
  controller = Query<IEditController>(component);
  units = Query<IUnitInfo>(component);
  EXPECT_EQ(component->initialize(&application), kResultOk);
}

PluginSession::~PluginSession() {
  if (component) {
    if (processor) component->setActive(0);
    component->terminate();
  }
  if (units) units->release();
  if (controller) controller->release();
  if (processor) processor->release();
  if (component) {
    EXPECT_EQ(component->release(), 0u);
  }
}

void PluginSession::Prepare(int channels, int size, int maxBlock, double sampleRate) {
  SpeakerArrangement arr = channels == 1 ? 0x80000 : 0x3;
  ASSERT_EQ(processor->setBusArrangements(&arr, 1, &arr, 1), kResultOk);
  ProcessSetup setup{kRealtime, size, maxBlock, sampleRate};
  ASSERT_EQ(processor->setupProcessing(setup), kResultOk);
  sampleSize = size;
  ASSERT_EQ(component->activateBus(kAudio, kInput, 0, 1), kResultOk);
  ASSERT_EQ(component->activateBus(kAudio, kOutput, 0, 1), kResultOk);
  ASSERT_EQ(component->setActive(1), kResultOk);
}

std::string PluginSession::ParamString(ParamID id, double normalized) {
  String128 text = {};
  if (controller->getParamStringByValue(id, normalized, text) != kResultOk) return "<fail>";
  char narrow[128];
  NarrowText(narrow, sizeof narrow, text);
  return narrow;
}

std::vector<std::vector<double>> TestSignal(int channels, int frames) {
  std::vector<std::vector<double>> s(channels, std::vector<double>(frames));
  for (int c = 0; c < channels; ++c) {
    for (int f = 0; f < frames; ++f) {
      const double t = f / 44100.0;
      s[c][f] = 0.5 * std::sin(2 * 3.141592653589793 * (110.0 + 55.0 * c) * t) +
                0.25 * std::sin(2 * 3.141592653589793 * 1760.0 * t) * std::exp(-3.0 * t);
    }
  }
  return s;
}

}  // namespace host
