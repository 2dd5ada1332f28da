#include <gtest/gtest.h>

#include "picture/decoders.h"
#include "tests/picture/fixtures.h"
#include "tests/picture/pixel_at.h"

namespace tolvane::picture {
namespace {

using fixtures::PcxRecipe;
using fixtures::WritePcx;

PcxRecipe PatternPcx(int bits, int width, int height) {
  PcxRecipe recipe;
  recipe.bitsPerPixel = bits;
  recipe.version = bits == 8 ? 5 : 3;
  recipe.xMin = 3;
  recipe.yMin = 2;
  recipe.xMax = 3 + width - 1;
  recipe.yMax = 2 + height - 1;
  recipe.indices = fixtures::PatternIndices(width, height, bits == 8 ? 256 : 2);
  if (bits == 8) recipe.palette = fixtures::PatternPalette(256);
  return recipe;
}

void ExpectIndices(const PcxRecipe& recipe, const Raster& raster, const char* name) {
  int width = recipe.xMax - recipe.xMin + 1, height = recipe.yMax - recipe.yMin + 1;
  ASSERT_EQ(raster.width, width) << name;
  ASSERT_EQ(raster.height, height) << name;
  ASSERT_EQ(raster.stride % 4, 0u) << name;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      std::uint8_t index = recipe.indices[static_cast<std::size_t>(y) * width + x];
      std::uint32_t expected = recipe.bitsPerPixel == 1 ? (index ? 0xFFFFFFu : 0u)
                                                      : recipe.palette[index];
      ASSERT_EQ(PixelAt(raster, x, y), expected) << name << " at " << x << "," << y;
    }
}

TEST(DecodePcx, EightAndOneBitPicturesWithPaddedRows) {
  struct Case {
    int bits, width, height;
  } cases[] = {{8, 1, 1}, {8, 5, 3}, {8, 64, 4}, {8, 130, 2}, {1, 1, 1}, {1, 9, 3}, {1, 17, 2}, {1, 40, 5}};
  for (const Case& c : cases) {
    PcxRecipe recipe = PatternPcx(c.bits, c.width, c.height);
    fixtures::ByteVector file = WritePcx(recipe);
    std::string name = std::to_string(c.bits) + " bits " + std::to_string(c.width) + "x" + std::to_string(c.height);
    Raster raster;
    ASSERT_EQ(DecodePcx(file.data(), file.size(), raster), nullptr) << name;
    EXPECT_EQ(raster.layout, c.bits == 8 ? Raster::Layout::Indexed8 : Raster::Layout::Mono1) << name;
    ExpectIndices(recipe, raster, name.c_str());
  }
}

TEST(DecodePcx, MonochromeIsBlackForClearBitsAndWhiteForSet) {
  PcxRecipe recipe = PatternPcx(1, 8, 1);
  recipe.indices = {0, 1, 1, 0, 0, 0, 1, 0};
  fixtures::ByteVector file = WritePcx(recipe);
  Raster raster;
  ASSERT_EQ(DecodePcx(file.data(), file.size(), raster), nullptr);
  EXPECT_EQ(raster.palette[0], 0x000000u);
  EXPECT_EQ(raster.palette[1], 0xFFFFFFu);
  EXPECT_EQ(raster.pixels[0], 0x62);
}

TEST(DecodePcx, RunsAcrossRowsAndPastTheImage) {
  // 4x2 picture, bytes per line 4: one run of 6 covers row 0 and half of row 1; the last run
  // asks for 60 bytes where 2 remain. The colour table still follows.
  PcxRecipe recipe = PatternPcx(8, 4, 2);
  recipe.bytesPerLine = 4;
  recipe.rawData = {0xC6, 9, 0xFC, 7};
  fixtures::ByteVector file = WritePcx(recipe);
  Raster raster;
  ASSERT_EQ(DecodePcx(file.data(), file.size(), raster), nullptr);
  recipe.indices = {9, 9, 9, 9, 9, 9, 7, 7};
  ExpectIndices(recipe, raster, "runs");

  // Bytes per line wider than the picture: the padding bytes are dropped, not shown.
  recipe.bytesPerLine = 6;
  recipe.rawData = {1, 2, 3, 4, 0xC2, 0xEE, 5, 6, 7, 8, 0xC2, 0xEE};
  file = WritePcx(recipe);
  ASSERT_EQ(DecodePcx(file.data(), file.size(), raster), nullptr);
  recipe.indices = {1, 2, 3, 4, 5, 6, 7, 8};
  ExpectIndices(recipe, raster, "padding");

  // Data that ends early keeps what arrived; the rest is index 0.
  recipe.bytesPerLine = 4;
  recipe.palette.clear();
  recipe.rawData = {1, 2, 3};
  file = WritePcx(recipe);
  ASSERT_EQ(DecodePcx(file.data(), file.size(), raster), nullptr);
  EXPECT_EQ(raster.pixels[2], 3);
  EXPECT_EQ(raster.pixels[3], 0);
  EXPECT_EQ(raster.pixels[raster.stride], 0);
}

TEST(DecodePcx, ColourTableOnlyWhenIntroducedByTheMarker) {
  PcxRecipe recipe = PatternPcx(8, 3, 1);
  recipe.indices = {0, 1, 255};
  fixtures::ByteVector file = WritePcx(recipe);
  Raster raster;
  ASSERT_EQ(DecodePcx(file.data(), file.size(), raster), nullptr);
  EXPECT_EQ(raster.palette[255], recipe.palette[255]);

  // No table: grey levels. A marker without its 768 bytes: the same.
  recipe.palette.clear();
  file = WritePcx(recipe);
  ASSERT_EQ(DecodePcx(file.data(), file.size(), raster), nullptr);
  EXPECT_EQ(raster.palette[1], 0x010101u);
  file.push_back(0x0C);
  file.insert(file.end(), 700, 0x55);
  ASSERT_EQ(DecodePcx(file.data(), file.size(), raster), nullptr);
  EXPECT_EQ(raster.palette[255], 0xFFFFFFu);
}

TEST(DecodePcx, RefusesBadHeaders) {
  struct Case {
    const char* name;
    PcxRecipe recipe;
    const char* failure;
  };
  auto with = [](PcxRecipe recipe, auto change) {
    change(recipe);
    return recipe;
  };
  PcxRecipe base = PatternPcx(8, 4, 4);
  Case cases[] = {
      {"x corners reversed", with(base, [](PcxRecipe& s) { s.xMin = 10; s.xMax = 2; s.rawData = {0}; }), "corners out of order"},
      {"y corners reversed", with(base, [](PcxRecipe& s) { s.yMin = 10; s.yMax = 2; s.rawData = {0}; }), "corners out of order"},
      {"bytes per line below the width", with(base, [](PcxRecipe& s) { s.bytesPerLine = 3; }), "bytes per line below the width"},
      {"one bit, bytes per line below the width",
       with(PatternPcx(1, 17, 2), [](PcxRecipe& s) { s.bytesPerLine = 2; }), "bytes per line below the width"},
      {"three planes", with(base, [](PcxRecipe& s) { s.planes = 3; }), "planes"},
      {"4 bits per pixel", with(base, [](PcxRecipe& s) { s.bitsPerPixel = 4; }), "bits per pixel"},
      {"65536 wide and tall from a few bytes",
       with(base, [](PcxRecipe& s) { s.xMin = 0; s.xMax = 65535; s.yMax = 65535; s.bytesPerLine = 65535; s.rawData = {0}; }),
       "dimensions"},
  };
  for (const Case& c : cases) {
    fixtures::ByteVector file = WritePcx(c.recipe);
    Raster raster;
    DecodeFailure failure = DecodePcx(file.data(), file.size(), raster);
    ASSERT_NE(failure, nullptr) << c.name;
    EXPECT_STREQ(failure, c.failure) << c.name;
  }
  // 128 bytes or fewer: a header without pixels.
  fixtures::ByteVector file = WritePcx(base);
  file.resize(128);
  Raster raster;
  EXPECT_STREQ(DecodePcx(file.data(), file.size(), raster), "too small");
}

}  // namespace
}  // namespace tolvane::picture
