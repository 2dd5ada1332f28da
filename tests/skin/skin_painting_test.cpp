// Pixels the skin paints, read back from real controls. Each case names the pixel and the
// colour that the state and style fix.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>

#include "app/skin/control_skin.h"
#include "app/skin/skinned_control.h"
#include "app/skin/skin_kind.h"
#include "tests/skin/skin_test_window.h"

namespace tolvane::skin {
namespace {

using testing::Describe;
using testing::HostWindow;
using testing::Near;
using testing::Snapshot;
using testing::TopRowColour;

struct PixelExpectation {
  const char* what;
  int x;
  int y;
  Colour colour;
  int tolerance;
};

void ExpectPixels(const Snapshot& shot, const std::vector<PixelExpectation>& expected, const std::string& label) {
  for (const PixelExpectation& e : expected) {
    const Colour actual = shot.At(e.x, e.y);
    EXPECT_TRUE(Near(actual, e.colour, e.tolerance))
        << label << ": " << e.what << " at (" << e.x << "," << e.y << ") expected " << Describe(e.colour)
        << " got " << Describe(actual);
  }
}

Colour Face() { return GetSysColor(COLOR_BTNFACE); }

class SkinPainting : public ::testing::Test {
 protected:
  void TearDown() override { ControlSkin(0); }
  HostWindow host_;
};

// --- Push buttons -------------------------------------------------------------------------

enum class ButtonState { kNormal, kHot, kPressed, kFocused, kDefault, kDisabled, kChecked };

const char* NameOf(ButtonState s) {
  switch (s) {
    case ButtonState::kNormal: return "normal";
    case ButtonState::kHot: return "hot";
    case ButtonState::kPressed: return "pressed";
    case ButtonState::kFocused: return "focused";
    case ButtonState::kDefault: return "default";
    case ButtonState::kDisabled: return "disabled";
    default: return "checked";
  }
}

TEST_F(SkinPainting, PushButtonStatesInEveryStyle) {
  constexpr int kW = 80, kH = 30;
  const ButtonState states[] = {ButtonState::kNormal,  ButtonState::kHot,      ButtonState::kPressed,
                                ButtonState::kFocused, ButtonState::kDefault,  ButtonState::kDisabled,
                                ButtonState::kChecked};
  for (int style = 1; style <= 3; ++style) {
    ASSERT_EQ(ControlSkin(style), 1);
    const StyleColours& colours = ColoursOfStyle(style);
    for (ButtonState state : states) {
      DWORD buttonStyle = BS_PUSHBUTTON;
      if (state == ButtonState::kDefault) buttonStyle = BS_DEFPUSHBUTTON;  // default from take-over
      if (state == ButtonState::kChecked) buttonStyle = BS_AUTOCHECKBOX | BS_PUSHLIKE;
      HWND button = host_.Add("BUTTON", "OK", buttonStyle, 20, 20, kW, kH);
      switch (state) {
        case ButtonState::kHot:
          testing::MoveCursorTo(button, 5, 5);
          SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
          break;
        case ButtonState::kPressed: SendMessageA(button, BM_SETSTATE, TRUE, 0); break;
        case ButtonState::kFocused: SetFocus(button); break;
        case ButtonState::kDisabled: EnableWindow(button, FALSE); break;
        case ButtonState::kChecked: SendMessageA(button, BM_SETCHECK, BST_CHECKED, 0); break;
        default: break;
      }
      const Snapshot shot(button);
      const bool disabled = state == ButtonState::kDisabled;
      const Colour border = disabled ? ButtonFaceMinus(Face(), kDarken32) : colours.pushButtonBorder;
      const Colour diagonal = disabled ? ButtonFaceMinus(Face(), kDarken21) : colours.pushButtonBorder;
      const Colour side = disabled ? ButtonFaceMinus(Face(), kDarken17) : colours.pushButtonBorder;
      int edge = kEdgeNormal;
      int face = kFaceNormal;
      if (state == ButtonState::kHot) edge = kEdgeHot;
      if (state == ButtonState::kPressed) edge = kEdgePressed, face = kFacePressed;
      if (state == ButtonState::kFocused || state == ButtonState::kDefault) edge = kEdgeFocused;
      if (state == ButtonState::kChecked) edge = kEdgeChecked, face = kFacePressed;
      const Colour band = disabled ? fixed_colours::kDisabledFace
                                   : TopRowColour(colours.pushButton[edge], 2, kW - 2, kW / 2);
      const Colour faceTop = disabled ? fixed_colours::kDisabledFace
                                      : TopRowColour(colours.pushButton[face], 4, kW - 4, kW / 2);
      ExpectPixels(shot,
                   {
                       {"outer ring", kW / 2, 0, Face(), 0},
                       {"outer ring corner", 0, 0, Face(), 0},
                       {"rounded corner", 1, 1, Face(), 0},
                       {"rounded corner", kW - 2, kH - 2, Face(), 0},
                       {"second ring", kW / 2, 1, border, 0},
                       {"second ring", 1, kH / 2, border, 0},
                       {"corner diagonal", 2, 2, diagonal, 0},
                       {"corner diagonal", kW - 3, kH - 3, diagonal, 0},
                       {"corner side", 1, 2, side, 0},
                       {"corner side", kW - 2, kH - 3, side, 0},
                       {"edge band top", kW / 2, 2, band, 3},
                       {"face top", kW / 2, 4, faceTop, 3},
                   },
                   std::string("style ") + std::to_string(style) + " " + NameOf(state));
      if (state == ButtonState::kDefault || state == ButtonState::kChecked) {
        const LRESULT check = SendMessageA(button, BM_GETCHECK, 0, 0);
        EXPECT_EQ(check, state == ButtonState::kChecked ? BST_CHECKED : BST_UNCHECKED);
      }
      DestroyWindow(button);
      SetFocus(host_.get());
    }
  }
}

// The caption's black pixels: their bounding box.
struct InkBox {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};
InkBox InkOf(const Snapshot& shot, int inset, const std::function<bool(Colour)>& isInk) {
  InkBox box;
  for (int y = inset; y < shot.height() - inset; ++y) {
    for (int x = inset; x < shot.width() - inset; ++x) {
      if (!isInk(shot.At(x, y))) continue;
      box.left = std::min(box.left, x);
      box.right = std::max(box.right, x);
      box.top = std::min(box.top, y);
      box.bottom = std::max(box.bottom, y);
    }
  }
  return box;
}

TEST_F(SkinPainting, PushButtonFollowsTheMouse) {
  ASSERT_EQ(ControlSkin(1), 1);
  const StyleColours& colours = ColoursOfStyle(1);
  constexpr int kW = 80;
  HWND button = host_.Add("BUTTON", "OK", BS_PUSHBUTTON, 20, 20, kW, 30);
  testing::MoveCursorTo(button, 5, 5);
  const struct {
    const char* step;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    int edge;
  } steps[] = {
      {"mouse over", WM_MOUSEMOVE, 0, MAKELPARAM(5, 5), kEdgeHot},
      {"mouse off", WM_MOUSELEAVE, 0, 0, kEdgeNormal},
      {"moved in with the button held", WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 5), kEdgeNormal},
      {"mouse down", WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5), kEdgePressed},
      {"released outside", WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(-50), static_cast<WORD>(-50)), kEdgeFocused},
  };
  for (const auto& s : steps) {
    SendMessageA(button, s.message, s.wParam, s.lParam);
    // The mouse-down focused the button, so after release the edge is the focused one.
    const Snapshot shot(button);
    ExpectPixels(shot, {{"edge band top", kW / 2, 2, TopRowColour(colours.pushButton[s.edge], 2, kW - 2, kW / 2), 3}},
                 s.step);
  }
}

