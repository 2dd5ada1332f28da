#pragma once
// The life of the process: start-up, the message loop, the normal end and the fatal stop.
#include "app/window_description.h"

namespace tolvane::app {

// Before ProgramEntry: no critical-error or missing-file boxes for this process, and the
// out-of-memory stop wired to every Text, Bytes and other block.
void PrepareProcess();

// Start-up preparation, the window, the loop. Returns 0 after the loop has ended; fatal stops
// (unreadable window data, a window that cannot be built) do not return.
int ProgramEntry(const WindowDescription& stored = MainWindowDescription());

// The program's start routine: does nothing.
int StartupRoutine();

// The program's exit hook: releases the avatar address of the last search.
void ReleaseGlobals();

// Fetches and dispatches messages until the quit message; returns at once when no loaded
// window is left. Sets the loop-started flag first.
void RunMessageLoop();

// The exit code carried by the quit message (0 until one has been fetched).
int QuitExitCode();

// End-of-program processing: the exit hooks, then OLE's end when it was started.
void EndProgram(int exitCode);

// Shows the fatal-error box and ends the process with exit code -1 without running the exit
// hooks or the static clean-up.
[[noreturn]] void FatalStop(const char* message, int code);

// The whole program as the process runs it: preparation, ProgramEntry, EndProgram; returns
// the process exit code.
int RunProgram();

}  // namespace tolvane::app
