#pragma once
// Writers of small picture files for the tests, the fuzz seed corpus and the benchmarks:
// BMP, GIF, PCX and ICO are written by hand here; JPEG and PNG are encoded with libjpeg and
// libpng. Builds natively and with MinGW. Colours are 0x00RRGGBB unless said otherwise.
#include <cstdint>
#include <utility>
#include <vector>

namespace tolvane::picture::fixtures {

using ByteVector = std::vector<std::uint8_t>;

// ---- BMP ----
struct BmpRecipe {
  int width = 0;
  int height = 0;                // written as given: negative means rows top-down
  int bitCount = 24;             // 1, 4, 8, 24, 32 (others are written as asked, for failures)
  std::uint32_t compression = 0;
  std::uint32_t headerSize = 40; // bytes 40.. are zero-filled when larger
  std::vector<std::uint32_t> palette;  // the colour table written (bits <= 8)
  std::uint32_t coloursUsed = 0;       // the header's field; 0 means 2^bitCount
  std::int64_t pixelOffset = -1;       // -1: right after the colour table
  // Pixels in display order (top row first): indices for bits <= 8, colours otherwise.
  std::vector<std::uint8_t> indices;
  std::vector<std::uint32_t> colours;
};
ByteVector WriteBmp(const BmpRecipe& recipe);

// ---- GIF ----
struct GifFrameRecipe {
  int left = 0, top = 0, width = 0, height = 0;
  std::vector<std::uint8_t> indices;  // width * height, display order (top row first)
  std::vector<std::uint32_t> localPalette;  // empty: no local colour table
  bool interlaced = false;
  bool control = false;               // write a graphic control extension before the frame
  int disposal = 0;
  bool transparent = false;
  int transparentIndex = 0;
  int delay = 0;                      // hundredths of a second
  int minCodeSize = 0;                // 0: from the colour table size (at least 2)
  ByteVector rawData;                 // non-empty: written instead of the encoded LZW data
                                      // (minimum code size byte and sub-blocks included)
};
struct GifRecipe {
  int width = 0, height = 0;
  std::vector<std::uint32_t> globalPalette;  // empty: no global colour table
  int backgroundIndex = 0;
  bool gif89 = true;
  bool loopExtension = false;         // a NETSCAPE2.0 application extension (loop once)
  bool comment = false;               // a comment extension before the first frame
  std::vector<GifFrameRecipe> frames;
  bool trailer = true;
};
ByteVector WriteGif(const GifRecipe& recipe);
// LZW-encodes display-order indices into a frame's data: the minimum code size byte and the
// sub-blocks with their terminator. Rows are reordered when `interlaced` and `width` given.
ByteVector EncodeGifLzw(const std::vector<std::uint8_t>& indices, int minCodeSize,
                        bool interlaced = false, int width = 0);
// Packs (code, bit width) pairs least significant bit first into frame data as above, for
// hand-made hostile code streams.
ByteVector PackGifCodes(int minCodeSize, const std::vector<std::pair<int, int>>& codes);

// ---- PCX ----
struct PcxRecipe {
  int version = 5;
  int bitsPerPixel = 8;   // 8 or 1
  int planes = 1;
  int xMin = 0, yMin = 0, xMax = 0, yMax = 0;
  int bytesPerLine = 0;   // 0: the width's bytes rounded up to even
  // Pixels in display order: width * height indices (0/1 for one bit per pixel).
  std::vector<std::uint8_t> indices;
  std::vector<std::uint32_t> palette;  // 8 bits: written after a 0C byte when not empty
  ByteVector rawData;     // non-empty: written as the pixel data instead of encoding `indices`
};
ByteVector WritePcx(const PcxRecipe& recipe);

// ---- ICO / CUR ----
// A device-independent image as an icon resource holds it: a 40-byte header whose height is
// twice the image's, the colour table, the XOR rows and the AND mask rows (bottom-up).
struct IconImageRecipe {
  int width = 32, height = 32;
  int bitCount = 32;
  std::vector<std::uint32_t> palette;  // bits <= 8; 2^bitCount entries written when empty
  std::vector<std::uint32_t> pixels;   // display order; 0xAARRGGBB for 32 bits, else an index
                                       // (bits <= 8) or 0x00RRGGBB; empty: all zero
  std::vector<std::uint8_t> mask;      // display order, 1 = transparent; empty: all opaque
  int andMaskRowsKept = -1;            // fewer rows than the height cuts the AND mask short
};
ByteVector MakeIconImage(const IconImageRecipe& recipe);
struct IconEntryRecipe {
  int width = 32, height = 32;   // the directory's (256 written as 0)
  int colourCount = 0;
  int planesOrHotspotX = 1;
  int bitCountOrHotspotY = 32;
  ByteVector image;
  std::int64_t offset = -1;      // -1: where the writer puts the image
  std::int64_t size = -1;        // -1: the image's size
};
ByteVector WriteIcon(const std::vector<IconEntryRecipe>& entries, int type = 1);  // 2: cursor

// ---- JPEG / PNG (encoded with the libraries) ----
// rgb: width * height 0x00RRGGBB. Greyscale writes one component (from the green channel).
ByteVector EncodeJpeg(int width, int height, const std::vector<std::uint32_t>& rgb,
                      bool greyscale = false, int quality = 90, bool progressive = false);
// argb: width * height 0xAARRGGBB, written as 8-bit RGBA.
ByteVector EncodePng(int width, int height, const std::vector<std::uint32_t>& argb);

// A deterministic test pattern of width * height 0x00RRGGBB colours, and of palette indices
// below `colours`.
std::vector<std::uint32_t> PatternColours(int width, int height);
std::vector<std::uint8_t> PatternIndices(int width, int height, int colours);
// A palette of `count` distinct colours.
std::vector<std::uint32_t> PatternPalette(int count);

}  // namespace tolvane::picture::fixtures
