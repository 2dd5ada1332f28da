#pragma once
// The part of the main window that the search handler needs: the typed user name and the
// picture box. The window implements it; lookup/ never sees the window itself.
#include "base/text.h"

namespace tolvane::lookup {

class SearchView {
 public:
  virtual ~SearchView() = default;
  // The content of the name edit box (编辑框1): a new Text, null when the box is empty.
  virtual Text GetUserName() = 0;
  // Hands the downloaded bytes to the picture box (图片框1), which copies them; empty bytes
  // clear the picture.
  virtual void SetPicture(const Bytes& picture) = 0;
};

}  // namespace tolvane::lookup
