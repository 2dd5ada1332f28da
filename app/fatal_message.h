#pragma once
// The texts of the fatal-error box. They are built in caller-provided buffers, without
// allocating: the out-of-memory stop uses them when no memory is left.
#include <cstddef>

namespace tolvane::app {

// "错误": the box's title.
extern const char kFatalStopTitle[];
// The three fatal stops' messages.
extern const char kWindowDataUnreadableMessage[];  // 载入窗口模板数据段出错!
extern const char kStartupWindowFailedMessage[];   // 载入启动窗口失败

// Size that every text below fits in (longer messages are cut at a whole character).
constexpr std::size_t kFatalTextCapacity = 512;

// "运行时出错!\r\n\r\n", then "错误代码：<code>\r\n\r\n" when code is not 0, then
// "错误信息：<message>\r\n" when the message is not empty. Returns the length written.
std::size_t FormatFatalStopText(const char* message, int code, char* out, std::size_t capacity);

// "分配 <bytes> 字节内存失败!", the out-of-memory stop's message. Returns the length written.
std::size_t FormatOutOfMemoryMessage(std::size_t bytes, char* out, std::size_t capacity);

}  // namespace tolvane::app
