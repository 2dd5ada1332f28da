#include <gtest/gtest.h>

#include <vector>

#include "picture/decoded_picture.h"

namespace tolvane::picture {
namespace {

struct DetectCase {
  const char* name;
  std::vector<std::uint8_t> bytes;
  PictureFormat expected;
};

TEST(DetectFormat, FirstMatchingRowOfTheTableDecides) {
  const DetectCase cases[] = {
      {"bmp", {'B', 'M', 0, 0, 0, 0, 0, 0}, PictureFormat::Bmp},
      {"jpeg", {0xFF, 0xD8, 0xFF, 0xE0, 0, 0, 0, 0}, PictureFormat::Jpeg},
      {"png", {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, PictureFormat::Png},
      {"png needs only four bytes to match", {0x89, 'P', 'N', 'G', 0, 0, 0, 0}, PictureFormat::Png},
      {"ico", {0, 0, 1, 0, 1, 0, 0, 0}, PictureFormat::Ico},
      {"ico with many images", {0, 0, 1, 0, 0x34, 0x12, 0, 0}, PictureFormat::Ico},
      {"ico without images", {0, 0, 1, 0, 0, 0, 0, 0}, PictureFormat::Unrecognised},
      {"cur", {0, 0, 2, 0, 3, 0, 0, 0}, PictureFormat::Cur},
      {"type 3 is neither", {0, 0, 3, 0, 1, 0, 0, 0}, PictureFormat::Unrecognised},
      {"gif89a", {'G', 'I', 'F', '8', '9', 'a', 0, 0}, PictureFormat::Gif},
      {"gif87a", {'G', 'I', 'F', '8', '7', 'a', 0, 0}, PictureFormat::Gif},
      {"gif88a", {'G', 'I', 'F', '8', '8', 'a', 0, 0}, PictureFormat::Unrecognised},
      {"gif89b", {'G', 'I', 'F', '8', '9', 'b', 0, 0}, PictureFormat::Unrecognised},
      {"pcx 8 bits version 5", {0x0A, 5, 1, 8, 0, 0, 0, 0}, PictureFormat::Pcx8},
      {"pcx 8 bits version 0", {0x0A, 0, 1, 8, 0, 0, 0, 0}, PictureFormat::Pcx8},
      {"pcx 8 bits version 6", {0x0A, 6, 1, 8, 0, 0, 0, 0}, PictureFormat::Unrecognised},
      {"pcx 8 bits not run-length", {0x0A, 5, 0, 8, 0, 0, 0, 0}, PictureFormat::Unrecognised},
      {"pcx 1 bit version 3", {0x0A, 3, 1, 1, 0, 0, 0, 0}, PictureFormat::Pcx1},
      {"pcx 1 bit version 5", {0x0A, 5, 1, 1, 0, 0, 0, 0}, PictureFormat::Unrecognised},
      {"pcx 4 bits", {0x0A, 3, 1, 4, 0, 0, 0, 0}, PictureFormat::Unrecognised},
      {"html page", {'<', 'h', 't', 'm', 'l', '>', '<', 'h'}, PictureFormat::Unrecognised},
      {"seven bytes of jpeg", {0xFF, 0xD8, 0xFF, 0xE0, 0, 0x10, 'J'}, PictureFormat::Unrecognised},
      {"empty", {}, PictureFormat::Unrecognised},
  };
  for (const DetectCase& c : cases) {
    EXPECT_EQ(DetectFormat(c.bytes.data(), c.bytes.size()), c.expected) << c.name;
  }
  EXPECT_EQ(DetectFormat(nullptr, 100), PictureFormat::Unrecognised);
}

}  // namespace
}  // namespace tolvane::picture
