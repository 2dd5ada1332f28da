// Caption layout on arbitrary input: the first bytes choose the rectangle, line height and
// alignment bits, the rest is the caption. Checks that every line stays inside the caption,
// lines follow one another, and the block fits the rectangle.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "app/skin/caption_layout.h"

namespace {

class ByteMeasurer : public tolvane::skin::TextMeasurer {
 public:
  int Width(const char* bytes, int count) const override {
    const auto first = static_cast<unsigned char>(bytes[0]);
    return count == 2 ? 12 : first % 11;  // zero-width characters included
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tolvane::skin;
  if (size < 5) return 0;
  const int width = static_cast<int>(data[0]) - 20;
  const int height = static_cast<int>(data[1]) - 20;
  const int lineHeight = data[2] % 40;
  const std::uint32_t style = static_cast<std::uint32_t>(data[3]) << 4;
  const char* caption = reinterpret_cast<const char*>(data + 4);
  const int length = static_cast<int>(size - 4);

  static CaptionLayout layout;
  const LayoutRect rect{3, 5, 3 + width, 5 + height};
  LayoutCaption(caption, length, rect, lineHeight, AlignmentOfButtonStyle(style), ByteMeasurer(), &layout);

  const int used = length < kMaxCaptionBytes ? length : kMaxCaptionBytes;
  if (layout.lineCount < 1 || layout.lineCount > kMaxCaptionLines) std::abort();
  int end = 0;
  int widest = 0;
  for (int i = 0; i < layout.lineCount; ++i) {
    const CaptionLine& line = layout.lines[i];
    if (line.start < end || line.length < 0 || line.start + line.length > used) std::abort();
    if (line.width < 0) std::abort();
    if (line.width > widest) widest = line.width;
    if (i > 0 && line.y != layout.lines[i - 1].y + lineHeight) std::abort();
    end = line.start + line.length;
  }
  if (widest != layout.widestLine) std::abort();
  const int blockHeight = layout.block.bottom - layout.block.top;
  if (blockHeight < 0 || blockHeight > (height > 0 ? height : 0)) std::abort();
  return 0;
}
