// The picture box in a real window: pictures are set, painted, and the box's client pixels are
// read back with BitBlt (Wine's PrintWindow does not draw child windows).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "base/text.h"
#include "picture/decoded_picture.h"
#include "picture/gif_player.h"
#include "picture/picture_box.h"
#include "tests/picture/fixtures.h"

namespace tolvane::picture {
namespace {

using fixtures::ByteVector;

constexpr int kClient = 110;  // 112 x 112 with a one-pixel border

Bytes ToBytes(const ByteVector& data) {
  return Bytes::Copy(data.data(), data.size());
}

std::uint32_t Rgb(COLORREF colour) {
  return static_cast<std::uint32_t>(GetRValue(colour)) << 16 | GetGValue(colour) << 8 |
         GetBValue(colour);
}

std::uint32_t Background() {
  return Rgb(GetSysColor(COLOR_BTNFACE));
}

// The box's client area as 0x00RRGGBB, rows top-down, read through a DIB section.
class Capture {
 public:
  explicit Capture(HWND box) {
    RECT client{};
    GetClientRect(box, &client);
    width_ = client.right;
    height_ = client.bottom;
    pixels_.assign(static_cast<std::size_t>(width_) * height_, 0);
    HDC dc = GetDC(box);
    HDC memory = CreateCompatibleDC(dc);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, section);
    BitBlt(memory, 0, 0, width_, height_, dc, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* source = static_cast<const std::uint32_t*>(bits);
    for (std::size_t i = 0; i < pixels_.size(); ++i) pixels_[i] = source[i] & 0xFFFFFF;
    SelectObject(memory, previous);
    DeleteObject(section);
    DeleteDC(memory);
    ReleaseDC(box, dc);
  }
  int width() const { return width_; }
  int height() const { return height_; }
  std::uint32_t at(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;
};

int ChannelDistance(std::uint32_t a, std::uint32_t b) {
  int worst = 0;
  for (int shift : {0, 8, 16})
    worst = std::max(worst, std::abs(static_cast<int>((a >> shift) & 255) -
                                     static_cast<int>((b >> shift) & 255)));
  return worst;
}

std::string Hex(std::uint32_t colour) {
  char text[16];
  std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(colour));
  return text;
}

// What a pixel of the client area must show.
using Expectation = std::function<std::uint32_t(int x, int y)>;

// Compares every client pixel; reports the first mismatches with their place and colours.
::testing::AssertionResult ShowsExactly(const Capture& shot, const Expectation& expected,
                                        int tolerance = 0) {
  std::ostringstream report;
  int mismatches = 0;
  for (int y = 0; y < shot.height(); ++y) {
    for (int x = 0; x < shot.width(); ++x) {
      const std::uint32_t want = expected(x, y);
      const std::uint32_t got = shot.at(x, y);
      if (ChannelDistance(want, got) > tolerance) {
        if (++mismatches <= 8)
          report << " (" << x << "," << y << ") expected " << Hex(want) << " got " << Hex(got);
      }
    }
  }
  if (mismatches == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << mismatches << " pixels differ:" << report.str();
}

// A picture of width x height whose pixel is `colour(x, y)`, at the origin, over the background.
Expectation PictureAtOrigin(int width, int height, std::function<std::uint32_t(int, int)> colour) {
  const std::uint32_t background = Background();
  return [=](int x, int y) { return x < width && y < height ? colour(x, y) : background; };
}

Expectation BlankBox() {
  const std::uint32_t background = Background();
  return [=](int, int) { return background; };
}

// The decoder's own output for `data` as the box must show it (used where the encoding is
// lossy: the box's job is to show what the decoder gave, at natural size).
Expectation DecodedAtOrigin(const ByteVector& data) {
  auto decoded = std::make_shared<DecodedPicture>(
      DecodePicture(data.data(), data.size(), Background()));
  EXPECT_TRUE(decoded->raster.has_value());
  if (!decoded->raster) return BlankBox();
  EXPECT_EQ(decoded->raster->layout, Raster::Layout::Bgr24);
  const Raster& raster = *decoded->raster;
  return PictureAtOrigin(raster.width, raster.height, [decoded](int x, int y) {
    const Raster& r = *decoded->raster;
    const std::uint8_t* p = r.pixels.data() + y * r.stride + x * 3;
    return static_cast<std::uint32_t>(p[2]) << 16 | p[1] << 8 | p[0];
  });
}

// A smooth picture, so that a lossy encoding stays near the source colours.
std::vector<std::uint32_t> Gradient(int width, int height) {
  std::vector<std::uint32_t> out;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      out.push_back(
          static_cast<std::uint32_t>((x * 255 / width) << 16 | (y * 255 / height) << 8 | 0x60));
  return out;
}

void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

// Pumps messages for about `milliseconds`.
void Wait(int milliseconds) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < static_cast<DWORD>(milliseconds)) {
    PumpMessages();
    Sleep(5);
  }
}

// One top-level window for the whole program: under Wine's X11 driver, destroying a top-level
// window waits for the window manager's answer, which a bare X server never gives.
HWND Host() {
  static HWND host = [] {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA hostClass{};
    hostClass.lpfnWndProc = DefWindowProcA;
    hostClass.hInstance = instance;
    hostClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    hostClass.lpszClassName = "TolvaneBoxTestHost";
    RegisterClassA(&hostClass);
    HWND window = CreateWindowExA(0, "TolvaneBoxTestHost", "box test",
                                  WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 199, 263,
                                  nullptr, nullptr, instance, nullptr);
    UpdateWindow(window);
    return window;
  }();
  return host;
}

class PictureBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    ASSERT_TRUE(RegisterPictureBoxClass(instance));
    ASSERT_TRUE(RegisterPictureBoxClass(instance)) << "registering twice is allowed";
    parent_ = Host();
    ASSERT_NE(parent_, nullptr);
    box_ = MakeBox(true);
    ASSERT_NE(box_, nullptr);
    UpdateWindow(box_);
    PumpMessages();
  }

  void TearDown() override {
    if (box_ && IsWindow(box_)) DestroyWindow(box_);
    PumpMessages();
    EXPECT_EQ(GifPlayer::LiveWorkers(), 0) << "an animation worker outlived its box";
  }

  HWND MakeBox(bool visible, HWND parent = nullptr) {
    return CreateWindowExA(0, kPictureBoxClassName, "",
                           WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER | (visible ? WS_VISIBLE : 0), 40,
                           112, 112, 112, parent ? parent : parent_, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  }

  // Sets the picture and lets the box paint.
  void Show(const Bytes& picture, HWND box = nullptr) {
    box = box ? box : box_;
    SetPicture(box, picture);
    UpdateWindow(box);
    PumpMessages();
    GdiFlush();
  }
  void Show(const ByteVector& picture) { Show(ToBytes(picture)); }

  // The colour at (x, y) of the client area, read now.
  std::uint32_t PixelNow(int x, int y) { return Capture(box_).at(x, y); }

  HWND parent_ = nullptr;
  HWND box_ = nullptr;
};

