#include "platform/sim/gdi.h"

#include <algorithm>
#include <cstring>

#include "platform/sim/gdi_state.h"
#include "platform/sim/resources.h"
#include "platform/sim/system.h"

using namespace sim::gdi_detail;

namespace sim::gdi_detail {

namespace {

// The colours of the standard scheme of a fresh installation, by index.
const COLORREF kDefaultSysColors[] = {
    RGB(192, 192, 192), // scroll bar
    RGB(0, 128, 128),   // desktop
    RGB(0, 0, 128),     // active caption
    RGB(128, 128, 128), // inactive caption
    RGB(192, 192, 192), // menu
    RGB(255, 255, 255), // window
    RGB(0, 0, 0),       // window frame
    RGB(0, 0, 0),       // menu text
    RGB(0, 0, 0),       // window text
    RGB(255, 255, 255), // caption text
    RGB(192, 192, 192), // active border
    RGB(192, 192, 192), // inactive border
    RGB(128, 128, 128), // application workspace
    RGB(0, 0, 128),     // highlight
    RGB(255, 255, 255), // highlight text
    RGB(192, 192, 192), // button face
    RGB(128, 128, 128), // button shadow
    RGB(128, 128, 128), // grey text
    RGB(0, 0, 0),       // button text
    RGB(192, 192, 192), // inactive caption text
    RGB(255, 255, 255), // button highlight
    RGB(0, 0, 0),       // 3-D dark shadow
    RGB(192, 192, 192), // 3-D light
    RGB(0, 0, 0),       // tooltip text
    RGB(255, 255, 225), // tooltip background
};

template <typename T> T* AddStock(State& state, std::unique_ptr<T> object) {
    object->stock = true;
    T* raw = object.get();
    state.objects.emplace(raw, std::move(object));
    return raw;
}

} // namespace

State::State() : sysColors(std::begin(kDefaultSysColors), std::end(kDefaultSysColors)) {
    auto bitmap = std::make_unique<Bitmap>();
    bitmap->surface = Surface{1, 1, true, 1, {kBlack}};
    defaultBitmap = AddStock(*this, std::move(bitmap));

    const struct {
        UINT style;
        COLORREF color;
    } brushes[] = {
        {BS_SOLID, RGB(255, 255, 255)}, {BS_SOLID, RGB(192, 192, 192)},
        {BS_SOLID, RGB(128, 128, 128)}, {BS_SOLID, RGB(64, 64, 64)},
        {BS_SOLID, RGB(0, 0, 0)},       {BS_NULL, 0},
    };
    for (const auto& b : brushes) {
        auto brush = std::make_unique<Brush>();
        brush->style = b.style;
        brush->color = b.color;
        stockBrushes.push_back(AddStock(*this, std::move(brush)));
    }
}

State& Gdi() {
    static State state;
    return state;
}

DeviceContext* FindDc(HDC dc) {
    auto it = Gdi().dcs.find(dc);
    return it == Gdi().dcs.end() ? nullptr : it->second.get();
}

Bitmap* FindBitmap(const void* handle) {
    auto it = Gdi().objects.find(handle);
    if (it == Gdi().objects.end() || it->second->kind != ObjectKind::Bitmap) {
        return nullptr;
    }
    return static_cast<Bitmap*>(it->second.get());
}

Brush* FindBrush(const void* handle) {
    auto it = Gdi().objects.find(handle);
    if (it == Gdi().objects.end() || it->second->kind != ObjectKind::Brush) {
        return nullptr;
    }
    return static_cast<Brush*>(it->second.get());
}

Surface& Screen() {
    Surface& screen = Gdi().screen;
    int width = std::max(GetSystemMetrics(SM_CXSCREEN), 0);
    int height = std::max(GetSystemMetrics(SM_CYSCREEN), 0);
    screen.bitsPerPixel = Gdi().bitsPerPixel;
    if (screen.width != width || screen.height != height) {
        // A new mode keeps what still fits and shows the desktop elsewhere.
        Surface resized{
            width, height, false, screen.bitsPerPixel,
            std::vector<COLORREF>(static_cast<size_t>(width) * static_cast<size_t>(height),
                                  Gdi().sysColors[COLOR_BACKGROUND])};
        for (int y = 0; y < std::min(height, screen.height); ++y) {
            for (int x = 0; x < std::min(width, screen.width); ++x) {
                resized.At(x, y) = screen.At(x, y);
            }
        }
        screen = std::move(resized);
    }
    return screen;
}

Surface* DrawingSurface(DeviceContext* dc, int64_t* originX, int64_t* originY) {
    *originX = 0;
    *originY = 0;
    switch (dc->kind) {
    case DcKind::Memory:
        return &dc->bitmap->surface;
    case DcKind::Screen:
        return &Screen();
    case DcKind::Window:
        if (Gdi().originSource) {
            POINT origin{0, 0};
            if (!Gdi().originSource(dc->window, &origin)) {
                return nullptr;
            }
            *originX = origin.x;
            *originY = origin.y;
        }
        return &Screen();
    }
    return nullptr;
}

COLORREF DeviceColor(const Surface& surface, COLORREF color) {
    color &= 0xFFFFFF;
    if (!surface.mono) {
        return color;
    }
    unsigned luminance =
        GetRValue(color) * 299u + GetGValue(color) * 587u + GetBValue(color) * 114u;
    return luminance >= 128u * 1000u ? kWhite : kBlack;
}

} // namespace sim::gdi_detail

