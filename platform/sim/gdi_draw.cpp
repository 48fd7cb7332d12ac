// Drawing on the simulated surfaces: rectangles, block transfers, pixels, and
// the pictures of the screen that tests and the demo take.
#include <algorithm>

#include "platform/sim/gdi.h"
#include "platform/sim/gdi_state.h"
#include "platform/sim/png.h"

using namespace sim::gdi_detail;

namespace {

// The range [begin, end) of offsets 0..extent-1 whose position start+offset
// lies within 0..limit-1.
struct Span {
    int64_t begin;
    int64_t end;
};

Span Clip(int64_t start, int64_t extent, int64_t limit) {
    Span span{std::max<int64_t>(0, -start), std::min<int64_t>(extent, limit - start)};
    if (span.end < span.begin) {
        span.end = span.begin;
    }
    return span;
}

// The result of a ternary raster operation: each bit of the operation's
// index byte is the outcome for one combination of pattern, source and
// destination bits (pattern the highest of the three).
COLORREF Rop3(BYTE index, COLORREF pattern, COLORREF source, COLORREF dest) {
    COLORREF result = 0;
    for (int i = 0; i < 8; ++i) {
        if ((index >> i) & 1) {
            result |= ((i & 4) ? pattern : ~pattern) & ((i & 2) ? source : ~source) &
                      ((i & 1) ? dest : ~dest);
        }
    }
    return result & 0xFFFFFF;
}

bool UsesSource(BYTE index) {
    return (((index >> 2) ^ index) & 0x33) != 0;
}

bool UsesPattern(BYTE index) {
    return (((index >> 4) ^ index) & 0x0F) != 0;
}

// A source pixel in the destination's format. Colour to monochrome: the
// source DC's background colour becomes white and every other colour black.
// Monochrome to colour: white takes the destination DC's background colour
// and black its text colour.
COLORREF Convert(COLORREF pixel, const Surface& from, const DeviceContext& fromDc,
                 const Surface& to, const DeviceContext& toDc) {
    if (from.mono && !to.mono) {
        return pixel == kWhite ? toDc.background : toDc.text;
    }
    if (!from.mono && to.mono) {
        return pixel == fromDc.background ? kWhite : kBlack;
    }
    return pixel;
}

} // namespace

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
    DeviceContext* p = FindDc(dc);
    if (p == nullptr || rect == nullptr) {
        return 0;
    }
    COLORREF color = 0;
    auto value = reinterpret_cast<uintptr_t>(brush);
    if (value >= 1 && value <= static_cast<uintptr_t>(COLOR_INFOBK) + 1) {
        // (HBRUSH)(COLOR_xxx + 1) names a system colour.
        color = GetSysColor(static_cast<int>(value - 1));
    } else if (Brush* b = FindBrush(brush)) {
        if (b->style == BS_NULL) {
            return 1;
        }
        color = b->color;
    } else {
        return 0;
    }
    int64_t ox = 0;
    int64_t oy = 0;
    Surface* surface = DrawingSurface(p, &ox, &oy);
    if (surface == nullptr) {
        return 0;
    }
    COLORREF pixel = DeviceColor(*surface, color);
    int64_t left = ox + rect->left;
    int64_t top = oy + rect->top;
    Span xs = Clip(left, int64_t{rect->right} - rect->left, surface->width);
    Span ys = Clip(top, int64_t{rect->bottom} - rect->top, surface->height);
    for (int64_t j = ys.begin; j < ys.end; ++j) {
        for (int64_t i = xs.begin; i < xs.end; ++i) {
            surface->At(left + i, top + j) = pixel;
        }
    }
    return 1;
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
            DWORD rop) {
    DeviceContext* to = FindDc(dest);
    if (to == nullptr) {
        return FALSE;
    }
    BYTE index = static_cast<BYTE>(rop >> 16);
    int64_t dx = 0;
    int64_t dy = 0;
    Surface* target = DrawingSurface(to, &dx, &dy);
    if (target == nullptr) {
        return FALSE;
    }
    DeviceContext* from = nullptr;
    Surface* origin = nullptr;
    int64_t sx = 0;
    int64_t sy = 0;
    if (UsesSource(index)) {
        from = FindDc(source);
        if (from == nullptr) {
            return FALSE;
        }
        origin = DrawingSurface(from, &sx, &sy);
        if (origin == nullptr) {
            return FALSE;
        }
    }
    COLORREF pattern = 0;
    if (UsesPattern(index)) {
        if (to->brush->style == BS_NULL) {
            return TRUE;
        }
        pattern = DeviceColor(*target, to->brush->color);
    }
    if (width <= 0 || height <= 0) {
        return TRUE;
    }

    int64_t left = dx + x;
    int64_t top = dy + y;
    Span xs = Clip(left, width, target->width);
    Span ys = Clip(top, height, target->height);
    int64_t w = xs.end - xs.begin;
    int64_t h = ys.end - ys.begin;
    if (w == 0 || h == 0) {
        return TRUE;
    }
    // The source is read whole before anything is written, so that a
    // transfer within one surface sees the original pixels.
    std::vector<COLORREF> sources;
    std::vector<bool> present;
    if (origin != nullptr) {
        sources.resize(static_cast<size_t>(w * h));
        present.resize(static_cast<size_t>(w * h));
        for (int64_t j = 0; j < h; ++j) {
            for (int64_t i = 0; i < w; ++i) {
                int64_t px = sx + sourceX + xs.begin + i;
                int64_t py = sy + sourceY + ys.begin + j;
                auto at = static_cast<size_t>(j * w + i);
                if (origin->Contains(px, py)) {
                    present[at] = true;
                    sources[at] = Convert(origin->At(px, py), *origin, *from, *target, *to);
                }
            }
        }
    }
    for (int64_t j = 0; j < h; ++j) {
        for (int64_t i = 0; i < w; ++i) {
            auto at = static_cast<size_t>(j * w + i);
            // Pixels whose source lies outside the source surface are left.
            if (origin != nullptr && !present[at]) {
                continue;
            }
            COLORREF& pixel = target->At(left + xs.begin + i, top + ys.begin + j);
            pixel = Rop3(index, pattern, origin != nullptr ? sources[at] : 0, pixel);
        }
    }
    return TRUE;
}

