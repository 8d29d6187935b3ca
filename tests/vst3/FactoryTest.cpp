// The module's exports and class factory as a host walks them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/vst3/PluginSession.h"

using namespace vst3;

namespace {

std::string Field(const char* p, size_t n) { return std::string(p, strnlen(p, n)); }

std::string Wide(const char16* p, size_t n) {
  char narrow[128];
  NarrowText(narrow, std::min(n + 1, sizeof narrow), p);
  return narrow;
}

class FactoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ModuleLoader* module = host::SharedModule();
    ASSERT_NE(module, nullptr) << ModuleLoader::ModulePath();
    factory_ = module->GetFactory();
    ASSERT_NE(factory_, nullptr);
  }
  void TearDown() override {
    if (factory_) factory_->release();
  }
  template <class I>
  I* As() {
    void* p = nullptr;
    return factory_->queryInterface(I::iid.bytes, &p) == kResultOk ? static_cast<I*>(p) : nullptr;
  }
  IPluginFactory* factory_ = nullptr;
};

TEST_F(FactoryTest, ExportsTheEntryPointsOfThePlatform) {
  ModuleLoader* module = host::SharedModule();
  EXPECT_TRUE(module->HasExport("GetPluginFactory"));
#if defined(_WIN32)
  EXPECT_TRUE(module->HasExport("InitDll"));
  EXPECT_TRUE(module->HasExport("ExitDll"));
#else
  EXPECT_TRUE(module->HasExport("ModuleEntry"));
  EXPECT_TRUE(module->HasExport("ModuleExit"));
#endif
}

TEST_F(FactoryTest, RepeatedCallsShareOneCountedFactory) {
  IPluginFactory* second = host::SharedModule()->GetFactory();
  EXPECT_EQ(second, factory_);
  // Ours and the second call's: the count is now 2, and 3 after addRef.
  EXPECT_EQ(second->addRef(), 3u);
  EXPECT_EQ(second->release(), 2u);
  EXPECT_EQ(second->release(), 1u);
  // The last release destroys it; the next call builds and registers anew.
  EXPECT_EQ(factory_->release(), 0u);
  factory_ = host::SharedModule()->GetFactory();
  ASSERT_NE(factory_, nullptr);
  EXPECT_EQ(factory_->countClasses(), 1);
}

TEST_F(FactoryTest, FactoryAnswersItsThreeInterfacesAsOneObject) {
  IPluginFactory2* f2 = As<IPluginFactory2>();
  IPluginFactory3* f3 = As<IPluginFactory3>();
  ASSERT_NE(f2, nullptr);
  ASSERT_NE(f3, nullptr);
  EXPECT_EQ(static_cast<void*>(f2), static_cast<void*>(factory_));
  EXPECT_EQ(static_cast<void*>(f3), static_cast<void*>(factory_));
  EXPECT_EQ(f3->setHostContext(nullptr), kNotImplemented);
  void* none = &none;
  EXPECT_EQ(factory_->queryInterface(IComponent::iid.bytes, &none), kNoInterface);
  EXPECT_EQ(none, nullptr);
  f2->release();
  f3->release();
}

TEST_F(FactoryTest, FactoryInfoNamesTheMaker) {
  PFactoryInfo info;
  std::memset(&info, 0x55, sizeof info);
  ASSERT_EQ(factory_->getFactoryInfo(&info), kResultOk);
  EXPECT_EQ(Field(info.vendor, 64), "FennickAudioLab");
  EXPECT_EQ(info.flags, kUnicode);
  EXPECT_FALSE(Field(info.url, 256).empty());
  EXPECT_FALSE(Field(info.email, 128).empty());
  // The rest of each field is zero-filled.
  EXPECT_EQ(info.vendor[63], 0);
}

