// The GIF compositor through a whole animation and into its second round.
#include <cstddef>
#include <cstdint>

#include "picture/gif.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tolvane::picture;
  std::shared_ptr<GifAnimation> gif = GifAnimation::Parse(data, size);
  if (!gif) return 0;
  GifCompositor compositor(gif, 0x00FF00FF);
  // Each Step draws one frame; a round has at most as many steps as frames. Bounded so a
  // file of thousands of frames stays quick.
  std::size_t steps = gif->frames().size() * 2 + 1;
  if (steps > 400) steps = 400;
  for (std::size_t i = 0; i < steps; ++i) {
    int hold = compositor.Step();
    if (hold <= 0) __builtin_trap();
  }
  return 0;
}
