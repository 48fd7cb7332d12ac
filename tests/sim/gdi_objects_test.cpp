// Objects and device contexts of the simulated GDI: selection bookkeeping,
// deletion rules, bitmap formats, loading bitmaps from the resources, filling
// rectangles, window DCs and the system colours.
#include <gtest/gtest.h>

#include <vector>

#include "platform/sim/gdi.h"
#include "platform/sim/resources.h"
#include "platform/sim/system.h"

namespace {

BITMAP Info(HGDIOBJ bitmap) {
    BITMAP info{};
    EXPECT_EQ(GetObject(bitmap, sizeof info, &info), static_cast<int>(sizeof info));
    return info;
}

TEST(GdiObjectsTest, SelectObjectReturnsThePreviousObjectAndKeepsABitmapInOneDc) {
    HDC first = CreateCompatibleDC(nullptr);
    HDC second = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(3, 2, 1, 1, nullptr);

    // A fresh memory DC holds a 1 x 1 monochrome bitmap.
    HGDIOBJ initial = SelectObject(first, bitmap);
    ASSERT_NE(initial, nullptr);
    BITMAP info = Info(initial);
    EXPECT_EQ(info.bmWidth, 1);
    EXPECT_EQ(info.bmHeight, 1);
    EXPECT_EQ(info.bmBitsPixel, 1);

    // Selecting it again into the same DC hands it back.
    EXPECT_EQ(SelectObject(first, bitmap), static_cast<HGDIOBJ>(bitmap));
    // Another DC cannot take it while the first holds it, and keeps its own.
    EXPECT_EQ(SelectObject(second, bitmap), nullptr);
    HBITMAP other = CreateBitmap(1, 1, 1, 1, nullptr);
    HGDIOBJ secondInitial = SelectObject(second, other);
    EXPECT_EQ(Info(secondInitial).bmWidth, 1) << "the second DC still had its default bitmap";

    // Once the first gives it up, the second may take it.
    EXPECT_EQ(SelectObject(first, initial), static_cast<HGDIOBJ>(bitmap));
    EXPECT_EQ(SelectObject(second, bitmap), static_cast<HGDIOBJ>(other));

    // Bitmaps go into memory DCs only.
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(SelectObject(screen, other), nullptr);
    ReleaseDC(nullptr, screen);

    // Brushes: the previous one comes back; a DC starts with the white brush.
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    HGDIOBJ firstBrush = SelectObject(first, red);
    LOGBRUSH brush{};
    ASSERT_EQ(GetObject(firstBrush, sizeof brush, &brush), static_cast<int>(sizeof brush));
    EXPECT_EQ(brush.lbColor, RGB(255, 255, 255));
    EXPECT_EQ(SelectObject(first, firstBrush), static_cast<HGDIOBJ>(red));

    // Nothing is selected from a handle that is not an object.
    EXPECT_EQ(SelectObject(first, reinterpret_cast<HGDIOBJ>(0x1234)), nullptr);
    EXPECT_EQ(SelectObject(reinterpret_cast<HDC>(0x1234), red), nullptr);

    SelectObject(second, secondInitial);
    DeleteDC(first);
    DeleteDC(second);
    DeleteObject(bitmap);
    DeleteObject(other);
    DeleteObject(red);
    EXPECT_EQ(sim::gdi::LiveObjectCount(), 0u);
}

TEST(GdiObjectsTest, SelectedObjectsCannotBeDeletedUntilReleased) {
    const size_t before = sim::gdi::LiveObjectCount();
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(2, 2, 1, 1, nullptr);
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    EXPECT_EQ(sim::gdi::LiveObjectCount(), before + 3);
    SelectObject(dc, bitmap);
    SelectObject(dc, brush);

    EXPECT_FALSE(DeleteObject(bitmap));
    EXPECT_FALSE(DeleteObject(brush));
    EXPECT_EQ(Info(bitmap).bmWidth, 2) << "a refused deletion leaves the object intact";
    EXPECT_EQ(sim::gdi::LiveObjectCount(), before + 3);

    // Deleting the DC lets go of both.
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_EQ(sim::gdi::LiveObjectCount(), before);

    // Deleted handles are no longer objects.
    BITMAP info;
    EXPECT_EQ(GetObject(bitmap, sizeof info, &info), 0);
    EXPECT_FALSE(DeleteObject(bitmap));
    EXPECT_FALSE(DeleteDC(dc));

    // Stock objects survive deletion and are not counted.
    HGDIOBJ white = GetStockObject(WHITE_BRUSH);
    EXPECT_TRUE(DeleteObject(white));
    LOGBRUSH logBrush{};
    EXPECT_EQ(GetObject(white, sizeof logBrush, &logBrush), static_cast<int>(sizeof logBrush));
    EXPECT_EQ(sim::gdi::LiveObjectCount(), before);
}

TEST(GdiObjectsTest, CompatibleBitmapsTakeTheFormatOfTheDcsSurface) {
    for (int depth : {8, 16, 24, 32}) {
        SCOPED_TRACE(depth);
        sim::display::SetBitsPerPixel(depth);
        HDC screen = GetDC(nullptr);
        HBITMAP colour = CreateCompatibleBitmap(screen, 62, 28);
        BITMAP info = Info(colour);
        EXPECT_EQ(info.bmWidth, 62);
        EXPECT_EQ(info.bmHeight, 28);
        EXPECT_EQ(info.bmPlanes, 1);
        EXPECT_EQ(info.bmBitsPixel, depth);
        EXPECT_EQ(info.bmWidthBytes, (62 * depth + 15) / 16 * 2);

        // A memory DC that still holds its default bitmap makes monochrome
        // bitmaps; one holding a colour bitmap makes colour ones.
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP mono = CreateCompatibleBitmap(memory, 5, 5);
        EXPECT_EQ(Info(mono).bmBitsPixel, 1);
        HDC monoDc = CreateCompatibleDC(nullptr);
        HGDIOBJ monoOld = SelectObject(monoDc, mono);
        EXPECT_EQ(SetPixel(monoDc, 0, 0, RGB(10, 20, 30)), RGB(0, 0, 0)) << "holds black and white";
        SelectObject(monoDc, monoOld);
        DeleteDC(monoDc);
        HGDIOBJ old = SelectObject(memory, colour);
        HBITMAP colour2 = CreateCompatibleBitmap(memory, 5, 5);
        EXPECT_EQ(Info(colour2).bmBitsPixel, depth);

        SelectObject(memory, old);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        DeleteObject(colour);
        DeleteObject(mono);
        DeleteObject(colour2);
    }
    EXPECT_EQ(sim::gdi::LiveObjectCount(), 0u);
}

TEST(GdiObjectsTest, CreateBitmapSizesAndBits) {
    // Monochrome rows are padded to 16 bits; the leftmost pixel is the high
    // bit and 1 is white. 17 pixels take 3 bytes, padded to 4.
    const BYTE bits[] = {
        0x80, 0x00, 0x80, 0xFF, // row 0: pixels 0 and 16 white; the pad byte is ignored
        0x7F, 0xFF, 0x00, 0x00, // row 1: pixels 1..15 white
    };
    HBITMAP mono = CreateBitmap(17, 2, 1, 1, bits);
    ASSERT_NE(mono, nullptr);
    EXPECT_EQ(Info(mono).bmWidthBytes, 4);
    const COLORREF W = RGB(255, 255, 255);
    const COLORREF B = 0;
    for (int x = 0; x < 17; ++x) {
        SCOPED_TRACE(x);
        EXPECT_EQ(sim::gdi::BitmapPixel(mono, x, 0), (x == 0 || x == 16) ? W : B);
        EXPECT_EQ(sim::gdi::BitmapPixel(mono, x, 1), (x >= 1 && x <= 15) ? W : B);
    }
    EXPECT_EQ(sim::gdi::BitmapPixel(mono, 17, 0), CLR_INVALID);

    // 24-bit rows: blue, green, red bytes, padded to 16 bits.
    const BYTE colourBits[] = {0x30, 0x20, 0x10, 0xAA, 0x03, 0x02, 0x01, 0xAA};
    HBITMAP colour = CreateBitmap(1, 2, 1, 24, colourBits);
    EXPECT_EQ(sim::gdi::BitmapPixel(colour, 0, 0), RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(sim::gdi::BitmapPixel(colour, 0, 1), RGB(0x01, 0x02, 0x03));

    // No size: the shared 1 x 1 monochrome bitmap. Negative or absurd sizes
    // and several planes: nothing.
    HBITMAP empty = CreateBitmap(0, 5, 1, 1, nullptr);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(Info(empty).bmWidth, 1);
    EXPECT_EQ(CreateBitmap(-1, 5, 1, 1, nullptr), nullptr);
    EXPECT_EQ(CreateBitmap(100000, 100000, 1, 1, nullptr), nullptr);
    EXPECT_EQ(CreateBitmap(2, 2, 4, 1, nullptr), nullptr);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(screen, 0x7FFFFFFF, 0x7FFFFFFF), nullptr);
    ReleaseDC(nullptr, screen);

    DeleteObject(mono);
    DeleteObject(colour);
    EXPECT_EQ(sim::gdi::LiveObjectCount(), 0u);
}

TEST(GdiObjectsTest, FillRectCoversLeftAndTopButNotRightAndBottom) {
    HBITMAP bitmap = CreateBitmap(6, 5, 1, 24, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));

