#include "tests/skin/skin_test_window.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>

namespace tolvane::skin::testing {
namespace {

constexpr char kHostClass[] = "TolvaneSkinTestHost";

ATOM RegisterHostClass() {
  static ATOM atom = [] {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kHostClass;
    return RegisterClassA(&wc);
  }();
  return atom;
}

}  // namespace

Snapshot::Snapshot(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  width_ = r.right - r.left;
  height_ = r.bottom - r.top;
  if (width_ <= 0 || height_ <= 0) return;
  HDC source = GetWindowDC(window);
  HDC memory = CreateCompatibleDC(source);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = -height_;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width_, height_, source, 0, 0, SRCCOPY);
  GdiFlush();
  const auto* p = static_cast<const std::uint32_t*>(bits);
  pixels_.assign(p, p + static_cast<size_t>(width_) * height_);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, source);
}

Colour Snapshot::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0xFFFFFFFF;
  const std::uint32_t v = pixels_[static_cast<size_t>(y) * width_ + x];
  return Rgb((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

std::string Describe(Colour c) {
  if (c == 0xFFFFFFFF) return "(outside)";
  char text[32];
  std::snprintf(text, sizeof text, "(%d,%d,%d)", RedOf(c), GreenOf(c), BlueOf(c));
  return text;
}

bool Near(Colour a, Colour b, int tolerance) {
  if (a == 0xFFFFFFFF || b == 0xFFFFFFFF) return false;
  return std::abs(RedOf(a) - RedOf(b)) <= tolerance && std::abs(GreenOf(a) - GreenOf(b)) <= tolerance &&
         std::abs(BlueOf(a) - BlueOf(b)) <= tolerance;
}

Colour TopRowColour(const FillRecord& record, int left, int right, int x) {
  const int span = right - left;
  const auto mix = [&](int a, int b) { return a + (b - a) * (x - left) / span; };
  return Rgb(mix(RedOf(record.topLeft), RedOf(record.topRight)),
             mix(GreenOf(record.topLeft), GreenOf(record.topRight)),
             mix(BlueOf(record.topLeft), BlueOf(record.topRight)));
}

HostWindow::HostWindow() {
  // Made again when a test left it destroyed (a stray close), so one failure stays in its test
  // instead of leaving every later control without a parent.
  static HWND shared = nullptr;
  if (!IsWindow(shared)) {
    RegisterHostClass();
    shared = CreateWindowExA(0, kHostClass, "skin test", WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN,
                             0, 0, 600, 400, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ShowWindow(shared, SW_SHOW);
    SetForegroundWindow(shared);
  }
  window_ = shared;
  SetFocus(window_);
  Pump();
}

HostWindow::~HostWindow() {
  for (HWND control : added_) {
    if (IsWindow(control)) DestroyWindow(control);
  }
  Pump();
}

HWND HostWindow::Add(const char* className, const char* text, DWORD style, int x, int y, int w, int h,
                     DWORD exStyle, int id) {
  // Away from the host window: a control created under the cursor would start hot. The
  // pointer's motion reaches the windows later, so let it arrive before creating.
  SetCursorPos(1000, 750);
  Sleep(20);
  Pump();
  HWND control = CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h,
                                 window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleA(nullptr), nullptr);
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
  UpdateWindow(control);
  Pump();
  added_.push_back(control);
  return control;
}

void Pump() {
  MSG msg;
  for (int round = 0; round < 3; ++round) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}

void MoveCursorTo(HWND window, int x, int y) {
  POINT p = {x, y};
  ClientToScreen(window, &p);
  SetCursorPos(p.x, p.y);
}

}  // namespace tolvane::skin::testing
