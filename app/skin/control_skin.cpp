// The skin facility: switching on and off, the creation hook, the registry of taken-over
// controls and the skin procedure that every message of those controls passes through.
#include "app/skin/control_skin.h"

#include <windows.h>

#include <new>

#include "app/skin/skin_paint.h"
#include "app/skin/skinned_control.h"
#include "base/memory.h"

namespace tolvane::skin {
namespace {

using PlanFunction = bool (*)(SkinnedControl&, UINT, WPARAM, LPARAM, MessagePlan*);
using PaintFunction = void (*)(SkinnedControl&);
using TakeOverFunction = void (*)(SkinnedControl&);

struct KindBehaviour {
  PlanFunction plan;          // null: the common rules only
  PaintFunction paint;
  TakeOverFunction takeOver;  // kind-dependent initial state, may be null
};

// By SkinKind; the kinds after the up-down are recognised but never taken over.
constexpr KindBehaviour kBehaviours[] = {
    /* none */ {nullptr, nullptr, nullptr},
    /* push button */ {PlanButtonMessage, PaintPushButton, TakeOverButton},
    /* check box */ {PlanButtonMessage, PaintCheckBox, TakeOverButton},
    /* radio button */ {PlanButtonMessage, PaintRadioButton, TakeOverButton},
    /* group box */ {PlanGroupBoxMessage, PaintGroupBox, nullptr},
    /* edit box */ {PlanEditBoxMessage, PaintEditBox, TakeOverEditBox},
    /* combo box */ {PlanComboBoxMessage, PaintComboBox, nullptr},
    /* drop-down list */ {nullptr, PaintDropDownList, nullptr},
    /* up-down */ {PlanUpDownMessage, PaintUpDown, TakeOverUpDown},
};
static_assert(static_cast<int>(SkinKind::kUpDown) + 1 == sizeof kBehaviours / sizeof kBehaviours[0],
              "one entry per kind that is taken over");

const KindBehaviour& BehaviourOf(SkinKind kind) {
  const auto index = static_cast<std::size_t>(kind);
  return index < sizeof kBehaviours / sizeof kBehaviours[0] ? kBehaviours[index] : kBehaviours[0];
}

// The skin's state: all on the UI thread, no locks.
int g_style = 0;
HHOOK g_creationHook = nullptr;
SkinnedControl* g_registry = nullptr;  // most recently taken over first

LRESULT CALLBACK SkinProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Any record of the window, also one that only forwards.
SkinnedControl* FindRecord(HWND window) {
  for (SkinnedControl* c = g_registry; c; c = c->next) {
    if (c->window == window) return c;
  }
  return nullptr;
}

void Unlink(SkinnedControl* record) {
  for (SkinnedControl** link = &g_registry; *link; link = &(*link)->next) {
    if (*link == record) {
      *link = record->next;
      return;
    }
  }
}

void Release(SkinnedControl* record) {
  Unlink(record);
  record->~SkinnedControl();
  FreeBlock(record);
}

// Invalidate, erase and paint, frame included, before returning.
void RedrawWholeWindow(HWND window) {
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ERASENOW | RDW_UPDATENOW);
}

void ReadClassName(HWND window, char (&name)[260]) {
  name[0] = 0;
  if (window && GetClassNameA(window, name, sizeof name) <= 0) name[0] = 0;
}

SkinKind KindOf(HWND window) {
  char className[260];
  char parentClassName[260];
  ReadClassName(window, className);
  ReadClassName(GetParent(window), parentClassName);
  WindowFacts facts;
  facts.className = className;
  facts.parentClassName = parentClassName;
  facts.style = static_cast<std::uint32_t>(GetWindowLongPtrA(window, GWL_STYLE));
  facts.captionEmpty = GetWindowTextLengthA(window) == 0;
  return ClassifyWindow(facts);
}

// Initial state, read from the window as it is now.
void SampleInitialState(SkinnedControl& record) {
  record.state = 0;
  const auto style = static_cast<std::uint32_t>(GetWindowLongPtrA(record.window, GWL_STYLE));
  if (style & style_bits::kDisabled) record.state |= kDisabled;
  if (GetFocus() == record.window) record.state |= kFocused;
}

void TakeOver(HWND window) {
  if (SkinnedControl* existing = FindRecord(window)) {
    // A record left forwarding under someone else's procedure becomes active again.
    if (existing->forwardOnly) {
      existing->forwardOnly = false;
      SampleInitialState(*existing);
      if (const TakeOverFunction takeOver = BehaviourOf(existing->kind).takeOver) takeOver(*existing);
      RedrawWholeWindow(window);
    }
    return;
  }
  // A child of one of our windows may belong to another thread; its messages would run the
  // skin there, beside this thread, and the registry has no locks.
  if (GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId()) return;
  const SkinKind kind = KindOf(window);
  if (!IsTakenOver(kind)) return;

  void* block = AllocateBlock(sizeof(SkinnedControl));
  auto* record = new (block) SkinnedControl{};
  record->window = window;
  record->kind = kind;
  SampleInitialState(*record);
  // Until the first background erase captures the parent's colours, paint as an
  // unthemed parent would answer.
  record->backgroundBrush = GetSysColorBrush(COLOR_BTNFACE);
  record->backgroundColour = GetSysColor(COLOR_BTNFACE);
  record->textColour = GetSysColor(COLOR_BTNTEXT);
  record->next = g_registry;
  g_registry = record;

  record->previousProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SkinProcedure)));
  if (!record->previousProcedure) {  // the window refused (another process's, or gone)
    Release(record);
    return;
  }
  if (const TakeOverFunction takeOver = BehaviourOf(kind).takeOver) takeOver(*record);
  RedrawWholeWindow(window);
}

