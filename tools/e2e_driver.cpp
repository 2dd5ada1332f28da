// End-to-end driver: runs the real tolvane.exe and works it as a user would, against the
// stand-in forum server (tools/e2e.sh starts the server and this program under Wine).
//   e2e_driver prepare ROOT         writes the server's member pages and pictures under ROOT
//   e2e_driver run ROOT EXE WORK    runs EXE with WORK as its current directory and checks
//                                   every step; the saved files go to WORK
//   e2e_driver screenshot EXE NAME OUT.bmp   searches NAME and saves the window's picture
// Prints one line per check; the exit code is the number of failed checks (0: all passed).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tests/picture/fixtures.h"

namespace {

namespace fx = tolvane::picture::fixtures;
using ByteVector = std::vector<std::uint8_t>;

int failures = 0;

void Check(bool ok, const std::string& what) {
  std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
  std::fflush(stdout);
  if (!ok) ++failures;
}

// ---- The members and their pictures ----

constexpr std::uint32_t kRed = 0xE02020, kGreen = 0x20C020, kBlue = 0x2040E0, kYellow = 0xF0E020;
const std::uint32_t kQuadrantColours[4] = {kRed, kBlue, kGreen, kYellow};  // TL, TR, BL, BR

int QuadrantOf(int x, int y, int width, int height) {
  return (y < height / 2 ? 0 : 2) + (x < width / 2 ? 0 : 1);
}

std::vector<std::uint32_t> QuadrantColours(int width, int height) {
  std::vector<std::uint32_t> pixels;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) pixels.push_back(kQuadrantColours[QuadrantOf(x, y, width, height)]);
  return pixels;
}

std::vector<std::uint8_t> QuadrantIndices(int width, int height) {
  std::vector<std::uint8_t> indices;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) indices.push_back(static_cast<std::uint8_t>(QuadrantOf(x, y, width, height)));
  return indices;
}

const std::vector<std::uint32_t> kPalette = {kRed, kBlue, kGreen, kYellow};

struct Member {
  const char* name;     // as typed (GBK bytes for Chinese names)
  const char* picture;  // file under ROOT/avatars/, empty: the page points elsewhere
  int width, height;    // of the picture
  const char* address;  // avatar address when it is not the picture's own
};

const Member kMembers[] = {
    {"jpegcat", "cat.jpg", 110, 110, nullptr},
    {"pngdog", "dog.png", 64, 48, nullptr},
    {"bmpfox", "fox.bmp", 80, 80, nullptr},
    {"gifowl", "owl.gif", 40, 40, nullptr},
    {"icobee", "bee.ico", 32, 32, nullptr},
    {"pcxant", "ant.pcx", 50, 30, nullptr},
    {"\xD5\xC5\xC8\xFD", "zhang.png", 60, 60, nullptr},  // 张三
    {"brokenpic", "", 0, 0, "http://nowhere.invalid/missing.jpg"},
};

ByteVector PictureBytes(const Member& m) {
  std::string file = m.picture;
  int w = m.width, h = m.height;
  if (file.size() > 4 && file.compare(file.size() - 4, 4, ".jpg") == 0)
    return fx::EncodeJpeg(w, h, QuadrantColours(w, h), false, 95);
  if (file.size() > 4 && file.compare(file.size() - 4, 4, ".png") == 0) {
    std::vector<std::uint32_t> argb = QuadrantColours(w, h);
    for (std::uint32_t& c : argb) c |= 0xFF000000u;
    return fx::EncodePng(w, h, argb);
  }
  if (file.size() > 4 && file.compare(file.size() - 4, 4, ".bmp") == 0) {
    fx::BmpRecipe bmp;
    bmp.width = w;
    bmp.height = h;
    bmp.colours = QuadrantColours(w, h);
    return fx::WriteBmp(bmp);
  }
  if (file.size() > 4 && file.compare(file.size() - 4, 4, ".gif") == 0) {
    fx::GifRecipe gif;
    gif.width = w;
    gif.height = h;
    gif.globalPalette = kPalette;
    fx::GifFrameRecipe frame;
    frame.width = w;
    frame.height = h;
    frame.indices = QuadrantIndices(w, h);
    gif.frames.push_back(frame);
    return fx::WriteGif(gif);
  }
  if (file.size() > 4 && file.compare(file.size() - 4, 4, ".ico") == 0) {
    fx::IconImageRecipe image;
    image.width = w;
    image.height = h;
    image.pixels = QuadrantColours(w, h);
    for (std::uint32_t& c : image.pixels) c |= 0xFF000000u;
    fx::IconEntryRecipe entry;
    entry.width = w;
    entry.height = h;
    entry.image = fx::MakeIconImage(image);
    return fx::WriteIcon({entry});
  }
  fx::PcxRecipe pcx;  // .pcx
  pcx.xMax = w - 1;
  pcx.yMax = h - 1;
  pcx.indices = QuadrantIndices(w, h);
  pcx.palette = kPalette;
  pcx.palette.resize(256, 0);
  return fx::WritePcx(pcx);
}

