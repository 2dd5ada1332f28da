#pragma once
// Caption layout of push buttons, check boxes and radio buttons: breaking the caption into
// lines that fit the text rectangle and placing them by the button style's alignment bits.
// Portable: widths come from a measurer that the painting backs with the control's font.
#include <cstdint>

namespace tolvane::skin {

struct LayoutRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

enum class HorizontalPlace { kLeft, kCentre, kRight };
enum class VerticalPlace { kTop, kMiddle, kBottom };
struct CaptionAlignment {
  HorizontalPlace horizontal = HorizontalPlace::kCentre;
  VerticalPlace vertical = VerticalPlace::kMiddle;
};

// From the button style's alignment bits (style & 0xF00); a horizontal or a vertical
// alignment given alone, and every unlisted combination, is centred both ways.
CaptionAlignment AlignmentOfButtonStyle(std::uint32_t style);

class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  // Width in pixels of `count` bytes (one character: one byte, or a double-byte pair).
  virtual int Width(const char* bytes, int count) const = 0;
};

struct CaptionLine {
  int start = 0;   // byte offset in the caption (an "&" prefix is part of the line)
  int length = 0;  // bytes, without a line-ending CR LF
  int width = 0;   // pixels, "&" prefixes not counted
  int x = 0;       // placement of the line's rectangle (width x line height)
  int y = 0;
};

// A caption is read with at most 255 bytes, so it never has more lines than this.
constexpr int kMaxCaptionBytes = 255;
constexpr int kMaxCaptionLines = kMaxCaptionBytes + 1;

struct CaptionLayout {
  CaptionLine lines[kMaxCaptionLines];
  int lineCount = 0;
  int lineHeight = 0;
  int widestLine = 0;
  // The text block: lines x line height, at most the rectangle's height, placed vertically;
  // its left edge is where a line of the widest width would stand.
  LayoutRect block;
};

// Lays out `length` bytes of `caption` (at most kMaxCaptionBytes are used) in `rect`.
void LayoutCaption(const char* caption, int length, const LayoutRect& rect, int lineHeight,
                   CaptionAlignment alignment, const TextMeasurer& measurer,
                   CaptionLayout* layout);

}  // namespace tolvane::skin
