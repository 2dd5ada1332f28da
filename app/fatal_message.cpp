#include "app/fatal_message.h"

#include <cstring>

#include "save/save_dialog.h"

namespace tolvane::app {

const char kFatalStopTitle[] = "\xB4\xED\xCE\xF3";
const char kWindowDataUnreadableMessage[] =
    "\xD4\xD8\xC8\xEB\xB4\xB0\xBF\xDA\xC4\xA3\xB0\xE5\xCA\xFD\xBE\xDD\xB6\xCE\xB3\xF6\xB4\xED!";
const char kStartupWindowFailedMessage[] = "\xD4\xD8\xC8\xEB\xC6\xF4\xB6\xAF\xB4\xB0\xBF\xDA\xCA\xA7\xB0\xDC";

namespace {

const char kRuntimeErrorHeading[] = "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n";  // 运行时出错!
const char kErrorCodeLabel[] = "\xB4\xED\xCE\xF3\xB4\xFA\xC2\xEB\xA3\xBA";     // 错误代码：
const char kErrorMessageLabel[] = "\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA";  // 错误信息：
const char kAllocationFailedBefore[] = "\xB7\xD6\xC5\xE4 ";                    // 分配
const char kAllocationFailedAfter[] = " \xD7\xD6\xBD\xDA\xC4\xDA\xB4\xE6\xCA\xA7\xB0\xDC!";  // 字节内存失败!

// Appends to a zero-terminated buffer, cutting at a whole GBK character when full.
class Writer {
 public:
  Writer(char* out, std::size_t capacity) : out_(out), capacity_(capacity) {
    if (capacity_ > 0) out_[0] = 0;
  }
  void Append(const char* text) {
    if (capacity_ == 0 || full_) return;
    std::size_t length = std::strlen(text);
    std::size_t room = capacity_ - 1 - length_;
    std::size_t taken = save::WholeCharacterPrefix(text, length, room);
    std::memcpy(out_ + length_, text, taken);
    length_ += taken;
    out_[length_] = 0;
    if (taken < length) full_ = true;
  }
  void AppendUnsigned(unsigned long long value, bool negative) {
    char digits[24];
    std::size_t at = sizeof(digits);
    digits[--at] = 0;
    do {
      digits[--at] = static_cast<char>('0' + value % 10);
      value /= 10;
    } while (value > 0);
    if (negative) digits[--at] = '-';
    Append(digits + at);
  }
  std::size_t length() const { return length_; }

 private:
  char* out_;
  std::size_t capacity_;
  std::size_t length_ = 0;
  bool full_ = false;
};

}  // namespace

std::size_t FormatFatalStopText(const char* message, int code, char* out, std::size_t capacity) {
  Writer writer(out, capacity);
  writer.Append(kRuntimeErrorHeading);
  if (code != 0) {
    writer.Append(kErrorCodeLabel);
    long long value = code;
    writer.AppendUnsigned(static_cast<unsigned long long>(value < 0 ? -value : value), value < 0);
    writer.Append("\r\n\r\n");
  }
  if (message && *message) {
    writer.Append(kErrorMessageLabel);
    writer.Append(message);
    writer.Append("\r\n");
  }
  return writer.length();
}

std::size_t FormatOutOfMemoryMessage(std::size_t bytes, char* out, std::size_t capacity) {
  Writer writer(out, capacity);
  writer.Append(kAllocationFailedBefore);
  writer.AppendUnsigned(bytes, false);
  writer.Append(kAllocationFailedAfter);
  return writer.length();
}

}  // namespace tolvane::app
