// MainWindow built in a real Win32 window (under Wine): placement, classes and styles,
// stacking, focus, keyboard, GetText and the label's painting.
#include "app/main_window.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "app/window_layout.h"
#include "picture/picture_box.h"

namespace tolvane::app {
namespace {

int destroyedCalls = 0;
void CountDestroyed() { ++destroyedCalls; }

void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof(name));
  return name;
}

std::string TextOf(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof(text));
  return text;
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    destroyedCalls = 0;
    ASSERT_TRUE(ReadWindowDescription(MainWindowDescription(), bound_));
    ASSERT_TRUE(RegisterWindowClasses(GetModuleHandleA(nullptr)));
  }
  void TearDown() override { PumpMessages(); }

  void Load(MainWindow& window) {
    ASSERT_TRUE(window.LoadWindow());
    PumpMessages();
  }
  HWND Control(const MainWindow& window, const char* name) {
    return window.ControlWindow(bound_.FindEntry(name));
  }
  // Sends a key press through the window's own look at keys, then to the focused control.
  void PressKey(MainWindow& window, WPARAM key, bool shift = false) {
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(state);
    MSG message = {GetFocus(), WM_KEYDOWN, key, 1, GetTickCount(), {0, 0}};
    if (!window.PreTranslateMessage(message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    state[VK_SHIFT] = 0;
    SetKeyboardState(state);
    PumpMessages();
  }

  BoundWindow bound_;
  HINSTANCE instance_ = GetModuleHandleA(nullptr);
};

TEST_F(MainWindowTest, WindowIsCentredWithItsFixedSizeCaptionAndIcons) {
  MainWindow window(bound_, instance_, &CountDestroyed);
  Load(window);
  HWND main = window.hwnd();
  RECT outer;
  GetWindowRect(main, &outer);
  Point expected = CentredPosition(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), 199, 263);
  EXPECT_EQ(outer.left, expected.x);
  EXPECT_EQ(outer.top, expected.y);
  if (GetSystemMetrics(SM_CXSCREEN) == 1024 && GetSystemMetrics(SM_CYSCREEN) == 768) {
    EXPECT_EQ(outer.left, 412);
    EXPECT_EQ(outer.top, 252);
  }
  EXPECT_EQ(outer.right - outer.left, 199);
  EXPECT_EQ(outer.bottom - outer.top, 263);
  EXPECT_EQ(ClassOf(main), kMainWindowClassName);
  EXPECT_EQ(TextOf(main), "Tolvane");
  LONG_PTR style = GetWindowLongPtrA(main, GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN),
            WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CHILD), 0);
  EXPECT_TRUE(IsWindowVisible(main));
  EXPECT_EQ(GetParent(main), nullptr);
  EXPECT_EQ(GetWindow(main, GW_OWNER), nullptr);
  EXPECT_EQ(GetMenu(main), nullptr);
  EXPECT_NE(SendMessageA(main, WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_NE(SendMessageA(main, WM_GETICON, ICON_SMALL, 0), 0);
  ICONINFO info = {};
  ASSERT_TRUE(GetIconInfo(reinterpret_cast<HICON>(SendMessageA(main, WM_GETICON, ICON_SMALL, 0)), &info));
  BITMAP colour = {};
  GetObjectA(info.hbmColor, sizeof(colour), &colour);
  EXPECT_EQ(colour.bmWidth, 16);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  ASSERT_TRUE(GetClassInfoExA(instance_, kMainWindowClassName, &windowClass));
  EXPECT_EQ(windowClass.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS));
  EXPECT_EQ(windowClass.hbrBackground, nullptr);
  EXPECT_EQ(windowClass.hIcon, nullptr);
}

std::vector<std::pair<std::size_t, std::int32_t>> raised;
void RecordEvent(std::size_t entry, std::int32_t event) { raised.emplace_back(entry, event); }

TEST_F(MainWindowTest, NothingIsRaisedWhileBuildingThenCreatedMovedResized) {
  raised.clear();
  MainWindow window(bound_, instance_, &CountDestroyed);
  window.SetEventObserver(&RecordEvent);
  ASSERT_TRUE(window.LoadWindow());
  // The platform's own moves and sizes while the window was built were dropped.
  ASSERT_GE(raised.size(), 3u);
  EXPECT_EQ(raised[0], std::make_pair(std::size_t{0}, std::int32_t{kEventCreated}));
  EXPECT_EQ(raised[1], std::make_pair(std::size_t{0}, std::int32_t{kEventMoved}));
  EXPECT_EQ(raised[2], std::make_pair(std::size_t{0}, std::int32_t{kEventResized}));
  PumpMessages();
}

