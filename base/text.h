#pragma once
// The two value types that flow through the program:
//   Text  - a NUL-terminated byte string in the system ANSI code page (GBK on the target:
//           a byte of 0x80 or more starts a double-byte character). A null Text reads as
//           the empty text. Lengths and positions count bytes.
//   Bytes - a counted byte sequence; a null Bytes reads as empty.
// Both own their memory (from base/memory.h) and are move-only: a copy is always explicit
// (Clone), so every place that hands out a fresh value is visible in the code.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "base/memory.h"

namespace tolvane {

class Text {
 public:
  Text() noexcept = default;
  Text(Text&&) noexcept = default;
  Text& operator=(Text&&) noexcept = default;
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;

  // A new text holding `length` bytes of `bytes` and a terminating zero. The bytes must not
  // contain a zero byte (a Text ends at its first zero). A zero length gives a non-null empty
  // text.
  static Text Copy(const char* bytes, std::size_t length);
  // A new copy of a NUL-terminated string; null gives a null Text.
  static Text FromCString(const char* text);
  // Takes ownership of a block from AllocateBlock holding `length` bytes and a zero after them.
  static Text Adopt(char* block, std::size_t length) noexcept;

  Text Clone() const;

  // Never null: a null Text reads as "".
  const char* c_str() const noexcept { return data_ ? data_.get() : ""; }
  // The stored pointer, null for a null Text.
  const char* get() const noexcept { return data_.get(); }
  std::size_t size() const noexcept { return length_; }
  bool empty() const noexcept { return length_ == 0; }
  bool is_null() const noexcept { return !data_; }

 private:
  std::unique_ptr<char[], BlockDeleter> data_;
  std::size_t length_ = 0;
};

class Bytes {
 public:
  Bytes() noexcept = default;
  Bytes(Bytes&&) noexcept = default;
  Bytes& operator=(Bytes&&) noexcept = default;
  Bytes(const Bytes&) = delete;
  Bytes& operator=(const Bytes&) = delete;

  // A new copy of `size` bytes; a zero size gives null Bytes.
  static Bytes Copy(const void* data, std::size_t size);
  // Takes ownership of a block from AllocateBlock holding `size` bytes (null when size is 0).
  static Bytes Adopt(std::uint8_t* block, std::size_t size) noexcept;

  Bytes Clone() const { return Copy(data_.get(), size_); }

  // Null for empty Bytes.
  const std::uint8_t* data() const noexcept { return data_.get(); }
  std::size_t size() const noexcept { return size_; }
  bool empty() const noexcept { return size_ == 0; }

 private:
  std::unique_ptr<std::uint8_t[], BlockDeleter> data_;
  std::size_t size_ = 0;
};

}  // namespace tolvane