    struct Case {
        const char* name;
        RECT rect;
        int left, top, right, bottom; // the painted cells, clipped
    };
    const Case cases[] = {
        {"inside", {1, 1, 4, 3}, 1, 1, 4, 3},
        {"over the edges", {-3, 2, 100, 100}, 0, 2, 6, 5},
        {"empty", {2, 2, 2, 4}, 0, 0, 0, 0},
        {"inverted", {4, 4, 1, 1}, 0, 0, 0, 0},
        {"far outside", {-0x7FFFFFFF, -0x7FFFFFFF, -0x7FFFFFF0, 0x7FFFFFFF}, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RECT all{0, 0, 6, 5};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        EXPECT_EQ(FillRect(dc, &c.rect, red), 1);
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 6; ++x) {
                bool inside = x >= c.left && x < c.right && y >= c.top && y < c.bottom;
                EXPECT_EQ(GetPixel(dc, x, y), inside ? RGB(255, 0, 0) : RGB(0, 0, 0))
                    << x << "," << y;
            }
        }
    }

    // A system colour index plus one stands for that colour's brush.
    sim::gdi::SetSysColor(COLOR_BTNFACE, RGB(10, 20, 30));
    RECT one{0, 0, 1, 1};
    FillRect(dc, &one, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(10, 20, 30));
    EXPECT_EQ(FillRect(dc, &one, reinterpret_cast<HBRUSH>(0x5678)), 0);

    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
    DeleteObject(red);
}