namespace {

// The pixel a point of a DC lands on and its surface; null outside the surface.
COLORREF* PixelAt(HDC dc, int x, int y, Surface** surface) {
    DeviceContext* p = FindDc(dc);
    if (p == nullptr) {
        return nullptr;
    }
    int64_t ox = 0;
    int64_t oy = 0;
    *surface = DrawingSurface(p, &ox, &oy);
    if (*surface == nullptr || !(*surface)->Contains(ox + x, oy + y)) {
        return nullptr;
    }
    return &(*surface)->At(ox + x, oy + y);
}

} // namespace

COLORREF GetPixel(HDC dc, int x, int y) {
    Surface* surface = nullptr;
    COLORREF* pixel = PixelAt(dc, x, y, &surface);
    return pixel == nullptr ? CLR_INVALID : *pixel;
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
    Surface* surface = nullptr;
    COLORREF* pixel = PixelAt(dc, x, y, &surface);
    if (pixel == nullptr) {
        return CLR_INVALID;
    }
    *pixel = DeviceColor(*surface, color);
    return *pixel;
}

namespace sim::gdi {

COLORREF ScreenPixel(int x, int y) {
    Surface& screen = Screen();
    return screen.Contains(x, y) ? screen.At(x, y) : CLR_INVALID;
}

COLORREF BitmapPixel(HBITMAP bitmap, int x, int y) {
    Bitmap* b = FindBitmap(bitmap);
    if (b == nullptr || !b->surface.Contains(x, y)) {
        return CLR_INVALID;
    }
    return b->surface.At(x, y);
}

void ClearScreen(COLORREF color) {
    Surface& screen = Screen();
    std::fill(screen.pixels.begin(), screen.pixels.end(), color & 0xFFFFFF);
}

std::vector<BYTE> ScreenRgb(const RECT* area, int* width, int* height) {
    Surface& screen = Screen();
    RECT whole{0, 0, screen.width, screen.height};
    const RECT& r = area != nullptr ? *area : whole;
    Span xs = Clip(r.left, int64_t{r.right} - r.left, screen.width);
    Span ys = Clip(r.top, int64_t{r.bottom} - r.top, screen.height);
    int64_t w = xs.end - xs.begin;
    int64_t h = ys.end - ys.begin;
    std::vector<BYTE> rgb;
    rgb.reserve(static_cast<size_t>(w * h * 3));
    for (int64_t j = ys.begin; j < ys.end; ++j) {
        for (int64_t i = xs.begin; i < xs.end; ++i) {
            COLORREF pixel = screen.At(r.left + i, r.top + j);
            rgb.push_back(GetRValue(pixel));
            rgb.push_back(GetGValue(pixel));
            rgb.push_back(GetBValue(pixel));
        }
    }
    if (width != nullptr) {
        *width = static_cast<int>(w);
    }
    if (height != nullptr) {
        *height = static_cast<int>(h);
    }
    return rgb;
}

bool SaveScreenPng(const std::string& path, const RECT* area) {
    int width = 0;
    int height = 0;
    std::vector<BYTE> rgb = ScreenRgb(area, &width, &height);
    return sim::png::Write(path, width, height, rgb);
}

} // namespace sim::gdi
