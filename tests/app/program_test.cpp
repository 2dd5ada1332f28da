// Start-up, normal end and the fatal stops, each in a process of its own (program_probe).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/fatal_message.h"

namespace tolvane::app {
namespace {

std::string Folder(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }

std::string ProbePath() {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  return Folder(self) + "\\program_probe.exe";
}

std::string ReadFileText(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "";
  char buffer[1024];
  DWORD got = 0;
  ReadFile(file, buffer, sizeof(buffer), &got, nullptr);
  CloseHandle(file);
  return std::string(buffer, got);
}

struct FoundBox {
  DWORD process;
  HWND box;
};

BOOL CALLBACK FindBoxOfProcess(HWND window, LPARAM parameter) {
  auto* found = reinterpret_cast<FoundBox*>(parameter);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char title[64] = {};
  GetWindowTextA(window, title, sizeof(title));
  if (process == found->process && IsWindowVisible(window) && std::string(title) == kFatalStopTitle) {
    found->box = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM parameter) {
  char className[32] = {};
  GetClassNameA(child, className, sizeof(className));
  if (lstrcmpiA(className, "Static") == 0) {
    char text[1024] = {};
    GetWindowTextA(child, text, sizeof(text));
    auto* longest = reinterpret_cast<std::string*>(parameter);
    if (std::strlen(text) > longest->size()) *longest = text;
  }
  return TRUE;
}

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    workFolder_ = std::string(temp) + "tolvane-program-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(workFolder_.c_str(), nullptr);
    marker_ = workFolder_ + "\\marker.txt";
    DeleteFileA(marker_.c_str());
    DeleteFileA((marker_ + ".cwd").c_str());
    DeleteFileA((marker_ + ".mode").c_str());
    DeleteFileA((marker_ + ".fpu").c_str());
    DeleteFileA((marker_ + ".static").c_str());
  }
  void TearDown() override {
    if (process_.hProcess) {
      TerminateProcess(process_.hProcess, 9);
      CloseHandle(process_.hProcess);
      CloseHandle(process_.hThread);
    }
    DeleteFileA(marker_.c_str());
    DeleteFileA((marker_ + ".cwd").c_str());
    DeleteFileA((marker_ + ".mode").c_str());
    DeleteFileA((marker_ + ".fpu").c_str());
    DeleteFileA((marker_ + ".static").c_str());
    RemoveDirectoryA(workFolder_.c_str());
  }

  // Starts the probe with the work folder as its current directory (not the probe's folder).
  void Start(const char* mode) {
    std::string command = "\"" + ProbePath() + "\" " + mode + " \"" + marker_ + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                               workFolder_.c_str(), &startup, &process_))
        << GetLastError();
  }

  DWORD WaitForExit() {
    EXPECT_EQ(WaitForSingleObject(process_.hProcess, 30000), WAIT_OBJECT_0);
    DWORD code = 9;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
  }

  // Waits for the fatal-error box, returns its text and presses its OK button.
  std::string DismissFatalBox() {
    FoundBox found = {process_.dwProcessId, nullptr};
    for (int i = 0; i < 400 && !found.box; ++i) {
      EnumWindows(&FindBoxOfProcess, reinterpret_cast<LPARAM>(&found));
      if (!found.box) Sleep(50);
    }
    if (!found.box) return "<no box>";
    std::string text;
    EnumChildWindows(found.box, &CollectStaticText, reinterpret_cast<LPARAM>(&text));
    PostMessageA(found.box, WM_COMMAND, IDOK, 0);
    return text;
  }

  std::string workFolder_;
  std::string marker_;
  PROCESS_INFORMATION process_ = {};
};

TEST_F(ProgramTest, NormalRunWorksInTheProgramFolderRunsTheHookOnceAndEndsWithZero) {
  Start("normal");
  EXPECT_EQ(WaitForExit(), 0u);
  EXPECT_EQ(ReadFileText(marker_), "hook\n");
  EXPECT_STRCASEEQ(ReadFileText(marker_ + ".cwd").c_str(), Folder(ProbePath()).c_str());
  unsigned mode = static_cast<unsigned>(std::stoul("0" + ReadFileText(marker_ + ".mode")));
  EXPECT_EQ(mode & (SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX),
            static_cast<unsigned>(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX));
  EXPECT_EQ(ReadFileText(marker_ + ".fpu"), "nearest masked");
  EXPECT_EQ(ReadFileText(marker_ + ".static"), "destroyed");
}

TEST_F(ProgramTest, MessageLoopWithoutAWindowReturnsAtOnce) {
  Start("loop-without-window");
  EXPECT_EQ(WaitForExit(), 7u);
}

TEST_F(ProgramTest, FatalStopsShowTheirBoxAndEndWithMinusOneWithoutHooks) {
  const std::string label = "\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA";
  struct Case {
    const char* mode;
    std::string message;
  } cases[] = {
      {"out-of-memory", "\xB7\xD6\xC5\xE4 4611686018427387904 \xD7\xD6\xBD\xDA\xC4\xDA\xB4\xE6\xCA\xA7\xB0\xDC!"},
      {"bad-data", kWindowDataUnreadableMessage},
      {"no-window", kStartupWindowFailedMessage},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    Start(c.mode);
    std::string text = DismissFatalBox();
    // The static control may drop the line breaks' CR LF pairs into its own layout.
    EXPECT_NE(text.find(c.message), std::string::npos) << text;
    EXPECT_EQ(text.rfind("\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!", 0), 0u) << text;
    EXPECT_NE(text.find(label), std::string::npos) << text;
    EXPECT_EQ(WaitForExit(), 0xFFFFFFFFu);
    EXPECT_EQ(ReadFileText(marker_), "");  // the exit hooks did not run
    EXPECT_EQ(ReadFileText(marker_ + ".static"), "");  // nor the static clean-up
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
    process_ = {};
  }
}

}  // namespace
}  // namespace tolvane::app
