#include "tests/picture/fixtures.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <unordered_map>

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

namespace tolvane::picture::fixtures {

namespace {

void PutU16(ByteVector& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}
void PutU32(ByteVector& out, std::uint32_t value) {
  PutU16(out, value & 0xFFFF);
  PutU16(out, value >> 16);
}
void PutRgb(ByteVector& out, std::uint32_t colour) {  // R, G, B
  out.push_back(static_cast<std::uint8_t>(colour >> 16));
  out.push_back(static_cast<std::uint8_t>(colour >> 8));
  out.push_back(static_cast<std::uint8_t>(colour));
}
void PutBgrx(ByteVector& out, std::uint32_t colour) {  // B, G, R, 0
  out.push_back(static_cast<std::uint8_t>(colour));
  out.push_back(static_cast<std::uint8_t>(colour >> 8));
  out.push_back(static_cast<std::uint8_t>(colour >> 16));
  out.push_back(0);
}

std::size_t RowBytes(int width, int bits, int alignment) {
  std::size_t bytes = (static_cast<std::size_t>(width) * bits + 7) / 8;
  return (bytes + alignment - 1) / alignment * alignment;
}

// One row of a device-independent bitmap: indices packed most significant bits first, or
// colours as B, G, R (and A for 32 bits; 16 bits as 5-5-5).
void PutDibRow(ByteVector& out, int width, int bits, const std::uint8_t* indices,
               const std::uint32_t* colours) {
  std::size_t start = out.size();
  std::size_t rowBytes = RowBytes(width, bits, 4);
  out.resize(start + rowBytes, 0);
  std::uint8_t* row = out.data() + start;
  for (int x = 0; x < width; ++x) {
    if (bits <= 8) {
      unsigned index = indices ? indices[x] : 0;
      std::size_t bit = static_cast<std::size_t>(x) * bits;
      row[bit / 8] |= static_cast<std::uint8_t>((index & ((1u << bits) - 1)) << (8 - bits - bit % 8));
    } else {
      std::uint32_t c = colours ? colours[x] : 0;
      std::uint8_t* p = row + static_cast<std::size_t>(x) * (bits / 8);
      if (bits == 16) {
        unsigned v = ((c >> 19) & 31) << 10 | ((c >> 11) & 31) << 5 | ((c >> 3) & 31);
        p[0] = static_cast<std::uint8_t>(v);
        p[1] = static_cast<std::uint8_t>(v >> 8);
      } else {
        p[0] = static_cast<std::uint8_t>(c);
        p[1] = static_cast<std::uint8_t>(c >> 8);
        p[2] = static_cast<std::uint8_t>(c >> 16);
        if (bits == 32) p[3] = static_cast<std::uint8_t>(c >> 24);
      }
    }
  }
}

}  // namespace

// ---- BMP ----

ByteVector WriteBmp(const BmpRecipe& recipe) {
  ByteVector out;
  std::int64_t rows = recipe.height < 0 ? -static_cast<std::int64_t>(recipe.height) : recipe.height;
  std::int64_t columns = recipe.width < 0 ? -static_cast<std::int64_t>(recipe.width) : recipe.width;
  std::size_t pixelCount = static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows);
  bool writeRows = !recipe.indices.empty() || !recipe.colours.empty() || pixelCount <= 4u << 20;
  out.insert(out.end(), {'B', 'M'});
  PutU32(out, 0);  // file size, patched below
  PutU32(out, 0);
  PutU32(out, 0);  // pixel offset, patched below
  PutU32(out, recipe.headerSize);
  PutU32(out, static_cast<std::uint32_t>(recipe.width));
  PutU32(out, static_cast<std::uint32_t>(recipe.height));
  PutU16(out, 1);
  PutU16(out, static_cast<std::uint32_t>(recipe.bitCount));
  PutU32(out, recipe.compression);
  PutU32(out, 0);
  PutU32(out, 2835);
  PutU32(out, 2835);
  PutU32(out, recipe.coloursUsed);
  PutU32(out, 0);
  if (recipe.headerSize > 40) out.resize(14 + recipe.headerSize, 0);
  for (std::uint32_t colour : recipe.palette) PutBgrx(out, colour);
  std::size_t offset = recipe.pixelOffset < 0 ? out.size() : static_cast<std::size_t>(recipe.pixelOffset);
  if (offset > out.size()) out.resize(offset, 0);
  if (writeRows && recipe.width > 0) {
    for (std::int64_t i = 0; i < rows; ++i) {
      std::int64_t y = recipe.height > 0 ? rows - 1 - i : i;  // bottom-up unless negative height
      std::size_t at = static_cast<std::size_t>(y) * recipe.width;
      PutDibRow(out, recipe.width, recipe.bitCount,
                recipe.indices.empty() ? nullptr : recipe.indices.data() + at,
                recipe.colours.empty() ? nullptr : recipe.colours.data() + at);
    }
  }
  std::uint32_t size = static_cast<std::uint32_t>(out.size());
  std::memcpy(out.data() + 2, &size, 4);  // the tests run on little-endian machines only
  std::uint32_t offset32 = static_cast<std::uint32_t>(offset);
  std::memcpy(out.data() + 10, &offset32, 4);
  return out;
}

