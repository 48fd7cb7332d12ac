// The state behind the simulated GDI, shared by its source files only.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/sim/gdi.h"

namespace sim::gdi_detail {

constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kWhite = 0xFFFFFF;

// Pixels as 0x00BBGGRR, top row first. A monochrome surface holds only black
// and white.
struct Surface {
    int width = 0;
    int height = 0;
    bool mono = false;
    int bitsPerPixel = 1;
    std::vector<COLORREF> pixels;

    bool Contains(int64_t x, int64_t y) const {
        return x >= 0 && y >= 0 && x < width && y < height;
    }
    COLORREF& At(int64_t x, int64_t y) {
        return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    }
};

struct DeviceContext;

enum class ObjectKind { Bitmap, Brush };

struct Object {
    explicit Object(ObjectKind k) : kind(k) {}
    virtual ~Object() = default;
    ObjectKind kind;
    bool stock = false;
};

struct Bitmap : Object {
    Bitmap() : Object(ObjectKind::Bitmap) {}
    Surface surface;
    DeviceContext* selectedIn = nullptr; // never set for the shared default bitmap
};

struct Brush : Object {
    Brush() : Object(ObjectKind::Brush) {}
    UINT style = BS_SOLID;
    COLORREF color = 0;
    size_t selections = 0; // device contexts holding it
};

enum class DcKind { Screen, Window, Memory };

struct DeviceContext {
    DcKind kind = DcKind::Memory;
    HWND window = nullptr;
    Bitmap* bitmap = nullptr; // memory DCs only
    Brush* brush = nullptr;
    COLORREF background = kWhite;
    COLORREF text = kBlack;
    int mapMode = MM_TEXT;
};

struct State {
    State();

    int bitsPerPixel = 16;
    Surface screen;
    std::map<const void*, std::unique_ptr<Object>> objects;
    std::map<const void*, std::unique_ptr<DeviceContext>> dcs;
    std::function<bool(HWND, POINT*)> originSource;
    std::vector<COLORREF> sysColors;
    Bitmap* defaultBitmap = nullptr;
    std::vector<Brush*> stockBrushes;
};

State& Gdi();

DeviceContext* FindDc(HDC dc);
Bitmap* FindBitmap(const void* handle);
Brush* FindBrush(const void* handle);

// The screen surface, at the screen's current size.
Surface& Screen();

// The surface a DC draws on and the device position of its logical (0, 0);
// null for the DC of a window that no longer exists.
Surface* DrawingSurface(DeviceContext* dc, int64_t* originX, int64_t* originY);

// A colour as a surface stores it: on a monochrome surface the nearer of black
// and white by luminance.
COLORREF DeviceColor(const Surface& surface, COLORREF color);

} // namespace sim::gdi_detail
