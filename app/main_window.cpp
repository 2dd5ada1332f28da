#include "app/main_window.h"

#include <algorithm>

#include "app/skin/control_skin.h"
#include "app/window_layout.h"
#include "lookup/avatar_search.h"
#include "lookup/text_operations.h"
#include "picture/picture_box.h"
#include "save/win32_file_operations.h"

namespace tolvane::app {

const char kMainWindowClassName[] = "TolvaneWindow";
const char kLabelClassName[] = "TolvaneLabel";

namespace {

constexpr UINT kOwnClassStyles = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;

HFONT DefaultFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

// 标签1: text drawn by the program, transparently over the button face.
LRESULT CALLBACK LabelProcedure(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT fills the whole area
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(label, &paint);
      RECT area;
      GetClientRect(label, &area);
      FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
      char text[256];
      int length = GetWindowTextA(label, text, sizeof(text));
      HGDIOBJ oldFont = SelectObject(dc, DefaultFont());
      int oldMode = SetBkMode(dc, TRANSPARENT);
      COLORREF oldColour = SetTextColor(dc, RGB(0, 0, 0));
      DrawTextA(dc, text, length, &area, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOCLIP);
      SetTextColor(dc, oldColour);
      SetBkMode(dc, oldMode);
      SelectObject(dc, oldFont);
      EndPaint(label, &paint);
      return 0;
    }
    default:
      return DefWindowProcA(label, message, wParam, lParam);
  }
}

bool RegisterOwnClass(HINSTANCE instance, const char* name, WNDPROC procedure, int extraBytes) {
  WNDCLASSEXA existing;
  if (GetClassInfoExA(instance, name, &existing)) return true;
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = kOwnClassStyles;
  windowClass.lpfnWndProc = procedure;
  windowClass.cbWndExtra = extraBytes;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.lpszClassName = name;
  return RegisterClassExA(&windowClass) != 0;
}

// A single-line edit box shows at least one line of its font inside its 3-D edge.
int SingleLineEditMinimumHeight() {
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, DefaultFont());
  TEXTMETRICA metrics = {};
  GetTextMetricsA(screen, &metrics);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  return metrics.tmHeight + 2 * GetSystemMetrics(SM_CYEDGE);
}

// A control the focus may go to: shown and enabled.
bool CanTakeFocus(HWND control) {
  return control && IsWindowVisible(control) && IsWindowEnabled(control);
}

// Icons at the size asked for, made from the 32 x 32 image of DEFAULT_ICON.
HICON LoadProgramIcon(HINSTANCE instance, int size) {
  return static_cast<HICON>(LoadImageA(instance, "DEFAULT_ICON", IMAGE_ICON, size, size, 0));
}

}  // namespace

bool RegisterWindowClasses(HINSTANCE instance) {
  return RegisterOwnClass(instance, kMainWindowClassName, &MainWindow::WindowProcedureForClass,
                          sizeof(LONG_PTR)) &&
         RegisterOwnClass(instance, kLabelClassName, &LabelProcedure, 0) &&
         picture::RegisterPictureBoxClass(instance);
}

MainWindow::MainWindow(const BoundWindow& window, HINSTANCE instance, DestroyedCallback destroyed)
    : bound_(window), instance_(instance), destroyed_(destroyed), controls_(window.entryCount()) {}

MainWindow::~MainWindow() {
  if (window_) {
    DestroyWindow(window_);
  }
  delete dialog_;
  if (bigIcon_) DestroyIcon(bigIcon_);
  if (smallIcon_) DestroyIcon(smallIcon_);
}

HWND MainWindow::ControlWindow(std::size_t entry) const {
  return entry < controls_.size() ? controls_[entry] : nullptr;
}