TEST(GdiObjectsTest, WindowDcsDrawOnTheScreenAtTheClientOriginWithoutClipping) {
    const HWND window = reinterpret_cast<HWND>(0x100);
    const HWND gone = reinterpret_cast<HWND>(0x200);
    // Without the window manager's hook every window sits at (0, 0).
    HDC early = GetDC(window);
    SetPixel(early, 2, 3, RGB(7, 7, 7));
    EXPECT_EQ(sim::gdi::ScreenPixel(2, 3), RGB(7, 7, 7));
    ReleaseDC(window, early);

    sim::gdi::SetWindowOriginSource([&](HWND w, POINT* origin) {
        if (w != window) {
            return false;
        }
        *origin = POINT{100, 50};
        return true;
    });
    EXPECT_EQ(GetDC(gone), nullptr);
    HDC dc = GetDC(window);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(sim::display::OpenDCCount(), 1u);

    sim::gdi::ClearScreen(RGB(0, 0, 0));
    RECT area{-10, 0, 5, 1}; // reaches left of the window's client area
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    FillRect(dc, &area, green);
    DeleteObject(green);
    EXPECT_EQ(sim::gdi::ScreenPixel(89, 50), RGB(0, 0, 0));
    EXPECT_EQ(sim::gdi::ScreenPixel(90, 50), RGB(0, 255, 0));
    EXPECT_EQ(sim::gdi::ScreenPixel(104, 50), RGB(0, 255, 0));
    EXPECT_EQ(sim::gdi::ScreenPixel(105, 50), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 255, 0));

    // The screen DC sees the same pixels at screen coordinates.
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetPixel(screen, 100, 50), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(screen, 1024, 0), CLR_INVALID);

    // A DC goes back to the window it came from, and only once.
    EXPECT_EQ(ReleaseDC(gone, dc), 0);
    EXPECT_EQ(DeleteDC(dc), FALSE);
    EXPECT_EQ(ReleaseDC(window, dc), 1);
    EXPECT_EQ(ReleaseDC(window, dc), 0);
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
    EXPECT_EQ(sim::display::OpenDCCount(), 0u);
    EXPECT_EQ(sim::gdi::LiveObjectCount(), 0u);
}

