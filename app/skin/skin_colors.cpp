#include "app/skin/skin_colors.h"

#include "app/skin/skin_kind.h"

namespace tolvane::skin {
namespace {

// Records shared by the styles unless a style's table says otherwise.
constexpr FillRecord kPushPressedEdge = TopToBottom(Rgb(209, 204, 193), Rgb(242, 241, 238));
constexpr FillRecord kPushHotEdge = TopToBottom(Rgb(255, 240, 207), Rgb(229, 151, 0));
constexpr FillRecord kPushCheckedEdge = {Rgb(214, 203, 189), Rgb(214, 207, 198), Rgb(247, 243, 239),
                                         Rgb(247, 243, 239)};
constexpr FillRecord kPushFocusedEdge = TopToBottom(Rgb(206, 231, 255), Rgb(105, 130, 238));
constexpr FillRecord kPushNormalEdge = TopToBottom(Rgb(255, 255, 255), Rgb(226, 223, 214));
constexpr FillRecord kPushPressedFace = {Rgb(231, 227, 222), Rgb(231, 231, 231), Rgb(231, 227, 222),
                                         Rgb(231, 227, 222)};
constexpr FillRecord kPushNormalFace = TopToBottom(Rgb(252, 252, 251), Rgb(236, 235, 230));
constexpr FillRecord kPushFlatPressed = Flat(Rgb(239, 227, 206));

constexpr FillRecord kArrowOuterDisabled = {Rgb(247, 243, 239), Rgb(231, 231, 222),
                                            Rgb(231, 227, 222), Rgb(231, 227, 222)};
constexpr FillRecord kArrowCornersDisabled = {Rgb(247, 247, 247), Rgb(247, 243, 239),
                                              Rgb(247, 243, 239), Rgb(247, 243, 239)};
constexpr FillRecord kArrowFaceDisabled = {Rgb(247, 247, 247), Rgb(239, 239, 231),
                                           Rgb(239, 235, 231), Rgb(231, 231, 222)};
constexpr FillRecord kArrowCornersPressed1 = {Rgb(189, 195, 222), Rgb(173, 182, 222),
                                              Rgb(222, 227, 255), Rgb(222, 227, 247)};
constexpr FillRecord kArrowCornersHot1 = {Rgb(206, 219, 239), Rgb(198, 207, 239),
                                          Rgb(198, 207, 231), Rgb(189, 203, 231)};

const StyleColours kStyles[3] = {
    // Style 1: blue.
    {Rgb(123, 158, 189),
     Rgb(0, 60, 115),
     Rgb(123, 158, 189),
     {kPushPressedEdge, kPushHotEdge, kPushCheckedEdge, kPushFocusedEdge, kPushNormalEdge,
      kPushPressedFace, kPushNormalFace},
     {kArrowOuterDisabled,
      {Rgb(165, 174, 222), Rgb(189, 203, 247), Rgb(115, 130, 222), Rgb(181, 199, 247)},
      {Rgb(181, 199, 239), Rgb(148, 174, 231), Rgb(132, 162, 222), Rgb(140, 166, 222)},
      {Rgb(214, 227, 255), Rgb(189, 203, 247), Rgb(173, 195, 247), Rgb(181, 199, 247)},
      kArrowCornersDisabled, kArrowCornersPressed1, kArrowCornersHot1,
      {Rgb(231, 239, 255), Rgb(222, 231, 255), Rgb(222, 227, 255), Rgb(222, 227, 247)},
      kArrowFaceDisabled,
      {Rgb(107, 142, 247), Rgb(132, 150, 247), Rgb(140, 158, 239), Rgb(214, 223, 239)},
      {Rgb(255, 255, 255), Rgb(206, 227, 255), Rgb(198, 223, 255), Rgb(189, 219, 255)},
      {Rgb(231, 235, 255), Rgb(189, 207, 255), Rgb(181, 203, 255), Rgb(173, 203, 247)}}},
    // Style 2: olive green.
    {Rgb(164, 185, 127),
     Rgb(55, 98, 6),
     Rgb(255, 255, 255),
     {kPushFlatPressed, kPushHotEdge, kPushCheckedEdge, kPushHotEdge, kPushNormalEdge,
      kPushFlatPressed, TopToBottom(Rgb(252, 252, 251), Rgb(236, 225, 201))},
     {kArrowOuterDisabled, Flat(Rgb(118, 131, 97)), Flat(Rgb(118, 131, 97)),
      Flat(Rgb(142, 153, 125)), kArrowCornersDisabled, kArrowCornersPressed1, kArrowCornersHot1,
      {Rgb(181, 190, 168), Rgb(195, 200, 184), Rgb(181, 190, 168), Rgb(181, 190, 168)},
      kArrowFaceDisabled, Flat(Rgb(139, 147, 119)), Flat(Rgb(162, 179, 141)),
      {Rgb(182, 196, 161), Rgb(149, 167, 117), Rgb(149, 167, 117), Rgb(149, 167, 117)}}},
    // Style 3: silver.
    {Rgb(198, 197, 215),
     Rgb(0, 60, 116),
     Rgb(0, 0, 0),
     {kPushFlatPressed, kPushHotEdge, kPushCheckedEdge, kPushFocusedEdge, kPushNormalEdge,
      TopToBottom(Rgb(179, 178, 197), Rgb(252, 252, 251)),
      TopToBottom(Rgb(252, 252, 251), Rgb(198, 197, 215))},
     {kArrowOuterDisabled, Flat(Rgb(67, 72, 72)), Flat(Rgb(91, 102, 86)),
      Flat(Rgb(148, 149, 162)), kArrowCornersDisabled,
      {Rgb(190, 183, 190), Rgb(255, 255, 255), Rgb(190, 183, 190), Rgb(255, 255, 255)},
      {Rgb(180, 183, 190), Rgb(255, 255, 255), Rgb(190, 183, 190), Rgb(255, 255, 255)},
      Flat(Rgb(255, 255, 255)), kArrowFaceDisabled,
      TopToBottom(Rgb(191, 194, 219), Rgb(255, 255, 255)),
      TopToBottom(Rgb(255, 255, 255), Rgb(207, 209, 227)),
      TopToBottom(Rgb(255, 255, 255), Rgb(203, 204, 218))}},
};

int SubtractClamped(int channel, int amount) { return channel > amount ? channel - amount : 0; }

}  // namespace

const BoxRecords kCheckBoxRecords = {
    {Rgb(181, 178, 165), Rgb(214, 215, 206), Rgb(214, 215, 206), Rgb(247, 239, 222)},
    {Rgb(255, 243, 206), Rgb(255, 203, 99), Rgb(255, 203, 99), Rgb(255, 178, 49)},
    {Rgb(222, 223, 214), Rgb(247, 243, 239), Rgb(247, 243, 239), Rgb(255, 255, 255)},
};
const BoxRecords kRadioRecords = {
    kCheckBoxRecords.pressed,
    {Rgb(255, 223, 156), Rgb(255, 195, 82), Rgb(255, 203, 99), Rgb(255, 186, 57)},
    kCheckBoxRecords.normal,
};
const FillRecord kRadioDot = {Rgb(173, 223, 165), Rgb(41, 170, 33), Rgb(41, 170, 33),
                              Rgb(16, 146, 16)};
const FillRecord kRadioDotDisabled = {Rgb(214, 215, 206), Rgb(198, 195, 189), Rgb(198, 195, 189),
                                      Rgb(198, 190, 181)};

Colour ButtonFaceMinus(Colour buttonFace, Colour step) {
  return Rgb(SubtractClamped(RedOf(buttonFace), RedOf(step)),
             SubtractClamped(GreenOf(buttonFace), GreenOf(step)),
             SubtractClamped(BlueOf(buttonFace), BlueOf(step)));
}

bool IsValidStyle(int style) { return style >= 1 && style <= 3; }

const StyleColours& ColoursOfStyle(int style) {
  return kStyles[IsValidStyle(style) ? style - 1 : 0];
}

int PushButtonEdgeRecord(std::uint32_t state) {
  if (state & kDisabled) return -1;
  if (state & kPressed) return kEdgePressed;
  if (state & kHot) return kEdgeHot;
  if (state & (kChecked | kIndeterminate)) return kEdgeChecked;
  if (state & (kFocused | kDefault)) return kEdgeFocused;
  return kEdgeNormal;
}

int PushButtonFaceRecord(std::uint32_t state) {
  if (state & (kPressed | kChecked | kIndeterminate)) return kFacePressed;
  if (!(state & kDisabled)) return kFaceNormal;
  return -1;
}

int ArrowStateIndex(bool disabled, bool pressed, bool hot) {
  if (disabled) return 0;
  if (pressed) return 1;
  if (hot) return 2;
  return 3;
}

const FillRecord& BoxRecordFor(const BoxRecords& records, std::uint32_t state) {
  if (state & kPressed) return records.pressed;
  if (state & kHot) return records.hot;
  return records.normal;
}

std::int64_t CheckBoxInnerColour(std::uint32_t state) {
  if (state & kIndeterminate) {
    if (state & kDisabled) return fixed_colours::kIndeterminateDisabled;
    if (state & kPressed) return fixed_colours::kIndeterminatePressed;
    if (state & kHot) return fixed_colours::kIndeterminateHot;
    return fixed_colours::kIndeterminateNormal;
  }
  if ((state & kHot) && !(state & kPressed)) {
    return (state & kChecked) ? fixed_colours::kHotInnerChecked : fixed_colours::kHotInnerUnchecked;
  }
  return -1;
}

namespace {

// One row (or column) of a triangle: a run centred on the glyph's axis, optionally with its
// centre pixel left out.
struct TriangleRun {
  int offset;     // from the centre, along the pointing direction
  int halfWidth;  // the run spans centre - halfWidth .. centre + halfWidth
  bool gap;       // centre pixel left out
};
// Listed for a triangle pointing up: the widest run is below the centre.
constexpr TriangleRun kTriangleRuns[] = {{1, 3, true}, {0, 2, false}, {-1, 1, false}, {-2, 0, false}};

}  // namespace

int GlyphSegments(Glyph glyph, int cx, int cy, Segment* out) {
  int count = 0;
  if (glyph == Glyph::kChevronDown) {
    const Segment chevron[] = {
        {{cx - 4, cy - 2}, {cx, cy + 2}}, {{cx, cy + 2}, {cx + 5, cy - 3}},
        {{cx - 3, cy - 2}, {cx, cy + 1}}, {{cx, cy + 1}, {cx + 4, cy - 3}},
        {{cx - 3, cy - 3}, {cx, cy}},     {{cx, cy}, {cx + 4, cy - 4}},
    };
    for (const Segment& s : chevron) out[count++] = s;
    return count;
  }
  // Map a run given for "up" onto the glyph's direction: `along` is the offset in the pointing
  // axis, `across` the position across it.
  auto point = [&](int along, int across) -> Point {
    switch (glyph) {
      case Glyph::kTriangleUp: return {cx + across, cy + along};
      case Glyph::kTriangleDown: return {cx + across, cy - along};
      case Glyph::kTriangleLeft: return {cx + along, cy + across};
      default: return {cx - along, cy + across};  // right
    }
  };
  const bool vertical = glyph == Glyph::kTriangleUp || glyph == Glyph::kTriangleDown;
  auto run = [&](int along, int from, int to) {  // across positions from..to-1
    Point a = point(along, from);
    Point b = vertical ? Point{a.x + (to - from), a.y} : Point{a.x, a.y + (to - from)};
    out[count++] = {a, b};
  };
  for (const TriangleRun& r : kTriangleRuns) {
    if (r.gap) {
      run(r.offset, -r.halfWidth, 0);
      run(r.offset, 1, r.halfWidth + 1);
    } else {
      run(r.offset, -r.halfWidth, r.halfWidth + 1);
    }
  }
  return count;
}

void CheckMarkSegments(int left, int top, Segment* out) {
  constexpr int kStartRows[kCheckMarkSegments] = {2, 3, 4, 3, 2, 1, 0};
  for (int i = 0; i < kCheckMarkSegments; ++i) {
    out[i] = {{left + i, top + kStartRows[i]}, {left + i, top + kStartRows[i] + 3}};
  }
}

}  // namespace tolvane::skin
