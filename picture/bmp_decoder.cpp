// BMP: the 14-byte file header, a BITMAPINFOHEADER (or a larger header of which the first 40
// bytes are read), an optional colour table and uncompressed rows padded to 4 bytes.
#include <cstdlib>
#include <cstring>

#include "picture/byte_reader.h"
#include "picture/decoders.h"

namespace tolvane::picture {

DecodeFailure DecodeBmp(const std::uint8_t* data, std::size_t size, Raster& out) {
  ByteReader reader(data, size);
  if (reader.U8() != 'B' || reader.U8() != 'M') return "not a bmp";
  reader.Skip(8);  // file size and reserved words: often wrong in the wild, not needed
  std::uint32_t pixelOffset = reader.U32();
  std::uint32_t headerSize = reader.U32();
  std::int64_t width = reader.I32();
  std::int64_t height = reader.I32();
  reader.U16();  // planes
  int bitCount = reader.U16();
  std::uint32_t compression = reader.U32();
  reader.Skip(12);  // image size, resolution
  std::uint32_t coloursUsed = reader.U32();
  reader.U32();  // important colours
  if (reader.failed()) return "truncated header";
  // Smaller headers (OS/2 core) lay the fields out differently.
  if (headerSize < 40) return "header size";
  if (compression != 0) return "compressed";
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32)
    return "bit count";
  // A negative height marks rows stored top-down; the size is the absolute value.
  bool topDown = height < 0;
  width = std::llabs(width);
  height = std::llabs(height);
  if (!DimensionsAllowed(width, height)) return "dimensions";

  std::size_t entries = 0;
  if (bitCount <= 8) {
    entries = coloursUsed != 0 ? coloursUsed : (1u << bitCount);
  }
  // The colour table follows the whole information header, whatever its version. A table
  // longer than 256 entries is read past (no index can reach beyond entry 255).
  std::size_t tableStart = 0, tableBytes = 0, tableEnd = 0;
  if (!CheckedAdd(14, headerSize, tableStart) || !CheckedMultiply(entries, 4, tableBytes) ||
      !CheckedAdd(tableStart, tableBytes, tableEnd) || !reader.Seek(tableStart))
    return "truncated colour table";
  const std::uint8_t* entriesData = reader.Take(tableBytes);
  if (entriesData == nullptr) return "truncated colour table";
  // Indices past the table read as black: unused entries stay zero.
  std::uint8_t table[256][3] = {};
  for (std::size_t i = 0; i < entries && i < 256; ++i)
    std::memcpy(table[i], entriesData + i * 4, 3);  // blue, green, red
  if (pixelOffset < tableEnd) return "pixel offset inside the colour table";
  if (!reader.Seek(pixelOffset)) return "pixel offset past the end";

  const int w = static_cast<int>(width), h = static_cast<int>(height);
  std::size_t sourceStride = PaddedRowBytes(w, bitCount, 4);
  std::size_t needed = 0;
  if (!CheckedMultiply(sourceStride, static_cast<std::size_t>(h), needed)) return "dimensions";
  const std::uint8_t* pixels = reader.Take(needed);
  if (pixels == nullptr) return "truncated pixels";

  Raster raster;
  raster.layout = Raster::Layout::Bgr24;
  raster.width = w;
  raster.height = h;
  raster.stride = PaddedRowBytes(w, 24, 4);
  raster.pixels.resize(raster.stride * static_cast<std::size_t>(h));
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* source = pixels + sourceStride * static_cast<std::size_t>(topDown ? y : h - 1 - y);
    std::uint8_t* target = raster.pixels.data() + raster.stride * static_cast<std::size_t>(y);
    switch (bitCount) {
      case 24:
        std::memcpy(target, source, static_cast<std::size_t>(w) * 3);
        break;
      case 32:
        for (int x = 0; x < w; ++x, source += 4, target += 3) {
          target[0] = source[0];
          target[1] = source[1];
          target[2] = source[2];
        }
        break;
      case 8:
        for (int x = 0; x < w; ++x, target += 3) std::memcpy(target, table[source[x]], 3);
        break;
      default: {  // 1 and 4 bits, most significant bits first
        const int perByte = 8 / bitCount;
        const unsigned mask = (1u << bitCount) - 1;
        for (int x = 0; x < w; ++x, target += 3) {
          int shift = 8 - bitCount * (x % perByte + 1);
          unsigned index = (source[x / perByte] >> shift) & mask;
          std::memcpy(target, table[index], 3);
        }
      }
    }
  }
  out = std::move(raster);
  return nullptr;
}

}  // namespace tolvane::picture
