// Decode time of our decoders next to other decoders on the same files, in the same run:
// GIF against giflib and stb_image, BMP against stb_image, JPEG and PNG against a bare decode
// with the same library (the wrapper's own cost). PCX has no second decoder here.
#include <benchmark/benchmark.h>
#include <gif_lib.h>
#include <png.h>
#include <stb_image.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include <jpeglib.h>

#include "picture/decoders.h"
#include "picture/gif.h"
#include "tests/picture/fixtures.h"

namespace {

using namespace tolvane::picture;
using fixtures::ByteVector;

// A picture with smooth areas and noise, like a photo reduced to a palette.
std::vector<std::uint8_t> PhotoIndices(int width, int height, int colours, std::uint32_t seed) {
  std::vector<std::uint8_t> out(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      seed = seed * 1664525u + 1013904223u;
      int smooth = (x * 3 + y * 2) / 7 + ((x / 16 + y / 16) & 1) * 40;
      int noise = (seed >> 28) < 3 ? static_cast<int>(seed >> 20) & 15 : 0;
      out[static_cast<std::size_t>(y) * width + x] = static_cast<std::uint8_t>((smooth + noise) % colours);
    }
  return out;
}

std::vector<std::uint32_t> PhotoColours(int width, int height) {
  std::vector<std::uint8_t> indices = PhotoIndices(width, height, 256, 7);
  std::vector<std::uint32_t> out(indices.size());
  for (std::size_t i = 0; i < indices.size(); ++i)
    out[i] = static_cast<std::uint32_t>(indices[i]) << 16 | ((indices[i] * 3) & 255) << 8 | (255 - indices[i]);
  return out;
}

ByteVector MakeGif(int size, int frames) {
  fixtures::GifRecipe recipe;
  recipe.width = recipe.height = size;
  recipe.globalPalette = fixtures::PatternPalette(256);
  for (int i = 0; i < frames; ++i) {
    fixtures::GifFrameRecipe frame;
    // Later frames cover a part of the screen, as animations usually do.
    int part = i == 0 ? size : size / 2;
    frame.left = frame.top = i == 0 ? 0 : (i * 7) % (size - part + 1);
    frame.width = frame.height = part;
    frame.indices = PhotoIndices(part, part, 256, static_cast<std::uint32_t>(i + 1));
    frame.control = true;
    frame.delay = 5;
    frame.disposal = i % 3 == 1 ? 2 : 1;
    frame.transparent = i > 0;
    frame.transparentIndex = 0;
    recipe.frames.push_back(frame);
  }
  return fixtures::WriteGif(recipe);
}

ByteVector MakeBmp(int size, int bits) {
  fixtures::BmpRecipe recipe;
  recipe.width = recipe.height = size;
  recipe.bitCount = bits;
  if (bits == 8) {
    recipe.palette = fixtures::PatternPalette(256);
    recipe.indices = PhotoIndices(size, size, 256, 3);
  } else {
    recipe.colours = PhotoColours(size, size);
  }
  return fixtures::WriteBmp(recipe);
}

ByteVector MakePcx(int size, int bits) {
  fixtures::PcxRecipe recipe;
  recipe.bitsPerPixel = bits;
  recipe.version = bits == 8 ? 5 : 3;
  recipe.xMax = recipe.yMax = size - 1;
  recipe.indices = PhotoIndices(size, size, bits == 8 ? 256 : 2, 5);
  if (bits == 8) recipe.palette = fixtures::PatternPalette(256);
  return fixtures::WritePcx(recipe);
}

ByteVector MakeJpeg(int size) { return fixtures::EncodeJpeg(size, size, PhotoColours(size, size), false, 85); }

ByteVector MakePng(int size) {
  std::vector<std::uint32_t> argb = PhotoColours(size, size);
  for (std::size_t i = 0; i < argb.size(); ++i) argb[i] |= (i % 5 == 0 ? 0x80u : 0xFFu) << 24;
  return fixtures::EncodePng(size, size, argb);
}

// Files are made once per kind and size.
const ByteVector& File(const std::string& kind, int size) {
  static std::map<std::string, ByteVector> files;
  std::string key = kind + std::to_string(size);
  auto found = files.find(key);
  if (found != files.end()) return found->second;
  ByteVector file;
  if (kind == "gif") file = MakeGif(size, 1);
  if (kind == "gif20") file = MakeGif(size, 20);
  if (kind == "bmp8") file = MakeBmp(size, 8);
  if (kind == "bmp24") file = MakeBmp(size, 24);
  if (kind == "pcx8") file = MakePcx(size, 8);
  if (kind == "pcx1") file = MakePcx(size, 1);
  if (kind == "jpeg") file = MakeJpeg(size);
  if (kind == "png") file = MakePng(size);
  return files.emplace(key, std::move(file)).first->second;
}

void Report(benchmark::State& state, const ByteVector& file) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
  state.counters["file_bytes"] = static_cast<double>(file.size());
}

