#pragma once
// The exit hook list: routines run once, in registration order, at a normal end.

namespace tolvane::app {

using ExitHook = void (*)();

// Appends a routine; one already in the list is not added again.
void AddExitHook(ExitHook hook);
// Runs the hooks in registration order, then empties the list.
void RunExitHooks();
// Empties the list without running it (a fatal stop).
void ClearExitHooks();

}  // namespace tolvane::app
