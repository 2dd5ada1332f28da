// The picture box under Wine: the cost of SetPicture (copy and decode) and of one paint, for
// avatar-sized and large pictures, and the processor time an animated GIF's worker takes.
// Painting builds a device bitmap from the visible part only, so a paint should cost about the
// same whatever the picture's size. Prints one line per case; nothing here is a test.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "base/text.h"
#include "picture/picture_box.h"
#include "tests/picture/fixtures.h"

namespace {

using namespace tolvane;
using namespace tolvane::picture;
using fixtures::ByteVector;

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The median of `repeats` timings of `work`, in microseconds.
double MedianMicroseconds(int repeats, const std::function<void()>& work) {
  std::vector<double> times;
  for (int i = 0; i < repeats; ++i) {
    const double start = Now();
    work();
    times.push_back((Now() - start) * 1e6);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

double ProcessorSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto seconds = [](const FILETIME& t) {
    return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

std::vector<std::uint32_t> Gradient(int width, int height) {
  std::vector<std::uint32_t> out;
  out.reserve(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      out.push_back(static_cast<std::uint32_t>((x * 255 / width) << 16 | (y * 255 / height) << 8 |
                                               ((x ^ y) & 255)));
  return out;
}

ByteVector Bmp24(int width, int height) {
  fixtures::BmpRecipe recipe;
  recipe.width = width;
  recipe.height = height;
  recipe.bitCount = 24;
  recipe.colours = Gradient(width, height);
  return fixtures::WriteBmp(recipe);
}

ByteVector AnimatedGif(int width, int height, int frames) {
  fixtures::GifRecipe recipe;
  recipe.width = width;
  recipe.height = height;
  recipe.globalPalette = fixtures::PatternPalette(256);
  for (int i = 0; i < frames; ++i) {
    fixtures::GifFrameRecipe frame;
    frame.width = std::min(width, 110);
    frame.height = std::min(height, 110);
    frame.indices = fixtures::PatternIndices(frame.width, frame.height, 256);
    for (auto& index : frame.indices) index = static_cast<std::uint8_t>(index + i * 13);
    frame.control = true;
    frame.delay = 0;  // held 50 ms
    recipe.frames.push_back(frame);
  }
  return fixtures::WriteGif(recipe);
}

}  // namespace

int main() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  RegisterPictureBoxClass(instance);
  WNDCLASSA hostClass{};
  hostClass.lpfnWndProc = DefWindowProcA;
  hostClass.hInstance = instance;
  hostClass.lpszClassName = "TolvaneBoxBenchHost";
  RegisterClassA(&hostClass);
  HWND host = CreateWindowExA(0, "TolvaneBoxBenchHost", "bench", WS_POPUP | WS_VISIBLE, 0, 0, 199,
                              263, nullptr, nullptr, instance, nullptr);
  HWND box = CreateWindowExA(0, kPictureBoxClassName, "",
                             WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_BORDER, 40, 112, 112,
                             112, host, nullptr, instance, nullptr);
  PumpMessages();

  struct Case {
    const char* name;
    ByteVector bytes;
  };
  const Case cases[] = {
      {"JPEG 110x110", fixtures::EncodeJpeg(110, 110, Gradient(110, 110))},
      {"JPEG 1000x1000", fixtures::EncodeJpeg(1000, 1000, Gradient(1000, 1000))},
      {"PNG 110x110", fixtures::EncodePng(110, 110, Gradient(110, 110))},
      {"BMP 24-bit 110x110", Bmp24(110, 110)},
      {"BMP 24-bit 1000x1000", Bmp24(1000, 1000)},
  };
  std::printf("%-22s %16s %16s\n", "picture", "SetPicture us", "paint us");
  for (const Case& c : cases) {
    const Bytes bytes = Bytes::Copy(c.bytes.data(), c.bytes.size());
    const double set = MedianMicroseconds(21, [&] { SetPicture(box, bytes); });
    UpdateWindow(box);
    const double paint = MedianMicroseconds(101, [&] {
      RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      GdiFlush();
    });
    std::printf("%-22s %16.1f %16.1f\n", c.name, set, paint);
  }

  // Animation: processor time per second of playing 20 frames held 50 ms each.
  const struct {
    const char* name;
    int width, height;
  } animations[] = {{"GIF 20 frames 110x110", 110, 110}, {"GIF 20 frames 2000x2000", 2000, 2000}};
  for (const auto& a : animations) {
    const ByteVector gif = AnimatedGif(a.width, a.height, 20);
    const Bytes bytes = Bytes::Copy(gif.data(), gif.size());
    SetPicture(box, bytes);
    UpdateWindow(box);
    const double startCpu = ProcessorSeconds();
    const double start = Now();
    while (Now() - start < 2.0) {
      PumpMessages();
      Sleep(10);
    }
    const double cpu = ProcessorSeconds() - startCpu;
    const double stopStart = Now();
    SetPicture(box, Bytes());
    const double stop = (Now() - stopStart) * 1e6;
    std::printf("%-24s processor %.1f ms per second played; stop %.0f us\n", a.name,
                cpu * 1000.0 / 2.0, stop);
  }
  DestroyWindow(host);
  return 0;
}
