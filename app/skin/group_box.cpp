// Group boxes: message rules and the rounded frame with its caption.
#include "app/skin/skin_paint.h"
#include "app/skin/skinned_control.h"

namespace tolvane::skin {
namespace {

// Measures the line height of a group box without caption in the DC's default font.
constexpr char kSampleText[] = "Ag";

}  // namespace

bool PlanGroupBoxMessage(SkinnedControl&, UINT message, WPARAM, LPARAM, MessagePlan* plan) {
  if (message != WM_PAINT && message != WM_NCPAINT) return false;
  plan->handling = Handling::kDefault;
  plan->paint = true;
  return true;
}

void PaintGroupBox(SkinnedControl& control) {
  char caption[kMaxCaptionBytes + 1] = {};
  const int length = GetWindowTextA(control.window, caption, sizeof caption);
  const auto style = static_cast<std::uint32_t>(GetWindowLongPtrA(control.window, GWL_STYLE));
  const std::uint32_t alignment = style & (style_bits::kButtonLeft | style_bits::kButtonRight);
  const bool centred = alignment == (style_bits::kButtonLeft | style_bits::kButtonRight);
  const bool rightAligned = alignment == style_bits::kButtonRight;

  OffscreenCanvas canvas(control.window, true);
  HDC dc = canvas.dc();
  const RECT client = ClientRectOf(control.window);
  const int w = client.right;
  const int h = client.bottom;
  const Colour group = fixed_colours::kGroupFrame;
  const HBRUSH background = control.backgroundBrush;

  SIZE text{};
  int band = 2;
  if (length > 0) {
    GetTextExtentPoint32A(dc, caption, length, &text);
    RECT captionBox = {10, 0, 10 + text.cx, text.cy};
    if (rightAligned) captionBox = {w - 10 - text.cx, 0, w - 10, text.cy};
    if (centred) captionBox = {(w - text.cx) / 2, 0, (w - text.cx) / 2 + text.cx, text.cy};
    FillRect(dc, &captionBox, background);
    band = text.cy / 2 + 2;
  } else {
    // The canvas holds the control's font; the sample is measured in the DC's own default.
    MemoryDc plain(dc);
    GetTextExtentPoint32A(plain.get() ? plain.get() : dc, kSampleText, sizeof kSampleText - 1, &text);
  }
  const RECT bands[] = {{0, 0, w, band}, {0, 0, 2, h}, {0, h - 2, w, h}, {w - 2, 0, w, h}};
  for (const RECT& r : bands) FillRect(dc, &r, background);

  const int half = text.cy / 2;
  FrameRing(dc, RECT{0, half, w, h}, group);

  const Colour backgroundColour = GetPixel(dc, 0, 0);
  control.backgroundColour = backgroundColour;
  struct CornerPixel {
    Point at;
    bool groupColour;
  };
  const CornerPixel corners[] = {
      // top-left
      {{0, half}, false}, {{0, half + 1}, false}, {{0, half + 2}, false}, {{1, half}, false},
      {{2, half}, false}, {{2, half + 1}, true}, {{1, half + 2}, true},
      // top-right
      {{w - 1, half}, false}, {{w - 2, half}, false}, {{w - 3, half}, false},
      {{w - 1, half + 1}, false}, {{w - 1, half + 2}, false}, {{w - 3, half + 1}, true},
      {{w - 2, half + 2}, true},
      // bottom-left
      {{0, h - 1}, false}, {{0, h - 2}, false}, {{0, h - 3}, false}, {{1, h - 1}, false},
      {{2, h - 1}, false}, {{1, h - 3}, true}, {{2, h - 2}, true},
      // bottom-right
      {{w - 1, h - 1}, false}, {{w - 1, h - 2}, false}, {{w - 1, h - 3}, false},
      {{w - 2, h - 1}, false}, {{w - 3, h - 1}, false}, {{w - 3, h - 2}, true},
      {{w - 2, h - 3}, true},
  };
  for (const CornerPixel& c : corners) {
    SetPixelColour(dc, c.at.x, c.at.y, c.groupColour ? group : backgroundColour);
  }

  if (length > 0) {
    int gapFrom = 8;
    int gapTo = text.cx + 9;
    RECT textRect = {9, 0, w, h};
    UINT format = DT_SINGLELINE;
    if (centred) {
      gapFrom = (w - text.cx) / 2 - 5;
      gapTo = (w - text.cx) / 2 + text.cx + 4;
      textRect = {0, 0, w, h};
      format |= DT_CENTER;
    } else if (rightAligned) {
      gapFrom = w - 10 - text.cx;
      gapTo = w - 11;
      textRect = {0, 0, w - 10, h};
      format |= DT_RIGHT;
    }
    const Segment gap = {{gapFrom, half}, {gapTo + 1, half}};
    DrawSegments(dc, &gap, 1, backgroundColour);
    SetTextColor(dc, control.textColour);
    DrawTextA(dc, caption, length, &textRect, format);
  }
  canvas.Present();
}

}  // namespace tolvane::skin
