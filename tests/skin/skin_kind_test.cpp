#include "app/skin/skin_kind.h"

#include <gtest/gtest.h>

namespace tolvane::skin {
namespace {

using namespace style_bits;

struct KindCase {
  const char* className;
  std::uint32_t style;
  bool captionEmpty;
  const char* parentClassName;
  SkinKind expected;
};

TEST(ClassifyWindow, FollowsTheClassAndStyleTable) {
  constexpr std::uint32_t kPlainChild = kChild | 0x10000000;  // WS_VISIBLE
  const KindCase cases[] = {
      {"ComboLBox", 0, true, "", SkinKind::kDropDownList},
      {"Button", kPlainChild | 0x80, false, "", SkinKind::kNone},  // BS_BITMAP
      {"Button", kPlainChild | 0, false, "", SkinKind::kPushButton},
      {"Button", kPlainChild | 1, false, "", SkinKind::kPushButton},
      // The captionless placeholder is left alone, but only with exactly that style.
      {"Button", kChild | kTabStop, true, "", SkinKind::kNone},
      {"Button", kChild | kTabStop, false, "", SkinKind::kPushButton},
      {"Button", kChild | kTabStop | 1, true, "", SkinKind::kPushButton},
      {"Button", kPlainChild, true, "", SkinKind::kPushButton},
      {"Button", kPlainChild | 2, false, "", SkinKind::kCheckBox},
      {"Button", kPlainChild | 3, false, "", SkinKind::kCheckBox},
      {"Button", kPlainChild | 5, false, "", SkinKind::kCheckBox},
      {"Button", kPlainChild | 6, false, "", SkinKind::kCheckBox},
      {"Button", kPlainChild | 3 | kButtonPushLike, false, "", SkinKind::kPushButton},
      {"Button", kPlainChild | 4, false, "", SkinKind::kRadioButton},
      {"Button", kPlainChild | 9, false, "", SkinKind::kRadioButton},
      {"Button", kPlainChild | 9 | kButtonPushLike, false, "", SkinKind::kPushButton},
      {"Button", kPlainChild | 7, false, "", SkinKind::kGroupBox},
      {"Button", kPlainChild | 8, false, "", SkinKind::kNone},
      {"Button", kPlainChild | 0xB, false, "", SkinKind::kNone},  // owner-drawn
      {"Button", kPlainChild | 0x1F, false, "", SkinKind::kNone},
      {"Button", kPlainChild | 3 | 0x80, false, "", SkinKind::kNone},
      {"Edit", kPlainChild, true, "Dialog", SkinKind::kEditBox},
      {"Edit", kPlainChild, true, "SysIPAddress32", SkinKind::kNone},
      {"Edit", kPlainChild, true, "sysipaddress32", SkinKind::kNone},
      {"ComboBox", kPlainChild | 1, false, "", SkinKind::kNone},  // simple
      {"ComboBox", kPlainChild | 2, false, "", SkinKind::kComboBox},
      {"ComboBox", kPlainChild | 3, false, "", SkinKind::kComboBox},
      {"msctls_updown32", kPlainChild, true, "", SkinKind::kUpDown},
      {"ScrollBar", kPlainChild, true, "", SkinKind::kScrollBar},
      {"SysMonthCal32", kPlainChild, true, "", SkinKind::kMonthCalendar},
      {"SysTabControl32", kPlainChild, true, "", SkinKind::kTabControl},
      {"msctls_progress32", kPlainChild, true, "", SkinKind::kProgressBar},
      {"msctls_trackbar32", kPlainChild, true, "", SkinKind::kTrackbar},
      {"msctls_hotkey32", kPlainChild, true, "", SkinKind::kNone},
      {"SysIPAddress32", kPlainChild, true, "", SkinKind::kNone},
      {"ListBox", kPlainChild, true, "", SkinKind::kNone},
      {"SysListView32", kPlainChild, true, "", SkinKind::kNone},
      {"Static", kPlainChild, false, "", SkinKind::kNone},
      {"TolvaneLabel", kPlainChild, false, "", SkinKind::kNone},
      {"", 0, true, "", SkinKind::kNone},
      // Class names compare without regard to case.
      {"BUTTON", kPlainChild, false, "", SkinKind::kPushButton},
      {"edit", kPlainChild, true, "", SkinKind::kEditBox},
      {"COMBOLBOX", 0, true, "", SkinKind::kDropDownList},
      {"Buttons", kPlainChild, false, "", SkinKind::kNone},
      {"Butto", kPlainChild, false, "", SkinKind::kNone},
  };
  for (const KindCase& c : cases) {
    WindowFacts facts;
    facts.className = c.className;
    facts.style = c.style;
    facts.captionEmpty = c.captionEmpty;
    facts.parentClassName = c.parentClassName;
    EXPECT_EQ(ClassifyWindow(facts), c.expected)
        << c.className << " style 0x" << std::hex << c.style << " parent " << c.parentClassName;
  }
}

TEST(ClassifyWindow, NullNamesReadAsEmpty) {
  WindowFacts facts;
  facts.className = nullptr;
  facts.parentClassName = nullptr;
  EXPECT_EQ(ClassifyWindow(facts), SkinKind::kNone);
  facts.className = "Edit";
  EXPECT_EQ(ClassifyWindow(facts), SkinKind::kEditBox);
}

TEST(IsTakenOver, OnlyTheKindsThatArePainted) {
  const struct {
    SkinKind kind;
    bool takenOver;
  } cases[] = {
      {SkinKind::kNone, false},        {SkinKind::kPushButton, true},
      {SkinKind::kCheckBox, true},     {SkinKind::kRadioButton, true},
      {SkinKind::kGroupBox, true},     {SkinKind::kEditBox, true},
      {SkinKind::kComboBox, true},     {SkinKind::kDropDownList, true},
      {SkinKind::kUpDown, true},       {SkinKind::kScrollBar, false},
      {SkinKind::kMonthCalendar, false}, {SkinKind::kTabControl, false},
      {SkinKind::kProgressBar, false}, {SkinKind::kTrackbar, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsTakenOver(c.kind), c.takenOver) << static_cast<int>(c.kind);
  }
}

}  // namespace
}  // namespace tolvane::skin
