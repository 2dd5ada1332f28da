#include "app/skin/caption_layout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace tolvane::skin {
namespace {

// Every single-byte character is 7 pixels wide, every double-byte character 12.
class FixedMeasurer : public TextMeasurer {
 public:
  int Width(const char* bytes, int count) const override {
    calls.push_back(std::string(bytes, count));
    return count == 2 ? 12 : 7;
  }
  mutable std::vector<std::string> calls;
};

struct ExpectedLine {
  std::string text;
  int width;
};

std::vector<ExpectedLine> LinesOf(const std::string& caption, int rectWidth) {
  FixedMeasurer measurer;
  CaptionLayout layout;
  LayoutCaption(caption.data(), static_cast<int>(caption.size()), LayoutRect{0, 0, rectWidth, 200},
                13, CaptionAlignment{}, measurer, &layout);
  std::vector<ExpectedLine> lines;
  for (int i = 0; i < layout.lineCount; ++i) {
    lines.push_back({caption.substr(layout.lines[i].start, layout.lines[i].length), layout.lines[i].width});
  }
  return lines;
}

TEST(CaptionLayout, BreaksIntoLines) {
  const struct {
    const char* name;
    std::string caption;
    int rectWidth;
    std::vector<ExpectedLine> expected;
  } cases[] = {
      {"one line", "OK", 100, {{"OK", 14}}},
      {"ampersand not measured", "&OK", 100, {{"&OK", 14}}},
      {"double ampersand draws one", "A&&B", 100, {{"A&&B", 21}}},
      {"triple ampersand", "&&&A", 100, {{"&&&A", 14}}},
      {"ampersands apart are both prefixes", "&A&B", 100, {{"&A&B", 14}}},
      {"trailing ampersand", "A&", 100, {{"A&", 7}}},
      {"wraps when too wide", "ABCDE", 20, {{"AB", 14}, {"CD", 14}, {"E", 7}}},
      {"exact fit stays", "ABC", 21, {{"ABC", 21}}},
      {"prefix wraps with its character", "AB&C", 14, {{"AB", 14}, {"&C", 7}}},
      {"too wide on an empty line stays", "AB", 5, {{"A", 7}, {"B", 7}}},
      {"CR LF ends a line", "AB\r\nCD", 100, {{"AB", 14}, {"CD", 14}}},
      {"empty lines dropped", "\r\n\r\nAB", 100, {{"AB", 14}}},
      {"ampersand-only line dropped", "&\r\nAB", 100, {{"AB", 14}}},
      {"last line always kept", "AB\r\n", 100, {{"AB", 14}, {"", 0}}},
      {"empty caption", "", 100, {{"", 0}}},
      {"lone CR and LF are characters", "A\rB\nC", 100, {{"A\rB\nC", 35}}},
      {"double-byte pairs", "\xC4\xE3\xBA\xC3", 100, {{"\xC4\xE3\xBA\xC3", 24}}},
      {"double-byte pair never split", "\xC4\xE3\xBA\xC3", 15, {{"\xC4\xE3", 12}, {"\xBA\xC3", 12}}},
      {"0x80 is a single byte", "\x80" "A", 100, {{"\x80" "A", 14}}},
      {"lead byte at the end alone", "A\xC4", 100, {{"A\xC4", 14}}},
      {"double-byte trail may be an ampersand", "\xC4&A", 100, {{"\xC4&A", 19}}},
  };
  for (const auto& c : cases) {
    const std::vector<ExpectedLine> lines = LinesOf(c.caption, c.rectWidth);
    ASSERT_EQ(lines.size(), c.expected.size()) << c.name;
    for (size_t i = 0; i < lines.size(); ++i) {
      EXPECT_EQ(lines[i].text, c.expected[i].text) << c.name << " line " << i;
      EXPECT_EQ(lines[i].width, c.expected[i].width) << c.name << " line " << i;
    }
  }
}

TEST(CaptionLayout, MeasuresCharactersNotPrefixes) {
  FixedMeasurer measurer;
  CaptionLayout layout;
  const char caption[] = "&\xC4\xE3&&";
  LayoutCaption(caption, 5, LayoutRect{0, 0, 100, 20}, 13, CaptionAlignment{}, measurer, &layout);
  EXPECT_EQ(measurer.calls, (std::vector<std::string>{"\xC4\xE3", "&"}));
}

TEST(CaptionLayout, AlignmentBits) {
  using H = HorizontalPlace;
  using V = VerticalPlace;
  const struct {
    std::uint32_t style;
    H horizontal;
    V vertical;
  } cases[] = {
      {0x500, H::kLeft, V::kTop},      {0x700, H::kCentre, V::kTop},
      {0x600, H::kRight, V::kTop},     {0xD00, H::kLeft, V::kMiddle},
      {0xE00, H::kRight, V::kMiddle},  {0x900, H::kLeft, V::kBottom},
      {0xB00, H::kCentre, V::kBottom}, {0xA00, H::kRight, V::kBottom},
      {0xF00, H::kCentre, V::kMiddle}, {0x000, H::kCentre, V::kMiddle},
      {0x100, H::kCentre, V::kMiddle}, {0x200, H::kCentre, V::kMiddle},
      {0x400, H::kCentre, V::kMiddle}, {0x800, H::kCentre, V::kMiddle},
      {0x300, H::kCentre, V::kMiddle}, {0xC00, H::kCentre, V::kMiddle},
      // Only the alignment bits count.
      {0x50012500, H::kLeft, V::kTop},
  };
  for (const auto& c : cases) {
    const CaptionAlignment a = AlignmentOfButtonStyle(c.style);
    EXPECT_EQ(a.horizontal, c.horizontal) << std::hex << c.style;
    EXPECT_EQ(a.vertical, c.vertical) << std::hex << c.style;
  }
}

TEST(CaptionLayout, PlacesLinesAndBlock) {
  using H = HorizontalPlace;
  using V = VerticalPlace;
  // Rectangle (4,4)-(84,34): 80 x 30; lines of 13 pixels; "AB\r\nCDEF" gives widths 14 and 28.
  const struct {
    const char* name;
    H horizontal;
    V vertical;
    int x0, x1, y0, blockLeft, blockTop;
  } cases[] = {
      {"middle centre", H::kCentre, V::kMiddle, 4 + 33, 4 + 26, 4 + 2, 4 + 26, 4 + 2},
      {"top left", H::kLeft, V::kTop, 4, 4, 4, 4, 4},
      {"bottom right", H::kRight, V::kBottom, 4 + 66, 4 + 52, 4 + 4, 4 + 52, 4 + 4},
  };
  for (const auto& c : cases) {
    FixedMeasurer measurer;
    CaptionLayout layout;
    LayoutCaption("AB\r\nCDEF", 8, LayoutRect{4, 4, 84, 34}, 13, CaptionAlignment{c.horizontal, c.vertical},
                  measurer, &layout);
    ASSERT_EQ(layout.lineCount, 2) << c.name;
    EXPECT_EQ(layout.lines[0].x, c.x0) << c.name;
    EXPECT_EQ(layout.lines[1].x, c.x1) << c.name;
    EXPECT_EQ(layout.lines[0].y, c.y0) << c.name;
    EXPECT_EQ(layout.lines[1].y, c.y0 + 13) << c.name;
    EXPECT_EQ(layout.widestLine, 28) << c.name;
    EXPECT_EQ(layout.block.left, c.blockLeft) << c.name;
    EXPECT_EQ(layout.block.top, c.blockTop) << c.name;
    EXPECT_EQ(layout.block.right - layout.block.left, 28) << c.name;
    EXPECT_EQ(layout.block.bottom - layout.block.top, 26) << c.name;
  }
}

TEST(CaptionLayout, BlockNeverTallerThanTheRectangle) {
  FixedMeasurer measurer;
  CaptionLayout layout;
  // Three lines of 13 in a rectangle 30 high: the block is 30 high and starts at the top.
  LayoutCaption("A\r\nB\r\nC", 7, LayoutRect{0, 10, 50, 40}, 13, CaptionAlignment{}, measurer, &layout);
  EXPECT_EQ(layout.lineCount, 3);
  EXPECT_EQ(layout.block.top, 10);
  EXPECT_EQ(layout.block.bottom, 40);
  EXPECT_EQ(layout.lines[2].y, 36);
  // A rectangle with no room (a tiny button): an empty block, positions still defined.
  LayoutCaption("OK", 2, LayoutRect{4, 4, 2, 2}, 13, CaptionAlignment{}, measurer, &layout);
  EXPECT_EQ(layout.block.bottom - layout.block.top, 0);
  EXPECT_EQ(layout.lineCount, 2);  // each character alone on a line
  EXPECT_EQ(layout.lines[0].x, 4 + (-2 - 7) / 2);
}

TEST(CaptionLayout, ReadsAtMost255Bytes) {
  FixedMeasurer measurer;
  CaptionLayout layout;
  const std::string caption(400, 'x');
  LayoutCaption(caption.data(), 400, LayoutRect{0, 0, 7, 20}, 13, CaptionAlignment{}, measurer, &layout);
  EXPECT_EQ(layout.lineCount, 255);
  LayoutCaption(nullptr, 5, LayoutRect{0, 0, 7, 20}, 13, CaptionAlignment{}, measurer, &layout);
  EXPECT_EQ(layout.lineCount, 1);
  EXPECT_EQ(layout.lines[0].length, 0);
}

}  // namespace
}  // namespace tolvane::skin
