// PCX (ZSoft): a 128-byte header, run-length coded scanlines of `bytesPerLine` bytes each and,
// for 8 bits per pixel, an optional 256-entry colour table introduced by a 0C byte.
#include <algorithm>
#include <cstring>

#include "picture/byte_reader.h"
#include "picture/decoders.h"

namespace tolvane::picture {

DecodeFailure DecodePcx(const std::uint8_t* data, std::size_t size, Raster& out) {
  if (size <= 128) return "too small";
  ByteReader reader(data, size);
  if (reader.U8() != 0x0A) return "not a pcx";
  reader.U8();  // version
  if (reader.U8() != 1) return "encoding";
  int bitsPerPixel = reader.U8();
  int xMin = reader.U16(), yMin = reader.U16(), xMax = reader.U16(), yMax = reader.U16();
  reader.Seek(65);
  int planes = reader.U8();
  std::size_t bytesPerLine = reader.U16();
  if (reader.failed()) return "truncated header";
  if (xMin > xMax || yMin > yMax) return "corners out of order";
  // Several planes (24-bit colour) are not an indexed picture: refused rather than shown as
  // the first plane's bytes.
  if (planes != 1) return "planes";
  if (bitsPerPixel != 8 && bitsPerPixel != 1) return "bits per pixel";
  const int width = xMax - xMin + 1, height = yMax - yMin + 1;
  if (!DimensionsAllowed(width, height)) return "dimensions";
  std::size_t rowBytes = PaddedRowBytes(width, bitsPerPixel, 1);
  if (bytesPerLine < rowBytes) return "bytes per line below the width";

  Raster raster;
  raster.layout = bitsPerPixel == 8 ? Raster::Layout::Indexed8 : Raster::Layout::Mono1;
  raster.width = width;
  raster.height = height;
  raster.stride = PaddedRowBytes(width, bitsPerPixel, 4);
  raster.pixels.resize(raster.stride * static_cast<std::size_t>(height));

  // Runs may carry on into the next scanline (many encoders do this); the bytes of a scanline
  // past the picture's width are padding and dropped. Data that ends early leaves the rest 0.
  reader.Seek(128);
  const std::size_t available = reader.remaining();  // at least 1: the size was checked
  const std::uint8_t* source = reader.Take(available);
  std::size_t at = 0;
  std::size_t runLeft = 0;
  std::uint8_t runValue = 0;
  bool ended = false;
  for (int y = 0; y < height && !ended; ++y) {
    std::uint8_t* row = raster.pixels.data() + raster.stride * static_cast<std::size_t>(y);
    std::size_t x = 0;
    while (x < bytesPerLine) {
      if (runLeft == 0) {
        if (at == available) {
          ended = true;
          break;
        }
        std::uint8_t byte = source[at++];
        if (byte <= 0xC0) {  // a byte that stands for itself: most of them
          if (x < rowBytes) row[x] = byte;
          ++x;
          continue;
        }
        if (at == available) {
          ended = true;
          break;
        }
        runLeft = byte - 0xC0u;
        runValue = source[at++];
      }
      std::size_t count = std::min(runLeft, bytesPerLine - x);
      if (x < rowBytes) std::memset(row + x, runValue, std::min(count, rowBytes - x));
      x += count;
      runLeft -= count;
    }
  }
  reader.Seek(128 + at);  // the byte after the pixel data

  if (bitsPerPixel == 1) {
    raster.palette[0] = 0x000000;
    raster.palette[1] = 0xFFFFFF;
  } else {
    // Without a colour table the indices are shown as grey levels.
    for (unsigned i = 0; i < 256; ++i) raster.palette[i] = i << 16 | i << 8 | i;
    if (reader.Peek() == 0x0C) {
      reader.U8();
      if (const std::uint8_t* table = reader.Take(768)) ReadRgbTable(table, 256, raster.palette);
    }
  }
  out = std::move(raster);
  return nullptr;
}

}  // namespace tolvane::picture
