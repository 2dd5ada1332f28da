#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

#include "picture/decoders.h"
#include "tests/picture/fixtures.h"
#include "tests/picture/pixel_at.h"

namespace tolvane::picture {
namespace {

using fixtures::ByteVector;

int ChannelDistance(std::uint32_t a, std::uint32_t b) {
  int worst = 0;
  for (int shift = 0; shift < 24; shift += 8)
    worst = std::max(worst, std::abs(static_cast<int>((a >> shift) & 255) - static_cast<int>((b >> shift) & 255)));
  return worst;
}

TEST(DecodeJpeg, ColourAndGreyscaleToBgr) {
  struct Case {
    const char* name;
    bool greyscale;
    bool progressive;
    std::uint32_t colour;
  } cases[] = {
      {"colour baseline", false, false, 0x336699},
      {"colour progressive", false, true, 0xC01040},
      {"greyscale", true, false, 0x008000},  // grey from the green channel
  };
  for (const Case& c : cases) {
    const int width = 21, height = 10;  // not a multiple of the block size
    ByteVector file = fixtures::EncodeJpeg(width, height, std::vector<std::uint32_t>(width * height, c.colour),
                                           c.greyscale, 100, c.progressive);
    Raster raster;
    ASSERT_EQ(DecodeJpeg(file.data(), file.size(), raster), nullptr) << c.name;
    EXPECT_EQ(raster.layout, Raster::Layout::Bgr24) << c.name;
    EXPECT_EQ(raster.width, width) << c.name;
    EXPECT_EQ(raster.height, height) << c.name;
    EXPECT_EQ(raster.stride, 64u) << c.name;
    std::uint32_t expected = c.greyscale ? 0x808080 : c.colour;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        std::uint32_t pixel = PixelAt(raster, x, y);
        ASSERT_LE(ChannelDistance(pixel, expected), 3) << c.name << " at " << x << "," << y;
        if (c.greyscale) {
          ASSERT_EQ(pixel & 0xFF, (pixel >> 8) & 0xFF);
          ASSERT_EQ(pixel & 0xFF, (pixel >> 16) & 0xFF);
        }
      }
  }
}

TEST(DecodeJpeg, DataCutShortKeepsTheDecodedPart) {
  const int width = 64, height = 64;
  for (bool progressive : {false, true}) {
    ByteVector file = fixtures::EncodeJpeg(width, height, fixtures::PatternColours(width, height), false, 90, progressive);
    Raster whole, cut;
    ASSERT_EQ(DecodeJpeg(file.data(), file.size(), whole), nullptr);
    // Cut in the middle of the last scan's entropy-coded data (a cut inside a table segment
    // between progressive scans is an error, not a short picture).
    std::size_t lastScan = 0;
    for (std::size_t i = 0; i + 1 < file.size(); ++i)
      if (file[i] == 0xFF && file[i + 1] == 0xDA) lastScan = i;
    std::size_t cutAt = progressive ? lastScan + (file.size() - lastScan) / 2 : file.size() * 2 / 3;
    DecodeFailure failure = DecodeJpeg(file.data(), cutAt, cut);
    ASSERT_EQ(failure, nullptr) << progressive << " " << failure;
    EXPECT_EQ(cut.width, width);
    EXPECT_EQ(cut.height, height);
    if (!progressive) {
      // The first rows come before the cut and decode exactly as in the whole file.
      EXPECT_EQ(std::memcmp(whole.pixels.data(), cut.pixels.data(), whole.stride * 8), 0);
    }
  }
}

ByteVector CmykJpeg() {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = 8;
  cinfo.image_height = 8;
  cinfo.input_components = 4;
  cinfo.in_color_space = JCS_CMYK;
  jpeg_set_defaults(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> row(32, 100);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  ByteVector out(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return out;
}

TEST(DecodeJpeg, Failures) {
  ByteVector good = fixtures::EncodeJpeg(16, 16, std::vector<std::uint32_t>(256, 0x123456));
  // Width and height in the start-of-frame segment, set to 60000 x 60000.
  ByteVector huge = good;
  for (std::size_t i = 0; i + 8 < huge.size(); ++i) {
    if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
      huge[i + 5] = huge[i + 7] = 0xEA;
      huge[i + 6] = huge[i + 8] = 0x60;
      break;
    }
  }
  ByteVector garbage = {0xFF, 0xD8, 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC};
  struct Case {
    const char* name;
    ByteVector bytes;
    const char* failure;
  } cases[] = {
      {"empty", {}, "empty"},
      {"start marker then garbage", garbage, "jpeg header"},
      {"start marker only", {0xFF, 0xD8}, "jpeg header"},
      {"60000 x 60000", huge, "dimensions"},
      {"four components", CmykJpeg(), "colour components"},
  };
  for (const Case& c : cases) {
    Raster raster;
    DecodeFailure failure = DecodeJpeg(c.bytes.data(), c.bytes.size(), raster);
    ASSERT_NE(failure, nullptr) << c.name;
    EXPECT_STREQ(failure, c.failure) << c.name;
    EXPECT_TRUE(raster.pixels.empty()) << c.name;
  }
}

TEST(BlendChannel, WholeNumberPartOfTheExactMix) {
  struct Case {
    unsigned channel, alpha, background, expected;
  } cases[] = {
      {200, 255, 17, 200},  {200, 0, 17, 17},     {255, 128, 0, 128},  {0, 128, 255, 127},
      {100, 1, 200, 199},   {255, 254, 0, 254},   {1, 254, 255, 1},    {128, 128, 128, 128},
      {10, 51, 250, 202},  // (10 * 51 + 250 * 204) / 255 = 202.0 exactly
  };
  for (const Case& c : cases)
    EXPECT_EQ(BlendChannel(c.channel, c.alpha, c.background), c.expected)
        << c.channel << " " << c.alpha << " " << c.background;
  // Never outside 0..255, and between the two inputs.
  for (unsigned a = 0; a < 256; a += 5)
    for (unsigned c = 0; c < 256; c += 3)
      for (unsigned b = 0; b < 256; b += 7) {
        unsigned v = BlendChannel(c, a, b);
        ASSERT_GE(v, std::min(c, b));
        ASSERT_LE(v, std::max(c, b));
      }
}

TEST(DecodePng, BlendedOverTheBackgroundWithAlpha255Untouched) {
  const std::uint32_t background = 0xD4D0C8;
  std::vector<std::uint32_t> argb = {0xFF123456, 0x00FFFFFF, 0x80FF0000, 0x01000000, 0xFE0A0B0C,
                                     0x7F00FF00, 0xFFFFFFFF};
  ByteVector file = fixtures::EncodePng(static_cast<int>(argb.size()), 1, argb);
  Raster unblended;
  ASSERT_EQ(DecodePng(file.data(), file.size(), unblended), nullptr);
  EXPECT_EQ(unblended.layout, Raster::Layout::Bgra32);
  for (std::size_t x = 0; x < argb.size(); ++x) EXPECT_EQ(PixelAt(unblended, static_cast<int>(x), 0), argb[x]);

  Raster raster;
  ASSERT_EQ(DecodePngOverBackground(file.data(), file.size(), background, raster), nullptr);
  EXPECT_EQ(raster.layout, Raster::Layout::Bgr24);
  EXPECT_EQ(raster.stride, 24u);
  for (std::size_t x = 0; x < argb.size(); ++x) {
    unsigned alpha = argb[x] >> 24;
    std::uint32_t expected = 0;
    for (int shift = 0; shift < 24; shift += 8)
      expected |= static_cast<std::uint32_t>(
                      BlendChannel((argb[x] >> shift) & 255, alpha, (background >> shift) & 255))
                  << shift;
    EXPECT_EQ(PixelAt(raster, static_cast<int>(x), 0), expected) << x;
  }
  EXPECT_EQ(PixelAt(raster, 0, 0), 0x123456u);
  EXPECT_EQ(PixelAt(raster, 1, 0), background);
}

TEST(DecodePng, OpaquePicturesOfSeveralWidths) {
  for (int width : {1, 2, 3, 5, 33}) {
    const int height = 4;
    std::vector<std::uint32_t> colours = fixtures::PatternColours(width, height);
    std::vector<std::uint32_t> argb = colours;
    for (auto& c : argb) c |= 0xFF000000;
    ByteVector file = fixtures::EncodePng(width, height, argb);
    Raster raster;
    ASSERT_EQ(DecodePngOverBackground(file.data(), file.size(), 0, raster), nullptr);
    ASSERT_EQ(raster.stride % 4, 0u);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        ASSERT_EQ(PixelAt(raster, x, y), colours[y * width + x]) << width << ": " << x << "," << y;
  }
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
  std::uint32_t crc = 0xFFFFFFFF;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

TEST(DecodePng, Failures) {
  ByteVector good = fixtures::EncodePng(4, 4, std::vector<std::uint32_t>(16, 0xFF00FF00));
  // IHDR asks for 30000 x 30000 (with a correct checksum) over the same small data.
  ByteVector huge = good;
  const std::uint8_t big[4] = {0, 0, 0x75, 0x30};
  std::memcpy(huge.data() + 16, big, 4);
  std::memcpy(huge.data() + 20, big, 4);
  std::uint32_t crc = Crc32(huge.data() + 12, 17);
  const std::uint8_t crcBytes[4] = {static_cast<std::uint8_t>(crc >> 24), static_cast<std::uint8_t>(crc >> 16),
                                    static_cast<std::uint8_t>(crc >> 8), static_cast<std::uint8_t>(crc)};
  std::memcpy(huge.data() + 29, crcBytes, 4);
  ByteVector corrupt = good;
  std::size_t data = std::search(good.begin(), good.end(), "IDAT", "IDAT" + 4) - good.begin() + 4;
  for (std::size_t i = data + 2; i < corrupt.size() - 12; ++i) corrupt[i] ^= 0x5A;
  ByteVector cut = good;
  cut.resize(good.size() - 20);
  struct Case {
    const char* name;
    ByteVector bytes;
    const char* failure;
  } cases[] = {
      {"seven bytes", ByteVector(good.begin(), good.begin() + 7), "too small"},
      {"signature only", ByteVector(good.begin(), good.begin() + 8), "png header"},
      {"30000 x 30000", huge, "dimensions"},
      {"corrupt image data", corrupt, "png data"},
      {"cut short", cut, "png data"},
  };
  for (const Case& c : cases) {
    Raster raster;
    DecodeFailure failure = DecodePngOverBackground(c.bytes.data(), c.bytes.size(), 0, raster);
    ASSERT_NE(failure, nullptr) << c.name;
    EXPECT_STREQ(failure, c.failure) << c.name;
  }
}

}  // namespace
}  // namespace tolvane::picture
