#include "picture/decoders.h"

namespace tolvane::picture {

DecodeFailure ChooseIconImage(const std::uint8_t*, std::size_t, IconImage&) { return "not built yet"; }

}  // namespace tolvane::picture
