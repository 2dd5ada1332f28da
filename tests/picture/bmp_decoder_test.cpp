#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "picture/decoders.h"
#include "tests/picture/fixtures.h"
#include "tests/picture/pixel_at.h"

namespace tolvane::picture {
namespace {

using fixtures::BmpRecipe;
using fixtures::WriteBmp;

BmpRecipe PatternBmp(int bits, int width, int height) {
  BmpRecipe recipe;
  recipe.width = width;
  recipe.height = height;
  recipe.bitCount = bits;
  int rows = height < 0 ? -height : height;
  if (bits <= 8) {
    recipe.palette = fixtures::PatternPalette(1 << bits);
    recipe.indices = fixtures::PatternIndices(width, rows, 1 << bits);
  } else {
    recipe.colours = fixtures::PatternColours(width, rows);
    if (bits == 32)
      for (auto& c : recipe.colours) c |= 0x5A000000;  // the fourth byte is not alpha here
  }
  return recipe;
}

std::uint32_t Expected(const BmpRecipe& recipe, int x, int y) {
  std::size_t at = static_cast<std::size_t>(y) * recipe.width + x;
  if (recipe.bitCount > 8) return recipe.colours[at] & 0xFFFFFF;
  std::size_t index = recipe.indices[at];
  std::size_t entries = recipe.coloursUsed ? recipe.coloursUsed : recipe.palette.size();
  return index < entries && index < recipe.palette.size() ? recipe.palette[index] : 0;
}

void ExpectPixels(const BmpRecipe& recipe, const Raster& raster, const char* name) {
  int rows = recipe.height < 0 ? -recipe.height : recipe.height;
  ASSERT_EQ(raster.layout, Raster::Layout::Bgr24) << name;
  ASSERT_EQ(raster.width, recipe.width) << name;
  ASSERT_EQ(raster.height, rows) << name;
  ASSERT_EQ(raster.stride % 4, 0u) << name;
  ASSERT_GE(raster.stride, static_cast<std::size_t>(recipe.width) * 3) << name;
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < recipe.width; ++x)
      ASSERT_EQ(PixelAt(raster, x, y), Expected(recipe, x, y)) << name << " at " << x << "," << y;
}

TEST(DecodeBmp, EveryBitDepthAndRowPadding) {
  struct Case {
    int bits, width, height;
    std::uint32_t headerSize;
  } cases[] = {
      {1, 13, 5, 40}, {1, 32, 2, 40}, {4, 7, 3, 40},  {4, 9, 4, 40},   {8, 5, 3, 40},
      {8, 64, 2, 40}, {24, 1, 1, 40}, {24, 5, 4, 40}, {32, 3, 3, 40},
      // A larger header (BITMAPV5HEADER): the colour table follows the whole header.
      {8, 6, 2, 124}, {24, 3, 2, 108},
      // A negative height stores rows top-down.
      {8, 6, -3, 40}, {24, 5, -2, 40},
  };
  for (const Case& c : cases) {
    BmpRecipe recipe = PatternBmp(c.bits, c.width, c.height);
    recipe.headerSize = c.headerSize;
    fixtures::ByteVector file = WriteBmp(recipe);
    Raster raster;
    std::string name = std::to_string(c.bits) + " bits " + std::to_string(c.width) + "x" +
                       std::to_string(c.height) + " header " + std::to_string(c.headerSize);
    ASSERT_EQ(DecodeBmp(file.data(), file.size(), raster), nullptr) << name;
    ExpectPixels(recipe, raster, name.c_str());
  }
}

TEST(DecodeBmp, ColourTableFollowsColoursUsedAndIndicesPastItAreBlack) {
  BmpRecipe recipe = PatternBmp(8, 8, 2);
  recipe.palette.resize(3);
  recipe.coloursUsed = 3;
  for (std::size_t i = 0; i < recipe.indices.size(); ++i) recipe.indices[i] = static_cast<std::uint8_t>(i * 37);
  fixtures::ByteVector file = WriteBmp(recipe);
  Raster raster;
  ASSERT_EQ(DecodeBmp(file.data(), file.size(), raster), nullptr);
  ExpectPixels(recipe, raster, "three colours");

  // A pixel offset past the table's end is skipped to.
  recipe.pixelOffset = 14 + 40 + 3 * 4 + 10;
  file = WriteBmp(recipe);
  ASSERT_EQ(DecodeBmp(file.data(), file.size(), raster), nullptr);
  ExpectPixels(recipe, raster, "gap before the pixels");

  // A table longer than 256 entries that fits in the file is read past; indices use its
  // first 256 entries.
  recipe.palette = fixtures::PatternPalette(256);
  recipe.palette.resize(300, 0x123456);
  recipe.coloursUsed = 300;
  recipe.pixelOffset = -1;
  file = WriteBmp(recipe);
  ASSERT_EQ(DecodeBmp(file.data(), file.size(), raster), nullptr);
  ExpectPixels(recipe, raster, "300 colours");
}

TEST(DecodeBmp, RefusesWhatItCannotShowSafely) {
  struct Case {
    const char* name;
    BmpRecipe recipe;
    std::size_t cutTo;  // 0: whole file
    const char* failure;
  };
  auto with = [](BmpRecipe recipe, auto change) {
    change(recipe);
    return recipe;
  };
  BmpRecipe base = PatternBmp(8, 4, 4);
  std::vector<Case> cases = {
      {"run-length compression", with(base, [](BmpRecipe& s) { s.compression = 1; }), 0, "compressed"},
      {"16 bits per pixel", with(PatternBmp(24, 4, 4), [](BmpRecipe& s) { s.bitCount = 16; }), 0, "bit count"},
      {"2 bits per pixel", with(base, [](BmpRecipe& s) { s.bitCount = 2; }), 0, "bit count"},
      {"core header", with(base, [](BmpRecipe& s) { s.headerSize = 12; }), 0, "header size"},
      {"height INT_MIN", with(base, [](BmpRecipe& s) { s.height = INT_MIN; s.indices.clear(); }), 0, "dimensions"},
      {"width INT_MIN", with(base, [](BmpRecipe& s) { s.width = INT_MIN; s.indices.clear(); }), 0, "dimensions"},
      {"zero width", with(base, [](BmpRecipe& s) { s.width = 0; s.indices.clear(); }), 0, "dimensions"},
      {"zero height", with(base, [](BmpRecipe& s) { s.height = 0; s.indices.clear(); }), 0, "dimensions"},
      {"gigapixels from a tiny file",
       with(PatternBmp(24, 1, 1), [](BmpRecipe& s) { s.width = 60000; s.height = 60000; s.colours.clear(); }),
       0, "dimensions"},
      {"rows asked for but not there",
       with(PatternBmp(24, 1, 1), [](BmpRecipe& s) { s.width = 16384; s.height = 4096; s.colours.clear(); }),
       0, "truncated pixels"},
      {"colour table of 300 entries, pixels right after 256",
       with(PatternBmp(8, 16, 16), [](BmpRecipe& s) { s.coloursUsed = 300; }), 0, "pixel offset inside the colour table"},
      {"colour table of 4G entries", with(base, [](BmpRecipe& s) { s.coloursUsed = 0xFFFFFFFF; }), 0,
       "truncated colour table"},
      {"colour table that does not fit",
       with(base, [](BmpRecipe& s) { s.coloursUsed = 200; s.palette.resize(2); s.indices.clear(); s.height = 1; s.width = 1; }),
       0, "truncated colour table"},
      {"pixel offset inside the colour table", with(base, [](BmpRecipe& s) { s.pixelOffset = 14 + 40 + 100; }), 0,
       "pixel offset inside the colour table"},
      {"pixel offset past the end", with(base, [](BmpRecipe& s) { s.pixelOffset = 1 << 20; s.indices.clear(); s.width = s.height = 1; }),
       0, "pixel offset past the end"},
      {"last row cut short", base, 14 + 40 + 1024 + 15, "truncated pixels"},
      {"header cut short", base, 30, "truncated header"},
  };
  // pixelOffset past the end: the writer pads up to it, so cut the file back.
  for (Case& c : cases)
    if (std::string(c.name) == "pixel offset past the end") c.cutTo = 14 + 40 + 1024 + 8;
  for (const Case& c : cases) {
    fixtures::ByteVector file = WriteBmp(c.recipe);
    if (c.cutTo != 0 && c.cutTo < file.size()) file.resize(c.cutTo);
    Raster raster;
    DecodeFailure failure = DecodeBmp(file.data(), file.size(), raster);
    ASSERT_NE(failure, nullptr) << c.name;
    EXPECT_STREQ(failure, c.failure) << c.name;
    EXPECT_TRUE(raster.pixels.empty()) << c.name;
  }
}

}  // namespace
}  // namespace tolvane::picture
