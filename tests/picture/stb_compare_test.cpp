// Pixel comparison with a second, independent decoder (stb_image) on the same files.
#include <gtest/gtest.h>

#include <stb_image.h>

#include <cstdlib>

#include "picture/decoders.h"
#include "picture/gif.h"
#include "tests/picture/fixtures.h"
#include "tests/picture/pixel_at.h"

namespace tolvane::picture {
namespace {

using fixtures::ByteVector;

struct StbPixels {
  int width = 0, height = 0;
  std::vector<std::uint32_t> argb;
};

StbPixels DecodeWithStb(const ByteVector& file) {
  StbPixels out;
  int components = 0;
  unsigned char* pixels = stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &out.width,
                                                &out.height, &components, 4);
  if (pixels == nullptr) return out;
  for (int i = 0; i < out.width * out.height; ++i) {
    const unsigned char* p = pixels + i * 4;
    out.argb.push_back(static_cast<std::uint32_t>(p[3]) << 24 | static_cast<std::uint32_t>(p[0]) << 16 |
                       p[1] << 8 | p[2]);
  }
  stbi_image_free(pixels);
  return out;
}

// Largest channel difference over the picture; -1 when the sizes differ.
int WorstDifference(const Raster& raster, const StbPixels& stb, bool withAlpha = false) {
  if (raster.width != stb.width || raster.height != stb.height) return -1;
  int worst = 0;
  for (int y = 0; y < raster.height; ++y)
    for (int x = 0; x < raster.width; ++x) {
      std::uint32_t ours = PixelAt(raster, x, y), theirs = stb.argb[y * stb.width + x];
      for (int shift = 0; shift < (withAlpha ? 32 : 24); shift += 8)
        worst = std::max(worst, std::abs(static_cast<int>((ours >> shift) & 255) -
                                         static_cast<int>((theirs >> shift) & 255)));
    }
  return worst;
}

TEST(SameAsStbImage, Bmp) {
  for (int bits : {1, 4, 8, 24, 32}) {
    for (int height : {7, -7}) {
      fixtures::BmpRecipe recipe;
      recipe.width = 13;
      recipe.height = height;
      recipe.bitCount = bits;
      if (bits <= 8) {
        recipe.palette = fixtures::PatternPalette(1 << bits);
        recipe.indices = fixtures::PatternIndices(13, 7, 1 << bits);
      } else {
        recipe.colours = fixtures::PatternColours(13, 7);
        for (auto& c : recipe.colours) c |= 0xFF000000;
      }
      ByteVector file = fixtures::WriteBmp(recipe);
      Raster raster;
      ASSERT_EQ(DecodeBmp(file.data(), file.size(), raster), nullptr);
      EXPECT_EQ(WorstDifference(raster, DecodeWithStb(file)), 0) << bits << " bits, height " << height;
    }
  }
}

TEST(SameAsStbImage, GifFirstFrame) {
  struct Case {
    int width, height, colours;
    bool interlaced;
  } cases[] = {{1, 1, 2, false}, {37, 23, 16, false}, {37, 23, 256, true}, {250, 180, 256, false}};
  for (const Case& c : cases) {
    fixtures::GifRecipe recipe;
    recipe.width = c.width;
    recipe.height = c.height;
    recipe.globalPalette = fixtures::PatternPalette(c.colours);
    fixtures::GifFrameRecipe frame;
    frame.width = c.width;
    frame.height = c.height;
    frame.interlaced = c.interlaced;
    frame.indices = fixtures::PatternIndices(c.width, c.height, c.colours);
    for (std::size_t i = 0; i < frame.indices.size(); i += 7) frame.indices[i] = static_cast<std::uint8_t>(i * 13 % c.colours);
    recipe.frames.push_back(frame);
    ByteVector file = fixtures::WriteGif(recipe);
    auto gif = GifAnimation::Parse(file.data(), file.size());
    ASSERT_TRUE(gif);
    EXPECT_EQ(WorstDifference(gif->still(), DecodeWithStb(file)), 0) << c.width << "x" << c.height;
  }
}

TEST(SameAsStbImage, PngWithAlpha) {
  std::vector<std::uint32_t> argb = fixtures::PatternColours(29, 11);
  for (std::size_t i = 0; i < argb.size(); ++i) argb[i] |= static_cast<std::uint32_t>(i * 37 % 256) << 24;
  ByteVector file = fixtures::EncodePng(29, 11, argb);
  Raster raster;
  ASSERT_EQ(DecodePng(file.data(), file.size(), raster), nullptr);
  EXPECT_EQ(WorstDifference(raster, DecodeWithStb(file), true), 0);
}

TEST(SameAsStbImage, JpegWithinRoundingOfTheInverseTransform) {
  for (bool greyscale : {false, true}) {
    ByteVector file = fixtures::EncodeJpeg(61, 43, fixtures::PatternColours(61, 43), greyscale, 95);
    Raster raster;
    ASSERT_EQ(DecodeJpeg(file.data(), file.size(), raster), nullptr);
    int worst = WorstDifference(raster, DecodeWithStb(file));
    EXPECT_GE(worst, 0);
    EXPECT_LE(worst, 12) << (greyscale ? "greyscale" : "colour");
  }
}

}  // namespace
}  // namespace tolvane::picture