// ---- GIF ----

namespace {

class CodeWriter {
 public:
  void Put(int code, int width) {
    buffer_ |= static_cast<std::uint32_t>(code) << bits_;
    bits_ += width;
    while (bits_ >= 8) {
      bytes_.push_back(static_cast<std::uint8_t>(buffer_));
      buffer_ >>= 8;
      bits_ -= 8;
    }
  }
  ByteVector Finish(int minCodeSize) {
    if (bits_ > 0) bytes_.push_back(static_cast<std::uint8_t>(buffer_));
    ByteVector out;
    out.push_back(static_cast<std::uint8_t>(minCodeSize));
    for (std::size_t at = 0; at < bytes_.size(); at += 255) {
      std::size_t count = std::min<std::size_t>(255, bytes_.size() - at);
      out.push_back(static_cast<std::uint8_t>(count));
      out.insert(out.end(), bytes_.begin() + at, bytes_.begin() + at + count);
    }
    out.push_back(0);
    return out;
  }

 private:
  std::uint32_t buffer_ = 0;
  int bits_ = 0;
  ByteVector bytes_;
};

std::vector<std::uint8_t> InterlaceOrder(const std::vector<std::uint8_t>& indices, int width) {
  if (width <= 0) return indices;
  int height = static_cast<int>(indices.size() / width);
  std::vector<std::uint8_t> out;
  out.reserve(indices.size());
  static const int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass)
    for (int y = kStart[pass]; y < height; y += kStep[pass])
      out.insert(out.end(), indices.begin() + static_cast<std::size_t>(y) * width,
                 indices.begin() + static_cast<std::size_t>(y + 1) * width);
  return out;
}

int TableBits(std::size_t entries) {  // a GIF colour table holds 2^(n+1) entries
  int n = 0;
  while ((2u << n) < entries && n < 7) ++n;
  return n;
}

void PutTable(ByteVector& out, const std::vector<std::uint32_t>& palette) {
  std::size_t entries = 2u << TableBits(palette.size());
  for (std::size_t i = 0; i < entries; ++i) PutRgb(out, i < palette.size() ? palette[i] : 0);
}

}  // namespace

ByteVector EncodeGifLzw(const std::vector<std::uint8_t>& displayIndices, int minCodeSize,
                        bool interlaced, int width) {
  std::vector<std::uint8_t> indices =
      interlaced ? InterlaceOrder(displayIndices, width) : displayIndices;
  const int clear = 1 << minCodeSize, end = clear + 1;
  CodeWriter writer;
  std::unordered_map<std::uint32_t, int> table;
  int next = end + 1, codeWidth = minCodeSize + 1;
  writer.Put(clear, codeWidth);
  int prefix = -1;
  for (std::uint8_t byte : indices) {
    int value = byte & (clear - 1);
    if (prefix < 0) {
      prefix = value;
      continue;
    }
    std::uint32_t key = static_cast<std::uint32_t>(prefix) << 8 | static_cast<std::uint32_t>(value);
    auto found = table.find(key);
    if (found != table.end()) {
      prefix = found->second;
      continue;
    }
    writer.Put(prefix, codeWidth);
    table.emplace(key, next++);
    if (next > (1 << codeWidth) && codeWidth < 12) ++codeWidth;
    if (next == 4096) {  // the table is full: start again
      writer.Put(clear, codeWidth);
      table.clear();
      next = end + 1;
      codeWidth = minCodeSize + 1;
    }
    prefix = value;
  }
  if (prefix >= 0) writer.Put(prefix, codeWidth);
  writer.Put(end, codeWidth);
  return writer.Finish(minCodeSize);
}

