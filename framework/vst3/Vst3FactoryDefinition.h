#pragma once
// What the module's factory tells hosts: the maker and the one effect class.
#include "framework/vst3/Vst3Base.h"

namespace vst3 {

constexpr const char* kVst3Vendor = "FennickAudioLab";
constexpr const char* kVst3Url = "https://fennickaudiolab.example";
constexpr const char* kVst3Email = "support@fennickaudiolab.example";
constexpr const char* kVst3EffectName = "TORVA";
constexpr const char* kVst3EffectVersion = "1.0.0";

// Four-character codes, first character in the most significant byte.
constexpr uint32 FourCharCode(const char (&s)[5]) {
  return (static_cast<uint32>(static_cast<uint8>(s[0])) << 24) |
         (static_cast<uint32>(static_cast<uint8>(s[1])) << 16) |
         (static_cast<uint32>(static_cast<uint8>(s[2])) << 8) |
         static_cast<uint32>(static_cast<uint8>(s[3]));
}

// The class id from four words: a fixed pair, then the maker code "Fenn"
// and the effect's id "TRV1". On Windows this gives the bytes
// 0D E7 AE F2 DE 00 4E 4F 'F' 'e' 'n' 'n' 'T' 'R' 'V' '1'; elsewhere the
// same words stored big-endian.
constexpr Uid kVst3EffectClassId =
    MakeUid(0xF2AEE70D, 0x00DE4F4E, FourCharCode("Fenn"), FourCharCode("TRV1"));

PFactoryInfo Vst3FactoryInfo();
const PClassInfo2& Vst3EffectClassInfo();

}  // namespace vst3