// ---- The box itself.

TEST_F(PictureBoxTest, ClientAreaIsInsideAOnePixelBorderAndStartsBlank) {
  RECT client{};
  GetClientRect(box_, &client);
  EXPECT_EQ(client.right, kClient);
  EXPECT_EQ(client.bottom, kClient);
  EXPECT_TRUE(ShowsExactly(Capture(box_), BlankBox()));
  EXPECT_EQ(GetPicture(box_).data(), nullptr);
}

TEST_F(PictureBoxTest, OperationsOnOtherWindowsDoNothing) {
  const ByteVector html = {'<', 'h', 't', 'm', 'l', '>', 'x', 'y', 'z'};
  SetPicture(nullptr, ToBytes(html));
  SetPicture(parent_, ToBytes(html));
  EXPECT_EQ(GetPicture(nullptr).data(), nullptr);
  EXPECT_EQ(GetPicture(parent_).data(), nullptr);
  EXPECT_EQ(GetPicture(box_).data(), nullptr);
}

// ---- What each kind of bytes shows, and that GetPicture returns them unchanged.

struct ShowCase {
  const char* name;
  std::function<ByteVector()> bytes;
  // Null: the decoder's own output at the origin (lossy formats).
  std::function<Expectation()> expected;
};

ByteVector Html() {
  const char page[] =
      "<!DOCTYPE html><html><head><title>404</title></head><body>\xB2\xE9</body></html>";
  return ByteVector(page, page + sizeof page - 1);
}

