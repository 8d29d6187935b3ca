#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A growable byte buffer for state, programs and banks. Values are appended
// at the end and read from a caller-held position; multi-byte values are
// little-endian. Every read returns the position after the value, or -1
// (having read nothing) when the value would end beyond the current size or
// the position is negative.
class StateChunk {
 public:
  int Size() const { return static_cast<int>(bytes_.size()); }
  // Null while empty.
  const uint8_t* Data() const { return bytes_.empty() ? nullptr : bytes_.data(); }
  uint8_t* Data() { return bytes_.empty() ? nullptr : bytes_.data(); }
  void Clear() { bytes_.clear(); }
  void Resize(int n) { bytes_.resize(n > 0 ? static_cast<size_t>(n) : 0u); }

  void PutBytes(const void* data, int n);
  void PutDouble(double v);
  void PutInt32(int32_t v);
  void PutBool(bool v);
  // A 32-bit length then the bytes, without terminator.
  void PutText(const char* text);

  int GetBytes(void* out, int n, int pos) const;
  int GetDouble(double* out, int pos) const;
  int GetInt32(int32_t* out, int pos) const;
  int GetBool(bool* out, int pos) const;
  // -1 when the length field is missing or negative; otherwise the position
  // after the text, having read nothing when that lies beyond the end.
  int GetText(std::string* out, int pos) const;

  // True when n bytes can be read at pos.
  bool Fits(int pos, int64_t n) const {
    return pos >= 0 && n >= 0 && static_cast<int64_t>(pos) + n <= static_cast<int64_t>(bytes_.size());
  }

 private:
  std::vector<uint8_t> bytes_;
};
