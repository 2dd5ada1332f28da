// GIF87a/GIF89a: the logical screen, colour tables, the block sequence, LZW frame data and
// the compositor that plays the frames.
#include "picture/gif.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "picture/byte_reader.h"

namespace tolvane::picture {

namespace {

constexpr int kMaxCodes = 4096;  // LZW codes are at most 12 bits wide

// Skips a chain of data sub-blocks up to and including its zero-length terminator.
bool SkipSubBlocks(ByteReader& reader) {
  for (;;) {
    std::uint8_t length = reader.U8();
    if (reader.failed()) return false;
    if (length == 0) return true;
    if (!reader.Skip(length)) return false;
  }
}

// The display row of the `index`th row in an interlaced frame: rows 0, 8, 16...; then 4,
// 12...; then 2, 6...; then 1, 3...
int InterlacedRow(int index, int height) {
  int pass1 = (height + 7) / 8;
  if (index < pass1) return index * 8;
  index -= pass1;
  int pass2 = (height + 3) / 8;
  if (index < pass2) return 4 + index * 8;
  index -= pass2;
  int pass3 = (height + 1) / 4;
  if (index < pass3) return 2 + index * 4;
  index -= pass3;
  return 1 + index * 2;
}

// Emitting a code copies its string from earlier output in whole 16-byte chunks; the output
// buffer has this much room past its capacity for the last chunk's overshoot.
constexpr std::size_t kCopySlack = 16;

// Copies `count` bytes from `from` to `to` (from + count <= to, so the bytes wanted are never
// written by the copy itself). Up to 15 bytes past `count` are written as well: they lie in
// output not yet produced, or in the slack.
inline void CopyString(std::uint8_t* out, std::size_t from, std::size_t to, std::size_t count) {
  std::size_t done = 0;
  do {
    std::uint8_t chunk[16];
    std::memcpy(chunk, out + from + done, 16);
    std::memcpy(out + to + done, chunk, 16);
    done += 16;
  } while (done < count);
}

// Decodes an LZW code stream into `out` + kLead (`capacity` pixels, then kCopySlack bytes),
// stopping at the end code, the end of the data, the first invalid code, or when the output
// is full (codes past the frame's pixels are dropped). Returns the number of pixels produced.
//
// Every string in the code table is a run of bytes already in the buffer: a literal code's
// is its byte in the buffer's lead (which holds 0, 1, 2 ... 255), and the string of a new code
// is the previous code's output followed by one more byte, the first of what follows. So the
// table holds a position and a length per code, and emitting any code is one copy.
//
// `data` holds the sub-blocks from `position` on (each a length byte and that many bytes, up
// to a zero length); they are read in place, a sub-block cut off by the end of `size` as far
// as it goes.
std::size_t DecodeLzw(const std::uint8_t* data, std::size_t size, std::size_t position,
                      int minCodeSize, std::uint8_t* out, std::size_t capacity) {
  constexpr std::size_t kLead = GifFramePixels::kLead;
  const int clear = 1 << minCodeSize, endCode = clear + 1;
  std::uint32_t start[kMaxCodes];
  std::uint16_t length[kMaxCodes];
  for (int literal = 0; literal < static_cast<int>(kLead); ++literal)
    out[literal] = static_cast<std::uint8_t>(literal);
  for (int literal = 0; literal < clear; ++literal) {
    start[literal] = static_cast<std::uint32_t>(literal);
    length[literal] = 1;
  }
  int next = endCode + 1, width = minCodeSize + 1;
  std::uint32_t mask = (1u << width) - 1;
  bool havePrevious = false;
  std::size_t previousStart = 0, previousLength = 0;
  std::size_t produced = kLead;
  const std::size_t end = kLead + capacity;
  std::size_t blockEnd = position;  // data[blockEnd] is the next length byte
  std::uint64_t bits = 0;
  int bitCount = 0;
  while (produced < end) {
    if (bitCount < width) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
      if (blockEnd - position >= 8) {
        // Refill to 56-63 bits with one load; bits past the count are the stream's next bits
        // and are loaded again, identically, by the next refill.
        std::uint64_t word;
        std::memcpy(&word, data + position, 8);
        bits |= word << bitCount;
        position += static_cast<std::size_t>((63 - bitCount) >> 3);
        bitCount |= 56;
      } else
#endif
      {
        while (bitCount < width) {
          if (position == blockEnd) {
            if (blockEnd >= size || data[blockEnd] == 0) return produced - kLead;  // no more data
            position = blockEnd + 1;
            blockEnd = position + std::min<std::size_t>(data[blockEnd], size - position);
            continue;
          }
          bits |= static_cast<std::uint64_t>(data[position++]) << bitCount;
          bitCount += 8;
        }
      }
    }
    int code = static_cast<int>(bits & mask);
    bits >>= width;
    bitCount -= width;
    std::size_t emitted;
    if (code < next && static_cast<unsigned>(code - clear) > 1u) {  // a literal or a known string
      emitted = std::min<std::size_t>(length[code], end - produced);
      CopyString(out, start[code], produced, emitted);
    } else if (code == clear) {
      next = endCode + 1;
      width = minCodeSize + 1;
      mask = (1u << width) - 1;
      havePrevious = false;
      continue;
    } else if (code == next && havePrevious && next < kMaxCodes) {
      // The code being defined: the previous string and its own first byte.
      emitted = std::min(previousLength + 1, end - produced);
      CopyString(out, previousStart, produced, std::min(emitted, previousLength));
      if (emitted > previousLength) out[produced + previousLength] = out[previousStart];
    } else {
      return produced - kLead;  // the end code, a code not yet defined, or a string after a clear
    }
    if (havePrevious && next < kMaxCodes) {
      start[next] = static_cast<std::uint32_t>(previousStart);
      length[next] = static_cast<std::uint16_t>(previousLength + 1);
      ++next;
    }
    // Checked after every code, the first after a clear included: with a minimum code size of
    // 1 the first free code already needs the wider width.
    if (next >= (1 << width) && width < 12) {
      ++width;
      mask = (1u << width) - 1;
    }
    havePrevious = true;
    previousStart = produced;
    previousLength = emitted;
    produced += emitted;
  }
  return produced - kLead;
}

}  // namespace

