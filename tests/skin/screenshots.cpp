// Takes the README's pictures of the skin: drives a running Tolvane (started beside it under
// the same Wine, with the stand-in forum server's demo members) and copies the screen under
// the main window, the "nothing searched yet" message box and the save dialog into BMP files.
// Usage: skin_screenshots OUTPUT_FOLDER
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Found {
  DWORD process = 0;
  HWND window = nullptr;
};

// GBK captions of the main window's buttons.
constexpr char kSearch[] = "\xCB\xD1\xCB\xF7";
constexpr char kSaveAs[] = "\xC1\xED\xB4\xE6\xCE\xAA";

bool SaveBmp(const std::string& path, const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = h;  // bottom-up, as BMP files store it
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const DWORD stride = ((w * 3) + 3) & ~3u;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + stride * h;
  FILE* out = std::fopen(path.c_str(), "wb");
  bool ok = out != nullptr;
  if (out) {
    ok = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
         std::fwrite(bits, stride * h, 1, out) == 1;
    std::fclose(out);
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  std::printf("%s %s (%d x %d)\n", ok ? "wrote" : "could not write", path.c_str(), w, h);
  return ok;
}

HWND WaitForWindow(bool (*match)(HWND, DWORD), DWORD process, int milliseconds) {
  struct Search {
    bool (*match)(HWND, DWORD);
    DWORD process;
    HWND found;
  } search{match, process, nullptr};
  for (int waited = 0; waited < milliseconds; waited += 100) {
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
          auto* s = reinterpret_cast<Search*>(data);
          if (!IsWindowVisible(window) || !s->match(window, s->process)) return TRUE;
          s->found = window;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    Sleep(100);
  }
  return nullptr;
}

bool IsMainWindow(HWND window, DWORD) {
  char title[64] = {};
  GetWindowTextA(window, title, sizeof title);
  return std::string(title) == "Tolvane";
}

bool IsDialogOf(HWND window, DWORD process) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  return owner == process && std::string(name) == "#32770";
}

HWND ChildWithText(HWND parent, const char* text) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char caption[64] = {};
    GetWindowTextA(child, caption, sizeof caption);
    if (std::string(caption) == text) return child;
  }
  return nullptr;
}

HWND ChildOfClass(HWND parent, const char* className) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[64] = {};
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, className) == 0) return child;
  }
  return nullptr;
}

RECT RectOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

// A dialog opened by a click: capture it, then close it with `closeCommand`.
bool CaptureDialog(HWND button, DWORD process, const std::string& path, WPARAM closeCommand) {
  PostMessageA(button, BM_CLICK, 0, 0);
  HWND dialog = WaitForWindow(IsDialogOf, process, 10000);
  if (!dialog) {
    std::printf("no dialog for %s\n", path.c_str());
    return false;
  }
  Sleep(1500);
  const bool ok = SaveBmp(path, RectOf(dialog));
  PostMessageA(dialog, WM_COMMAND, closeCommand, 0);
  for (int i = 0; i < 50 && IsWindow(dialog); ++i) Sleep(100);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string folder = argv[1];
  HWND main = WaitForWindow(IsMainWindow, 0, 20000);
  if (!main) {
    std::printf("Tolvane's window did not appear\n");
    return 1;
  }
  DWORD process = 0;
  GetWindowThreadProcessId(main, &process);
  HWND search = ChildWithText(main, kSearch);
  HWND saveAs = ChildWithText(main, kSaveAs);
  HWND edit = ChildOfClass(main, "Edit");
  if (!search || !saveAs || !edit) {
    std::printf("controls not found\n");
    return 1;
  }
  Sleep(1000);
  bool ok = CaptureDialog(saveAs, process, folder + "/skin-message-box.bmp", IDOK);
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("tolvane"));
  PostMessageA(search, BM_CLICK, 0, 0);
  Sleep(3000);
  // The focused search button shows the focus look; hover is left off.
  ok = SaveBmp(folder + "/skin-main-window.bmp", RectOf(main)) && ok;
  ok = CaptureDialog(saveAs, process, folder + "/skin-save-dialog.bmp", IDCANCEL) && ok;
  PostMessageA(main, WM_CLOSE, 0, 0);
  return ok ? 0 : 1;
}
