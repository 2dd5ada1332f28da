#include "app/exit_hooks.h"

#include <cstddef>

namespace tolvane::app {
namespace {

// A fixed list: registering must not allocate, and the program registers one hook.
constexpr std::size_t kMaximumHooks = 16;
ExitHook hooks[kMaximumHooks];
std::size_t hookCount = 0;

}  // namespace

void AddExitHook(ExitHook hook) {
  if (!hook || hookCount == kMaximumHooks) return;
  for (std::size_t i = 0; i < hookCount; ++i) {
    if (hooks[i] == hook) return;
  }
  hooks[hookCount++] = hook;
}

void RunExitHooks() {
  // A hook that registers another one extends the run.
  for (std::size_t i = 0; i < hookCount; ++i) hooks[i]();
  hookCount = 0;
}

void ClearExitHooks() { hookCount = 0; }

}  // namespace tolvane::app