namespace {

// Larger bitmaps are refused rather than allocated: nothing here needs more.
constexpr int64_t kMaxBitmapPixels = int64_t{1} << 24;

Bitmap* NewBitmap(int width, int height, bool mono, int bitsPerPixel) {
    auto bitmap = std::make_unique<Bitmap>();
    bitmap->surface.width = width;
    bitmap->surface.height = height;
    bitmap->surface.mono = mono;
    bitmap->surface.bitsPerPixel = mono ? 1 : bitsPerPixel;
    bitmap->surface.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), kBlack);
    Bitmap* raw = bitmap.get();
    Gdi().objects.emplace(raw, std::move(bitmap));
    return raw;
}

bool ValidBitmapSize(int width, int height) {
    if (width < 0 || height < 0 || int64_t{width} * height > kMaxBitmapPixels) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return true;
}

HBITMAP DefaultBitmapHandle() {
    return reinterpret_cast<HBITMAP>(Gdi().defaultBitmap);
}

// A device-dependent bitmap's rows are padded to 16 bits.
LONG WidthBytes(int width, int bitsPerPixel) {
    return static_cast<LONG>((static_cast<int64_t>(width) * bitsPerPixel + 15) / 16 * 2);
}

void Deselect(DeviceContext* dc) {
    if (dc->bitmap != nullptr && dc->bitmap->selectedIn == dc) {
        dc->bitmap->selectedIn = nullptr;
    }
    if (dc->brush != nullptr && dc->brush->selections > 0) {
        --dc->brush->selections;
    }
}

HDC NewDc(DcKind kind, HWND window) {
    auto dc = std::make_unique<DeviceContext>();
    dc->kind = kind;
    dc->window = window;
    dc->brush = Gdi().stockBrushes[WHITE_BRUSH];
    ++dc->brush->selections;
    if (kind == DcKind::Memory) {
        dc->bitmap = Gdi().defaultBitmap;
    }
    HDC handle = reinterpret_cast<HDC>(dc.get());
    Gdi().dcs.emplace(handle, std::move(dc));
    return handle;
}

} // namespace

