#pragma once
// The stored description of MainWindow: the window's own entry and one entry per control, in
// stored order, with every setting the window's behaviour rests on. The window is built from
// this data at start-up (main_window.cpp); nothing here depends on Win32.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "save/save_dialog.h"

namespace tolvane::app {

enum class ControlKind { kWindow, kEditBox, kButton, kLabel, kPictureBox, kCommonDialog };

// Event codes as bindings store them.
enum EventCode : std::int32_t {
  kEventCreated = 0,  // window: once, after the controls exist, before it is shown
  kEventClicked = 0,  // button
  kEventMoved = 3,    // window
  kEventResized = 4,  // window
};

// The handlers an event can be bound to; kNoHandler marks a stored event without one.
enum class HandlerId : std::int32_t {
  kNoHandler = 0,
  kOnMainWindowCreated,
  kOnSearchClicked,
  kOnSaveAsClicked,
  kCount,
};

struct EventBinding {
  std::int32_t event;
  HandlerId handler;
};

// Window position setting: 0 as stored, 1 centred on the screen, 2 minimized, 3 maximized.
enum class WindowPosition : std::int32_t { kStored = 0, kCentred = 1, kMinimized = 2, kMaximized = 3 };

struct WindowSettings {
  const char* caption;
  std::int32_t borderStyle;  // 2: fixed single
  bool controlBox;
  bool maximizeBox;
  bool minimizeBox;
  WindowPosition position;
  bool movable;
  bool dragByClientArea;
  bool showInTaskbar;
  bool alwaysOnTop;
  bool escCloses;
  bool enterMovesFocus;
  bool helpOnF1;
  bool keepCaptionActive;
};

struct EditSettings {
  const char* content;
  bool multiLine;
  bool readOnly;
  bool password;
  std::int32_t maximumLength;  // 0: the platform's limit
  std::int32_t borderStyle;    // 1: sunken 3-D edge
  bool hideSelection;
};

struct ButtonSettings {
  const char* caption;
  bool isDefault;
  bool multiLine;
};

struct LabelSettings {
  const char* text;
};

struct PictureBoxSettings {
  std::int32_t borderStyle;  // 1: single line
  bool playAnimation;
};

// One record per kind; exactly the one of the entry's kind is set.
struct KindSettings {
  const WindowSettings* window;
  const EditSettings* edit;
  const ButtonSettings* button;
  const LabelSettings* label;
  const PictureBoxSettings* pictureBox;
  const save::CommonDialogSettings* commonDialog;
};

struct ControlDescription {
  ControlKind kind;
  const char* name;  // empty for the window
  std::int32_t left, top, width, height;
  bool visible;
  bool disabled;
  bool tabStop;
  std::int32_t tabOrder;
  const EventBinding* bindings;
  std::size_t bindingCount;
  KindSettings settings;
};

struct WindowDescription {
  const ControlDescription* entries;  // entry 0 is the window itself
  std::size_t entryCount;
};

// MainWindow's stored description.
const WindowDescription& MainWindowDescription();

// Names of the controls, as stored.
extern const char kEditBoxName[];      // 编辑框1
extern const char kSearchButtonName[];  // 按钮1
extern const char kSaveAsButtonName[];  // 按钮2
extern const char kLabelName[];         // 标签1
extern const char kPictureBoxName[];    // 图片框1
extern const char kSaveDialogName[];    // 通用对话框1

// A description that has been read: checked, with every event bound to its handler.
struct BoundEvent {
  std::size_t entry;
  std::int32_t event;
  HandlerId handler;
};

class BoundWindow {
 public:
  const WindowDescription& description() const { return *description_; }
  const ControlDescription& entry(std::size_t index) const { return description_->entries[index]; }
  std::size_t entryCount() const { return description_->entryCount; }
  // The handler bound to (entry, event), kNoHandler when the event is unbound.
  HandlerId HandlerFor(std::size_t entry, std::int32_t event) const;
  // The index of the entry with this name, or entryCount() when there is none.
  std::size_t FindEntry(const char* name) const;

 private:
  friend bool ReadWindowDescription(const WindowDescription&, BoundWindow&);
  const WindowDescription* description_ = nullptr;
  std::vector<BoundEvent> events_;
};

// Reads a stored description: entry 0 must be the window, every entry must carry the settings
// record of its kind and a positive size, every binding a known handler. False when the data
// cannot be read; a binding to kNoHandler leaves its event unbound.
bool ReadWindowDescription(const WindowDescription& stored, BoundWindow& bound);

}  // namespace tolvane::app
