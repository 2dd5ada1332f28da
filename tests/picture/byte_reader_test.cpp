#include <gtest/gtest.h>

#include <cstdint>

#include "picture/byte_reader.h"

namespace tolvane::picture {
namespace {

TEST(DimensionsAllowed, CapOnEachSideAndOnThePixelCount) {
  struct Case {
    std::int64_t width, height;
    bool allowed;
  } cases[] = {
      {1, 1, true},         {16384, 1, true},      {1, 16384, true},    {16384, 4096, true},
      {8192, 8192, true},   {16385, 1, false},     {1, 16385, false},   {16384, 4097, false},
      {0, 10, false},       {10, 0, false},        {-1, 10, false},     {10, -2147483648LL, false},
      {65535, 65535, false}, {4294967295LL, 1, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DimensionsAllowed(c.width, c.height), c.allowed) << c.width << " x " << c.height;
}

TEST(ByteReader, ReadingPastTheEndFailsAndStaysFailed) {
  const std::uint8_t bytes[] = {0x01, 0x02, 0x03, 0x04, 0x05};
  ByteReader reader(bytes, sizeof bytes);
  EXPECT_EQ(reader.U16(), 0x0201);
  EXPECT_EQ(reader.U16(), 0x0403);
  EXPECT_FALSE(reader.failed());
  EXPECT_EQ(reader.U16(), 0);  // one byte left: not a stray byte and a zero
  EXPECT_TRUE(reader.failed());
  EXPECT_EQ(reader.remaining(), 0u);
  EXPECT_TRUE(reader.Seek(0) == false);  // a failed reader stays failed
  EXPECT_EQ(reader.U8(), 0);

  ByteReader other(bytes, sizeof bytes);
  EXPECT_EQ(other.Take(6), nullptr);
  ByteReader seeker(bytes, sizeof bytes);
  EXPECT_TRUE(seeker.Seek(5));
  EXPECT_TRUE(seeker.AtEnd());
  EXPECT_EQ(seeker.Peek(), -1);
  EXPECT_FALSE(seeker.failed());
  EXPECT_FALSE(seeker.Seek(6));
  ByteReader big(bytes, sizeof bytes);
  EXPECT_EQ(big.U32BigEndian(), 0x01020304u);
  EXPECT_EQ(big.Take(SIZE_MAX), nullptr);  // no overflow in the bounds check
}

TEST(CheckedArithmetic, OverflowIsReported) {
  std::size_t result = 0;
  EXPECT_TRUE(CheckedMultiply(1u << 16, 1u << 15, result));
  EXPECT_EQ(result, std::size_t{1} << 31);
  EXPECT_FALSE(CheckedMultiply(SIZE_MAX / 2 + 1, 2, result));
  EXPECT_TRUE(CheckedAdd(SIZE_MAX - 1, 1, result));
  EXPECT_FALSE(CheckedAdd(SIZE_MAX, 1, result));
  EXPECT_EQ(PaddedRowBytes(13, 1, 4), 4u);
  EXPECT_EQ(PaddedRowBytes(33, 1, 4), 8u);
  EXPECT_EQ(PaddedRowBytes(5, 24, 4), 16u);
  EXPECT_EQ(PaddedRowBytes(17, 1, 2), 4u);
  EXPECT_EQ(PaddedRowBytes(3, 4, 1), 2u);
}

}  // namespace
}  // namespace tolvane::picture
