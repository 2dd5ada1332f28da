#include "picture/picture_box.h"

#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "picture/decoded_picture.h"
#include "picture/gif.h"
#include "picture/gif_player.h"
#include "base/gdi_holders.h"

namespace tolvane::picture {

const char kPictureBoxClassName[] = "TolvanePictureBox";

namespace {

class IconHandle {
 public:
  IconHandle() = default;
  ~IconHandle() { Reset(); }
  IconHandle(const IconHandle&) = delete;
  IconHandle& operator=(const IconHandle&) = delete;
  void Reset(HICON icon = nullptr) {
    if (icon_) DestroyIcon(icon_);
    icon_ = icon;
  }
  HICON get() const { return icon_; }

 private:
  HICON icon_ = nullptr;
};

// ---- The box's state, one per window, held in its window extra bytes.

struct BoxState {
  COLORREF background = 0;  // read when the box is created
  Bytes stored;
  DecodedPicture decoded;
  IconHandle icon;
  int iconWidth = 0;
  int iconHeight = 0;
  std::unique_ptr<GifPlayer> player;
};

constexpr int kStateSlot = 0;

BoxState* StateOf(HWND box) {
  if (!box || !IsWindow(box)) return nullptr;
  char name[sizeof(kPictureBoxClassName) + 1] = {};
  if (GetClassNameA(box, name, sizeof name) <= 0 || std::strcmp(name, kPictureBoxClassName) != 0)
    return nullptr;
  return reinterpret_cast<BoxState*>(GetWindowLongPtrA(box, kStateSlot));
}

std::uint32_t ToRgb(COLORREF colour) {
  return (static_cast<std::uint32_t>(GetRValue(colour)) << 16) |
         (static_cast<std::uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
}

// The largest icon the box makes: the directory cannot describe more than 256 pixels a side,
// and an embedded PNG's own header must not make the system decode a huge image.
constexpr int kLargestIcon = 1024;

// Makes the system icon for the chosen ICO/CUR image, at the size its own header gives (a
// bitmap header counts the AND mask's rows in its height; the decoder has halved it).
void MakeIcon(BoxState& state, const IconImage& image) {
  const Bytes& data = state.stored;
  if (image.offset > data.size() || image.size > data.size() - image.offset || image.size == 0)
    return;
  if (image.width <= 0 || image.height <= 0 || image.width > kLargestIcon ||
      image.height > kLargestIcon)
    return;
  // The icon calls take a writable pointer; they only read image.size bytes.
  auto* resource = const_cast<PBYTE>(data.data() + image.offset);
  const DWORD size = static_cast<DWORD>(image.size);
  HICON icon = CreateIconFromResourceEx(resource, size, TRUE, 0x30000, image.width, image.height,
                                        LR_DEFAULTCOLOR);
  if (!icon && image.bitCount != 16) icon = CreateIconFromResource(resource, size, TRUE, 0x30000);
  if (!icon) return;
  state.icon.Reset(icon);
  state.iconWidth = image.width;
  state.iconHeight = image.height;
}

// ---- Painting.

// A raster's row length as a device-independent bitmap needs it (a multiple of 4 bytes).
std::size_t DibStride(int width, int bitCount) {
  return ((static_cast<std::size_t>(width) * bitCount + 31) / 32) * 4;
}

// Draws a raster at natural size at the origin, its visible rows only, through a device
// bitmap made for this paint and released after it.
void DrawRaster(HDC dc, const Raster& raster, int clientWidth, int clientHeight) {
  if (raster.width <= 0 || raster.height <= 0) return;
  int bitCount = 24;
  switch (raster.layout) {
    case Raster::Layout::Bgr24: bitCount = 24; break;
    case Raster::Layout::Bgra32: bitCount = 32; break;
    case Raster::Layout::Indexed8: bitCount = 8; break;
    case Raster::Layout::Mono1: bitCount = 1; break;
  }
  const int width = raster.width < clientWidth ? raster.width : clientWidth;
  const int rows = raster.height < clientHeight ? raster.height : clientHeight;
  if (width <= 0 || rows <= 0) return;
  const std::size_t rowBytes = (static_cast<std::size_t>(width) * bitCount + 7) / 8;
  if (raster.stride < rowBytes ||
      raster.pixels.size() / raster.stride < static_cast<std::size_t>(rows))
    return;

  // Only the part that can show is handed over: the top rows and the left columns.
  const std::size_t stride = DibStride(width, bitCount);
  std::vector<std::uint8_t> visible(stride * static_cast<std::size_t>(rows));
  for (int y = 0; y < rows; ++y)
    std::memcpy(visible.data() + y * stride, raster.pixels.data() + y * raster.stride, rowBytes);

  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
  } info{};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = width;
  info.header.biHeight = -rows;  // rows top-down
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(bitCount);
  info.header.biCompression = BI_RGB;
  auto setColour = [&](int index, std::uint32_t rgb) {
    info.colours[index].rgbRed = static_cast<BYTE>(rgb >> 16);
    info.colours[index].rgbGreen = static_cast<BYTE>(rgb >> 8);
    info.colours[index].rgbBlue = static_cast<BYTE>(rgb);
  };
  if (bitCount == 8) {
    info.header.biClrUsed = 256;
    for (int i = 0; i < 256; ++i) setColour(i, raster.palette[i]);
  } else if (bitCount == 1) {
    // Monochrome rasters: clear bits black, set bits white.
    info.header.biClrUsed = 2;
    setColour(0, 0x000000);
    setColour(1, 0xFFFFFF);
  }

  GdiObject<HBITMAP> bitmap(CreateDIBitmap(dc, &info.header, CBM_INIT, visible.data(),
                                  reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS));
  if (!bitmap.get()) return;
  MemoryDc source(dc);
  if (!source.get()) return;
  SelectedObject selected(source.get(), bitmap.get());
  if (!selected.ok()) return;
  StretchBlt(dc, 0, 0, width, rows, source.get(), 0, 0, width, rows, SRCCOPY);
}

void Paint(HWND box, BoxState& state, HDC dc) {
  RECT client{};
  GetClientRect(box, &client);
  {
    GdiObject<HBRUSH> brush(CreateSolidBrush(state.background));
    if (brush.get()) {
      SelectedObject selected(dc, brush.get());
      PatBlt(dc, 0, 0, client.right, client.bottom, PATCOPY);
    }
  }
  if (state.player) {
    state.player->DrawCurrentFrame(dc);
    return;
  }
  if (state.icon.get()) {
    DrawIconEx(dc, 0, 0, state.icon.get(), state.iconWidth, state.iconHeight, 0, nullptr,
               DI_NORMAL);
    return;
  }
  if (state.decoded.raster) DrawRaster(dc, *state.decoded.raster, client.right, client.bottom);
}

// Stops the animation first, then releases the decoded picture and its system resources.
void ReleasePicture(BoxState& state) {
  if (state.player) state.player->Stop();
  state.player.reset();
  state.icon.Reset();
  state.iconWidth = state.iconHeight = 0;
  state.decoded = DecodedPicture{};
}

LRESULT CALLBACK PictureBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE: {
      auto* state = new (std::nothrow) BoxState;
      if (!state) return FALSE;
      state->background = GetSysColor(COLOR_BTNFACE);
      SetWindowLongPtrA(box, kStateSlot, reinterpret_cast<LONG_PTR>(state));
      break;
    }
    case WM_ERASEBKGND:
      return 1;  // painting fills the whole client area itself
    case WM_PAINT: {
      BoxState* state = StateOf(box);
      PAINTSTRUCT paint{};
      HDC dc = BeginPaint(box, &paint);
      if (dc && state) {
        Paint(box, *state, dc);
        // The animation starts with the first paint after its picture was set.
        if (state->player && !state->player->started()) state->player->Start();
      }
      EndPaint(box, &paint);
      return 0;
    }
    case WM_PRINTCLIENT: {
      BoxState* state = StateOf(box);
      if (state && wParam) Paint(box, *state, reinterpret_cast<HDC>(wParam));
      return 0;
    }
    case WM_DESTROY: {
      if (BoxState* state = StateOf(box)) ReleasePicture(*state);
      break;
    }
    case WM_NCDESTROY: {
      auto* state = reinterpret_cast<BoxState*>(GetWindowLongPtrA(box, kStateSlot));
      SetWindowLongPtrA(box, kStateSlot, 0);
      if (state) ReleasePicture(*state);
      delete state;
      break;
    }
    default:
      break;
  }
  return DefWindowProcA(box, message, wParam, lParam);
}

}  // namespace

