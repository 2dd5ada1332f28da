#include "save/write_file.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace tolvane::save {
namespace {

// An in-memory folder whose operations can be made to fail one at a time.
class FakeFiles : public FileOperations {
 public:
  enum class Failure { kNone, kCreate, kWrite, kFlush, kClose, kMove };

  std::map<std::string, std::string> files;
  Failure failure = Failure::kNone;
  bool open = false;

  Text CreateFileBeside(const Text& target) override {
    if (failure == Failure::kCreate) return Text();
    std::string name = std::string(target.c_str()) + ".new" + std::to_string(counter_++);
    files[name] = "";
    current_ = name;
    open = true;
    return Text::FromCString(name.c_str());
  }
  bool Write(const std::uint8_t* data, std::size_t size) override {
    // A failing write leaves part of the bytes behind, as a full disk does.
    std::size_t taken = failure == Failure::kWrite ? size / 2 : size;
    files[current_].append(reinterpret_cast<const char*>(data), taken);
    return failure != Failure::kWrite;
  }
  bool Flush() override { return failure != Failure::kFlush; }
  bool Close() override {
    open = false;
    return failure != Failure::kClose;
  }
  bool MoveReplacing(const Text& from, const Text& to) override {
    if (failure == Failure::kMove) return false;
    files[to.c_str()] = files[from.c_str()];
    files.erase(from.c_str());
    return true;
  }
  void Delete(const Text& name) override { files.erase(name.c_str()); }

 private:
  std::string current_;
  int counter_ = 0;
};

Bytes BytesOf(const std::string& s) { return Bytes::Copy(s.data(), s.size()); }

TEST(WriteFileBytesTest, CreatesOrReplacesWithExactlyTheBytes) {
  FakeFiles files;
  std::string picture("\xFF\xD8\x00\x01jpeg", 8);
  ASSERT_TRUE(WriteFileBytes(files, Text::FromCString("a.jpg"), BytesOf(picture)));
  EXPECT_EQ(files.files, (std::map<std::string, std::string>{{"a.jpg", picture}}));

  files.files["b.jpg"] = std::string(1000, 'o');
  ASSERT_TRUE(WriteFileBytes(files, Text::FromCString("b.jpg"), BytesOf("new")));
  EXPECT_EQ(files.files["b.jpg"], "new");  // the old length does not survive
  EXPECT_EQ(files.files.size(), 2u);
  EXPECT_FALSE(files.open);
}

TEST(WriteFileBytesTest, EmptyBytesGiveAnEmptyFile) {
  FakeFiles files;
  files.files["a.jpg"] = "old";
  ASSERT_TRUE(WriteFileBytes(files, Text::FromCString("a.jpg"), Bytes()));
  EXPECT_EQ(files.files, (std::map<std::string, std::string>{{"a.jpg", ""}}));
}

TEST(WriteFileBytesTest, EmptyNameCreatesNothing) {
  FakeFiles files;
  EXPECT_FALSE(WriteFileBytes(files, Text(), BytesOf("x")));
  EXPECT_FALSE(WriteFileBytes(files, Text::FromCString(""), BytesOf("x")));
  EXPECT_TRUE(files.files.empty());
}

TEST(WriteFileBytesTest, AnyFailureKeepsTheOldFileAndLeavesNothingNew) {
  using Failure = FakeFiles::Failure;
  for (Failure failure :
       {Failure::kCreate, Failure::kWrite, Failure::kFlush, Failure::kClose, Failure::kMove}) {
    SCOPED_TRACE(static_cast<int>(failure));
    FakeFiles files;
    files.files["a.jpg"] = "old picture";
    files.failure = failure;
    EXPECT_FALSE(WriteFileBytes(files, Text::FromCString("a.jpg"), BytesOf("new picture bytes")));
    EXPECT_EQ(files.files, (std::map<std::string, std::string>{{"a.jpg", "old picture"}}));
    EXPECT_FALSE(files.open);
  }
}

}  // namespace
}  // namespace tolvane::save
