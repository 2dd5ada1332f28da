#include "picture/decoders.h"

namespace tolvane::picture {

DecodeFailure DecodeJpeg(const std::uint8_t*, std::size_t, Raster&) { return "not built yet"; }

}  // namespace tolvane::picture