TEST(GdiObjectsTest, ColoursMappingModeAndSystemColours) {
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
    EXPECT_EQ(SetBkColor(dc, RGB(1, 2, 3)), RGB(255, 255, 255));
    EXPECT_EQ(SetTextColor(dc, RGB(4, 5, 6)), RGB(0, 0, 0));
    EXPECT_EQ(GetBkColor(dc), RGB(1, 2, 3));
    EXPECT_EQ(GetTextColor(dc), RGB(4, 5, 6));

    EXPECT_EQ(GetMapMode(dc), MM_TEXT);
    EXPECT_EQ(SetMapMode(dc, MM_TEXT), MM_TEXT);
    POINT size{62, 28};
    EXPECT_TRUE(DPtoLP(dc, &size, 1));
    EXPECT_EQ(size.x, 62);
    EXPECT_EQ(size.y, 28);
    DeleteDC(dc);

    HDC gone = dc;
    EXPECT_EQ(SetBkColor(gone, 0), CLR_INVALID);
    EXPECT_EQ(GetMapMode(gone), 0);
    EXPECT_FALSE(DPtoLP(gone, &size, 1));

    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(192, 192, 192));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
    sim::gdi::SetSysColor(COLOR_BTNFACE, RGB(0, 128, 0));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(0, 128, 0));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
}

// A compiled resource file (.res) built by hand: the empty entry that opens
// the format, then each resource with a 32-byte header of numeric type and id.
class ResourceFile {
  public:
    ResourceFile() { Add(0, 0, 0, {}); }
    void Add(WORD type, WORD id, WORD language, const std::vector<BYTE>& data) {
        Put32(static_cast<DWORD>(data.size()));
        Put32(32);
        Put16(0xFFFF);
        Put16(type);
        Put16(0xFFFF);
        Put16(id);
        Put32(0);      // data version
        Put16(0x1030); // memory flags
        Put16(language);
        Put32(0); // version
        Put32(0); // characteristics
        bytes_.insert(bytes_.end(), data.begin(), data.end());
        while (bytes_.size() % 4 != 0) {
            bytes_.push_back(0);
        }
    }
    const std::vector<BYTE>& Bytes() const { return bytes_; }

  private:
    void Put16(WORD v) {
        bytes_.push_back(static_cast<BYTE>(v));
        bytes_.push_back(static_cast<BYTE>(v >> 8));
    }
    void Put32(DWORD v) {
        Put16(static_cast<WORD>(v));
        Put16(static_cast<WORD>(v >> 16));
    }
    std::vector<BYTE> bytes_;
};

void Put32(std::vector<BYTE>& out, DWORD v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<BYTE>(v >> (8 * i)));
    }
}

