#include "app/program.h"

#include <windows.h>
#include <ole2.h>

#include <float.h>

#include "app/exit_hooks.h"
#include "app/fatal_message.h"
#include "app/main_window.h"
#include "base/memory.h"
#include "lookup/avatar_search.h"
#include "save/save_dialog.h"

namespace tolvane::app {
namespace {

bool oleInitialised = false;
bool loopStarted = false;
int quitExitCode = 0;
BoundWindow boundMainWindow;
MainWindow* mainWindow = nullptr;
volatile LONG stopping = 0;

bool AnyLoadedWindowAlive() { return mainWindow && mainWindow->alive(); }

// The quit rule: after a loaded window's own clean-up, the last one gone ends the loop.
void OnLoadedWindowDestroyed() {
  if (!AnyLoadedWindowAlive() && loopStarted) PostQuitMessage(0);
}

[[noreturn]] void StopOutOfMemory(std::size_t bytesAskedFor) {
  // No allocation from here on: the message is built in static storage.
  static char message[kFatalTextCapacity];
  FormatOutOfMemoryMessage(bytesAskedFor, message, sizeof(message));
  FatalStop(message, 0);
}

void SetCurrentDirectoryToProgramFolder() {
  char path[MAX_PATH + 1] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  Text folder = save::FolderOfPath(path);
  if (!folder.empty()) SetCurrentDirectoryA(folder.c_str());
}

}  // namespace

void PrepareProcess() {
  SetErrorMode(GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  SetOutOfMemoryHandler(&StopOutOfMemory);
}

int StartupRoutine() { return 0; }

void ReleaseGlobals() { lookup::ReleaseAvatarAddress(); }

int ProgramEntry(const WindowDescription& stored) {
  // 1. Start-up preparation.
  oleInitialised = SUCCEEDED(OleInitialize(nullptr));
  SetCurrentDirectoryToProgramFolder();
  if (!ReadWindowDescription(stored, boundMainWindow)) FatalStop(kWindowDataUnreadableMessage, 0);
  // 2. All floating-point exceptions masked, rounding to nearest (_controlfp sets the x87
  // and the SSE control words alike; the C library's default environment leaves the masks).
  _fpreset();
  _controlfp(_MCW_EM | _RC_NEAR, _MCW_EM | _MCW_RC);
  // 3. avatarAddress starts null (lookup/ holds it). 4, 5.
  AddExitHook(&ReleaseGlobals);
  StartupRoutine();
  // 6. The main window.
  HINSTANCE instance = GetModuleHandleA(nullptr);
  mainWindow = new MainWindow(boundMainWindow, instance, &OnLoadedWindowDestroyed);
  if (!RegisterWindowClasses(instance) || !mainWindow->LoadWindow()) {
    FatalStop(kStartupWindowFailedMessage, 0);
  }
  // 7, 8.
  RunMessageLoop();
  delete mainWindow;
  mainWindow = nullptr;
  return 0;
}

void RunMessageLoop() {
  loopStarted = true;
  if (!AnyLoadedWindowAlive()) return;
  MSG message;
  for (;;) {
    BOOL fetched = GetMessageA(&message, nullptr, 0, 0);
    if (fetched == 0) {
      quitExitCode = static_cast<int>(message.wParam);
      return;
    }
    if (fetched == -1) return;
    if (mainWindow && mainWindow->PreTranslateMessage(message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

int QuitExitCode() { return quitExitCode; }

void EndProgram(int) {
  RunExitHooks();
  // The control skin stays on: its hook ends with the process.
  if (oleInitialised) {
    oleInitialised = false;
    OleUninitialize();
  }
}

void FatalStop(const char* message, int code) {
  if (InterlockedExchange(&stopping, 1) != 0) {
    // A second stop while the first one's box is up (another thread): end now.
    ExitProcess(static_cast<UINT>(-1));
  }
  char text[kFatalTextCapacity];
  FormatFatalStopText(message, code, text, sizeof(text));
  MessageBoxA(nullptr, text, kFatalStopTitle, MB_ICONERROR | MB_OK);
  ClearExitHooks();
  EndProgram(-1);
  // ExitProcess skips the C runtime's exit processing, so static objects are not destroyed.
  ExitProcess(static_cast<UINT>(-1));
}

int RunProgram() {
  PrepareProcess();
  ProgramEntry();
  int exitCode = QuitExitCode();
  EndProgram(exitCode);
  return exitCode;
}

}  // namespace tolvane::app
