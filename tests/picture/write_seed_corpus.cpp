// Writes the fuzz targets' seed corpus: small valid and broken pictures of every format, made
// by the fixture writers. Usage: write_seed_corpus FUZZ_CORPUS_DIR (fuzz/corpus).
#include <cstdio>
#include <string>
#include <vector>

#include "tests/picture/fixtures.h"

using namespace tolvane::picture::fixtures;

namespace {

void Write(const std::string& path, const ByteVector& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    std::perror(path.c_str());
    return;
  }
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

GifRecipe Animated(bool interlaced) {
  GifRecipe recipe;
  recipe.width = 12;
  recipe.height = 9;
  recipe.globalPalette = PatternPalette(8);
  recipe.loopExtension = true;
  recipe.comment = true;
  for (int i = 0; i < 3; ++i) {
    GifFrameRecipe frame;
    frame.left = i * 2;
    frame.top = i;
    frame.width = 8;
    frame.height = 7;
    frame.indices = PatternIndices(8, 7, 8);
    frame.interlaced = interlaced && i == 1;
    frame.control = true;
    frame.disposal = i + 1;
    frame.transparent = i == 2;
    frame.transparentIndex = 3;
    frame.delay = i;
    if (i == 1) frame.localPalette = PatternPalette(4);
    recipe.frames.push_back(frame);
  }
  return recipe;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FUZZ_CORPUS_DIR\n", argv[0]);
    return 2;
  }
  std::string decode = std::string(argv[1]) + "/fuzz_picture_decode/";
  std::string gif = std::string(argv[1]) + "/fuzz_gif_compositor/";

  for (int bits : {1, 4, 8, 24, 32}) {
    BmpRecipe recipe;
    recipe.width = 7;
    recipe.height = bits == 8 ? -5 : 5;
    recipe.bitCount = bits;
    if (bits <= 8) {
      recipe.palette = PatternPalette(1 << bits);
      recipe.indices = PatternIndices(7, 5, 1 << bits);
    } else {
      recipe.colours = PatternColours(7, 5);
    }
    Write(decode + "bmp" + std::to_string(bits), WriteBmp(recipe));
  }
  Write(decode + "jpeg", EncodeJpeg(12, 10, PatternColours(12, 10), false, 50));
  Write(decode + "jpeg_grey_progressive", EncodeJpeg(12, 10, PatternColours(12, 10), true, 50, true));
  std::vector<std::uint32_t> argb = PatternColours(6, 5);
  for (std::size_t i = 0; i < argb.size(); ++i) argb[i] |= static_cast<std::uint32_t>(i * 9) << 24;
  Write(decode + "png_alpha", EncodePng(6, 5, argb));
  for (int bits : {8, 1}) {
    PcxRecipe recipe;
    recipe.bitsPerPixel = bits;
    recipe.version = bits == 8 ? 5 : 3;
    recipe.xMax = 9;
    recipe.yMax = 4;
    recipe.indices = PatternIndices(10, 5, bits == 8 ? 256 : 2);
    if (bits == 8) recipe.palette = PatternPalette(256);
    Write(decode + "pcx" + std::to_string(bits), WritePcx(recipe));
  }
  {
    IconImageRecipe small, large, indexed;
    small.width = small.height = 8;
    large.width = large.height = 16;
    indexed.width = indexed.height = 16;
    indexed.bitCount = 4;
    IconEntryRecipe a, b, c;
    a.width = a.height = 8;
    a.image = MakeIconImage(small);
    b.width = b.height = 16;
    b.image = MakeIconImage(large);
    c.width = c.height = 16;
    c.colourCount = 16;
    c.bitCountOrHotspotY = 4;
    c.image = MakeIconImage(indexed);
    Write(decode + "ico", WriteIcon({a, b, c}, 1));
    Write(decode + "cur", WriteIcon({a}, 2));
    IconEntryRecipe png;
    png.image = EncodePng(4, 4, std::vector<std::uint32_t>(16, 0x80102030));
    Write(decode + "ico_png", WriteIcon({png}, 1));
  }
  for (bool interlaced : {false, true}) {
    ByteVector file = WriteGif(Animated(interlaced));
    Write(decode + (interlaced ? "gif_interlaced" : "gif"), file);
    Write(gif + (interlaced ? "interlaced" : "animated"), file);
  }
  {
    GifRecipe still;
    still.width = 5;
    still.height = 4;
    still.globalPalette = PatternPalette(2);
    GifFrameRecipe frame;
    frame.width = 5;
    frame.height = 4;
    frame.indices = PatternIndices(5, 4, 2);
    still.frames.push_back(frame);
    Write(decode + "gif_still", WriteGif(still));
    // A hand-made code stream with a code that is not yet defined.
    still.frames[0].rawData = PackGifCodes(2, {{4, 3}, {1, 3}, {6, 3}, {7, 3}, {15, 4}, {5, 4}});
    still.frames.push_back(still.frames[0]);
    still.frames[1].left = 3;
    still.frames[1].control = true;
    still.frames[1].disposal = 3;
    Write(gif + "broken_codes", WriteGif(still));
  }
  return 0;
}