// A bottom-up DIB with a 40-byte header: palette (R, G, B) and palette
// indices given top row first.
std::vector<BYTE> Dib(int width, int height, int bitCount, const std::vector<COLORREF>& palette,
                      const std::vector<int>& indices) {
    std::vector<BYTE> out;
    Put32(out, 40);
    Put32(out, static_cast<DWORD>(width));
    Put32(out, static_cast<DWORD>(height));
    out.push_back(1); // planes
    out.push_back(0);
    out.push_back(static_cast<BYTE>(bitCount));
    out.push_back(0);
    for (int i = 0; i < 6; ++i) {
        Put32(out, 0); // compression, image size, resolution, colours used and important
    }
    for (COLORREF c : palette) {
        out.push_back(GetBValue(c));
        out.push_back(GetGValue(c));
        out.push_back(GetRValue(c));
        out.push_back(0);
    }
    const size_t stride = static_cast<size_t>((width * bitCount + 31) / 32 * 4);
    for (int y = height - 1; y >= 0; --y) {
        std::vector<BYTE> row(stride, 0);
        for (int x = 0; x < width; ++x) {
            int index = indices[static_cast<size_t>(y * width + x)];
            int bit = x * bitCount;
            row[static_cast<size_t>(bit / 8)] |=
                static_cast<BYTE>(index << (8 - bitCount - bit % 8));
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

const std::vector<COLORREF> kVgaPalette = {
    RGB(0, 0, 0),       RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0),
    RGB(0, 0, 128),     RGB(128, 0, 128), RGB(0, 128, 128), RGB(192, 192, 192),
    RGB(128, 128, 128), RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(255, 255, 0),
    RGB(0, 0, 255),     RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255),
};

TEST(GdiObjectsTest, LoadBitmapTurnsAPaletteDibIntoADeviceBitmapOfExactColours) {
    // 5 x 3 at 4 bits per pixel: odd width, rows padded to 4 bytes.
    const std::vector<int> indices = {
        7, 0, 15, 9,  7, //
        1, 2, 3,  4,  5, //
        6, 8, 10, 12, 14 //
    };
    ResourceFile res;
    res.Add(2, 120, 1033, Dib(5, 3, 4, kVgaPalette, indices));
    res.Add(2, 130, 1033,
            Dib(3, 1, 1, {RGB(0, 0, 0), RGB(255, 255, 255)}, std::vector<int>{1, 0, 1}));
    static std::vector<BYTE> section;
    section = res.Bytes();
    sim::RegisterModuleResources(section.data(), section.size());
    sim::display::SetBitsPerPixel(24);

    HBITMAP bitmap = LoadBitmap(sim::ModuleInstance(), MAKEINTRESOURCE(120));
    ASSERT_NE(bitmap, nullptr);
    BITMAP info = Info(bitmap);
    EXPECT_EQ(info.bmWidth, 5);
    EXPECT_EQ(info.bmHeight, 3);
    EXPECT_EQ(info.bmPlanes, 1);
    EXPECT_EQ(info.bmBitsPixel, 24) << "a device bitmap has the display's depth";
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(sim::gdi::BitmapPixel(bitmap, x, y),
                      kVgaPalette[static_cast<size_t>(indices[static_cast<size_t>(y * 5 + x)])])
                << x << "," << y;
        }
    }

    // A black-and-white picture becomes a monochrome bitmap.
    HBITMAP mono = LoadBitmap(sim::ModuleInstance(), MAKEINTRESOURCE(130));
    ASSERT_NE(mono, nullptr);
    EXPECT_EQ(Info(mono).bmBitsPixel, 1);
    EXPECT_EQ(sim::gdi::BitmapPixel(mono, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(sim::gdi::BitmapPixel(mono, 1, 0), RGB(0, 0, 0));

    // Missing ids, other modules and names find nothing.
    EXPECT_EQ(LoadBitmap(sim::ModuleInstance(), MAKEINTRESOURCE(121)), nullptr);
    EXPECT_EQ(LoadBitmap(nullptr, MAKEINTRESOURCE(120)), nullptr);
    EXPECT_EQ(LoadBitmap(sim::ModuleInstance(), "OK"), nullptr);

    EXPECT_EQ(sim::gdi::LiveObjectCount(), 2u);
    DeleteObject(bitmap);
    DeleteObject(mono);
    EXPECT_EQ(sim::gdi::LiveObjectCount(), 0u);
}

} // namespace
