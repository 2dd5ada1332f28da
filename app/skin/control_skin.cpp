#include "app/skin/control_skin.h"

namespace tolvane::skin {

// Placeholder until the skin lands: the controls keep the system's look.
bool ControlSkin(int) { return false; }

}  // namespace tolvane::skin