void GiveBack(HWND window) {
  SkinnedControl* record = FindSkinnedControl(window);
  if (!record) return;
  const auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
  if (current != SkinProcedure) {
    // Someone replaced the procedure after the skin did and calls the skin's in turn:
    // restoring ours would cut theirs out. Keep forwarding until the window ends.
    record->forwardOnly = true;
    RedrawWholeWindow(window);
    return;
  }
  SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record->previousProcedure));
  Release(record);
  RedrawWholeWindow(window);
}

// Each top-level window of the thread, then all of its descendants.
template <void (*Visit)(HWND)>
BOOL CALLBACK VisitDescendant(HWND child, LPARAM) {
  Visit(child);
  return TRUE;
}

template <void (*Visit)(HWND)>
BOOL CALLBACK VisitTopLevel(HWND top, LPARAM) {
  Visit(top);
  EnumChildWindows(top, VisitDescendant<Visit>, 0);
  return TRUE;
}

template <void (*Visit)(HWND)>
void WalkThreadWindows() {
  EnumThreadWindows(GetCurrentThreadId(), VisitTopLevel<Visit>, 0);
}

LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code >= 0) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (call && call->message == WM_CREATE) TakeOver(call->hwnd);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void SwitchOn() {
  WalkThreadWindows<TakeOver>();
  g_creationHook = SetWindowsHookExA(WH_CALLWNDPROC, CreationHook, nullptr, GetCurrentThreadId());
}

int SwitchOff() {
  if (!g_creationHook) return 0;
  WalkThreadWindows<GiveBack>();
  const BOOL removed = UnhookWindowsHookEx(g_creationHook);
  g_creationHook = nullptr;
  return removed;
}

// The parent answers WM_CTLCOLORBTN with the brush it wants behind the control and leaves
// its text colour in the device context.
void CaptureParentColours(SkinnedControl& control) {
  HWND parent = GetParent(control.window);
  HDC dc = GetDC(control.window);
  if (!dc) return;
  HBRUSH brush = nullptr;
  if (parent) {
    brush = reinterpret_cast<HBRUSH>(SendMessageA(
        parent, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control.window)));
  }
  if (!brush) {
    // No parent, or one that does not answer: the system's button face, as an unthemed
    // parent would give; a null brush would leave the off-screen bitmap unpainted.
    brush = reinterpret_cast<HBRUSH>(DefWindowProcA(
        control.window, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control.window)));
    if (!brush) brush = GetSysColorBrush(COLOR_BTNFACE);
  }
  control.backgroundBrush = brush;
  LOGBRUSH description{};
  if (GetObjectA(brush, sizeof description, &description) == sizeof description) {
    control.backgroundColour = description.lbColor;
  }
  control.textColour = GetTextColor(dc);
  ReleaseDC(control.window, dc);
}

