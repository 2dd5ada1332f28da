#pragma once
// The decoder of each format, below DecodePicture. Each returns null on success or a short,
// stable reason for its failure; on failure the output is left empty.
#include <cstddef>
#include <cstdint>

#include "picture/decoded_picture.h"

namespace tolvane::picture {

using DecodeFailure = const char*;

// JPEG to Bgr24. Greyscale is repeated into the three channels; data that ends inside the
// image keeps what was decoded. Output with other component counts (CMYK, YCCK) is refused.
DecodeFailure DecodeJpeg(const std::uint8_t* data, std::size_t size, Raster& out);

// PNG to Bgra32, unblended (8-bit BGRA, rows packed to width * 4 bytes).
DecodeFailure DecodePng(const std::uint8_t* data, std::size_t size, Raster& out);
// PNG to Bgr24, each pixel blended over `background` (0x00RRGGBB).
DecodeFailure DecodePngOverBackground(const std::uint8_t* data, std::size_t size,
                                      std::uint32_t background, Raster& out);
// One channel blended: the whole-number part of channel * alpha / 255 +
// background * (1 - alpha / 255), computed exactly.
inline std::uint8_t BlendChannel(unsigned channel, unsigned alpha, unsigned background) {
  return static_cast<std::uint8_t>((channel * alpha + background * (255 - alpha)) / 255);
}
// Turns a Bgra32 raster into Bgr24 blended over `background`; pixels with alpha 255 are kept
// as they are. Works in place in the raster's own buffer.
void BlendOverBackground(Raster& raster, std::uint32_t background);

// BMP (uncompressed; 1, 4, 8, 24 and 32 bits per pixel) to Bgr24.
DecodeFailure DecodeBmp(const std::uint8_t* data, std::size_t size, Raster& out);

// PCX of 8 bits per pixel (one plane) to Indexed8, or of 1 bit (one plane) to Mono1.
DecodeFailure DecodePcx(const std::uint8_t* data, std::size_t size, Raster& out);

// ICO and CUR: the chosen entry (the first 32 pixels wide with a colour count above 15, else
// the last), checked to lie in the data and to hold the image its header describes.
DecodeFailure ChooseIconImage(const std::uint8_t* data, std::size_t size, IconImage& out);

}  // namespace tolvane::picture
