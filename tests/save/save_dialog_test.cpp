#include "save/save_dialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace tolvane::save {
namespace {

std::string AsString(const Bytes& bytes) {
  return bytes.empty() ? std::string() : std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

TEST(ConvertFilterTextTest, TurnsBarsIntoZerosEndingInTwo) {
  struct Case {
    const char* filter;
    std::string expected;
  } cases[] = {
      {"JPG\xCD\xBC\xC6\xAC(*.jpg)|*.jpg", std::string("JPG\xCD\xBC\xC6\xAC(*.jpg)\0*.jpg\0\0", 22)},
      {"a|*.a||", std::string("a\0*.a\0\0", 7)},
      {"a|*.a  \t\r\n", std::string("a\0*.a\0\0", 7)},
      {"a|*.a|b|*.b", std::string("a\0*.a\0b\0*.b\0\0", 13)},
      {"a|*.a|", std::string("a\0*.a\0\0\0", 8)},  // one bar at the end is not "||"
      {"", std::string()},
      {"   ", std::string()},
      {nullptr, std::string()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.filter ? c.filter : "(null)");
    EXPECT_EQ(AsString(ConvertFilterText(c.filter)), c.expected);
  }
}

TEST(SaveDialogSettingsTest, HoldsTheStoredSettings) {
  const CommonDialogSettings& s = SaveDialogSettings();
  EXPECT_EQ(s.type, DialogType::kSaveFile);
  EXPECT_STREQ(s.title, "");
  EXPECT_STREQ(s.filter, "JPG\xCD\xBC\xC6\xAC(*.jpg)|*.jpg");
  EXPECT_EQ(s.initialFilter, 0);
  EXPECT_STREQ(s.initialFolder, "");
  EXPECT_STREQ(s.defaultExtension, ".jpg");
  EXPECT_FALSE(s.promptToCreate);
  EXPECT_TRUE(s.fileMustExist);  // kept as data, never passed on
  EXPECT_TRUE(s.confirmOverwrite);
  EXPECT_TRUE(s.folderMustExist);
  EXPECT_FALSE(s.restoreCurrentDirectory);
}

TEST(SaveDialogFlagsTest, PassesTheListedFlagsButNotFileMustExist) {
  std::uint32_t flags = SaveDialogFlags(SaveDialogSettings());
  EXPECT_EQ(flags, kOfnHideReadOnly | kOfnOverwritePrompt | kOfnPathMustExist | kOfnEnableHook |
                       kOfnExplorer | kOfnEnableSizing);
  EXPECT_EQ(flags & kOfnFileMustExist, 0u);

  CommonDialogSettings other = SaveDialogSettings();
  other.confirmOverwrite = false;
  other.folderMustExist = false;
  other.promptToCreate = true;
  other.restoreCurrentDirectory = true;
  EXPECT_EQ(SaveDialogFlags(other), kOfnHideReadOnly | kOfnEnableHook | kOfnExplorer |
                                        kOfnEnableSizing | kOfnCreatePrompt | kOfnNoChangeDir);
}

TEST(FilterIndexTest, CountsFromOneAndIsZeroWithoutFilter) {
  struct Case {
    const char* filter;
    int initial;
    int expected;
  } cases[] = {{"a|*.a", 0, 1}, {"a|*.a", 2, 3}, {"a|*.a", -5, 1}, {"", 0, 0}, {" ", 3, 0}};
  for (const Case& c : cases) {
    CommonDialogSettings settings = SaveDialogSettings();
    settings.filter = c.filter;
    settings.initialFilter = c.initial;
    EXPECT_EQ(FilterIndex(settings), c.expected) << c.filter << " " << c.initial;
  }
}

TEST(FillFileBufferTest, PrefillsAtMost259BytesAtAWholeCharacter) {
  char buffer[kFileBufferSize];
  std::memset(buffer, 'x', sizeof(buffer));
  FillFileBuffer(Text::FromCString("C:\\a\\b.jpg"), buffer);
  EXPECT_STREQ(buffer, "C:\\a\\b.jpg");
  for (std::size_t i = 10; i < kFileBufferSize; ++i) ASSERT_EQ(buffer[i], 0) << i;

  FillFileBuffer(Text(), buffer);
  EXPECT_STREQ(buffer, "");

  std::string ascii(300, 'a');
  FillFileBuffer(Text::Copy(ascii.data(), ascii.size()), buffer);
  EXPECT_EQ(std::strlen(buffer), 259u);

  // 258 ASCII bytes then a double-byte character: the character does not fit whole.
  std::string mixed = std::string(258, 'a') + "\xCD\xBC";
  FillFileBuffer(Text::Copy(mixed.data(), mixed.size()), buffer);
  EXPECT_EQ(std::strlen(buffer), 258u);
}

TEST(FolderOfPathTest, CutsAtTheLastSeparatorThatIsACharacter) {
  struct Case {
    const char* path;
    const char* folder;
  } cases[] = {
      {"C:\\Program Files\\Tolvane\\tolvane.exe", "C:\\Program Files\\Tolvane"},
      {"C:\\tolvane.exe", "C:\\"},
      {"\\tolvane.exe", "\\"},
      {"tolvane.exe", ""},
      {"", ""},
      {"/tmp/x/a.jpg", "/tmp/x"},
      // 0x5C as the second byte of a GBK character is not a separator.
      {"C:\\d\\\x95\\\\x.jpg", "C:\\d\\\x95\\"},
      {"C:\\d\\\x95\\x.jpg", "C:\\d"},
      {"C:\\d\\\x95\\", "C:\\d"},
      {"\\\\server\\share\\a.jpg", "\\\\server\\share"},
  };
  for (const Case& c : cases) {
    EXPECT_STREQ(FolderOfPath(c.path).c_str(), c.folder) << c.path;
  }
  EXPECT_TRUE(FolderOfPath(nullptr).empty());
}

}  // namespace
}  // namespace tolvane::save
