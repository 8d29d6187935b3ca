#include "framework/plugbase/StateChunk.h"

#include <cstring>

// The processors we run on are little-endian, so values are stored exactly
// as they lie in memory.
static_assert(sizeof(double) == 8, "double must be IEEE 754 binary64");

void StateChunk::PutBytes(const void* data, int n) {
  if (n <= 0 || !data) return;
  const uint8_t* p = static_cast<const uint8_t*>(data);
  bytes_.insert(bytes_.end(), p, p + n);
}

void StateChunk::PutDouble(double v) { PutBytes(&v, sizeof v); }
void StateChunk::PutInt32(int32_t v) { PutBytes(&v, sizeof v); }

void StateChunk::PutBool(bool v) {
  uint8_t b = v ? 1 : 0;
  PutBytes(&b, 1);
}

void StateChunk::PutText(const char* text) {
  int32_t n = text ? static_cast<int32_t>(std::strlen(text)) : 0;
  PutInt32(n);
  PutBytes(text, n);
}

int StateChunk::GetBytes(void* out, int n, int pos) const {
  if (!Fits(pos, n)) return -1;
  if (n > 0) std::memcpy(out, bytes_.data() + pos, static_cast<size_t>(n));
  return pos + n;
}

int StateChunk::GetDouble(double* out, int pos) const { return GetBytes(out, sizeof *out, pos); }
int StateChunk::GetInt32(int32_t* out, int pos) const { return GetBytes(out, sizeof *out, pos); }

int StateChunk::GetBool(bool* out, int pos) const {
  uint8_t b = 0;
  int next = GetBytes(&b, 1, pos);
  if (next >= 0) *out = b != 0;
  return next;
}

int StateChunk::GetText(std::string* out, int pos) const {
  int32_t n = 0;
  int at = GetInt32(&n, pos);
  if (at < 0 || n < 0) return -1;
  int64_t end = static_cast<int64_t>(at) + n;
  if (end > Size()) return end > INT32_MAX ? -1 : static_cast<int>(end);
  out->assign(reinterpret_cast<const char*>(bytes_.data()) + at, static_cast<size_t>(n));
  return static_cast<int>(end);
}
