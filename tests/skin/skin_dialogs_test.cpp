// The system's own dialogs, opened while the skin is on: their controls are taken over by the
// creation hook and painted in the skin's look. Each dialog is inspected and closed from a
// timer that runs inside its modal loop.
#include <windows.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/skin/control_skin.h"
#include "app/skin/skinned_control.h"
#include "tests/skin/skin_test_window.h"

namespace tolvane::skin {
namespace {

using testing::HostWindow;
using testing::Snapshot;

struct DialogFindings {
  HWND dialog = nullptr;
  int pushButtons = 0;         // visible push buttons of the dialog
  int skinnedPushButtons = 0;  // of those, taken over and painted with the style's ring
  int comboBoxes = 0;
  int skinnedComboBoxes = 0;
  std::vector<std::string> problems;
  int ticks = 0;
};
DialogFindings* g_findings = nullptr;

BOOL CALLBACK FindDialog(HWND window, LPARAM) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) == "#32770" && IsWindowVisible(window)) {
    g_findings->dialog = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK InspectControl(HWND window, LPARAM) {
  DialogFindings& f = *g_findings;
  if (!IsWindowVisible(window)) return TRUE;
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  const std::string className = name;
  const auto style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
  if (className == "Button" && (style & 0x1F) <= BS_DEFPUSHBUTTON) {
    char text[64] = {};
    GetWindowTextA(window, text, sizeof text);
    if (!text[0]) return TRUE;
    ++f.pushButtons;
    RECT r{};
    GetWindowRect(window, &r);
    const Snapshot shot(window);
    const Colour ring = shot.At((r.right - r.left) / 2, 1);
    const bool disabled = !IsWindowEnabled(window);
    const Colour expected = disabled ? ButtonFaceMinus(GetSysColor(COLOR_BTNFACE), kDarken32)
                                     : ColoursOfStyle(1).pushButtonBorder;
    if (FindSkinnedControl(window) && ring == expected) {
      ++f.skinnedPushButtons;
    } else {
      f.problems.push_back(std::string("button '") + text + "' ring " + testing::Describe(ring));
    }
  }
  if (className == "ComboBox" && (style & 3) != CBS_SIMPLE) {
    ++f.comboBoxes;
    if (FindSkinnedControl(window) && Snapshot(window).At(0, 0) == ColoursOfStyle(1).frame) {
      ++f.skinnedComboBoxes;
    }
  }
  return TRUE;
}

// Waits for the dialog to be up and painted, inspects it, then cancels it.
void CALLBACK InspectAndClose(HWND, UINT, UINT_PTR timer, DWORD) {
  if (!g_findings) {  // a test that ended early: never touch the next test's findings
    KillTimer(nullptr, timer);
    return;
  }
  DialogFindings& f = *g_findings;
  ++f.ticks;
  EnumThreadWindows(GetCurrentThreadId(), FindDialog, 0);
  if (!f.dialog) {
    if (f.ticks > 100) KillTimer(nullptr, timer);  // never appeared: the test fails on it
    return;
  }
  if (f.ticks < 3) return;  // let it paint
  KillTimer(nullptr, timer);
  EnumChildWindows(f.dialog, InspectControl, 0);
  PostMessageA(f.dialog, WM_COMMAND, IDCANCEL, 0);
  PostMessageA(f.dialog, WM_CLOSE, 0, 0);
}

class SkinDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(ControlSkin(1), 1);
    // Nothing left from earlier tests may end the dialog's modal loop at once: a quit
    // message in the queue, or a posted command.
    testing::Pump();
    g_findings = &findings_;
    timer_ = SetTimer(nullptr, 0, 100, InspectAndClose);
    ASSERT_NE(timer_, 0u);
  }
  void TearDown() override {
    // A dialog that returned before the timer saw it leaves the timer running; it must not
    // fire into a later test.
    if (timer_) KillTimer(nullptr, timer_);
    g_findings = nullptr;
    ControlSkin(0);
  }
  // What the dialog call returned and the window state, for a failure's message.
  std::string Circumstances(INT_PTR returned) const {
    char text[160];
    std::snprintf(text, sizeof text, "returned %lld, last error %lu, host %s, ticks %d",
                  static_cast<long long>(returned), GetLastError(),
                  IsWindow(host_.get()) ? "alive" : "gone", findings_.ticks);
    return text;
  }
  UINT_PTR timer_ = 0;
  HostWindow host_;
  DialogFindings findings_;
};

TEST_F(SkinDialogs, MessageBoxOkButton) {
  SetLastError(0);
  const int returned =
      MessageBoxA(host_.get(), "\xC4\xFA\xBB\xB9\xC3\xBB\xD3\xD0\xCB\xD1\xCB\xF7", "Tolvane", MB_OK);
  ASSERT_NE(findings_.dialog, nullptr) << "message box seen; " << Circumstances(returned);
  EXPECT_EQ(findings_.pushButtons, 1);
  EXPECT_EQ(findings_.skinnedPushButtons, 1) << (findings_.problems.empty() ? "" : findings_.problems[0]);
}

TEST_F(SkinDialogs, SaveDialogButtonsAndComboBoxes) {
  char file[MAX_PATH] = "avatar.jpg";
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = host_.get();
  dialog.lpstrFilter = "JPG\xCD\xBC\xC6\xAC(*.jpg)\0*.jpg\0";
  dialog.lpstrFile = file;
  dialog.nMaxFile = sizeof file;
  dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT;
  SetLastError(0);
  const BOOL saved = GetSaveFileNameA(&dialog);
  EXPECT_FALSE(saved);  // cancelled
  ASSERT_NE(findings_.dialog, nullptr) << "save dialog seen; " << Circumstances(saved)
                                       << ", dialog error " << CommDlgExtendedError();
  EXPECT_GE(findings_.pushButtons, 2);
  EXPECT_EQ(findings_.skinnedPushButtons, findings_.pushButtons)
      << (findings_.problems.empty() ? "" : findings_.problems[0]);
  EXPECT_GE(findings_.comboBoxes, 1);
  EXPECT_EQ(findings_.skinnedComboBoxes, findings_.comboBoxes);
}

}  // namespace
}  // namespace tolvane::skin
