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

Text TryCopyText(const char* bytes, std::size_t length) {
  char* block = static_cast<char*>(TryAllocateBlock(length + 1));
  if (!block) return Text();
  std::memcpy(block, bytes, length);
  block[length] = '\0';
  return Text::Adopt(block, length);
}

Text CutFragment(const char* address) {
  if (!address) return Text();
  return TryCopyText(address, std::strcspn(address, "#"));
}

Text EscapeUnsafeBytes(const char* address) {
  if (!address) return Text();
  const std::size_t length = std::strlen(address);
  std::size_t escaped = 0;
  for (std::size_t i = 0; i < length; ++i) {
    if (NeedsEscape(static_cast<unsigned char>(address[i]))) ++escaped;
  }
  char* out = static_cast<char*>(TryAllocateBlock(length + 2 * escaped + 1));
  if (!out) return Text();
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

long long ContentLengthValue(const char* contentLength) {
  if (!contentLength) return 0;
  const char* p = contentLength;
  while (IsWhiteSpace(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = (*p++ == '-');
  long long value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    value = value < kHugeContentLength / 10 ? value * 10 + (*p - '0') : kHugeContentLength;
  }
  return negative ? -value : value;
}

int ReadSizeForContentLength(const char* contentLength) {
  const long long value = ContentLengthValue(contentLength);
  if (value <= 0) return kDefaultReadSize;
  return value + 1 > kMaximumReadSize ? kMaximumReadSize : static_cast<int>(value + 1);
}

BodyBuffer::~BodyBuffer() { Release(); }

void BodyBuffer::Release() {
  for (std::size_t i = 0; i < blockCount_; ++i) FreeBlock(blocks_[i].bytes);
  FreeBlock(blocks_);
  blocks_ = nullptr;
  blockCount_ = blockRoom_ = 0;
  size_ = 0;
}

bool BodyBuffer::AddBlock(std::size_t capacity) {
  if (blockCount_ == blockRoom_) {
    const std::size_t room = blockRoom_ ? blockRoom_ * 2 : 8;
    auto* grown = static_cast<Block*>(TryResizeBlock(blocks_, room * sizeof(Block)));
    if (!grown) return false;
    blocks_ = grown;
    blockRoom_ = room;
  }
  auto* bytes = static_cast<std::uint8_t*>(TryAllocateBlock(capacity));
  if (!bytes) return false;
  blocks_[blockCount_++] = Block{bytes, capacity, 0};
  return true;
}

void BodyBuffer::Reserve(long long expected) {
  if (blockCount_ != 0 || expected <= 0 ||
      static_cast<unsigned long long>(expected) > kLargestHint) {
    return;
  }
  AddBlock(static_cast<std::size_t>(expected));
}

bool BodyBuffer::Append(const void* data, std::size_t size) {
  const auto* from = static_cast<const std::uint8_t*>(data);
  Block* last = blockCount_ ? &blocks_[blockCount_ - 1] : nullptr;
  const std::size_t room = last ? last->capacity - last->used : 0;
  if (size > room) {
    // The new block is as large as everything before it (at least 64 KiB, at most 16 MiB). It
    // is obtained before anything is copied, so a refused piece leaves the buffer as it was.
    constexpr std::size_t kSmallest = 64 * 1024, kLargest = 16 * 1024 * 1024;
    std::size_t capacity = size_ < kSmallest ? kSmallest : (size_ > kLargest ? kLargest : size_);
    if (capacity < size - room) capacity = size - room;
    if (!AddBlock(capacity)) return false;
    last = blockCount_ >= 2 ? &blocks_[blockCount_ - 2] : nullptr;
  }
  const std::size_t first = size < room ? size : room;
  if (first) {
    std::memcpy(last->bytes + last->used, from, first);
    last->used += first;
  }
  if (size > first) {
    Block& next = blocks_[blockCount_ - 1];
    std::memcpy(next.bytes, from + first, size - first);
    next.used = size - first;
  }
  size_ += size;
  return true;
}

Bytes BodyBuffer::TakeBytes() {
  // Blocks that received nothing (a reserved block of a body that never came) are dropped.
  while (blockCount_ && blocks_[blockCount_ - 1].used == 0) FreeBlock(blocks_[--blockCount_].bytes);
  if (size_ == 0) {
    Release();
    return Bytes();
  }
  Bytes result;
  if (blockCount_ == 1) {
    // One block: handed over as it is, trimmed to the body when it is larger.
    Block& only = blocks_[0];
    std::uint8_t* bytes = only.bytes;
    if (only.used < only.capacity) {
      if (auto* trimmed = static_cast<std::uint8_t*>(TryResizeBlock(bytes, only.used))) {
        bytes = trimmed;
      }
    }
    only.bytes = nullptr;
    blockCount_ = 0;
    result = Bytes::Adopt(bytes, size_);
  } else {
    auto* joined = static_cast<std::uint8_t*>(AllocateBlock(size_));
    std::size_t used = 0;
    for (std::size_t i = 0; i < blockCount_; ++i) {
      std::memcpy(joined + used, blocks_[i].bytes, blocks_[i].used);
      used += blocks_[i].used;
    }
    result = Bytes::Adopt(joined, used);
  }
  Release();
  return result;
}

}  // namespace tolvane::lookup
