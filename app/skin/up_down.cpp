// Up-down controls: message rules, joining to a buddy edit box, and the two arrow buttons.
#include <windows.h>
// After windows.h, which they build on.
#include <commctrl.h>
#include <windowsx.h>

#include "app/skin/arrow_button.h"
#include "app/skin/skin_paint.h"
#include "app/skin/skinned_control.h"

namespace tolvane::skin {
namespace {

// The buddy edit box, when it is still taken over.
SkinnedControl* SkinnedBuddy(const SkinnedControl& control) {
  HWND buddy = reinterpret_cast<HWND>(SendMessageA(control.window, UDM_GETBUDDY, 0, 0));
  if (!buddy) return nullptr;
  SkinnedControl* record = FindSkinnedControl(buddy);
  return record && record->kind == SkinKind::kEditBox ? record : nullptr;
}

}  // namespace

void TakeOverUpDown(SkinnedControl& control) {
  const auto style = static_cast<std::uint32_t>(GetWindowLongPtrA(control.window, GWL_STYLE));
  if (style & style_bits::kUpDownHorizontal) control.state |= kHorizontal;
  SkinnedControl* buddy = SkinnedBuddy(control);
  if (!buddy) return;
  std::uint32_t side = 0;
  if (style & style_bits::kUpDownAlignLeft) {
    side = kUpDownOnLeft;
  } else if (style & style_bits::kUpDownAlignRight) {
    side = kUpDownOnRight;
  }
  control.state |= side;
  buddy->state |= side;
}

bool PlanUpDownMessage(SkinnedControl& control, UINT message, WPARAM wParam, LPARAM lParam,
                       MessagePlan* plan) {
  switch (message) {
    case WM_PAINT:
    case WM_NCPAINT:
      plan->handling = Handling::kDefault;
      plan->paint = true;
      return true;
    case WM_ERASEBKGND:
      plan->handling = Handling::kNone;
      plan->fixedResult = true;
      plan->result = 1;
      return true;
    case WM_LBUTTONUP:
      control.state &= ~kPressed;
      plan->paint = true;
      return true;
    case WM_MOUSEMOVE: {
      const RECT client = ClientRectOf(control.window);
      const bool horizontal = (control.state & kHorizontal) != 0;
      const int position = horizontal ? GET_X_LPARAM(lParam) : GET_Y_LPARAM(lParam);
      const int half = (horizontal ? client.right : client.bottom) / 2;
      const bool firstHalf = position <= half;
      const bool changed = firstHalf != ((control.state & kMouseOverFirstHalf) != 0);
      if (changed) {
        if (firstHalf) control.state |= kMouseOverFirstHalf; else control.state &= ~kMouseOverFirstHalf;
      }
      *plan = CommonMessagePlan(control, message, wParam, lParam);
      if (changed) plan->paint = true;
      return true;
    }
    default:
      return false;
  }
}

void PaintUpDown(SkinnedControl& control) {
  SkinnedControl* buddy = SkinnedBuddy(control);
  const bool joined = buddy && (control.state & (kUpDownOnLeft | kUpDownOnRight));
  if (joined) {
    control.state = (control.state & ~kDisabled) | (buddy->state & kDisabled);
  }
  OffscreenCanvas canvas(control.window, false);
  HDC dc = canvas.dc();
  const RECT client = ClientRectOf(control.window);
  FillFlat(dc, client, CurrentColours().frame);

  const RECT work = joined ? client : Inset(client, -1);
  const std::uint32_t state = control.state;
  const bool disabled = (state & kDisabled) != 0;
  const bool pressed = (state & kPressed) != 0;
  const bool hot = (state & kHot) != 0;
  const bool overFirst = (state & kMouseOverFirstHalf) != 0;
  const int start = joined ? 2 : 1;
  RECT first = work;
  RECT second = work;
  if (state & kHorizontal) {
    const int split = work.left + (work.right - work.left) / 2;
    second.left = split;
    first.left = start;
    first.right = split;
  } else {
    const int split = work.top + (work.bottom - work.top) / 2;
    second.top = split;
    first.top = start;
    first.bottom = split;
  }
  const bool horizontal = (state & kHorizontal) != 0;
  DrawArrowButton(dc, second, disabled, pressed && !overFirst, hot && !overFirst,
                  horizontal ? Glyph::kTriangleRight : Glyph::kTriangleDown);
  DrawArrowButton(dc, first, disabled, pressed && overFirst, hot && overFirst,
                  horizontal ? Glyph::kTriangleLeft : Glyph::kTriangleUp);
  canvas.Present();
}

}  // namespace tolvane::skin
