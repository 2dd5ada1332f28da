#include "app/skin/caption_layout.h"

namespace tolvane::skin {
namespace {

struct AlignmentEntry {
  std::uint32_t bits;
  CaptionAlignment alignment;
};

// Button style bits: left 0x100, right 0x200 (both: centre), top 0x400, bottom 0x800 (both:
// vertical centre).
constexpr AlignmentEntry kAlignments[] = {
    {0x500, {HorizontalPlace::kLeft, VerticalPlace::kTop}},
    {0x700, {HorizontalPlace::kCentre, VerticalPlace::kTop}},
    {0x600, {HorizontalPlace::kRight, VerticalPlace::kTop}},
    {0xD00, {HorizontalPlace::kLeft, VerticalPlace::kMiddle}},
    {0xE00, {HorizontalPlace::kRight, VerticalPlace::kMiddle}},
    {0x900, {HorizontalPlace::kLeft, VerticalPlace::kBottom}},
    {0xB00, {HorizontalPlace::kCentre, VerticalPlace::kBottom}},
    {0xA00, {HorizontalPlace::kRight, VerticalPlace::kBottom}},
};

int PlaceAcross(HorizontalPlace place, const LayoutRect& rect, int width) {
  switch (place) {
    case HorizontalPlace::kLeft: return rect.left;
    case HorizontalPlace::kRight: return rect.left + rect.Width() - width;
    default: return rect.left + (rect.Width() - width) / 2;
  }
}

// Gathers lines; keeps the bookkeeping of where the current line started.
class LineBreaker {
 public:
  explicit LineBreaker(CaptionLayout* layout) : layout_(layout) {}

  void Add(int start, int length, int width) {
    if (layout_->lineCount >= kMaxCaptionLines) return;
    CaptionLine& line = layout_->lines[layout_->lineCount++];
    line.start = start;
    line.length = length;
    line.width = width;
    if (width > layout_->widestLine) layout_->widestLine = width;
  }

 private:
  CaptionLayout* layout_;
};

}  // namespace

CaptionAlignment AlignmentOfButtonStyle(std::uint32_t style) {
  const std::uint32_t bits = style & 0xF00;
  for (const AlignmentEntry& entry : kAlignments) {
    if (entry.bits == bits) return entry.alignment;
  }
  return {};
}

void LayoutCaption(const char* caption, int length, const LayoutRect& rect, int lineHeight,
                   CaptionAlignment alignment, const TextMeasurer& measurer,
                   CaptionLayout* layout) {
  *layout = CaptionLayout{};
  layout->lineHeight = lineHeight;
  if (length > kMaxCaptionBytes) length = kMaxCaptionBytes;
  if (length < 0 || !caption) length = 0;
  LineBreaker lines(layout);
  const auto byte = [&](int i) { return static_cast<unsigned char>(caption[i]); };

  int lineStart = 0;
  int lineWidth = 0;
  // An "&" marks the next character for underlining and is not drawn; "&&" draws one "&".
  bool prefixPending = false;
  int charStart = 0;  // where the current character begins, its "&" prefix included
  int i = 0;
  while (i < length) {
    if (byte(i) == '\r' && i + 1 < length && byte(i + 1) == '\n') {
      if (lineWidth > 0) lines.Add(lineStart, i - lineStart, lineWidth);
      i += 2;
      lineStart = i;
      lineWidth = 0;
      prefixPending = false;
      continue;
    }
    if (byte(i) == '&' && !prefixPending) {
      prefixPending = true;
      charStart = i;
      ++i;
      continue;
    }
    if (!prefixPending) charStart = i;
    prefixPending = false;
    // GBK: a lead byte above 0x80 and the byte after it are one character.
    const int size = (byte(i) > 0x80 && i + 1 < length) ? 2 : 1;
    const int width = measurer.Width(caption + i, size);
    // A character that does not fit starts a new line; on an empty line it stays, too wide.
    if (lineWidth > 0 && lineWidth + width > rect.Width()) {
      lines.Add(lineStart, charStart - lineStart, lineWidth);
      lineStart = charStart;
      lineWidth = 0;
    }
    lineWidth += width;
    i += size;
  }
  lines.Add(lineStart, length - lineStart, lineWidth);

  int blockHeight = layout->lineCount * lineHeight;
  const int room = rect.Height() > 0 ? rect.Height() : 0;
  if (blockHeight > room) blockHeight = room;
  int top = rect.top;
  if (alignment.vertical == VerticalPlace::kMiddle) top += (rect.Height() - blockHeight) / 2;
  if (alignment.vertical == VerticalPlace::kBottom) top += rect.Height() - blockHeight;

  for (int n = 0; n < layout->lineCount; ++n) {
    CaptionLine& line = layout->lines[n];
    line.x = PlaceAcross(alignment.horizontal, rect, line.width);
    line.y = top + n * lineHeight;
  }
  const int blockLeft = PlaceAcross(alignment.horizontal, rect, layout->widestLine);
  layout->block = {blockLeft, top, blockLeft + layout->widestLine, top + blockHeight};
}

}  // namespace tolvane::skin
