// Push buttons: the message rules shared by every button kind (push button, check box, radio
// button) and the push button's painting.
#include "app/skin/skin_paint.h"
#include "app/skin/skinned_control.h"

namespace tolvane::skin {

void TakeOverButton(SkinnedControl& control) {
  const auto style = static_cast<std::uint32_t>(GetWindowLongPtrA(control.window, GWL_STYLE));
  if ((style & style_bits::kButtonTypeMask) == BS_DEFPUSHBUTTON) control.state |= kDefault;
  const LRESULT check = SendMessageA(control.window, BM_GETCHECK, 0, 0);
  if (check == BST_CHECKED) control.state |= kChecked;
  if (check == BST_INDETERMINATE) control.state |= kIndeterminate;
}

bool PlanButtonMessage(SkinnedControl& control, UINT message, WPARAM wParam, LPARAM,
                       MessagePlan* plan) {
  switch (message) {
    case WM_SETTEXT:
    case WM_PAINT:
      // The button's own painting is replaced whole; the default procedure validates and
      // stores the text.
      plan->handling = Handling::kDefault;
      plan->paint = true;
      return true;
    case WM_ERASEBKGND:
      plan->handling = Handling::kOwn;
      return true;
    case BM_SETCHECK:
      control.state &= ~(kChecked | kIndeterminate);
      if (wParam == BST_CHECKED) control.state |= kChecked;
      if (wParam == BST_INDETERMINATE) control.state |= kIndeterminate;
      plan->paint = true;
      return true;
    case BM_SETSTATE:
      if (wParam) control.state |= kPressed; else control.state &= ~kPressed;
      plan->paint = true;
      return true;
    case BM_SETSTYLE:
      if (wParam & 1) control.state |= kDefault; else control.state &= ~kDefault;
      plan->paint = true;
      return true;
    default:
      return false;
  }
}

void PaintPushButton(SkinnedControl& control) {
  OffscreenCanvas canvas(control.window, false);
  HDC dc = canvas.dc();
  const RECT client = ClientRectOf(control.window);
  const int w = client.right;
  const int h = client.bottom;
  const std::uint32_t state = control.state;
  const bool disabled = (state & kDisabled) != 0;
  const StyleColours& colours = CurrentColours();
  const Colour face = SystemColour(COLOR_BTNFACE);
  const Colour border = colours.pushButtonBorder;

  FillRect(dc, &client, control.backgroundBrush);
  FrameRing(dc, client, face);
  FrameRing(dc, Inset(client, 1), disabled ? ButtonFaceMinus(face, kDarken32) : border);
  const int edge = PushButtonEdgeRecord(state);
  if (edge < 0) {
    FillFlat(dc, Inset(client, 2), fixed_colours::kDisabledFace);
  } else {
    FillWithRecord(dc, Inset(client, 2), colours.pushButton[edge]);
  }
  const int faceRecord = PushButtonFaceRecord(state);
  if (faceRecord >= 0) FillWithRecord(dc, Inset(client, 4), colours.pushButton[faceRecord]);

  // Rounded corners.
  const Point outer[] = {{1, 1}, {1, h - 2}, {w - 2, h - 2}, {w - 2, 1}};
  const Point diagonal[] = {{2, 2}, {2, h - 3}, {w - 3, h - 3}, {w - 3, 2}};
  const Point sides[] = {{1, 2},     {2, 1},     {w - 3, 1}, {w - 2, 2},
                         {w - 3, h - 2}, {w - 2, h - 3}, {2, h - 2}, {1, h - 3}};
  for (const Point& p : outer) SetPixelColour(dc, p.x, p.y, face);
  const Colour diagonalColour = disabled ? ButtonFaceMinus(face, kDarken21) : border;
  for (const Point& p : diagonal) SetPixelColour(dc, p.x, p.y, diagonalColour);
  const Colour sideColour = disabled ? ButtonFaceMinus(face, kDarken17) : border;
  for (const Point& p : sides) SetPixelColour(dc, p.x, p.y, sideColour);

  if (state & kFocused) {
    const RECT focus = Inset(client, 3);
    DrawFocusRect(dc, &focus);
  }

  RECT text = Inset(client, 4);
  if (state & kPressed) OffsetRect(&text, 1, 1);
  const Colour textColour = (state & (kDisabled | kIndeterminate)) ? fixed_colours::kDisabledCaption
                                                                    : fixed_colours::kBlack;
  const auto style = static_cast<std::uint32_t>(GetWindowLongPtrA(control.window, GWL_STYLE));
  DrawButtonCaption(dc, control.window, text, AlignmentOfButtonStyle(style), textColour, nullptr);
  canvas.Present();
}

}  // namespace tolvane::skin
