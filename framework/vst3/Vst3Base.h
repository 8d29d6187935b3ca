#pragma once
// Basic types of the VST3 binary interface, result codes, 16-byte ids, the
// root interface, streams and the class factory with its records.
//
// Every record has plain natural layout on x86-64 Windows and Linux; the
// asserts below pin what hosts depend on. No #pragma pack may be in force
// where these headers are included.
#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#define TORVA_VST3_API __stdcall
#else
#define TORVA_VST3_API
#endif

namespace vst3 {

using int8 = char;
using uint8 = uint8_t;
using int16 = int16_t;
using uint16 = uint16_t;
using int32 = int32_t;
using uint32 = uint32_t;
using int64 = int64_t;
using uint64 = uint64_t;
using tresult = int32;
using TBool = uint8;
using char8 = char;
// One UTF-16 code unit on both targets (never wchar_t: 4 bytes on Linux).
using char16 = char16_t;
using TChar = char16;
using String128 = TChar[128];
using FIDString = const char8*;
using CString = const char8*;
using TUID = char[16];

// Result codes: COM values on Windows, small numbers elsewhere.
#if defined(_WIN32)
constexpr tresult kNoInterface = -2147467262;      // 0x80004002
constexpr tresult kInvalidArgument = -2147024809;  // 0x80070057
constexpr tresult kNotImplemented = -2147467263;   // 0x80004001
constexpr tresult kInternalError = -2147467259;    // 0x80004005
constexpr tresult kNotInitialized = -2147418113;   // 0x8000FFFF
constexpr tresult kOutOfMemory = -2147024882;      // 0x8007000E
#else
constexpr tresult kNoInterface = -1;
constexpr tresult kInvalidArgument = 2;
constexpr tresult kNotImplemented = 3;
constexpr tresult kInternalError = 4;
constexpr tresult kNotInitialized = 5;
constexpr tresult kOutOfMemory = 6;
#endif
constexpr tresult kResultOk = 0;
constexpr tresult kResultTrue = 0;
constexpr tresult kResultFalse = 1;

// A 16-byte interface or class id made from four declared words. Windows
// stores the first word and the two halves of the second little-endian (the
// in-memory form of a COM GUID); elsewhere every word is stored big-endian.
// Bytes 8 to 15 are the same on both.
struct Uid {
  char bytes[16];
};

constexpr Uid MakeUid(uint32 l1, uint32 l2, uint32 l3, uint32 l4) {
  Uid u{};
  auto put = [&u](int at, uint32 word, int shift) {
    u.bytes[at] = static_cast<char>(static_cast<uint8>((word >> shift) & 0xFFu));
  };
#if defined(_WIN32)
  put(0, l1, 0), put(1, l1, 8), put(2, l1, 16), put(3, l1, 24);
  put(4, l2, 16), put(5, l2, 24), put(6, l2, 0), put(7, l2, 8);
#else
  put(0, l1, 24), put(1, l1, 16), put(2, l1, 8), put(3, l1, 0);
  put(4, l2, 24), put(5, l2, 16), put(6, l2, 8), put(7, l2, 0);
#endif
  put(8, l3, 24), put(9, l3, 16), put(10, l3, 8), put(11, l3, 0);
  put(12, l4, 24), put(13, l4, 16), put(14, l4, 8), put(15, l4, 0);
  return u;
}

// Ids are compared as 16 raw bytes. A null id matches nothing.
inline bool SameUid(const void* a, const Uid& b) {
  if (!a) return false;
  const char* p = static_cast<const char*>(a);
  for (int i = 0; i < 16; ++i) {
    if (p[i] != b.bytes[i]) return false;
  }
  return true;
}

// Interfaces: no data, pure virtual methods in slot order, no virtual
// destructor (it would shift every later slot). Objects delete themselves in
// release. Names of methods are never overloaded.
class FUnknown {
 public:
  virtual tresult TORVA_VST3_API queryInterface(const TUID iid, void** obj) = 0;
  virtual uint32 TORVA_VST3_API addRef() = 0;
  virtual uint32 TORVA_VST3_API release() = 0;
  static constexpr Uid iid = MakeUid(0x00000000, 0x00000000, 0xC0000000, 0x00000046);
};

class IPluginBase : public FUnknown {
 public:
  virtual tresult TORVA_VST3_API initialize(FUnknown* context) = 0;
  virtual tresult TORVA_VST3_API terminate() = 0;
  static constexpr Uid iid = MakeUid(0x22888DDB, 0x156E45AE, 0x8358B348, 0x08190625);
};

enum IBSeekMode : int32 { kIBSeekSet = 0, kIBSeekCur = 1, kIBSeekEnd = 2 };

// A byte stream the host implements. Reads of more bytes than remain may
// still answer kResultOk with a short count: callers check the count.
class IBStream : public FUnknown {
 public:
  virtual tresult TORVA_VST3_API read(void* buffer, int32 numBytes, int32* numBytesRead) = 0;
  virtual tresult TORVA_VST3_API write(void* buffer, int32 numBytes, int32* numBytesWritten) = 0;
  virtual tresult TORVA_VST3_API seek(int64 pos, int32 mode, int64* result) = 0;
  virtual tresult TORVA_VST3_API tell(int64* pos) = 0;
  static constexpr Uid iid = MakeUid(0xC3BF6EA2, 0x30994752, 0x9B6BF990, 0x1EE33E9B);
};

class IHostApplication : public FUnknown {
 public:
  virtual tresult TORVA_VST3_API getName(String128 name) = 0;
  virtual tresult TORVA_VST3_API createInstance(TUID cid, TUID iid, void** obj) = 0;
  static constexpr Uid iid = MakeUid(0x58E595CC, 0xDB2D4969, 0x8B6AAF8C, 0x36A664E5);
};

// ---- Class factory ----

enum FactoryFlags : int32 {
  kNoFlags = 0,
  kClassesDiscardable = 1,
  kLicenseCheck = 2,
  kComponentNonDiscardable = 8,
  kUnicode = 16,
};

struct PFactoryInfo {
  char8 vendor[64];
  char8 url[256];
  char8 email[128];
  int32 flags;
};

constexpr int32 kManyInstances = 0x7FFFFFFF;

struct PClassInfo {
  char cid[16];
  int32 cardinality;
  char8 category[32];
  char8 name[64];
};

struct PClassInfo2 {
  char cid[16];
  int32 cardinality;
  char8 category[32];
  char8 name[64];
  uint32 classFlags;
  char8 subCategories[128];
  char8 vendor[64];
  char8 version[64];
  char8 sdkVersion[64];
};

struct PClassInfoW {
  char cid[16];
  int32 cardinality;
  char8 category[32];
  char16 name[64];
  uint32 classFlags;
  char8 subCategories[128];
  char16 vendor[64];
  char16 version[64];
  char16 sdkVersion[64];
};

enum ComponentFlags : uint32 { kDistributable = 1, kSimpleModeSupported = 2 };

class IPluginFactory : public FUnknown {
 public:
  virtual tresult TORVA_VST3_API getFactoryInfo(PFactoryInfo* info) = 0;
  virtual int32 TORVA_VST3_API countClasses() = 0;
  virtual tresult TORVA_VST3_API getClassInfo(int32 index, PClassInfo* info) = 0;
  // cid and iid are 16 raw bytes each, not NUL-terminated text.
  virtual tresult TORVA_VST3_API createInstance(FIDString cid, FIDString iid, void** obj) = 0;
  static constexpr Uid iid = MakeUid(0x7A4D811C, 0x52114A1F, 0xAED9D2EE, 0x0B43BF9F);
};

class IPluginFactory2 : public IPluginFactory {
 public:
  virtual tresult TORVA_VST3_API getClassInfo2(int32 index, PClassInfo2* info) = 0;
  static constexpr Uid iid = MakeUid(0x0007B650, 0xF24B4C0B, 0xA464EDB9, 0xF00B2ABB);
};

class IPluginFactory3 : public IPluginFactory2 {
 public:
  virtual tresult TORVA_VST3_API getClassInfoUnicode(int32 index, PClassInfoW* info) = 0;
  virtual tresult TORVA_VST3_API setHostContext(FUnknown* context) = 0;
  static constexpr Uid iid = MakeUid(0x4555A2AB, 0xC1234E57, 0x9B122910, 0x36878931);
};

// ---- Layout checks (identical on both targets) ----
static_assert(sizeof(char16) == 2, "char16 is one UTF-16 unit");
static_assert(sizeof(String128) == 256, "String128");
static_assert(sizeof(TBool) == 1, "TBool");
static_assert(sizeof(PFactoryInfo) == 452 && alignof(PFactoryInfo) == 4, "PFactoryInfo");
static_assert(offsetof(PFactoryInfo, url) == 64 && offsetof(PFactoryInfo, email) == 320 &&
                  offsetof(PFactoryInfo, flags) == 448, "PFactoryInfo fields");
static_assert(sizeof(PClassInfo) == 116 && alignof(PClassInfo) == 4, "PClassInfo");
static_assert(offsetof(PClassInfo, cardinality) == 16 && offsetof(PClassInfo, category) == 20 &&
                  offsetof(PClassInfo, name) == 52, "PClassInfo fields");
static_assert(sizeof(PClassInfo2) == 440 && alignof(PClassInfo2) == 4, "PClassInfo2");
static_assert(offsetof(PClassInfo2, classFlags) == 116 &&
                  offsetof(PClassInfo2, subCategories) == 120 &&
                  offsetof(PClassInfo2, vendor) == 248 && offsetof(PClassInfo2, version) == 312 &&
                  offsetof(PClassInfo2, sdkVersion) == 376, "PClassInfo2 fields");
static_assert(sizeof(PClassInfoW) == 696 && alignof(PClassInfoW) == 4, "PClassInfoW");
static_assert(offsetof(PClassInfoW, name) == 52 && offsetof(PClassInfoW, classFlags) == 180 &&
                  offsetof(PClassInfoW, subCategories) == 184 &&
                  offsetof(PClassInfoW, vendor) == 312 && offsetof(PClassInfoW, version) == 440 &&
                  offsetof(PClassInfoW, sdkVersion) == 568, "PClassInfoW fields");

}  // namespace vst3
