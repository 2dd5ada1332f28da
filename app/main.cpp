// tolvane.exe: reads no command line; everything happens in the window.
#include <windows.h>

#include "app/program.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return tolvane::app::RunProgram(); }
