#include <gtest/gtest.h>

#include "picture/gif.h"
#include "tests/picture/fixtures.h"
#include "tests/picture/pixel_at.h"

namespace tolvane::picture {
namespace {

using fixtures::ByteVector;
using fixtures::GifFrameRecipe;
using fixtures::GifRecipe;

std::vector<std::uint8_t> NoiseIndices(std::size_t count, int colours, std::uint32_t seed) {
  std::vector<std::uint8_t> out(count);
  for (auto& v : out) {
    seed = seed * 1664525u + 1013904223u;
    v = static_cast<std::uint8_t>((seed >> 24) % colours);
  }
  return out;
}

GifRecipe OneFrame(int width, int height, int colours, std::vector<std::uint8_t> indices) {
  GifRecipe recipe;
  recipe.width = width;
  recipe.height = height;
  recipe.globalPalette = fixtures::PatternPalette(colours);
  GifFrameRecipe frame;
  frame.width = width;
  frame.height = height;
  frame.indices = std::move(indices);
  recipe.frames.push_back(frame);
  return recipe;
}

std::shared_ptr<GifAnimation> Parse(const ByteVector& file) { return GifAnimation::Parse(file.data(), file.size()); }

// The still's index at (x, y).
std::uint8_t IndexAt(const Raster& raster, int x, int y) { return raster.pixels[raster.stride * y + x]; }

void ExpectStill(const GifAnimation& gif, const std::vector<std::uint8_t>& indices, const std::string& name) {
  const Raster& still = gif.still();
  ASSERT_EQ(still.layout, Raster::Layout::Indexed8) << name;
  ASSERT_EQ(still.stride % 4, 0u) << name;
  for (int y = 0; y < still.height; ++y)
    for (int x = 0; x < still.width; ++x)
      ASSERT_EQ(IndexAt(still, x, y), indices[static_cast<std::size_t>(y) * still.width + x])
          << name << " at " << x << "," << y;
}

TEST(GifAnimation, StillPicturesRoundTrip) {
  struct Case {
    int width, height, colours;
    bool interlaced;
    bool local;
    bool noise;
  } cases[] = {
      {1, 1, 2, false, false, false},    {5, 3, 2, false, false, true},   {7, 9, 4, false, true, true},
      {16, 16, 16, false, false, false}, {33, 17, 256, false, false, true},
      // Random pixels fill the code table: clear codes and 12-bit codes.
      {200, 120, 256, false, false, true}, {300, 40, 3, false, false, true},
      // Interlaced, every height from 1 to 17 over the four passes.
      {3, 1, 4, true, false, true}, {3, 2, 4, true, false, true}, {3, 3, 4, true, false, true},
      {3, 4, 4, true, false, true}, {3, 5, 4, true, false, true}, {4, 8, 4, true, false, true},
      {4, 9, 4, true, true, true},  {4, 13, 4, true, false, true}, {4, 17, 8, true, false, true},
  };
  for (const Case& c : cases) {
    std::string name = std::to_string(c.width) + "x" + std::to_string(c.height) + " colours " +
                       std::to_string(c.colours) + (c.interlaced ? " interlaced" : "") + (c.local ? " local" : "");
    std::vector<std::uint8_t> indices = c.noise ? NoiseIndices(c.width * c.height, c.colours, c.width * 31 + c.height)
                                                : fixtures::PatternIndices(c.width, c.height, c.colours);
    GifRecipe recipe = OneFrame(c.width, c.height, c.colours, indices);
    recipe.frames[0].interlaced = c.interlaced;
    if (c.local) {
      recipe.frames[0].localPalette = fixtures::PatternPalette(c.colours);
      for (auto& colour : recipe.frames[0].localPalette) colour ^= 0x00FF00;
      recipe.globalPalette.clear();
    }
    auto gif = Parse(fixtures::WriteGif(recipe));
    ASSERT_TRUE(gif) << name;
    EXPECT_FALSE(gif->animated()) << name;
    EXPECT_EQ(gif->width(), c.width);
    EXPECT_EQ(gif->height(), c.height);
    ExpectStill(*gif, indices, name);
    const auto& palette = c.local ? recipe.frames[0].localPalette : recipe.globalPalette;
    for (int i = 0; i < c.colours; ++i) ASSERT_EQ(gif->still().palette[i], palette[i]) << name;
  }
}

TEST(GifAnimation, MinimumCodeSizesAndAFullTableWithoutClear) {
  for (int minCodeSize = 1; minCodeSize <= 8; ++minCodeSize) {
    int colours = 1 << minCodeSize;
    std::vector<std::uint8_t> indices = NoiseIndices(40 * 40, colours, minCodeSize);
    GifRecipe recipe = OneFrame(40, 40, colours, indices);
    recipe.frames[0].minCodeSize = minCodeSize;
    auto gif = Parse(fixtures::WriteGif(recipe));
    ASSERT_TRUE(gif) << minCodeSize;
    ExpectStill(*gif, indices, "code size " + std::to_string(minCodeSize));
  }

  // Literal codes only, never a clear: the table fills up at 4096 codes and the rest are read
  // at 12 bits without new entries (the "deferred clear" encoders use).
  const int minCodeSize = 2, count = 5000;
  std::vector<std::pair<int, int>> codes;
  std::vector<std::uint8_t> expected;
  int next = 6, width = 3;
  for (int i = 0; i < count; ++i) {
    int literal = (i * 7 / 3) % 4;
    codes.push_back({literal, width});
    expected.push_back(static_cast<std::uint8_t>(literal));
    if (i > 0 && next < 4096) {
      ++next;
      if (next == (1 << width) && width < 12) ++width;
    }
  }
  codes.push_back({5, width});
  GifRecipe recipe = OneFrame(100, 50, 4, {});
  recipe.frames[0].rawData = fixtures::PackGifCodes(minCodeSize, codes);
  auto gif = Parse(fixtures::WriteGif(recipe));
  ASSERT_TRUE(gif);
  ExpectStill(*gif, expected, "full table");
}

TEST(GifAnimation, HostileCodeStreamsStopSafely) {
  // 4 colours: clear 4, end 5, first free code 6, codes 3 bits wide at first.
  struct Case {
    const char* name;
    int frameWidth;
    int minCodeSize;
    std::vector<std::pair<int, int>> codes;
    std::vector<std::uint8_t> expected;  // the frame's first pixels; the rest stay background
  } cases[] = {
      {"undefined code stops decoding", 4, 2, {{4, 3}, {1, 3}, {7, 3}, {3, 3}}, {1}},
      {"code after clear must be a literal", 4, 2, {{4, 3}, {1, 3}, {4, 3}, {6, 3}, {2, 3}}, {1}},
      {"no clear at the start is accepted", 4, 2, {{1, 3}, {6, 3}, {5, 3}}, {1, 1, 1}},
      {"KwKwK: a code defined by itself", 4, 2, {{4, 3}, {2, 3}, {6, 3}, {5, 3}}, {2, 2, 2}},
      {"string longer than the frame is cut", 3, 2, {{4, 3}, {3, 3}, {6, 3}, {7, 3}, {5, 3}}, {3, 3, 3}},
      {"end code first", 4, 2, {{4, 3}, {5, 3}}, {}},
      {"data ends without an end code", 4, 2, {{4, 3}, {2, 3}}, {2}},
  };
  for (const Case& c : cases) {
    GifRecipe recipe = OneFrame(4, 2, 4, {});
    recipe.backgroundIndex = 0;
    recipe.frames[0].width = c.frameWidth;
    recipe.frames[0].height = 1;
    recipe.frames[0].rawData = fixtures::PackGifCodes(c.minCodeSize, c.codes);
    auto gif = Parse(fixtures::WriteGif(recipe));
    ASSERT_TRUE(gif) << c.name;
    std::vector<std::uint8_t> expected(8, 0);
    std::copy(c.expected.begin(), c.expected.end(), expected.begin());
    ExpectStill(*gif, expected, c.name);
  }

  // Minimum code sizes a palette index cannot come from: the first frame does not decode.
  for (bool animated : {false, true}) {
    for (int minCodeSize : {0, 9, 11, 12, 255}) {
      GifRecipe recipe = OneFrame(4, 2, 4, {});
      GifFrameRecipe good = recipe.frames[0];
      recipe.frames[0].rawData = fixtures::PackGifCodes(minCodeSize, {{0, 12}, {1, 12}});
      if (animated) recipe.frames.push_back(good);
      EXPECT_FALSE(Parse(fixtures::WriteGif(recipe))) << minCodeSize << (animated ? " animated" : "");
    }
  }
}

TEST(GifAnimation, FramesOutsideOrAcrossTheScreenAreClipped) {
  struct Case {
    const char* name;
    int left, top, width, height;
  } cases[] = {
      {"inside, away from the origin", 2, 1, 3, 2}, {"across the right edge", 4, 0, 5, 2},
      {"across the bottom edge", 0, 3, 2, 5},        {"right of the screen", 6, 0, 3, 3},
      {"below the screen", 0, 40000, 3, 3},          {"zero width", 1, 1, 0, 3},
      {"zero height", 1, 1, 3, 0},                   {"far corner", 65535, 65535, 1, 1},
  };
  const int screenWidth = 6, screenHeight = 4;
  for (const Case& c : cases) {
    GifRecipe recipe = OneFrame(screenWidth, screenHeight, 4, {});
    recipe.backgroundIndex = 3;
    GifFrameRecipe& frame = recipe.frames[0];
    frame.left = c.left;
    frame.top = c.top;
    frame.width = c.width;
    frame.height = c.height;
    frame.indices = NoiseIndices(static_cast<std::size_t>(c.width) * c.height, 3, 7);
    auto gif = Parse(fixtures::WriteGif(recipe));
    ASSERT_TRUE(gif) << c.name;
    std::vector<std::uint8_t> expected(screenWidth * screenHeight, 3);
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x)
        if (c.left + x < screenWidth && c.top + y < screenHeight)
          expected[(c.top + y) * screenWidth + c.left + x] = frame.indices[y * c.width + x];
    ExpectStill(*gif, expected, c.name);
  }
}

TEST(GifAnimation, ColourTablesAndIndicesPastThem) {
  // Two global entries; index 3 lies past the table and reads as black.
  GifRecipe recipe = OneFrame(4, 1, 2, {0, 1, 3, 1});
  recipe.frames[0].minCodeSize = 2;
  auto gif = Parse(fixtures::WriteGif(recipe));
  ASSERT_TRUE(gif);
  EXPECT_EQ(PixelAt(gif->still(), 1, 0), recipe.globalPalette[1]);
  EXPECT_EQ(PixelAt(gif->still(), 2, 0), 0u);

  // No colour table at all: black.
  recipe.globalPalette.clear();
  gif = Parse(fixtures::WriteGif(recipe));
  ASSERT_TRUE(gif);
  EXPECT_EQ(PixelAt(gif->still(), 1, 0), 0u);
}

TEST(GifAnimation, RefusesWhatIsNotADecodableGif) {
  ByteVector good = fixtures::WriteGif(OneFrame(4, 4, 4, fixtures::PatternIndices(4, 4, 4)));
  auto with = [&good](auto change) {
    ByteVector bytes = good;
    change(bytes);
    return bytes;
  };
  struct Case {
    const char* name;
    ByteVector bytes;
  } cases[] = {
      {"13 bytes", ByteVector(good.begin(), good.begin() + 13)},
      {"GIF88a", with([](ByteVector& b) { b[4] = '8'; })},
      {"zero width screen", with([](ByteVector& b) { b[6] = b[7] = 0; })},
      {"zero height screen", with([](ByteVector& b) { b[8] = b[9] = 0; })},
      {"65535 x 65535 screen", with([](ByteVector& b) { b[6] = b[7] = b[8] = b[9] = 0xFF; })},
      {"global table that does not fit", with([](ByteVector& b) { b[10] |= 7; })},
      {"no frame", with([](ByteVector& b) { b.resize(13 + 12); b.push_back(0x3B); })},
      {"frame descriptor cut short", ByteVector(good.begin(), good.begin() + 13 + 12 + 5)},
      {"local table that does not fit",
       with([](ByteVector& b) { b[13 + 12 + 9] |= 0x87; b.resize(13 + 12 + 10 + 30); })},
  };
  for (const Case& c : cases) EXPECT_FALSE(Parse(c.bytes)) << c.name;
}

TEST(GifAnimation, DataCutShortKeepsTheDecodedPart) {
  std::vector<std::uint8_t> indices = NoiseIndices(64 * 64, 16, 3);
  ByteVector file = fixtures::WriteGif(OneFrame(64, 64, 16, indices));
  file.resize(file.size() * 2 / 3);
  auto gif = Parse(file);
  ASSERT_TRUE(gif);
  // The first rows are there.
  for (int x = 0; x < 64; ++x) ASSERT_EQ(IndexAt(gif->still(), x, 0), indices[x]);
}

TEST(GifAnimation, AFewBytesAskingForALargeFrameGetLittleMemory) {
  // A 16384 x 4096 screen and frame (within the cap) whose data is six codes.
  GifRecipe recipe = OneFrame(16384, 4096, 4, {});
  recipe.frames[0].rawData = fixtures::PackGifCodes(2, {{4, 3}, {1, 3}, {6, 3}, {7, 3}, {8, 4}, {5, 4}});
  recipe.frames.push_back(recipe.frames[0]);  // animated: the compositor decodes frames later too
  ByteVector file = fixtures::WriteGif(recipe);
  ASSERT_LE(file.size(), 64u);
  auto gif = Parse(file);
  ASSERT_TRUE(gif);  // the screen itself is allowed
  GifFramePixels pixels;
  ASSERT_TRUE(gif->DecodeFrame(gif->frames()[0], pixels));
  EXPECT_EQ(pixels.decoded, 10u);
  EXPECT_LE(pixels.capacity, 64u * 4096u);
}

TEST(GifAnimation, BlocksInFileOrder) {
  GifRecipe recipe = OneFrame(2, 2, 2, {0, 1, 1, 0});
  recipe.loopExtension = true;
  recipe.comment = true;
  recipe.frames[0].control = true;
  recipe.frames[0].delay = 7;
  recipe.frames.push_back(recipe.frames[0]);
  recipe.frames[1].control = false;
  auto gif = Parse(fixtures::WriteGif(recipe));
  ASSERT_TRUE(gif);
  EXPECT_TRUE(gif->animated());
  ASSERT_EQ(gif->blocks().size(), 3u);
  EXPECT_EQ(gif->blocks()[0].kind, GifBlock::Kind::Control);
  EXPECT_EQ(gif->blocks()[0].control.delay, 7);
  EXPECT_EQ(gif->blocks()[1].kind, GifBlock::Kind::Frame);
  EXPECT_EQ(gif->blocks()[2].frame, 1u);
}

}  // namespace
}  // namespace tolvane::picture
