#pragma once
// A host window for skin tests, control creation and pixel read-back.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/skin/skin_colors.h"

namespace tolvane::skin::testing {

// The pixels of a window (its whole window DC) at the moment of construction. Wine does not
// draw child windows in PrintWindow, so this copies with BitBlt from the window DC.
class Snapshot {
 public:
  explicit Snapshot(HWND window);
  Colour At(int x, int y) const;
  int width() const { return width_; }
  int height() const { return height_; }
  bool operator==(const Snapshot& other) const {
    return width_ == other.width_ && height_ == other.height_ && pixels_ == other.pixels_;
  }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;  // 0x00RRGGBB rows, top-down
};

std::string Describe(Colour c);
// Within `tolerance` on every channel (gradient pixels; exact pixels use tolerance 0).
bool Near(Colour a, Colour b, int tolerance);
// Colour of a gradient's top row at `x` of a fill spanning left..right (right exclusive).
Colour TopRowColour(const FillRecord& record, int left, int right, int x);

// Controls in a visible top-level window with a button-face background and the default
// answers to the colour messages. The top-level window is shared by all tests of the program
// (showing and hiding a window under Wine without a window manager costs seconds); each
// HostWindow destroys the controls it added.
class HostWindow {
 public:
  HostWindow();
  ~HostWindow();
  HWND get() const { return window_; }
  HWND Add(const char* className, const char* text, DWORD style, int x, int y, int w, int h,
           DWORD exStyle = 0, int id = 0);

 private:
  HWND window_;
  std::vector<HWND> added_;
};

// Runs the messages waiting for this thread (paints included).
void Pump();
// Puts the system cursor over the client point (x, y) of a window.
void MoveCursorTo(HWND window, int x, int y);

}  // namespace tolvane::skin::testing
