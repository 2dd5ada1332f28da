#include "app/skin/arrow_button.h"

#include "app/skin/skin_paint.h"
#include "app/skin/skinned_control.h"

namespace tolvane::skin {

void DrawArrowButton(HDC dc, const RECT& rect, bool disabled, bool pressed, bool hot, Glyph glyph) {
  const StyleColours& colours = CurrentColours();
  const int s = ArrowStateIndex(disabled, pressed, hot);
  FillWithRecord(dc, rect, colours.arrowButton[kArrowOuter + s]);
  const FillRecord& corners = colours.arrowButton[kArrowCorners + s];
  SetPixelColour(dc, rect.left, rect.top, corners.topLeft);
  SetPixelColour(dc, rect.right - 1, rect.top, corners.topRight);
  SetPixelColour(dc, rect.left, rect.bottom - 1, corners.bottomLeft);
  SetPixelColour(dc, rect.right - 1, rect.bottom - 1, corners.bottomRight);
  const RECT face = Inset(rect, 1);
  FillWithRecord(dc, face, colours.arrowButton[kArrowFace + s]);
  const int cx = face.left + (face.right - face.left) / 2;
  const int cy = face.top + (face.bottom - face.top) / 2;
  Segment segments[kMaxGlyphSegments];
  const int count = GlyphSegments(glyph, cx, cy, segments);
  DrawSegments(dc, segments, count, disabled ? fixed_colours::kDisabledGlyph : colours.arrowGlyph);
}

}  // namespace tolvane::skin
