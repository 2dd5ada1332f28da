#include "lookup/text_operations.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace tolvane::lookup {
namespace {

// GBK samples: 百 = B0 D9, 度 = B6 C8. "\xB0" followed by 'c' etc. are used where a second
// byte spells an ASCII letter.
struct FindCase {
  const char* name;
  const char* text;
  const char* sought;
  int start;
  bool ignoreCase;
  int expected;
};

TEST(FindTextTest, Table) {
  const FindCase cases[] = {
      {"at first byte", "abcabc", "abc", 0, false, 1},
      {"later occurrence from start", "abcabc", "abc", 2, false, 4},
      {"start 1 is the first byte", "abc", "a", 1, false, 1},
      {"negative start is the first byte", "abc", "a", -5, false, 1},
      {"most negative start", "abc", "a", INT_MIN, false, 1},
      {"start at last byte", "abc", "c", 3, false, 3},
      {"start beyond end", "abc", "c", 4, false, -1},
      {"huge start", "abc", "c", INT_MAX, false, -1},
      {"missing", "abc", "x", 0, false, -1},
      {"longer than text", "ab", "abc", 0, false, -1},
      {"empty sought in text", "abc", "", 0, false, 1},
      {"empty sought reports 1 even with a later start", "abc", "", 3, false, 1},
      {"empty sought past end", "abc", "", 4, false, -1},
      {"empty sought in empty text", "", "", 0, false, -1},
      {"null text", nullptr, "a", 0, false, -1},
      {"null sought", "abc", nullptr, 0, false, 1},
      {"case differs, exact", "ABC", "abc", 0, false, -1},
      {"case differs, ignored", "xABC", "abc", 0, true, 2},
      {"sought in capitals, ignored", "xabc", "ABC", 0, true, 2},
      {"only ASCII letters fold", "\xC0", "\xE0", 0, true, -1},
      {"punctuation does not fold", "[", "{", 0, true, -1},
      {"GBK found on boundary", "a\xB0\xD9\xB6\xC8", "\xB6\xC8", 0, false, 4},
      {"never on a trail byte", "\xB0\x61" "bc", "abc", 0, false, -1},
      {"trail byte skipped, later match", "\xB0\x61" "abc", "abc", 0, false, 3},
      {"trail byte folded too", "\xB0\x41", "\xB0\x61", 0, true, 1},
      {"trail byte exact without fold", "\xB0\x41", "\xB0\x61", 0, false, -1},
      {"start on a trail byte scans from there", "\xB0\x61" "bc", "abc", 2, false, 2},
      {"lone lead byte before terminator ends", "ab\xB0", "\xB0", 0, false, 3},
      {"lone lead byte stops the search", "a\xB0", "zz", 0, false, -1},
      {"lone lead byte, shorter sought", "xx\xB0", "y", 0, false, -1},
      {"long ASCII run before match", "0123456789abcdefghijklmnopqrstuvwxyzMARK", "mark", 0,
       true, 37},
      {"long ASCII run with lead byte inside word", "01234567\xB0m" "ark9mark", "mark", 0,
       false, 15},
      {"match ends at last byte", "0123456789abcdefXY", "XY", 0, false, 17},
  };
  for (const FindCase& c : cases) {
    EXPECT_EQ(FindText(c.text, c.sought, c.start, c.ignoreCase), c.expected) << c.name;
  }
}

// Case folding maps exactly A-Z onto a-z, for every byte value on either side.
TEST(FindTextTest, CaseFoldingOfEveryByte) {
  auto fold = [](int c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; };
  for (int t = 1; t < 256; ++t) {
    for (int s = 1; s < 256; ++s) {
      const char text[] = {'x', static_cast<char>(t), 0};
      const char sought[] = {static_cast<char>(s), 0};
      const int folded = fold(s) == 'x' ? 1 : (fold(t) == fold(s) ? 2 : -1);
      const int exact = s == 'x' ? 1 : (t == s ? 2 : -1);
      ASSERT_EQ(FindText(text, sought, 0, true), folded) << t << " " << s;
      ASSERT_EQ(FindText(text, sought, 0, false), exact) << t << " " << s;
    }
  }
}

// A match must sit on a character boundary however far into a long text it is: compare
// against a plain character-by-character reference on generated texts.
TEST(FindTextTest, AgreesWithCharacterWalkOnGeneratedTexts) {
  auto reference = [](const std::string& text, const std::string& sought, int start,
                      bool ignoreCase) {
    auto fold = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; };
    for (std::size_t i = start > 1 ? start - 1 : 0; i + sought.size() <= text.size();) {
      bool equal = true;
      for (std::size_t k = 0; k < sought.size() && equal; ++k) {
        unsigned char a = text[i + k], b = sought[k];
        equal = ignoreCase ? fold(a) == fold(b) : a == b;
      }
      if (equal) return static_cast<int>(i) + 1;
      if (static_cast<unsigned char>(text[i]) >= 0x80) {
        if (i + 1 == text.size()) return -1;
        i += 2;
      } else {
        i += 1;
      }
    }
    return -1;
  };
  unsigned seed = 12345;
  auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
  const char alphabet[] = {'a', 'A', 'b', '"', '\xB0', '\xE1', 'x', '0'};
  for (int round = 0; round < 5000; ++round) {
    std::string text, sought;
    const int length = next() % 100, soughtLength = 1 + next() % 3;
    for (int i = 0; i < length; ++i) text += alphabet[next() % 8];
    for (int i = 0; i < soughtLength; ++i) sought += alphabet[next() % 8];
    const bool ignoreCase = next() % 2;
    const int start = next() % 4 == 0 ? static_cast<int>(next() % 12) : 0;
    ASSERT_EQ(FindText(text.c_str(), sought.c_str(), start, ignoreCase),
              reference(text, sought, start, ignoreCase))
        << "text=" << text << " sought=" << sought << " start=" << start
        << " ignoreCase=" << ignoreCase;
  }
}

