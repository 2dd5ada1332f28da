// Radio buttons (message rules: those of push buttons) and their painting.
#include "app/skin/skin_paint.h"
#include "app/skin/skinned_control.h"

namespace tolvane::skin {

namespace {

// Fills `area` with a record, clipped to the ellipse inscribed in it.
void FillEllipseWithRecord(HDC dc, const RECT& area, const FillRecord& record) {
  GdiObject<HRGN> ellipse(CreateEllipticRgnIndirect(&area));
  if (!ellipse.get()) return;
  SelectClipRgn(dc, ellipse.get());
  FillWithRecord(dc, area, record);
  SelectClipRgn(dc, nullptr);
}

void DrawEllipse(HDC dc, const RECT& bounds, Colour pen, Colour brush) {
  GdiObject<HPEN> p(CreatePen(PS_SOLID, 1, pen));
  GdiObject<HBRUSH> b(CreateSolidBrush(brush));
  Selection selectedPen(dc, p.get());
  Selection selectedBrush(dc, b.get());
  Ellipse(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
}

// A full circle of the arc, start and end at the same point.
void DrawOutline(HDC dc, const RECT& bounds, Colour colour) {
  GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, colour));
  Selection selected(dc, pen.get());
  Arc(dc, bounds.left, bounds.top, bounds.right, bounds.bottom, bounds.right, bounds.top,
      bounds.right, bounds.top);
}

// Windows NT-family systems clear the top bit of GetVersion.
bool IsNtFamily() { return (GetVersion() & 0x80000000u) == 0; }

}  // namespace

void PaintRadioButton(SkinnedControl& control) {
  OffscreenCanvas canvas(control.window, false);
  HDC dc = canvas.dc();
  const RECT client = ClientRectOf(control.window);
  const int w = client.right;
  const int h = client.bottom;
  const std::uint32_t state = control.state;
  const bool disabled = (state & kDisabled) != 0;
  const auto style = static_cast<std::uint32_t>(GetWindowLongPtrA(control.window, GWL_STYLE));
  constexpr int kBox = 16;

  FillRect(dc, &client, control.backgroundBrush);
  RECT text = client;
  RECT box{};
  switch (style & (style_bits::kButtonTop | style_bits::kButtonBottom)) {
    case style_bits::kButtonTop | style_bits::kButtonBottom:
      box.top = (h - 15) / 2;
      break;
    case style_bits::kButtonBottom:
      box.top = h - kBox;
      text.top = h - 21;
      break;
    default:
      box.top = 0;
      text.top += 1;
      break;
  }
  box.bottom = box.top + kBox;
  if (style & style_bits::kButtonRightButton) {
    box.left = w - kBox;
    box.right = w;
    text.right -= 18;
  } else {
    box.left = -1;
    box.right = kBox - 1;
    text.left += 18;
  }

  const Colour face = SystemColour(COLOR_BTNFACE);
  const RECT disc = {box.left + 1, box.top + 1, box.right - 2, box.bottom - 2};
  Colour discColour = IsNtFamily() ? fixed_colours::kRadioDiscNtFamily : fixed_colours::kRadioOutline;
  if (disabled) discColour = ButtonFaceMinus(face, kDarken16);
  DrawEllipse(dc, disc, face, discColour);
  DrawOutline(dc, disc, disabled ? ButtonFaceMinus(face, kDarken32) : fixed_colours::kRadioOutline);

  const RECT fill = Inset(box, 2);
  if (disabled) {
    FillEllipseWithRecord(dc, fill, Flat(fixed_colours::kWhite));
  } else {
    FillEllipseWithRecord(dc, fill, BoxRecordFor(kRadioRecords, state));
  }
  const RECT hotArea = Inset(fill, 2);
  if ((state & kHot) && !(state & kPressed)) {
    const RECT hotDisc = {hotArea.left, hotArea.top, hotArea.right - 1, hotArea.bottom - 1};
    DrawEllipse(dc, hotDisc, fixed_colours::kRadioHotDisc, fixed_colours::kRadioHotDisc);
  }
  if (state & kChecked) {
    const RECT dotArea = Inset(hotArea, 1);
    const RECT dot = {dotArea.left, dotArea.top, dotArea.right - 1, dotArea.bottom - 1};
    DrawOutline(dc, dot, disabled ? fixed_colours::kRadioDotOutlineDisabled : fixed_colours::kRadioDotOutline);
    FillEllipseWithRecord(dc, dot, disabled ? kRadioDotDisabled : kRadioDot);
  }
  DrawBoxButtonCaption(dc, control, text);
  canvas.Present();
}

}  // namespace tolvane::skin
