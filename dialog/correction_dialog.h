// The modal dialog in which one correction target is edited live.
#pragma once

#include "platform/win32.h"

INT_PTR CALLBACK CorrectionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
