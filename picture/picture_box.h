#pragma once
// 图片框1: a child window that holds a picture's bytes and shows them decoded at natural size,
// over its background colour, animating a GIF of several frames on a worker thread.
#include <windows.h>

#include "base/text.h"

namespace tolvane::picture {

// The box's window class name, "TolvanePictureBox".
extern const char kPictureBoxClassName[];

// Registers the box's window class (idempotent).
bool RegisterPictureBoxClass(HINSTANCE instance);

// Copies the bytes, stops a running animation, decodes once, and invalidates the whole client
// area without erasing. Null or empty bytes clear the box to its background.
void SetPicture(HWND box, const Bytes& picture);

// A fresh copy of the stored bytes, byte for byte (null Bytes when none).
Bytes GetPicture(HWND box);

}  // namespace tolvane::picture
