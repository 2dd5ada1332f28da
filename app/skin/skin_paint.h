#pragma once
// Painting primitives of the skin: small holders for device contexts and GDI objects, the
// off-screen canvas every painting goes through, and the fills, frames, pixels, glyphs and
// captions the control kinds are drawn with.
#include <windows.h>

#include "app/skin/caption_layout.h"
#include "app/skin/skin_colors.h"

namespace tolvane::skin {

// A created GDI object (brush, pen, bitmap, region), deleted with the holder.
template <typename Handle>
class GdiObject {
 public:
  explicit GdiObject(Handle handle) : handle_(handle) {}
  ~GdiObject() {
    if (handle_) DeleteObject(handle_);
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  Handle get() const { return handle_; }

 private:
  Handle handle_;
};

// An object selected into a DC for the holder's lifetime; the previous one is put back.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
  ~Selection() {
    if (previous_) SelectObject(dc_, previous_);
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A window's device context from GetWindowDC, released with the holder.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetWindowDC(window)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

class MemoryDc {
 public:
  explicit MemoryDc(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
  ~MemoryDc() {
    if (dc_) DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// Thrown when a painting cannot get its device contexts or bitmap; the skin procedure
// catches it and the control keeps what is on screen.
struct PaintFailure {};

// One off-screen bitmap of the whole window, created for one painting and shown in one
// transfer by Present(). Coordinates are relative to the window's top-left corner. Text is
// drawn with a transparent background in the control's font.
class OffscreenCanvas {
 public:
  // `copyCurrentImage`: start from what the window shows now (kinds that paint over the
  // control's own drawing), otherwise from an undefined bitmap that the painting covers.
  OffscreenCanvas(HWND window, bool copyCurrentImage);
  HDC dc() const { return memory_.get(); }
  int width() const { return width_; }
  int height() const { return height_; }
  void Present();

 private:
  static int WindowWidth(HWND window);
  static int WindowHeight(HWND window);

  int width_;
  int height_;
  WindowDc windowDc_;
  MemoryDc memory_;
  GdiObject<HBITMAP> bitmap_;
  Selection bitmapSelection_;
  Selection fontSelection_;
};

RECT Inset(const RECT& rect, int by);
RECT ClientRectOf(HWND window);
Colour SystemColour(int index);

// Shades `rect` between the record's four corner colours (GradientFill).
void FillWithRecord(HDC dc, const RECT& rect, const FillRecord& record);
void FillFlat(HDC dc, const RECT& rect, Colour colour);
// The one-pixel ring just inside `rect`.
void FrameRing(HDC dc, const RECT& rect, Colour colour);
void SetPixelColour(HDC dc, int x, int y, Colour colour);
void DrawSegments(HDC dc, const Segment* segments, int count, Colour colour);

// Lays out and draws a button caption (at most 255 bytes of the window text) in `rect`.
// Returns false when the caption is empty; `block` receives the laid-out text block.
bool DrawButtonCaption(HDC dc, HWND window, const RECT& rect, CaptionAlignment alignment,
                       Colour colour, RECT* block);

}  // namespace tolvane::skin
