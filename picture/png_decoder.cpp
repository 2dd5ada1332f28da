// PNG through libpng's simplified reading interface, then blended over the box's background.
#include <png.h>

#include <cstring>

#include "picture/byte_reader.h"
#include "picture/decoders.h"

namespace tolvane::picture {

namespace {

// Releases libpng's read state on every path out (png_image_free accepts a freed image).
struct PngImageHolder {
  png_image image;
  PngImageHolder() {
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
  }
  ~PngImageHolder() { png_image_free(&image); }
  PngImageHolder(const PngImageHolder&) = delete;
  PngImageHolder& operator=(const PngImageHolder&) = delete;
};

}  // namespace

DecodeFailure DecodePng(const std::uint8_t* data, std::size_t size, Raster& out) {
  if (data == nullptr || size <= 7) return "too small";
  PngImageHolder holder;
  png_image& image = holder.image;
  if (!png_image_begin_read_from_memory(&image, data, size)) return "png header";
  if (!DimensionsAllowed(image.width, image.height)) return "dimensions";
  image.format = PNG_FORMAT_BGRA;
  Raster raster;
  raster.layout = Raster::Layout::Bgra32;
  raster.width = static_cast<int>(image.width);
  raster.height = static_cast<int>(image.height);
  raster.stride = static_cast<std::size_t>(raster.width) * 4;
  raster.pixels.resize(raster.stride * static_cast<std::size_t>(raster.height));
  if (!png_image_finish_read(&image, nullptr, raster.pixels.data(), 0, nullptr)) return "png data";
  out = std::move(raster);
  return nullptr;
}

void BlendOverBackground(Raster& raster, std::uint32_t background) {
  if (raster.layout != Raster::Layout::Bgra32) return;
  const unsigned backBlue = background & 0xFF, backGreen = (background >> 8) & 0xFF,
                 backRed = (background >> 16) & 0xFF;
  const std::size_t stride = PaddedRowBytes(raster.width, 24, 4);
  // In place: a Bgr24 row is never longer than the Bgra32 row it comes from, so each write
  // lands on bytes already read.
  std::uint8_t* pixels = raster.pixels.data();
  for (int y = 0; y < raster.height; ++y) {
    const std::uint8_t* source = pixels + raster.stride * static_cast<std::size_t>(y);
    std::uint8_t* target = pixels + stride * static_cast<std::size_t>(y);
    // Four bytes are stored per pixel: the fourth lands on this pixel's own, already read,
    // source bytes or on the next target pixel. The row's last pixel gets exactly three.
    const int last = raster.width - 1;
    auto convert = [&](const std::uint8_t* from, std::uint8_t* to, std::size_t count) {
      std::uint8_t bgr[4];
      std::memcpy(bgr, from, 4);
      const unsigned alpha = bgr[3];
      if (alpha != 255) {
        bgr[0] = BlendChannel(bgr[0], alpha, backBlue);
        bgr[1] = BlendChannel(bgr[1], alpha, backGreen);
        bgr[2] = BlendChannel(bgr[2], alpha, backRed);
      }
      std::memcpy(to, bgr, count);
    };
    int x = 0;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    // Two opaque pixels at a time (most of a picture): eight bytes in, six out (eight stored,
    // the last two on the next pixel's target bytes, which lie before its source bytes).
    for (; x + 1 < last; x += 2, source += 8, target += 6) {
      std::uint64_t pair;
      std::memcpy(&pair, source, 8);
      if ((pair & 0xFF000000FF000000ull) == 0xFF000000FF000000ull) {
        std::uint64_t packed = (pair & 0xFFFFFFull) | ((pair >> 8) & 0xFFFFFF000000ull);
        std::memcpy(target, &packed, 8);
      } else {
        convert(source, target, 4);
        convert(source + 4, target + 3, 4);
      }
    }
#endif
    for (; x <= last; ++x, source += 4, target += 3) convert(source, target, x < last ? 4 : 3);
    for (std::size_t pad = static_cast<std::size_t>(raster.width) * 3; pad < stride; ++pad)
      pixels[stride * static_cast<std::size_t>(y) + pad] = 0;
  }
  raster.layout = Raster::Layout::Bgr24;
  raster.stride = stride;
  raster.pixels.resize(stride * static_cast<std::size_t>(raster.height));
}

DecodeFailure DecodePngOverBackground(const std::uint8_t* data, std::size_t size,
                                      std::uint32_t background, Raster& out) {
  Raster raster;
  if (DecodeFailure failure = DecodePng(data, size, raster)) return failure;
  BlendOverBackground(raster, background);
  out = std::move(raster);
  return nullptr;
}

}  // namespace tolvane::picture
