#pragma once
// The handler of 按钮2 ("另存为"): writes the picture of the last search to a file the user
// picks. It sees the window only through the narrow view below.
#include <cstdint>

#include "base/text.h"

namespace tolvane::save {

// What Save As needs of the window; the main window implements it.
class SaveAsView {
 public:
  virtual ~SaveAsView() = default;
  // Whether the last search left an avatar address (avatarAddress not empty).
  virtual bool HasAvatarAddress() = 0;
  // Shows a message box with `text` and the given button/style value; waits until it closes.
  virtual void ShowMessage(const char* text, std::uint32_t buttons) = 0;
  // Shows the save dialog of 通用对话框1; true when the user confirmed a file.
  virtual bool ShowFileDialog() = 0;
  // A new copy of 通用对话框1's file name (null when none was confirmed yet).
  virtual Text GetFileName() = 0;
  // A new copy of 图片框1's bytes (null when none).
  virtual Bytes GetPicture() = 0;
  // Creates or replaces the file with exactly these bytes.
  virtual bool WriteFileBytes(const Text& fileName, const Bytes& bytes) = 0;
};

// "您还没有搜索": the message when there is nothing to save.
extern const char kNotSearchedMessage[];

void OnSaveAsClicked(SaveAsView& view);

}  // namespace tolvane::save
