// The driver uninstaller: one routine from the program's entry to its exit.
#pragma once

#include "platform/win32.h"

// An empty command line asks before removing and offers a restart after;
// any other text removes silently. Always returns 0.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE prevInstance, LPSTR cmdLine, int show);