fixtures::BmpRecipe IndexedBmp(int bitCount, int width, int height) {
  fixtures::BmpRecipe recipe;
  recipe.width = width;
  recipe.height = height;
  recipe.bitCount = bitCount;
  recipe.palette = fixtures::PatternPalette(1 << bitCount);
  recipe.indices = fixtures::PatternIndices(width, height, 1 << bitCount);
  return recipe;
}

Expectation IndexedPicture(const std::vector<std::uint32_t>& palette,
                           const std::vector<std::uint8_t>& indices, int width, int height) {
  return PictureAtOrigin(width, height, [=](int x, int y) {
    return palette[indices[static_cast<std::size_t>(y) * width + x]];
  });
}

Expectation ColourPicture(const std::vector<std::uint32_t>& colours, int width, int height) {
  return PictureAtOrigin(width, height, [=](int x, int y) {
    return colours[static_cast<std::size_t>(y) * width + x] & 0xFFFFFF;
  });
}

ByteVector TrueColourBmp(int bitCount, int width, int height) {
  fixtures::BmpRecipe recipe;
  recipe.width = width;
  recipe.height = height;
  recipe.bitCount = bitCount;
  recipe.colours = fixtures::PatternColours(width, height);
  return fixtures::WriteBmp(recipe);
}

