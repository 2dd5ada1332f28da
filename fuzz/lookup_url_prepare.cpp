// Address preparation and Content-Length reading on arbitrary bytes: the prepared address
// never holds a byte that a request line cannot carry, and the read size stays in range.
#include <cstdint>
#include <cstring>
#include <string>

#include "lookup/fetch_address.h"

using namespace tolvane;
using namespace tolvane::lookup;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const char* text = input.c_str();  // up to the first zero byte, as a Text would be

  Text prepared = PrepareFetchAddress(text);
  for (std::size_t i = 0; i < prepared.size(); ++i) {
    const unsigned char byte = prepared.c_str()[i];
    if (byte <= 0x20 || byte >= 0x7F || byte == '#') __builtin_trap();
  }
  if (std::strlen(prepared.c_str()) != prepared.size()) __builtin_trap();

  const int readSize = ReadSizeForContentLength(text);
  if (readSize < 2 || readSize > kMaximumReadSize) __builtin_trap();

  // The announced length only sizes the first block: the body is the same whatever it says.
  const long long announced = ContentLengthValue(text);
  if (announced > kHugeContentLength || announced < -kHugeContentLength) __builtin_trap();
  BodyBuffer body;
  body.Reserve(announced % (1 << 20));
  body.Append(data, size);
  body.Append(data, size / 2);
  Bytes joined = body.TakeBytes();
  if (joined.size() != size + size / 2) __builtin_trap();
  if (size && std::memcmp(joined.data(), data, size) != 0) __builtin_trap();
  return 0;
}