std::shared_ptr<GifAnimation> GifAnimation::Parse(const std::uint8_t* data, std::size_t size) {
  if (data == nullptr || size < 14) return nullptr;
  ByteReader reader(data, size);
  const std::uint8_t* signature = reader.Take(6);
  if (std::memcmp(signature, "GIF87a", 6) != 0 && std::memcmp(signature, "GIF89a", 6) != 0)
    return nullptr;
  std::shared_ptr<GifAnimation> gif(new GifAnimation());
  gif->width_ = reader.U16();
  gif->height_ = reader.U16();
  std::uint8_t flags = reader.U8();
  gif->backgroundIndex_ = reader.U8();
  reader.U8();  // pixel aspect ratio
  if (reader.failed() || !DimensionsAllowed(gif->width_, gif->height_)) return nullptr;
  // Without a global table frames without a local one are black.
  std::size_t globalOffset = 0, globalEntries = 0;
  if (flags & 0x80) {
    globalEntries = 2u << (flags & 7);
    globalOffset = reader.position();
    if (!reader.Skip(globalEntries * 3)) return nullptr;
  }

  // Index the blocks up to the trailer, a zero byte, an unknown byte or the end of the data;
  // the animation starts again from the first block there.
  for (bool more = true; more && !reader.AtEnd();) {
    switch (reader.U8()) {
      case 0x21: {  // extension
        std::uint8_t label = reader.U8();
        if (label == 0xF9 && reader.Peek() >= 4) {
          std::size_t blockSize = reader.U8();
          std::uint8_t packed = reader.U8();
          GifBlock block;
          block.kind = GifBlock::Kind::Control;
          block.control.disposal = (packed >> 2) & 7;
          block.control.transparent = (packed & 1) != 0;
          block.control.delay = reader.U16();
          block.control.transparentIndex = reader.U8();
          reader.Skip(blockSize - 4);
          if (reader.failed()) {
            more = false;
            break;
          }
          gif->blocks_.push_back(block);
        }
        // Plain text, comment and application extensions (a loop count) are skipped.
        more = SkipSubBlocks(reader);
        break;
      }
      case 0x2C: {  // image descriptor
        GifFrame frame;
        frame.left = reader.U16();
        frame.top = reader.U16();
        frame.width = reader.U16();
        frame.height = reader.U16();
        std::uint8_t packed = reader.U8();
        frame.interlaced = (packed & 0x40) != 0;
        frame.paletteOffset = globalOffset;
        frame.paletteEntries = globalEntries;
        if (packed & 0x80) {
          frame.paletteEntries = 2u << (packed & 7);
          frame.paletteOffset = reader.position();
          if (!reader.Skip(frame.paletteEntries * 3)) {
            more = false;
            break;
          }
        }
        if (reader.failed()) {
          more = false;
          break;
        }
        frame.dataOffset = reader.position();
        GifBlock block;
        block.kind = GifBlock::Kind::Frame;
        block.frame = gif->frames_.size();
        gif->frames_.push_back(frame);
        gif->blocks_.push_back(block);
        // A frame whose data is cut short is kept (decoded as far as it goes) and ends the
        // sequence.
        reader.U8();  // minimum code size
        more = !reader.failed();
        while (more) {
          std::size_t length = reader.U8();
          if (reader.failed() || length == 0) break;
          std::size_t available = std::min(length, reader.remaining());
          gif->frames_.back().dataSize += available;
          more = reader.Skip(length);
        }
        break;
      }
      default:  // trailer (3B), a zero byte, or anything else
        more = false;
    }
  }
  if (gif->frames_.empty()) return nullptr;

  // The first frame must decode.
  const GifFrame& first = gif->frames_[0];
  if (gif->animated()) {
    // Frames are decoded as the animation reaches them (the first one too), so no still
    // picture is made.
    if (!FrameDecodes(data, size, first)) return nullptr;
    gif->data_.assign(data, data + size);
    return gif;
  }
  // A single frame is the still picture, at logical-screen size.
  GifFramePixels pixels;
  if (!DecodeFrameFrom(data, size, first, pixels)) return nullptr;
  Raster& still = gif->still_;
  still.layout = Raster::Layout::Indexed8;
  still.width = gif->width_;
  still.height = gif->height_;
  still.stride = PaddedRowBytes(still.width, 8, 4);
  still.pixels.assign(still.stride * static_cast<std::size_t>(still.height),
                      static_cast<std::uint8_t>(gif->backgroundIndex_));
  ReadPaletteFrom(data, first, still.palette);
  const std::size_t rows = first.width == 0 ? 0 : (pixels.decoded + first.width - 1) / first.width;
  for (std::size_t row = 0; row < rows; ++row) {
    int y = first.top + (first.interlaced ? InterlacedRow(static_cast<int>(row), first.height)
                                          : static_cast<int>(row));
    if (y >= still.height) continue;
    std::size_t count = std::min<std::size_t>(first.width, pixels.decoded - row * first.width);
    int left = first.left, right = static_cast<int>(std::min<std::size_t>(still.width, left + count));
    if (left >= right) continue;
    std::memcpy(still.pixels.data() + still.stride * y + left,
                pixels.indices() + row * first.width, static_cast<std::size_t>(right - left));
  }
  return gif;
}