ByteVector PackGifCodes(int minCodeSize, const std::vector<std::pair<int, int>>& codes) {
  CodeWriter writer;
  for (const auto& [code, width] : codes) writer.Put(code, width);
  return writer.Finish(minCodeSize);
}

ByteVector WriteGif(const GifRecipe& recipe) {
  const char* signature = recipe.gif89 ? "GIF89a" : "GIF87a";
  ByteVector out(signature, signature + 6);
  PutU16(out, static_cast<std::uint32_t>(recipe.width));
  PutU16(out, static_cast<std::uint32_t>(recipe.height));
  bool global = !recipe.globalPalette.empty();
  out.push_back(static_cast<std::uint8_t>((global ? 0x80 : 0) | 0x70 |
                                          (global ? TableBits(recipe.globalPalette.size()) : 0)));
  out.push_back(static_cast<std::uint8_t>(recipe.backgroundIndex));
  out.push_back(0);
  if (global) PutTable(out, recipe.globalPalette);
  if (recipe.loopExtension) {
    const char* app = "NETSCAPE2.0";
    out.insert(out.end(), {0x21, 0xFF, 11});
    out.insert(out.end(), app, app + 11);
    out.insert(out.end(), {3, 1, 1, 0, 0});
  }
  if (recipe.comment) {
    const char* text = "made by the tests";
    out.insert(out.end(), {0x21, 0xFE, static_cast<std::uint8_t>(std::strlen(text))});
    out.insert(out.end(), text, text + std::strlen(text));
    out.push_back(0);
  }
  for (const GifFrameRecipe& frame : recipe.frames) {
    if (frame.control) {
      out.insert(out.end(), {0x21, 0xF9, 4});
      out.push_back(static_cast<std::uint8_t>(((frame.disposal & 7) << 2) | (frame.transparent ? 1 : 0)));
      PutU16(out, static_cast<std::uint32_t>(frame.delay));
      out.push_back(static_cast<std::uint8_t>(frame.transparentIndex));
      out.push_back(0);
    }
    out.push_back(0x2C);
    PutU16(out, static_cast<std::uint32_t>(frame.left));
    PutU16(out, static_cast<std::uint32_t>(frame.top));
    PutU16(out, static_cast<std::uint32_t>(frame.width));
    PutU16(out, static_cast<std::uint32_t>(frame.height));
    bool local = !frame.localPalette.empty();
    out.push_back(static_cast<std::uint8_t>((local ? 0x80 : 0) | (frame.interlaced ? 0x40 : 0) |
                                            (local ? TableBits(frame.localPalette.size()) : 0)));
    if (local) PutTable(out, frame.localPalette);
    if (!frame.rawData.empty()) {
      out.insert(out.end(), frame.rawData.begin(), frame.rawData.end());
    } else {
      std::size_t entries = local ? frame.localPalette.size() : recipe.globalPalette.size();
      int minCodeSize = frame.minCodeSize;
      if (minCodeSize == 0) minCodeSize = std::max(2, TableBits(entries) + 1);
      std::vector<std::uint8_t> indices = frame.indices;
      indices.resize(static_cast<std::size_t>(frame.width) * frame.height, 0);
      ByteVector data = EncodeGifLzw(indices, minCodeSize, frame.interlaced, frame.width);
      out.insert(out.end(), data.begin(), data.end());
    }
  }
  if (recipe.trailer) out.push_back(0x3B);
  return out;
}

// ---- PCX ----

