#pragma once
// The one way the decoders read their input and size their output. Reading past the end is a
// failure that sticks (never a stray byte), and every size is computed with overflow checks
// and held to the dimension cap before anything is allocated.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tolvane::picture {

// No decoded picture, canvas or frame is larger than this on a side or in total, whatever its
// header claims, so that a few bytes cannot ask for gigabytes.
constexpr int kMaxSide = 16384;
constexpr std::uint64_t kMaxPixels = 64u * 1024u * 1024u;

inline bool DimensionsAllowed(std::int64_t width, std::int64_t height) {
  return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
         static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) <= kMaxPixels;
}

// a * b and a + b, false on overflow.
inline bool CheckedMultiply(std::size_t a, std::size_t b, std::size_t& result) {
  if (a != 0 && b > SIZE_MAX / a) return false;
  result = a * b;
  return true;
}
inline bool CheckedAdd(std::size_t a, std::size_t b, std::size_t& result) {
  if (b > SIZE_MAX - a) return false;
  result = a + b;
  return true;
}

// Reads `entries` (at most 256) colour-table entries of three bytes, red, green, blue, into
// `palette` as 0x00RRGGBB; the caller has checked that they lie in the data.
inline void ReadRgbTable(const std::uint8_t* table, std::size_t entries,
                         std::array<std::uint32_t, 256>& palette) {
  for (std::size_t i = 0; i < entries && i < palette.size(); ++i)
    palette[i] = static_cast<std::uint32_t>(table[i * 3]) << 16 |
                 static_cast<std::uint32_t>(table[i * 3 + 1]) << 8 | table[i * 3 + 2];
}

// Bytes in one row of `width` pixels of `bitsPerPixel`, padded to `alignment` bytes. Only for
// widths already within the cap (the result then always fits).
inline std::size_t PaddedRowBytes(int width, int bitsPerPixel, int alignment) {
  std::size_t bits = static_cast<std::size_t>(width) * static_cast<std::size_t>(bitsPerPixel);
  std::size_t bytes = (bits + 7) / 8;
  return (bytes + alignment - 1) / alignment * alignment;
}

class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool failed() const { return failed_; }
  std::size_t position() const { return position_; }
  std::size_t size() const { return size_; }
  std::size_t remaining() const { return failed_ ? 0 : size_ - position_; }
  bool AtEnd() const { return remaining() == 0; }

  // Each read returns 0 (and fails the reader) when the bytes are not there.
  std::uint8_t U8() {
    if (!Need(1)) return 0;
    return data_[position_++];
  }
  std::uint16_t U16() {  // little-endian
    if (!Need(2)) return 0;
    std::uint16_t value = static_cast<std::uint16_t>(data_[position_] | (data_[position_ + 1] << 8));
    position_ += 2;
    return value;
  }
  std::uint32_t U32() {  // little-endian
    if (!Need(4)) return 0;
    const std::uint8_t* p = data_ + position_;
    position_ += 4;
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
  }
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
  std::uint32_t U32BigEndian() {
    if (!Need(4)) return 0;
    const std::uint8_t* p = data_ + position_;
    position_ += 4;
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
  }

  // The next `count` bytes, or null (and a failed reader) when fewer remain.
  const std::uint8_t* Take(std::size_t count) {
    if (!Need(count)) return nullptr;
    const std::uint8_t* p = data_ + position_;
    position_ += count;
    return p;
  }
  bool Skip(std::size_t count) { return Take(count) != nullptr || count == 0; }
  // Moves to an absolute position; past the end fails.
  bool Seek(std::size_t position) {
    if (failed_ || position > size_) {
      failed_ = true;
      return false;
    }
    position_ = position;
    return true;
  }
  // Does not consume; -1 at the end (without failing the reader).
  int Peek() const { return failed_ || position_ >= size_ ? -1 : data_[position_]; }

 private:
  bool Need(std::size_t count) {
    if (failed_ || count > size_ - position_) {
      failed_ = true;
      return false;
    }
    return true;
  }

  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t position_ = 0;
  bool failed_ = false;
};

}  // namespace tolvane::picture
