#include "app/window_description.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/window_layout.h"

namespace tolvane::app {
namespace {

TEST(MainWindowDescriptionTest, HoldsTheEntriesInStoredOrder) {
  struct Expected {
    ControlKind kind;
    const char* name;
    int left, top, width, height;
    bool visible, tabStop;
  } expected[] = {
      {ControlKind::kWindow, "", 50, 50, 199, 263, true, false},
      {ControlKind::kCommonDialog, "\xCD\xA8\xD3\xC3\xB6\xD4\xBB\xB0\xBF\xF2" "1", 464, 224, 26, 26, false, false},
      {ControlKind::kButton, "\xB0\xB4\xC5\xA5" "2", 112, 63, 72, 32, true, true},
      {ControlKind::kLabel, "\xB1\xEA\xC7\xA9" "1", 16, 16, 40, 40, true, false},
      {ControlKind::kPictureBox, "\xCD\xBC\xC6\xAC\xBF\xF2" "1", 40, 112, 112, 112, true, false},
      {ControlKind::kButton, "\xB0\xB4\xC5\xA5" "1", 8, 64, 72, 32, true, true},
      {ControlKind::kEditBox, "\xB1\xE0\xBC\xAD\xBF\xF2" "1", 64, 24, 120, 24, true, true},
  };
  const WindowDescription& d = MainWindowDescription();
  ASSERT_EQ(d.entryCount, sizeof(expected) / sizeof(expected[0]));
  for (std::size_t i = 0; i < d.entryCount; ++i) {
    SCOPED_TRACE(i);
    const ControlDescription& e = d.entries[i];
    EXPECT_EQ(e.kind, expected[i].kind);
    EXPECT_STREQ(e.name, expected[i].name);
    EXPECT_EQ(e.left, expected[i].left);
    EXPECT_EQ(e.top, expected[i].top);
    EXPECT_EQ(e.width, expected[i].width);
    EXPECT_EQ(e.height, expected[i].height);
    EXPECT_EQ(e.visible, expected[i].visible);
    EXPECT_EQ(e.tabStop, expected[i].tabStop);
    EXPECT_FALSE(e.disabled);
    EXPECT_EQ(e.tabOrder, 0);
  }
}

TEST(MainWindowDescriptionTest, SettingsOfTheWindowAndControls) {
  const WindowDescription& d = MainWindowDescription();
  const WindowSettings& w = *d.entries[0].settings.window;
  EXPECT_STREQ(w.caption, "Tolvane");
  EXPECT_EQ(w.borderStyle, 2);
  EXPECT_TRUE(w.controlBox);
  EXPECT_FALSE(w.maximizeBox);
  EXPECT_TRUE(w.minimizeBox);
  EXPECT_EQ(w.position, WindowPosition::kCentred);
  EXPECT_TRUE(w.escCloses);
  EXPECT_FALSE(w.enterMovesFocus);
  EXPECT_FALSE(w.helpOnF1);
  EXPECT_STREQ(d.entries[2].settings.button->caption, "\xC1\xED\xB4\xE6\xCE\xAA");  // 另存为
  EXPECT_STREQ(d.entries[5].settings.button->caption, "\xCB\xD1\xCB\xF7");          // 搜索
  EXPECT_FALSE(d.entries[2].settings.button->isDefault);
  EXPECT_FALSE(d.entries[5].settings.button->isDefault);
  EXPECT_STREQ(d.entries[3].settings.label->text, "\xB0\xD9\xB6\xC8" "ID");  // 百度ID
  EXPECT_STREQ(d.entries[6].settings.edit->content, "");
  EXPECT_EQ(d.entries[6].settings.edit->maximumLength, 0);
  EXPECT_EQ(d.entries[4].settings.pictureBox->borderStyle, 1);
}

TEST(ReadWindowDescriptionTest, BindsTheStoredEvents) {
  BoundWindow bound;
  ASSERT_TRUE(ReadWindowDescription(MainWindowDescription(), bound));
  struct Case {
    const char* name;  // null: the window
    std::int32_t event;
    HandlerId handler;
  } cases[] = {
      {nullptr, kEventCreated, HandlerId::kOnMainWindowCreated},
      {nullptr, kEventMoved, HandlerId::kNoHandler},
      {nullptr, kEventResized, HandlerId::kNoHandler},
      {kSearchButtonName, kEventClicked, HandlerId::kOnSearchClicked},
      {kSaveAsButtonName, kEventClicked, HandlerId::kOnSaveAsClicked},
      {kEditBoxName, kEventClicked, HandlerId::kNoHandler},
      {kLabelName, kEventClicked, HandlerId::kNoHandler},
      {kSearchButtonName, 7, HandlerId::kNoHandler},
  };
  for (const Case& c : cases) {
    std::size_t entry = c.name ? bound.FindEntry(c.name) : 0;
    ASSERT_LT(entry, bound.entryCount());
    EXPECT_EQ(bound.HandlerFor(entry, c.event), c.handler) << entry << " " << c.event;
  }
  EXPECT_EQ(bound.FindEntry("none"), bound.entryCount());
}

TEST(ReadWindowDescriptionTest, RefusesDataThatCannotBeRead) {
  const WindowDescription& good = MainWindowDescription();
  std::vector<ControlDescription> base(good.entries, good.entries + good.entryCount);
  static const EventBinding kUnknownHandler[] = {{0, static_cast<HandlerId>(42)}};
  static const EventBinding kNegativeHandler[] = {{0, static_cast<HandlerId>(-1)}};
  static const ButtonSettings kButton = {"b", false, true};

  struct Case {
    const char* what;
    void (*spoil)(std::vector<ControlDescription>&);
  } cases[] = {
      {"no entries", [](std::vector<ControlDescription>& e) { e.clear(); }},
      {"first entry not the window", [](std::vector<ControlDescription>& e) { e.erase(e.begin()); }},
      {"second window", [](std::vector<ControlDescription>& e) { e.push_back(e[0]); }},
      {"settings of another kind",
       [](std::vector<ControlDescription>& e) { e[6].kind = ControlKind::kLabel; }},
      {"two settings records",
       [](std::vector<ControlDescription>& e) { e[6].settings.button = &kButton; }},
      {"no name", [](std::vector<ControlDescription>& e) { e[3].name = nullptr; }},
      {"zero width", [](std::vector<ControlDescription>& e) { e[4].width = 0; }},
      {"bindings missing", [](std::vector<ControlDescription>& e) { e[5].bindings = nullptr; }},
      {"unknown handler", [](std::vector<ControlDescription>& e) { e[5].bindings = kUnknownHandler; }},
      {"negative handler",
       [](std::vector<ControlDescription>& e) { e[2].bindings = kNegativeHandler; }},
  };
  for (const Case& c : cases) {
    std::vector<ControlDescription> entries = base;
    c.spoil(entries);
    WindowDescription spoiled = {entries.empty() ? nullptr : entries.data(), entries.size()};
    BoundWindow bound;
    EXPECT_FALSE(ReadWindowDescription(spoiled, bound)) << c.what;
  }
}

TEST(ReadWindowDescriptionTest, NoHandlerLeavesTheEventUnbound) {
  const WindowDescription& good = MainWindowDescription();
  std::vector<ControlDescription> entries(good.entries, good.entries + good.entryCount);
  static const EventBinding kNone[] = {{kEventClicked, HandlerId::kNoHandler}};
  entries[5].bindings = kNone;
  WindowDescription stored = {entries.data(), entries.size()};
  BoundWindow bound;
  ASSERT_TRUE(ReadWindowDescription(stored, bound));
  EXPECT_EQ(bound.HandlerFor(5, kEventClicked), HandlerId::kNoHandler);
  EXPECT_EQ(bound.HandlerFor(2, kEventClicked), HandlerId::kOnSaveAsClicked);
}

}  // namespace
}  // namespace tolvane::app
