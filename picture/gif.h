#pragma once
// GIF pictures: the parsed file (GifAnimation) and a clock-free player (GifCompositor).
// Portable: the picture box's animation worker holds each frame for the time Step() returns
// and copies canvas() to the screen.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "picture/decoded_picture.h"

namespace tolvane::picture {

// The graphic control extension's settings (GIF89a).
struct GifControl {
  int disposal = 0;           // 0-7; 2 (restore background) and 3 (restore previous) both
                              // put back what the frame covered
  bool transparent = false;
  int transparentIndex = 0;
  int delay = 0;              // hundredths of a second
};

// An image descriptor and where its LZW data starts.
struct GifFrame {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool interlaced = false;
  // The colour table in force (the local one, or the global one): where its RGB triples lie in
  // the file and how many there are (0: none, all black). Read when the frame is drawn, so a
  // file of many small frames with local tables costs no more memory than its bytes.
  std::size_t paletteOffset = 0;
  std::size_t paletteEntries = 0;
  std::size_t dataOffset = 0;  // the LZW minimum code size byte, then the sub-blocks
  std::size_t dataSize = 0;    // bytes of LZW data in the sub-blocks (as far as the file goes)
};

// One block of the GIF after its colour table, in file order: the blocks the animation acts on.
struct GifBlock {
  enum class Kind { Control, Frame };
  Kind kind = Kind::Frame;
  GifControl control;          // Kind::Control
  std::size_t frame = 0;       // Kind::Frame: index into frames()
};

// A frame's pixels as its LZW data gave them, in stream order (interlaced frames are not yet
// reordered): the first `decoded` of width * height pixels; the rest are missing (and the
// buffer may be shorter than the frame when the data cannot fill it). Reused from frame to
// frame; bytes past `decoded` are undefined.
struct GifFramePixels {
  // The buffer starts with kLead bytes that the decoder uses as its strings of one pixel; the
  // frame's pixels follow.
  static constexpr std::size_t kLead = 256;
  std::unique_ptr<std::uint8_t[]> buffer;
  std::size_t capacity = 0;  // bytes in `buffer`
  std::size_t decoded = 0;
  const std::uint8_t* indices() const { return buffer.get() + kLead; }
};

class GifAnimation {
 public:
  // Null when the data is not a decodable GIF (the first frame must decode). The data is
  // copied: the animation does not refer to the caller's bytes afterwards.
  static std::shared_ptr<GifAnimation> Parse(const std::uint8_t* data, std::size_t size);

  int width() const { return width_; }    // logical screen
  int height() const { return height_; }
  bool animated() const { return frames_.size() > 1; }  // more than one frame
  int backgroundIndex() const { return backgroundIndex_; }

  // A single-frame GIF's frame as an Indexed8 raster of logical-screen size (empty for an
  // animated GIF, which is played by GifCompositor instead). Outside the
  // first frame's rectangle it holds the GIF's background colour index.
  const Raster& still() const { return still_; }

  const std::vector<GifBlock>& blocks() const { return blocks_; }
  const std::vector<GifFrame>& frames() const { return frames_; }
  // The frame's colour table as 0x00RRGGBB (of an animated GIF, like DecodeFrame); entries
  // past the table's own size are black.
  void ReadPalette(const GifFrame& frame, std::array<std::uint32_t, 256>& palette) const {
    ReadPaletteFrom(data_.data(), frame, palette);
  }

  // Decodes one frame's LZW data (of an animated GIF: a still's bytes are not kept). False
  // when the data cannot start (bad minimum code size, a frame over the size cap); pixels
  // decoded before an error in the middle are kept and counted.
  bool DecodeFrame(const GifFrame& frame, GifFramePixels& out) const {
    return DecodeFrameFrom(data_.data(), data_.size(), frame, out);
  }

 private:
  GifAnimation() = default;
  static void ReadPaletteFrom(const std::uint8_t* data, const GifFrame& frame,
                              std::array<std::uint32_t, 256>& palette);
  // Whether the frame's data can start decoding: the checks DecodeFrameFrom fails on.
  static bool FrameDecodes(const std::uint8_t* data, std::size_t size, const GifFrame& frame);
  static bool DecodeFrameFrom(const std::uint8_t* data, std::size_t size, const GifFrame& frame,
                              GifFramePixels& out);

  // The file's bytes, kept only for an animation (a still picture is decoded in Parse).
  std::vector<std::uint8_t> data_;
  int width_ = 0;
  int height_ = 0;
  int backgroundIndex_ = 0;
  std::vector<GifFrame> frames_;
  std::vector<GifBlock> blocks_;
  Raster still_;
};

// Plays an animation frame by frame, with no clock: the caller holds each frame for the
// returned time. Deterministic, so it is tested frame by frame.
class GifCompositor {
 public:
  // `background` (0x00RRGGBB) fills the canvas at the start; the GIF's own background colour
  // is not used. `gif` must not be null. Throws std::bad_alloc when the canvas (up to the size
  // cap: 256 MB at 64 million pixels) cannot be allocated; Step() itself never throws.
  GifCompositor(std::shared_ptr<const GifAnimation> gif, std::uint32_t background);

  // Draws the next frame; returns its hold time in milliseconds (delay * 10, 0 -> 50). After
  // the last frame (the trailer, a zero byte or the end of readable blocks) it starts again at
  // the first block. Each call draws exactly one frame, so its work is bounded by one pass
  // over the blocks and one frame's data.
  int Step();

  // width * height pixels 0x00RRGGBB, rows top-down.
  const std::uint32_t* canvas() const { return canvas_.data(); }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;  // clipped to the canvas; may be empty
  };
  void DrawFrame(const GifFrame& frame, const GifFramePixels& pixels);

  std::shared_ptr<const GifAnimation> gif_;
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> canvas_;
  std::size_t nextBlock_ = 0;
  GifControl inForce_;          // transparency and delay stay until the next extension
  int nextDisposal_ = 0;        // the next frame's only
  int previousDisposal_ = 0;
  Rect previousRect_;
  std::vector<std::uint32_t> saved_;  // what previousRect_ showed before that frame
  GifFramePixels framePixels_;
  std::array<std::uint32_t, 256> palette_{};
};

}  // namespace tolvane::picture
