#include "save/save_dialog.h"

#include <cstring>

namespace tolvane::save {
namespace {

// In code page 936 a byte of 0x81..0xFE starts a two-byte character whose second byte may be
// any of 0x40..0xFE, a backslash (0x5C) included.
bool IsLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

bool IsWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// Filter text "JPG图片(*.jpg)|*.jpg".
constexpr char kSaveFilter[] = "JPG\xCD\xBC\xC6\xAC(*.jpg)|*.jpg";

const CommonDialogSettings kSaveDialogSettings = {
    DialogType::kSaveFile,
    "",
    kSaveFilter,
    0,
    "",
    ".jpg",
    /*promptToCreate=*/false,
    /*fileMustExist=*/true,
    /*confirmOverwrite=*/true,
    /*folderMustExist=*/true,
    /*restoreCurrentDirectory=*/false,
};

}  // namespace

const CommonDialogSettings& SaveDialogSettings() { return kSaveDialogSettings; }

Bytes ConvertFilterText(const char* filter) {
  std::size_t length = filter ? std::strlen(filter) : 0;
  while (length > 0 && IsWhiteSpace(filter[length - 1])) --length;
  if (length == 0) return Bytes();
  bool endsInDoubleBar = length >= 2 && filter[length - 1] == '|' && filter[length - 2] == '|';
  std::size_t size = length + (endsInDoubleBar ? 0 : 2);
  auto* block = static_cast<std::uint8_t*>(AllocateBlock(size));
  std::memcpy(block, filter, length);
  if (!endsInDoubleBar) {
    block[length] = '|';
    block[length + 1] = '|';
  }
  for (std::size_t i = 0; i < size; ++i) {
    if (block[i] == '|') block[i] = 0;
  }
  return Bytes::Adopt(block, size);
}

int FilterIndex(const CommonDialogSettings& settings) {
  Bytes filter = ConvertFilterText(settings.filter);
  if (filter.empty()) return 0;
  return (settings.initialFilter < 0 ? 0 : settings.initialFilter) + 1;
}

std::uint32_t SaveDialogFlags(const CommonDialogSettings& settings) {
  std::uint32_t flags = kOfnHideReadOnly | kOfnEnableHook | kOfnExplorer | kOfnEnableSizing;
  if (settings.confirmOverwrite) flags |= kOfnOverwritePrompt;
  if (settings.folderMustExist) flags |= kOfnPathMustExist;
  if (settings.promptToCreate) flags |= kOfnCreatePrompt;
  if (settings.restoreCurrentDirectory) flags |= kOfnNoChangeDir;
  return flags;
}

std::size_t WholeCharacterPrefix(const char* text, std::size_t length, std::size_t limit) {
  std::size_t position = 0;
  while (position < length) {
    std::size_t step =
        IsLeadByte(static_cast<unsigned char>(text[position])) && position + 1 < length ? 2 : 1;
    if (position + step > limit) break;
    position += step;
  }
  return position;
}

void FillFileBuffer(const Text& fileName, char (&buffer)[kFileBufferSize]) {
  std::memset(buffer, 0, kFileBufferSize);
  std::size_t length = WholeCharacterPrefix(fileName.c_str(), fileName.size(), kFileBufferSize - 1);
  std::memcpy(buffer, fileName.c_str(), length);
}

Text FolderOfPath(const char* path) {
  if (!path) return Text();
  std::size_t length = std::strlen(path);
  std::size_t separator = length;  // none yet
  for (std::size_t i = 0; i < length;) {
    unsigned char byte = static_cast<unsigned char>(path[i]);
    if (IsLeadByte(byte) && i + 1 < length) {
      i += 2;
      continue;
    }
    if (byte == '\\' || byte == '/') separator = i;
    ++i;
  }
  if (separator == length) return Text();
  // A root keeps its separator: "C:" alone would name the drive's current folder.
  if (separator == 0 || path[separator - 1] == ':') return Text::Copy(path, separator + 1);
  return Text::Copy(path, separator);
}

}  // namespace tolvane::save
