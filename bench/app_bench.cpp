// Measures the whole program under Wine (bench/app_bench.sh runs it; nothing here is a test):
//   app_bench prepare ROOT               member pages "red" and "blue" with 110 x 110 JPEGs
//   app_bench startup EXE TITLE RUNS     process start to a visible window titled TITLE
//   app_bench search EXE RUNS            click on 搜索 to the picture on screen, alternating
//                                        between the two members
//   app_bench memory EXE SEARCHES        working set after start and after each search
//   app_bench idle-memory EXE TITLE      working set of a program once its window is shown
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tests/picture/fixtures.h"

namespace {

namespace fx = tolvane::picture::fixtures;

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

bool WriteAll(const std::string& path, const void* data, std::size_t size) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
  CloseHandle(file);
  return ok;
}

constexpr std::uint32_t kRed = 0xE02020, kBlue = 0x2040E0;

int Prepare(const std::string& root) {
  CreateDirectoryA(root.c_str(), nullptr);
  CreateDirectoryA((root + "\\home").c_str(), nullptr);
  CreateDirectoryA((root + "\\avatars").c_str(), nullptr);
  struct Member {
    const char* name;
    const char* hex;
    std::uint32_t colour;
  } members[] = {{"red", "726564", kRed}, {"blue", "626c7565", kBlue}};
  for (const Member& m : members) {
    std::string address = std::string("http://tb.himg.baidu.com/avatars/") + m.name + ".jpg";
    std::string page = "<html><body><a href=\"#\" class=\"userinfo_head\"><img src=\"" + address +
                       "\"/></a></body></html>";
    std::vector<std::uint32_t> pixels(110 * 110, m.colour);
    fx::ByteVector jpeg = fx::EncodeJpeg(110, 110, pixels, false, 90);
    if (!WriteAll(root + "\\home\\" + m.hex + ".html", page.data(), page.size())) return 1;
    if (!WriteAll(root + "\\avatars\\" + m.name + ".jpg", jpeg.data(), jpeg.size())) return 1;
  }
  return 0;
}

struct Started {
  PROCESS_INFORMATION process = {};
  HWND window = nullptr;
};

struct Search {
  DWORD process;
  const char* title;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char title[64] = {};
  GetWindowTextA(window, title, sizeof(title));
  if (process == search->process && IsWindowVisible(window) && std::strcmp(title, search->title) == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND FindShown(DWORD process, const char* title) {
  Search search = {process, title, nullptr};
  EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Starts the program and waits for its window; returns the milliseconds it took, -1 on failure.
double Start(const std::string& exe, const char* title, Started& started) {
  std::string command = "\"" + exe + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  double begin = Now();
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &started.process)) {
    return -1;
  }
  while (Now() - begin < 30000) {
    started.window = FindShown(started.process.dwProcessId, title);
    if (started.window) return Now() - begin;
    Sleep(1);
  }
  return -1;
}

void Stop(Started& started) {
  PostMessageA(started.window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(started.process.hProcess, 10000) != WAIT_OBJECT_0) {
    TerminateProcess(started.process.hProcess, 1);
  }
  CloseHandle(started.process.hProcess);
  CloseHandle(started.process.hThread);
}

double WorkingSetMiB(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof(counters);
  if (!GetProcessMemoryInfo(process, &counters, sizeof(counters))) return -1;
  return static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
}

HWND Child(HWND parent, const char* className, const char* text) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[64] = {};
    GetClassNameA(child, name, sizeof(name));
    if (lstrcmpiA(name, className) != 0) continue;
    if (!text) return child;
    char caption[64] = {};
    SendMessageA(child, WM_GETTEXT, sizeof(caption), reinterpret_cast<LPARAM>(caption));
    if (std::strcmp(caption, text) == 0) return child;
  }
  return nullptr;
}

COLORREF ScreenPixel(HWND box, int x, int y) {
  POINT at = {x, y};
  ClientToScreen(box, &at);
  HDC screen = GetDC(nullptr);
  COLORREF colour = GetPixel(screen, at.x, at.y);
  ReleaseDC(nullptr, screen);
  return colour;
}

bool Near(COLORREF c, std::uint32_t rgb) {
  return std::abs(GetRValue(c) - static_cast<int>((rgb >> 16) & 255)) < 40 &&
         std::abs(GetGValue(c) - static_cast<int>((rgb >> 8) & 255)) < 40 &&
         std::abs(GetBValue(c) - static_cast<int>(rgb & 255)) < 40;
}

struct Controls {
  HWND edit, search, box;
};

// One search: type the name, click, wait for the colour in the box. Milliseconds, -1 on timeout.
double SearchOnce(const Controls& c, const char* name, std::uint32_t colour) {
  SendMessageA(c.edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name));
  double begin = Now();
  PostMessageA(c.search, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageA(c.search, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  while (Now() - begin < 10000) {
    if (Near(ScreenPixel(c.box, 55, 55), colour)) return Now() - begin;
    Sleep(1);
  }
  return -1;
}

bool FindControls(HWND window, Controls& c) {
  c.edit = Child(window, "Edit", nullptr);
  c.search = Child(window, "Button", "\xCB\xD1\xCB\xF7");
  c.box = Child(window, "TolvanePictureBox", nullptr);
  return c.edit && c.search && c.box;
}

}  // namespace

int main(int argc, char** argv) {
  std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "prepare" && argc == 3) return Prepare(argv[2]);
  if (mode == "startup" && argc == 5) {
    std::vector<double> times;
    for (int run = 0; run < std::atoi(argv[4]); ++run) {
      Started started;
      double ms = Start(argv[2], argv[3], started);
      if (ms < 0) return 1;
      times.push_back(ms);
      Stop(started);
    }
    std::printf("%.1f\n", Median(times));
    return 0;
  }
  if (mode == "idle-memory" && argc == 4) {
    Started started;
    if (Start(argv[2], argv[3], started) < 0) return 1;
    Sleep(1000);
    std::printf("%.1f\n", WorkingSetMiB(started.process.hProcess));
    Stop(started);
    return 0;
  }
  if ((mode == "search" || mode == "memory") && argc == 4) {
    Started started;
    Controls controls;
    if (Start(argv[2], "Tolvane", started) < 0 || !FindControls(started.window, controls)) return 1;
    Sleep(500);
    int count = std::atoi(argv[3]);
    std::vector<double> times;
    std::string sets = std::to_string(WorkingSetMiB(started.process.hProcess));
    for (int i = 0; i < count; ++i) {
      bool red = i % 2 == 0;
      double ms = SearchOnce(controls, red ? "red" : "blue", red ? kRed : kBlue);
      if (ms < 0) {
        Stop(started);
        return 1;
      }
      times.push_back(ms);
      if (mode == "memory") {
        Sleep(200);
        char figure[32];
        std::snprintf(figure, sizeof(figure), " %.1f", WorkingSetMiB(started.process.hProcess));
        sets += figure;
      }
    }
    if (mode == "search") {
      std::printf("%.1f\n", Median(times));
    } else {
      std::printf("%s\n", sets.c_str());
    }
    Stop(started);
    return 0;
  }
  std::fprintf(stderr, "usage: see the head of bench/app_bench.cpp\n");
  return 2;
}
