// The byte-level text handling of Save As and the fatal-error box on arbitrary bytes: the
// filter conversion, the folder of a GBK path, the 260-byte file buffer and the box texts.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "app/fatal_message.h"
#include "save/save_dialog.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A Text ends at its first zero byte.
  std::string input(reinterpret_cast<const char*>(data), size);
  input = input.c_str();
  using namespace tolvane;

  Bytes filter = save::ConvertFilterText(input.c_str());
  if (!filter.empty()) {
    // Ends in two zero bytes and holds no bar.
    if (filter.size() < 2 || filter.data()[filter.size() - 1] != 0 || filter.data()[filter.size() - 2] != 0) __builtin_trap();
    if (std::memchr(filter.data(), '|', filter.size())) __builtin_trap();
  }

  Text folder = save::FolderOfPath(input.c_str());
  if (folder.size() > input.size() || std::memcmp(folder.c_str(), input.data(), folder.size()) != 0) __builtin_trap();

  char buffer[save::kFileBufferSize];
  save::FillFileBuffer(Text::Copy(input.data(), input.size()), buffer);
  if (buffer[save::kFileBufferSize - 1] != 0) __builtin_trap();

  char text[app::kFatalTextCapacity];
  int code = size >= 4 ? static_cast<int>(data[0] | data[1] << 8 | data[2] << 16 | static_cast<unsigned>(data[3]) << 24) : 0;
  std::size_t length = app::FormatFatalStopText(input.c_str(), code, text, sizeof(text));
  if (length >= sizeof(text) || std::strlen(text) != length) __builtin_trap();
  char small[7];
  length = app::FormatOutOfMemoryMessage(size, small, sizeof(small));
  if (length >= sizeof(small)) __builtin_trap();
  return 0;
}