TEST_F(MainWindowTest, ControlsHaveTheirClassesStylesPlacesAndStacking) {
  MainWindow window(bound_, instance_, &CountDestroyed);
  Load(window);
  const DWORD childStyles = WS_CHILD | WS_CLIPSIBLINGS;
  struct Expected {
    const char* name;
    std::string windowClass;
    DWORD style;
    DWORD exStyle;
    const char* text;
    RECT place;
  } expected[] = {
      {kSaveAsButtonName, "Button", childStyles | WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE | BS_CENTER | BS_VCENTER,
       0, "\xC1\xED\xB4\xE6\xCE\xAA", {112, 63, 184, 95}},
      {kLabelName, kLabelClassName, childStyles, 0, "\xB0\xD9\xB6\xC8" "ID", {16, 16, 56, 56}},
      {kPictureBoxName, picture::kPictureBoxClassName, childStyles | WS_BORDER, 0, "", {40, 112, 152, 224}},
      {kSearchButtonName, "Button", childStyles | WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE | BS_CENTER | BS_VCENTER,
       0, "\xCB\xD1\xCB\xF7", {8, 64, 80, 96}},
      {kEditBoxName, "Edit", childStyles | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, "", {64, 24, 184, 48}},
  };
  HWND previous = nullptr;
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.windowClass);
    HWND control = Control(window, e.name);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(GetParent(control), window.hwnd());
    EXPECT_STRCASEEQ(ClassOf(control).c_str(), e.windowClass.c_str());
    LONG_PTR style = GetWindowLongPtrA(control, GWL_STYLE);
    EXPECT_EQ(static_cast<DWORD>(style) & e.style, e.style);
    EXPECT_EQ(style & WS_DISABLED, 0);
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrA(control, GWL_EXSTYLE)) & e.exStyle, e.exStyle);
    EXPECT_EQ(TextOf(control), e.text);
    RECT place;
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, window.hwnd(), reinterpret_cast<POINT*>(&place), 2);
    EXPECT_EQ(place.left, e.place.left);
    EXPECT_EQ(place.top, e.place.top);
    EXPECT_EQ(place.right, e.place.right);
    EXPECT_EQ(place.bottom, e.place.bottom);
    if (e.windowClass != kLabelClassName && e.windowClass != picture::kPictureBoxClassName) {
      EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)),
                GetStockObject(DEFAULT_GUI_FONT));
    }
    // Stacking follows the stored order: each control lies below the one stored before it.
    if (previous) {
      EXPECT_EQ(GetWindow(previous, GW_HWNDNEXT), control);
    }
    previous = control;
  }
  EXPECT_EQ(window.ControlWindow(bound_.FindEntry(kSaveDialogName)), nullptr);  // no window
  EXPECT_EQ(GetWindow(window.hwnd(), GW_CHILD), Control(window, kSaveAsButtonName));
}

TEST_F(MainWindowTest, FocusStartsInTheEditBoxAndTabCycles) {
  MainWindow window(bound_, instance_, &CountDestroyed);
  Load(window);
  HWND edit = Control(window, kEditBoxName);
  HWND search = Control(window, kSearchButtonName);
  HWND saveAs = Control(window, kSaveAsButtonName);
  ASSERT_EQ(GetFocus(), edit);
  DWORD start = 1, end = 1;
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 0u);

  struct Step {
    WPARAM key;
    bool shift;
    HWND focus;
  } steps[] = {
      {VK_TAB, false, search}, {VK_TAB, false, saveAs}, {VK_TAB, false, edit},
      {VK_TAB, true, saveAs},  {VK_TAB, true, search},  {VK_TAB, true, edit},
      {VK_RETURN, false, edit},  // Enter neither searches nor moves the focus
      {VK_F1, false, edit},
  };
  for (const Step& step : steps) {
    PressKey(window, step.key, step.shift);
    EXPECT_EQ(GetFocus(), step.focus) << step.key << (step.shift ? " with shift" : "");
  }
  EXPECT_TRUE(window.alive());
}

