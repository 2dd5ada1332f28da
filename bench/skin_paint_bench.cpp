// Time to paint a push button with the skin next to the same button painted by the system,
// in one run. Each round repaints the button N times unskinned, then N times skinned
// (invalidate, erase and paint now), alternating so that both see the same conditions.
// Prints microseconds per paint for each and their ratio.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/skin/control_skin.h"

namespace {

double MicrosecondsPerPaint(HWND button, int paints) {
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  for (int i = 0; i < paints; ++i) {
    RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW | RDW_UPDATENOW);
  }
  QueryPerformanceCounter(&end);
  return 1e6 * static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart / paints;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = "TolvaneSkinBench";
  RegisterClassA(&wc);
  HWND host = CreateWindowExA(0, wc.lpszClassName, "bench", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 0, 0,
                              300, 200, nullptr, nullptr, wc.hInstance, nullptr);
  // The main window's buttons: 75 x 25, multi-line, centred.
  HWND button = CreateWindowExA(0, "BUTTON", "\xCB\xD1\xCB\xF7",
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE | BS_CENTER | BS_VCENTER,
                                20, 20, 75, 25, host, nullptr, wc.hInstance, nullptr);
  SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
  UpdateWindow(host);

  constexpr int kRounds = 7;
  constexpr int kPaints = 300;
  std::vector<double> plain, skinned;
  MicrosecondsPerPaint(button, 50);  // warm-up
  for (int round = 0; round < kRounds; ++round) {
    tolvane::skin::ControlSkin(0);
    plain.push_back(MicrosecondsPerPaint(button, kPaints));
    tolvane::skin::ControlSkin(1);
    skinned.push_back(MicrosecondsPerPaint(button, kPaints));
  }
  tolvane::skin::ControlSkin(0);
  const double a = Median(plain);
  const double b = Median(skinned);
  std::printf("push button paint, median of %d rounds x %d paints\n", kRounds, kPaints);
  std::printf("  system look: %8.1f us/paint\n", a);
  std::printf("  skinned:     %8.1f us/paint\n", b);
  std::printf("  ratio skinned/system: %.2f\n", b / a);
  DestroyWindow(host);
  return 0;
}
