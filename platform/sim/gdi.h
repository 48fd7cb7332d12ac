// GDI of the simulated Windows 95: device contexts with pixel surfaces,
// bitmaps, solid brushes, block transfers and the system colours.
//
// Every surface keeps 24-bit RGB pixels whatever the display's depth; a
// monochrome bitmap keeps black (0) and white (1) as RGB 0,0,0 and 255,255,255.
// The screen is one surface of the screen's size. A window's device context
// draws onto it at the window's client origin, without clipping to the window.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "platform/sim/types.h"

#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14

#define CLR_INVALID 0xFFFFFFFF

// Raster operations: the high word's low byte is the truth table of the result
// over pattern, source and destination bits.
#define SRCCOPY 0x00CC0020
#define SRCPAINT 0x00EE0086
#define SRCAND 0x008800C6
#define SRCINVERT 0x00660046
#define SRCERASE 0x00440328
#define NOTSRCCOPY 0x00330008
#define NOTSRCERASE 0x001100A6
#define MERGECOPY 0x00C000CA
#define MERGEPAINT 0x00BB0226
#define PATCOPY 0x00F00021
#define PATPAINT 0x00FB0A09
#define PATINVERT 0x005A0049
#define DSTINVERT 0x00550009
#define BLACKNESS 0x00000042
#define WHITENESS 0x00FF0062

#define MM_TEXT 1
#define MM_LOMETRIC 2
#define MM_HIMETRIC 3
#define MM_LOENGLISH 4
#define MM_HIENGLISH 5
#define MM_TWIPS 6
#define MM_ISOTROPIC 7
#define MM_ANISOTROPIC 8

#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH

#define BS_SOLID 0
#define BS_NULL 1
#define BS_HOLLOW BS_NULL

#define COLOR_SCROLLBAR 0
#define COLOR_BACKGROUND 1
#define COLOR_ACTIVECAPTION 2
#define COLOR_INACTIVECAPTION 3
#define COLOR_MENU 4
#define COLOR_WINDOW 5
#define COLOR_WINDOWFRAME 6
#define COLOR_MENUTEXT 7
#define COLOR_WINDOWTEXT 8
#define COLOR_CAPTIONTEXT 9
#define COLOR_ACTIVEBORDER 10
#define COLOR_INACTIVEBORDER 11
#define COLOR_APPWORKSPACE 12
#define COLOR_HIGHLIGHT 13
#define COLOR_HIGHLIGHTTEXT 14
#define COLOR_BTNFACE 15
#define COLOR_BTNSHADOW 16
#define COLOR_GRAYTEXT 17
#define COLOR_BTNTEXT 18
#define COLOR_INACTIVECAPTIONTEXT 19
#define COLOR_BTNHIGHLIGHT 20
#define COLOR_3DDKSHADOW 21
#define COLOR_3DLIGHT 22
#define COLOR_INFOTEXT 23
#define COLOR_INFOBK 24
#define COLOR_DESKTOP COLOR_BACKGROUND
#define COLOR_3DFACE COLOR_BTNFACE
#define COLOR_3DSHADOW COLOR_BTNSHADOW
#define COLOR_3DHIGHLIGHT COLOR_BTNHIGHLIGHT
#define COLOR_3DHILIGHT COLOR_BTNHIGHLIGHT
#define COLOR_BTNHILIGHT COLOR_BTNHIGHLIGHT

struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
};
typedef BITMAP* PBITMAP;
typedef BITMAP* LPBITMAP;

struct LOGBRUSH {
    UINT lbStyle;
    COLORREF lbColor;
    ULONG_PTR lbHatch;
};
typedef LOGBRUSH* LPLOGBRUSH;

// Device contexts. GetDC(NULL) is the whole screen; GetDC(window) draws at the
// window's client origin. A memory DC starts with the shared 1 x 1 monochrome
// bitmap, the white brush, a white background and black text.
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
int GetDeviceCaps(HDC dc, int index);

// Private escapes of the display driver (platform/sim/escape.cpp).
int ExtEscape(HDC dc, int escape, int inputSize, LPCSTR input, int outputSize, LPSTR output);

// Objects. A bitmap can be selected into one memory DC at a time; a selected
// bitmap or brush cannot be deleted.
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
HBITMAP LoadBitmap(HINSTANCE instance, LPCSTR name);
HBRUSH CreateSolidBrush(COLORREF color);
HGDIOBJ GetStockObject(int index);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);
int GetObject(HGDIOBJ object, int size, LPVOID buffer);

// Attributes.
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
int SetMapMode(HDC dc, int mode);
int GetMapMode(HDC dc);
BOOL DPtoLP(HDC dc, LPPOINT points, int count);
BOOL LPtoDP(HDC dc, LPPOINT points, int count);
DWORD GetSysColor(int index);

// Drawing. FillRect also takes a system colour index plus one as its brush.
// BitBlt clips to the destination; pixels whose source lies outside the
// source surface are left as they are.
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
            DWORD rop);
COLORREF GetPixel(HDC dc, int x, int y);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);

namespace sim::display {

// The display mode's depth, 16 bits per pixel unless a test sets another. This
// changes the mode alone; announcing it to the windows is the window
// manager's part.
void SetBitsPerPixel(int bitsPerPixel);
int BitsPerPixel();

// Device contexts taken with GetDC and not yet released.
size_t OpenDCCount();

} // namespace sim::display

namespace sim::gdi {

// The window manager tells GDI where a window's client area lies on the
// screen: the hook fills the client origin in screen pixels and returns false
// for a window that does not exist. Without a hook every window's origin is
// (0, 0).
void SetWindowOriginSource(std::function<bool(HWND, POINT*)> source);

// Bitmaps, brushes and device contexts (memory ones and those of GetDC) that
// exist now; stock objects do not count.
size_t LiveObjectCount();

// Changes one system colour, as the user does in the display settings.
void SetSysColor(int index, COLORREF color);

// Pixels as RGB, CLR_INVALID outside the surface or for a handle that is not a
// live bitmap.
COLORREF ScreenPixel(int x, int y);
COLORREF BitmapPixel(HBITMAP bitmap, int x, int y);

// Paints the whole screen one colour.
void ClearScreen(COLORREF color);

// The screen's pixels within `area` (the whole screen when null), clipped to
// the screen, as rows of R, G, B bytes, top row first; `width` and `height`
// receive the size of what was copied.
std::vector<BYTE> ScreenRgb(const RECT* area, int* width, int* height);

// Writes the screen (or the part of it within `area`) as a PNG file.
bool SaveScreenPng(const std::string& path, const RECT* area = nullptr);

} // namespace sim::gdi