ByteVector WritePcx(const PcxRecipe& recipe) {
  ByteVector out(128, 0);
  int width = recipe.xMax - recipe.xMin + 1, height = recipe.yMax - recipe.yMin + 1;
  int bytesPerLine = recipe.bytesPerLine;
  if (bytesPerLine == 0) bytesPerLine = static_cast<int>(RowBytes(width, recipe.bitsPerPixel, 2));
  out[0] = 0x0A;
  out[1] = static_cast<std::uint8_t>(recipe.version);
  out[2] = 1;
  out[3] = static_cast<std::uint8_t>(recipe.bitsPerPixel);
  auto put16 = [&out](std::size_t at, int value) {
    out[at] = static_cast<std::uint8_t>(value);
    out[at + 1] = static_cast<std::uint8_t>(value >> 8);
  };
  put16(4, recipe.xMin);
  put16(6, recipe.yMin);
  put16(8, recipe.xMax);
  put16(10, recipe.yMax);
  put16(12, 72);
  put16(14, 72);
  out[65] = static_cast<std::uint8_t>(recipe.planes);
  put16(66, bytesPerLine);
  put16(68, 1);
  if (!recipe.rawData.empty()) {
    for (std::uint8_t byte : recipe.rawData) out.push_back(byte);
  } else if (width > 0 && height > 0) {
    std::vector<std::uint8_t> line(static_cast<std::size_t>(bytesPerLine));
    for (int y = 0; y < height; ++y) {
      for (int plane = 0; plane < recipe.planes; ++plane) {
        std::fill(line.begin(), line.end(), 0);
        for (int x = 0; x < width; ++x) {
          std::size_t at = static_cast<std::size_t>(y) * width + x;
          unsigned value = at < recipe.indices.size() ? recipe.indices[at] : 0;
          if (recipe.bitsPerPixel == 8) {
            if (x < bytesPerLine) line[x] = static_cast<std::uint8_t>(value);
          } else if (x / 8 < bytesPerLine && (value & 1)) {
            line[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
          }
        }
        // Run-length: runs of up to 63; a lone byte below C0 stands for itself.
        for (std::size_t i = 0; i < line.size();) {
          std::size_t run = 1;
          while (i + run < line.size() && run < 63 && line[i + run] == line[i]) ++run;
          if (run > 1 || line[i] >= 0xC0) out.push_back(static_cast<std::uint8_t>(0xC0 | run));
          out.push_back(line[i]);
          i += run;
        }
      }
    }
  }
  if (!recipe.palette.empty()) {
    out.push_back(0x0C);
    for (std::size_t i = 0; i < 256; ++i) PutRgb(out, i < recipe.palette.size() ? recipe.palette[i] : 0);
  }
  return out;
}

// ---- ICO / CUR ----

ByteVector MakeIconImage(const IconImageRecipe& recipe) {
  ByteVector out;
  PutU32(out, 40);
  PutU32(out, static_cast<std::uint32_t>(recipe.width));
  PutU32(out, static_cast<std::uint32_t>(recipe.height * 2));
  PutU16(out, 1);
  PutU16(out, static_cast<std::uint32_t>(recipe.bitCount));
  for (int i = 0; i < 6; ++i) PutU32(out, 0);
  if (recipe.bitCount <= 8) {
    std::size_t entries = 1u << recipe.bitCount;
    for (std::size_t i = 0; i < entries; ++i) PutBgrx(out, i < recipe.palette.size() ? recipe.palette[i] : 0);
  }
  std::vector<std::uint8_t> indices;
  if (recipe.bitCount <= 8)
    for (std::uint32_t p : recipe.pixels) indices.push_back(static_cast<std::uint8_t>(p));
  for (int y = recipe.height - 1; y >= 0; --y) {
    std::size_t at = static_cast<std::size_t>(y) * recipe.width;
    PutDibRow(out, recipe.width, recipe.bitCount, indices.empty() ? nullptr : indices.data() + at,
              recipe.pixels.empty() || recipe.bitCount <= 8 ? nullptr : recipe.pixels.data() + at);
  }
  int maskRows = recipe.andMaskRowsKept < 0 ? recipe.height : recipe.andMaskRowsKept;
  for (int i = 0; i < maskRows; ++i) {
    int y = recipe.height - 1 - i;
    std::size_t at = static_cast<std::size_t>(y) * recipe.width;
    PutDibRow(out, recipe.width, 1, recipe.mask.empty() ? nullptr : recipe.mask.data() + at, nullptr);
  }
  return out;
}

ByteVector WriteIcon(const std::vector<IconEntryRecipe>& entries, int type) {
  ByteVector out;
  PutU16(out, 0);
  PutU16(out, static_cast<std::uint32_t>(type));
  PutU16(out, static_cast<std::uint32_t>(entries.size()));
  std::size_t place = 6 + 16 * entries.size();
  for (const IconEntryRecipe& entry : entries) {
    out.push_back(static_cast<std::uint8_t>(entry.width >= 256 ? 0 : entry.width));
    out.push_back(static_cast<std::uint8_t>(entry.height >= 256 ? 0 : entry.height));
    out.push_back(static_cast<std::uint8_t>(entry.colourCount));
    out.push_back(0);
    PutU16(out, static_cast<std::uint32_t>(entry.planesOrHotspotX));
    PutU16(out, static_cast<std::uint32_t>(entry.bitCountOrHotspotY));
    PutU32(out, static_cast<std::uint32_t>(entry.size < 0 ? entry.image.size() : entry.size));
    PutU32(out, static_cast<std::uint32_t>(entry.offset < 0 ? place : entry.offset));
    place += entry.image.size();
  }
  for (const IconEntryRecipe& entry : entries) out.insert(out.end(), entry.image.begin(), entry.image.end());
  return out;
}

// ---- JPEG / PNG ----

ByteVector EncodeJpeg(int width, int height, const std::vector<std::uint32_t>& rgb, bool greyscale,
                      int quality, bool progressive) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);  // the writer's input is the tests' own: errors exit
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = greyscale ? 1 : 3;
  cinfo.in_color_space = greyscale ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  if (progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * 3);
  while (cinfo.next_scanline < cinfo.image_height) {
    std::size_t y = cinfo.next_scanline;
    for (int x = 0; x < width; ++x) {
      std::uint32_t c = rgb[y * width + x];
      if (greyscale) {
        row[x] = static_cast<JSAMPLE>(c >> 8);
      } else {
        row[x * 3] = static_cast<JSAMPLE>(c >> 16);
        row[x * 3 + 1] = static_cast<JSAMPLE>(c >> 8);
        row[x * 3 + 2] = static_cast<JSAMPLE>(c);
      }
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  ByteVector out(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return out;
}

ByteVector EncodePng(int width, int height, const std::vector<std::uint32_t>& argb) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  bool opaque = true;
  for (std::uint32_t c : argb) opaque = opaque && (c >> 24) == 0xFF;
  image.format = opaque ? PNG_FORMAT_RGB : PNG_FORMAT_RGBA;
  int channels = opaque ? 3 : 4;
  std::vector<std::uint8_t> pixels;
  pixels.reserve(static_cast<std::size_t>(width) * height * channels);
  for (std::uint32_t c : argb) {
    pixels.push_back(static_cast<std::uint8_t>(c >> 16));
    pixels.push_back(static_cast<std::uint8_t>(c >> 8));
    pixels.push_back(static_cast<std::uint8_t>(c));
    if (!opaque) pixels.push_back(static_cast<std::uint8_t>(c >> 24));
  }
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr))
    throw std::runtime_error("png size");
  ByteVector out(size);
  if (!png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr))
    throw std::runtime_error("png write");
  out.resize(size);
  return out;
}

// ---- patterns ----

std::vector<std::uint32_t> PatternColours(int width, int height) {
  std::vector<std::uint32_t> out;
  out.reserve(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      out.push_back(static_cast<std::uint32_t>(((x * 7 + y * 3) & 255) << 16 |
                                               ((x / 4 + y * 5) & 255) << 8 | ((x + 2 * y) * 5 & 255)));
  return out;
}

std::vector<std::uint8_t> PatternIndices(int width, int height, int colours) {
  std::vector<std::uint8_t> out;
  out.reserve(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      out.push_back(static_cast<std::uint8_t>((x / 3 + (y / 5) * 7 + (x * y) % 5) % colours));
  return out;
}

std::vector<std::uint32_t> PatternPalette(int count) {
  std::vector<std::uint32_t> out;
  for (int i = 0; i < count; ++i)
    out.push_back(static_cast<std::uint32_t>(i << 16 | (255 - i) << 8 | ((i * 7 + 40) & 255)));
  return out;
}

}  // namespace tolvane::picture::fixtures
