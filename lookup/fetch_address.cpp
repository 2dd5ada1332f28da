#include "lookup/fetch_address.h"

#include <climits>
#include <cstring>

#include "base/memory.h"

namespace tolvane::lookup {
namespace {

bool NeedsEscape(unsigned char byte) { return byte <= 0x20 || byte >= 0x7F; }

bool IsWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

Text CutFragment(const char* address) {
  if (!address) return Text();
  return Text::Copy(address, std::strcspn(address, "#"));
}

Text EscapeUnsafeBytes(const char* address) {
  if (!address) return Text();
  const std::size_t length = std::strlen(address);
  std::size_t escaped = 0;
  for (std::size_t i = 0; i < length; ++i) {
    if (NeedsEscape(static_cast<unsigned char>(address[i]))) ++escaped;
  }
  char* out = static_cast<char*>(AllocateBlock(length + 2 * escaped + 1));
  static const char kHex[] = "0123456789ABCDEF";
  std::size_t used = 0;
  for (std::size_t i = 0; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(address[i]);
    if (NeedsEscape(byte)) {
      out[used++] = '%';
      out[used++] = kHex[byte >> 4];
      out[used++] = kHex[byte & 15];
    } else {
      out[used++] = static_cast<char>(byte);
    }
  }
  out[used] = '\0';
  return Text::Adopt(out, used);
}

Text PrepareFetchAddress(const char* address) {
  Text cut = CutFragment(address);
  if (cut.empty()) return Text();
  return EscapeUnsafeBytes(cut.c_str());
}

int ReadSizeForContentLength(const char* contentLength) {
  if (!contentLength) return kDefaultReadSize;
  const char* p = contentLength;
  while (IsWhiteSpace(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = (*p++ == '-');
  long long value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    if (value < kMaximumReadSize) value = value * 10 + (*p - '0');  // saturates above the cap
  }
  if (negative || value <= 0) return kDefaultReadSize;
  return value + 1 > kMaximumReadSize ? kMaximumReadSize : static_cast<int>(value + 1);
}

BodyBuffer::~BodyBuffer() { Release(); }

void BodyBuffer::Release() {
  for (Block* block = first_; block;) {
    Block* next = block->next;
    FreeBlock(block);
    block = next;
  }
  first_ = last_ = nullptr;
  size_ = 0;
}

bool BodyBuffer::Append(const void* data, std::size_t size) {
  const auto* from = static_cast<const std::uint8_t*>(data);
  const std::size_t room = last_ ? last_->capacity - last_->used : 0;
  Block* next = nullptr;
  if (size > room) {
    // The new block is as large as everything before it (at least 64 KiB, at most 16 MiB),
    // so there are few blocks and no byte is moved while reading. It is obtained before
    // anything is copied, so a refused piece leaves the buffer as it was.
    constexpr std::size_t kSmallest = 64 * 1024, kLargest = 16 * 1024 * 1024;
    std::size_t capacity = size_ < kSmallest ? kSmallest : (size_ > kLargest ? kLargest : size_);
    if (capacity < size - room) capacity = size - room;
    if (capacity > static_cast<std::size_t>(-1) - sizeof(Block)) return false;
    next = static_cast<Block*>(TryAllocateBlock(sizeof(Block) + capacity));
    if (!next) return false;
    next->next = nullptr;
    next->capacity = capacity;
    next->used = 0;
  }
  const std::size_t first = size < room ? size : room;
  if (first) {
    std::memcpy(last_->bytes() + last_->used, from, first);
    last_->used += first;
  }
  if (next) {
    std::memcpy(next->bytes(), from + first, size - first);
    next->used = size - first;
    (last_ ? last_->next : first_) = next;
    last_ = next;
  }
  size_ += size;
  return true;
}

Bytes BodyBuffer::TakeBytes() {
  if (size_ == 0) return Bytes();
  Bytes result;
  if (first_ == last_) {
    result = Bytes::Copy(first_->bytes(), first_->used);
  } else {
    auto* joined = static_cast<std::uint8_t*>(AllocateBlock(size_));
    std::size_t used = 0;
    for (Block* block = first_; block; block = block->next) {
      std::memcpy(joined + used, block->bytes(), block->used);
      used += block->used;
    }
    result = Bytes::Adopt(joined, used);
  }
  Release();
  return result;
}

}  // namespace tolvane::lookup
