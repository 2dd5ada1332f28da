// Check boxes (message rules: those of push buttons) and their painting; the caption and
// focus part is shared with radio buttons.
#include "app/skin/skin_paint.h"
#include "app/skin/skinned_control.h"

namespace tolvane::skin {

void DrawBoxButtonCaption(HDC dc, const SkinnedControl& control, const RECT& text) {
  const auto style = static_cast<std::uint32_t>(GetWindowLongPtrA(control.window, GWL_STYLE));
  const Colour colour = (control.state & kDisabled) ? SystemColour(COLOR_GRAYTEXT) : control.textColour;
  RECT block{};
  if (!DrawButtonCaption(dc, control.window, text, AlignmentOfButtonStyle(style), colour, &block)) return;
  if (control.state & kFocused) DrawFocusRect(dc, &block);
}

void PaintCheckBox(SkinnedControl& control) {
  OffscreenCanvas canvas(control.window, false);
  HDC dc = canvas.dc();
  const RECT client = ClientRectOf(control.window);
  const int w = client.right;
  const int h = client.bottom;
  const std::uint32_t state = control.state;
  const bool disabled = (state & kDisabled) != 0;
  const auto style = static_cast<std::uint32_t>(GetWindowLongPtrA(control.window, GWL_STYLE));
  constexpr int kBox = 13;

  FillRect(dc, &client, control.backgroundBrush);
  RECT text = client;
  RECT box{};
  switch (style & (style_bits::kButtonTop | style_bits::kButtonBottom)) {
    case style_bits::kButtonTop | style_bits::kButtonBottom:
      box.top = (h - kBox) / 2;
      break;
    case style_bits::kButtonBottom:
      box.top = h - kBox;
      text.top = h - 18;
      break;
    default:
      box.top = 0;
      text.top += 1;
      break;
  }
  box.bottom = box.top + kBox;
  if (style & style_bits::kButtonRightButton) {
    box.right = w;
    box.left = w - kBox;
    text.right -= 18;
  } else {
    box.left = 0;
    box.right = kBox;
    text.left += 18;
  }

  const Colour face = SystemColour(COLOR_BTNFACE);
  FrameRing(dc, box, disabled ? ButtonFaceMinus(face, kDarken32) : fixed_colours::kCheckBoxFrame);
  if (disabled) {
    FillFlat(dc, Inset(box, 1), fixed_colours::kWhite);
  } else {
    FillWithRecord(dc, Inset(box, 1), BoxRecordFor(kCheckBoxRecords, state));
  }
  const RECT inner = Inset(box, 3);
  const std::int64_t innerColour = CheckBoxInnerColour(state);
  if (innerColour >= 0) FillFlat(dc, inner, static_cast<Colour>(innerColour));
  if (state & kChecked) {
    Segment mark[kCheckMarkSegments];
    CheckMarkSegments(inner.left, inner.top, mark);
    DrawSegments(dc, mark, kCheckMarkSegments,
                 disabled ? fixed_colours::kCheckMarkDisabled : fixed_colours::kCheckMark);
  }
  DrawBoxButtonCaption(dc, control, text);
  canvas.Present();
}

}  // namespace tolvane::skin