const ShowCase kShowCases[] = {
    {"JpegLargerThanTheBoxIsCutAtTheEdges",
     [] { return fixtures::EncodeJpeg(150, 130, Gradient(150, 130)); }, nullptr},
    {"JpegSmallerThanTheBoxHasBackgroundRightAndBelow",
     [] { return fixtures::EncodeJpeg(50, 40, Gradient(50, 40)); }, nullptr},
    {"GreyscaleJpeg", [] { return fixtures::EncodeJpeg(60, 70, Gradient(60, 70), true); },
     nullptr},
    {"TruncatedJpegShowsItsDecodedPart",
     [] {
       ByteVector jpeg = fixtures::EncodeJpeg(96, 96, Gradient(96, 96));
       jpeg.resize(jpeg.size() * 6 / 10);
       return jpeg;
     },
     nullptr},
    {"Bmp1Bit", [] { return fixtures::WriteBmp(IndexedBmp(1, 37, 21)); },
     [] { auto s = IndexedBmp(1, 37, 21); return IndexedPicture(s.palette, s.indices, 37, 21); }},
    {"Bmp4Bit", [] { return fixtures::WriteBmp(IndexedBmp(4, 33, 20)); },
     [] { auto s = IndexedBmp(4, 33, 20); return IndexedPicture(s.palette, s.indices, 33, 20); }},
    {"Bmp8Bit", [] { return fixtures::WriteBmp(IndexedBmp(8, 31, 19)); },
     [] { auto s = IndexedBmp(8, 31, 19); return IndexedPicture(s.palette, s.indices, 31, 19); }},
    {"Bmp24Bit", [] { return TrueColourBmp(24, 29, 17); },
     [] { return ColourPicture(fixtures::PatternColours(29, 17), 29, 17); }},
    {"Bmp32Bit", [] { return TrueColourBmp(32, 30, 18); },
     [] { return ColourPicture(fixtures::PatternColours(30, 18), 30, 18); }},
    {"Bmp24BitLargerThanTheBox", [] { return TrueColourBmp(24, 130, 120); },
     [] { return ColourPicture(fixtures::PatternColours(130, 120), 130, 120); }},
    {"Bmp16BitIsBlank", [] { return TrueColourBmp(16, 20, 20); }, BlankBox},
    {"RunLengthBmpIsBlank",
     [] {
       fixtures::BmpRecipe recipe = IndexedBmp(8, 16, 16);
       recipe.compression = 1;  // BI_RLE8
       return fixtures::WriteBmp(recipe);
     },
     BlankBox},
    {"HtmlIsBlank", Html, BlankBox},
    {"SevenBytesStartingLikeJpegAreBlank",
     [] { return ByteVector{0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 0x4A}; }, BlankBox},
    {"Pcx8BitWithColourTable",
     [] {
       fixtures::PcxRecipe recipe;
       recipe.xMax = 40;
       recipe.yMax = 24;
       recipe.indices = fixtures::PatternIndices(41, 25, 256);
       recipe.palette = fixtures::PatternPalette(256);
       return fixtures::WritePcx(recipe);
     },
     [] {
       return IndexedPicture(fixtures::PatternPalette(256), fixtures::PatternIndices(41, 25, 256),
                             41, 25);
     }},
    {"Pcx1BitIsBlackAndWhite",
     [] {
       fixtures::PcxRecipe recipe;
       recipe.version = 3;
       recipe.bitsPerPixel = 1;
       recipe.xMax = 50;
       recipe.yMax = 30;
       recipe.indices = fixtures::PatternIndices(51, 31, 2);
       return fixtures::WritePcx(recipe);
     },
     [] {
       return IndexedPicture({0x000000, 0xFFFFFF}, fixtures::PatternIndices(51, 31, 2), 51, 31);
     }},
    {"PcxOf128BytesIsBlank",
     [] {
       fixtures::PcxRecipe recipe;
       recipe.xMax = 3;
       recipe.yMax = 3;
       recipe.indices = fixtures::PatternIndices(4, 4, 256);
       ByteVector pcx = fixtures::WritePcx(recipe);
       pcx.resize(128);
       return pcx;
     },
     BlankBox},
    {"StillGifIsOpaqueIncludingItsTransparentIndex",
     [] {
       fixtures::GifRecipe recipe;
       recipe.width = 24;
       recipe.height = 16;
       recipe.globalPalette = fixtures::PatternPalette(16);
       fixtures::GifFrameRecipe frame;
       frame.width = 24;
       frame.height = 16;
       frame.indices = fixtures::PatternIndices(24, 16, 16);
       frame.control = true;
       frame.transparent = true;
       frame.transparentIndex = 0;
       recipe.frames.push_back(frame);
       return fixtures::WriteGif(recipe);
     },
     [] {
       return IndexedPicture(fixtures::PatternPalette(16), fixtures::PatternIndices(24, 16, 16),
                             24, 16);
     }},
};

void PrintTo(const ShowCase& c, std::ostream* out) {
  *out << c.name;
}

class ShowTest : public PictureBoxTest, public ::testing::WithParamInterface<ShowCase> {};

