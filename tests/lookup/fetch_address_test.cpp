#include "lookup/fetch_address.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace tolvane::lookup {
namespace {

TEST(PrepareFetchAddressTest, Table) {
  struct Case {
    const char* name;
    const char* address;
    const char* expected;
  } cases[] = {
      {"plain", "http://h/home/main?un=abc", "http://h/home/main?un=abc"},
      {"fragment cut", "http://h/home/main?un=abc#top", "http://h/home/main?un=abc"},
      {"cut at the first #", "http://h/a#b#c", "http://h/a"},
      {"only a fragment", "#top", ""},
      {"empty", "", ""},
      {"null", nullptr, ""},
      {"GBK bytes escaped with the same values", "http://h/?un=\xB0\xD9\xB6\xC8",
       "http://h/?un=%B0%D9%B6%C8"},
      {"space", "http://h/a b", "http://h/a%20b"},
      {"CR LF cannot reach the request line", "http://h/a\r\nX-Injected: 1",
       "http://h/a%0D%0AX-Injected:%201"},
      {"tab and DEL", "http://h/\t\x7F", "http://h/%09%7F"},
      {"existing escapes kept", "http://h/a%20b%zz%", "http://h/a%20b%zz%"},
      {"punctuation kept", "http://u:p@h:81/a/../b?x=1&y=\"<>",
       "http://u:p@h:81/a/../b?x=1&y=\"<>"},
  };
  for (const auto& c : cases) {
    EXPECT_STREQ(PrepareFetchAddress(c.address).c_str(), c.expected) << c.name;
  }
  EXPECT_STREQ(CutFragment("a#b").c_str(), "a");
  EXPECT_STREQ(EscapeUnsafeBytes("\xFF").c_str(), "%FF");
}

TEST(ReadSizeForContentLengthTest, Table) {
  struct Case {
    const char* text;
    int expected;
  } cases[] = {
      {nullptr, 10240},
      {"", 10240},
      {"0", 10240},
      {"1", 2},
      {"1000", 1001},
      {"102399", 102400},
      {"102400", 102400},
      {"5000000000", 102400},
      {"99999999999999999999999999999", 102400},
      {"  \t 12", 13},
      {"+12", 13},
      {"-12", 10240},
      {"-0", 10240},
      {"12abc", 13},
      {"abc", 10240},
      {"+", 10240},
      {" - 5", 10240},
      {"\r\n7", 8},
      {"007", 8},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadSizeForContentLength(c.text), c.expected) << (c.text ? c.text : "(null)");
  }
}

TEST(ContentLengthValueTest, SaturatesInsteadOfOverflowing) {
  EXPECT_EQ(ContentLengthValue(nullptr), 0);
  EXPECT_EQ(ContentLengthValue(" 52428800\r\n"), 52428800);
  EXPECT_EQ(ContentLengthValue("-7"), -7);
  EXPECT_EQ(ContentLengthValue("99999999999999999999999999999"), kHugeContentLength);
  EXPECT_EQ(ContentLengthValue("-99999999999999999999999999999"), -kHugeContentLength);
}

// Every byte arrives in order whatever the announced length was: none, exact, too large, too
// small, absurd.
TEST(BodyBufferTest, KeepsEveryByteInOrderWhateverWasReserved) {
  for (long long reserved : {0ll, 478187ll, 1000000ll, 100ll, -5ll, kHugeContentLength}) {
    BodyBuffer body;
    body.Reserve(reserved);
    std::vector<unsigned char> expected;
    unsigned value = 1;
    // Mixed piece sizes, including ones larger than a block, across several blocks.
    for (std::size_t piece : {1u, 10240u, 102400u, 0u, 3u, 300000u, 65536u, 7u}) {
      std::vector<unsigned char> bytes(piece);
      for (auto& b : bytes) b = static_cast<unsigned char>(value = value * 33 + 7);
      ASSERT_TRUE(body.Append(bytes.data(), bytes.size()));
      expected.insert(expected.end(), bytes.begin(), bytes.end());
    }
    ASSERT_EQ(expected.size(), 478187u);
    EXPECT_EQ(body.size(), expected.size());
    Bytes result = body.TakeBytes();
    ASSERT_EQ(result.size(), expected.size()) << reserved;
    EXPECT_EQ(std::memcmp(result.data(), expected.data(), expected.size()), 0) << reserved;
    EXPECT_EQ(body.size(), 0u);
    EXPECT_TRUE(body.TakeBytes().empty());
  }
  BodyBuffer nothingCame;
  nothingCame.Reserve(1000);
  EXPECT_TRUE(nothingCame.TakeBytes().empty());
}

TEST(BodyBufferTest, KeepsEveryByteInOrderAcrossBlocks) {
  BodyBuffer body;
  EXPECT_TRUE(body.TakeBytes().empty());
  std::vector<unsigned char> expected;
  unsigned value = 1;
  // Mixed piece sizes, including ones larger than a block, across several blocks.
  for (std::size_t piece : {1u, 10240u, 102400u, 0u, 3u, 300000u, 65536u, 7u}) {
    std::vector<unsigned char> bytes(piece);
    for (auto& b : bytes) b = static_cast<unsigned char>(value = value * 33 + 7);
    ASSERT_TRUE(body.Append(bytes.data(), bytes.size()));
    expected.insert(expected.end(), bytes.begin(), bytes.end());
  }
  EXPECT_EQ(body.size(), expected.size());
  Bytes result = body.TakeBytes();
  ASSERT_EQ(result.size(), expected.size());
  EXPECT_EQ(std::memcmp(result.data(), expected.data(), expected.size()), 0);
  EXPECT_EQ(body.size(), 0u);
  EXPECT_TRUE(body.TakeBytes().empty());
}

TEST(BodyBufferTest, FailedGrowthKeepsWhatArrived) {
  BodyBuffer body;
  ASSERT_TRUE(body.Append("abc", 3));
  // A piece too large for any allocation: refused, the earlier bytes stay.
  static const char one = 'x';
  EXPECT_FALSE(body.Append(&one, static_cast<std::size_t>(-1) / 2));
  Bytes result = body.TakeBytes();
  ASSERT_EQ(result.size(), 3u);
  EXPECT_EQ(std::memcmp(result.data(), "abc", 3), 0);
}

}  // namespace
}  // namespace tolvane::lookup