TEST_F(FactoryTest, ClassDescriptionInAllThreeForms) {
  ASSERT_EQ(factory_->countClasses(), 1);
  const Uid cid = host::ExpectedClassId();
  PClassInfo2 c2;
  ASSERT_EQ(As<IPluginFactory2>()->getClassInfo2(0, &c2), kResultOk);
  factory_->release();  // the reference As<> added
  EXPECT_EQ(std::memcmp(c2.cid, cid.bytes, 16), 0);
  EXPECT_EQ(c2.cardinality, kManyInstances);
  EXPECT_EQ(Field(c2.category, 32), "Audio Module Class");
  EXPECT_EQ(Field(c2.name, 64), "TORVA");
  EXPECT_EQ(c2.classFlags, kSimpleModeSupported);
  EXPECT_EQ(Field(c2.subCategories, 128), "Fx");
  EXPECT_EQ(Field(c2.vendor, 64), "");
  EXPECT_EQ(Field(c2.version, 64), "1.0.0");
  EXPECT_EQ(Field(c2.sdkVersion, 64), "VST 3.6.12");

  PClassInfo c1;
  ASSERT_EQ(factory_->getClassInfo(0, &c1), kResultOk);
  EXPECT_EQ(std::memcmp(&c1, &c2, sizeof c1), 0);

  PClassInfoW cw;
  IPluginFactory3* f3 = As<IPluginFactory3>();
  ASSERT_EQ(f3->getClassInfoUnicode(0, &cw), kResultOk);
  f3->release();
  EXPECT_EQ(std::memcmp(cw.cid, cid.bytes, 16), 0);
  EXPECT_EQ(Wide(cw.name, 64), "TORVA");
  EXPECT_EQ(Wide(cw.version, 64), "1.0.0");
  EXPECT_EQ(Wide(cw.sdkVersion, 64), "VST 3.6.12");
  EXPECT_EQ(cw.vendor[0], 0);
  EXPECT_EQ(Field(cw.category, 32), "Audio Module Class");
  EXPECT_EQ(Field(cw.subCategories, 128), "Fx");
}

TEST_F(FactoryTest, ClassInfoIndexesOutsideTheListAreRefused) {
  IPluginFactory3* f3 = As<IPluginFactory3>();
  PClassInfo c1;
  PClassInfo2 c2;
  PClassInfoW cw;
  for (int32 index : {-1, 1, 1000}) {
    EXPECT_EQ(factory_->getClassInfo(index, &c1), kInvalidArgument) << index;
    EXPECT_EQ(f3->getClassInfo2(index, &c2), kInvalidArgument) << index;
    EXPECT_EQ(f3->getClassInfoUnicode(index, &cw), kInvalidArgument) << index;
  }
  EXPECT_EQ(factory_->getClassInfo(0, nullptr), kInvalidArgument);
  f3->release();
}

TEST_F(FactoryTest, CreateInstanceByClassAndInterface) {
  const Uid cid = host::ExpectedClassId();
  Uid otherCid = cid;
  otherCid.bytes[15] ^= 1;
  struct Row {
    const char* what;
    const Uid* cid;
    Uid iid;
    bool works;
  } rows[] = {
      {"processor", &cid, IAudioProcessor::iid, true},
      {"component", &cid, IComponent::iid, true},
      {"controller", &cid, IEditController::iid, true},
      {"unknown", &cid, FUnknown::iid, true},
      {"other class", &otherCid, IComponent::iid, false},
      {"interface not offered", &cid, IPluginFactory::iid, false},
      {"connection point hidden", &cid, IConnectionPoint::iid, false},
  };
  for (const Row& r : rows) {
    void* obj = &obj;
    const tresult result = factory_->createInstance(r.cid->bytes, r.iid.bytes, &obj);
    if (r.works) {
      ASSERT_EQ(result, kResultOk) << r.what;
      ASSERT_NE(obj, nullptr) << r.what;
      // The host holds the only reference.
      EXPECT_EQ(static_cast<FUnknown*>(obj)->release(), 0u) << r.what;
    } else {
      EXPECT_EQ(result, kNoInterface) << r.what;
      EXPECT_EQ(obj, nullptr) << r.what;
    }
  }
}

}  // namespace
