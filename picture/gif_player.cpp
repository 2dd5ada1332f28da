#include "picture/gif_player.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

#include "base/gdi_holders.h"

namespace tolvane::picture {
namespace {

std::atomic<int> liveWorkers{0};

// A 32-bit top-down DIB over `pixels` (0x00RRGGBB in memory order B, G, R, 0).
void DrawFrame(HDC dc, const std::uint32_t* pixels, int width, int height) {
  if (width <= 0 || height <= 0) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                    static_cast<UINT>(height), pixels, &info, DIB_RGB_COLORS);
}

}  // namespace

GifPlayer::GifPlayer(HWND box, std::shared_ptr<const GifAnimation> gif, std::uint32_t background)
    : box_(box), compositor_(std::move(gif), background) {
  RECT client{};
  GetClientRect(box, &client);
  visibleWidth_ = std::max(0, std::min<int>(compositor_.width(), client.right));
  visibleHeight_ = std::max(0, std::min<int>(compositor_.height(), client.bottom));
  frame_.resize(static_cast<std::size_t>(visibleWidth_) * static_cast<std::size_t>(visibleHeight_));
  // The first frame is composed here, with the picture's decoding, so the first paint already
  // shows it; the worker then starts by holding it.
  firstHold_ = compositor_.Step();
  PublishCanvas();
}

GifPlayer::~GifPlayer() {
  Stop();
}

int GifPlayer::LiveWorkers() {
  return liveWorkers.load();
}

bool GifPlayer::Start() {
  if (startCalled_) return thread_ != nullptr;
  startCalled_ = true;
  stopEvent_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (!stopEvent_) return false;
  state_.store(kRunning);
  liveWorkers.fetch_add(1);
  thread_ = CreateThread(nullptr, 0, &GifPlayer::ThreadMain, this, 0, nullptr);
  if (!thread_) {
    liveWorkers.fetch_sub(1);
    state_.store(kStopped);
    CloseHandle(stopEvent_);
    stopEvent_ = nullptr;
    return false;
  }
  return true;
}

void GifPlayer::Stop() {
  // A stopped player is not started again: the next picture gets a player of its own.
  startCalled_ = true;
  if (!thread_) return;
  state_.store(kStopRequested);
  SetEvent(stopEvent_);
  WaitForSingleObject(thread_, INFINITE);
  CloseHandle(thread_);
  thread_ = nullptr;
  CloseHandle(stopEvent_);
  stopEvent_ = nullptr;
}

void GifPlayer::DrawCurrentFrame(HDC dc) {
  std::lock_guard<std::mutex> hold(frameLock_);
  DrawFrame(dc, frame_.data(), visibleWidth_, visibleHeight_);
}

void GifPlayer::PublishCanvas() {
  const std::uint32_t* canvas = compositor_.canvas();
  const std::size_t canvasWidth = static_cast<std::size_t>(compositor_.width());
  std::lock_guard<std::mutex> hold(frameLock_);
  for (int y = 0; y < visibleHeight_; ++y)
    std::copy_n(canvas + y * canvasWidth, visibleWidth_, frame_.begin() + y * visibleWidth_);
}

DWORD WINAPI GifPlayer::ThreadMain(void* self) {
  static_cast<GifPlayer*>(self)->Run();
  liveWorkers.fetch_sub(1);
  return 0;
}

void GifPlayer::Run() {
  {
    WindowDc dc(box_);
    // Holds a frame for `milliseconds` by the tick count; true when a stop was asked for.
    // Waiting on the event instead of sleeping in steps ends the wait as soon as it is set.
    auto holdFrame = [this](int milliseconds) {
      const DWORD start = GetTickCount();
      const DWORD hold = static_cast<DWORD>(std::max(milliseconds, 0));
      for (;;) {
        if (state_.load() != kRunning) return true;
        const DWORD elapsed = GetTickCount() - start;  // unsigned: wraps correctly
        if (elapsed >= hold) return false;
        if (WaitForSingleObject(stopEvent_, hold - elapsed) == WAIT_OBJECT_0) return true;
      }
    };
    int hold = firstHold_;
    if (dc.get()) DrawCurrentFrame(dc.get());
    try {
      while (!holdFrame(hold)) {
        hold = compositor_.Step();
        PublishCanvas();
        if (dc.get()) DrawCurrentFrame(dc.get());
        GdiFlush();
      }
    } catch (const std::bad_alloc&) {
      // A later frame that does not fit in memory ends the animation; the box keeps showing
      // the last frame drawn.
    }
  }
  state_.store(kStopped);
}

}  // namespace tolvane::picture
