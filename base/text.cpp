#include "base/text.h"

#include <cstring>

namespace tolvane {

Text Text::Copy(const char* bytes, std::size_t length) {
  char* block = static_cast<char*>(AllocateBlock(length + 1));
  if (length) std::memcpy(block, bytes, length);
  block[length] = '\0';
  return Adopt(block, length);
}

Text Text::FromCString(const char* text) {
  if (!text) return Text();
  return Copy(text, std::strlen(text));
}

Text Text::Adopt(char* block, std::size_t length) noexcept {
  Text text;
  text.data_.reset(block);
  text.length_ = block ? length : 0;
  return text;
}

Text Text::Clone() const { return is_null() ? Text() : Copy(data_.get(), length_); }

Bytes Bytes::Copy(const void* data, std::size_t size) {
  if (size == 0) return Bytes();
  auto* block = static_cast<std::uint8_t*>(AllocateBlock(size));
  std::memcpy(block, data, size);
  return Adopt(block, size);
}

Bytes Bytes::Adopt(std::uint8_t* block, std::size_t size) noexcept {
  Bytes bytes;
  if (size == 0) {
    FreeBlock(block);
    return bytes;
  }
  bytes.data_.reset(block);
  bytes.size_ = size;
  return bytes;
}

}  // namespace tolvane
