#include "save/save_as.h"

namespace tolvane::save {

// 您还没有搜索
const char kNotSearchedMessage[] = "\xC4\xFA\xBB\xB9\xC3\xBB\xD3\xD0\xCB\xD1\xCB\xF7";

void OnSaveAsClicked(SaveAsView& view) {
  if (!view.HasAvatarAddress()) {
    view.ShowMessage(kNotSearchedMessage, 0);
    return;
  }
  if (!view.ShowFileDialog()) return;
  Text fileName = view.GetFileName();
  Bytes picture = view.GetPicture();
  view.WriteFileBytes(fileName, picture);
}

}  // namespace tolvane::save
