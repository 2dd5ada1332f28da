// Writing real files under Win32: creation, replacement and what a failure leaves behind.
#include "save/win32_file_operations.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tolvane::save {
namespace {

class Win32FileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char base[MAX_PATH];
    ASSERT_NE(GetTempPathA(MAX_PATH, base), 0u);
    folder_ = std::string(base) + "tolvane-save-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder_.c_str(), nullptr);
  }
  void TearDown() override {
    for (const std::string& name : Listing()) {
      std::string path = folder_ + "\\" + name;
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(path.c_str());
    }
    RemoveDirectoryA(folder_.c_str());
  }

  std::string Path(const char* name) const { return folder_ + "\\" + name; }

  std::vector<std::string> Listing() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder_ + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      std::string name = found.cFileName;
      if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
  }

  static std::string Contents(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string contents;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0) contents.append(buffer, got);
    CloseHandle(file);
    return contents;
  }

  static void Put(const std::string& path, const std::string& contents) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr);
    CloseHandle(file);
  }

  static Bytes BytesOf(const std::string& s) { return Bytes::Copy(s.data(), s.size()); }

  std::string folder_;
};

TEST_F(Win32FileTest, WritesNewAndReplacesExistingFilesWhole) {
  std::string picture("\xFF\xD8\xFF\xE0\0\x10JFIF\0", 11);
  std::string fresh = Path("new.jpg");
  ASSERT_TRUE(WriteFileBytes(Text::FromCString(fresh.c_str()), BytesOf(picture)));
  EXPECT_EQ(Contents(fresh), picture);

  std::string existing = Path("old.jpg");
  Put(existing, std::string(5000, 'o'));
  ASSERT_TRUE(WriteFileBytes(Text::FromCString(existing.c_str()), BytesOf("short")));
  EXPECT_EQ(Contents(existing), "short");

  ASSERT_TRUE(WriteFileBytes(Text::FromCString(existing.c_str()), Bytes()));
  EXPECT_EQ(Contents(existing), "");
  EXPECT_EQ(Listing().size(), 2u);  // no temporary file left
}

TEST_F(Win32FileTest, NamesWithDoubleByteCharactersAndBackslashSecondBytes) {
  // "\x95\x5C" is one GBK character whose second byte is a backslash.
  std::string path = Path("\xCD\xBC\x95\x5C.jpg");
  ASSERT_TRUE(WriteFileBytes(Text::FromCString(path.c_str()), BytesOf("gbk")));
  EXPECT_EQ(Contents(path), "gbk");
  EXPECT_EQ(Listing().size(), 1u);
}

TEST_F(Win32FileTest, SavesIntoTheDeepestFolderAndIntoARoot) {
  // CreateDirectoryA takes at most MAX_PATH - 12 characters; a file in such a folder still has
  // a name below MAX_PATH, and the temporary file beside it must too.
  std::string deep = folder_ + "\\";
  deep += std::string(MAX_PATH - 13 - deep.size(), 'd');
  ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr)) << deep.size();
  // A file at the root of the drive: the folder "C:\\" keeps its one separator.
  std::string atRoot = folder_.substr(0, 3) + "tolvane-root-" + std::to_string(GetCurrentProcessId()) + ".jpg";
  for (const std::string& path : {deep + "\\a.jpg", atRoot}) {
    SCOPED_TRACE(path);
    bool saved = WriteFileBytes(Text::FromCString(path.c_str()), BytesOf("saved"));
    std::string contents = Contents(path);
    DeleteFileA(path.c_str());
    EXPECT_TRUE(saved);
    EXPECT_EQ(contents, "saved");
  }
  RemoveDirectoryA(deep.c_str());
  EXPECT_EQ(GetFileAttributesA(deep.c_str()), INVALID_FILE_ATTRIBUTES);  // nothing left in it
}

// Win32 file operations whose writes fail after half the bytes, as a full disk does.
class FailingWrites : public Win32FileOperations {
 public:
  bool Write(const std::uint8_t* data, std::size_t size) override {
    Win32FileOperations::Write(data, size / 2);
    return false;
  }
};

TEST_F(Win32FileTest, FailedWriteKeepsTheOldFileAndRemovesTheNewOne) {
  std::string existing = Path("keep.jpg");
  std::string old = std::string("old picture ") + std::string(3000, 'x');
  Put(existing, old);
  FailingWrites files;
  EXPECT_FALSE(WriteFileBytes(files, Text::FromCString(existing.c_str()),
                              BytesOf(std::string(8000, 'n'))));
  EXPECT_EQ(Contents(existing), old);
  EXPECT_EQ(Listing(), std::vector<std::string>{"keep.jpg"});
}

TEST_F(Win32FileTest, TargetsThatCannotBeWrittenChangeNothing) {
  std::string missingFolder = Path("no such folder\\a.jpg");
  EXPECT_FALSE(WriteFileBytes(Text::FromCString(missingFolder.c_str()), BytesOf("x")));

  std::string readOnly = Path("readonly.jpg");
  Put(readOnly, "protected");
  SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(WriteFileBytes(Text::FromCString(readOnly.c_str()), BytesOf("x")));
  EXPECT_EQ(Contents(readOnly), "protected");

  std::string folderItself = folder_;
  EXPECT_FALSE(WriteFileBytes(Text::FromCString(folderItself.c_str()), BytesOf("x")));

  EXPECT_FALSE(WriteFileBytes(Text(), BytesOf("x")));
  EXPECT_EQ(Listing(), std::vector<std::string>{"readonly.jpg"});
}

}  // namespace
}  // namespace tolvane::save
