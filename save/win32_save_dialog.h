#pragma once
// The Win32 side of 通用对话框1 and of the message box: GetSaveFileNameA and MessageBoxA.
#include <windows.h>

#include <cstdint>

#include "base/text.h"
#include "save/save_dialog.h"

namespace tolvane::save {

// 通用对话框1: holds its settings and the file name, shows the platform's save dialog.
class SaveDialog {
 public:
  explicit SaveDialog(const CommonDialogSettings& settings) : settings_(settings) {}

  // Shows the dialog owned by `owner` (may be null). On OK the file name becomes the chosen
  // full path and the result is true; a cancel or a failure leaves it as it was.
  bool Show(HWND owner);
  // A new copy of the file name, null when empty.
  Text GetFileName() const { return fileName_.empty() ? Text() : fileName_.Clone(); }

 private:
  const CommonDialogSettings& settings_;
  Text fileName_;
};

// "信息：": the title a message box gets when none is given.
extern const char kDefaultMessageTitle[];

// MessageBoxA with no owner: task-modal unless `buttons` asks for system-modal; the title is
// "信息：" when `title` is null or empty. Returns the button pressed.
int ShowMessage(const char* text, std::uint32_t buttons, const char* title = nullptr);

}  // namespace tolvane::save
