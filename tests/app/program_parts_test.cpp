// The portable parts of start-up and shutdown: the exit hook list and the fatal-error texts.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/exit_hooks.h"
#include "app/fatal_message.h"

namespace tolvane::app {
namespace {

std::vector<int> ran;
void HookA() { ran.push_back(1); }
void HookB() { ran.push_back(2); }

TEST(ExitHooksTest, RunOnceInRegistrationOrderThenEmpty) {
  ran.clear();
  AddExitHook(&HookB);
  AddExitHook(&HookA);
  AddExitHook(&HookB);  // already there: not added again
  AddExitHook(nullptr);
  RunExitHooks();
  EXPECT_EQ(ran, (std::vector<int>{2, 1}));
  RunExitHooks();
  EXPECT_EQ(ran, (std::vector<int>{2, 1}));
}

TEST(ExitHooksTest, ClearedListRunsNothing) {
  ran.clear();
  AddExitHook(&HookA);
  ClearExitHooks();
  RunExitHooks();
  EXPECT_TRUE(ran.empty());
}

std::string FatalText(const char* message, int code) {
  char text[kFatalTextCapacity];
  std::size_t length = FormatFatalStopText(message, code, text, sizeof(text));
  EXPECT_EQ(length, std::strlen(text));
  return text;
}

TEST(FatalStopTextTest, HeadingThenCodeThenMessage) {
  const std::string heading = "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n";
  const std::string codeLabel = "\xB4\xED\xCE\xF3\xB4\xFA\xC2\xEB\xA3\xBA";
  const std::string messageLabel = "\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA";
  struct Case {
    const char* message;
    int code;
    std::string expected;
  } cases[] = {
      {kStartupWindowFailedMessage, 0,
       heading + messageLabel + "\xD4\xD8\xC8\xEB\xC6\xF4\xB6\xAF\xB4\xB0\xBF\xDA\xCA\xA7\xB0\xDC\r\n"},
      {kWindowDataUnreadableMessage, 0,
       heading + messageLabel +
           "\xD4\xD8\xC8\xEB\xB4\xB0\xBF\xDA\xC4\xA3\xB0\xE5\xCA\xFD\xBE\xDD\xB6\xCE\xB3\xF6\xB4\xED!\r\n"},
      {"m", 42, heading + codeLabel + "42\r\n\r\n" + messageLabel + "m\r\n"},
      {"", -7, heading + codeLabel + "-7\r\n\r\n"},
      {nullptr, 0, heading},
      {"", -2147483647 - 1, heading + codeLabel + "-2147483648\r\n\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(FatalText(c.message, c.code), c.expected);
  EXPECT_STREQ(kFatalStopTitle, "\xB4\xED\xCE\xF3");  // 错误
}

TEST(FatalStopTextTest, LongMessagesAreCutAtAWholeCharacter) {
  std::string longMessage;
  for (int i = 0; i < 400; ++i) longMessage += "\xCD\xBC";
  std::string text = FatalText(longMessage.c_str(), 0);
  EXPECT_LT(text.size(), kFatalTextCapacity);
  // Heading (15 bytes: five characters, "!", CR LF CR LF) and label (10) come before the
  // message, so a whole-character cut leaves an even number of message bytes.
  EXPECT_EQ((text.size() - 15 - 10) % 2, 0u);
  char odd[31];  // room for five message bytes: two whole characters
  EXPECT_EQ(FormatFatalStopText(longMessage.c_str(), 0, odd, sizeof(odd)), 15u + 10u + 4u);
  char tiny[4];
  EXPECT_EQ(FormatFatalStopText("m", 0, tiny, sizeof(tiny)), 2u);  // one whole character
}

TEST(OutOfMemoryMessageTest, NamesTheBytesAskedFor) {
  struct Case {
    std::size_t bytes;
    const char* number;
  } cases[] = {{0, "0"}, {110, "110"}, {4294967295u, "4294967295"}};
  for (const Case& c : cases) {
    char text[kFatalTextCapacity];
    FormatOutOfMemoryMessage(c.bytes, text, sizeof(text));
    EXPECT_EQ(std::string(text), std::string("\xB7\xD6\xC5\xE4 ") + c.number +
                                     " \xD7\xD6\xBD\xDA\xC4\xDA\xB4\xE6\xCA\xA7\xB0\xDC!");
  }
}

}  // namespace
}  // namespace tolvane::app
