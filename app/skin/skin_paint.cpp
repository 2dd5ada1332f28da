#include "app/skin/skin_paint.h"

namespace tolvane::skin {
namespace {

HFONT FontOf(HWND window) {
  return reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
}

// TRIVERTEX carries 16-bit channels.
TRIVERTEX Vertex(LONG x, LONG y, Colour colour) {
  TRIVERTEX v{};
  v.x = x;
  v.y = y;
  v.Red = static_cast<COLOR16>(RedOf(colour) << 8);
  v.Green = static_cast<COLOR16>(GreenOf(colour) << 8);
  v.Blue = static_cast<COLOR16>(BlueOf(colour) << 8);
  return v;
}

class DcMeasurer : public TextMeasurer {
 public:
  explicit DcMeasurer(HDC dc) : dc_(dc) {}
  int Width(const char* bytes, int count) const override {
    SIZE size{};
    if (!GetTextExtentPoint32A(dc_, bytes, count, &size)) return 0;
    return size.cx;
  }

 private:
  HDC dc_;
};

}  // namespace

OffscreenCanvas::OffscreenCanvas(HWND window, bool copyCurrentImage)
    : width_(WindowWidth(window)),
      height_(WindowHeight(window)),
      windowDc_(window, /*wholeWindow=*/true),
      memory_(windowDc_.get()),
      bitmap_(windowDc_.get() && width_ > 0 && height_ > 0
                  ? CreateCompatibleBitmap(windowDc_.get(), width_, height_)
                  : nullptr),
      bitmapSelection_(memory_.get(), bitmap_.get()),
      fontSelection_(memory_.get(), FontOf(window)) {
  if (!windowDc_.get() || !memory_.get() || !bitmap_.get()) throw PaintFailure{};
  SetBkMode(memory_.get(), TRANSPARENT);
  if (copyCurrentImage) {
    BitBlt(memory_.get(), 0, 0, width_, height_, windowDc_.get(), 0, 0, SRCCOPY);
  }
}

void OffscreenCanvas::Present() {
  BitBlt(windowDc_.get(), 0, 0, width_, height_, memory_.get(), 0, 0, SRCCOPY);
}

int OffscreenCanvas::WindowWidth(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r.right - r.left;
}

int OffscreenCanvas::WindowHeight(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r.bottom - r.top;
}

RECT Inset(const RECT& rect, int by) {
  RECT r = rect;
  InflateRect(&r, -by, -by);
  return r;
}

RECT ClientRectOf(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return r;
}

Colour SystemColour(int index) { return static_cast<Colour>(GetSysColor(index)); }

void FillWithRecord(HDC dc, const RECT& rect, const FillRecord& record) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  if (IsVertical(record)) {
    TRIVERTEX vertices[2] = {Vertex(rect.left, rect.top, record.topLeft),
                             Vertex(rect.right, rect.bottom, record.bottomRight)};
    GRADIENT_RECT gradient = {0, 1};
    GradientFill(dc, vertices, 2, &gradient, 1, GRADIENT_FILL_RECT_V);
    return;
  }
  TRIVERTEX vertices[4] = {Vertex(rect.left, rect.top, record.topLeft),
                           Vertex(rect.right, rect.top, record.topRight),
                           Vertex(rect.left, rect.bottom, record.bottomLeft),
                           Vertex(rect.right, rect.bottom, record.bottomRight)};
  GRADIENT_TRIANGLE triangles[2] = {{0, 1, 2}, {3, 1, 2}};
  GradientFill(dc, vertices, 4, triangles, 2, GRADIENT_FILL_TRIANGLE);
}

void FillFlat(HDC dc, const RECT& rect, Colour colour) {
  GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
  if (brush.get()) FillRect(dc, &rect, brush.get());
}

void FrameRing(HDC dc, const RECT& rect, Colour colour) {
  GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
  if (brush.get()) FrameRect(dc, &rect, brush.get());
}

void SetPixelColour(HDC dc, int x, int y, Colour colour) { SetPixel(dc, x, y, colour); }

void DrawSegments(HDC dc, const Segment* segments, int count, Colour colour) {
  GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, colour));
  Selection selected(dc, pen.get());
  for (int i = 0; i < count; ++i) {
    MoveToEx(dc, segments[i].from.x, segments[i].from.y, nullptr);
    LineTo(dc, segments[i].to.x, segments[i].to.y);
  }
}

bool DrawButtonCaption(HDC dc, HWND window, const RECT& rect, CaptionAlignment alignment,
                       Colour colour, RECT* block) {
  char caption[kMaxCaptionBytes + 1] = {};
  const int length = GetWindowTextA(window, caption, sizeof caption);
  if (length <= 0) return false;
  SIZE sample{};
  GetTextExtentPoint32A(dc, "a", 1, &sample);
  const LayoutRect area{rect.left, rect.top, rect.right, rect.bottom};
  CaptionLayout layout;
  LayoutCaption(caption, length, area, sample.cy, alignment, DcMeasurer(dc), &layout);
  SetTextColor(dc, colour);
  for (int n = 0; n < layout.lineCount; ++n) {
    const CaptionLine& line = layout.lines[n];
    RECT lineRect = {line.x, line.y, line.x + line.width, line.y + layout.lineHeight};
    DrawTextA(dc, caption + line.start, line.length, &lineRect, 0);
  }
  if (block) *block = {layout.block.left, layout.block.top, layout.block.right, layout.block.bottom};
  return true;
}

}  // namespace tolvane::skin