struct ReplaceCase {
  const char* name;
  const char* text;
  const char* sought;
  const char* replacement;
  int start;
  int maxReplacements;
  bool ignoreCase;
  const char* expected;
};

TEST(ReplaceSubtextTest, Table) {
  const ReplaceCase cases[] = {
      {"every occurrence", "a-b-c", "-", "+", 1, -1, false, "a+b+c"},
      {"longer replacement", "a-b", "-", "<->", 1, -1, false, "a<->b"},
      {"removal", "a--b", "-", "", 1, -1, false, "ab"},
      {"placeholder to quote", "src=#\xD2\xFD\xBA\xC5x", kQuotePlaceholder, "\"", 1, -1, false,
       "src=\"x"},
      {"empty text", "", "a", "b", 1, -1, false, ""},
      {"empty sought copies", "abc", "", "x", 1, -1, false, "abc"},
      {"null replacement removes", "abc", "b", nullptr, 1, -1, false, "ac"},
      {"not on a trail byte", "\xB0-x-", "-", "+", 1, -1, false, "\xB0-x+"},
      {"tail shorter than sought copied", "ab\xB0", "xy", "z", 1, -1, false, "ab\xB0"},
      {"lone lead byte before terminator dropped", "a\xB0", "x", "y", 1, -1, false, "a"},
      {"lone lead byte itself matched", "a\xB0", "\xB0", "y", 1, -1, false, "ay"},
      {"start skips earlier matches", "-a-b", "-", "+", 2, -1, false, "-a+b"},
      {"start beyond end copies", "-a", "-", "+", 9, -1, false, "-a"},
      {"maximum", "----", "-", "+", 1, 2, false, "++--"},
      {"maximum reached keeps lone lead byte", "-\xB0", "-", "+", 1, 1, false, "+\xB0"},
      {"case ignored", "aAa", "A", "b", 1, -1, true, "bbb"},
      {"case exact", "aAa", "A", "b", 1, -1, false, "aba"},
  };
  for (const ReplaceCase& c : cases) {
    Text result = ReplaceSubtext(c.text, c.sought, c.replacement, c.start, c.maxReplacements,
                                 c.ignoreCase);
    EXPECT_STREQ(result.c_str(), c.expected) << c.name;
    EXPECT_EQ(result.size(), TextLength(c.expected)) << c.name;
  }
}

TEST(MidTextTest, Table) {
  struct Case {
    const char* text;
    int start, count;
    const char* expected;
  } cases[] = {
      {"abc", 2, 10, "bc"}, {"abc", 4, 1, ""},         {"abc", 0, 1, ""},
      {"abc", -3, 5, ""},   {"abc", 1, 0, ""},         {"abc", 1, -1, ""},
      {"abc", 1, 2, "ab"},  {"\xB0\xD9", 2, 1, "\xD9"}, {nullptr, 1, 1, ""},
      {"abc", 3, INT_MAX, "c"},
  };
  for (const Case& c : cases) {
    Text result = MidText(c.text, c.start, c.count);
    EXPECT_STREQ(result.c_str(), c.expected) << (c.text ? c.text : "(null)") << " " << c.start;
  }
}

TEST(TextLengthTest, CountsBytesAndNullIsZero) {
  EXPECT_EQ(TextLength(nullptr), 0u);
  EXPECT_EQ(TextLength(""), 0u);
  EXPECT_EQ(TextLength("\xB0\xD9x"), 3u);
}

constexpr char kFront[] = "class=\"userinfo_head\"><img src=\"";
constexpr char kBack[] = "\"/></a>";

struct BetweenCase {
  const char* name;
  std::string page;
  const char* front;
  const char* back;
  int start;
  bool caseSensitive;
  const char* expected;
};

