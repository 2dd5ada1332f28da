#include "save/win32_file_operations.h"

#include <climits>
#include <cstdio>
#include <cstring>

#include "save/save_dialog.h"

namespace tolvane::save {

Win32FileOperations::~Win32FileOperations() { Close(); }

Text Win32FileOperations::CreateFileBeside(const Text& target) {
  Close();
  Text folder = FolderOfPath(target.c_str());
  const char* base = folder.empty() ? "." : folder.c_str();
  // Only a root keeps its separator (a trailing 0x5C may be the second byte of a character).
  std::size_t baseLength = std::strlen(base);
  bool root = (base[baseLength - 1] == '\\' || base[baseLength - 1] == '/') &&
              (baseLength == 1 || base[baseLength - 2] == ':');
  const char* separator = root ? "" : "\\";
  // GetTempFileNameA refuses folders longer than MAX_PATH - 14 characters, where a file of an
  // ordinary name still fits: a short name ("~" and four hex digits) is made here instead, and
  // the file is created only if it is new.
  SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
  DWORD seed = GetTickCount() ^ (GetCurrentProcessId() << 4);
  for (DWORD attempt = 0; attempt < 0x10000; ++attempt) {
    char name[MAX_PATH];
    int length = std::snprintf(name, sizeof(name), "%s%s~%04lx", base, separator,
                               static_cast<unsigned long>((seed + attempt) & 0xFFFF));
    if (length < 0 || static_cast<std::size_t>(length) >= sizeof(name)) return Text();
    file_ = CreateFileA(name, GENERIC_WRITE, 0, &inheritable, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                        nullptr);
    if (file_ != INVALID_HANDLE_VALUE) return Text::FromCString(name);
    DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return Text();
  }
  return Text();
}

bool Win32FileOperations::Write(const std::uint8_t* data, std::size_t size) {
  // WriteFile takes a 32-bit count: larger pictures go in pieces.
  while (size > 0) {
    DWORD piece = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(file_, data, piece, &written, nullptr) || written != piece) return false;
    data += piece;
    size -= piece;
  }
  return true;
}

bool Win32FileOperations::Flush() { return FlushFileBuffers(file_) != 0; }

bool Win32FileOperations::Close() {
  if (file_ == INVALID_HANDLE_VALUE) return true;
  bool closed = CloseHandle(file_) != 0;
  file_ = INVALID_HANDLE_VALUE;
  return closed;
}

bool Win32FileOperations::MoveReplacing(const Text& from, const Text& to) {
  // A read-only file is not to be replaced, and a folder cannot be; Windows refuses both,
  // Wine's MoveFileEx would replace a read-only file.
  DWORD attributes = GetFileAttributesA(to.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
    return false;
  }
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
         0;
}

void Win32FileOperations::Delete(const Text& name) { DeleteFileA(name.c_str()); }

bool WriteFileBytes(const Text& fileName, const Bytes& bytes) {
  Win32FileOperations files;
  return WriteFileBytes(files, fileName, bytes);
}

}  // namespace tolvane::save
