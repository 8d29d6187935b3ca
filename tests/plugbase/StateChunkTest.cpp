#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "framework/plugbase/StateChunk.h"

namespace {

TEST(StateChunk, WritesLittleEndianValues) {
  StateChunk c;
  EXPECT_EQ(c.Data(), nullptr);
  c.PutInt32(0x01020304);
  c.PutBool(true);
  c.PutDouble(1.0);
  c.PutText("ab");
  const uint8_t expected[] = {4, 3, 2, 1, 1, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F, 2, 0, 0, 0, 'a', 'b'};
  ASSERT_EQ(c.Size(), static_cast<int>(sizeof expected));
  EXPECT_EQ(std::memcmp(c.Data(), expected, sizeof expected), 0);
}

TEST(StateChunk, ReadsReturnNextPositionOrMinusOne) {
  StateChunk c;
  c.PutDouble(2.5);
  c.PutInt32(-7);
  double d = 0;
  int32_t i = 0;
  EXPECT_EQ(c.GetDouble(&d, 0), 8);
  EXPECT_EQ(d, 2.5);
  EXPECT_EQ(c.GetInt32(&i, 8), 12);
  EXPECT_EQ(i, -7);

  for (int pos : {5, 9, 12, -1, INT_MIN, INT_MAX}) {
    d = 42.0;
    EXPECT_EQ(c.GetDouble(&d, pos), -1) << pos;
    EXPECT_EQ(d, 42.0) << "nothing is read at " << pos;
  }
  bool flag = false;
  EXPECT_EQ(c.GetBool(&flag, 11), 12);
  EXPECT_TRUE(flag);  // any non-zero byte is true
}

TEST(StateChunk, TextReadsNeverLeaveTheBuffer) {
  struct Case {
    int32_t length;
    int extra;  // bytes present after the length field
    int result;
  };
  const Case cases[] = {
      {3, 3, 7},             // whole text
      {10, 3, 14},           // overruns: position after it, nothing read
      {-5, 3, -1},           // negative length
      {INT32_MAX, 3, -1},    // absurd length: the position cannot be formed
  };
  for (const Case& c : cases) {
    StateChunk chunk;
    chunk.PutInt32(c.length);
    chunk.PutBytes("xyz", c.extra);
    std::string text = "kept";
    EXPECT_EQ(chunk.GetText(&text, 0), c.result) << c.length;
    if (c.result == 7) EXPECT_EQ(text, "xyz");
    else EXPECT_EQ(text, "kept");
  }
  StateChunk shortChunk;
  shortChunk.PutBytes("abc", 3);
  std::string text;
  EXPECT_EQ(shortChunk.GetText(&text, 0), -1);
}

TEST(StateChunk, ResizeKeepsLeadingBytes) {
  StateChunk c;
  c.PutInt32(0x11223344);
  c.Resize(2);
  ASSERT_EQ(c.Size(), 2);
  EXPECT_EQ(c.Data()[0], 0x44);
  c.Resize(6);
  EXPECT_EQ(c.Size(), 6);
  EXPECT_EQ(c.Data()[1], 0x33);
  c.Resize(-3);
  EXPECT_EQ(c.Size(), 0);
  c.Clear();
  EXPECT_EQ(c.Data(), nullptr);
}

}  // namespace
