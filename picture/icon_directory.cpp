// ICO and CUR: a 6-byte header, 16-byte directory entries, and per entry an image that is
// either a device-independent bitmap (a 40-byte header with twice the icon's height, the
// colour table, the XOR rows and the AND mask rows) or a PNG stream.
#include <algorithm>

#include "picture/byte_reader.h"
#include "picture/decoders.h"

namespace tolvane::picture {

namespace {

constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

DecodeFailure CheckPngImage(const std::uint8_t* image, std::size_t size, IconImage& icon) {
  ByteReader reader(image, size);
  reader.Skip(8);
  std::uint32_t chunkLength = reader.U32BigEndian();
  const std::uint8_t* type = reader.Take(4);
  std::uint32_t width = reader.U32BigEndian();
  std::uint32_t height = reader.U32BigEndian();
  if (reader.failed() || chunkLength != 13 || type[0] != 'I' || type[1] != 'H' || type[2] != 'D' ||
      type[3] != 'R')
    return "png image header";
  if (!DimensionsAllowed(width, height)) return "dimensions";
  icon.width = static_cast<int>(width);
  icon.height = static_cast<int>(height);
  icon.bitCount = 32;
  icon.isPng = true;
  return nullptr;
}

DecodeFailure CheckBitmapImage(const std::uint8_t* image, std::size_t size, IconImage& icon) {
  ByteReader reader(image, size);
  std::uint32_t headerSize = reader.U32();
  std::int32_t width = reader.I32();
  std::int32_t doubleHeight = reader.I32();
  reader.U16();  // planes
  int bitCount = reader.U16();
  std::uint32_t compression = reader.U32();
  reader.Skip(12);
  std::uint32_t coloursUsed = reader.U32();
  if (reader.failed() || headerSize < 40 || headerSize > size) return "image header";
  if (compression != 0) return "compressed image";
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
      bitCount != 32)
    return "bit count";
  // The header's height counts the XOR rows and the AND mask rows together.
  int height = doubleHeight / 2;
  if (!DimensionsAllowed(width, height)) return "dimensions";
  std::size_t colours = coloursUsed;
  if (bitCount <= 8 && colours == 0) colours = 1u << bitCount;
  if (colours > 256) return "colour table size";
  std::size_t xorBytes = PaddedRowBytes(width, bitCount, 4) * static_cast<std::size_t>(height);
  std::size_t andBytes = PaddedRowBytes(width, 1, 4) * static_cast<std::size_t>(height);
  // All terms are capped above (64M pixels at 32 bits fits easily in 64 bits; checked for
  // 32-bit size_t).
  std::size_t needed = headerSize;
  if (!CheckedAdd(needed, colours * 4, needed) || !CheckedAdd(needed, xorBytes, needed) ||
      !CheckedAdd(needed, andBytes, needed))
    return "dimensions";
  if (needed > size) return "image data short";
  icon.width = width;
  icon.height = height;
  icon.bitCount = bitCount;
  icon.isPng = false;
  return nullptr;
}

}  // namespace

DecodeFailure ChooseIconImage(const std::uint8_t* data, std::size_t size, IconImage& out) {
  ByteReader reader(data, size);
  if (reader.U16() != 0) return "not an icon";
  int type = reader.U16();
  int count = reader.U16();
  if (reader.failed() || (type != 1 && type != 2) || count == 0) return "not an icon";
  struct Entry {
    int width = 0;
    int colourCount = 0;
    std::uint32_t size = 0;
    std::uint32_t offset = 0;
  };
  Entry chosen;
  for (int i = 0; i < count; ++i) {
    Entry entry;
    entry.width = reader.U8();  // 0 stands for 256
    reader.U8();                // height
    entry.colourCount = reader.U8();
    reader.Skip(5);  // reserved, planes or hot spot
    entry.size = reader.U32();
    entry.offset = reader.U32();
    if (reader.failed()) return "truncated directory";
    chosen = entry;  // the last entry unless one fits the rule below
    if (entry.colourCount > 15 && entry.width == 32) break;
  }
  std::size_t end = 0;
  if (chosen.size == 0 || !CheckedAdd(chosen.offset, chosen.size, end) || end > size)
    return "image outside the file";
  const std::uint8_t* image = data + chosen.offset;
  IconImage icon;
  icon.offset = chosen.offset;
  icon.size = chosen.size;
  DecodeFailure failure = chosen.size >= 8 && std::equal(kPngSignature, kPngSignature + 8, image)
                              ? CheckPngImage(image, chosen.size, icon)
                              : CheckBitmapImage(image, chosen.size, icon);
  if (failure != nullptr) return failure;
  out = icon;
  return nullptr;
}

}  // namespace tolvane::picture
