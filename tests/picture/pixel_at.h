#pragma once
// Reads one pixel of a decoded raster as 0x00RRGGBB, whatever its layout.
#include <cstdint>

#include "picture/decoded_picture.h"

namespace tolvane::picture {

inline std::uint32_t PixelAt(const Raster& raster, int x, int y) {
  const std::uint8_t* row = raster.pixels.data() + raster.stride * static_cast<std::size_t>(y);
  switch (raster.layout) {
    case Raster::Layout::Bgr24:
      return static_cast<std::uint32_t>(row[x * 3 + 2]) << 16 | row[x * 3 + 1] << 8 | row[x * 3];
    case Raster::Layout::Bgra32:
      return static_cast<std::uint32_t>(row[x * 4 + 3]) << 24 |
             static_cast<std::uint32_t>(row[x * 4 + 2]) << 16 | row[x * 4 + 1] << 8 | row[x * 4];
    case Raster::Layout::Indexed8:
      return raster.palette[row[x]];
    case Raster::Layout::Mono1:
      return raster.palette[(row[x / 8] >> (7 - x % 8)) & 1];
  }
  return 0;
}

}  // namespace tolvane::picture
