#include "save/save_as.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tolvane::save {
namespace {

class FakeSaveAsView : public SaveAsView {
 public:
  bool hasAddress = false;
  bool dialogConfirms = true;
  std::string dialogPath = "C:\\users\\a.jpg";
  std::string fileName;  // the confirmed name
  std::string picture;
  std::vector<std::string> calls;
  std::string messageText;
  std::uint32_t messageButtons = 99;
  std::string writtenName;
  std::string writtenBytes;

  bool HasAvatarAddress() override { return hasAddress; }
  void ShowMessage(const char* text, std::uint32_t buttons) override {
    calls.push_back("message");
    messageText = text;
    messageButtons = buttons;
  }
  bool ShowFileDialog() override {
    calls.push_back("dialog");
    if (dialogConfirms) fileName = dialogPath;
    return dialogConfirms;
  }
  Text GetFileName() override { return Text::FromCString(fileName.c_str()); }
  Bytes GetPicture() override { return Bytes::Copy(picture.data(), picture.size()); }
  bool WriteFileBytes(const Text& name, const Bytes& bytes) override {
    calls.push_back("write");
    writtenName = name.c_str();
    writtenBytes.assign(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return true;
  }
};

TEST(OnSaveAsClickedTest, WithoutAnAddressOnlyTellsTheUser) {
  FakeSaveAsView view;
  view.picture = "bytes of an earlier picture";
  OnSaveAsClicked(view);
  EXPECT_EQ(view.calls, std::vector<std::string>{"message"});
  EXPECT_EQ(view.messageText, "\xC4\xFA\xBB\xB9\xC3\xBB\xD3\xD0\xCB\xD1\xCB\xF7");  // 您还没有搜索
  EXPECT_EQ(view.messageButtons, 0u);
}

TEST(OnSaveAsClickedTest, CancelledDialogWritesNothing) {
  FakeSaveAsView view;
  view.hasAddress = true;
  view.dialogConfirms = false;
  OnSaveAsClicked(view);
  EXPECT_EQ(view.calls, std::vector<std::string>{"dialog"});
}

TEST(OnSaveAsClickedTest, ConfirmedDialogWritesThePictureUnderTheChosenName) {
  struct Case {
    std::string picture;
  } cases[] = {{std::string("\x89PNG\r\n\x1A\n\0\0", 10)}, {"<html>not a picture</html>"}, {""}};
  for (const Case& c : cases) {
    FakeSaveAsView view;
    view.hasAddress = true;
    view.picture = c.picture;
    OnSaveAsClicked(view);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"dialog", "write"}));
    EXPECT_EQ(view.writtenName, "C:\\users\\a.jpg");
    EXPECT_EQ(view.writtenBytes, c.picture);
  }
}

}  // namespace
}  // namespace tolvane::save
