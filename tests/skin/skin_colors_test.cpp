#include "app/skin/skin_colors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

#include "app/skin/skin_kind.h"

namespace tolvane::skin {
namespace {

bool operator==(const FillRecord& a, const FillRecord& b) {
  return a.topLeft == b.topLeft && a.topRight == b.topRight && a.bottomLeft == b.bottomLeft &&
         a.bottomRight == b.bottomRight;
}

TEST(ButtonFaceMinus, DarkensEachChannel) {
  const struct {
    Colour face;
    Colour step;
    Colour expected;
  } cases[] = {
      {Rgb(240, 240, 240), kDarken32, Rgb(208, 208, 208)},
      {Rgb(236, 233, 216), kDarken32, Rgb(204, 201, 184)},
      {Rgb(236, 233, 216), kDarken21, Rgb(215, 212, 195)},
      {Rgb(236, 233, 216), kDarken17, Rgb(219, 216, 199)},
      {Rgb(236, 233, 216), kDarken16, Rgb(220, 217, 200)},
      {Rgb(32, 32, 32), kDarken32, Rgb(0, 0, 0)},
      // A channel darker than the step stops at black instead of borrowing from its
      // neighbour (packed subtraction would turn (10,200,200) into (234,199,200)).
      {Rgb(10, 200, 200), kDarken32, Rgb(0, 168, 168)},
      {Rgb(200, 5, 200), kDarken21, Rgb(179, 0, 179)},
      {Rgb(0, 0, 0), kDarken16, Rgb(0, 0, 0)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ButtonFaceMinus(c.face, c.step), c.expected) << std::hex << c.face << " - " << c.step;
  }
}

TEST(StyleColours, FixedColoursPerStyle) {
  const struct {
    int style;
    Colour frame;
    Colour border;
    Colour glyph;
  } cases[] = {
      {1, Rgb(123, 158, 189), Rgb(0, 60, 115), Rgb(123, 158, 189)},
      {2, Rgb(164, 185, 127), Rgb(55, 98, 6), Rgb(255, 255, 255)},
      {3, Rgb(198, 197, 215), Rgb(0, 60, 116), Rgb(0, 0, 0)},
  };
  for (const auto& c : cases) {
    const StyleColours& s = ColoursOfStyle(c.style);
    EXPECT_EQ(s.frame, c.frame) << c.style;
    EXPECT_EQ(s.pushButtonBorder, c.border) << c.style;
    EXPECT_EQ(s.arrowGlyph, c.glyph) << c.style;
  }
  // Invalid numbers never reach the painting while the skin is off; they read as style 1.
  for (int invalid : {0, 4, -1}) {
    EXPECT_FALSE(IsValidStyle(invalid));
    EXPECT_EQ(&ColoursOfStyle(invalid), &ColoursOfStyle(1));
  }
}

TEST(StyleColours, PushButtonRecordsDifferOnlyWhereTheStylesSay) {
  const StyleColours& s1 = ColoursOfStyle(1);
  const StyleColours& s2 = ColoursOfStyle(2);
  const StyleColours& s3 = ColoursOfStyle(3);
  EXPECT_TRUE(s1.pushButton[kEdgeHot] == TopToBottom(Rgb(255, 240, 207), Rgb(229, 151, 0)));
  EXPECT_TRUE(s1.pushButton[kEdgeFocused] == TopToBottom(Rgb(206, 231, 255), Rgb(105, 130, 238)));
  EXPECT_TRUE(s1.pushButton[kEdgeChecked] ==
              (FillRecord{Rgb(214, 203, 189), Rgb(214, 207, 198), Rgb(247, 243, 239), Rgb(247, 243, 239)}));
  for (int r : {kEdgeHot, kEdgeChecked, kEdgeNormal}) {
    EXPECT_TRUE(s2.pushButton[r] == s1.pushButton[r]) << r;
    EXPECT_TRUE(s3.pushButton[r] == s1.pushButton[r]) << r;
  }
  EXPECT_TRUE(s2.pushButton[kEdgePressed] == Flat(Rgb(239, 227, 206)));
  EXPECT_TRUE(s2.pushButton[kFacePressed] == Flat(Rgb(239, 227, 206)));
  EXPECT_TRUE(s2.pushButton[kEdgeFocused] == s2.pushButton[kEdgeHot]);
  EXPECT_TRUE(s2.pushButton[kFaceNormal] == TopToBottom(Rgb(252, 252, 251), Rgb(236, 225, 201)));
  EXPECT_TRUE(s3.pushButton[kEdgePressed] == Flat(Rgb(239, 227, 206)));
  EXPECT_TRUE(s3.pushButton[kEdgeFocused] == s1.pushButton[kEdgeFocused]);
  EXPECT_TRUE(s3.pushButton[kFacePressed] == TopToBottom(Rgb(179, 178, 197), Rgb(252, 252, 251)));
  EXPECT_TRUE(s3.pushButton[kFaceNormal] == TopToBottom(Rgb(252, 252, 251), Rgb(198, 197, 215)));
}

TEST(StyleColours, ArrowRecordsSharedAcrossStyles) {
  const StyleColours& s1 = ColoursOfStyle(1);
  const StyleColours& s2 = ColoursOfStyle(2);
  const StyleColours& s3 = ColoursOfStyle(3);
  for (int r : {0, 4, 8}) {
    EXPECT_TRUE(s2.arrowButton[r] == s1.arrowButton[r]) << r;
    EXPECT_TRUE(s3.arrowButton[r] == s1.arrowButton[r]) << r;
  }
  for (int r : {5, 6}) EXPECT_TRUE(s2.arrowButton[r] == s1.arrowButton[r]) << r;
  EXPECT_TRUE(s1.arrowButton[11] ==
              (FillRecord{Rgb(231, 235, 255), Rgb(189, 207, 255), Rgb(181, 203, 255), Rgb(173, 203, 247)}));
  EXPECT_TRUE(s2.arrowButton[3] == Flat(Rgb(142, 153, 125)));
  EXPECT_TRUE(s3.arrowButton[7] == Flat(Rgb(255, 255, 255)));
  EXPECT_TRUE(s3.arrowButton[9] == TopToBottom(Rgb(191, 194, 219), Rgb(255, 255, 255)));
  EXPECT_TRUE(s3.arrowButton[5] ==
              (FillRecord{Rgb(190, 183, 190), Rgb(255, 255, 255), Rgb(190, 183, 190), Rgb(255, 255, 255)}));
}

TEST(FillRecord, VerticalOnlyWhenTopsAndBottomsAgree) {
  EXPECT_TRUE(IsVertical(Flat(Rgb(1, 2, 3))));
  EXPECT_TRUE(IsVertical(TopToBottom(Rgb(1, 2, 3), Rgb(4, 5, 6))));
  EXPECT_FALSE(IsVertical(kCheckBoxRecords.normal));
  EXPECT_FALSE(IsVertical(FillRecord{1, 1, 2, 3}));
}

TEST(RecordChoice, PushButtonEdgeAndFaceByFirstStateThatHolds) {
  const struct {
    std::uint32_t state;
    int edge;
    int face;
  } cases[] = {
      {0, kEdgeNormal, kFaceNormal},
      {kHot, kEdgeHot, kFaceNormal},
      {kPressed | kHot, kEdgePressed, kFacePressed},
      {kChecked, kEdgeChecked, kFacePressed},
      {kIndeterminate, kEdgeChecked, kFacePressed},
      {kChecked | kHot, kEdgeHot, kFacePressed},
      {kFocused, kEdgeFocused, kFaceNormal},
      {kDefault, kEdgeFocused, kFaceNormal},
      {kFocused | kChecked, kEdgeChecked, kFacePressed},
      {kDisabled, -1, -1},
      {kDisabled | kFocused, -1, -1},
      {kDisabled | kChecked, -1, kFacePressed},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PushButtonEdgeRecord(c.state), c.edge) << std::hex << c.state;
    EXPECT_EQ(PushButtonFaceRecord(c.state), c.face) << std::hex << c.state;
  }
}

TEST(RecordChoice, ArrowStateIndexAndBoxRecords) {
  EXPECT_EQ(ArrowStateIndex(true, true, true), 0);
  EXPECT_EQ(ArrowStateIndex(false, true, true), 1);
  EXPECT_EQ(ArrowStateIndex(false, false, true), 2);
  EXPECT_EQ(ArrowStateIndex(false, false, false), 3);
  EXPECT_EQ(&BoxRecordFor(kRadioRecords, kPressed | kHot), &kRadioRecords.pressed);
  EXPECT_EQ(&BoxRecordFor(kRadioRecords, kHot), &kRadioRecords.hot);
  EXPECT_EQ(&BoxRecordFor(kCheckBoxRecords, kChecked), &kCheckBoxRecords.normal);
  EXPECT_TRUE(kRadioRecords.normal == kCheckBoxRecords.normal);
  EXPECT_FALSE(kRadioRecords.hot == kCheckBoxRecords.hot);
}

TEST(RecordChoice, CheckBoxInnerArea) {
  const struct {
    std::uint32_t state;
    std::int64_t colour;
  } cases[] = {
      {0, -1},
      {kChecked, -1},
      {kHot, Rgb(231, 231, 231)},
      {kHot | kChecked, Rgb(247, 247, 247)},
      {kHot | kPressed, -1},
      {kIndeterminate, Rgb(115, 195, 115)},
      {kIndeterminate | kHot, Rgb(33, 162, 33)},
      {kIndeterminate | kHot | kPressed, Rgb(24, 138, 24)},
      {kIndeterminate | kDisabled | kPressed, Rgb(206, 203, 189)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CheckBoxInnerColour(c.state), c.colour) << std::hex << c.state;
  }
}

using PixelSet = std::set<std::pair<int, int>>;

// The pixels a 1-pixel pen sets for the segments (horizontal, vertical or 45-degree lines,
// last point excluded).
PixelSet Rasterise(const Segment* segments, int count) {
  PixelSet pixels;
  for (int i = 0; i < count; ++i) {
    const Segment& s = segments[i];
    const int dx = (s.to.x > s.from.x) - (s.to.x < s.from.x);
    const int dy = (s.to.y > s.from.y) - (s.to.y < s.from.y);
    const int steps = std::max(std::abs(s.to.x - s.from.x), std::abs(s.to.y - s.from.y));
    EXPECT_TRUE(s.to.x == s.from.x || s.to.y == s.from.y ||
                std::abs(s.to.x - s.from.x) == std::abs(s.to.y - s.from.y));
    for (int k = 0; k < steps; ++k) pixels.insert({s.from.x + k * dx, s.from.y + k * dy});
  }
  return pixels;
}

PixelSet Row(int y, int x1, int x2, int except = 1 << 30) {
  PixelSet p;
  for (int x = x1; x <= x2; ++x) if (x != except) p.insert({x, y});
  return p;
}
PixelSet Column(int x, int y1, int y2, int except = 1 << 30) {
  PixelSet p;
  for (int y = y1; y <= y2; ++y) if (y != except) p.insert({x, y});
  return p;
}
PixelSet Union(std::initializer_list<PixelSet> sets) {
  PixelSet all;
  for (const PixelSet& s : sets) all.insert(s.begin(), s.end());
  return all;
}

TEST(Glyphs, TrianglesCoverTheirRowsAndColumns) {
  const int cx = 20, cy = 30;
  const struct {
    Glyph glyph;
    PixelSet expected;
  } cases[] = {
      {Glyph::kTriangleUp, Union({Row(cy + 1, cx - 3, cx + 3, cx), Row(cy, cx - 2, cx + 2),
                                  Row(cy - 1, cx - 1, cx + 1), Row(cy - 2, cx, cx)})},
      {Glyph::kTriangleDown, Union({Row(cy - 1, cx - 3, cx + 3, cx), Row(cy, cx - 2, cx + 2),
                                    Row(cy + 1, cx - 1, cx + 1), Row(cy + 2, cx, cx)})},
      {Glyph::kTriangleLeft, Union({Column(cx + 1, cy - 3, cy + 3, cy), Column(cx, cy - 2, cy + 2),
                                    Column(cx - 1, cy - 1, cy + 1), Column(cx - 2, cy, cy)})},
      {Glyph::kTriangleRight, Union({Column(cx - 1, cy - 3, cy + 3, cy), Column(cx, cy - 2, cy + 2),
                                     Column(cx + 1, cy - 1, cy + 1), Column(cx + 2, cy, cy)})},
  };
  for (const auto& c : cases) {
    Segment segments[kMaxGlyphSegments];
    const int count = GlyphSegments(c.glyph, cx, cy, segments);
    EXPECT_EQ(Rasterise(segments, count), c.expected) << static_cast<int>(c.glyph);
  }
}

TEST(Glyphs, ChevronIsThreeStackedPolylines) {
  Segment segments[kMaxGlyphSegments];
  const int count = GlyphSegments(Glyph::kChevronDown, 0, 0, segments);
  const PixelSet pixels = Rasterise(segments, count);
  // The lowest polyline: (-4,-2) down to (0,2), up to (5,-3) exclusive.
  for (auto p : {std::pair{-4, -2}, {-1, 1}, {0, 2}, {4, -2}}) EXPECT_TRUE(pixels.count(p)) << p.first << "," << p.second;
  EXPECT_FALSE(pixels.count({5, -3}));
  // The top polyline ends before (4,-4); its turning point (0,0) is drawn.
  EXPECT_TRUE(pixels.count({0, 0}));
  EXPECT_TRUE(pixels.count({3, -3}));
  EXPECT_FALSE(pixels.count({4, -4}));
  EXPECT_EQ(pixels.size(), 9u + 7u + 7u);
}

TEST(Glyphs, CheckMarkRuns) {
  Segment mark[kCheckMarkSegments];
  CheckMarkSegments(10, 20, mark);
  const PixelSet expected = Union({Column(10, 22, 24), Column(11, 23, 25), Column(12, 24, 26),
                                   Column(13, 23, 25), Column(14, 22, 24), Column(15, 21, 23),
                                   Column(16, 20, 22)});
  EXPECT_EQ(Rasterise(mark, kCheckMarkSegments), expected);
}

}  // namespace
}  // namespace tolvane::skin