// ---- GIF ----

void Ours_Gif(benchmark::State& state, const char* kind) {
  const ByteVector& file = File(kind, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto gif = GifAnimation::Parse(file.data(), file.size());
    if (!gif) state.SkipWithError("parse");
    if (gif->animated()) {
      // Every frame decoded and composited onto the canvas, once round.
      GifCompositor compositor(gif, 0xD4D0C8);
      for (std::size_t i = 0; i < gif->frames().size(); ++i) compositor.Step();
      benchmark::DoNotOptimize(compositor.canvas());
    }
    benchmark::DoNotOptimize(gif.get());
  }
  Report(state, file);
}

struct MemoryInput {
  const ByteVector* file;
  std::size_t position;
};

int ReadMemory(GifFileType* gif, GifByteType* out, int count) {
  MemoryInput* input = static_cast<MemoryInput*>(gif->UserData);
  std::size_t left = input->file->size() - input->position;
  std::size_t n = std::min<std::size_t>(left, static_cast<std::size_t>(count));
  std::memcpy(out, input->file->data() + input->position, n);
  input->position += n;
  return static_cast<int>(n);
}

void Giflib_Gif(benchmark::State& state, const char* kind) {
  const ByteVector& file = File(kind, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    MemoryInput input{&file, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&input, ReadMemory, &error);
    if (gif == nullptr || DGifSlurp(gif) != GIF_OK) state.SkipWithError("giflib");
    if (gif->ImageCount > 1) {
      // The same compositing as ours: each frame's indices through its colour map onto a
      // 32-bit canvas, transparent index skipped.
      // A fresh canvas per picture, as ours makes one per animation.
      std::vector<std::uint32_t> canvas(static_cast<std::size_t>(gif->SWidth) * gif->SHeight, 0xD4D0C8);
      for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
        std::uint32_t palette[256] = {};
        for (int c = 0; c < map->ColorCount; ++c)
          palette[c] = static_cast<std::uint32_t>(map->Colors[c].Red) << 16 | map->Colors[c].Green << 8 |
                       map->Colors[c].Blue;
        GraphicsControlBlock control;
        DGifSavedExtensionToGCB(gif, i, &control);
        const GifImageDesc& d = image.ImageDesc;
        for (int y = 0; y < d.Height && d.Top + y < gif->SHeight; ++y)
          for (int x = 0; x < d.Width && d.Left + x < gif->SWidth; ++x) {
            GifByteType index = image.RasterBits[y * d.Width + x];
            if (index != control.TransparentColor)
              canvas[static_cast<std::size_t>(d.Top + y) * gif->SWidth + d.Left + x] = palette[index];
          }
      }
      benchmark::DoNotOptimize(canvas.data());
    }
    DGifCloseFile(gif, &error);
  }
  Report(state, file);
}

void Stb_Gif(benchmark::State& state, const char* kind) {
  const ByteVector& file = File(kind, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    int width = 0, height = 0, frames = 0, components = 0;
    int* delays = nullptr;
    unsigned char* pixels;
    if (std::strcmp(kind, "gif20") == 0) {
      pixels = stbi_load_gif_from_memory(file.data(), static_cast<int>(file.size()), &delays, &width, &height,
                                         &frames, &components, 4);
    } else {
      pixels = stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &width, &height, &components, 4);
    }
    if (pixels == nullptr) state.SkipWithError("stb");
    benchmark::DoNotOptimize(pixels);
    stbi_image_free(pixels);
    stbi_image_free(delays);
  }
  Report(state, file);
}

// ---- BMP and PCX ----

void Ours_Bmp(benchmark::State& state, const char* kind) {
  const ByteVector& file = File(kind, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    Raster raster;
    if (DecodeBmp(file.data(), file.size(), raster) != nullptr) state.SkipWithError("bmp");
    benchmark::DoNotOptimize(raster.pixels.data());
  }
  Report(state, file);
}

