#pragma once
// Writing the saved picture: the bytes go to a new file beside the target, which replaces the
// target only once every byte is on disk, so a failed write never costs the old file.
#include <cstddef>
#include <cstdint>

#include "base/text.h"

namespace tolvane::save {

// The file operations the replacement needs. The Win32 implementation is in
// win32_file_operations.h; tests put failing ones in its place.
class FileOperations {
 public:
  virtual ~FileOperations() = default;
  // Creates a new, empty file in the folder of `target` and opens it for writing; returns its
  // name, null when it cannot be created.
  virtual Text CreateFileBeside(const Text& target) = 0;
  // Writes all `size` bytes to the open file; false when any of them could not be written.
  virtual bool Write(const std::uint8_t* data, std::size_t size) = 0;
  // Pushes the written bytes to the disk.
  virtual bool Flush() = 0;
  // Closes the open file.
  virtual bool Close() = 0;
  // Moves `from` over `to`, replacing `to` if it exists.
  virtual bool MoveReplacing(const Text& from, const Text& to) = 0;
  virtual void Delete(const Text& name) = 0;
};

// Creates or replaces the file `fileName` with exactly `bytes` (empty bytes: a file of length
// 0). False when the name is empty or any step fails; then an existing file of that name is
// unchanged and no new file is left behind.
bool WriteFileBytes(FileOperations& files, const Text& fileName, const Bytes& bytes);

}  // namespace tolvane::save