TEST_P(ShowTest, ShowsThePictureAndKeepsItsBytes) {
  const ShowCase& c = GetParam();
  const ByteVector data = c.bytes();
  Show(data);
  Expectation expected = c.expected ? c.expected() : DecodedAtOrigin(data);
  EXPECT_TRUE(ShowsExactly(Capture(box_), expected));

  Bytes stored = GetPicture(box_);
  ASSERT_EQ(stored.size(), data.size());
  EXPECT_EQ(std::memcmp(stored.data(), data.data(), data.size()), 0);
  Bytes again = GetPicture(box_);
  EXPECT_NE(again.data(), stored.data()) << "each GetPicture returns a fresh copy";

  // Empty bytes afterwards: blank box, nothing stored.
  Show(Bytes());
  EXPECT_TRUE(ShowsExactly(Capture(box_), BlankBox()));
  EXPECT_EQ(GetPicture(box_).data(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Pictures, ShowTest, ::testing::ValuesIn(kShowCases),
                         [](const ::testing::TestParamInfo<ShowCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(PictureBoxTest, LossyPicturesStayNearTheirSource) {
  // The decoder's output is what the box must show exactly (above); this checks that the
  // colours on screen are the picture's, not a channel swap or a shifted row.
  const std::vector<std::uint32_t> source = Gradient(80, 60);
  Show(fixtures::EncodeJpeg(80, 60, source, false, 95));
  EXPECT_TRUE(ShowsExactly(Capture(box_), ColourPicture(source, 80, 60), 24));

  Show(fixtures::EncodeJpeg(80, 60, source, true, 95));
  const Capture grey(box_);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 80; ++x) {
      const std::uint32_t c = grey.at(x, y);
      ASSERT_TRUE((c & 255) == ((c >> 8) & 255) && (c & 255) == (c >> 16))
          << "not grey at (" << x << "," << y << "): " << Hex(c);
    }
}

TEST_F(PictureBoxTest, TruncatedJpegKeepsTheRowsBeforeTheCut) {
  const std::vector<std::uint32_t> source = Gradient(96, 96);
  ByteVector jpeg = fixtures::EncodeJpeg(96, 96, source, false, 95);
  jpeg.resize(jpeg.size() / 2);
  Show(jpeg);
  const Capture shot(box_);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 96; ++x)
      ASSERT_LE(ChannelDistance(shot.at(x, y), source[y * 96 + x]), 24)
          << "(" << x << "," << y << ") " << Hex(shot.at(x, y));
}

TEST_F(PictureBoxTest, PngTransparencyIsBlendedWithTheBackground) {
  const std::uint32_t background = Background();
  // Opaque, fully transparent, and partly transparent pixels of several colours.
  const std::vector<std::uint32_t> argb = {
      0xFFFF0000, 0x00123456, 0x80FF0000, 0x800000FF, 0x01FFFFFF, 0xFE102030,
      0x7F00FF00, 0x40808080, 0xC0000000, 0xFF0000FF, 0x00000000, 0x3320C0E0};
  Show(fixtures::EncodePng(6, 2, argb));
  auto blend = [background](std::uint32_t pixel) {
    const unsigned alpha = pixel >> 24;
    std::uint32_t out = 0;
    for (int shift : {0, 8, 16}) {
      const unsigned channel = (pixel >> shift) & 255;
      const unsigned back = (background >> shift) & 255;
      out |= ((channel * alpha + back * (255 - alpha)) / 255) << shift;
    }
    return out;
  };
  EXPECT_TRUE(ShowsExactly(Capture(box_), PictureAtOrigin(6, 2, [&](int x, int y) {
    return blend(argb[y * 6 + x]);
  })));
}

// ---- Icons and cursors: drawn at natural size, transparent parts show the background.

TEST_F(PictureBoxTest, IconsShowTheBackgroundThroughTheirTransparentParts) {
  const std::uint32_t background = Background();
  // A 32-bit icon with alpha: a ring of transparent pixels around an opaque square.
  fixtures::IconImageRecipe alphaImage;
  alphaImage.width = alphaImage.height = 32;
  alphaImage.bitCount = 32;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const bool inside = x >= 8 && x < 24 && y >= 8 && y < 24;
      alphaImage.pixels.push_back(inside ? 0xFF2080C0u : 0x00FFFFFFu);
      alphaImage.mask.push_back(inside ? 0 : 1);
    }
  // An 8-bit icon with no alpha: the AND mask makes its left half transparent.
  fixtures::IconImageRecipe maskedImage;
  maskedImage.width = maskedImage.height = 32;
  maskedImage.bitCount = 8;
  maskedImage.palette = fixtures::PatternPalette(256);
  maskedImage.palette[0] = 0x000000;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      maskedImage.pixels.push_back(x < 16 ? 0 : 77);
      maskedImage.mask.push_back(x < 16 ? 1 : 0);
    }
  const std::uint32_t masked77 = maskedImage.palette[77];

  struct IconCase {
    const char* name;
    ByteVector bytes;
    Expectation expected;
  };
  auto entry = [](const fixtures::IconImageRecipe& image, int colourCount) {
    fixtures::IconEntryRecipe e;
    e.width = image.width;
    e.height = image.height;
    e.colourCount = colourCount;
    e.bitCountOrHotspotY = image.bitCount;
    e.image = fixtures::MakeIconImage(image);
    return e;
  };
  const Expectation alphaShown = PictureAtOrigin(32, 32, [&](int x, int y) {
    return x >= 8 && x < 24 && y >= 8 && y < 24 ? 0x2080C0u : background;
  });
  const Expectation maskShown =
      PictureAtOrigin(32, 32, [&](int x, int) { return x < 16 ? background : masked77; });

  // A 16 x 16 entry of another colour before the 32-pixel one: both have colour count 0, so
  // the last entry is the one shown.
  fixtures::IconImageRecipe small;
  small.width = small.height = 16;
  small.bitCount = 32;
  small.pixels.assign(16 * 16, 0xFFFF00FFu);
  // Icons may hold a PNG stream instead of a bitmap: its own header gives the size.
  fixtures::IconEntryRecipe pngEntry;
  pngEntry.colourCount = 0;
  pngEntry.image = fixtures::EncodePng(32, 32, alphaImage.pixels);
  // Its header, not the directory, gives the size: one far beyond any icon is refused.
  fixtures::IconEntryRecipe hugePngEntry;
  hugePngEntry.image =
      fixtures::EncodePng(1200, 1200, std::vector<std::uint32_t>(1200 * 1200, 0xFF2080C0u));
  const std::vector<IconCase> cases = {
      {"32-bit icon with alpha", fixtures::WriteIcon({entry(alphaImage, 0)}), alphaShown},
      {"8-bit icon with an AND mask", fixtures::WriteIcon({entry(maskedImage, 0)}), maskShown},
      {"cursor", fixtures::WriteIcon({entry(alphaImage, 0)}, 2), alphaShown},
      {"PNG image inside an icon", fixtures::WriteIcon({pngEntry}), alphaShown},
      {"PNG image too large for an icon", fixtures::WriteIcon({hugePngEntry}), BlankBox()},
      {"last of two entries", fixtures::WriteIcon({entry(small, 0), entry(alphaImage, 0)}),
       alphaShown},
  };
  for (const IconCase& c : cases) {
    SCOPED_TRACE(c.name);
    Show(c.bytes);
    EXPECT_TRUE(ShowsExactly(Capture(box_), c.expected));
    Bytes stored = GetPicture(box_);
    ASSERT_EQ(stored.size(), c.bytes.size());
    EXPECT_EQ(std::memcmp(stored.data(), c.bytes.data(), c.bytes.size()), 0);
  }
}

