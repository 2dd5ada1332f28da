// Combo boxes and their drop-down lists: message rules and painting.
#include "app/skin/arrow_button.h"
#include "app/skin/skin_paint.h"
#include "app/skin/skinned_control.h"

namespace tolvane::skin {

bool PlanComboBoxMessage(SkinnedControl& control, UINT message, WPARAM, LPARAM, MessagePlan* plan) {
  switch (message) {
    case WM_PAINT:
    case WM_NCPAINT:
      plan->paint = true;
      return true;
    case WM_LBUTTONDOWN:
      control.state |= kPressed;
      plan->paint = true;
      return true;
    case WM_LBUTTONUP:
      control.state &= ~kPressed;
      plan->paint = true;
      return true;
    default:
      return false;
  }
}

void PaintComboBox(SkinnedControl& control) {
  OffscreenCanvas canvas(control.window, true);
  HDC dc = canvas.dc();
  const RECT whole = {0, 0, canvas.width(), canvas.height()};
  const std::uint32_t state = control.state;
  const bool disabled = (state & kDisabled) != 0;
  const Colour face = SystemColour(COLOR_BTNFACE);
  const Colour inner = disabled ? face : SystemColour(COLOR_WINDOW);
  FrameRing(dc, whole, disabled ? ButtonFaceMinus(face, kDarken32) : CurrentColours().frame);
  FrameRing(dc, Inset(whole, 1), inner);
  RECT button = Inset(whole, 2);
  button.left = button.right - GetSystemMetrics(SM_CYVTHUMB);
  FrameRing(dc, button, inner);
  button.left += 1;
  DrawArrowButton(dc, button, disabled, (state & kPressed) != 0, (state & kHot) != 0,
                  Glyph::kChevronDown);
  canvas.Present();
}

void PaintDropDownList(SkinnedControl& control) {
  const auto style = static_cast<std::uint32_t>(GetWindowLongPtrA(control.window, GWL_STYLE));
  const auto exStyle = static_cast<std::uint32_t>(GetWindowLongPtrA(control.window, GWL_EXSTYLE));
  const bool bordered = (style & style_bits::kBorder) ||
                        (exStyle & (style_bits::kExClientEdge | style_bits::kExStaticEdge));
  if (!bordered) return;
  if (SendMessageA(control.window, LB_GETCOUNT, 0, 0) < 1) return;
  PaintEditRings(control, (control.state & kDisabled) != 0);
}

}  // namespace tolvane::skin
