#pragma once
// The skin's colours as data: one table per style, the fill records the painting picks from,
// the colour arithmetic, and the small glyph shapes. Portable (no windows.h).
#include <cstdint>

namespace tolvane::skin {

// 0x00BBGGRR, the layout of the platform's COLORREF.
using Colour = std::uint32_t;

constexpr Colour Rgb(int red, int green, int blue) {
  return static_cast<Colour>(red & 0xFF) | (static_cast<Colour>(green & 0xFF) << 8) |
         (static_cast<Colour>(blue & 0xFF) << 16);
}
constexpr int RedOf(Colour c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }

// Darkening steps applied to the system's button-face colour.
constexpr Colour kDarken32 = 0x202020;
constexpr Colour kDarken21 = 0x151515;
constexpr Colour kDarken17 = 0x111111;
constexpr Colour kDarken16 = 0x101010;

// Button face minus a darkening step, channel by channel. A channel darker than the step stops
// at 0: subtracting the packed value would borrow from the neighbouring channel and tint the
// colour instead of darkening it.
Colour ButtonFaceMinus(Colour buttonFace, Colour step);

// Four corner colours; filling a rectangle shades it smoothly between them.
struct FillRecord {
  Colour topLeft;
  Colour topRight;
  Colour bottomLeft;
  Colour bottomRight;
};

constexpr FillRecord Flat(Colour c) { return {c, c, c, c}; }
constexpr FillRecord TopToBottom(Colour top, Colour bottom) { return {top, top, bottom, bottom}; }
// Top colours equal and bottom colours equal: one vertical gradient; otherwise two triangles.
constexpr bool IsVertical(const FillRecord& r) {
  return r.topLeft == r.topRight && r.bottomLeft == r.bottomRight;
}

// Push-button fill records.
enum PushButtonRecord {
  kEdgePressed,
  kEdgeHot,
  kEdgeChecked,  // checked or indeterminate
  kEdgeFocused,  // focused or default
  kEdgeNormal,
  kFacePressed,  // pressed, checked or indeterminate
  kFaceNormal,
  kPushButtonRecordCount
};

// Arrow-button records: outer fill, corner pixels and face, each by state index.
constexpr int kArrowOuter = 0;
constexpr int kArrowCorners = 4;
constexpr int kArrowFace = 8;
constexpr int kArrowRecordCount = 12;

struct StyleColours {
  Colour frame;             // edit box, combo box, up-down
  Colour pushButtonBorder;  // the push button's second ring
  Colour arrowGlyph;        // chevrons and triangles of arrow buttons
  FillRecord pushButton[kPushButtonRecordCount];
  FillRecord arrowButton[kArrowRecordCount];
};

// Styles 1, 2 and 3; any other number reads as style 1.
const StyleColours& ColoursOfStyle(int style);
bool IsValidStyle(int style);

// Colours shared by every style.
namespace fixed_colours {
constexpr Colour kWhite = Rgb(255, 255, 255);
constexpr Colour kBlack = Rgb(0, 0, 0);
constexpr Colour kDisabledFace = Rgb(245, 244, 234);
constexpr Colour kDisabledCaption = Rgb(165, 162, 148);  // also an indeterminate push button
constexpr Colour kDisabledGlyph = Rgb(206, 203, 198);
constexpr Colour kCheckBoxFrame = Rgb(24, 81, 132);
constexpr Colour kCheckMark = Rgb(33, 162, 33);
constexpr Colour kCheckMarkDisabled = Rgb(206, 203, 189);
constexpr Colour kIndeterminateDisabled = Rgb(206, 203, 189);
constexpr Colour kIndeterminatePressed = Rgb(24, 138, 24);
constexpr Colour kIndeterminateHot = Rgb(33, 162, 33);
constexpr Colour kIndeterminateNormal = Rgb(115, 195, 115);
constexpr Colour kHotInnerChecked = Rgb(247, 247, 247);
constexpr Colour kHotInnerUnchecked = Rgb(231, 231, 231);
constexpr Colour kRadioDiscNtFamily = Rgb(181, 195, 206);
constexpr Colour kRadioOutline = Rgb(33, 85, 132);  // also the disc of other systems
constexpr Colour kRadioHotDisc = Rgb(247, 239, 222);
constexpr Colour kRadioDotOutline = Rgb(156, 203, 148);
constexpr Colour kRadioDotOutlineDisabled = Rgb(214, 211, 206);
constexpr Colour kGroupFrame = Rgb(191, 184, 191);
}  // namespace fixed_colours

// Check box and radio button records (all styles), and the radio button's dot.
struct BoxRecords {
  FillRecord pressed;
  FillRecord hot;
  FillRecord normal;
};
extern const BoxRecords kCheckBoxRecords;
extern const BoxRecords kRadioRecords;
extern const FillRecord kRadioDot;
extern const FillRecord kRadioDotDisabled;

// Which record fills what, by state (bits of StateBit). -1: leave the area as it is.
int PushButtonEdgeRecord(std::uint32_t state);  // -1 when disabled (flat face colour instead)
int PushButtonFaceRecord(std::uint32_t state);
int ArrowStateIndex(bool disabled, bool pressed, bool hot);  // 0 disabled .. 3 normal
const FillRecord& BoxRecordFor(const BoxRecords& records, std::uint32_t state);
// The flat colour of a check box's inner area, or -1 when the inner area keeps its fill.
std::int64_t CheckBoxInnerColour(std::uint32_t state);

// Glyphs are drawn as 1-pixel pen segments, each from `from` up to, not including, `to`.
struct Point {
  int x;
  int y;
};
struct Segment {
  Point from;
  Point to;
};
enum class Glyph { kChevronDown, kTriangleUp, kTriangleDown, kTriangleLeft, kTriangleRight };
constexpr int kMaxGlyphSegments = 8;
// Fills `out` (room for kMaxGlyphSegments) for a glyph centred on (cx, cy); returns the count.
int GlyphSegments(Glyph glyph, int cx, int cy, Segment* out);
// The check mark in a check box's inner area whose top-left pixel is (left, top): 7 segments.
constexpr int kCheckMarkSegments = 7;
void CheckMarkSegments(int left, int top, Segment* out);

}  // namespace tolvane::skin