// ---- Repainting.

TEST_F(PictureBoxTest, RepaintsFromTheDecodedPictureWhenUncovered) {
  const ByteVector bmp = TrueColourBmp(24, 60, 50);
  Show(bmp);
  const Expectation expected = ColourPicture(fixtures::PatternColours(60, 50), 60, 50);
  ASSERT_TRUE(ShowsExactly(Capture(box_), expected));
  // Scribble over the box, then ask for a repaint of the whole client area.
  HDC dc = GetDC(box_);
  PatBlt(dc, 0, 0, kClient, kClient, BLACKNESS);
  ReleaseDC(box_, dc);
  InvalidateRect(box_, nullptr, TRUE);
  UpdateWindow(box_);
  PumpMessages();
  EXPECT_TRUE(ShowsExactly(Capture(box_), expected));
}

TEST_F(PictureBoxTest, PrintsItsClientAreaIntoAGivenDeviceContext) {
  Show(TrueColourBmp(24, 70, 30));
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = kClient;
  info.bmiHeader.biHeight = -kClient;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(section, nullptr);
  HGDIOBJ previous = SelectObject(memory, section);
  SendMessageA(box_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
  GdiFlush();
  const Expectation expected = ColourPicture(fixtures::PatternColours(70, 30), 70, 30);
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  int mismatches = 0;
  for (int y = 0; y < kClient; ++y)
    for (int x = 0; x < kClient; ++x)
      if ((pixels[y * kClient + x] & 0xFFFFFF) != expected(x, y)) ++mismatches;
  EXPECT_EQ(mismatches, 0);
  SelectObject(memory, previous);
  DeleteObject(section);
  DeleteDC(memory);
}

TEST_F(PictureBoxTest, NewPictureReplacesTheOldOneWhole) {
  Show(TrueColourBmp(24, 100, 100));
  Show(TrueColourBmp(24, 20, 10));
  EXPECT_TRUE(ShowsExactly(Capture(box_),
                           ColourPicture(fixtures::PatternColours(20, 10), 20, 10)));
  Show(ToBytes(Html()));
  EXPECT_TRUE(ShowsExactly(Capture(box_), BlankBox()));
}

// ---- GIF animation.

// Two frames of solid colours, 30 x 20 at the origin, each held `delay` hundredths of a second,
// on a logical screen of the same size unless given.
ByteVector TwoFrameGif(std::uint32_t first, std::uint32_t second, int delay, int screenWidth = 30,
                       int screenHeight = 20) {
  fixtures::GifRecipe recipe;
  recipe.width = screenWidth;
  recipe.height = screenHeight;
  recipe.globalPalette = {first, second, 0x000000, 0xFFFFFF};
  recipe.loopExtension = true;  // loop once: the box animates without end all the same
  for (int index : {0, 1}) {
    fixtures::GifFrameRecipe frame;
    frame.width = 30;
    frame.height = 20;
    frame.indices.assign(30 * 20, static_cast<std::uint8_t>(index));
    frame.control = true;
    frame.delay = delay;
    recipe.frames.push_back(frame);
  }
  return fixtures::WriteGif(recipe);
}

constexpr std::uint32_t kRed = 0xE01010;
constexpr std::uint32_t kBlue = 0x1010E0;

// Samples (x, y) every few milliseconds for `milliseconds` and counts colour changes.
struct Samples {
  std::set<std::uint32_t> colours;
  int changes = 0;
};
Samples Watch(HWND box, int x, int y, int milliseconds) {
  Samples samples;
  std::uint32_t last = Capture(box).at(x, y);
  samples.colours.insert(last);
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < static_cast<DWORD>(milliseconds)) {
    PumpMessages();
    Sleep(10);
    const std::uint32_t now = Capture(box).at(x, y);
    samples.colours.insert(now);
    if (now != last) ++samples.changes;
    last = now;
  }
  return samples;
}