HDC GetDC(HWND window) {
    if (window != nullptr && Gdi().originSource) {
        POINT origin{0, 0};
        if (!Gdi().originSource(window, &origin)) {
            SetLastError(ERROR_INVALID_HANDLE);
            return nullptr;
        }
    }
    return NewDc(window == nullptr ? DcKind::Screen : DcKind::Window, window);
}

int ReleaseDC(HWND window, HDC dc) {
    DeviceContext* p = FindDc(dc);
    if (p == nullptr || p->kind == DcKind::Memory || p->window != window) {
        return 0;
    }
    Deselect(p);
    Gdi().dcs.erase(dc);
    return 1;
}

HDC CreateCompatibleDC(HDC dc) {
    if (dc != nullptr && FindDc(dc) == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return NewDc(DcKind::Memory, nullptr);
}

BOOL DeleteDC(HDC dc) {
    DeviceContext* p = FindDc(dc);
    // A DC from GetDC goes back with ReleaseDC, never with DeleteDC.
    if (p == nullptr || p->kind != DcKind::Memory) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    Deselect(p);
    Gdi().dcs.erase(dc);
    return TRUE;
}

int GetDeviceCaps(HDC dc, int index) {
    if (FindDc(dc) == nullptr) {
        return 0;
    }
    switch (index) {
    case BITSPIXEL:
        return Gdi().bitsPerPixel;
    case PLANES:
        return 1;
    case HORZRES:
        return GetSystemMetrics(SM_CXSCREEN);
    case VERTRES:
        return GetSystemMetrics(SM_CYSCREEN);
    default:
        return 0;
    }
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    if (planes != 1 || !ValidBitmapSize(width, height)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    bool mono = bitsPerPixel == 1;
    bool colorWithBits = bitsPerPixel == 24 || bitsPerPixel == 32;
    bool colorWithoutBits = bitsPerPixel == 4 || bitsPerPixel == 8 || bitsPerPixel == 16;
    // Initial bits are read for the formats whose layout is fixed; 4, 8 and
    // 16 bits per pixel depend on the device's palette or masks.
    if (!mono && !colorWithBits && !(colorWithoutBits && bits == nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (width == 0 || height == 0) {
        return DefaultBitmapHandle();
    }
    Bitmap* bitmap = NewBitmap(width, height, mono, static_cast<int>(bitsPerPixel));
    if (bits != nullptr) {
        const auto* data = static_cast<const BYTE*>(bits);
        size_t stride = static_cast<size_t>(WidthBytes(width, static_cast<int>(bitsPerPixel)));
        for (int y = 0; y < height; ++y) {
            const BYTE* row = data + stride * static_cast<size_t>(y);
            for (int x = 0; x < width; ++x) {
                COLORREF& pixel = bitmap->surface.At(x, y);
                if (mono) {
                    pixel = (row[x / 8] >> (7 - x % 8)) & 1 ? kWhite : kBlack;
                } else {
                    const BYTE* p = row + static_cast<size_t>(x) * (bitsPerPixel / 8);
                    pixel = RGB(p[2], p[1], p[0]);
                }
            }
        }
    }
    return reinterpret_cast<HBITMAP>(bitmap);
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
    DeviceContext* p = FindDc(dc);
    if (p == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (!ValidBitmapSize(width, height)) {
        return nullptr;
    }
    if (width == 0 || height == 0) {
        return DefaultBitmapHandle();
    }
    // A memory DC's format is that of its bitmap: one that still holds the
    // default bitmap makes monochrome bitmaps.
    bool mono = false;
    int bitsPerPixel = Gdi().bitsPerPixel;
    if (p->kind == DcKind::Memory) {
        mono = p->bitmap->surface.mono;
        bitsPerPixel = p->bitmap->surface.bitsPerPixel;
    }
    return reinterpret_cast<HBITMAP>(NewBitmap(width, height, mono, bitsPerPixel));
}

HBITMAP LoadBitmap(HINSTANCE instance, LPCSTR name) {
    // Bitmaps are found by number only; the programs name none by string.
    if (!IS_INTRESOURCE(name)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    auto resource = sim::FindResourceData(instance, RT_BITMAP, LOWORD(name));
    sim::DibInfo dib;
    if (!resource || !sim::ParseDib(resource->data, resource->size, &dib)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    if (!ValidBitmapSize(dib.width, dib.height) || dib.width == 0 || dib.height == 0 ||
        dib.pixels.size() != static_cast<size_t>(dib.width) * static_cast<size_t>(dib.height)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    std::vector<COLORREF> palette;
    for (const auto& q : dib.palette) {
        palette.push_back(RGB(q.rgbRed, q.rgbGreen, q.rgbBlue));
    }
    // A two-colour black-and-white picture becomes a monochrome bitmap; any
    // other becomes a bitmap of the display's format.
    bool mono = dib.bitCount == 1 && palette.size() == 2 &&
                ((palette[0] == kBlack && palette[1] == kWhite) ||
                 (palette[0] == kWhite && palette[1] == kBlack));
    Bitmap* bitmap = NewBitmap(dib.width, dib.height, mono, Gdi().bitsPerPixel);
    for (size_t i = 0; i < dib.pixels.size(); ++i) {
        BYTE index = dib.pixels[i];
        bitmap->surface.pixels[i] = index < palette.size() ? palette[index] : kBlack;
    }
    return reinterpret_cast<HBITMAP>(bitmap);
}

HBRUSH CreateSolidBrush(COLORREF color) {
    auto brush = std::make_unique<Brush>();
    brush->color = color & 0xFFFFFF;
    Brush* raw = brush.get();
    Gdi().objects.emplace(raw, std::move(brush));
    return reinterpret_cast<HBRUSH>(raw);
}

HGDIOBJ GetStockObject(int index) {
    if (index < 0 || static_cast<size_t>(index) >= Gdi().stockBrushes.size()) {
        return nullptr;
    }
    return Gdi().stockBrushes[static_cast<size_t>(index)];
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    DeviceContext* p = FindDc(dc);
    if (p == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (Bitmap* bitmap = FindBitmap(object)) {
        // Bitmaps go into memory DCs only, and into one of them at a time
        // (the shared default bitmap excepted).
        if (p->kind != DcKind::Memory ||
            (bitmap->selectedIn != nullptr && bitmap->selectedIn != p)) {
            return nullptr;
        }
        Bitmap* previous = p->bitmap;
        if (previous->selectedIn == p) {
            previous->selectedIn = nullptr;
        }
        p->bitmap = bitmap;
        if (!bitmap->stock) {
            bitmap->selectedIn = p;
        }
        return previous;
    }
    if (Brush* brush = FindBrush(object)) {
        Brush* previous = p->brush;
        --previous->selections;
        p->brush = brush;
        ++brush->selections;
        return previous;
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
}

BOOL DeleteObject(HGDIOBJ object) {
    auto it = Gdi().objects.find(object);
    if (it == Gdi().objects.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    Object* o = it->second.get();
    if (o->stock) {
        return TRUE;
    }
    // An object still selected into a DC stays.
    if ((o->kind == ObjectKind::Bitmap && static_cast<Bitmap*>(o)->selectedIn != nullptr) ||
        (o->kind == ObjectKind::Brush && static_cast<Brush*>(o)->selections > 0)) {
        return FALSE;
    }
    Gdi().objects.erase(it);
    return TRUE;
}

int GetObject(HGDIOBJ object, int size, LPVOID buffer) {
    if (Bitmap* bitmap = FindBitmap(object)) {
        if (buffer == nullptr) {
            return sizeof(BITMAP);
        }
        if (size < static_cast<int>(sizeof(BITMAP))) {
            return 0;
        }
        const Surface& s = bitmap->surface;
        BITMAP info{};
        info.bmType = 0;
        info.bmWidth = s.width;
        info.bmHeight = s.height;
        info.bmWidthBytes = WidthBytes(s.width, s.bitsPerPixel);
        info.bmPlanes = 1;
        info.bmBitsPixel = static_cast<WORD>(s.bitsPerPixel);
        info.bmBits = nullptr;
        std::memcpy(buffer, &info, sizeof info);
        return sizeof(BITMAP);
    }
    if (Brush* brush = FindBrush(object)) {
        if (buffer == nullptr) {
            return sizeof(LOGBRUSH);
        }
        if (size < static_cast<int>(sizeof(LOGBRUSH))) {
            return 0;
        }
        LOGBRUSH info{brush->style, brush->color, 0};
        std::memcpy(buffer, &info, sizeof info);
        return sizeof(LOGBRUSH);
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
}

COLORREF SetBkColor(HDC dc, COLORREF color) {
    DeviceContext* p = FindDc(dc);
    if (p == nullptr) {
        return CLR_INVALID;
    }
    COLORREF previous = p->background;
    p->background = color & 0xFFFFFF;
    return previous;
}

COLORREF GetBkColor(HDC dc) {
    DeviceContext* p = FindDc(dc);
    return p == nullptr ? CLR_INVALID : p->background;
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
    DeviceContext* p = FindDc(dc);
    if (p == nullptr) {
        return CLR_INVALID;
    }
    COLORREF previous = p->text;
    p->text = color & 0xFFFFFF;
    return previous;
}

COLORREF GetTextColor(HDC dc) {
    DeviceContext* p = FindDc(dc);
    return p == nullptr ? CLR_INVALID : p->text;
}

int SetMapMode(HDC dc, int mode) {
    DeviceContext* p = FindDc(dc);
    // Only the text mode (one logical unit per pixel, y downwards) is
    // simulated; the others are refused rather than drawn wrongly.
    if (p == nullptr || mode != MM_TEXT) {
        return 0;
    }
    int previous = p->mapMode;
    p->mapMode = mode;
    return previous;
}

int GetMapMode(HDC dc) {
    DeviceContext* p = FindDc(dc);
    return p == nullptr ? 0 : p->mapMode;
}

BOOL DPtoLP(HDC dc, LPPOINT points, int count) {
    // In the text mode without origins, device and logical points coincide.
    return FindDc(dc) != nullptr && count >= 0 && (points != nullptr || count == 0);
}

BOOL LPtoDP(HDC dc, LPPOINT points, int count) {
    return DPtoLP(dc, points, count);
}

DWORD GetSysColor(int index) {
    const auto& colors = Gdi().sysColors;
    if (index < 0 || static_cast<size_t>(index) >= colors.size()) {
        return 0;
    }
    return colors[static_cast<size_t>(index)];
}

namespace sim::display {

void SetBitsPerPixel(int bitsPerPixel) {
    Gdi().bitsPerPixel = bitsPerPixel;
}

int BitsPerPixel() {
    return Gdi().bitsPerPixel;
}

size_t OpenDCCount() {
    size_t count = 0;
    for (const auto& [handle, dc] : Gdi().dcs) {
        if (dc->kind != DcKind::Memory) {
            ++count;
        }
    }
    return count;
}

} // namespace sim::display

namespace sim::gdi {

void SetWindowOriginSource(std::function<bool(HWND, POINT*)> source) {
    Gdi().originSource = std::move(source);
}

size_t LiveObjectCount() {
    size_t count = Gdi().dcs.size();
    for (const auto& [handle, object] : Gdi().objects) {
        if (!object->stock) {
            ++count;
        }
    }
    return count;
}

void SetSysColor(int index, COLORREF color) {
    auto& colors = Gdi().sysColors;
    if (index >= 0 && static_cast<size_t>(index) < colors.size()) {
        colors[static_cast<size_t>(index)] = color & 0xFFFFFF;
    }
}

} // namespace sim::gdi