void GifAnimation::ReadPaletteFrom(const std::uint8_t* data, const GifFrame& frame,
                                   std::array<std::uint32_t, 256>& palette) {
  // Parse checked that the table lies in the data.
  palette.fill(0);
  ReadRgbTable(data + frame.paletteOffset, frame.paletteEntries, palette);
}

bool GifAnimation::FrameDecodes(const std::uint8_t* data, std::size_t size,
                                const GifFrame& frame) {
  if (frame.dataOffset >= size) return false;
  int minCodeSize = data[frame.dataOffset];
  // Literal codes must be palette indices: at most 8 bits (GIF89a allows 2 to 8; 1 is seen).
  if (minCodeSize < 1 || minCodeSize > 8) return false;
  return (frame.width == 0 || frame.height == 0) || DimensionsAllowed(frame.width, frame.height);
}

bool GifAnimation::DecodeFrameFrom(const std::uint8_t* data, std::size_t size,
                                   const GifFrame& frame, GifFramePixels& out) {
  out.decoded = 0;
  if (!FrameDecodes(data, size, frame)) return false;
  if (frame.width == 0 || frame.height == 0) return true;  // nothing to draw
  const int minCodeSize = data[frame.dataOffset];
  // No code stream can produce more than this: each code is at least minCodeSize + 1 bits and
  // stands for at most kMaxCodes pixels. Sizing the buffer by it keeps a frame that claims a
  // large rectangle but holds few bytes from asking for much memory.
  std::size_t pixels = static_cast<std::size_t>(frame.width) * static_cast<std::size_t>(frame.height);
  std::uint64_t codes = static_cast<std::uint64_t>(frame.dataSize) * 8 / static_cast<unsigned>(minCodeSize + 1);
  if (codes < pixels / kMaxCodes + 1) pixels = std::min<std::size_t>(pixels, static_cast<std::size_t>(codes) * kMaxCodes);
  const std::size_t needed = GifFramePixels::kLead + pixels + kCopySlack;
  if (out.capacity < needed) {
    // Not value-initialised: only the decoded pixels are ever read. nothrow: Step() runs on
    // the animation worker, where a frame that does not fit in memory is skipped.
    out.capacity = 0;
    out.buffer.reset(new (std::nothrow) std::uint8_t[needed]);
    if (!out.buffer) return false;
    out.capacity = needed;
  }
  out.decoded = DecodeLzw(data, size, frame.dataOffset + 1, minCodeSize, out.buffer.get(), pixels);
  return true;
}

