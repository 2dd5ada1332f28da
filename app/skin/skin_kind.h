#pragma once
// Which drawing a window gets, decided from its class name and style, and the per-control
// state bits. Portable: the Win32 side reads the facts and hands them in.
#include <cstdint>

namespace tolvane::skin {

enum class SkinKind {
  kNone,  // any class the skin does not know
  kPushButton,
  kCheckBox,
  kRadioButton,
  kGroupBox,
  kEditBox,
  kComboBox,
  kDropDownList,
  kUpDown,
  // Recognised, never taken over.
  kScrollBar,
  kMonthCalendar,
  kTabControl,
  kProgressBar,
  kTrackbar,
};

// True for the kinds whose window procedure the skin replaces.
bool IsTakenOver(SkinKind kind);

// What the classification needs to know about a window.
struct WindowFacts {
  const char* className = "";        // as GetClassNameA gives it
  std::uint32_t style = 0;           // GWL_STYLE
  bool captionEmpty = true;          // no window text
  const char* parentClassName = "";  // "" when there is no parent
};

SkinKind ClassifyWindow(const WindowFacts& facts);

// Bits of SkinnedControl::state.
enum StateBit : std::uint32_t {
  kDisabled = 1u << 0,
  kPressed = 1u << 1,
  kHot = 1u << 2,  // the mouse is over the control
  kFocused = 1u << 3,
  kDefault = 1u << 4,  // the default push button
  kChecked = 1u << 5,
  kIndeterminate = 1u << 6,
  kReadOnly = 1u << 7,    // edit box
  kHorizontal = 1u << 8,  // up-down
  // An edit box and its up-down joined: the up-down sits on the edit box's left or right.
  // Set in both records.
  kUpDownOnLeft = 1u << 9,
  kUpDownOnRight = 1u << 10,
  kMouseOverFirstHalf = 1u << 11,  // up-down: top half, or left half when horizontal
};

// Style bits the classification and the painting read (values fixed by the platform).
namespace style_bits {
constexpr std::uint32_t kChild = 0x40000000;
constexpr std::uint32_t kDisabled = 0x08000000;
constexpr std::uint32_t kBorder = 0x00800000;
constexpr std::uint32_t kTabStop = 0x00010000;
constexpr std::uint32_t kButtonTypeMask = 0x1F;
constexpr std::uint32_t kButtonRightButton = 0x20;
constexpr std::uint32_t kButtonBitmap = 0x80;
constexpr std::uint32_t kButtonLeft = 0x100;
constexpr std::uint32_t kButtonRight = 0x200;
constexpr std::uint32_t kButtonTop = 0x400;
constexpr std::uint32_t kButtonBottom = 0x800;
constexpr std::uint32_t kButtonPushLike = 0x1000;
constexpr std::uint32_t kEditReadOnly = 0x800;
constexpr std::uint32_t kComboTypeMask = 3;
constexpr std::uint32_t kComboSimple = 1;
constexpr std::uint32_t kUpDownAlignRight = 0x04;
constexpr std::uint32_t kUpDownAlignLeft = 0x08;
constexpr std::uint32_t kUpDownHorizontal = 0x40;
constexpr std::uint32_t kExClientEdge = 0x200;
constexpr std::uint32_t kExStaticEdge = 0x20000;
}  // namespace style_bits

}  // namespace tolvane::skin
