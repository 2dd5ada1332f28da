#pragma once
// The control skin: a flat, gradient-filled look for the standard controls of the UI thread.
#include <cstddef>

namespace tolvane::skin {

// Styles 1, 2 and 3 switch the skin on (again: every control is given back and taken over
// anew) and return 1. Any other number switches it off and returns 0 when it was already off,
// otherwise the (non-zero on success) result of removing the creation hook.
int ControlSkin(int style);

// For tests and diagnostics: controls currently taken over, and whether the hook is in place.
std::size_t SkinnedControlCount();
bool ControlSkinHookInstalled();

}  // namespace tolvane::skin
