#pragma once
// FileOperations on Win32 files, and WriteFileBytes with them.
#include <windows.h>

#include "save/write_file.h"

namespace tolvane::save {

class Win32FileOperations : public FileOperations {
 public:
  ~Win32FileOperations() override;
  Text CreateFileBeside(const Text& target) override;
  bool Write(const std::uint8_t* data, std::size_t size) override;
  bool Flush() override;
  bool Close() override;
  bool MoveReplacing(const Text& from, const Text& to) override;
  void Delete(const Text& name) override;

 private:
  HANDLE file_ = INVALID_HANDLE_VALUE;
};

// WriteFileBytes with the Win32 file operations.
bool WriteFileBytes(const Text& fileName, const Bytes& bytes);

}  // namespace tolvane::save