std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char c : bytes) {
    hex += digits[c >> 4];
    hex += digits[c & 15];
  }
  return hex;
}

bool WriteAll(const std::string& path, const void* data, std::size_t size) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
  CloseHandle(file);
  return ok;
}

bool ReadAll(const std::string& path, ByteVector& out) {
  out.clear();
  // Full sharing: a reader must not stand in the way of the program replacing the file.
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  std::uint8_t buffer[65536];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0) out.insert(out.end(), buffer, buffer + got);
  CloseHandle(file);
  return true;
}

std::string PageFor(const std::string& address) {
  return "<html><head><title>member</title></head><body><div class=\"userinfo\">"
         "<a href=\"#\" class=\"userinfo_head\"><img src=\"" + address + "\"/></a>"
         "</div></body></html>";
}

int Prepare(const std::string& root) {
  CreateDirectoryA(root.c_str(), nullptr);
  CreateDirectoryA((root + "\\home").c_str(), nullptr);
  CreateDirectoryA((root + "\\avatars").c_str(), nullptr);
  for (const Member& m : kMembers) {
    std::string address = m.address ? m.address : std::string("http://tb.himg.baidu.com/avatars/") + m.picture;
    std::string page = PageFor(address);
    if (!WriteAll(root + "\\home\\" + Hex(m.name) + ".html", page.data(), page.size())) return 1;
    if (*m.picture) {
      ByteVector bytes = PictureBytes(m);
      if (!WriteAll(root + "\\avatars\\" + m.picture, bytes.data(), bytes.size())) return 1;
    }
  }
  return 0;
}

// ---- Finding and working the program's windows ----

struct Program {
  PROCESS_INFORMATION process = {};
  HWND window = nullptr;
  HWND edit = nullptr, search = nullptr, saveAs = nullptr, box = nullptr, label = nullptr;
};

bool WaitFor(const std::function<bool()>& condition, int milliseconds = 15000) {
  for (int waited = 0; waited < milliseconds; waited += 25) {
    if (condition()) return true;
    Sleep(25);
  }
  return condition();
}

struct WindowSearch {
  DWORD process;
  std::function<bool(HWND)> matches;
  HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == search->process && IsWindowVisible(window) && search->matches(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND FindTopLevel(DWORD process, const std::function<bool(HWND)>& matches) {
  WindowSearch search = {process, matches, nullptr};
  EnumWindows(&MatchTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof(name));
  return name;
}

// WM_GETTEXT: GetWindowTextA does not ask a control of another process for its text.
std::string TextOf(HWND window) {
  char text[1024] = {};
  DWORD_PTR length = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      5000, &length);
  return text;
}

HWND ChildWith(HWND parent, const char* className, const char* text) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (lstrcmpiA(ClassOf(child).c_str(), className) == 0 && (!text || TextOf(child) == text)) return child;
  }
  return nullptr;
}

HWND FocusOf(const Program& program) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(program.process.dwThreadId, &info)) return nullptr;
  return info.hwndFocus;
}

void Click(HWND control) {
  RECT area;
  GetClientRect(control, &area);
  LPARAM at = MAKELPARAM(area.right / 2, area.bottom / 2);
  PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(control, WM_LBUTTONUP, 0, at);
}

// Key presses as the program's message loop receives them: posted to the control that has the
// focus (so the window's own look at keys comes first, as for typed keys).
void PressKey(HWND focus, WORD key) {
  UINT scan = MapVirtualKeyA(key, 0);
  PostMessageA(focus, WM_KEYDOWN, key, 1 | (scan << 16));
  PostMessageA(focus, WM_KEYUP, key, 1 | (scan << 16) | 0xC0000000u);
  Sleep(150);
}

