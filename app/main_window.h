#pragma once
// MainWindow on Win32: built from its stored description by LoadWindow, raising the bound
// events, keyboard and focus rules, and the control operations the handlers use.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "app/window_description.h"
#include "base/text.h"
#include "lookup/search_view.h"
#include "save/save_as.h"
#include "save/win32_save_dialog.h"

namespace tolvane::app {

// Class names of the program's own window classes.
extern const char kMainWindowClassName[];
extern const char kLabelClassName[];

// Control identifiers are the entry's stored index plus this.
constexpr int kFirstControlId = 100;

class MainWindow : public lookup::SearchView, public save::SaveAsView {
 public:
  // Called, after the window's own clean-up, when the window has been destroyed.
  using DestroyedCallback = void (*)();

  MainWindow(const BoundWindow& window, HINSTANCE instance, DestroyedCallback destroyed);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Builds, raises created/moved/resized, shows. True once built, also when a handler closed
  // the window meanwhile; false with nothing left when a window cannot be created.
  bool LoadWindow();

  // The window's look at a key before the control: true when the message was consumed.
  bool PreTranslateMessage(const MSG& message);

  // Called for every event that is raised (not dropped), before its handler: lets tests see
  // the order of events.
  using EventObserver = void (*)(std::size_t entry, std::int32_t event);
  void SetEventObserver(EventObserver observer) { observer_ = observer; }

  HWND hwnd() const { return window_; }
  bool alive() const { return window_ != nullptr; }
  // The control window of an entry (null for the dialog and before building).
  HWND ControlWindow(std::size_t entry) const;

  // The handlers, called when their event is raised.
  void OnMainWindowCreated();
  void OnSearchClicked();
  void OnSaveAsClicked();

  // 编辑框1's GetText: a new copy, null when empty, unchanged.
  Text GetText();

  // lookup::SearchView
  Text GetUserName() override { return GetText(); }
  void SetPicture(const Bytes& picture) override;
  // save::SaveAsView
  bool HasAvatarAddress() override;
  void ShowMessage(const char* text, std::uint32_t buttons) override;
  bool ShowFileDialog() override;
  Text GetFileName() override;
  Bytes GetPicture() override;
  bool WriteFileBytes(const Text& fileName, const Bytes& bytes) override;

 public:
  static LRESULT CALLBACK WindowProcedureForClass(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool CreateControl(std::size_t entry);
  void ArrangeStacking();
  void RaiseEvent(std::size_t entry, std::int32_t event);
  void MoveFocus(bool backwards);
  void PassFocusOn();
  std::size_t EntryOfWindow(HWND window) const;
  HWND ControlNamed(const char* name) const;

  const BoundWindow& bound_;
  HINSTANCE instance_;
  DestroyedCallback destroyed_;
  HWND window_ = nullptr;
  std::vector<HWND> controls_;  // by entry index; [0] unused
  std::vector<std::size_t> tabOrder_;
  save::SaveDialog* dialog_ = nullptr;
  HICON bigIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
  HWND lastFocus_ = nullptr;
  bool droppingEvents_ = false;
  EventObserver observer_ = nullptr;
};

// Registers the program's window classes and the picture box's (idempotent).
bool RegisterWindowClasses(HINSTANCE instance);

}  // namespace tolvane::app
