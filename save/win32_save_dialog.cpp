#include "save/win32_save_dialog.h"

#include <commdlg.h>

#include <cstring>

namespace tolvane::save {
namespace {

// The explorer-style dialog calls this for its own child dialog; nothing is changed.
UINT_PTR CALLBACK SaveDialogHook(HWND, UINT, WPARAM, LPARAM) { return 0; }

using GetSaveFileNameFunction = BOOL(WINAPI*)(OPENFILENAMEA*);

// The common dialog library, and the shell libraries it loads with it, are loaded on the first
// save: most runs never save, and they cost start-up time and memory.
GetSaveFileNameFunction SaveFileNameDialog() {
  static const GetSaveFileNameFunction function = [] {
    HMODULE library = LoadLibraryA("comdlg32.dll");
    FARPROC found = library ? GetProcAddress(library, "GetSaveFileNameA") : nullptr;
    return reinterpret_cast<GetSaveFileNameFunction>(reinterpret_cast<void*>(found));
  }();
  return function;
}

}  // namespace

// 信息：
const char kDefaultMessageTitle[] = "\xD0\xC5\xCF\xA2\xA3\xBA";

bool SaveDialog::Show(HWND owner) {
  Bytes filter = ConvertFilterText(settings_.filter);
  char file[kFileBufferSize];
  FillFileBuffer(fileName_, file);
  char fileTitle[kFileTitleBufferSize] = {};

  OPENFILENAMEA dialog;
  std::memset(&dialog, 0, sizeof(dialog));
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.empty() ? nullptr : reinterpret_cast<const char*>(filter.data());
  dialog.nFilterIndex = static_cast<DWORD>(FilterIndex(settings_));
  dialog.lpstrFile = file;
  dialog.nMaxFile = kFileBufferSize;
  dialog.lpstrFileTitle = fileTitle;
  dialog.nMaxFileTitle = kFileTitleBufferSize;
  dialog.lpstrInitialDir = *settings_.initialFolder ? settings_.initialFolder : nullptr;
  dialog.lpstrTitle = *settings_.title ? settings_.title : nullptr;
  dialog.lpstrDefExt = *settings_.defaultExtension ? settings_.defaultExtension : nullptr;
  dialog.Flags = SaveDialogFlags(settings_);
  dialog.lpfnHook = &SaveDialogHook;

  GetSaveFileNameFunction getSaveFileName = SaveFileNameDialog();
  if (!getSaveFileName || !getSaveFileName(&dialog)) return false;
  file[kFileBufferSize - 1] = 0;
  fileName_ = Text::FromCString(file);
  return true;
}

int ShowMessage(const char* text, std::uint32_t buttons, const char* title) {
  UINT style = buttons;
  if (!(style & MB_SYSTEMMODAL)) style |= MB_TASKMODAL;
  return MessageBoxA(nullptr, text, title && *title ? title : kDefaultMessageTitle, style);
}

}  // namespace tolvane::save
