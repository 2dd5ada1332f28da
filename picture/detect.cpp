#include "picture/decoded_picture.h"

namespace tolvane::picture {

PictureFormat DetectFormat(const std::uint8_t* data, std::size_t size) {
  if (data == nullptr || size < 8) return PictureFormat::Unrecognised;
  const std::uint8_t* b = data;
  auto word = [b](int index) { return b[index * 2] | (b[index * 2 + 1] << 8); };
  if (b[0] == 0x42 && b[1] == 0x4D) return PictureFormat::Bmp;
  if (b[0] == 0xFF && b[1] == 0xD8) return PictureFormat::Jpeg;
  if (b[0] == 0x89 && b[1] == 0x50 && b[2] == 0x4E && b[3] == 0x47) return PictureFormat::Png;
  if (word(0) == 0 && word(1) == 1 && word(2) > 0) return PictureFormat::Ico;
  if (word(0) == 0 && word(1) == 2 && word(2) > 0) return PictureFormat::Cur;
  if (b[0] == 'G' && b[1] == 'I' && b[2] == 'F' && b[3] == '8' && (b[4] == '7' || b[4] == '9') &&
      b[5] == 'a')
    return PictureFormat::Gif;
  if (b[0] == 0x0A && b[1] <= 5 && b[2] == 1 && b[3] == 8) return PictureFormat::Pcx8;
  if (b[0] == 0x0A && b[1] == 3 && b[2] == 1 && b[3] == 1) return PictureFormat::Pcx1;
  return PictureFormat::Unrecognised;
}

}  // namespace tolvane::picture