void Stb_Bmp(benchmark::State& state, const char* kind) {
  const ByteVector& file = File(kind, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    int width = 0, height = 0, components = 0;
    unsigned char* pixels =
        stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &width, &height, &components, 3);
    if (pixels == nullptr) state.SkipWithError("stb");
    benchmark::DoNotOptimize(pixels);
    stbi_image_free(pixels);
  }
  Report(state, file);
}

void Ours_Pcx(benchmark::State& state, const char* kind) {
  const ByteVector& file = File(kind, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    Raster raster;
    if (DecodePcx(file.data(), file.size(), raster) != nullptr) state.SkipWithError("pcx");
    benchmark::DoNotOptimize(raster.pixels.data());
  }
  Report(state, file);
}

// ---- JPEG and PNG ----

void Ours_Jpeg(benchmark::State& state) {
  const ByteVector& file = File("jpeg", static_cast<int>(state.range(0)));
  for (auto _ : state) {
    Raster raster;
    if (DecodeJpeg(file.data(), file.size(), raster) != nullptr) state.SkipWithError("jpeg");
    benchmark::DoNotOptimize(raster.pixels.data());
  }
  Report(state, file);
}

void BareLibjpeg_Jpeg(benchmark::State& state) {
  const ByteVector& file = File("jpeg", static_cast<int>(state.range(0)));
  for (auto _ : state) {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&cinfo, TRUE);
    jpeg_start_decompress(&cinfo);
    std::size_t stride = (cinfo.output_width * cinfo.output_components + 3) & ~std::size_t(3);
    std::vector<std::uint8_t> pixels(stride * cinfo.output_height);
    while (cinfo.output_scanline < cinfo.output_height) {
      JSAMPROW row = pixels.data() + stride * cinfo.output_scanline;
      jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    benchmark::DoNotOptimize(pixels.data());
  }
  Report(state, file);
}

void Ours_Png(benchmark::State& state) {
  const ByteVector& file = File("png", static_cast<int>(state.range(0)));
  for (auto _ : state) {
    Raster raster;
    if (DecodePngOverBackground(file.data(), file.size(), 0xD4D0C8, raster) != nullptr) state.SkipWithError("png");
    benchmark::DoNotOptimize(raster.pixels.data());
  }
  Report(state, file);
}

void BareLibpng_Png(benchmark::State& state) {
  const ByteVector& file = File("png", static_cast<int>(state.range(0)));
  for (auto _ : state) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    png_image_begin_read_from_memory(&image, file.data(), file.size());
    image.format = PNG_FORMAT_BGRA;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr);
    benchmark::DoNotOptimize(pixels.data());
  }
  Report(state, file);
}

void Sizes(benchmark::internal::Benchmark* b) { b->Arg(110)->Arg(1000)->Unit(benchmark::kMicrosecond); }

}  // namespace

BENCHMARK_CAPTURE(Ours_Gif, single, "gif")->Apply(Sizes);
BENCHMARK_CAPTURE(Giflib_Gif, single, "gif")->Apply(Sizes);
BENCHMARK_CAPTURE(Stb_Gif, single, "gif")->Apply(Sizes);
BENCHMARK_CAPTURE(Ours_Gif, animated20, "gif20")->Apply(Sizes);
BENCHMARK_CAPTURE(Giflib_Gif, animated20, "gif20")->Apply(Sizes);
BENCHMARK_CAPTURE(Stb_Gif, animated20, "gif20")->Apply(Sizes);
BENCHMARK_CAPTURE(Ours_Bmp, bmp8, "bmp8")->Apply(Sizes);
BENCHMARK_CAPTURE(Stb_Bmp, bmp8, "bmp8")->Apply(Sizes);
BENCHMARK_CAPTURE(Ours_Bmp, bmp24, "bmp24")->Apply(Sizes);
BENCHMARK_CAPTURE(Stb_Bmp, bmp24, "bmp24")->Apply(Sizes);
BENCHMARK_CAPTURE(Ours_Pcx, pcx8, "pcx8")->Apply(Sizes);
BENCHMARK_CAPTURE(Ours_Pcx, pcx1, "pcx1")->Apply(Sizes);
BENCHMARK(Ours_Jpeg)->Apply(Sizes);
BENCHMARK(BareLibjpeg_Jpeg)->Apply(Sizes);
BENCHMARK(Ours_Png)->Apply(Sizes);
BENCHMARK(BareLibpng_Png)->Apply(Sizes);

BENCHMARK_MAIN();