GifCompositor::GifCompositor(std::shared_ptr<const GifAnimation> gif, std::uint32_t background)
    : gif_(std::move(gif)),
      width_(gif_->width()),
      height_(gif_->height()),
      canvas_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), background) {}

int GifCompositor::Step() {
  const std::vector<GifBlock>& blocks = gif_->blocks();
  // Parse keeps at least one frame, so one pass (plus the wrap) always reaches a frame.
  for (std::size_t walked = 0; walked <= blocks.size(); ++walked) {
    if (nextBlock_ >= blocks.size()) nextBlock_ = 0;
    const GifBlock& block = blocks[nextBlock_++];
    if (block.kind == GifBlock::Kind::Control) {
      // GIF89a: the disposal method belongs to the next frame only; transparency and delay
      // stay in force until the next graphic control extension.
      nextDisposal_ = block.control.disposal;
      inForce_ = block.control;
      continue;
    }
    const GifFrame& frame = gif_->frames()[block.frame];
    if (previousDisposal_ == 2 || previousDisposal_ == 3) {
      // Both put back what the previous frame covered (its rectangle as saved before it).
      std::size_t at = 0;
      for (int y = previousRect_.top; y < previousRect_.bottom; ++y) {
        std::size_t count = static_cast<std::size_t>(previousRect_.right - previousRect_.left);
        std::memcpy(canvas_.data() + static_cast<std::size_t>(y) * width_ + previousRect_.left,
                    saved_.data() + at, count * sizeof(std::uint32_t));
        at += count;
      }
    }
    Rect rect;
    rect.left = std::min(frame.left, width_);
    rect.top = std::min(frame.top, height_);
    rect.right = std::min(frame.left + frame.width, width_);
    rect.bottom = std::min(frame.top + frame.height, height_);
    if (rect.left >= rect.right || rect.top >= rect.bottom) rect = Rect();  // nothing to save
    int disposal = nextDisposal_;
    if (disposal == 2 || disposal == 3) {
      // Step runs on the animation worker: if the copy does not fit in memory, the frame is
      // simply not put back.
      try {
        saved_.clear();
        for (int y = rect.top; y < rect.bottom; ++y) {
          const std::uint32_t* row = canvas_.data() + static_cast<std::size_t>(y) * width_;
          saved_.insert(saved_.end(), row + rect.left, row + rect.right);
        }
      } catch (const std::bad_alloc&) {
        disposal = 0;
      }
    }
    if (gif_->DecodeFrame(frame, framePixels_)) DrawFrame(frame, framePixels_);
    previousDisposal_ = disposal;
    previousRect_ = rect;
    nextDisposal_ = 0;
    return inForce_.delay == 0 ? 50 : inForce_.delay * 10;
  }
  return 50;
}

void GifCompositor::DrawFrame(const GifFrame& frame, const GifFramePixels& pixels) {
  gif_->ReadPalette(frame, palette_);
  const std::array<std::uint32_t, 256>& palette = palette_;
  const bool transparent = inForce_.transparent;
  const std::uint8_t transparentIndex = static_cast<std::uint8_t>(inForce_.transparentIndex);
  const std::size_t frameWidth = static_cast<std::size_t>(frame.width);
  if (frameWidth == 0) return;
  const std::size_t rows = (pixels.decoded + frameWidth - 1) / frameWidth;
  for (std::size_t row = 0; row < rows; ++row) {
    int y = frame.top + (frame.interlaced ? InterlacedRow(static_cast<int>(row), frame.height)
                                          : static_cast<int>(row));
    if (y >= height_) continue;
    std::size_t count = std::min(frameWidth, pixels.decoded - row * frameWidth);
    int left = frame.left;
    int right = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(width_), left + count));
    const std::uint8_t* source = pixels.indices() + row * frameWidth;
    std::uint32_t* target = canvas_.data() + static_cast<std::size_t>(y) * width_;
    if (transparent) {
      for (int x = left; x < right; ++x) {
        std::uint8_t index = source[x - left];
        if (index != transparentIndex) target[x] = palette[index];
      }
    } else {
      for (int x = left; x < right; ++x) target[x] = palette[source[x - left]];
    }
  }
}

}  // namespace tolvane::picture