TEST_F(PictureBoxTest, AnimatedGifChangesOnScreenAndStopsForTheNextPicture) {
  Show(TwoFrameGif(kRed, kBlue, 5));
  EXPECT_EQ(GifPlayer::LiveWorkers(), 1);
  // The first frame is on screen from the first paint; outside the logical screen, background.
  const Samples seen = Watch(box_, 5, 5, 800);
  EXPECT_EQ(seen.colours, (std::set<std::uint32_t>{kRed, kBlue}));
  EXPECT_GE(seen.changes, 3) << "the frames follow each other without end";
  EXPECT_EQ(PixelNow(40, 30), Background());

  // A new picture stops the worker before SetPicture returns, and nothing draws over it.
  const ByteVector bmp = TrueColourBmp(24, 50, 40);
  Show(bmp);
  EXPECT_EQ(GifPlayer::LiveWorkers(), 0);
  const Expectation still = ColourPicture(fixtures::PatternColours(50, 40), 50, 40);
  EXPECT_TRUE(ShowsExactly(Capture(box_), still));
  Wait(200);
  EXPECT_TRUE(ShowsExactly(Capture(box_), still));
}

TEST_F(PictureBoxTest, HugeLogicalScreenAnimatesItsVisiblePart) {
  // 4000 x 3000: only the top-left 110 x 110 can show, over the box's background colour.
  Show(TwoFrameGif(kRed, kBlue, 2, 4000, 3000));
  EXPECT_EQ(GifPlayer::LiveWorkers(), 1);
  const Samples seen = Watch(box_, 5, 5, 400);
  EXPECT_EQ(seen.colours, (std::set<std::uint32_t>{kRed, kBlue}));
  EXPECT_EQ(PixelNow(100, 100), Background());
  Show(Bytes());
  EXPECT_EQ(GifPlayer::LiveWorkers(), 0);
}

