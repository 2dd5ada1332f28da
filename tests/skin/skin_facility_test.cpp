// Switching the skin on and off, the registry, and how the skin procedure routes messages.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <map>
#include <thread>

#include "app/skin/control_skin.h"
#include "app/skin/skinned_control.h"
#include "tests/skin/skin_test_window.h"

namespace tolvane::skin {
namespace {

using testing::HostWindow;
using testing::Snapshot;

// A procedure under (or over) the skin's that counts what reaches it.
struct Probe {
  WNDPROC next = nullptr;
  std::map<UINT, int> received;
  size_t countAtDestroy = 0;
  UINT destroyOn = 0;  // destroys its own window when this message arrives
};
Probe* g_probe = nullptr;

// Windows the system left on this thread (hidden parts of earlier dialogs) are taken over
// too; counts in these tests are over that baseline.
size_t ForeignRecords() {
  ControlSkin(1);
  const size_t count = SkinnedControlCount();
  ControlSkin(0);
  return count;
}

class SkinFacility : public ::testing::Test {
 protected:
  SkinFacility() { g_probe = &probe_; }
  void TearDown() override { ControlSkin(0); }
  Probe probe_;  // outlives the controls, which may still call the probe while destroyed
  HostWindow host_;
  const size_t foreign_ = ForeignRecords();
};

WNDPROC ProcedureOf(HWND window) {
  return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
}

TEST_F(SkinFacility, ResultsOfEveryStyleNumber) {
  const struct {
    int style;
    int expected;
    bool onAfterwards;
  } sequence[] = {
      {0, 0, false},  {4, 0, false}, {-1, 0, false},  // off and staying off
      {1, 1, true},   {2, 1, true},  {3, 1, true},    // on, and on again
      {4, 1, false},                                  // off: the hook's removal succeeded
      {-1, 0, false}, {1, 1, true},  {0, 1, false},
  };
  for (const auto& step : sequence) {
    EXPECT_EQ(ControlSkin(step.style), step.expected) << "style " << step.style;
    EXPECT_EQ(ControlSkinHookInstalled(), step.onAfterwards) << "style " << step.style;
  }
}

TEST_F(SkinFacility, TakesOverKnownKindsOfTheThreadOnly) {
  const struct {
    const char* className;
    DWORD style;
    const char* text;
    bool taken;
  } controls[] = {
      {"BUTTON", BS_PUSHBUTTON, "OK", true},
      {"BUTTON", BS_AUTOCHECKBOX, "Check", true},
      {"BUTTON", BS_AUTORADIOBUTTON, "Radio", true},
      {"BUTTON", BS_GROUPBOX, "Group", true},
      {"BUTTON", BS_OWNERDRAW, "Owner", false},
      {"BUTTON", BS_PUSHBUTTON | BS_BITMAP, "", false},
      {"EDIT", 0, "", true},
      {"COMBOBOX", CBS_DROPDOWN, "", true},
      {"COMBOBOX", CBS_SIMPLE, "", false},
      {"STATIC", 0, "Label", false},
      {"LISTBOX", 0, "", false},
      {"SCROLLBAR", 0, "", false},
      {UPDOWN_CLASSA, 0, "", true},
      {PROGRESS_CLASSA, 0, "", false},
  };
  // Half before switching on (the walk), half after (the creation hook).
  std::map<HWND, bool> expected;
  int y = 0;
  for (const auto& c : controls) {
    expected[host_.Add(c.className, c.text, c.style, 10, y, 60, 20)] = c.taken;
    y += 22;
  }
  ASSERT_EQ(ControlSkin(1), 1);
  // The edit box inside a drop-down combo box is an edit box too (without a border).
  const size_t walkCount = SkinnedControlCount() - foreign_;
  EXPECT_GE(walkCount, 7u);
  for (const auto& c : controls) {
    HWND window = host_.Add(c.className, c.text, c.style, 300, y % 380, 60, 20);
    expected[window] = c.taken;
    y += 22;
  }
  EXPECT_EQ(SkinnedControlCount() - foreign_, 2 * walkCount);
  char name[64];
  for (const auto& [window, taken] : expected) {
    GetClassNameA(window, name, sizeof name);
    EXPECT_EQ(FindSkinnedControl(window) != nullptr, taken)
        << name << " style 0x" << std::hex << GetWindowLongPtrA(window, GWL_STYLE);
  }
}

// Waits for `event` while serving this thread's messages (another thread's child window
// notifies its parent here when it is created and destroyed).
void WaitServing(HANDLE event) {
  while (MsgWaitForMultipleObjects(1, &event, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
    testing::Pump();
  }
}

TEST_F(SkinFacility, LeavesControlsOfOtherThreadsAlone) {
  // A button inside our window but created, and served, by another thread.
  HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE created = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE finish = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HWND foreign = nullptr;
  HWND host = host_.get();
  std::thread other([&] {
    foreign = CreateWindowExA(0, "BUTTON", "Other thread", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 100, 30,
                              host, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetEvent(created);
    while (MsgWaitForMultipleObjects(1, &finish, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    DestroyWindow(foreign);
    SetEvent(done);
  });
  WaitServing(created);
  HWND own = host_.Add("BUTTON", "This thread", BS_PUSHBUTTON, 10, 50, 100, 30);
  ASSERT_EQ(ControlSkin(1), 1);
  EXPECT_NE(FindSkinnedControl(own), nullptr);
  EXPECT_EQ(FindSkinnedControl(foreign), nullptr);
  ControlSkin(0);
  SetEvent(finish);
  WaitServing(done);
  other.join();
  CloseHandle(done);
  CloseHandle(created);
  CloseHandle(finish);
}

TEST_F(SkinFacility, SwitchingOffRestoresTheSystemLook) {
  HWND button = host_.Add("BUTTON", "OK", BS_PUSHBUTTON, 10, 10, 80, 30);
  HWND edit = host_.Add("EDIT", "text", 0, 10, 60, 120, 24, WS_EX_CLIENTEDGE);
  const WNDPROC buttonProcedure = ProcedureOf(button);
  const WNDPROC editProcedure = ProcedureOf(edit);
  const Snapshot buttonBefore(button), editBefore(edit);
  ASSERT_EQ(ControlSkin(1), 1);
  EXPECT_FALSE(Snapshot(button) == buttonBefore) << "skinned look differs";
  EXPECT_FALSE(Snapshot(edit) == editBefore);
  EXPECT_NE(ControlSkin(0), 0);
  testing::Pump();
  EXPECT_EQ(ProcedureOf(button), buttonProcedure);
  EXPECT_EQ(ProcedureOf(edit), editProcedure);
  EXPECT_TRUE(Snapshot(button) == buttonBefore);
  EXPECT_TRUE(Snapshot(edit) == editBefore);
  EXPECT_EQ(SkinnedControlCount(), 0u);
}

TEST_F(SkinFacility, TwoCallsLeaveOneHookAndOneRecordPerControl) {
  host_.Add("BUTTON", "A", BS_PUSHBUTTON, 10, 10, 80, 30);
  host_.Add("BUTTON", "B", BS_PUSHBUTTON, 10, 50, 80, 30);
  ASSERT_EQ(ControlSkin(1), 1);
  HWND later = host_.Add("BUTTON", "C", BS_PUSHBUTTON, 10, 90, 80, 30);
  const Snapshot once(later);
  ASSERT_EQ(ControlSkin(1), 1);
  EXPECT_EQ(SkinnedControlCount(), foreign_ + 3);
  EXPECT_TRUE(Snapshot(later) == once) << "same look after the second call";
  EXPECT_NE(ControlSkin(0), 0);
  // Had the first hook stayed, a button created now would still be taken over.
  HWND afterOff = host_.Add("BUTTON", "D", BS_PUSHBUTTON, 10, 130, 80, 30);
  EXPECT_EQ(SkinnedControlCount(), 0u);
  EXPECT_EQ(FindSkinnedControl(afterOff), nullptr);
  HWND plain = host_.Add("BUTTON", "D", BS_PUSHBUTTON, 100, 130, 80, 30);
  EXPECT_EQ(ProcedureOf(afterOff), ProcedureOf(plain));
  EXPECT_EQ(ControlSkin(0), 0);
}

LRESULT CALLBACK ProbeProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Probe& probe = *g_probe;
  ++probe.received[message];
  if (message == WM_DESTROY) probe.countAtDestroy = SkinnedControlCount();
  const WNDPROC next = probe.next;
  if (probe.destroyOn && message == probe.destroyOn) {
    probe.destroyOn = 0;
    DestroyWindow(window);
    return 0;
  }
  return CallWindowProcA(next, window, message, wParam, lParam);
}

void InstallProbe(HWND window, Probe* probe) {
  probe->next = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ProbeProcedure)));
}

TEST_F(SkinFacility, EachMessageReachesTheControlOnceOrNotAtAll) {
  const struct {
    const char* className;
    DWORD style;
    UINT message;
    WPARAM wParam;
    int ownCalls;  // 0 where the rules hand the message to the default procedure or nobody
    LRESULT fixedResult;  // -1: not checked
  } cases[] = {
      {"BUTTON", BS_PUSHBUTTON, BM_SETSTATE, TRUE, 1, -1},
      {"BUTTON", BS_PUSHBUTTON, BM_SETCHECK, BST_CHECKED, 1, -1},
      {"BUTTON", BS_PUSHBUTTON, BM_SETSTYLE, BS_DEFPUSHBUTTON, 1, -1},
      {"BUTTON", BS_PUSHBUTTON, WM_PAINT, 0, 0, -1},
      {"BUTTON", BS_PUSHBUTTON, WM_ERASEBKGND, 0, 1, -1},
      {"BUTTON", BS_PUSHBUTTON, WM_ENABLE, TRUE, 1, -1},
      {"BUTTON", BS_PUSHBUTTON, WM_MOUSEMOVE, 0, 1, -1},
      {"BUTTON", BS_PUSHBUTTON, WM_MOUSELEAVE, 0, 1, -1},
      {"BUTTON", BS_PUSHBUTTON, WM_USER + 77, 0, 1, -1},
      {"BUTTON", BS_AUTOCHECKBOX, WM_PAINT, 0, 0, -1},
      {"BUTTON", BS_AUTOCHECKBOX, BM_SETCHECK, BST_CHECKED, 1, -1},
      {"BUTTON", BS_GROUPBOX, WM_PAINT, 0, 0, -1},
      {"EDIT", 0, WM_PAINT, 0, 1, -1},
      {"EDIT", 0, WM_NCPAINT, 1, 1, -1},
      {"EDIT", 0, WM_NCMOUSEMOVE, HTBORDER, 0, -1},
      {"EDIT", 0, EM_SETREADONLY, TRUE, 1, -1},
      {"EDIT", 0, WM_SETFOCUS, 0, 1, -1},
      {"COMBOBOX", CBS_DROPDOWNLIST, WM_PAINT, 0, 1, -1},
      {UPDOWN_CLASSA, 0, WM_PAINT, 0, 0, -1},
      {UPDOWN_CLASSA, 0, WM_ERASEBKGND, 0, 0, 1},
      {UPDOWN_CLASSA, 0, WM_LBUTTONUP, 0, 1, -1},
      {UPDOWN_CLASSA, 0, WM_MOUSEMOVE, 0, 1, -1},
  };
  for (const auto& c : cases) {
    HWND control = host_.Add(c.className, "x", c.style, 10, 10, 80, 24, 0);
    Probe& probe = probe_;
    probe = Probe{};
    InstallProbe(control, &probe);  // under the skin: the skin's previous procedure
    ASSERT_EQ(ControlSkin(1), 1);
    probe.received.clear();
    HDC dc = GetDC(control);
    const WPARAM wParam = (c.message == WM_ERASEBKGND) ? reinterpret_cast<WPARAM>(dc) : c.wParam;
    const LRESULT result = SendMessageA(control, c.message, wParam, 0);
    ReleaseDC(control, dc);
    EXPECT_EQ(probe.received[c.message], c.ownCalls) << c.className << " message 0x" << std::hex << c.message;
    if (c.fixedResult >= 0) {
      EXPECT_EQ(result, c.fixedResult);
    }
    ControlSkin(0);
    DestroyWindow(control);
  }
}

TEST_F(SkinFacility, DestroyedControlIsGivenBackAfterItsOwnHandling) {
  HWND button = host_.Add("BUTTON", "OK", BS_PUSHBUTTON, 10, 10, 80, 30);
  host_.Add("BUTTON", "Other", BS_PUSHBUTTON, 10, 50, 80, 30);
  Probe& probe = probe_;
  InstallProbe(button, &probe);
  ASSERT_EQ(ControlSkin(1), 1);
  EXPECT_EQ(SkinnedControlCount(), foreign_ + 2);
  DestroyWindow(button);
  EXPECT_EQ(probe.received[WM_DESTROY], 1);
  EXPECT_EQ(probe.countAtDestroy, foreign_ + 2) << "record still held during the control's own WM_DESTROY";
  EXPECT_EQ(SkinnedControlCount(), foreign_ + 1);
}

TEST_F(SkinFacility, ControlDestroyedWhileHandlingAPaintedMessage) {
  // The control's own handling of BM_SETSTATE destroys it; the skin must not paint a freed
  // record afterwards.
  HWND button = host_.Add("BUTTON", "OK", BS_PUSHBUTTON, 10, 10, 80, 30);
  Probe& probe = probe_;
  probe.destroyOn = BM_SETSTATE;
  InstallProbe(button, &probe);
  ASSERT_EQ(ControlSkin(1), 1);
  EXPECT_EQ(SkinnedControlCount(), foreign_ + 1);
  SendMessageA(button, BM_SETSTATE, TRUE, 0);
  EXPECT_FALSE(IsWindow(button));
  EXPECT_EQ(SkinnedControlCount(), foreign_);
}

TEST_F(SkinFacility, ProcedureReplacedAfterTheSkinKeepsItsChain) {
  HWND button = host_.Add("BUTTON", "OK", BS_PUSHBUTTON, 10, 10, 80, 30);
  ASSERT_EQ(ControlSkin(1), 1);
  Probe& probe = probe_;
  InstallProbe(button, &probe);  // over the skin
  EXPECT_NE(ControlSkin(0), 0);
  EXPECT_EQ(ProcedureOf(button), ProbeProcedure) << "the later procedure is not cut out";
  EXPECT_EQ(SkinnedControlCount(), 0u);
  // Messages still travel the whole chain to the button itself.
  SendMessageA(button, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Changed"));
  char text[32] = {};
  GetWindowTextA(button, text, sizeof text);
  EXPECT_STREQ(text, "Changed");
  // On again: the same record comes back into use.
  ASSERT_EQ(ControlSkin(1), 1);
  EXPECT_EQ(SkinnedControlCount(), foreign_ + 1);
  DestroyWindow(button);
  EXPECT_EQ(SkinnedControlCount(), foreign_);
}

TEST_F(SkinFacility, FailedPaintingLeavesTheResultAlone) {
  // A zero-sized button has no bitmap to paint into: the painting fails and is ignored.
  HWND button = host_.Add("BUTTON", "OK", BS_AUTOCHECKBOX | BS_PUSHLIKE, 10, 10, 0, 0);
  ASSERT_EQ(ControlSkin(1), 1);
  SendMessageA(button, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(SendMessageA(button, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_NE(FindSkinnedControl(button), nullptr);
}

TEST_F(SkinFacility, InitialStatesAtTakeOver) {
  // Taken over while focused, disabled, default or checked: painted that way at once.
  HWND focused = host_.Add("BUTTON", "F", BS_PUSHBUTTON, 10, 10, 80, 30);
  HWND disabled = host_.Add("BUTTON", "D", BS_PUSHBUTTON | WS_DISABLED, 10, 50, 80, 30);
  HWND checked = host_.Add("BUTTON", "C", BS_AUTOCHECKBOX | BS_PUSHLIKE, 10, 90, 80, 30);
  HWND readOnly = host_.Add("EDIT", "R", ES_READONLY, 10, 130, 80, 24, WS_EX_CLIENTEDGE);
  SendMessageA(checked, BM_SETCHECK, BST_CHECKED, 0);
  SetFocus(focused);
  testing::Pump();
  ASSERT_EQ(ControlSkin(1), 1);
  const StyleColours& colours = ColoursOfStyle(1);
  EXPECT_TRUE(testing::Near(Snapshot(focused).At(40, 2), colours.pushButton[kEdgeFocused].topLeft, 3));
  EXPECT_EQ(Snapshot(disabled).At(40, 2), fixed_colours::kDisabledFace);
  EXPECT_TRUE(testing::Near(Snapshot(checked).At(40, 4), testing::TopRowColour(colours.pushButton[kFacePressed], 4, 76, 40), 3));
  EXPECT_EQ(Snapshot(readOnly).At(1, 1), GetSysColor(COLOR_BTNFACE));
}

}  // namespace
}  // namespace tolvane::skin