TEST_F(MainWindowTest, EscClosesFromAnyControlAndTheDestroyedCallbackRuns) {
  for (const char* name : {kEditBoxName, kSearchButtonName, kSaveAsButtonName}) {
    SCOPED_TRACE(name);
    destroyedCalls = 0;
    MainWindow window(bound_, instance_, &CountDestroyed);
    Load(window);
    SetWindowTextA(Control(window, kEditBoxName), "typed name");
    SetFocus(Control(window, name));
    PressKey(window, VK_ESCAPE);
    EXPECT_FALSE(window.alive());
    EXPECT_EQ(destroyedCalls, 1);
  }
}

TEST_F(MainWindowTest, GetTextIsACopyNullWhenEmpty) {
  MainWindow window(bound_, instance_, &CountDestroyed);
  Load(window);
  HWND edit = Control(window, kEditBoxName);
  EXPECT_TRUE(window.GetText().is_null());
  struct Case {
    const char* typed;
  } cases[] = {{"abc "}, {"  lead"}, {"\xD5\xC5\xC8\xFD"}, {"a#b&c"}};
  for (const Case& c : cases) {
    SetWindowTextA(edit, c.typed);
    Text text = window.GetText();
    EXPECT_STREQ(text.c_str(), c.typed);
    EXPECT_EQ(text.size(), std::strlen(c.typed));
  }
  SetWindowTextA(edit, "");
  EXPECT_TRUE(window.GetText().is_null());
  EXPECT_TRUE(window.GetUserName().is_null());
}

TEST_F(MainWindowTest, FocusReturnsAfterDeactivationAndMinimizing) {
  MainWindow window(bound_, instance_, &CountDestroyed);
  Load(window);
  HWND saveAs = Control(window, kSaveAsButtonName);
  SetFocus(saveAs);
  ASSERT_EQ(GetFocus(), saveAs);

  HWND other = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100,
                               nullptr, nullptr, instance_, nullptr);
  SetActiveWindow(other);
  PumpMessages();
  SetActiveWindow(window.hwnd());
  PumpMessages();
  EXPECT_EQ(GetFocus(), saveAs);
  DestroyWindow(other);

  ShowWindow(window.hwnd(), SW_MINIMIZE);
  PumpMessages();
  ShowWindow(window.hwnd(), SW_RESTORE);
  SetActiveWindow(window.hwnd());
  PumpMessages();
  EXPECT_EQ(GetFocus(), saveAs);
}

TEST_F(MainWindowTest, LabelTextIsDrawnOverButtonFace) {
  MainWindow window(bound_, instance_, &CountDestroyed);
  Load(window);
  HWND label = Control(window, kLabelName);
  UpdateWindow(window.hwnd());
  RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  HDC dc = GetDC(label);
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(GetPixel(dc, 0, 0), face);
  EXPECT_EQ(GetPixel(dc, 39, 39), face);
  EXPECT_EQ(GetPixel(dc, 1, 5), face);  // above the text: one line centred in 40 pixels
  int dark = 0;
  for (int y = 12; y < 28; ++y) {
    for (int x = 0; x < 40; ++x) {
      COLORREF c = GetPixel(dc, x, y);
      if (GetRValue(c) < 64 && GetGValue(c) < 64 && GetBValue(c) < 64) ++dark;
    }
  }
  ReleaseDC(label, dc);
  EXPECT_GT(dark, 10);  // black text in the middle rows
}

TEST_F(MainWindowTest, AControlThatCannotBeCreatedLeavesNothing) {
  ASSERT_TRUE(UnregisterClassA(picture::kPictureBoxClassName, instance_));
  {
    MainWindow window(bound_, instance_, &CountDestroyed);
    EXPECT_FALSE(window.LoadWindow());
    EXPECT_FALSE(window.alive());
  }
  EXPECT_EQ(FindWindowA(kMainWindowClassName, "Tolvane"), nullptr);
  EXPECT_EQ(destroyedCalls, 0);
  ASSERT_TRUE(picture::RegisterPictureBoxClass(instance_));
}

TEST_F(MainWindowTest, SearchAndSaveAsViewsReachTheControls) {
  MainWindow window(bound_, instance_, &CountDestroyed);
  Load(window);
  EXPECT_TRUE(window.GetPicture().empty());
  const std::uint8_t bytes[] = {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'};
  window.SetPicture(Bytes::Copy(bytes, sizeof(bytes)));
  Bytes back = window.GetPicture();
  ASSERT_EQ(back.size(), sizeof(bytes));
  EXPECT_EQ(std::memcmp(back.data(), bytes, sizeof(bytes)), 0);
  EXPECT_FALSE(window.HasAvatarAddress());
  EXPECT_TRUE(window.GetFileName().is_null());
}

}  // namespace
}  // namespace tolvane::app
