#pragma once
// The arrow button that combo boxes and up-downs share.
#include <windows.h>

#include "app/skin/skin_colors.h"

namespace tolvane::skin {

void DrawArrowButton(HDC dc, const RECT& rect, bool disabled, bool pressed, bool hot, Glyph glyph);

}  // namespace tolvane::skin
