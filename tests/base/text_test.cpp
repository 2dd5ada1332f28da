#include "base/text.h"

#include <gtest/gtest.h>

#include <cstring>

namespace tolvane {
namespace {

TEST(TextTest, NullReadsAsEmpty) {
  Text text;
  EXPECT_TRUE(text.is_null());
  EXPECT_TRUE(text.empty());
  EXPECT_STREQ(text.c_str(), "");
  EXPECT_TRUE(Text::FromCString(nullptr).is_null());
}

TEST(TextTest, CopyIsIndependentAndTerminated) {
  const char source[] = "\xB0\xD9\xB6\xC8ID";
  Text text = Text::Copy(source, 4);
  EXPECT_EQ(text.size(), 4u);
  EXPECT_STREQ(text.c_str(), "\xB0\xD9\xB6\xC8");
  Text clone = text.Clone();
  EXPECT_NE(clone.get(), text.get());
  EXPECT_STREQ(clone.c_str(), text.c_str());
  Text empty = Text::Copy("", 0);
  EXPECT_FALSE(empty.is_null());
  EXPECT_TRUE(empty.empty());
}

TEST(BytesTest, ZeroSizeIsNullAndCopiesKeepEveryByte) {
  EXPECT_EQ(Bytes::Copy("x", 0).data(), nullptr);
  const unsigned char raw[] = {0, 0xFF, 0, 0x80};
  Bytes bytes = Bytes::Copy(raw, sizeof raw);
  Bytes clone = bytes.Clone();
  ASSERT_EQ(clone.size(), sizeof raw);
  EXPECT_EQ(std::memcmp(clone.data(), raw, sizeof raw), 0);
  EXPECT_NE(clone.data(), bytes.data());
}

[[noreturn]] void ExitWithSize(std::size_t size) {
  std::fprintf(stderr, "asked for %zu\n", size);
  std::exit(3);
}

TEST(MemoryDeathTest, FailedAllocationRunsTheHandlerWithTheSize) {
  EXPECT_EXIT(
      {
        SetOutOfMemoryHandler(&ExitWithSize);
        AllocateBlock(static_cast<std::size_t>(-1) / 2);
      },
      testing::ExitedWithCode(3), "asked for");
}

}  // namespace
}  // namespace tolvane
