#pragma once
// The control skin: a flat, gradient-filled look for the standard controls of the UI thread.

namespace tolvane::skin {

// Switches the skin on with style 1, 2 or 3, or off with any other value. Returns true when
// the skin is on afterwards.
bool ControlSkin(int style);

}  // namespace tolvane::skin
