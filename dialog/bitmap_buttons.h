// The painted faces of the correction dialog's OK, Cancel, Reset and Lock
// buttons: a bitmap over the button-face colour, its light grey transparent.
#pragma once

#include "platform/win32.h"
#include "resources/resource.h"

#define TRANSPARENT_COLOR RGB(192, 192, 192)

void PaintButtonFace(HWND dialog, HDC dc, WORD bitmapId, int controlId);
int FillButtonBackground(HWND dialog, HDC dc, WORD bitmapId, int controlId, COLORREF color);
int DrawTransparentBitmap(HWND dialog, HDC dc, WORD bitmapId, int controlId, COLORREF transparent);
// The face of an owner-drawn push button (OK, Cancel, Reset) in a state
// (ODS_SELECTED, ODS_FOCUS); 0 for a control without faces.
WORD ButtonFaceBitmap(int controlId, UINT itemState);
