#include "app/window_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace tolvane::app {
namespace {

TEST(CentredPositionTest, RoundsTowardZero) {
  struct Case {
    int screenWidth, screenHeight, left, top;
  } cases[] = {
      {1024, 768, 412, 252},  // 412.5, 252.5
      {1920, 1080, 860, 408},
      {150, 263, -24, 0},  // -24.5 rounds toward zero
      {199, 100, 0, -81},  // -81.5
      {0, 0, -99, -131},
  };
  for (const Case& c : cases) {
    Point p = CentredPosition(c.screenWidth, c.screenHeight, 199, 263);
    EXPECT_EQ(p.x, c.left) << c.screenWidth;
    EXPECT_EQ(p.y, c.top) << c.screenHeight;
  }
}

TEST(TabOrderTest, EditBoxThenSearchThenSaveAs) {
  const WindowDescription& d = MainWindowDescription();
  std::vector<std::size_t> order = TabOrder(d);
  ASSERT_EQ(order.size(), 3u);
  EXPECT_STREQ(d.entries[order[0]].name, kEditBoxName);
  EXPECT_STREQ(d.entries[order[1]].name, kSearchButtonName);
  EXPECT_STREQ(d.entries[order[2]].name, kSaveAsButtonName);
}

TEST(TabOrderTest, NumbersFirstThenReverseStoredOrderSkippingHiddenAndDisabled) {
  const WindowDescription& d = MainWindowDescription();
  std::vector<ControlDescription> entries(d.entries, d.entries + d.entryCount);
  entries[2].tabOrder = -1;   // 按钮2 first
  entries[6].tabOrder = 5;    // 编辑框1 last
  entries[3].tabStop = true;  // 标签1 joins, number 0
  WindowDescription changed = {entries.data(), entries.size()};
  EXPECT_EQ(TabOrder(changed), (std::vector<std::size_t>{2, 5, 3, 6}));

  entries[5].disabled = true;
  entries[3].visible = false;
  EXPECT_EQ(TabOrder(changed), (std::vector<std::size_t>{2, 6}));
}

TEST(NextInTabOrderTest, CyclesBothWays) {
  std::vector<std::size_t> order = {6, 5, 2};
  struct Case {
    std::size_t current;
    bool backwards;
    std::size_t next;
  } cases[] = {
      {6, false, 5}, {5, false, 2}, {2, false, 6},  // Tab
      {6, true, 2},  {2, true, 5},  {5, true, 6},   // Shift+Tab
      {4, false, 6}, {4, true, 2},  {0, false, 6},  // from outside the order
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NextInTabOrder(order, c.current, c.backwards), c.next)
        << c.current << (c.backwards ? " back" : "");
  }
  EXPECT_EQ(NextInTabOrder({5}, 5, false), 5u);
}

TEST(ClassifyKeyTest, WindowLooksAtTabEscEnterOnly) {
  const WindowSettings& settings = *MainWindowDescription().entries[0].settings.window;
  struct Case {
    KeyPress key;
    KeyAction action;
  } cases[] = {
      {{kKeyTab, false, false, false}, KeyAction::kNextControl},
      {{kKeyTab, false, true, false}, KeyAction::kPreviousControl},
      {{kKeyTab, true, false, false}, KeyAction::kNone},   // Ctrl+Tab
      {{kKeyTab, false, false, true}, KeyAction::kNone},   // Alt+Tab
      {{kKeyTab, true, true, false}, KeyAction::kNone},
      {{kKeyEscape, false, false, false}, KeyAction::kClose},
      {{kKeyEscape, false, true, false}, KeyAction::kNone},
      {{kKeyEscape, true, false, false}, KeyAction::kNone},
      {{kKeyEnter, false, false, false}, KeyAction::kNone},
      {{kKeyF1, false, false, false}, KeyAction::kNone},
      {{'A', false, false, true}, KeyAction::kNone},  // no mnemonics
      {{'1', false, false, true}, KeyAction::kNone},
      {{0x25, false, false, false}, KeyAction::kNone},  // arrow keys go to the control
      {{'A', false, false, false}, KeyAction::kNone},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClassifyKey(settings, c.key), c.action)
        << c.key.virtualKey << " ctrl " << c.key.ctrl << " shift " << c.key.shift << " alt "
        << c.key.alt;
  }

  WindowSettings other = settings;
  other.escCloses = false;
  other.enterMovesFocus = true;
  EXPECT_EQ(ClassifyKey(other, {kKeyEscape, false, false, false}), KeyAction::kNone);
  EXPECT_EQ(ClassifyKey(other, {kKeyEnter, false, false, false}), KeyAction::kNextControl);
}

}  // namespace
}  // namespace tolvane::app
