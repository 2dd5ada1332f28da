#include "app/window_description.h"

#include <cstring>

namespace tolvane::app {

const char kEditBoxName[] = "\xB1\xE0\xBC\xAD\xBF\xF2" "1";
const char kSearchButtonName[] = "\xB0\xB4\xC5\xA5" "1";
const char kSaveAsButtonName[] = "\xB0\xB4\xC5\xA5" "2";
const char kLabelName[] = "\xB1\xEA\xC7\xA9" "1";
const char kPictureBoxName[] = "\xCD\xBC\xC6\xAC\xBF\xF2" "1";
const char kSaveDialogName[] = "\xCD\xA8\xD3\xC3\xB6\xD4\xBB\xB0\xBF\xF2" "1";

namespace {

const WindowSettings kMainWindowSettings = {
    /*caption=*/"Tolvane",
    /*borderStyle=*/2,
    /*controlBox=*/true,
    /*maximizeBox=*/false,
    /*minimizeBox=*/true,
    /*position=*/WindowPosition::kCentred,
    /*movable=*/true,
    /*dragByClientArea=*/false,
    /*showInTaskbar=*/true,
    /*alwaysOnTop=*/false,
    /*escCloses=*/true,
    /*enterMovesFocus=*/false,
    /*helpOnF1=*/false,
    /*keepCaptionActive=*/false,
};

const EditSettings kEditSettings = {
    /*content=*/"",
    /*multiLine=*/false,
    /*readOnly=*/false,
    /*password=*/false,
    /*maximumLength=*/0,
    /*borderStyle=*/1,
    /*hideSelection=*/true,
};

// 搜索
const ButtonSettings kSearchButtonSettings = {"\xCB\xD1\xCB\xF7", false, true};
// 另存为
const ButtonSettings kSaveAsButtonSettings = {"\xC1\xED\xB4\xE6\xCE\xAA", false, true};
// 百度ID
const LabelSettings kLabelSettings = {"\xB0\xD9\xB6\xC8" "ID"};
const PictureBoxSettings kPictureBoxSettings = {/*borderStyle=*/1, /*playAnimation=*/true};

const EventBinding kWindowBindings[] = {{kEventCreated, HandlerId::kOnMainWindowCreated}};
const EventBinding kSaveAsBindings[] = {{kEventClicked, HandlerId::kOnSaveAsClicked}};
const EventBinding kSearchBindings[] = {{kEventClicked, HandlerId::kOnSearchClicked}};


const ControlDescription kMainWindowEntries[] = {
    {ControlKind::kWindow, "", 50, 50, 199, 263, true, false, false, 0, kWindowBindings, 1,
     {&kMainWindowSettings, nullptr, nullptr, nullptr, nullptr, nullptr}},
    {ControlKind::kCommonDialog, kSaveDialogName, 464, 224, 26, 26, false, false, false, 0,
     nullptr, 0, {nullptr, nullptr, nullptr, nullptr, nullptr, &save::SaveDialogSettings()}},
    {ControlKind::kButton, kSaveAsButtonName, 112, 63, 72, 32, true, false, true, 0,
     kSaveAsBindings, 1, {nullptr, nullptr, &kSaveAsButtonSettings, nullptr, nullptr, nullptr}},
    {ControlKind::kLabel, kLabelName, 16, 16, 40, 40, true, false, false, 0, nullptr, 0,
     {nullptr, nullptr, nullptr, &kLabelSettings, nullptr, nullptr}},
    {ControlKind::kPictureBox, kPictureBoxName, 40, 112, 112, 112, true, false, false, 0,
     nullptr, 0, {nullptr, nullptr, nullptr, nullptr, &kPictureBoxSettings, nullptr}},
    {ControlKind::kButton, kSearchButtonName, 8, 64, 72, 32, true, false, true, 0,
     kSearchBindings, 1, {nullptr, nullptr, &kSearchButtonSettings, nullptr, nullptr, nullptr}},
    {ControlKind::kEditBox, kEditBoxName, 64, 24, 120, 24, true, false, true, 0, nullptr, 0,
     {nullptr, &kEditSettings, nullptr, nullptr, nullptr, nullptr}},
};

const WindowDescription kMainWindowDescription = {
    kMainWindowEntries, sizeof(kMainWindowEntries) / sizeof(kMainWindowEntries[0])};

bool HasSettingsOfItsKind(const ControlDescription& entry) {
  const KindSettings& s = entry.settings;
  int records = (s.window != nullptr) + (s.edit != nullptr) + (s.button != nullptr) +
                (s.label != nullptr) + (s.pictureBox != nullptr) + (s.commonDialog != nullptr);
  if (records != 1) return false;
  switch (entry.kind) {
    case ControlKind::kWindow: return s.window != nullptr;
    case ControlKind::kEditBox: return s.edit != nullptr;
    case ControlKind::kButton: return s.button != nullptr;
    case ControlKind::kLabel: return s.label != nullptr;
    case ControlKind::kPictureBox: return s.pictureBox != nullptr;
    case ControlKind::kCommonDialog: return s.commonDialog != nullptr;
  }
  return false;
}

}  // namespace

const WindowDescription& MainWindowDescription() { return kMainWindowDescription; }

HandlerId BoundWindow::HandlerFor(std::size_t entry, std::int32_t event) const {
  for (const BoundEvent& bound : events_) {
    if (bound.entry == entry && bound.event == event) return bound.handler;
  }
  return HandlerId::kNoHandler;
}

std::size_t BoundWindow::FindEntry(const char* name) const {
  for (std::size_t i = 1; i < entryCount(); ++i) {
    if (std::strcmp(entry(i).name, name) == 0) return i;
  }
  return entryCount();
}

bool ReadWindowDescription(const WindowDescription& stored, BoundWindow& bound) {
  bound = BoundWindow();
  if (!stored.entries || stored.entryCount == 0) return false;
  if (stored.entries[0].kind != ControlKind::kWindow) return false;
  std::vector<BoundEvent> events;
  for (std::size_t i = 0; i < stored.entryCount; ++i) {
    const ControlDescription& entry = stored.entries[i];
    if (i > 0 && entry.kind == ControlKind::kWindow) return false;
    if (!entry.name || !HasSettingsOfItsKind(entry)) return false;
    if (entry.width <= 0 || entry.height <= 0) return false;
    if (entry.bindingCount > 0 && !entry.bindings) return false;
    for (std::size_t b = 0; b < entry.bindingCount; ++b) {
      const EventBinding& binding = entry.bindings[b];
      auto handler = static_cast<std::int32_t>(binding.handler);
      if (handler < 0 || handler >= static_cast<std::int32_t>(HandlerId::kCount)) return false;
      if (binding.handler == HandlerId::kNoHandler) continue;
      events.push_back({i, binding.event, binding.handler});
    }
  }
  bound.description_ = &stored;
  bound.events_ = std::move(events);
  return true;
}

}  // namespace tolvane::app
