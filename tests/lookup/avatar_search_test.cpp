#include "lookup/avatar_search.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace tolvane::lookup {
namespace {

// The window's side of a search: a typed name, and the bytes the picture box was given.
class FakeView : public SearchView {
 public:
  explicit FakeView(const char* name) : name_(name) {}
  Text GetUserName() override {
    return name_ && *name_ ? Text::FromCString(name_) : Text();
  }
  void SetPicture(const Bytes& picture) override {
    pictures.emplace_back(reinterpret_cast<const char*>(picture.data()), picture.size());
  }
  std::vector<std::string> pictures;

 private:
  const char* name_;
};

// Stands in for the network: serves canned bodies by exact address and records each request.
struct FakeNetwork {
  std::map<std::string, std::string> bodies;
  std::vector<std::string> requests;
};
FakeNetwork* network = nullptr;

Bytes FakeFetch(const char* address) {
  network->requests.emplace_back(address ? address : "");
  auto found = network->bodies.find(address ? address : "");
  if (found == network->bodies.end()) return Bytes();
  return Bytes::Copy(found->second.data(), found->second.size());
}

const std::string kPrefix = "http://tieba.baidu.com/home/main?un=";

std::string AvatarPage(const std::string& address) {
  return "<html><a href=\"x\" class=\"userinfo_head\"><img src=\"" + address +
         "\"/></a></html>";
}

class AvatarSearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    network = &fake;
    ReleaseAvatarAddress();
  }
  void TearDown() override {
    ReleaseAvatarAddress();
    network = nullptr;
  }
  FakeNetwork fake;
};

TEST_F(AvatarSearchTest, Table) {
  struct Case {
    const char* name;
    const char* userName;
    std::string page;  // body served for the home page address
    const char* expectedAddress;
    const char* expectedPicture;
  } cases[] = {
      {"ASCII name", "abc", AvatarPage("http://p.test/a.jpg"), "http://p.test/a.jpg", "JPEG"},
      {"GBK name appended as typed", "\xB0\xD9\xB6\xC8", AvatarPage("http://p.test/a.jpg"),
       "http://p.test/a.jpg", "JPEG"},
      {"empty name still asks", "", AvatarPage("http://p.test/a.jpg"), "http://p.test/a.jpg",
       "JPEG"},
      {"markers in capitals",
       "abc", "<A CLASS=\"USERINFO_HEAD\"><IMG SRC=\"http://p.test/a.jpg\"/></A>",
       "http://p.test/a.jpg", "JPEG"},
      {"no front marker", "abc", "<html>no such user</html>", "", ""},
      {"zero byte before the avatar", "abc",
       std::string("<html>", 6) + std::string(1, '\0') + AvatarPage("http://p.test/a.jpg"), "",
       ""},
      {"address that cannot be downloaded", "abc", AvatarPage("//p.test/a.jpg"),
       "//p.test/a.jpg", ""},
      {"address kept exactly as cut out", "abc", AvatarPage(" http://p.test/a.jpg?a=1&amp;b"),
       " http://p.test/a.jpg?a=1&amp;b", ""},
  };
  for (const auto& c : cases) {
    fake = FakeNetwork();
    fake.bodies[kPrefix + c.userName] = c.page;
    fake.bodies["http://p.test/a.jpg"] = "JPEG";
    FakeView view(c.userName);
    OnSearchClicked(view, &FakeFetch);
    ASSERT_EQ(fake.requests.size(), 2u) << c.name;
    EXPECT_EQ(fake.requests[0], kPrefix + c.userName) << c.name;
    // The picture is asked for even when no address was found.
    EXPECT_EQ(fake.requests[1], c.expectedAddress) << c.name;
    EXPECT_STREQ(AvatarAddress().c_str(), c.expectedAddress) << c.name;
    ASSERT_EQ(view.pictures.size(), 1u) << c.name;
    EXPECT_EQ(view.pictures[0], c.expectedPicture) << c.name;
  }
}

TEST_F(AvatarSearchTest, FailedPageDownloadEndsEmpty) {
  FakeView view("abc");
  OnSearchClicked(view, &FakeFetch);
  EXPECT_TRUE(AvatarAddress().empty());
  EXPECT_EQ(fake.requests.size(), 2u);
  ASSERT_EQ(view.pictures.size(), 1u);
  EXPECT_TRUE(view.pictures[0].empty());
}

TEST_F(AvatarSearchTest, SecondSearchReplacesTheFirst) {
  fake.bodies[kPrefix + "one"] = AvatarPage("http://p.test/1.png");
  fake.bodies[kPrefix + "two"] = AvatarPage("http://p.test/2.png");
  fake.bodies["http://p.test/1.png"] = "first";
  fake.bodies["http://p.test/2.png"] = "second";
  FakeView view1("one");
  OnSearchClicked(view1, &FakeFetch);
  EXPECT_STREQ(AvatarAddress().c_str(), "http://p.test/1.png");
  FakeView view2("two");
  OnSearchClicked(view2, &FakeFetch);
  EXPECT_STREQ(AvatarAddress().c_str(), "http://p.test/2.png");
  EXPECT_EQ(view2.pictures.at(0), "second");
  // A search that finds nothing clears both.
  FakeView view3("nobody");
  OnSearchClicked(view3, &FakeFetch);
  EXPECT_TRUE(AvatarAddress().empty());
  EXPECT_TRUE(view3.pictures.at(0).empty());
  ReleaseAvatarAddress();
  EXPECT_TRUE(AvatarAddress().is_null());
}

}  // namespace
}  // namespace tolvane::lookup
