// The search handler end to end: real FetchUrl against the stand-in forum server, run by
// run_with_forum.sh (member pages and pictures are its fixtures, named by the hex of the
// member name's bytes).
#include "lookup/avatar_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tolvane::lookup {
namespace {

class RecordingView : public SearchView {
 public:
  explicit RecordingView(std::string name) : name_(std::move(name)) {}
  Text GetUserName() override {
    return name_.empty() ? Text() : Text::Copy(name_.data(), name_.size());
  }
  void SetPicture(const Bytes& picture) override {
    pictures.emplace_back(reinterpret_cast<const char*>(picture.data()), picture.size());
  }
  std::vector<std::string> pictures;

 private:
  std::string name_;
};

TEST(AvatarSearchEndToEndTest, SearchesInARow) {
  struct Case {
    const char* name;
    std::string userName;
    const char* address;
    const char* picture;
  } cases[] = {
      {"GBK name reaches the server as typed", "\xB0\xD9\xB6\xC8",
       "http://pictures.tolvane.test/p/gbk.bin", "picture gbk\n"},
      {"markers in capitals", "abc", "http://tb.himg.baidu.com/p/abc.bin", "picture abc\n"},
      {"missing marker clears the previous search", "none", "", ""},
      {"\"#\" cuts the name", "ab#c", "http://tb.himg.baidu.com/p/ab.bin", "picture ab\n"},
      {"zero byte before the avatar", "zero", "", ""},
      {"empty name asks for un=", "", "http://tb.himg.baidu.com/p/empty.bin", "picture empty\n"},
      {"picture over https", "two", "https://tieba.baidu.com/p/two.bin", "picture two\n"},
      {"avatar address without a scheme", "broken", "//tb.himg.baidu.com/p/abc.bin", ""},
      {"unknown member (404 page)", "nosuchmember", "", ""},
      {"avatar after 3 MB of page", "big", "http://tb.himg.baidu.com/p/big.bin",
       "picture big\n"},
  };
  for (const auto& c : cases) {
    RecordingView view(c.userName);
    OnSearchClicked(view);
    EXPECT_STREQ(AvatarAddress().c_str(), c.address) << c.name;
    ASSERT_EQ(view.pictures.size(), 1u) << c.name;
    EXPECT_EQ(view.pictures[0], c.picture) << c.name;
  }
  ReleaseAvatarAddress();
  EXPECT_TRUE(AvatarAddress().is_null());
}

}  // namespace
}  // namespace tolvane::lookup
