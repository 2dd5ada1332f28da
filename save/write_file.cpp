#include "save/write_file.h"

namespace tolvane::save {

bool WriteFileBytes(FileOperations& files, const Text& fileName, const Bytes& bytes) {
  if (fileName.empty()) return false;
  Text temporary = files.CreateFileBeside(fileName);
  if (temporary.empty()) return false;
  bool written = bytes.empty() || files.Write(bytes.data(), bytes.size());
  bool flushed = written && files.Flush();
  bool closed = files.Close();
  if (written && flushed && closed && files.MoveReplacing(temporary, fileName)) return true;
  files.Delete(temporary);
  return false;
}

}  // namespace tolvane::save
