#include "app/window_layout.h"

#include <algorithm>

namespace tolvane::app {

Point CentredPosition(std::int32_t screenWidth, std::int32_t screenHeight, std::int32_t width,
                      std::int32_t height) {
  // Integer division rounds toward zero, also for a screen narrower than the window.
  return {(screenWidth - width) / 2, (screenHeight - height) / 2};
}

std::vector<std::size_t> TabOrder(const WindowDescription& description) {
  std::vector<std::size_t> order;
  for (std::size_t i = description.entryCount; i-- > 1;) {
    const ControlDescription& entry = description.entries[i];
    if (entry.visible && !entry.disabled && entry.tabStop) order.push_back(i);
  }
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return description.entries[a].tabOrder < description.entries[b].tabOrder;
  });
  return order;
}

std::size_t NextInTabOrder(const std::vector<std::size_t>& order, std::size_t current,
                           bool backwards) {
  auto found = std::find(order.begin(), order.end(), current);
  if (found == order.end()) return backwards ? order.back() : order.front();
  std::size_t at = static_cast<std::size_t>(found - order.begin());
  if (backwards) return order[at == 0 ? order.size() - 1 : at - 1];
  return order[(at + 1) % order.size()];
}

KeyAction ClassifyKey(const WindowSettings& settings, const KeyPress& key) {
  bool plain = !key.ctrl && !key.shift && !key.alt;
  switch (key.virtualKey) {
    case kKeyTab:
      if (plain) return KeyAction::kNextControl;
      if (key.shift && !key.ctrl && !key.alt) return KeyAction::kPreviousControl;
      return KeyAction::kNone;
    case kKeyEscape:
      return plain && settings.escCloses ? KeyAction::kClose : KeyAction::kNone;
    case kKeyEnter:
      return plain && settings.enterMovesFocus ? KeyAction::kNextControl : KeyAction::kNone;
    default:
      return KeyAction::kNone;
  }
}

}  // namespace tolvane::app
