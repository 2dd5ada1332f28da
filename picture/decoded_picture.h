#pragma once
// What the picture box shows, decoded from the stored bytes once, when they are set.
// Portable: nothing here knows Win32. The box's window class (picture_box.cpp) turns these
// into device bitmaps and icons when it paints.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace tolvane::picture {

enum class PictureFormat { Unrecognised, Bmp, Jpeg, Png, Ico, Cur, Gif, Pcx8, Pcx1 };

// The first 8 bytes decide; fewer than 8 bytes are unrecognised.
PictureFormat DetectFormat(const std::uint8_t* data, std::size_t size);

// Decoded pixels at natural size, rows top-down, each row `stride` bytes long (a multiple of
// 4, as a device-independent bitmap row is).
struct Raster {
  enum class Layout {
    Bgr24,     // JPEG, BMP, and PNG once blended over the background
    Bgra32,    // PNG before blending
    Indexed8,  // PCX 8-bit, GIF frames: one palette index per byte
    Mono1,     // PCX 1-bit: most significant bit first
  };
  Layout layout = Layout::Bgr24;
  int width = 0;
  int height = 0;
  std::size_t stride = 0;
  std::vector<std::uint8_t> pixels;
  // Indexed8 and Mono1: 0x00RRGGBB per entry; every entry is defined (unused ones black).
  std::array<std::uint32_t, 256> palette{};
};

// Where the chosen image of an ICO or CUR file lies in the file's bytes.
// The offset and size are checked to lie inside the data, and the image's own header (or, for
// an image stored as PNG, its IHDR chunk) is checked to describe data that fits in `size`.
struct IconImage {
  std::size_t offset = 0;
  std::size_t size = 0;
  // Facts from the image's own header, not from the directory entry (the two may disagree;
  // the header is what the system's icon maker reads).
  int width = 0;          // the header's width
  int height = 0;         // half the header's height (the header counts the AND mask's rows)
  int bitCount = 0;       // bits per pixel of the colour (XOR) image: 1, 4, 8, 16, 24 or 32
  bool isPng = false;     // the image is a PNG stream (width and height from IHDR, bitCount 32)
};

class GifAnimation;  // picture/gif.h

// The result of decoding: at most one of these is set; none means "show the background".
struct DecodedPicture {
  PictureFormat format = PictureFormat::Unrecognised;
  std::optional<Raster> raster;               // JPEG, PNG (blended), BMP, PCX, still GIF
  std::optional<IconImage> icon;              // ICO, CUR: made into an icon by the box
  std::shared_ptr<GifAnimation> animation;    // a GIF of more than one frame
};

// Detects the format and decodes. `background` (0x00RRGGBB) is the box's background colour,
// over which PNG transparency is blended. Never throws; failure gives an empty result.
DecodedPicture DecodePicture(const std::uint8_t* data, std::size_t size, std::uint32_t background);

}  // namespace tolvane::picture