LRESULT CALLBACK MainWindow::WindowProcedureForClass(HWND window, UINT message, WPARAM wParam,
                                                     LPARAM lParam) {
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, 0));
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    self = static_cast<MainWindow*>(create->lpCreateParams);
    SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(self));
    self->window_ = window;
  }
  if (!self) return DefWindowProcA(window, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

bool MainWindow::LoadWindow() {
  const ControlDescription& own = bound_.entry(0);
  const WindowSettings& settings = *own.settings.window;
  tabOrder_ = TabOrder(bound_.description());

  // 1. Nothing is raised while the window is being built.
  droppingEvents_ = true;

  // 2. The window, hidden.
  DWORD style = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  if (settings.minimizeBox) style |= WS_MINIMIZEBOX;
  if (settings.maximizeBox) style |= WS_MAXIMIZEBOX;
  int left = own.left, top = own.top;
  if (settings.position == WindowPosition::kCentred) {
    Point centred = CentredPosition(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                    own.width, own.height);
    left = centred.x;
    top = centred.y;
  }
  HWND created = CreateWindowExA(0, kMainWindowClassName, settings.caption, style, left, top,
                                 own.width, own.height, nullptr, nullptr, instance_, this);
  if (!created) {
    window_ = nullptr;
    droppingEvents_ = false;
    return false;
  }
  RECT outer;
  GetWindowRect(window_, &outer);
  if (outer.left != left || outer.top != top || outer.right - outer.left != own.width ||
      outer.bottom - outer.top != own.height) {
    SetWindowPos(window_, nullptr, left, top, own.width, own.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  bigIcon_ = LoadProgramIcon(instance_, 32);
  smallIcon_ = LoadProgramIcon(instance_, 16);
  SendMessageA(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
  SendMessageA(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
  SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultFont()), FALSE);

  // 3. The controls, hidden, in reverse stored order.
  for (std::size_t entry = bound_.entryCount(); entry-- > 1;) {
    if (!CreateControl(entry)) {
      droppingEvents_ = false;
      HWND doomed = window_;
      DestroyedCallback destroyed = destroyed_;
      destroyed_ = nullptr;  // a window that was never loaded ends nothing
      DestroyWindow(doomed);
      destroyed_ = destroyed;
      return false;
    }
  }

  // 4. Stacking follows the stored order, entry 1 on top.
  ArrangeStacking();

  // 5. Visible controls are shown without activating them.
  for (std::size_t entry = 1; entry < bound_.entryCount(); ++entry) {
    if (controls_[entry] && bound_.entry(entry).visible) ShowWindow(controls_[entry], SW_SHOWNA);
  }

  // 6. Events count again.
  droppingEvents_ = false;

  // 7, 8. created, moved, resized; a handler may close the window.
  RaiseEvent(0, kEventCreated);
  if (!window_) return true;
  RaiseEvent(0, kEventMoved);
  if (!window_) return true;
  RaiseEvent(0, kEventResized);
  if (!window_) return true;

  // 9. Shown as the position setting says; WM_SETFOCUS passes the focus on.
  int show = SW_SHOW;
  if (settings.position == WindowPosition::kMinimized) show = SW_SHOWMINIMIZED;
  if (settings.position == WindowPosition::kMaximized) show = SW_SHOWMAXIMIZED;
  ShowWindow(window_, show);
  SetForegroundWindow(window_);
  if (GetFocus() != window_ && !IsChild(window_, GetFocus())) SetFocus(window_);
  // 10.
  return true;
}

bool MainWindow::CreateControl(std::size_t entry) {
  const ControlDescription& control = bound_.entry(entry);
  const KindSettings& settings = control.settings;
  HMENU id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + entry));
  DWORD common = WS_CHILD | WS_CLIPSIBLINGS;
  if (control.tabStop) common |= WS_TABSTOP;
  if (control.disabled) common |= WS_DISABLED;
  HWND created = nullptr;
  switch (control.kind) {
    case ControlKind::kEditBox: {
      DWORD style = common | ES_AUTOHSCROLL;
      int height = std::max<int>(control.height, SingleLineEditMinimumHeight());
      if (settings.edit->readOnly) style |= ES_READONLY;
      if (settings.edit->password) style |= ES_PASSWORD;
      if (!settings.edit->hideSelection) style |= ES_NOHIDESEL;
      created = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", settings.edit->content, style,
                                control.left, control.top, control.width, height, window_, id,
                                instance_, nullptr);
      if (created) {
        SendMessageA(created, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultFont()), FALSE);
        SendMessageA(created, EM_LIMITTEXT, static_cast<WPARAM>(settings.edit->maximumLength), 0);
        SendMessageA(created, EM_SETSEL, 0, 0);
      }
      break;
    }
    case ControlKind::kButton: {
      DWORD style = common | BS_CENTER | BS_VCENTER;
      style |= settings.button->isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
      if (settings.button->multiLine) style |= BS_MULTILINE;
      created = CreateWindowExA(0, "BUTTON", settings.button->caption, style, control.left,
                                control.top, control.width, control.height, window_, id,
                                instance_, nullptr);
      if (created) SendMessageA(created, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultFont()), FALSE);
      break;
    }
    case ControlKind::kLabel:
      created = CreateWindowExA(0, kLabelClassName, settings.label->text, common, control.left,
                                control.top, control.width, control.height, window_, id, instance_,
                                nullptr);
      break;
    case ControlKind::kPictureBox:
      created = CreateWindowExA(0, picture::kPictureBoxClassName, "",
                                common | (settings.pictureBox->borderStyle == 1 ? WS_BORDER : 0),
                                control.left, control.top, control.width, control.height, window_,
                                id, instance_, nullptr);
      break;
    case ControlKind::kCommonDialog:
      // Settings only: the dialog is shown by GetSaveFileNameA when asked.
      delete dialog_;
      dialog_ = new save::SaveDialog(*settings.commonDialog);
      return true;
    case ControlKind::kWindow:
      return false;
  }
  controls_[entry] = created;
  return created != nullptr;
}