void TypeText(HWND focus, const char* text) {
  for (const char* c = text; *c; ++c) PostMessageA(focus, WM_CHAR, static_cast<unsigned char>(*c), 1);
  Sleep(150);
}

// The colour on screen at a point of the picture box's client area.
COLORREF ScreenPixel(HWND box, int x, int y) {
  POINT at = {x, y};
  ClientToScreen(box, &at);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 1, 1);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, 1, 1, screen, at.x, at.y, SRCCOPY);
  COLORREF colour = GetPixel(memory, 0, 0);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return colour;
}

bool Near(COLORREF actual, std::uint32_t rgb, int tolerance = 40) {
  int r = (rgb >> 16) & 255, g = (rgb >> 8) & 255, b = rgb & 255;
  return std::abs(GetRValue(actual) - r) <= tolerance && std::abs(GetGValue(actual) - g) <= tolerance &&
         std::abs(GetBValue(actual) - b) <= tolerance;
}

std::string Describe(COLORREF c) {
  char text[32];
  std::snprintf(text, sizeof(text), "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  return text;
}

// Waits until the box shows the member's four quadrants at natural size from its top-left.
bool ShowsQuadrants(HWND box, int width, int height, std::string& seen) {
  bool shown = WaitFor([&] {
    for (int q = 0; q < 4; ++q) {
      int x = (q & 1) ? width * 3 / 4 : width / 4;
      int y = (q & 2) ? height * 3 / 4 : height / 4;
      if (!Near(ScreenPixel(box, x, y), kQuadrantColours[q])) return false;
    }
    return true;
  }, 10000);
  seen = Describe(ScreenPixel(box, width / 4, height / 4)) + " " +
         Describe(ScreenPixel(box, width * 3 / 4, height * 3 / 4));
  return shown;
}

bool ShowsOnlyBackground(HWND box) {
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  return WaitFor([&] {
    for (int at : {5, 30, 60, 100}) {
      if (!Near(ScreenPixel(box, at, at), (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face), 8))
        return false;
    }
    return true;
  }, 10000);
}

// The message box "信息：" of the program, or null.
HWND FindInformationBox(const Program& program) {
  return FindTopLevel(program.process.dwProcessId, [](HWND w) {
    return ClassOf(w) == "#32770" && TextOf(w) == "\xD0\xC5\xCF\xA2\xA3\xBA";
  });
}

HWND FindSaveDialog(const Program& program) {
  return FindTopLevel(program.process.dwProcessId, [](HWND w) {
    return ClassOf(w) == "#32770" && GetDlgItem(w, 0x47c) != nullptr;
  });
}

std::string StaticTexts(HWND box) {
  std::string all;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (lstrcmpiA(ClassOf(child).c_str(), "Static") == 0) all += TextOf(child) + "|";
  }
  return all;
}

void ExpectNotSearchedBox(const Program& program, const std::string& when) {
  Click(program.saveAs);
  HWND box = nullptr;
  bool shown = WaitFor([&] { return (box = FindInformationBox(program)) != nullptr; });
  Check(shown, "\"\xC4\xFA\xBB\xB9\xC3\xBB\xD3\xD0\xCB\xD1\xCB\xF7\" box " + when);
  if (!box) return;
  std::string texts = StaticTexts(box);
  Check(texts.find("\xC4\xFA\xBB\xB9\xC3\xBB\xD3\xD0\xCB\xD1\xCB\xF7") != std::string::npos,
        "the box says \xC4\xFA\xBB\xB9\xC3\xBB\xD3\xD0\xCB\xD1\xCB\xF7 (" + texts + ")");
  Check(GetDlgItem(box, IDCANCEL) == nullptr || !IsWindowVisible(GetDlgItem(box, IDCANCEL)),
        "the box has only OK");
  Check(FindSaveDialog(program) == nullptr, "no save dialog " + when);
  Check(!IsWindowEnabled(program.window), "task-modal: the window takes no input while the box is up");
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  Check(WaitFor([&] { return !IsWindow(box); }), "the box closes on OK");
  Check(WaitFor([&] { return FocusOf(program) == program.saveAs; }, 5000),
        "the window is active again with the focus on \xC1\xED\xB4\xE6\xCE\xAA");
}

void Search(const Program& program, const char* name, bool bySpace) {
  SetWindowTextA(program.edit, name);
  if (bySpace) {
    PressKey(FocusOf(program), VK_TAB);  // 编辑框1 -> 按钮1 when the caret is in the edit box
    PressKey(FocusOf(program), VK_SPACE);
  } else {
    Click(program.search);
  }
}