void PaintCaught(HWND window) {
  SkinnedControl* control = FindSkinnedControl(window);
  if (!control) return;  // given back or destroyed while the control handled the message
  const PaintFunction paint = BehaviourOf(control->kind).paint;
  if (!paint) return;
  try {
    paint(*control);
  } catch (...) {
    // The control keeps what is on screen; the message's result is not affected.
  }
}

LRESULT CALLBACK SkinProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  SkinnedControl* control = FindRecord(window);
  // No record (the window's procedure was kept by a subclass after the record went): the
  // default handling, since a plain 0 would refuse WM_NCCREATE and answer every query empty.
  if (!control) return DefWindowProcA(window, message, wParam, lParam);
  const WNDPROC own = control->previousProcedure;

  if (control->forwardOnly) {
    const LRESULT result = CallWindowProcA(own, window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
      if (SkinnedControl* record = FindRecord(window)) Release(record);
    }
    return result;
  }

  // Three messages leave at once.
  if ((message == WM_LBUTTONDOWN && control->kind == SkinKind::kUpDown) ||
      (message == EM_SETREADONLY && control->kind == SkinKind::kEditBox)) {
    return CallWindowProcA(own, window, message, wParam, lParam);
  }
  if (message == WM_DESTROY) {
    const LRESULT result = CallWindowProcA(own, window, message, wParam, lParam);
    GiveBack(window);
    return result;
  }

  if (message == WM_ERASEBKGND) CaptureParentColours(*control);

  MessagePlan plan;
  const PlanFunction planOfKind = BehaviourOf(control->kind).plan;
  if (!planOfKind || !planOfKind(*control, message, wParam, lParam, &plan)) {
    plan = CommonMessagePlan(*control, message, wParam, lParam);
  }
  // `control` may be freed from here on: the handling can destroy the window or switch the
  // skin off.
  LRESULT result = 0;
  if (plan.handling == Handling::kOwn) {
    result = CallWindowProcA(own, window, message, wParam, lParam);
  } else if (plan.handling == Handling::kDefault) {
    result = DefWindowProcA(window, message, wParam, lParam);
  }
  if (plan.fixedResult) result = plan.result;
  if (plan.paint) PaintCaught(window);
  return result;
}

}  // namespace

SkinnedControl* FindSkinnedControl(HWND window) {
  SkinnedControl* record = FindRecord(window);
  return record && !record->forwardOnly ? record : nullptr;
}

const StyleColours& CurrentColours() { return ColoursOfStyle(g_style); }

MessagePlan CommonMessagePlan(SkinnedControl& control, UINT message, WPARAM wParam, LPARAM) {
  MessagePlan plan;  // own only
  switch (message) {
    case WM_SETFOCUS:
      control.state |= kFocused;
      plan.paint = true;
      break;
    case WM_KILLFOCUS:
      control.state &= ~kFocused;
      plan.paint = true;
      break;
    case WM_ENABLE:
      if (wParam == 0) control.state |= kDisabled; else control.state &= ~kDisabled;
      plan.paint = true;
      break;
    case WM_MOUSEMOVE:
      if (!(control.state & kHot) && !(wParam & MK_LBUTTON)) {
        control.state |= kHot;
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof track;
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = control.window;
        TrackMouseEvent(&track);
        plan.paint = true;
      }
      break;
    case WM_MOUSELEAVE:
      if (control.state & kHot) {
        control.state &= ~kHot;
        plan.paint = true;
      }
      break;
    default:
      break;
  }
  return plan;
}

int ControlSkin(int style) {
  g_style = style;
  if (IsValidStyle(style)) {
    SwitchOff();
    SwitchOn();
    return 1;
  }
  return SwitchOff();
}

std::size_t SkinnedControlCount() {
  std::size_t count = 0;
  for (SkinnedControl* c = g_registry; c; c = c->next) {
    if (!c->forwardOnly) ++count;
  }
  return count;
}

bool ControlSkinHookInstalled() { return g_creationHook != nullptr; }

}  // namespace tolvane::skin
