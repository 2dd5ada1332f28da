#pragma once
// The portable half of the HTTP fetch: what happens to an address before the HTTP layer sees
// it, how the read size follows from the response's Content-Length, and the growing body.
#include <cstddef>
#include <cstdint>

#include "base/text.h"

namespace tolvane::lookup {

// A copy of `length` bytes (no zero among them), or a null Text when memory for it cannot be
// obtained: running out of memory while an address is prepared makes the fetch fail, not the
// program stop.
Text TryCopyText(const char* bytes, std::size_t length);

// The address before its first "#": the fragment is never part of a request.
Text CutFragment(const char* address);

// Writes every byte that a request line cannot carry as it is - bytes 0x80 and above (GBK
// names), space, control bytes and DEL - as %XX of the same byte value, upper-case hex. Other
// bytes, "%" included, stay as they are, so existing escapes are not escaped twice and a CR or
// LF cut out of a page can never reach the request line raw.
Text EscapeUnsafeBytes(const char* address);

// The address as it is handed to the HTTP layer: fragment cut, unsafe bytes escaped. Empty
// when the address (or what is left of it) is empty. These three return an empty Text when
// memory runs out (the fetch then fails) instead of stopping the program.
Text PrepareFetchAddress(const char* address);

// The number a Content-Length text announces, read as a decimal integer: leading white space,
// an optional sign, digits up to the first other byte (none read as 0). Values too large for
// any body saturate at kHugeContentLength instead of overflowing. `contentLength` is the
// header's text, or null when the header could not be read (then 0).
inline constexpr long long kHugeContentLength = 1ll << 62;
long long ContentLengthValue(const char* contentLength);

// Read sizes: n + 1 for a Content-Length of n > 0 (a body of announced length arrives in one
// read and the next read reports the end), capped; otherwise the default.
inline constexpr int kDefaultReadSize = 10240;
inline constexpr int kMaximumReadSize = 102400;
int ReadSizeForContentLength(const char* contentLength);

// The response body as it arrives, in blocks that grow geometrically (no byte is moved while
// reading; the blocks are joined once at the end). When the length is announced, one block of
// that size is tried first, so that a body of the announced length is handed over without any
// copy; the announcement is only a hint and never limits or checks the body.
class BodyBuffer {
 public:
  BodyBuffer() = default;
  ~BodyBuffer();
  BodyBuffer(const BodyBuffer&) = delete;
  BodyBuffer& operator=(const BodyBuffer&) = delete;

  // Tries to make room for `expected` bytes in one block (before the first Append; ignored
  // when memory for it cannot be obtained or the size is beyond kLargestHint).
  static constexpr std::size_t kLargestHint = std::size_t(1) << 28;
  void Reserve(long long expected);
  // Appends `size` bytes. False when memory for them could not be obtained; nothing of them
  // is kept then, and what came before stays.
  bool Append(const void* data, std::size_t size);
  std::size_t size() const { return size_; }
  // The whole body as new Bytes (empty when nothing arrived); the buffer is empty afterwards.
  Bytes TakeBytes();

 private:
  struct Block {
    std::uint8_t* bytes;  // from the one allocation path
    std::size_t capacity;
    std::size_t used;
  };
  bool AddBlock(std::size_t capacity);
  void Release();

  Block* blocks_ = nullptr;  // blockCount_ blocks in an array of blockRoom_
  std::size_t blockCount_ = 0;
  std::size_t blockRoom_ = 0;
  std::size_t size_ = 0;
};

}  // namespace tolvane::lookup
