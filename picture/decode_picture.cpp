#include <exception>

#include "picture/decoded_picture.h"
#include "picture/decoders.h"
#include "picture/gif.h"

namespace tolvane::picture {

namespace {

DecodedPicture DecodeAs(PictureFormat format, const std::uint8_t* data, std::size_t size,
                        std::uint32_t background) {
  DecodedPicture result;
  result.format = format;
  Raster raster;
  DecodeFailure failure = "unrecognised";
  switch (format) {
    case PictureFormat::Unrecognised:
      return result;
    case PictureFormat::Bmp:
      failure = DecodeBmp(data, size, raster);
      break;
    case PictureFormat::Jpeg:
      failure = DecodeJpeg(data, size, raster);
      break;
    case PictureFormat::Png:
      failure = DecodePngOverBackground(data, size, background, raster);
      break;
    case PictureFormat::Pcx8:
    case PictureFormat::Pcx1:
      failure = DecodePcx(data, size, raster);
      break;
    case PictureFormat::Ico:
    case PictureFormat::Cur: {
      IconImage icon;
      if (ChooseIconImage(data, size, icon) == nullptr) result.icon = icon;
      return result;
    }
    case PictureFormat::Gif: {
      std::shared_ptr<GifAnimation> gif = GifAnimation::Parse(data, size);
      if (!gif) return result;
      if (gif->animated()) {
        result.animation = std::move(gif);
      } else {
        result.raster = gif->still();
      }
      return result;
    }
  }
  if (failure == nullptr) result.raster = std::move(raster);
  return result;
}

}  // namespace

DecodedPicture DecodePicture(const std::uint8_t* data, std::size_t size, std::uint32_t background) {
  PictureFormat format = DetectFormat(data, size);
  try {
    return DecodeAs(format, data, size, background);
  } catch (const std::exception&) {
    // A picture within the size cap that still does not fit in memory (std::bad_alloc) shows
    // as no picture.
    DecodedPicture result;
    result.format = format;
    return result;
  }
}

}  // namespace tolvane::picture
