#include "picture/decoders.h"

namespace tolvane::picture {

DecodeFailure DecodePng(const std::uint8_t*, std::size_t, Raster&) { return "not built yet"; }
DecodeFailure DecodePngOverBackground(const std::uint8_t*, std::size_t, std::uint32_t, Raster&) { return "not built yet"; }
void BlendOverBackground(Raster&, std::uint32_t) {}

}  // namespace tolvane::picture
