#pragma once
// The window's arithmetic and keyboard rules, apart from the Win32 calls that apply them.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/window_description.h"

namespace tolvane::app {

struct Point {
  std::int32_t x, y;
};

// Centred on a screen of the given size: (screen - size) / 2, rounded toward zero.
Point CentredPosition(std::int32_t screenWidth, std::int32_t screenHeight, std::int32_t width,
                      std::int32_t height);

// The entries that Tab visits, in order: visible, enabled, tab-stop controls sorted by
// tab-order number; equal numbers follow the reverse stored order.
std::vector<std::size_t> TabOrder(const WindowDescription& description);

// The entry Tab (or Shift+Tab when `backwards`) moves to from `current`, cycling. From an
// entry outside the order it goes to the first (last) one. `order` must not be empty.
std::size_t NextInTabOrder(const std::vector<std::size_t>& order, std::size_t current,
                           bool backwards);

enum class KeyAction { kNone, kNextControl, kPreviousControl, kClose };

struct KeyPress {
  std::uint32_t virtualKey;
  bool ctrl, shift, alt;
};

// Virtual-key codes of the keys the window looks at.
constexpr std::uint32_t kKeyTab = 0x09;
constexpr std::uint32_t kKeyEnter = 0x0D;
constexpr std::uint32_t kKeyEscape = 0x1B;
constexpr std::uint32_t kKeyF1 = 0x70;

// What the window does with a key press before the focused control sees it. kNone: the key
// goes on to the control. Enter moves the focus only with the setting on; no button of this
// program is a default button, F1 has no help and no caption has an "&" mnemonic, so those
// are never acted on.
KeyAction ClassifyKey(const WindowSettings& settings, const KeyPress& key);

}  // namespace tolvane::app
