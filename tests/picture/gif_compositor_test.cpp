#include <gtest/gtest.h>

#include "picture/gif.h"
#include "tests/picture/fixtures.h"

namespace tolvane::picture {
namespace {

using fixtures::ByteVector;
using fixtures::GifFrameRecipe;
using fixtures::GifRecipe;

constexpr std::uint32_t kBox = 0xD4D0C8;  // the box's background
// Palette: 0 red, 1 green, 2 blue, 3 white (the GIF's own background colour index).
const std::vector<std::uint32_t> kPalette = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
constexpr std::uint32_t R = 0xFF0000, G = 0x00FF00, B = 0x0000FF, W = 0xFFFFFF, _ = kBox;

GifFrameRecipe Frame(int left, int top, int width, int height, std::uint8_t index) {
  GifFrameRecipe frame;
  frame.left = left;
  frame.top = top;
  frame.width = width;
  frame.height = height;
  frame.indices.assign(static_cast<std::size_t>(width) * height, index);
  return frame;
}

GifFrameRecipe WithControl(GifFrameRecipe frame, int disposal, int delay, int transparentIndex = -1) {
  frame.control = true;
  frame.disposal = disposal;
  frame.delay = delay;
  frame.transparent = transparentIndex >= 0;
  frame.transparentIndex = transparentIndex < 0 ? 0 : transparentIndex;
  return frame;
}

std::shared_ptr<GifAnimation> Animation(int width, int height, std::vector<GifFrameRecipe> frames) {
  GifRecipe recipe;
  recipe.width = width;
  recipe.height = height;
  recipe.globalPalette = kPalette;
  recipe.backgroundIndex = 3;
  recipe.frames = std::move(frames);
  ByteVector file = fixtures::WriteGif(recipe);
  return GifAnimation::Parse(file.data(), file.size());
}

std::vector<std::uint32_t> Canvas(const GifCompositor& compositor) {
  return std::vector<std::uint32_t>(compositor.canvas(),
                                    compositor.canvas() + compositor.width() * compositor.height());
}

TEST(GifCompositor, StartsFromTheBoxBackgroundAndHoldsDelayTimesTen) {
  auto gif = Animation(3, 1, {WithControl(Frame(0, 0, 1, 1, 0), 0, 0), WithControl(Frame(1, 0, 1, 1, 1), 0, 7),
                              WithControl(Frame(2, 0, 1, 1, 2), 0, 1)});
  ASSERT_TRUE(gif);
  GifCompositor compositor(gif, kBox);
  EXPECT_EQ(compositor.width(), 3);
  EXPECT_EQ(compositor.height(), 1);
  EXPECT_EQ(Canvas(compositor), (std::vector<std::uint32_t>{_, _, _}));
  struct Expected {
    int hold;
    std::vector<std::uint32_t> canvas;
  } steps[] = {
      {50, {R, _, _}}, {70, {R, G, _}}, {10, {R, G, B}},
      // Round again from the first block, over what is there.
      {50, {R, G, B}}, {70, {R, G, B}},
  };
  for (const Expected& step : steps) {
    EXPECT_EQ(compositor.Step(), step.hold);
    EXPECT_EQ(Canvas(compositor), step.canvas);
  }
}

TEST(GifCompositor, GraphicControlRules) {
  struct Case {
    const char* name;
    std::vector<GifFrameRecipe> frames;
    std::vector<int> holds;
    std::vector<std::vector<std::uint32_t>> canvases;  // after each step
  };
  Case cases[] = {
      {"transparent pixels leave the canvas",
       {Frame(0, 0, 2, 1, 0), WithControl(Frame(0, 0, 2, 1, 1), 0, 2, 1)},
       {50, 20},
       {{R, R}, {R, R}}},
      {"transparency and delay stay in force until the next extension",
       {WithControl(Frame(0, 0, 2, 1, 0), 0, 3), WithControl(Frame(0, 0, 1, 1, 1), 0, 4, 2), Frame(0, 0, 2, 1, 2),
        WithControl(Frame(1, 0, 1, 1, 2), 0, 0)},
       {30, 40, 40, 50},
       {{R, R}, {G, R}, {G, R}, {G, B}}},
      {"disposal 2 puts back what was there, not the GIF's background",
       {Frame(0, 0, 2, 1, 0), WithControl(Frame(1, 0, 1, 1, 1), 2, 1), Frame(0, 0, 1, 1, 2)},
       {50, 10, 10},
       {{R, R}, {R, G}, {B, R}}},
      {"disposal 3 behaves the same",
       {Frame(0, 0, 1, 1, 0), WithControl(Frame(0, 0, 2, 1, 1), 3, 1), Frame(1, 0, 1, 1, 2)},
       {50, 10, 10},
       {{R, _}, {G, G}, {R, B}}},
      {"disposal belongs to the next frame only",
       {WithControl(Frame(0, 0, 1, 1, 0), 2, 1), Frame(0, 0, 1, 1, 1), Frame(1, 0, 1, 1, 2), Frame(0, 0, 2, 1, 0)},
       {10, 10, 10, 10},
       {{R, _}, {G, _}, {G, B}, {R, R}}},
      {"disposal 1 leaves the frame in place",
       {WithControl(Frame(0, 0, 1, 1, 0), 1, 1), Frame(1, 0, 1, 1, 1)},
       {10, 10},
       {{R, _}, {R, G}}},
      {"a frame across the edge saves and restores only the canvas part",
       {Frame(0, 0, 2, 1, 0), WithControl(Frame(1, 0, 9, 4, 1), 3, 1), Frame(0, 0, 1, 1, 2)},
       {50, 10, 10},
       {{R, R}, {R, G}, {B, R}}},
      {"a zero-width frame saves and restores nothing",
       {Frame(0, 0, 2, 1, 0), WithControl(Frame(1, 0, 0, 1, 1), 3, 1), Frame(0, 0, 1, 1, 2)},
       {50, 10, 10},
       {{R, R}, {R, R}, {B, R}}},
      {"a frame outside the canvas draws nothing and restores nothing",
       {Frame(0, 0, 2, 1, 0), WithControl(Frame(500, 9, 3, 3, 1), 2, 1), Frame(0, 0, 1, 1, 2)},
       {50, 10, 10},
       {{R, R}, {R, R}, {B, R}}},
  };
  for (const Case& c : cases) {
    auto gif = Animation(2, 1, c.frames);
    ASSERT_TRUE(gif) << c.name;
    GifCompositor compositor(gif, kBox);
    for (std::size_t i = 0; i < c.holds.size(); ++i) {
      EXPECT_EQ(compositor.Step(), c.holds[i]) << c.name << " step " << i;
      EXPECT_EQ(Canvas(compositor), c.canvases[i]) << c.name << " step " << i;
    }
  }
}

TEST(GifCompositor, RestartsAtTheTrailerOrAZeroByteWhateverTheLoopCount) {
  GifRecipe recipe;
  recipe.width = 1;
  recipe.height = 1;
  recipe.globalPalette = kPalette;
  recipe.loopExtension = true;  // loop once: ignored
  recipe.comment = true;
  recipe.frames = {WithControl(Frame(0, 0, 1, 1, 0), 0, 2), WithControl(Frame(0, 0, 1, 1, 1), 0, 3)};
  for (std::uint8_t end : {0x3B, 0x00}) {
    recipe.trailer = false;
    ByteVector file = fixtures::WriteGif(recipe);
    file.push_back(end);
    // Whatever follows is never read: a third frame here must not show.
    ByteVector third = fixtures::WriteGif(recipe);
    file.insert(file.end(), third.begin() + 13 + 12, third.end());
    auto gif = GifAnimation::Parse(file.data(), file.size());
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->frames().size(), 2u);
    GifCompositor compositor(gif, kBox);
    for (int round = 0; round < 5; ++round) {
      EXPECT_EQ(compositor.Step(), 20);
      EXPECT_EQ(compositor.canvas()[0], R);
      EXPECT_EQ(compositor.Step(), 30);
      EXPECT_EQ(compositor.canvas()[0], G);
    }
  }
}

TEST(GifCompositor, UndecodableLaterFramesStillReturnHoldTimes) {
  // Frames after the first with an impossible code size, a cut-off file, and many graphic
  // control extensions between frames: each Step draws what it can and returns.
  std::vector<GifFrameRecipe> frames = {WithControl(Frame(0, 0, 2, 1, 0), 0, 1)};
  for (int i = 0; i < 50; ++i) {
    GifFrameRecipe broken = WithControl(Frame(0, 0, 2, 1, 1), 3, 2);
    broken.rawData = fixtures::PackGifCodes(12, {{0, 12}});
    frames.push_back(broken);
  }
  auto gif = Animation(2, 1, frames);
  ASSERT_TRUE(gif);
  GifCompositor compositor(gif, kBox);
  for (int i = 0; i < 200; ++i) {
    int hold = compositor.Step();
    EXPECT_EQ(hold, i % 51 == 0 ? 10 : 20) << i;
    EXPECT_EQ(compositor.canvas()[0], R);
  }
}

TEST(GifCompositor, InterlacedAndLocalTableFrames) {
  GifRecipe recipe;
  recipe.width = 2;
  recipe.height = 5;
  recipe.globalPalette = kPalette;
  GifFrameRecipe first = Frame(0, 0, 2, 5, 0);
  first.interlaced = true;
  first.indices = {0, 0, 1, 1, 2, 2, 3, 3, 0, 1};
  GifFrameRecipe second = Frame(0, 0, 1, 1, 1);
  second.localPalette = {0x123456, 0x654321};
  recipe.frames = {first, second};
  ByteVector file = fixtures::WriteGif(recipe);
  auto gif = GifAnimation::Parse(file.data(), file.size());
  ASSERT_TRUE(gif);
  GifCompositor compositor(gif, kBox);
  compositor.Step();
  EXPECT_EQ(Canvas(compositor), (std::vector<std::uint32_t>{R, R, G, G, B, B, W, W, R, G}));
  compositor.Step();
  EXPECT_EQ(compositor.canvas()[0], 0x654321u);
}

}  // namespace
}  // namespace tolvane::picture
