#pragma once
// Painting primitives of the skin: the
// off-screen canvas every painting goes through, and the fills, frames, pixels, glyphs and
// captions the control kinds are drawn with.
#include <windows.h>

#include "app/skin/caption_layout.h"
#include "base/gdi_holders.h"
#include "app/skin/skin_colors.h"

namespace tolvane::skin {

using tolvane::GdiObject;
using tolvane::MemoryDc;
using tolvane::WindowDc;
using Selection = tolvane::SelectedObject;

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
