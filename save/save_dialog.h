#pragma once
// The settings of the save dialog component (通用对话框1) and the values handed to the
// platform's save dialog that are worked out from them. Portable: the flag values are the
// common dialog library's (commdlg.h) so that the arithmetic can be tested anywhere.
#include <cstddef>
#include <cstdint>

#include "base/text.h"

namespace tolvane::save {

enum class DialogType { kOpenFile = 0, kSaveFile = 1, kFont = 2, kHelp = 3 };

struct CommonDialogSettings {
  DialogType type;
  const char* title;             // empty: the platform's default title
  const char* filter;            // "description|pattern|..."
  int initialFilter;             // counts from 0
  const char* initialFolder;     // empty: the platform's choice
  const char* defaultExtension;  // handed over as stored, dot included
  bool promptToCreate;
  bool fileMustExist;
  bool confirmOverwrite;
  bool folderMustExist;
  bool restoreCurrentDirectory;
};

// The settings of 通用对话框1.
const CommonDialogSettings& SaveDialogSettings();

// Option flags of the common dialog library.
constexpr std::uint32_t kOfnOverwritePrompt = 0x00000002;
constexpr std::uint32_t kOfnHideReadOnly = 0x00000004;
constexpr std::uint32_t kOfnNoChangeDir = 0x00000008;
constexpr std::uint32_t kOfnEnableHook = 0x00000020;
constexpr std::uint32_t kOfnPathMustExist = 0x00000800;
constexpr std::uint32_t kOfnFileMustExist = 0x00001000;
constexpr std::uint32_t kOfnCreatePrompt = 0x00002000;
constexpr std::uint32_t kOfnExplorer = 0x00080000;
constexpr std::uint32_t kOfnEnableSizing = 0x00800000;

// The size of the dialog's file buffer; at most one byte less reaches the dialog.
constexpr std::size_t kFileBufferSize = 260;
constexpr std::size_t kFileTitleBufferSize = 64;

// The stored "a|b|c|d" filter as the dialog wants it: trailing white space removed, "||"
// appended unless already there, every "|" turned into a zero byte. Null when the filter is
// empty (or white space only).
Bytes ConvertFilterText(const char* filter);

// The 1-based filter index: the stored initial filter plus 1 (negative counts as 0), or 0 when
// there is no filter text.
int FilterIndex(const CommonDialogSettings& settings);

// The dialog's option flags. The file-must-exist setting is kept as data but never passed:
// with a save dialog that flag would refuse every new file name.
std::uint32_t SaveDialogFlags(const CommonDialogSettings& settings);

// Fills the dialog's file buffer: the file name cut to at most kFileBufferSize - 1 bytes at a
// whole character (GBK), zeros after it.
void FillFileBuffer(const Text& fileName, char (&buffer)[kFileBufferSize]);

// The folder part of a path, without the separator, for the ANSI code page 936: a backslash
// or slash counts only where it is a character of its own, not the second byte of a GBK
// character. A root keeps its separator ("C:\\", "\\"). Empty when the path has none.
Text FolderOfPath(const char* path);

// Length in bytes of the longest prefix of `text` (of `length` bytes) that is no longer than
// `limit` and does not end in the middle of a GBK double-byte character.
std::size_t WholeCharacterPrefix(const char* text, std::size_t length, std::size_t limit);

}  // namespace tolvane::save
