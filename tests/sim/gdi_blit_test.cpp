// Block transfers of the simulated GDI: colour conversions, raster operations,
// clipping, and the whole masked drawing of a picture with a transparent
// colour over what the screen shows.
#include <gtest/gtest.h>

#include <vector>

#include "platform/sim/gdi.h"
#include "platform/sim/system.h"

namespace {

constexpr COLORREF kLightGrey = RGB(192, 192, 192);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// A bitmap of `pixels` (rows top first) in the display's format, or
// monochrome; monochrome pixels are given as black and white.
HBITMAP MakeBitmap(int width, int height, const std::vector<COLORREF>& pixels, bool mono = false) {
    HBITMAP bitmap = nullptr;
    if (mono) {
        bitmap = CreateBitmap(width, height, 1, 1, nullptr);
    } else {
        HDC screen = GetDC(nullptr);
        bitmap = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
    }
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            SetPixel(dc, x, y, pixels[static_cast<size_t>(y * width + x)]);
        }
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    return bitmap;
}

std::vector<COLORREF> Pixels(HBITMAP bitmap, int width, int height) {
    std::vector<COLORREF> out;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            out.push_back(sim::gdi::BitmapPixel(bitmap, x, y));
        }
    }
    return out;
}

// A memory DC holding `bitmap`; puts the DC's first bitmap back and deletes
// both at the end of the scope.
struct MemoryDc {
    explicit MemoryDc(HBITMAP b) : bitmap(b) {
        dc = CreateCompatibleDC(nullptr);
        old = SelectObject(dc, bitmap);
    }
    ~MemoryDc() {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    HBITMAP bitmap;
    HDC dc;
    HGDIOBJ old;
};

TEST(GdiBlitTest, ColourToMonochromeWhitensExactlyTheSourceBackgroundColour) {
    const std::vector<COLORREF> row = {
        kLightGrey, kWhite, kBlack, RGB(128, 128, 128), RGB(192, 192, 193), RGB(0, 128, 0)};
    const COLORREF W = kWhite;
    const COLORREF B = kBlack;
    struct Case {
        const char* name;
        bool setBackground;
        COLORREF background;
        std::vector<COLORREF> expected;
    };
    const Case cases[] = {
        {"default white background", false, 0, {B, W, B, B, B, B}},
        {"light grey background", true, kLightGrey, {W, B, B, B, B, B}},
        {"dark green background", true, RGB(0, 128, 0), {B, B, B, B, B, W}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryDc source(MakeBitmap(6, 1, row));
        MemoryDc mask(CreateBitmap(6, 1, 1, 1, nullptr));
        if (c.setBackground) {
            SetBkColor(source.dc, c.background);
        }
        // The destination's own colours play no part in this direction.
        SetBkColor(mask.dc, RGB(255, 0, 0));
        SetTextColor(mask.dc, RGB(0, 0, 255));
        ASSERT_TRUE(BitBlt(mask.dc, 0, 0, 6, 1, source.dc, 0, 0, SRCCOPY));
        EXPECT_EQ(Pixels(mask.bitmap, 6, 1), c.expected);
    }
}

TEST(GdiBlitTest, MonochromeToColourTakesTheDestinationBackgroundAndTextColours) {
    MemoryDc mask(MakeBitmap(4, 1, {kWhite, kBlack, kBlack, kWhite}, true));
    MemoryDc picture(MakeBitmap(4, 1, {kLightGrey, kLightGrey, kLightGrey, kLightGrey}));
    // The source's colours play no part in this direction.
    SetBkColor(mask.dc, RGB(1, 2, 3));
    SetTextColor(mask.dc, RGB(4, 5, 6));

    ASSERT_TRUE(BitBlt(picture.dc, 0, 0, 4, 1, mask.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(Pixels(picture.bitmap, 4, 1),
              (std::vector<COLORREF>{kWhite, kBlack, kBlack, kWhite}));

    SetBkColor(picture.dc, RGB(255, 0, 0));
    SetTextColor(picture.dc, RGB(0, 0, 255));
    ASSERT_TRUE(BitBlt(picture.dc, 0, 0, 4, 1, mask.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(
        Pixels(picture.bitmap, 4, 1),
        (std::vector<COLORREF>{RGB(255, 0, 0), RGB(0, 0, 255), RGB(0, 0, 255), RGB(255, 0, 0)}));
}

TEST(GdiBlitTest, RasterOperationsCombineSourceDestinationAndPatternBitwise) {
    // Two colour pairs (S, D); COLORREF values are 0x00BBGGRR.
    const COLORREF s1 = 0x553CF0, d1 = 0xFF0FAA;
    const COLORREF s2 = kWhite, d2 = RGB(12, 200, 77);
    const COLORREF brush = RGB(1, 2, 3); // 0x030201
    struct Case {
        const char* name;
        DWORD rop;
        COLORREF expected1;
        COLORREF expected2;
    };
    const Case cases[] = {
        {"SRCCOPY", SRCCOPY, s1, s2},
        {"SRCAND", SRCAND, 0x550CA0, d2},
        {"SRCPAINT", SRCPAINT, 0xFF3FFA, kWhite},
        {"NOTSRCCOPY", NOTSRCCOPY, 0xAAC30F, kBlack},
        {"SRCINVERT", SRCINVERT, 0xAA335A, RGB(243, 55, 178)},
        {"DSTINVERT", DSTINVERT, 0x00F055, RGB(243, 55, 178)},
        {"BLACKNESS", BLACKNESS, kBlack, kBlack},
        {"WHITENESS", WHITENESS, kWhite, kWhite},
        {"PATCOPY", PATCOPY, brush, brush},
        {"MERGECOPY", MERGECOPY, 0x010000, brush},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryDc source(MakeBitmap(2, 1, {s1, s2}));
        MemoryDc dest(MakeBitmap(2, 1, {d1, d2}));
        HBRUSH b = CreateSolidBrush(brush);
        HGDIOBJ oldBrush = SelectObject(dest.dc, b);
        ASSERT_TRUE(BitBlt(dest.dc, 0, 0, 2, 1, source.dc, 0, 0, c.rop));
        EXPECT_EQ(Pixels(dest.bitmap, 2, 1), (std::vector<COLORREF>{c.expected1, c.expected2}));
        SelectObject(dest.dc, oldBrush);
        DeleteObject(b);
    }
}

TEST(GdiBlitTest, RasterOperationsOnMonochromeBitsFollowTheirTruthTables) {
    const COLORREF W = kWhite;
    const COLORREF B = kBlack;
    // Source bits 0 0 1 1 against destination bits 0 1 0 1.
    struct Case {
        const char* name;
        DWORD rop;
        std::vector<COLORREF> expected;
    };
    const Case cases[] = {
        {"SRCCOPY", SRCCOPY, {B, B, W, W}},
        {"SRCAND", SRCAND, {B, B, B, W}},
        {"SRCPAINT", SRCPAINT, {B, W, W, W}},
        {"NOTSRCCOPY", NOTSRCCOPY, {W, W, B, B}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryDc source(MakeBitmap(4, 1, {B, B, W, W}, true));
        MemoryDc dest(MakeBitmap(4, 1, {B, W, B, W}, true));
        ASSERT_TRUE(BitBlt(dest.dc, 0, 0, 4, 1, source.dc, 0, 0, c.rop));
        EXPECT_EQ(Pixels(dest.bitmap, 4, 1), c.expected);
    }
}

TEST(GdiBlitTest, TransfersAreClippedToBothSurfacesAndSafeWithinOneSurface) {
    MemoryDc source(MakeBitmap(2, 2, {RGB(1, 0, 0), RGB(2, 0, 0), RGB(3, 0, 0), RGB(4, 0, 0)}));
    const COLORREF g = RGB(9, 9, 9);
    MemoryDc dest(MakeBitmap(3, 3, std::vector<COLORREF>(9, g)));

    // Hanging off the destination's right and bottom edges, and reaching
    // beyond the source: only pixels with both ends inside are written.
    ASSERT_TRUE(BitBlt(dest.dc, 1, 0, 5, 5, source.dc, 0, 1, SRCCOPY));
    EXPECT_EQ(Pixels(dest.bitmap, 3, 3),
              (std::vector<COLORREF>{g, RGB(3, 0, 0), RGB(4, 0, 0), g, g, g, g, g, g}));
    ASSERT_TRUE(BitBlt(dest.dc, 1, 1, 5, 5, source.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(Pixels(dest.bitmap, 3, 3),
              (std::vector<COLORREF>{g, RGB(3, 0, 0), RGB(4, 0, 0), g, RGB(1, 0, 0), RGB(2, 0, 0),
                                     g, RGB(3, 0, 0), RGB(4, 0, 0)}));

    // Extreme coordinates must neither overflow nor write anything.
    ASSERT_TRUE(
        BitBlt(dest.dc, 0x7FFFFFF0, -0x7FFFFFF0, 0x7FFFFFFF, 0x7FFFFFFF, source.dc, 0, 0, SRCCOPY));
    ASSERT_TRUE(BitBlt(dest.dc, -0x7FFFFFFF, 0, 3, 3, source.dc, 0x7FFFFFFF, 0, SRCCOPY));
    EXPECT_EQ(sim::gdi::BitmapPixel(dest.bitmap, 1, 1), RGB(1, 0, 0));

    // Shifting a row right by one within the same surface copies the
    // original pixels, not ones already overwritten.
    MemoryDc row(MakeBitmap(4, 1, {RGB(1, 0, 0), RGB(2, 0, 0), RGB(3, 0, 0), RGB(4, 0, 0)}));
    ASSERT_TRUE(BitBlt(row.dc, 1, 0, 3, 1, row.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(Pixels(row.bitmap, 4, 1),
              (std::vector<COLORREF>{RGB(1, 0, 0), RGB(1, 0, 0), RGB(2, 0, 0), RGB(3, 0, 0)}));
}

TEST(GdiBlitTest, AnOperationWithASourceNeedsAValidSourceDc) {
    MemoryDc dest(MakeBitmap(1, 1, {RGB(9, 9, 9)}));
    EXPECT_FALSE(BitBlt(dest.dc, 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY));
    EXPECT_FALSE(BitBlt(nullptr, 0, 0, 1, 1, dest.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(sim::gdi::BitmapPixel(dest.bitmap, 0, 0), RGB(9, 9, 9));
    // Operations without a source ignore it.
    EXPECT_TRUE(BitBlt(dest.dc, 0, 0, 1, 1, nullptr, 0, 0, WHITENESS));
    EXPECT_EQ(sim::gdi::BitmapPixel(dest.bitmap, 0, 0), kWhite);
}

// The masked drawing as the dialog's buttons do it: the area is filled with
// the button face, then the picture goes over it through a monochrome mask
// made from the transparent colour, in eleven transfers.
class TransparentDrawingTest : public ::testing::TestWithParam<COLORREF> {
  protected:
    static inline const HWND kDialog = reinterpret_cast<HWND>(0x4242);
    static constexpr int kOriginX = 30;
    static constexpr int kOriginY = 40;

    void SetUp() override {
        sim::gdi::SetWindowOriginSource([](HWND window, POINT* origin) {
            if (window != kDialog) {
                return false;
            }
            origin->x = kOriginX;
            origin->y = kOriginY;
            return true;
        });
        sim::gdi::ClearScreen(kDesktop);
        sim::gdi::SetSysColor(COLOR_BTNFACE, GetParam());
    }

    static void FillBackground(HDC target, int x, int y, int w, int h) {
        HBRUSH brush = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
        RECT area{x, y, x + w, y + h};
        FillRect(target, &area, brush);
        DeleteObject(brush);
    }

    // Returns what the source bitmap holds after the last step.
    static std::vector<COLORREF> DrawTransparent(HDC target, HBITMAP bitmap, int x, int y,
                                                 COLORREF transparent) {
        HDC source = CreateCompatibleDC(target);
        HGDIOBJ sourceOld = SelectObject(source, bitmap);
        BITMAP info;
        GetObject(bitmap, sizeof info, &info);
        POINT size{info.bmWidth, info.bmHeight};
        DPtoLP(source, &size, 1);
        int w = size.x;
        int h = size.y;

        HDC back = CreateCompatibleDC(target);
        HDC object = CreateCompatibleDC(target);
        HDC memory = CreateCompatibleDC(target);
        HDC save = CreateCompatibleDC(target);
        HBITMAP backBitmap = CreateBitmap(w, h, 1, 1, nullptr);
        HBITMAP objectBitmap = CreateBitmap(w, h, 1, 1, nullptr);
        HBITMAP memoryBitmap = CreateCompatibleBitmap(target, w, h);
        HBITMAP saveBitmap = CreateCompatibleBitmap(target, w, h);
        HGDIOBJ backOld = SelectObject(back, backBitmap);
        HGDIOBJ objectOld = SelectObject(object, objectBitmap);
        HGDIOBJ memoryOld = SelectObject(memory, memoryBitmap);
        HGDIOBJ saveOld = SelectObject(save, saveBitmap);
        SetMapMode(source, GetMapMode(target));

        BitBlt(save, 0, 0, w, h, source, 0, 0, SRCCOPY);
        COLORREF oldBackground = SetBkColor(source, transparent);
        BitBlt(object, 0, 0, w, h, source, 0, 0, SRCCOPY);
        SetBkColor(source, oldBackground);
        BitBlt(back, 0, 0, w, h, object, 0, 0, NOTSRCCOPY);
        BitBlt(memory, 0, 0, w, h, target, x, y, SRCCOPY);
        BitBlt(memory, 0, 0, w, h, object, 0, 0, SRCAND);
        BitBlt(source, 0, 0, w, h, back, 0, 0, SRCAND);
        BitBlt(memory, 0, 0, w, h, source, 0, 0, SRCPAINT);
        BitBlt(target, x, y, w, h, memory, 0, 0, SRCCOPY);
        BitBlt(source, 0, 0, w, h, save, 0, 0, SRCCOPY);
        std::vector<COLORREF> after = Pixels(bitmap, w, h);

        DeleteObject(SelectObject(back, backOld));
        DeleteObject(SelectObject(object, objectOld));
        DeleteObject(SelectObject(memory, memoryOld));
        DeleteObject(SelectObject(save, saveOld));
        DeleteObject(SelectObject(source, sourceOld));
        DeleteDC(back);
        DeleteDC(object);
        DeleteDC(memory);
        DeleteDC(save);
        DeleteDC(source);
        return after;
    }

    static constexpr COLORREF kDesktop = RGB(0, 0, 255);
};

TEST_P(TransparentDrawingTest, LightGreyShowsTheButtonFaceAndNoOtherPixelChanges) {
    const COLORREF face = GetParam();
    // The sixteen standard colours, light grey among them, and one colour a
    // step away from it that must not count as transparent.
    const std::vector<COLORREF> picture = {
        RGB(0, 0, 0),       RGB(128, 0, 0),     RGB(0, 128, 0),     RGB(128, 128, 0),
        RGB(0, 0, 128),     RGB(128, 0, 128),   RGB(0, 128, 128),   RGB(192, 192, 192),
        RGB(128, 128, 128), RGB(255, 0, 0),     RGB(0, 255, 0),     RGB(255, 255, 0),
        RGB(0, 0, 255),     RGB(255, 0, 255),   RGB(0, 255, 255),   RGB(255, 255, 255),
        RGB(192, 192, 192), RGB(192, 192, 191), RGB(192, 192, 192), RGB(192, 192, 192),
    };
    const int w = 4;
    const int h = 5;
    const int x = 5;
    const int y = 3;
    const size_t objectsBefore = sim::gdi::LiveObjectCount();
    // The drawing deletes the picture at its end, as it deletes a loaded one.
    HBITMAP bitmap = MakeBitmap(w, h, picture);

    HDC target = GetDC(kDialog);
    FillBackground(target, x, y, w, h);
    std::vector<COLORREF> sourceAfter = DrawTransparent(target, bitmap, x, y, kLightGrey);
    ReleaseDC(kDialog, target);

    EXPECT_EQ(sourceAfter, picture) << "the picture is restored after drawing";
    EXPECT_EQ(sim::gdi::LiveObjectCount(), objectsBefore);
    EXPECT_EQ(sim::display::OpenDCCount(), 0u);

    // The face lies at the dialog's client origin plus (x, y); around it the
    // desktop is untouched.
    for (int sy = kOriginY + y - 1; sy <= kOriginY + y + h; ++sy) {
        for (int sx = kOriginX + x - 1; sx <= kOriginX + x + w; ++sx) {
            int px = sx - kOriginX - x;
            int py = sy - kOriginY - y;
            COLORREF expected = kDesktop;
            if (px >= 0 && px < w && py >= 0 && py < h) {
                COLORREF p = picture[static_cast<size_t>(py * w + px)];
                expected = p == kLightGrey ? face : p;
            }
            EXPECT_EQ(sim::gdi::ScreenPixel(sx, sy), expected) << "at " << sx << "," << sy;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(ButtonFaces, TransparentDrawingTest,
                         ::testing::Values(RGB(192, 192, 192), RGB(0, 128, 0), RGB(255, 255, 255),
                                           RGB(0, 0, 0)));

} // namespace
