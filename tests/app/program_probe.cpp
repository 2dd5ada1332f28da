// Runs one start-up or stop path of the program on request, for program_test:
//   program_probe MODE MARKER
// MODE: normal (start, wait for the window, close it), out-of-memory, bad-data, no-window,
// loop-without-window (the message loop with no window loaded: returns 7 once it returns).
// The probe registers an exit hook that appends "hook" to MARKER; the normal run also writes
// the current directory it saw while the window was open to MARKER.cwd and the process's error
// mode to MARKER.mode, and the floating-point state at the end to MARKER.fpu. Static clean-up
// writes MARKER.static.
#include <windows.h>

#include <cfenv>
#include <cfloat>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "app/exit_hooks.h"
#include "app/main_window.h"
#include "app/program.h"
#include "base/memory.h"

namespace {

std::string marker;

void AppendTo(const std::string& path, const std::string& text) {
  HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

void MarkerHook() { AppendTo(marker, "hook\n"); }

// An object with static lifetime: its destructor runs in the normal end's static clean-up,
// and must not run after a fatal stop.
struct StaticCleanup {
  ~StaticCleanup() {
    if (!marker.empty()) AppendTo(marker + ".static", "destroyed");
  }
} staticCleanup;

// Runs on the UI thread at the end: the floating-point state ProgramEntry left behind.
void FloatingPointHook() {
  bool nearest = std::fegetround() == FE_TONEAREST;
  bool masked = (_controlfp(0, 0) & _MCW_EM) == _MCW_EM;
  AppendTo(marker + ".fpu", std::string(nearest ? "nearest" : "other") + (masked ? " masked" : " unmasked"));
}

DWORD WINAPI CloseWhenShown(void*) {
  for (int i = 0; i < 400; ++i) {
    HWND window = FindWindowA(tolvane::app::kMainWindowClassName, "Tolvane");
    DWORD process = 0;
    if (window) GetWindowThreadProcessId(window, &process);
    if (window && process == GetCurrentProcessId() && IsWindowVisible(window)) {
      char folder[MAX_PATH] = {};
      GetCurrentDirectoryA(MAX_PATH, folder);
      AppendTo(marker + ".cwd", folder);
      AppendTo(marker + ".mode", std::to_string(GetErrorMode()));
      PostMessageA(window, WM_CLOSE, 0, 0);
      return 0;
    }
    Sleep(50);
  }
  return 1;
}

LRESULT CALLBACK RefuseCreation(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) return FALSE;
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (__argc < 3) return 2;
  std::string mode = __argv[1];
  marker = __argv[2];
  using namespace tolvane::app;
  PrepareProcess();
  AddExitHook(&MarkerHook);
  AddExitHook(&MarkerHook);  // a second registration is ignored

  if (mode == "normal") {
    // Upward rounding and an unmasked exception before start-up, which resets both.
    std::fesetround(FE_UPWARD);
    _controlfp(_MCW_EM & ~_EM_ZERODIVIDE, _MCW_EM);
    AddExitHook(&FloatingPointHook);
    CloseHandle(CreateThread(nullptr, 0, &CloseWhenShown, nullptr, 0, nullptr));
    return RunProgram();
  }
  if (mode == "loop-without-window") {
    RunMessageLoop();
    return 7;
  }
  if (mode == "out-of-memory") {
    tolvane::AllocateBlock(static_cast<std::size_t>(1) << 62);
    return 3;
  }
  if (mode == "bad-data") {
    const WindowDescription& good = MainWindowDescription();
    std::vector<ControlDescription> entries(good.entries, good.entries + good.entryCount);
    entries[0].kind = ControlKind::kLabel;  // the first entry must be the window
    WindowDescription spoiled = {entries.data(), entries.size()};
    ProgramEntry(spoiled);
    return 4;
  }
  if (mode == "no-window") {
    // The main window's class, taken first by a procedure that refuses every window.
    WNDCLASSEXA refusing = {};
    refusing.cbSize = sizeof(refusing);
    refusing.lpfnWndProc = &RefuseCreation;
    refusing.cbWndExtra = sizeof(LONG_PTR);
    refusing.hInstance = instance;
    refusing.lpszClassName = kMainWindowClassName;
    RegisterClassExA(&refusing);
    ProgramEntry();
    return 5;
  }
  return 2;
}