// A parent's answer to WM_CTLCOLORBTN: the brush behind the control and the text colour.
LRESULT CALLBACK ColouringParent(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  static HBRUSH green = CreateSolidBrush(Rgb(0, 128, 0));
  if (message == WM_CTLCOLORBTN) {
    const auto answer = GetWindowLongPtrA(window, GWLP_USERDATA);
    if (answer == 0) return 0;  // a parent that gives no brush
    SetTextColor(reinterpret_cast<HDC>(wParam), Rgb(200, 0, 0));
    return reinterpret_cast<LRESULT>(green);
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(SkinPainting, ParentColoursBehindAndInTheCaption) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = ColouringParent;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "TolvaneSkinColouringParent";
  RegisterClassA(&wc);
  ASSERT_EQ(ControlSkin(1), 1);
  const struct {
    const char* name;
    LONG_PTR answer;
    Colour background;
    Colour text;
  } cases[] = {
      {"green brush, red text", 1, Rgb(0, 128, 0), Rgb(200, 0, 0)},
      {"no brush: button face", 0, GetSysColor(COLOR_BTNFACE), 0xFFFFFFFF},
  };
  for (const auto& c : cases) {
    HWND parent = CreateWindowExA(0, wc.lpszClassName, "", WS_CHILD | WS_VISIBLE, 300, 20, 200, 60, host_.get(),
                                  nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrA(parent, GWLP_USERDATA, c.answer);
    HWND box = CreateWindowExA(0, "BUTTON", "Check", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX | BS_RIGHTBUTTON, 10,
                               10, 120, 20, parent, nullptr, wc.hInstance, nullptr);
    SendMessageA(box, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW | RDW_UPDATENOW);
    const Snapshot shot(box);
    ExpectPixels(shot, {{"background", 0, 0, c.background, 0}}, c.name);
    if (c.text != 0xFFFFFFFF) {
      const InkBox ink = InkOf(shot, 0, [&](Colour x) { return x == c.text; });
      EXPECT_GE(ink.right, ink.left) << c.name << ": caption in the parent's text colour";
    }
    DestroyWindow(parent);
  }
}

TEST_F(SkinPainting, PushButtonCaptionAmpersandUnderlinesAndIsNotCounted) {
  ASSERT_EQ(ControlSkin(1), 1);
  HWND plain = host_.Add("BUTTON", "WWW", BS_PUSHBUTTON, 20, 20, 90, 30);
  HWND marked = host_.Add("BUTTON", "&WWW", BS_PUSHBUTTON, 20, 80, 90, 30);
  HWND pressed = host_.Add("BUTTON", "WWW", BS_PUSHBUTTON, 20, 140, 90, 30);
  HWND disabled = host_.Add("BUTTON", "WWW", BS_PUSHBUTTON | WS_DISABLED, 20, 200, 90, 30);
  SendMessageA(pressed, BM_SETSTATE, TRUE, 0);
  const auto black = [](Colour c) { return c == fixed_colours::kBlack; };
  const InkBox a = InkOf(Snapshot(plain), 4, black);
  const InkBox b = InkOf(Snapshot(marked), 4, black);
  const InkBox p = InkOf(Snapshot(pressed), 4, black);
  ASSERT_GE(a.right, a.left) << "caption drawn in black";
  // Same horizontal placement: the "&" takes no room; the underline adds rows below.
  EXPECT_NEAR(b.left, a.left, 1);
  EXPECT_NEAR(b.right, a.right, 1);
  EXPECT_GT(b.bottom, a.bottom);
  // Pressed: the caption moves one pixel right and down.
  EXPECT_EQ(p.left, a.left + 1);
  EXPECT_EQ(p.top, a.top + 1);
  const InkBox d = InkOf(Snapshot(disabled), 4, [](Colour c) { return c == fixed_colours::kDisabledCaption; });
  EXPECT_EQ(d.left, a.left);
  EXPECT_EQ(d.top, a.top);
}

TEST_F(SkinPainting, PushButtonCaptionAlignment) {
  ASSERT_EQ(ControlSkin(1), 1);
  const struct {
    DWORD bits;
    bool left, right, top, bottom;
  } cases[] = {
      {BS_LEFT | BS_TOP, true, false, true, false},
      {BS_RIGHT | BS_BOTTOM, false, true, false, true},
      {BS_CENTER | BS_VCENTER, false, false, false, false},
  };
  for (const auto& c : cases) {
    HWND button = host_.Add("BUTTON", "Go", BS_PUSHBUTTON | BS_MULTILINE | c.bits, 20, 20, 120, 50);
    const InkBox ink = InkOf(Snapshot(button), 4, [](Colour x) { return x == fixed_colours::kBlack; });
    ASSERT_GE(ink.right, ink.left);
    // Text rectangle is the client inset by 4; glyph ink sits a pixel or two inside its cell.
    if (c.left) {
      EXPECT_LE(ink.left, 4 + 2) << std::hex << c.bits;
    }
    if (c.right) {
      EXPECT_GE(ink.right, 120 - 4 - 3) << std::hex << c.bits;
    }
    if (c.top) {
      EXPECT_LE(ink.top, 4 + 4) << std::hex << c.bits;
    }
    if (c.bottom) {
      EXPECT_GE(ink.bottom, 50 - 4 - 5) << std::hex << c.bits;
    }
    if (!c.left && !c.right) {
      EXPECT_NEAR((ink.left + ink.right) / 2, 60, 2) << std::hex << c.bits;
    }
    DestroyWindow(button);
  }
}

// --- Edit boxes ---------------------------------------------------------------------------

TEST_F(SkinPainting, EditBoxRings) {
  const struct {
    const char* name;
    DWORD style;
    DWORD exStyle;
    bool disable;
    bool frameFromStyle;  // outer ring in the style's frame colour (else button face - 0x202020)
    bool innerIsFace;     // inner ring in button face (else the window colour)
  } cases[] = {
      {"normal", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, false, true, false},
      {"read-only", ES_READONLY, WS_EX_CLIENTEDGE, false, true, true},
      {"disabled", 0, WS_EX_CLIENTEDGE, true, false, true},
      {"static edge", 0, WS_EX_STATICEDGE, false, true, false},
  };
  for (int style : {1, 2, 3}) {
    ASSERT_EQ(ControlSkin(style), 1);
    for (const auto& c : cases) {
      HWND edit = host_.Add("EDIT", "text", c.style, 20, 20, 120, 24, c.exStyle);
      if (c.disable) EnableWindow(edit, FALSE);
      testing::Pump();
      const Snapshot shot(edit);
      const Colour outer = c.frameFromStyle ? ColoursOfStyle(style).frame : ButtonFaceMinus(Face(), kDarken32);
      const Colour inner = c.innerIsFace ? Face() : GetSysColor(COLOR_WINDOW);
      ExpectPixels(shot,
                   {{"outer ring", 0, 0, outer, 0},
                    {"outer ring", 60, 23, outer, 0},
                    {"inner ring", 1, 1, inner, 0},
                    {"inner ring", 118, 12, inner, 0}},
                   std::string("edit ") + c.name + " style " + std::to_string(style));
      DestroyWindow(edit);
    }
  }
}

TEST_F(SkinPainting, EditBoxWithoutBorderKeepsItsLook) {
  HWND edit = host_.Add("EDIT", "text", 0, 20, 20, 120, 24);
  const Snapshot before(edit);
  ASSERT_EQ(ControlSkin(1), 1);
  testing::Pump();
  EXPECT_TRUE(Snapshot(edit) == before);
}

// --- Combo boxes --------------------------------------------------------------------------

TEST_F(SkinPainting, ComboBoxFrameAndArrowButton) {
  enum Action { kNothing, kHot, kPressed, kDisabled };
  const struct {
    const char* name;
    Action action;
    int record;  // arrow state index
  } cases[] = {{"normal", kNothing, 3}, {"hot", kHot, 2}, {"pressed", kPressed, 1}, {"disabled", kDisabled, 0}};
  for (int style : {1, 2, 3}) {
    ASSERT_EQ(ControlSkin(style), 1);
    const StyleColours& colours = ColoursOfStyle(style);
    for (const auto& c : cases) {
      HWND combo = host_.Add("COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL, 20, 20, 140, 200);
      SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("one"));
      SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("two"));
      RECT r{};
      GetWindowRect(combo, &r);
      const int w = r.right - r.left;
      const int h = r.bottom - r.top;
      switch (c.action) {
        case kHot:
          testing::MoveCursorTo(combo, 10, 5);
          SendMessageA(combo, WM_MOUSEMOVE, 0, MAKELPARAM(10, 5));
          break;
        case kPressed:
          // The skin's pressed state follows the mouse button; the list is dropped meanwhile.
          SendMessageA(combo, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(w - 8, h / 2));
          break;
        case kDisabled: EnableWindow(combo, FALSE); break;
        default: break;
      }
      const Snapshot shot(combo);
      const bool disabled = c.action == kDisabled;
      const int arrowLeft = w - 2 - GetSystemMetrics(SM_CYVTHUMB) + 1;
      const RECT arrow = {arrowLeft, 2, w - 2, h - 2};
      const FillRecord& corners = colours.arrowButton[kArrowCorners + c.record];
      const int cx = (arrow.left + 1) + (arrow.right - arrow.left - 2) / 2;
      const int cy = (arrow.top + 1) + (arrow.bottom - arrow.top - 2) / 2;
      ExpectPixels(shot,
                   {{"outer ring", 0, 0, disabled ? ButtonFaceMinus(Face(), kDarken32) : colours.frame, 0},
                    {"inner ring", 1, 1, disabled ? Face() : GetSysColor(COLOR_WINDOW), 0},
                    {"arrow frame", arrowLeft - 1, h / 2, disabled ? Face() : GetSysColor(COLOR_WINDOW), 0},
                    {"arrow corner top-left", arrow.left, arrow.top, corners.topLeft, 0},
                    {"arrow corner top-right", arrow.right - 1, arrow.top, corners.topRight, 0},
                    {"arrow corner bottom-right", arrow.right - 1, arrow.bottom - 1, corners.bottomRight, 0},
                    {"chevron tip", cx, cy + 2, disabled ? fixed_colours::kDisabledGlyph : colours.arrowGlyph, 0}},
                   std::string("combo style ") + std::to_string(style) + " " + c.name);
      if (c.action == kPressed) {
        SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
        SendMessageA(combo, WM_LBUTTONUP, 0, MAKELPARAM(w - 8, h / 2));
        const Snapshot released(combo);
        EXPECT_EQ(Describe(released.At(arrow.left, arrow.top)),
                  Describe(colours.arrowButton[kArrowCorners + 3].topLeft))
            << "released: the normal corners again";
      }
      DestroyWindow(combo);
      testing::Pump();
    }
  }
}

TEST_F(SkinPainting, DropDownListRingsOnlyWithItems) {
  ASSERT_EQ(ControlSkin(1), 1);
  for (int items : {0, 2}) {
    HWND combo = host_.Add("COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL, 20, 20, 140, 200);
    for (int i = 0; i < items; ++i) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("item"));
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo, &info));
    ASSERT_NE(FindSkinnedControl(info.hwndList), nullptr) << "the list is taken over";
    SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
    testing::Pump();
    // Painted by the skin only after a state change, here the mouse arriving.
    testing::MoveCursorTo(info.hwndList, 5, 5);
    SendMessageA(info.hwndList, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    const Snapshot shot(info.hwndList);
    const bool bordered = (GetWindowLongPtrA(info.hwndList, GWL_STYLE) & WS_BORDER) ||
                          (GetWindowLongPtrA(info.hwndList, GWL_EXSTYLE) & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
    ASSERT_TRUE(bordered);
    if (items > 0) {
      ExpectPixels(shot,
                   {{"outer ring", 0, 0, ColoursOfStyle(1).frame, 0},
                    {"inner ring", 1, 1, GetSysColor(COLOR_WINDOW), 0}},
                   "drop-down list with items");
    } else {
      EXPECT_NE(shot.At(0, 0), ColoursOfStyle(1).frame) << "empty list keeps its own look";
    }
    SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
    DestroyWindow(combo);
    testing::Pump();
  }
}

// --- Check boxes and radio buttons ----------------------------------------------------------

TEST_F(SkinPainting, CheckBoxStatesAndLayout) {
  ASSERT_EQ(ControlSkin(1), 1);
  constexpr int kW = 120, kH = 20;
  const struct {
    const char* name;
    DWORD style;
    WPARAM check;
    bool hot;
    int boxLeft;
    Colour innerPixel;  // at (boxLeft + 3, 3): the inner area's top-left
    bool markPixel;     // the check mark's first run starts at (boxLeft + 3, 5)
  } cases[] = {
      {"unchecked", BS_AUTOCHECKBOX, BST_UNCHECKED, false, 0, 0xFFFFFFFF, false},
      {"checked", BS_AUTOCHECKBOX, BST_CHECKED, false, 0, 0xFFFFFFFF, true},
      {"hot", BS_AUTOCHECKBOX, BST_UNCHECKED, true, 0, Rgb(231, 231, 231), false},
      {"hot checked", BS_AUTOCHECKBOX, BST_CHECKED, true, 0, Rgb(247, 247, 247), true},
      {"indeterminate", BS_AUTO3STATE, BST_INDETERMINATE, false, 0, Rgb(115, 195, 115), false},
      {"indeterminate hot", BS_AUTO3STATE, BST_INDETERMINATE, true, 0, Rgb(33, 162, 33), false},
      {"right button", BS_AUTOCHECKBOX | BS_RIGHTBUTTON, BST_UNCHECKED, false, kW - 13, 0xFFFFFFFF, false},
  };
  for (const auto& c : cases) {
    HWND box = host_.Add("BUTTON", "Check", c.style, 20, 20, kW, kH);
    SendMessageA(box, BM_SETCHECK, c.check, 0);
    if (c.hot) {
      testing::MoveCursorTo(box, 5, 5);
      SendMessageA(box, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    }
    const Snapshot shot(box);
    std::vector<PixelExpectation> expected = {
        {"box frame", c.boxLeft, 0, fixed_colours::kCheckBoxFrame, 0},
        {"box frame", c.boxLeft + 12, 12, fixed_colours::kCheckBoxFrame, 0},
    };
    if (c.innerPixel != 0xFFFFFFFF) expected.push_back({"inner area", c.boxLeft + 3, 3, c.innerPixel, 0});
    if (c.markPixel) expected.push_back({"check mark", c.boxLeft + 3, 5, fixed_colours::kCheckMark, 0});
    if (c.boxLeft != 0) expected.push_back({"background left of the caption", 0, 0, Face(), 0});
    ExpectPixels(shot, expected, std::string("check box ") + c.name);
    if (!c.markPixel && c.innerPixel != fixed_colours::kCheckMark) {
      EXPECT_NE(shot.At(c.boxLeft + 3, 5), fixed_colours::kCheckMark) << c.name << ": no check mark";
    }
    // The caption stands right of the box, or ends 18 pixels before the right edge.
    const InkBox ink = InkOf(shot, 0, [](Colour x) { return x == GetSysColor(COLOR_BTNTEXT); });
    ASSERT_GE(ink.right, ink.left) << c.name;
    if (c.boxLeft == 0) {
      EXPECT_GE(ink.left, 18) << c.name;
    } else {
      EXPECT_LT(ink.right, kW - 18) << c.name;
    }
    DestroyWindow(box);
  }
}

TEST_F(SkinPainting, CheckBoxDisabled) {
  ASSERT_EQ(ControlSkin(1), 1);
  HWND box = host_.Add("BUTTON", "Check", BS_AUTOCHECKBOX | WS_DISABLED, 20, 20, 120, 20);
  SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
  ExpectPixels(Snapshot(box),
               {{"grey frame", 0, 0, ButtonFaceMinus(Face(), kDarken32), 0},
                {"white inside", 1, 1, fixed_colours::kWhite, 0},
                {"grey check mark", 3, 5, fixed_colours::kCheckMarkDisabled, 0}},
               "disabled check box");
}

bool Greenish(Colour c) { return GreenOf(c) > RedOf(c) + 40 && GreenOf(c) > BlueOf(c) + 40; }

TEST_F(SkinPainting, RadioButtonDiscAndDot) {
  ASSERT_EQ(ControlSkin(1), 1);
  HWND off = host_.Add("BUTTON", "Radio", BS_RADIOBUTTON, 20, 20, 120, 20);
  HWND on = host_.Add("BUTTON", "Radio", BS_RADIOBUTTON, 20, 60, 120, 20);
  HWND disabledOn = host_.Add("BUTTON", "Radio", BS_RADIOBUTTON | WS_DISABLED, 20, 100, 120, 20);
  SendMessageA(on, BM_SETCHECK, BST_CHECKED, 0);
  SendMessageA(disabledOn, BM_SETCHECK, BST_CHECKED, 0);
  // Glyph box (-1,0)-(15,16); the dot's area is (4,5)-(9,10), centre (6,7).
  const Snapshot a(off), b(on), d(disabledOn);
  EXPECT_FALSE(Greenish(a.At(6, 7))) << Describe(a.At(6, 7));
  EXPECT_TRUE(Greenish(b.At(6, 7))) << Describe(b.At(6, 7));
  EXPECT_FALSE(Greenish(d.At(6, 7))) << Describe(d.At(6, 7));
  // Outside the disc: the parent's background.
  EXPECT_EQ(Describe(a.At(0, 0)), Describe(Face()));
  // The outline arc passes through the disc's top.
  bool outline = false;
  for (int y = 0; y <= 3; ++y) outline |= Near(a.At(6, y), fixed_colours::kRadioOutline, 0);
  EXPECT_TRUE(outline) << "outline at the disc's top";
  const InkBox ink = InkOf(a, 0, [](Colour x) { return x == GetSysColor(COLOR_BTNTEXT); });
  EXPECT_GE(ink.left, 18);
}

// --- Group boxes --------------------------------------------------------------------------

TEST_F(SkinPainting, GroupBoxFrameAndCaption) {
  ASSERT_EQ(ControlSkin(1), 1);
  constexpr int kW = 160, kH = 80;
  for (const char* caption : {"Group", ""}) {
    HWND group = host_.Add("BUTTON", caption, BS_GROUPBOX, 20, 20, kW, kH);
    const Snapshot shot(group);
    const Colour frame = fixed_colours::kGroupFrame;
    // The top line is the first row of the frame colour on the right-hand side.
    int h = -1;
    for (int y = 0; y < kH && h < 0; ++y) if (shot.At(kW - 20, y) == frame) h = y;
    ASSERT_GE(h, 0) << "top line of '" << caption << "'";
    const Colour background = Face();
    std::vector<PixelExpectation> expected = {
        {"left edge", 0, kH / 2 + 5, frame, 0},
        {"bottom edge", kW / 2, kH - 1, frame, 0},
        {"top-left rounded", 0, h, background, 0},
        {"top-left rounded", 1, h, background, 0},
        {"top-left inner", 2, h + 1, frame, 0},
        {"top-right rounded", kW - 1, h + 1, background, 0},
        {"bottom-left rounded", 0, kH - 1, background, 0},
        {"bottom-left inner", 1, kH - 3, frame, 0},
        {"bottom-right inner", kW - 2, kH - 3, frame, 0},
        {"top line", 3, h, frame, 0},
    };
    if (*caption) {
      expected.back() = {"caption gap", 8, h, background, 0};
      expected.push_back({"top line after the caption", kW - 11, h, frame, 0});
    } else {
      expected.push_back({"top line across", kW / 2, h, frame, 0});
    }
    ExpectPixels(shot, expected, std::string("group box '") + caption + "'");
    if (*caption) {
      const InkBox ink = InkOf(shot, 0, [](Colour x) { return x == GetSysColor(COLOR_BTNTEXT); });
      EXPECT_GE(ink.left, 9);
      EXPECT_LE(ink.top, h + 2);
    }
    DestroyWindow(group);
  }
}

TEST_F(SkinPainting, GroupBoxCaptionAlignment) {
  ASSERT_EQ(ControlSkin(1), 1);
  constexpr int kW = 160, kH = 80;
  const struct {
    const char* name;
    DWORD bits;
    int inkCentreMin, inkCentreMax;  // where the caption's middle may fall
  } cases[] = {
      {"left", 0, 9, kW / 2 - 20},
      {"centre", BS_LEFT | BS_RIGHT, kW / 2 - 3, kW / 2 + 3},
      {"right", BS_RIGHT, kW / 2 + 20, kW - 10},
  };
  for (const auto& c : cases) {
    HWND group = host_.Add("BUTTON", "Group", BS_GROUPBOX | c.bits, 20, 20, kW, kH);
    const Snapshot shot(group);
    const InkBox ink = InkOf(shot, 0, [](Colour x) { return x == GetSysColor(COLOR_BTNTEXT); });
    ASSERT_GE(ink.right, ink.left) << c.name;
    const int centre = (ink.left + ink.right) / 2;
    EXPECT_GE(centre, c.inkCentreMin) << c.name;
    EXPECT_LE(centre, c.inkCentreMax) << c.name;
    // The frame's top line runs outside the caption's gap on both sides.
    int h = -1;
    for (int y = 0; y < kH && h < 0; ++y) {
      if (shot.At(3, y) == fixed_colours::kGroupFrame) h = y;
    }
    ASSERT_GE(h, 0) << c.name;
    EXPECT_EQ(shot.At(kW - 4, h), fixed_colours::kGroupFrame) << c.name;
    EXPECT_NE(shot.At(centre, h), fixed_colours::kGroupFrame) << c.name << ": gap under the caption";
    DestroyWindow(group);
  }
}

// --- Up-down ------------------------------------------------------------------------------

TEST_F(SkinPainting, UpDownHotHalf) {
  ASSERT_EQ(ControlSkin(1), 1);
  const StyleColours& colours = ColoursOfStyle(1);
  // Not joined, the work rectangle is the client grown by 1 and split at its half (20).
  // Vertical 20 x 40: top button (-1,1)-(21,20), bottom (-1,20)-(21,41); faces (inset 1) start
  // at (0,2) and (0,21). Horizontal 40 x 20: left button (1,-1)-(20,21), right (20,-1)-(41,21);
  // faces start at (2,0) and (21,0). Each face's top-left pixel has its record's top-left colour.
  const struct {
    const char* name;
    DWORD style;
    int w, h;
    int mouseX, mouseY;  // -1: no mouse
    Point firstFace, secondFace, frame;
    int firstRecord, secondRecord;
  } cases[] = {
      {"vertical, no mouse", 0, 20, 40, -1, -1, {0, 2}, {0, 21}, {5, 0}, 3, 3},
      {"vertical, over top half", 0, 20, 40, 10, 5, {0, 2}, {0, 21}, {5, 0}, 2, 3},
      {"vertical, at the half", 0, 20, 40, 10, 20, {0, 2}, {0, 21}, {5, 0}, 2, 3},
      {"vertical, over bottom half", 0, 20, 40, 10, 30, {0, 2}, {0, 21}, {5, 0}, 3, 2},
      {"horizontal, over left half", UDS_HORZ, 40, 20, 5, 10, {2, 0}, {21, 0}, {0, 5}, 2, 3},
      {"horizontal, over right half", UDS_HORZ, 40, 20, 30, 10, {2, 0}, {21, 0}, {0, 5}, 3, 2},
  };
  for (const auto& c : cases) {
    HWND upDown = host_.Add(UPDOWN_CLASSA, "", c.style, 200, 20, c.w, c.h);
    if (c.mouseX >= 0) {
      testing::MoveCursorTo(upDown, c.mouseX, c.mouseY);
      SendMessageA(upDown, WM_MOUSEMOVE, 0, MAKELPARAM(c.mouseX, c.mouseY));
    }
    const Snapshot shot(upDown);
    ExpectPixels(shot,
                 {{"first button face", c.firstFace.x, c.firstFace.y,
                   colours.arrowButton[kArrowFace + c.firstRecord].topLeft, 2},
                  {"second button face", c.secondFace.x, c.secondFace.y,
                   colours.arrowButton[kArrowFace + c.secondRecord].topLeft, 2},
                  {"frame colour before the first button", c.frame.x, c.frame.y, colours.frame, 0}},
                 std::string("up-down ") + c.name);
    DestroyWindow(upDown);
    testing::Pump();
  }
}

TEST_F(SkinPainting, UpDownJoinedToItsEditBox) {
  ASSERT_EQ(ControlSkin(1), 1);
  HWND edit = host_.Add("EDIT", "5", 0, 20, 20, 80, 24, WS_EX_CLIENTEDGE);
  HWND upDown = CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_SETBUDDYINT,
                                0, 0, 0, 0, host_.get(), nullptr, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
  ControlSkin(1);  // take both over again, now that the buddy is set
  testing::Pump();
  // The up-down overlaps the edit box's joined side; move it off to see the edit box's own
  // pixels (the join is kept in both records).
  SetWindowPos(upDown, nullptr, 300, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  RedrawWindow(edit, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  const Snapshot editShot(edit);
  EXPECT_EQ(Describe(editShot.At(editShot.width() - 1, 5)), Describe(fixed_colours::kWhite))
      << "no frame on the joined side";
  EXPECT_EQ(Describe(editShot.At(0, 5)), Describe(ColoursOfStyle(1).frame));
  EnableWindow(edit, FALSE);
  InvalidateRect(upDown, nullptr, TRUE);
  UpdateWindow(upDown);
  const Snapshot upDownShot(upDown);
  RECT r{};
  GetClientRect(upDown, &r);
  // Joined and disabled with its buddy: the disabled corner records.
  EXPECT_EQ(Describe(upDownShot.At(r.right - 1, r.bottom - 1)),
            Describe(ColoursOfStyle(1).arrowButton[kArrowCorners + 0].bottomRight));
}

}  // namespace
}  // namespace tolvane::skin