TEST(TextBetweenTest, Table) {
  const std::string avatar =
      "<a class=\"userinfo_head\"><img src=\"http://p.test/a.jpg\"/></a>";
  const BetweenCase cases[] = {
      {"the avatar address", "<div>" + avatar + "</div>", kFront, kBack, 0, false,
       "http://p.test/a.jpg"},
      {"markers in capitals found ignoring case",
       "<A CLASS=\"USERINFO_HEAD\"><IMG SRC=\"x.png\"/></A>", kFront, kBack, 0, false, "x.png"},
      {"markers in capitals not found exactly",
       "<A CLASS=\"USERINFO_HEAD\"><IMG SRC=\"x.png\"/></A>", kFront, kBack, 0, true, ""},
      {"front missing", "<img src=\"x\"/></a>", kFront, kBack, 0, false, ""},
      {"back only before the front", "\"/></a>" + std::string(kFront) + "x", kFront, kBack, 0,
       false, ""},
      {"first of two fronts", std::string(kFront) + "one\"/></a>" + kFront + "two\"/></a>",
       kFront, kBack, 0, false, "one"},
      {"back directly after front", std::string(kFront) + kBack, kFront, kBack, 0, false, ""},
      {"placeholder markers",
       "<div>" + avatar,
       "class=#\xD2\xFD\xBA\xC5userinfo_head#\xD2\xFD\xBA\xC5><img src=#\xD2\xFD\xBA\xC5",
       "#\xD2\xFD\xBA\xC5/></a>", 0, false, "http://p.test/a.jpg"},
      {"front spelled from a trail byte", "\xB0<b>x</b>", "<b>", "</b>", 0, false, ""},
      {"front spelled from a trail byte, later real one", "\xB0<b>x</b><b>y</b>", "<b>", "</b>",
       0, false, "y"},
      {"back marker overlapping the front is not taken", "[[x]]", "[[", "[x", 0, false, ""},
      {"start 1 and negative search from the first byte", "(a)(b)", "(", ")", -7, false, "a"},
      {"start skips the first front", "(a)(b)", "(", ")", 2, false, "b"},
      {"start beyond end", "(a)", "(", ")", 10, false, ""},
      {"empty page", "", "(", ")", 0, false, ""},
      {"value keeps GBK bytes", "(\xB0\xD9\xB6\xC8)", "(", ")", 0, false, "\xB0\xD9\xB6\xC8"},
      {"value ends in a lead byte before the back marker", "(\xB0)", "(", ")", 0, false, ""},
  };
  for (const BetweenCase& c : cases) {
    Text result = TextBetween(c.page.c_str(), c.front, c.back, c.start, c.caseSensitive);
    EXPECT_STREQ(result.c_str(), c.expected) << c.name;
  }
  EXPECT_STREQ(TextBetween(nullptr, kFront, kBack).c_str(), "");
  EXPECT_STREQ(TextBetween("ab", nullptr, "b").c_str(), "a");
}

TEST(ConcatTextsTest, JoinsAndSkipsNull) {
  Text name = Text::FromCString("\xB0\xD9");
  EXPECT_STREQ(ConcatTexts("un=", name).c_str(), "un=\xB0\xD9");
  EXPECT_STREQ(ConcatTexts("a", Text(), static_cast<const char*>(nullptr), "b").c_str(), "ab");
  EXPECT_EQ(ConcatTexts("", "").size(), 0u);
  EXPECT_EQ(ConcatTexts({"x", "yz"}).size(), 3u);
}

TEST(BytesToTextTest, StopsAtFirstZero) {
  EXPECT_TRUE(BytesToText(Bytes()).empty());
  const char raw[] = {'a', '\xB0', 0, 'b'};
  EXPECT_STREQ(BytesToText(Bytes::Copy(raw, 4)).c_str(), "a\xB0");
  EXPECT_STREQ(BytesToText(Bytes::Copy(raw + 3, 1)).c_str(), "b");
  EXPECT_TRUE(BytesToText(Bytes::Copy(raw + 2, 2)).empty());
}

TEST(CompareTextTest, UnsignedBytesAndNullAsEmpty) {
  struct Case {
    const char *a, *b;
    int expected;
  } cases[] = {
      {"", "", 0},          {nullptr, "", 0},   {"", nullptr, 0},  {nullptr, nullptr, 0},
      {"a", "", 1},         {nullptr, "a", -1}, {"a", "b", -1},    {"b", "a", 1},
      {"\xB0", "a", 1},     {"ab", "abc", -1},  {"abc", "abc", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CompareText(c.a, c.b), c.expected)
        << (c.a ? c.a : "(null)") << " vs " << (c.b ? c.b : "(null)");
  }
}

}  // namespace
}  // namespace tolvane::lookup