bool RegisterPictureBoxClass(HINSTANCE instance) {
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExA(instance, kPictureBoxClassName, &existing)) return true;
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &PictureBoxProc;
  windowClass.cbWndExtra = sizeof(LONG_PTR);
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.hbrBackground = nullptr;  // painting fills the background itself
  windowClass.lpszClassName = kPictureBoxClassName;
  if (RegisterClassExA(&windowClass)) return true;
  return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void SetPicture(HWND box, const Bytes& picture) {
  BoxState* state = StateOf(box);
  if (!state) return;
  ReleasePicture(*state);
  state->stored = picture.Clone();
  if (!state->stored.empty()) {
    state->decoded =
        DecodePicture(state->stored.data(), state->stored.size(), ToRgb(state->background));
    if (state->decoded.icon) MakeIcon(*state, *state->decoded.icon);
    if (state->decoded.animation && state->decoded.animation->animated()) {
      try {
        state->player = std::make_unique<GifPlayer>(
            box, std::shared_ptr<const GifAnimation>(state->decoded.animation),
            ToRgb(state->background));
      } catch (const std::bad_alloc&) {
        // A logical screen too large for memory: shown like a picture that failed to decode.
        state->decoded = DecodedPicture{};
      }
    }
  }
  InvalidateRect(box, nullptr, FALSE);
}

Bytes GetPicture(HWND box) {
  BoxState* state = StateOf(box);
  if (!state) return Bytes();
  return state->stored.Clone();
}

}  // namespace tolvane::picture
