#pragma once
// The animation worker of the picture box: one thread per animated GIF. It steps a
// GifCompositor, copies each new canvas into a frame shared with the box's painting, draws
// that frame to the box through a device context of its own, and holds it for the frame's
// time. Stop() returns only once the thread has ended and released its device context.
// Only the part of the canvas that the box's client area can show is copied and drawn, so a
// huge logical screen costs no more per frame than one the size of the box.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "picture/gif.h"

namespace tolvane::picture {

class GifPlayer {
 public:
  // Composes the first frame over `background` (0x00RRGGBB) and shares it; starts nothing.
  // May throw std::bad_alloc for a canvas that does not fit in memory.
  GifPlayer(HWND box, std::shared_ptr<const GifAnimation> gif, std::uint32_t background);
  ~GifPlayer();  // stops the worker if it runs
  GifPlayer(const GifPlayer&) = delete;
  GifPlayer& operator=(const GifPlayer&) = delete;

  // Starts the worker once: later calls, and calls after Stop(), do nothing. False when the
  // thread cannot be made (the box then shows the current frame without animating).
  bool Start();
  bool started() const { return startCalled_; }

  // Asks the worker to stop and waits for its end. The worker sends no message to the UI
  // thread, so the UI thread may wait here safely.
  void Stop();

  // Copies the current frame to `dc` at (0, 0), under the frame's lock (the paint path).
  void DrawCurrentFrame(HDC dc);


  // Worker threads alive in the process now, for checks that none outlives its box.
  static int LiveWorkers();

 private:
  enum State : int { kIdle, kRunning, kStopRequested, kStopped };

  static DWORD WINAPI ThreadMain(void* self);
  void Run();
  void PublishCanvas();  // compositor canvas -> shared frame, under the lock

  HWND box_;
  GifCompositor compositor_;  // touched by the worker only once it runs
  int visibleWidth_ = 0;   // the canvas's top-left part that the client area can show
  int visibleHeight_ = 0;
  std::mutex frameLock_;
  // That part of the canvas, 0x00RRGGBB top-down: a 32-bit DIB's pixel layout.
  std::vector<std::uint32_t> frame_;
  int firstHold_ = 0;
  std::atomic<int> state_{kIdle};
  HANDLE stopEvent_ = nullptr;  // manual reset: a wait cannot miss the request
  HANDLE thread_ = nullptr;
  bool startCalled_ = false;
};

}  // namespace tolvane::picture
