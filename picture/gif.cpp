#include "picture/gif.h"

namespace tolvane::picture {

std::shared_ptr<GifAnimation> GifAnimation::Parse(const std::uint8_t*, std::size_t) { return nullptr; }
bool GifAnimation::DecodeFrame(const GifFrame&, GifFramePixels&, std::vector<std::uint8_t>&) const { return false; }
GifCompositor::GifCompositor(std::shared_ptr<const GifAnimation> gif, std::uint32_t background)
    : gif_(std::move(gif)), width_(gif_->width()), height_(gif_->height()),
      canvas_(static_cast<std::size_t>(width_) * height_, background) {}
int GifCompositor::Step() { return 50; }
void GifCompositor::DrawFrame(const GifFrame&, const GifFramePixels&) {}

}  // namespace tolvane::picture
