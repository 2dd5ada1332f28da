#include <gtest/gtest.h>

#include <cstring>

#include "picture/decoders.h"
#include "tests/picture/fixtures.h"

namespace tolvane::picture {
namespace {

using fixtures::ByteVector;
using fixtures::IconEntryRecipe;
using fixtures::IconImageRecipe;

ByteVector Image(int width, int height, int bits) {
  IconImageRecipe recipe;
  recipe.width = width;
  recipe.height = height;
  recipe.bitCount = bits;
  return fixtures::MakeIconImage(recipe);
}

IconEntryRecipe Entry(int width, int colourCount, int bits = 8) {
  IconEntryRecipe entry;
  entry.width = entry.height = width;
  entry.colourCount = colourCount;
  entry.bitCountOrHotspotY = bits;
  entry.image = Image(width == 0 ? 256 : width, width == 0 ? 256 : width, bits);
  return entry;
}

// Offset of entry `index` as the writer lays the images out.
std::size_t OffsetOf(const std::vector<IconEntryRecipe>& entries, std::size_t index) {
  std::size_t offset = 6 + 16 * entries.size();
  for (std::size_t i = 0; i < index; ++i) offset += entries[i].image.size();
  return offset;
}

TEST(ChooseIconImage, FirstThirtyTwoWideWithMoreThanFifteenColoursElseTheLast) {
  struct Case {
    const char* name;
    std::vector<IconEntryRecipe> entries;
    std::size_t chosen;
  };
  Case cases[] = {
      {"16 and 32 of 256 colours (count 0): the last", {Entry(16, 0), Entry(32, 0)}, 1},
      {"32 of 16 colours first", {Entry(32, 16, 4), Entry(16, 0)}, 0},
      {"the first of two that fit", {Entry(16, 16), Entry(32, 200), Entry(32, 16, 4)}, 1},
      {"15 colours is not enough", {Entry(32, 15, 4), Entry(48, 0)}, 1},
      {"256 wide (0) does not fit", {Entry(0, 16, 32), Entry(16, 0)}, 1},
      {"only entry", {Entry(48, 0, 32)}, 0},
  };
  for (int type : {1, 2}) {
    for (const Case& c : cases) {
      ByteVector file = fixtures::WriteIcon(c.entries, type);
      IconImage icon;
      ASSERT_EQ(ChooseIconImage(file.data(), file.size(), icon), nullptr) << c.name;
      const IconEntryRecipe& expected = c.entries[c.chosen];
      EXPECT_EQ(icon.offset, OffsetOf(c.entries, c.chosen)) << c.name;
      EXPECT_EQ(icon.size, expected.image.size()) << c.name;
      EXPECT_EQ(icon.width, expected.width == 0 ? 256 : expected.width) << c.name;
      EXPECT_EQ(icon.height, expected.width == 0 ? 256 : expected.width) << c.name;
      EXPECT_EQ(icon.bitCount, expected.bitCountOrHotspotY) << c.name;
      EXPECT_FALSE(icon.isPng) << c.name;
    }
  }
}

TEST(ChooseIconImage, FactsComeFromTheImageHeaderNotTheDirectory) {
  // The directory says 16 x 16, 8 bits; the image is a whole 24 x 24 of 32 bits.
  IconEntryRecipe entry = Entry(16, 0);
  entry.image = Image(24, 24, 32);
  ByteVector file = fixtures::WriteIcon({entry});
  IconImage icon;
  ASSERT_EQ(ChooseIconImage(file.data(), file.size(), icon), nullptr);
  EXPECT_EQ(icon.width, 24);
  EXPECT_EQ(icon.height, 24);
  EXPECT_EQ(icon.bitCount, 32);

  // An image stored as PNG: size from IHDR.
  entry.image = fixtures::EncodePng(20, 10, std::vector<std::uint32_t>(200, 0x80FF0000));
  file = fixtures::WriteIcon({entry});
  ASSERT_EQ(ChooseIconImage(file.data(), file.size(), icon), nullptr);
  EXPECT_TRUE(icon.isPng);
  EXPECT_EQ(icon.width, 20);
  EXPECT_EQ(icon.height, 10);
}

TEST(ChooseIconImage, RefusesImagesThatDoNotLieInTheFileOrDoNotHoldTheirData) {
  struct Case {
    const char* name;
    std::vector<IconEntryRecipe> entries;
    const char* failure;
  };
  auto with = [](IconEntryRecipe entry, auto change) {
    change(entry);
    return entry;
  };
  auto header = [](ByteVector image, std::size_t at, std::uint32_t value) {
    std::memcpy(image.data() + at, &value, 4);
    return image;
  };
  IconEntryRecipe good = Entry(32, 0, 32);
  IconImageRecipe shortMask;
  shortMask.andMaskRowsKept = 16;
  Case cases[] = {
      {"offset and size past the end", {with(good, [](IconEntryRecipe& e) { e.size = e.image.size() + 1; })},
       "image outside the file"},
      {"offset past the end", {with(good, [](IconEntryRecipe& e) { e.offset = 1 << 20; })}, "image outside the file"},
      {"offset plus size wraps around",
       {with(good, [](IconEntryRecipe& e) { e.offset = 0xFFFFFFF0; e.size = 0x20; })}, "image outside the file"},
      {"zero size", {with(good, [](IconEntryRecipe& e) { e.size = 0; })}, "image outside the file"},
      {"short AND mask", {with(good, [&](IconEntryRecipe& e) { e.image = fixtures::MakeIconImage(shortMask); })},
       "image data short"},
      {"header larger than the directory says and than its data",
       {with(good, [&](IconEntryRecipe& e) { e.image = header(e.image, 4, 64); e.image = header(e.image, 8, 128); })},
       "image data short"},
      {"header size below 40", {with(good, [&](IconEntryRecipe& e) { e.image = header(e.image, 0, 12); })}, "image header"},
      {"header size beyond the image",
       {with(good, [&](IconEntryRecipe& e) { e.image = header(e.image, 0, 100000); })}, "image header"},
      {"compressed", {with(good, [&](IconEntryRecipe& e) { e.image = header(e.image, 16, 1); })}, "compressed image"},
      {"colour table over 256",
       {with(Entry(32, 0, 8), [&](IconEntryRecipe& e) { e.image = header(e.image, 32, 1000); })}, "colour table size"},
      {"zero height", {with(good, [&](IconEntryRecipe& e) { e.image = header(e.image, 8, 1); })}, "dimensions"},
      {"negative width", {with(good, [&](IconEntryRecipe& e) { e.image = header(e.image, 4, 0x80000000u); })},
       "dimensions"},
      {"image too short for its header", {with(good, [](IconEntryRecipe& e) { e.image.resize(20); })}, "image header"},
  };
  for (const Case& c : cases) {
    ByteVector file = fixtures::WriteIcon(c.entries);
    IconImage icon;
    DecodeFailure failure = ChooseIconImage(file.data(), file.size(), icon);
    ASSERT_NE(failure, nullptr) << c.name;
    EXPECT_STREQ(failure, c.failure) << c.name;
  }
  // A directory that claims more entries than the file holds.
  ByteVector file = fixtures::WriteIcon({Entry(16, 0)});
  file[4] = 9;
  IconImage icon;
  EXPECT_STREQ(ChooseIconImage(file.data(), 6 + 16 + 10, icon), "truncated directory");
}

}  // namespace
}  // namespace tolvane::picture
