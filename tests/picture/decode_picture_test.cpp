#include <gtest/gtest.h>

#include "picture/decoded_picture.h"
#include "picture/decoders.h"
#include "picture/gif.h"
#include "tests/picture/fixtures.h"
#include "tests/picture/pixel_at.h"

namespace tolvane::picture {
namespace {

using fixtures::ByteVector;

constexpr std::uint32_t kBox = 0xD4D0C8;

ByteVector SmallBmp() {
  fixtures::BmpRecipe recipe;
  recipe.width = 3;
  recipe.height = 2;
  recipe.colours = {0x010203, 0x040506, 0x070809, 0x0A0B0C, 0x0D0E0F, 0x101112};
  return fixtures::WriteBmp(recipe);
}

ByteVector SmallGif(int frames) {
  fixtures::GifRecipe recipe;
  recipe.width = 3;
  recipe.height = 2;
  recipe.globalPalette = {0xFF0000, 0x00FF00};
  for (int i = 0; i < frames; ++i) {
    fixtures::GifFrameRecipe frame;
    frame.width = 3;
    frame.height = 2;
    frame.indices = {0, 1, 0, 1, 0, static_cast<std::uint8_t>(i & 1)};
    frame.control = true;
    frame.delay = 5;
    recipe.frames.push_back(frame);
  }
  return fixtures::WriteGif(recipe);
}

ByteVector SmallPcx(int bits) {
  fixtures::PcxRecipe recipe;
  recipe.bitsPerPixel = bits;
  recipe.version = bits == 8 ? 5 : 3;
  recipe.xMax = 4;
  recipe.yMax = 2;
  recipe.indices = fixtures::PatternIndices(5, 3, bits == 8 ? 200 : 2);
  if (bits == 8) recipe.palette = fixtures::PatternPalette(256);
  return fixtures::WritePcx(recipe);
}

ByteVector SmallIcon(int type) {
  fixtures::IconEntryRecipe entry;
  fixtures::IconImageRecipe image;
  image.width = image.height = 16;
  entry.width = entry.height = 16;
  entry.image = fixtures::MakeIconImage(image);
  return fixtures::WriteIcon({entry}, type);
}

// One small valid file of each format, as the decoders are reached through DecodePicture.
struct Sample {
  const char* name;
  ByteVector bytes;
  PictureFormat format;
};
std::vector<Sample> Samples() {
  std::vector<std::uint32_t> argb(12, 0x80336699);
  return {
      {"bmp", SmallBmp(), PictureFormat::Bmp},
      {"jpeg", fixtures::EncodeJpeg(9, 7, fixtures::PatternColours(9, 7)), PictureFormat::Jpeg},
      {"png", fixtures::EncodePng(4, 3, argb), PictureFormat::Png},
      {"ico", SmallIcon(1), PictureFormat::Ico},
      {"cur", SmallIcon(2), PictureFormat::Cur},
      {"still gif", SmallGif(1), PictureFormat::Gif},
      {"animated gif", SmallGif(3), PictureFormat::Gif},
      {"pcx 8", SmallPcx(8), PictureFormat::Pcx8},
      {"pcx 1", SmallPcx(1), PictureFormat::Pcx1},
  };
}

TEST(DecodePicture, EachFormatGivesItsKindOfPicture) {
  for (const Sample& sample : Samples()) {
    DecodedPicture picture = DecodePicture(sample.bytes.data(), sample.bytes.size(), kBox);
    EXPECT_EQ(picture.format, sample.format) << sample.name;
    int set = picture.raster.has_value() + picture.icon.has_value() + (picture.animation != nullptr);
    EXPECT_EQ(set, 1) << sample.name;
    switch (sample.format) {
      case PictureFormat::Ico:
      case PictureFormat::Cur:
        EXPECT_TRUE(picture.icon) << sample.name;
        break;
      case PictureFormat::Gif:
        if (std::string(sample.name) == "animated gif") {
          ASSERT_TRUE(picture.animation);
          EXPECT_TRUE(picture.animation->animated());
        } else {
          ASSERT_TRUE(picture.raster);
          EXPECT_EQ(picture.raster->layout, Raster::Layout::Indexed8);
          EXPECT_EQ(PixelAt(*picture.raster, 1, 0), 0x00FF00u);
        }
        break;
      case PictureFormat::Png:
        ASSERT_TRUE(picture.raster);
        EXPECT_EQ(picture.raster->layout, Raster::Layout::Bgr24);
        EXPECT_EQ(PixelAt(*picture.raster, 0, 0),
                  static_cast<std::uint32_t>(BlendChannel(0x33, 0x80, 0xD4)) << 16 |
                      BlendChannel(0x66, 0x80, 0xD0) << 8 | BlendChannel(0x99, 0x80, 0xC8));
        break;
      case PictureFormat::Bmp:
        ASSERT_TRUE(picture.raster);
        EXPECT_EQ(PixelAt(*picture.raster, 2, 1), 0x101112u);
        break;
      default:
        EXPECT_TRUE(picture.raster) << sample.name;
    }
  }
}

TEST(DecodePicture, UnrecognisedOrFailingBytesGiveNoPicture) {
  const char html[] = "<html><body>404</body></html>";
  ByteVector rle = SmallBmp();
  ByteVector pcx = SmallPcx(8);
  rle[30] = 1;  // compression: run-length
  struct Case {
    const char* name;
    ByteVector bytes;
    PictureFormat format;
  } cases[] = {
      {"html", ByteVector(html, html + sizeof html - 1), PictureFormat::Unrecognised},
      {"seven bytes of jpeg", {0xFF, 0xD8, 0xFF, 0xE0, 0, 0x10, 'J'}, PictureFormat::Unrecognised},
      {"empty", {}, PictureFormat::Unrecognised},
      {"run-length bmp", rle, PictureFormat::Bmp},
      {"pcx of 128 bytes", ByteVector(pcx.begin(), pcx.begin() + 128), PictureFormat::Pcx8},
      {"jpeg header only", {0xFF, 0xD8, 0xFF, 0xD9, 0, 0, 0, 0}, PictureFormat::Jpeg},
  };
  for (const Case& c : cases) {
    DecodedPicture picture = DecodePicture(c.bytes.data(), c.bytes.size(), kBox);
    EXPECT_EQ(picture.format, c.format) << c.name;
    EXPECT_FALSE(picture.raster) << c.name;
    EXPECT_FALSE(picture.icon) << c.name;
    EXPECT_FALSE(picture.animation) << c.name;
  }
}

// Every prefix of every sample and a few flipped bytes: whatever the decoders make of them,
// they must not read or write outside their buffers (the sanitizers watch) nor hang.
TEST(DecodePicture, CutAndDamagedSamplesAreHandledSafely) {
  for (const Sample& sample : Samples()) {
    for (std::size_t length = 0; length <= sample.bytes.size(); ++length) {
      DecodedPicture picture = DecodePicture(sample.bytes.data(), length, kBox);
      if (picture.animation) {
        GifCompositor compositor(picture.animation, kBox);
        for (int i = 0; i < 4; ++i) EXPECT_GT(compositor.Step(), 0);
      }
    }
    ByteVector damaged = sample.bytes;
    for (std::size_t i = 0; i < damaged.size(); ++i) {
      std::uint8_t saved = damaged[i];
      for (std::uint8_t value : {std::uint8_t(0x00), std::uint8_t(0xFF), std::uint8_t(saved ^ 0x80)}) {
        damaged[i] = value;
        DecodedPicture picture = DecodePicture(damaged.data(), damaged.size(), kBox);
        if (picture.animation) {
          GifCompositor compositor(picture.animation, kBox);
          for (int k = 0; k < 4; ++k) compositor.Step();
        }
      }
      damaged[i] = saved;
    }
  }
}

}  // namespace
}  // namespace tolvane::picture