// Opens the save dialog and returns it, or null.
HWND OpenSaveDialog(const Program& program) {
  Click(program.saveAs);
  HWND dialog = nullptr;
  WaitFor([&] { return (dialog = FindSaveDialog(program)) != nullptr; });
  Sleep(200);
  return dialog;
}

std::string FileNameBox(HWND dialog) { return TextOf(GetDlgItem(dialog, 0x47c)); }

void ConfirmDialog(HWND dialog, const std::string& path) {
  SetWindowTextA(GetDlgItem(dialog, 0x47c), path.c_str());
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

// Returns once the program's UI thread takes messages again (the click handler has returned,
// so the file has been written).
void WaitUntilIdle(const Program& program) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(program.window, WM_NULL, 0, 0, SMTO_BLOCK, 15000, &result);
}

bool FileEquals(const std::string& path, const ByteVector& expected) {
  ByteVector actual;
  return ReadAll(path, actual) && actual == expected;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

const Member& MemberNamed(const char* name) {
  for (const Member& m : kMembers)
    if (std::strcmp(m.name, name) == 0) return m;
  std::abort();
}

int Run(const std::string& root, const std::string& exe, const std::string& work) {
  Program program;
  std::string command = "\"" + exe + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, work.c_str(), &startup,
                      &program.process)) {
    Check(false, "start tolvane.exe");
    return failures;
  }
  DWORD pid = program.process.dwProcessId;
  Check(WaitFor([&] {
          program.window = FindTopLevel(pid, [](HWND w) { return TextOf(w) == "Tolvane"; });
          return program.window != nullptr;
        }),
        "the window \"Tolvane\" appears");
  if (!program.window) return failures;

  // Place and size.
  RECT outer;
  GetWindowRect(program.window, &outer);
  int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  char place[128];
  std::snprintf(place, sizeof(place), "window at %ld,%ld size %ldx%ld on %dx%d", outer.left, outer.top,
                outer.right - outer.left, outer.bottom - outer.top, screenWidth, screenHeight);
  Check(outer.left == (screenWidth - 199) / 2 && outer.top == (screenHeight - 263) / 2 &&
            outer.right - outer.left == 199 && outer.bottom - outer.top == 263,
        place);
  if (screenWidth == 1024 && screenHeight == 768) Check(outer.left == 412 && outer.top == 252, "412,252 on 1024x768");

  program.edit = ChildWith(program.window, "Edit", nullptr);
  program.search = ChildWith(program.window, "Button", "\xCB\xD1\xCB\xF7");
  program.saveAs = ChildWith(program.window, "Button", "\xC1\xED\xB4\xE6\xCE\xAA");
  program.box = ChildWith(program.window, "TolvanePictureBox", nullptr);
  program.label = ChildWith(program.window, "TolvaneLabel", "\xB0\xD9\xB6\xC8" "ID");
  Check(program.edit && program.search && program.saveAs && program.box && program.label,
        "edit box, both buttons, label and picture box are there");
  if (!(program.edit && program.search && program.saveAs && program.box)) return failures;

  Check(WaitFor([&] { return FocusOf(program) == program.edit; }, 5000), "the caret starts in the edit box");
  ShowsOnlyBackground(program.box);

  // Typing goes into the edit box without a click; Enter does not search.
  TypeText(FocusOf(program), "jpegcat");
  Check(WaitFor([&] { return TextOf(program.edit) == "jpegcat"; }, 5000), "typed name reaches the edit box (\"" + TextOf(program.edit) + "\")");
  PressKey(FocusOf(program), VK_RETURN);
  Sleep(500);
  Check(FocusOf(program) == program.edit && ShowsOnlyBackground(program.box), "Enter neither searches nor moves the focus");

  // Nothing to save yet.
  ExpectNotSearchedBox(program, "before any search");

  // Search by mouse click: a JPEG avatar.
  std::string seen;
  Click(program.search);
  bool shown = ShowsQuadrants(program.box, 110, 110, seen);
  Check(shown, "mouse click on \xCB\xD1\xCB\xF7 shows the JPEG avatar (" + seen + ")");

  // Save it: the file holds exactly the served bytes.
  ByteVector served;
  ReadAll(root + "\\avatars\\cat.jpg", served);
  std::string first = work + "\\saved-cat.jpg";
  HWND dialog = OpenSaveDialog(program);
  Check(dialog != nullptr, "\xC1\xED\xB4\xE6\xCE\xAA opens the save dialog");
  if (dialog) {
    Check(FileNameBox(dialog).empty(), "the first dialog opens with an empty name (\"" + FileNameBox(dialog) + "\")");
    ConfirmDialog(dialog, first);
    Check(WaitFor([&] { return !IsWindow(dialog); }), "the dialog closes on OK");
    WaitUntilIdle(program);
    Check(WaitFor([&] { return FileEquals(first, served); }, 5000), "the saved file equals the served JPEG byte for byte");
  }

  // The second dialog opens with the first path; cancelling writes nothing.
  dialog = OpenSaveDialog(program);
  if (dialog) {
    // The dialog shows the file part of the pre-filled path and opens in its folder (the
    // replacement below confirms this name as it stands).
    std::string prefilled = FileNameBox(dialog);
    Check(lstrcmpiA(prefilled.c_str(), first.c_str()) == 0 || lstrcmpiA(prefilled.c_str(), "saved-cat.jpg") == 0,
          "the second dialog opens with the first path (\"" + prefilled + "\")");
    SetWindowTextA(GetDlgItem(dialog, 0x47c), (work + "\\cancelled.jpg").c_str());
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    Check(WaitFor([&] { return !IsWindow(dialog); }), "the dialog closes on Cancel");
    Sleep(300);
    Check(!FileExists(work + "\\cancelled.jpg") && FileEquals(first, served), "Cancel wrote nothing");
  } else {
    Check(false, "second save dialog");
  }

  // Every other format, searched by Tab + Space and by click in turn.
  bool bySpace = true;
  for (const char* name : {"pngdog", "bmpfox", "gifowl", "icobee", "pcxant", "\xD5\xC5\xC8\xFD"}) {
    const Member& m = MemberNamed(name);
    // The caret goes back to the edit box first (a click on it), so Tab reaches 按钮1.
    PostMessageA(program.edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageA(program.edit, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    Sleep(150);
    Search(program, name, bySpace);
    shown = ShowsQuadrants(program.box, m.width, m.height, seen);
    Check(shown,
          std::string(bySpace ? "Tab, Space" : "click") + " shows " + m.picture + " (" + seen + ")");
    if (bySpace) Check(FocusOf(program) == program.search, "Tab moved the focus to \xCB\xD1\xCB\xF7");
    bySpace = !bySpace;
  }

  // Replacing the first file with another picture: the overwrite question, then the new bytes.
  ByteVector zhang;
  ReadAll(root + "\\avatars\\zhang.png", zhang);
  dialog = OpenSaveDialog(program);
  if (dialog) {
    // OK on the pre-filled name: the last confirmed path.
    WaitFor([&] { return !FileNameBox(dialog).empty(); }, 5000);
    Sleep(300);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    HWND question = nullptr;
    WaitFor([&] {
      question = FindTopLevel(pid, [&](HWND w) { return ClassOf(w) == "#32770" && w != dialog && GetDlgItem(w, IDYES); });
      return question != nullptr;
    }, 5000);
    Check(question != nullptr, "replacing an existing file asks first");
    if (question) PostMessageA(question, WM_COMMAND, IDYES, 0);
    Check(WaitFor([&] { return !IsWindow(dialog); }), "the dialog closes after Yes");
    WaitUntilIdle(program);
    bool replaced = WaitFor([&] { return FileEquals(first, zhang); }, 5000);
    Check(replaced, "the old file is replaced whole by the PNG bytes");
    if (!replaced) {
      ByteVector now;
      ReadAll(first, now);
      std::printf("debug: first has %u bytes (cat %u, zhang %u); picture box bytes unknown\n", (unsigned)now.size(), (unsigned)served.size(), (unsigned)zhang.size());
      WIN32_FIND_DATAA found;
      HANDLE search = FindFirstFileA((work + "\\*").c_str(), &found);
      while (search != INVALID_HANDLE_VALUE) {
        std::printf("debug: %s %lu\n", found.cFileName, found.nFileSizeLow);
        if (!FindNextFileA(search, &found)) break;
      }
      FindClose(search);
    }
  }

  // A found address whose picture cannot be downloaded: the box is cleared, Save As writes an
  // empty file.
  Search(program, "brokenpic", false);
  Check(ShowsOnlyBackground(program.box), "a picture that cannot be downloaded clears the box");
  std::string empty = work + "\\empty.jpg";
  dialog = OpenSaveDialog(program);
  if (dialog) {
    ConfirmDialog(dialog, empty);
    Check(WaitFor([&] { return !IsWindow(dialog); }), "the dialog closes");
    WaitUntilIdle(program);
    Check(WaitFor([&] { return FileEquals(empty, {}); }, 5000), "an empty picture saves a file of length 0");
  }

  // A member the server does not know: nothing found, nothing to save, earlier file intact.
  Search(program, "nobody", false);
  Check(ShowsOnlyBackground(program.box), "a search that finds nothing clears the box");
  ExpectNotSearchedBox(program, "after a search that found nothing");
  Check(FileEquals(first, zhang), "the earlier saved file keeps its content");

  // Esc closes from any control; the program ends with exit code 0.
  PostMessageA(program.edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  PostMessageA(program.edit, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  Sleep(200);
  Check(FocusOf(program) == program.edit, "a click puts the caret in the edit box");
  PressKey(FocusOf(program), VK_ESCAPE);
  Check(WaitForSingleObject(program.process.hProcess, 10000) == WAIT_OBJECT_0, "Esc ends the program");
  DWORD code = 1234;
  GetExitCodeProcess(program.process.hProcess, &code);
  Check(code == 0, "exit code " + std::to_string(code));
  if (code == STILL_ACTIVE) TerminateProcess(program.process.hProcess, 1);
  CloseHandle(program.process.hProcess);
  CloseHandle(program.process.hThread);
  return failures;
}

// Starts EXE, searches NAME, and writes the window as it looks on screen to OUT (a 24-bit BMP).
int Screenshot(const std::string& exe, const char* name, const std::string& out) {
  Program program;
  std::string command = "\"" + exe + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &program.process)) {
    return 1;
  }
  DWORD pid = program.process.dwProcessId;
  WaitFor([&] {
    program.window = FindTopLevel(pid, [](HWND w) { return TextOf(w) == "Tolvane"; });
    return program.window != nullptr;
  });
  if (!program.window) return 1;
  program.edit = ChildWith(program.window, "Edit", nullptr);
  program.search = ChildWith(program.window, "Button", "\xCB\xD1\xCB\xF7");
  program.box = ChildWith(program.window, "TolvanePictureBox", nullptr);
  if (!program.edit || !program.search || !program.box) return 1;
  SetWindowTextA(program.edit, name);
  Click(program.search);
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  WaitFor([&] { return ScreenPixel(program.box, 20, 20) != face; }, 10000);
  // The frame and caption too, freshly painted, before the screen is read.
  RedrawWindow(program.window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Sleep(800);

  RECT outer;
  GetWindowRect(program.window, &outer);
  int width = outer.right - outer.left, height = outer.bottom - outer.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as a BMP file stores it
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, outer.left, outer.top, SRCCOPY);
  GdiFlush();
  DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  DWORD imageSize = stride * static_cast<DWORD>(height);
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
  file.bfSize = file.bfOffBits + imageSize;
  ByteVector bytes(reinterpret_cast<std::uint8_t*>(&file), reinterpret_cast<std::uint8_t*>(&file) + sizeof(file));
  bytes.insert(bytes.end(), reinterpret_cast<std::uint8_t*>(&info.bmiHeader),
               reinterpret_cast<std::uint8_t*>(&info.bmiHeader) + sizeof(info.bmiHeader));
  bytes.insert(bytes.end(), static_cast<std::uint8_t*>(bits), static_cast<std::uint8_t*>(bits) + imageSize);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  bool written = WriteAll(out, bytes.data(), bytes.size());

  PostMessageA(program.window, WM_CLOSE, 0, 0);
  WaitForSingleObject(program.process.hProcess, 10000);
  CloseHandle(program.process.hProcess);
  CloseHandle(program.process.hThread);
  return written ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::strcmp(argv[1], "screenshot") == 0) return Screenshot(argv[2], argv[3], argv[4]);
  if (argc == 3 && std::strcmp(argv[1], "prepare") == 0) return Prepare(argv[2]);
  if (argc == 5 && std::strcmp(argv[1], "run") == 0) {
    int failed = Run(argv[2], argv[3], argv[4]);
    std::printf("%d check(s) failed\n", failed);
    return failed;
  }
  std::fprintf(stderr, "usage: e2e_driver prepare ROOT | run ROOT EXE WORK | screenshot EXE NAME OUT\n");
  return 2;
}
