// The painted faces of the correction dialog's OK, Cancel, Reset and Lock
// buttons: a bitmap over the button-face colour, its light grey transparent.
#pragma once

#include "platform/win32.h"

#define IDB_RESET_PRESSED 113
#define IDB_CANCEL_PRESSED 114
#define IDB_RESET_FOCUSED 115
#define IDB_OK_FOCUSED 116
#define IDB_RESET_NORMAL 117
#define IDB_OK_NORMAL 118
#define IDB_CANCEL_FOCUSED 119
#define IDB_OK_PRESSED 120
#define IDB_CANCEL_NORMAL 121
#define IDB_LOCK_CLOSED 122
#define IDB_LOCK_OPEN 123

#define TRANSPARENT_COLOR RGB(192, 192, 192)

void PaintButtonFace(HWND dialog, HDC dc, WORD bitmapId, int controlId);
int FillButtonBackground(HWND dialog, HDC dc, WORD bitmapId, int controlId, COLORREF color);
int DrawTransparentBitmap(HWND dialog, HDC dc, WORD bitmapId, int controlId, COLORREF transparent);
// The face of an owner-drawn push button (OK, Cancel, Reset) in a state
// (ODS_SELECTED, ODS_FOCUS); 0 for a control without faces.
WORD ButtonFaceBitmap(int controlId, UINT itemState);
