#pragma once
// The portable half of the HTTP fetch: what happens to an address before the HTTP layer sees
// it, how the read size follows from the response's Content-Length, and the growing body.
#include <cstddef>
#include <cstdint>

#include "base/text.h"

namespace tolvane::lookup {

// The address before its first "#": the fragment is never part of a request.
Text CutFragment(const char* address);

// Writes every byte that a request line cannot carry as it is - bytes 0x80 and above (GBK
// names), space, control bytes and DEL - as %XX of the same byte value, upper-case hex. Other
// bytes, "%" included, stay as they are, so existing escapes are not escaped twice and a CR or
// LF cut out of a page can never reach the request line raw.
Text EscapeUnsafeBytes(const char* address);

// The address as it is handed to the HTTP layer: fragment cut, unsafe bytes escaped. Empty
// when the address (or what is left of it) is empty.
Text PrepareFetchAddress(const char* address);

// Read sizes: n + 1 for a Content-Length of n > 0 (a body of announced length arrives in one
// read and the next read reports the end), capped; otherwise the default.
inline constexpr int kDefaultReadSize = 10240;
inline constexpr int kMaximumReadSize = 102400;
// `contentLength` is the header's text, or null when the header could not be read. Read as a
// decimal integer: leading white space, an optional sign, digits up to the first other byte
// (none read as 0); values beyond any int saturate instead of overflowing.
int ReadSizeForContentLength(const char* contentLength);

// The response body as it arrives. Bytes are kept in blocks that grow geometrically and are
// joined once at the end, so every byte is copied a constant number of times and the peak
// memory stays about twice the body.
class BodyBuffer {
 public:
  BodyBuffer() = default;
  ~BodyBuffer();
  BodyBuffer(const BodyBuffer&) = delete;
  BodyBuffer& operator=(const BodyBuffer&) = delete;

  // Appends `size` bytes. False when memory for them could not be obtained; nothing of them
  // is kept then, and what came before stays.
  bool Append(const void* data, std::size_t size);
  std::size_t size() const { return size_; }
  // The whole body as new Bytes (empty when nothing arrived); the buffer is empty afterwards.
  Bytes TakeBytes();

 private:
  struct Block {
    Block* next;
    std::size_t capacity;
    std::size_t used;
    // the bytes follow the header
    std::uint8_t* bytes() { return reinterpret_cast<std::uint8_t*>(this + 1); }
  };
  void Release();

  Block* first_ = nullptr;
  Block* last_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace tolvane::lookup
