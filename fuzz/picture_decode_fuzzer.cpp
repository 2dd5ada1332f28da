// Detection and every decoder, as the picture box reaches them.
#include <cstddef>
#include <cstdint>

#include "picture/decoded_picture.h"
#include "picture/gif.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tolvane::picture;
  DecodedPicture picture = DecodePicture(data, size, 0xD4D0C8);
  if (picture.raster) {
    // Touch every byte the raster claims to have.
    const Raster& raster = *picture.raster;
    volatile std::uint8_t sum = 0;
    if (raster.stride * static_cast<std::size_t>(raster.height) > raster.pixels.size()) __builtin_trap();
    for (std::uint8_t byte : raster.pixels) sum = static_cast<std::uint8_t>(sum + byte);
  }
  if (picture.icon) {
    if (picture.icon->offset + picture.icon->size > size) __builtin_trap();
  }
  if (picture.animation) {
    GifCompositor compositor(picture.animation, 0xD4D0C8);
    for (int i = 0; i < 3; ++i) compositor.Step();
  }
  return 0;
}
