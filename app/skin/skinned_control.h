#pragma once
// What the skin keeps per control and how the facility and the control kinds talk: each kind
// file decides its messages (a MessagePlan) and paints; control_skin.cpp runs the plans.
#include <windows.h>

#include <cstdint>

#include "app/skin/skin_colors.h"
#include "app/skin/skin_kind.h"

namespace tolvane::skin {

struct SkinnedControl {
  HWND window;
  SkinKind kind;
  std::uint32_t state;  // StateBit
  COLORREF backgroundColour;
  COLORREF textColour;
  HBRUSH backgroundBrush;  // the parent's; never deleted here
  WNDPROC previousProcedure;
  // Registry bookkeeping.
  SkinnedControl* next;
  // Given back while another procedure sat above the skin's: the record only forwards to the
  // previous procedure until the window ends, so that procedure's chain stays whole.
  bool forwardOnly;
};

// The control's own handling of a message.
enum class Handling {
  kOwn,      // the control's previous procedure
  kDefault,  // DefWindowProcA
  kNone,
};

struct MessagePlan {
  Handling handling = Handling::kOwn;
  bool paint = false;  // the kind's painting after the handling
  bool fixedResult = false;
  LRESULT result = 0;
};

// The active record of a window that is taken over, or null.
SkinnedControl* FindSkinnedControl(HWND window);
// The current style's colours.
const StyleColours& CurrentColours();
// The rules shared by every kind; applies the state change.
MessagePlan CommonMessagePlan(SkinnedControl& control, UINT message, WPARAM wParam,
                              LPARAM lParam);

// Per kind: the messages a kind handles differently from the common rules (false: not one of
// them), and its painting. Painting may throw; the skin procedure catches it.
bool PlanButtonMessage(SkinnedControl& control, UINT message, WPARAM wParam, LPARAM lParam,
                       MessagePlan* plan);  // push button, check box, radio button
void TakeOverButton(SkinnedControl& control);
void PaintPushButton(SkinnedControl& control);
void PaintCheckBox(SkinnedControl& control);
void PaintRadioButton(SkinnedControl& control);
// The caption of a check box or radio button in `text`, with the focus rectangle around it.
void DrawBoxButtonCaption(HDC dc, const SkinnedControl& control, const RECT& text);

bool PlanEditBoxMessage(SkinnedControl& control, UINT message, WPARAM wParam, LPARAM lParam,
                        MessagePlan* plan);
void TakeOverEditBox(SkinnedControl& control);
void PaintEditBox(SkinnedControl& control);
// The edit box's two rings (also the drop-down list's); the inner one in the button face
// colour when `plainInnerRing`, else in the window colour.
void PaintEditRings(SkinnedControl& control, bool plainInnerRing);

bool PlanComboBoxMessage(SkinnedControl& control, UINT message, WPARAM wParam, LPARAM lParam,
                         MessagePlan* plan);
void PaintComboBox(SkinnedControl& control);
void PaintDropDownList(SkinnedControl& control);

bool PlanGroupBoxMessage(SkinnedControl& control, UINT message, WPARAM wParam, LPARAM lParam,
                         MessagePlan* plan);
void PaintGroupBox(SkinnedControl& control);

bool PlanUpDownMessage(SkinnedControl& control, UINT message, WPARAM wParam, LPARAM lParam,
                       MessagePlan* plan);
void TakeOverUpDown(SkinnedControl& control);
void PaintUpDown(SkinnedControl& control);

}  // namespace tolvane::skin
