// Edit boxes: their message rules and the two rings painted over the control's own frame.
#include "app/skin/skin_paint.h"
#include "app/skin/skinned_control.h"

namespace tolvane::skin {
namespace {

bool HasBorder(HWND window) {
  const auto style = static_cast<std::uint32_t>(GetWindowLongPtrA(window, GWL_STYLE));
  const auto exStyle = static_cast<std::uint32_t>(GetWindowLongPtrA(window, GWL_EXSTYLE));
  return (style & style_bits::kBorder) ||
         (exStyle & (style_bits::kExClientEdge | style_bits::kExStaticEdge));
}

}  // namespace

// The two rings of an edit box, shared by the drop-down list of a combo box.
void PaintEditRings(SkinnedControl& control, bool plainInnerRing) {
  OffscreenCanvas canvas(control.window, true);
  HDC dc = canvas.dc();
  const RECT whole = {0, 0, canvas.width(), canvas.height()};
  const bool disabled = (control.state & kDisabled) != 0;
  const Colour face = SystemColour(COLOR_BTNFACE);
  FrameRing(dc, whole, disabled ? ButtonFaceMinus(face, kDarken32) : CurrentColours().frame);
  FrameRing(dc, Inset(whole, 1), plainInnerRing ? face : SystemColour(COLOR_WINDOW));
  // The edit box and its up-down read as one control: no frame between them.
  if (control.kind == SkinKind::kEditBox && (control.state & (kUpDownOnLeft | kUpDownOnRight))) {
    const int x = (control.state & kUpDownOnLeft) ? 0 : canvas.width() - 1;
    const Segment line = {{x, 1}, {x, canvas.height()}};
    DrawSegments(dc, &line, 1, fixed_colours::kWhite);
  }
  canvas.Present();
}

void TakeOverEditBox(SkinnedControl& control) {
  const auto style = static_cast<std::uint32_t>(GetWindowLongPtrA(control.window, GWL_STYLE));
  if (style & style_bits::kEditReadOnly) control.state |= kReadOnly;
}

bool PlanEditBoxMessage(SkinnedControl& control, UINT message, WPARAM, LPARAM, MessagePlan* plan) {
  switch (message) {
    case WM_PAINT:
    case WM_NCPAINT:
    case WM_HSCROLL:
    case WM_VSCROLL:
      plan->paint = true;
      return true;
    case WM_NCMOUSEMOVE:
      if (control.state & kHot) return false;
      control.state |= kHot;
      plan->handling = Handling::kDefault;
      plan->paint = true;
      return true;
    case WM_MOUSELEAVE:
      if (!(control.state & kHot)) return false;
      control.state &= ~kHot;
      plan->handling = Handling::kDefault;
      plan->paint = true;
      return true;
    default:
      return false;
  }
}

void PaintEditBox(SkinnedControl& control) {
  if (!HasBorder(control.window)) return;
  // The read-only state is the one sampled at take-over (EM_SETREADONLY goes straight to the
  // control).
  PaintEditRings(control, (control.state & (kDisabled | kReadOnly)) != 0);
}

}  // namespace tolvane::skin