void MainWindow::ArrangeStacking() {
  HWND above = HWND_TOP;
  for (std::size_t entry = 1; entry < bound_.entryCount(); ++entry) {
    if (!controls_[entry]) continue;
    SetWindowPos(controls_[entry], above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    above = controls_[entry];
  }
}

void MainWindow::RaiseEvent(std::size_t entry, std::int32_t event) {
  if (droppingEvents_) return;
  if (observer_) observer_(entry, event);
  switch (bound_.HandlerFor(entry, event)) {
    case HandlerId::kOnMainWindowCreated: OnMainWindowCreated(); break;
    case HandlerId::kOnSearchClicked: OnSearchClicked(); break;
    case HandlerId::kOnSaveAsClicked: OnSaveAsClicked(); break;
    case HandlerId::kNoHandler:
    case HandlerId::kCount: break;
  }
}

std::size_t MainWindow::EntryOfWindow(HWND window) const {
  for (std::size_t entry = 1; entry < controls_.size(); ++entry) {
    if (window && controls_[entry] == window) return entry;
  }
  return controls_.size();
}

HWND MainWindow::ControlNamed(const char* name) const {
  std::size_t entry = bound_.FindEntry(name);
  return entry < controls_.size() ? controls_[entry] : nullptr;
}

void MainWindow::MoveFocus(bool backwards) {
  std::vector<std::size_t> order;
  for (std::size_t entry : tabOrder_) {
    if (CanTakeFocus(controls_[entry])) order.push_back(entry);
  }
  if (order.empty()) return;
  HWND focus = GetFocus();
  std::size_t current = EntryOfWindow(focus);
  // A focused child of a control (none here) counts as its control.
  for (std::size_t entry = 1; current == controls_.size() && entry < controls_.size(); ++entry) {
    if (controls_[entry] && IsChild(controls_[entry], focus)) current = entry;
  }
  SetFocus(controls_[NextInTabOrder(order, current, backwards)]);
}

void MainWindow::PassFocusOn() {
  if (lastFocus_ && IsWindow(lastFocus_) && IsChild(window_, lastFocus_) &&
      CanTakeFocus(lastFocus_)) {
    SetFocus(lastFocus_);
    return;
  }
  for (std::size_t entry : tabOrder_) {
    if (CanTakeFocus(controls_[entry])) {
      SetFocus(controls_[entry]);
      return;
    }
  }
}

bool MainWindow::PreTranslateMessage(const MSG& message) {
  if (!window_) return false;
  if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
  if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
  KeyPress key = {static_cast<std::uint32_t>(message.wParam), GetKeyState(VK_CONTROL) < 0,
                  GetKeyState(VK_SHIFT) < 0,
                  message.message == WM_SYSKEYDOWN || GetKeyState(VK_MENU) < 0};
  switch (ClassifyKey(*bound_.entry(0).settings.window, key)) {
    case KeyAction::kNextControl: MoveFocus(false); return true;
    case KeyAction::kPreviousControl: MoveFocus(true); return true;
    case KeyAction::kClose: SendMessageA(window_, WM_CLOSE, 0, 0); return true;
    case KeyAction::kNone: return false;
  }
  return false;
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND window = window_;
  switch (message) {
    case WM_ERASEBKGND: {
      RECT area;
      GetClientRect(window, &area);
      FillRect(reinterpret_cast<HDC>(wParam), &area, GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED && lParam) {
        std::size_t entry = EntryOfWindow(reinterpret_cast<HWND>(lParam));
        if (entry < controls_.size() && bound_.entry(entry).kind == ControlKind::kButton) {
          RaiseEvent(entry, kEventClicked);
        }
      }
      return 0;
    case WM_MOVE:
      RaiseEvent(0, kEventMoved);
      return 0;
    case WM_SIZE:
      RaiseEvent(0, kEventResized);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(window, focus)) lastFocus_ = focus;
      } else if (!HIWORD(wParam)) {  // not minimized
        PassFocusOn();
      }
      return 0;
    case WM_SETFOCUS:
      PassFocusOn();
      return 0;
    case WM_NCDESTROY: {
      SetWindowLongPtrA(window, 0, 0);
      window_ = nullptr;
      for (HWND& control : controls_) control = nullptr;
      lastFocus_ = nullptr;
      LRESULT result = DefWindowProcA(window, message, wParam, lParam);
      if (destroyed_) destroyed_();
      return result;
    }
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

void MainWindow::OnMainWindowCreated() { skin::ControlSkin(1); }

void MainWindow::OnSearchClicked() { lookup::OnSearchClicked(*this); }

void MainWindow::OnSaveAsClicked() { save::OnSaveAsClicked(*this); }

Text MainWindow::GetText() {
  HWND edit = ControlNamed(kEditBoxName);
  if (!edit) return Text();
  int length = GetWindowTextLengthA(edit);
  if (length <= 0) return Text();
  auto* block = static_cast<char*>(AllocateBlock(static_cast<std::size_t>(length) + 1));
  int copied = GetWindowTextA(edit, block, length + 1);
  if (copied <= 0) {
    FreeBlock(block);
    return Text();
  }
  block[copied] = 0;
  return Text::Adopt(block, static_cast<std::size_t>(copied));
}

void MainWindow::SetPicture(const Bytes& picture) {
  HWND box = ControlNamed(kPictureBoxName);
  if (box) picture::SetPicture(box, picture);
}

Bytes MainWindow::GetPicture() {
  HWND box = ControlNamed(kPictureBoxName);
  return box ? picture::GetPicture(box) : Bytes();
}

bool MainWindow::HasAvatarAddress() {
  return lookup::CompareText(lookup::AvatarAddress().c_str(), "") != 0;
}

void MainWindow::ShowMessage(const char* text, std::uint32_t buttons) {
  save::ShowMessage(text, buttons);
  // A task-modal box without owner re-enables the window only after it is gone, so the
  // system may leave no window active: the window takes the activation (and with it the
  // focus it had) back.
  if (window_ && GetActiveWindow() == nullptr) SetActiveWindow(window_);
}

bool MainWindow::ShowFileDialog() { return dialog_ && dialog_->Show(window_); }

Text MainWindow::GetFileName() { return dialog_ ? dialog_->GetFileName() : Text(); }

bool MainWindow::WriteFileBytes(const Text& fileName, const Bytes& bytes) {
  return save::WriteFileBytes(fileName, bytes);
}

}  // namespace tolvane::app
