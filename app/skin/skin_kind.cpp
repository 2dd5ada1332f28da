#include "app/skin/skin_kind.h"

namespace tolvane::skin {
namespace {

// Window class names compare without regard to case (the window manager's own rule), ASCII only.
bool SameClassName(const char* a, const char* b) {
  for (;; ++a, ++b) {
    unsigned char x = static_cast<unsigned char>(*a);
    unsigned char y = static_cast<unsigned char>(*b);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
    if (x == 0) return true;
  }
}

SkinKind ClassifyButton(const WindowFacts& facts) {
  using namespace style_bits;
  const std::uint32_t style = facts.style;
  if (style & kButtonBitmap) return SkinKind::kNone;
  const bool pushLike = (style & kButtonPushLike) != 0;
  switch (style & kButtonTypeMask) {
    case 0:  // push button
    case 1:  // default push button
      // A bare, captionless tab-stop child is a placeholder some dialogs create; left alone.
      if (facts.captionEmpty && style == (kChild | kTabStop)) return SkinKind::kNone;
      return SkinKind::kPushButton;
    case 2:  // check box
    case 3:  // auto check box
    case 5:  // three-state
    case 6:  // auto three-state
      return pushLike ? SkinKind::kPushButton : SkinKind::kCheckBox;
    case 4:  // radio button
    case 9:  // auto radio button
      return pushLike ? SkinKind::kPushButton : SkinKind::kRadioButton;
    case 7:
      return SkinKind::kGroupBox;
    default:  // user button, owner-drawn and the rest: they draw themselves
      return SkinKind::kNone;
  }
}

struct ClassEntry {
  const char* className;
  SkinKind kind;
};

// Classes known by name alone.
constexpr ClassEntry kPlainClasses[] = {
    {"ComboLBox", SkinKind::kDropDownList},
    {"msctls_updown32", SkinKind::kUpDown},
    {"ScrollBar", SkinKind::kScrollBar},
    {"SysMonthCal32", SkinKind::kMonthCalendar},
    {"SysTabControl32", SkinKind::kTabControl},
    {"msctls_progress32", SkinKind::kProgressBar},
    {"msctls_trackbar32", SkinKind::kTrackbar},
};

}  // namespace

bool IsTakenOver(SkinKind kind) {
  switch (kind) {
    case SkinKind::kPushButton:
    case SkinKind::kCheckBox:
    case SkinKind::kRadioButton:
    case SkinKind::kGroupBox:
    case SkinKind::kEditBox:
    case SkinKind::kComboBox:
    case SkinKind::kDropDownList:
    case SkinKind::kUpDown:
      return true;
    default:
      return false;
  }
}

SkinKind ClassifyWindow(const WindowFacts& facts) {
  const char* name = facts.className ? facts.className : "";
  if (SameClassName(name, "Button")) return ClassifyButton(facts);
  if (SameClassName(name, "Edit")) {
    // The address control's four fields are edit boxes that it draws as one.
    const char* parent = facts.parentClassName ? facts.parentClassName : "";
    return SameClassName(parent, "SysIPAddress32") ? SkinKind::kNone : SkinKind::kEditBox;
  }
  if (SameClassName(name, "ComboBox")) {
    const bool simple = (facts.style & style_bits::kComboTypeMask) == style_bits::kComboSimple;
    return simple ? SkinKind::kNone : SkinKind::kComboBox;
  }
  for (const ClassEntry& entry : kPlainClasses) {
    if (SameClassName(name, entry.className)) return entry.kind;
  }
  return SkinKind::kNone;
}

}  // namespace tolvane::skin