TEST_F(PictureBoxTest, AnimationStartsAtTheFirstPaintAndEndsWithTheBox) {
  HWND hidden = MakeBox(false);
  ASSERT_NE(hidden, nullptr);
  SetPicture(hidden, ToBytes(TwoFrameGif(kRed, kBlue, 2)));
  Wait(50);
  EXPECT_EQ(GifPlayer::LiveWorkers(), 0) << "no worker before the box paints";
  ShowWindow(hidden, SW_SHOWNA);
  UpdateWindow(hidden);
  PumpMessages();
  EXPECT_EQ(GifPlayer::LiveWorkers(), 1);

  Show(ToBytes(TwoFrameGif(kBlue, kRed, 2)));  // the fixture's box animates too
  EXPECT_EQ(GifPlayer::LiveWorkers(), 2);
  Wait(60);
  DestroyWindow(hidden);
  EXPECT_EQ(GifPlayer::LiveWorkers(), 1) << "destroying a box ends its worker at once";
  SetPicture(box_, Bytes());
  EXPECT_EQ(GifPlayer::LiveWorkers(), 0);
}

TEST_F(PictureBoxTest, DestroyingTheParentEndsTheAnimation) {
  HWND panel = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 199, 263, parent_,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(panel, nullptr);
  HWND inner = MakeBox(true, panel);
  ASSERT_NE(inner, nullptr);
  Show(ToBytes(TwoFrameGif(kRed, kBlue, 0)), inner);  // delay 0: the shortest hold
  EXPECT_EQ(GifPlayer::LiveWorkers(), 1);
  Wait(120);
  DestroyWindow(panel);
  EXPECT_FALSE(IsWindow(inner));
  EXPECT_EQ(GifPlayer::LiveWorkers(), 0);
}

TEST_F(PictureBoxTest, TransparentGifFramesShowTheBoxBackground) {
  // Frame 1 is transparent everywhere but its top row; the GIF's own background colour
  // (index 2, black) must not show.
  fixtures::GifRecipe recipe;
  recipe.width = 16;
  recipe.height = 16;
  recipe.globalPalette = {kRed, kBlue, 0x000000, 0xFFFFFF};
  recipe.backgroundIndex = 2;
  for (int index : {0, 1}) {
    fixtures::GifFrameRecipe frame;
    frame.width = frame.height = 16;
    frame.indices.assign(16 * 16, 3);
    std::fill(frame.indices.begin(), frame.indices.begin() + 16, static_cast<std::uint8_t>(index));
    frame.control = true;
    frame.transparent = true;
    frame.transparentIndex = 3;
    frame.delay = 300;  // three seconds: the first frame stays while it is checked
    recipe.frames.push_back(frame);
  }
  Show(fixtures::WriteGif(recipe));
  const std::uint32_t background = Background();
  EXPECT_TRUE(ShowsExactly(Capture(box_), [&](int x, int y) {
    return x < 16 && y == 0 ? kRed : background;
  }));
}

// A picture set while a worker draws, again and again: no deadlock, no stray frame.
TEST_F(PictureBoxTest, ReplacingAnimationsRepeatedlyNeverHangs) {
  for (int round = 0; round < 20; ++round) {
    Show(TwoFrameGif(round % 2 ? kRed : kBlue, 0x10E010, 0));
    Sleep(round % 4 * 7);
  }
  EXPECT_EQ(GifPlayer::LiveWorkers(), 1);
  Show(ToBytes(Html()));
  EXPECT_EQ(GifPlayer::LiveWorkers(), 0);
  Wait(100);
  EXPECT_TRUE(ShowsExactly(Capture(box_), BlankBox()));
}

}  // namespace
}  // namespace tolvane::picture
