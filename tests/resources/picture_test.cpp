// lumivex's bitmaps and icon read back from the compiled resources: sizes,
// depth, the VGA palette, the light-grey background, the frames that tell the
// button states apart, and the icon's two images and mask.

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "platform/win32.h"
#include "resources/resource.h"

namespace {

enum : BYTE {
    Black = 0,
    DarkRed = 1,
    DarkGreen = 2,
    DarkMagenta = 5,
    DarkCyan = 6,
    LightGrey = 7,
    DarkGrey = 8,
    Red = 9,
    Green = 10,
    Yellow = 11,
    Blue = 12,
    Cyan = 14,
    White = 15,
};

const BYTE kVga[16][3] = {
    {0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128}, {128, 0, 128},
    {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0}, {255, 255, 0},
    {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255},
};

void ExpectVgaPalette(const sim::DibInfo& dib) {
    ASSERT_EQ(dib.palette.size(), 16u);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(dib.palette[i].rgbRed, kVga[i][0]) << "entry " << i;
        EXPECT_EQ(dib.palette[i].rgbGreen, kVga[i][1]) << "entry " << i;
        EXPECT_EQ(dib.palette[i].rgbBlue, kVga[i][2]) << "entry " << i;
    }
}

sim::DibInfo LoadDib(WORD id) {
    sim::DibInfo dib;
    auto raw = sim::FindResourceData(sim::ModuleInstance(), RT_BITMAP, id);
    EXPECT_TRUE(raw.has_value()) << id;
    if (raw) {
        EXPECT_TRUE(sim::ParseDib(raw->data, raw->size, &dib)) << id;
    }
    return dib;
}

BYTE At(const sim::DibInfo& dib, int x, int y) {
    return dib.pixels[static_cast<size_t>(y) * dib.width + x];
}

enum class Frame { Normal, Focused, Pressed };

struct Face {
    WORD id;
    int width, height;
    Frame frame;
    std::set<BYTE> glyphColors; // colours only the glyph uses
};

const Face kFaces[] = {
    {IDB_RESET_PRESSED, 62, 28, Frame::Pressed, {Blue}},
    {IDB_CANCEL_PRESSED, 62, 28, Frame::Pressed, {Red, DarkRed}},
    {IDB_RESET_FOCUSED, 62, 28, Frame::Focused, {Blue}},
    {IDB_OK_FOCUSED, 62, 28, Frame::Focused, {Green, DarkGreen}},
    {IDB_RESET_NORMAL, 62, 28, Frame::Normal, {Blue}},
    {IDB_OK_NORMAL, 62, 28, Frame::Normal, {Green, DarkGreen}},
    {IDB_CANCEL_FOCUSED, 62, 28, Frame::Focused, {Red, DarkRed}},
    {IDB_OK_PRESSED, 62, 28, Frame::Pressed, {Green, DarkGreen}},
    {IDB_CANCEL_NORMAL, 62, 28, Frame::Normal, {Red, DarkRed}},
    {IDB_LOCKED, 30, 27, Frame::Normal, {White}},
    {IDB_UNLOCKED, 30, 27, Frame::Normal, {White}},
};

TEST(Bitmaps, AreFourBitVgaPicturesOnLightGrey) {
    for (const Face& f : kFaces) {
        SCOPED_TRACE(testing::Message() << "bitmap " << f.id);
        EXPECT_EQ(sim::ResourceLanguages(sim::ModuleInstance(), 2, f.id), std::vector<WORD>{1033});
        sim::DibInfo dib = LoadDib(f.id);
        ASSERT_EQ(dib.width, f.width);
        ASSERT_EQ(dib.height, f.height);
        EXPECT_EQ(dib.bitCount, 4);
        ExpectVgaPalette(dib);
        const int r = f.width - 1, b = f.height - 1;
        for (auto [x, y] : {std::pair{0, 0}, {r, 0}, {0, b}, {r, b}}) {
            EXPECT_EQ(At(dib, x, y), LightGrey) << x << "," << y;
        }
        // The frame, one pixel in, tells the state: its top-left and
        // bottom-right corners and the line inside the top-left one.
        const struct {
            BYTE topLeft, inner, bottomRight;
        } want = f.frame == Frame::Normal    ? decltype(want){White, LightGrey, Black}
                 : f.frame == Frame::Focused ? decltype(want){Black, White, Black}
                                             : decltype(want){Black, DarkGrey, White};
        EXPECT_EQ(At(dib, 1, 1), want.topLeft);
        EXPECT_EQ(At(dib, 2, 2), want.inner);
        EXPECT_EQ(At(dib, r - 1, b - 1), want.bottomRight);
        // The glyph's colours and its dark grey shadow are inside the frame.
        std::set<BYTE> inside;
        for (int y = 4; y <= b - 4; ++y) {
            for (int x = 4; x <= r - 4; ++x) {
                inside.insert(At(dib, x, y));
            }
        }
        for (BYTE c : f.glyphColors) {
            EXPECT_TRUE(inside.count(c)) << "colour " << int(c);
        }
        EXPECT_TRUE(inside.count(DarkGrey));
        EXPECT_TRUE(inside.count(LightGrey));
    }
}

// The focused face alone carries the dashed focus rectangle: dashes of three
// pixels with one-pixel gaps along its top.
TEST(Bitmaps, FocusedFacesCarryADashedRectangle) {
    for (WORD id : {IDB_OK_FOCUSED, IDB_CANCEL_FOCUSED, IDB_RESET_FOCUSED, IDB_OK_NORMAL,
                    IDB_CANCEL_PRESSED}) {
        sim::DibInfo dib = LoadDib(id);
        ASSERT_EQ(dib.width, 62);
        const bool focused =
            id == IDB_OK_FOCUSED || id == IDB_CANCEL_FOCUSED || id == IDB_RESET_FOCUSED;
        std::string row;
        for (int x = 4; x < 24; ++x) {
            row += At(dib, x, 4) == Black ? '#' : '.';
        }
        EXPECT_EQ(row, focused ? "###.###.###.###.###." : "....................") << id;
    }
}

// The pressed face does not shift the glyph: all three faces of a button show
// it on the same pixels.
TEST(Bitmaps, TheThreeFacesOfAButtonShowTheGlyphInOnePlace) {
    const struct {
        WORD faces[3];
        std::set<BYTE> glyph;
    } buttons[] = {
        {{IDB_OK_NORMAL, IDB_OK_FOCUSED, IDB_OK_PRESSED}, {Green, DarkGreen}},
        {{IDB_CANCEL_NORMAL, IDB_CANCEL_FOCUSED, IDB_CANCEL_PRESSED}, {Red, DarkRed}},
        {{IDB_RESET_NORMAL, IDB_RESET_FOCUSED, IDB_RESET_PRESSED}, {Blue}},
    };
    for (const auto& button : buttons) {
        std::vector<std::vector<BYTE>> glyphs;
        for (WORD id : button.faces) {
            sim::DibInfo dib = LoadDib(id);
            std::vector<BYTE> glyph(dib.pixels.size(), 0);
            for (size_t i = 0; i < dib.pixels.size(); ++i) {
                if (button.glyph.count(dib.pixels[i])) {
                    glyph[i] = dib.pixels[i];
                }
            }
            glyphs.push_back(glyph);
        }
        EXPECT_EQ(glyphs[0], glyphs[1]) << button.faces[0];
        EXPECT_EQ(glyphs[0], glyphs[2]) << button.faces[0];
    }
    // The two padlocks differ (the shackle), on the same tile.
    EXPECT_NE(LoadDib(IDB_LOCKED).pixels, LoadDib(IDB_UNLOCKED).pixels);
}

struct Icon {
    sim::IconGroupEntry entry;
    sim::IconImage image;
};

std::vector<Icon> LoadIconGroup() {
    std::vector<Icon> icons;
    auto group = sim::FindResourceData(sim::ModuleInstance(), RT_GROUP_ICON, IDI_LUMIVEX);
    EXPECT_TRUE(group.has_value());
    if (!group) {
        return icons;
    }
    std::vector<sim::IconGroupEntry> entries;
    EXPECT_TRUE(sim::ParseIconGroup(group->data, group->size, &entries));
    for (const auto& e : entries) {
        auto raw = sim::FindResourceData(sim::ModuleInstance(), RT_ICON, e.iconId);
        EXPECT_TRUE(raw.has_value()) << e.iconId;
        Icon icon{e, {}};
        if (raw) {
            EXPECT_EQ(raw->size, e.bytesInRes);
            EXPECT_TRUE(sim::ParseIconImage(raw->data, raw->size, &icon.image));
        }
        icons.push_back(icon);
    }
    return icons;
}

TEST(Icon, GroupHoldsA32And16PixelSixteenColourImage) {
    EXPECT_EQ(sim::ResourceLanguages(sim::ModuleInstance(), 14, IDI_LUMIVEX),
              std::vector<WORD>{1033});
    std::vector<Icon> icons = LoadIconGroup();
    ASSERT_EQ(icons.size(), 2u);
    std::set<int> sizes;
    for (const Icon& icon : icons) {
        SCOPED_TRACE(testing::Message() << "icon " << icon.entry.width);
        EXPECT_EQ(icon.entry.width, icon.entry.height);
        EXPECT_EQ(icon.entry.colorCount, 16);
        EXPECT_EQ(icon.entry.planes, 1);
        EXPECT_EQ(icon.entry.bitCount, 4);
        EXPECT_EQ(icon.image.color.width, icon.entry.width);
        EXPECT_EQ(icon.image.color.height, icon.entry.height);
        EXPECT_EQ(icon.image.color.bitCount, 4);
        ExpectVgaPalette(icon.image.color);
        sizes.insert(icon.entry.width);
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 32}));
}

TEST(Icon, SmallImageIsTheLargeOnesUpperLeftQuarterOnDarkCyan) {
    std::vector<Icon> icons = LoadIconGroup();
    ASSERT_EQ(icons.size(), 2u);
    const sim::IconImage& large = icons[0].entry.width == 32 ? icons[0].image : icons[1].image;
    const sim::IconImage& small = icons[0].entry.width == 32 ? icons[1].image : icons[0].image;
    ASSERT_EQ(large.color.width, 32);
    ASSERT_EQ(small.color.width, 16);

    // The large image: transparent around the picture, opaque where it is
    // drawn, and black under the mask so the screen shows through unchanged.
    EXPECT_EQ(large.andMask[0], 1);
    size_t transparent = 0;
    for (size_t i = 0; i < large.andMask.size(); ++i) {
        if (large.andMask[i]) {
            ++transparent;
            EXPECT_EQ(large.color.pixels[i], Black) << i;
        }
    }
    EXPECT_GT(transparent, 0u);
    EXPECT_LT(transparent, large.andMask.size());

    // The small image has no transparent pixel; its dark cyan is where the
    // large one is transparent.
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const size_t s = static_cast<size_t>(y) * 16 + x, l = static_cast<size_t>(y) * 32 + x;
            EXPECT_EQ(small.andMask[s], 0) << x << "," << y;
            EXPECT_EQ(small.color.pixels[s],
                      large.andMask[l] ? BYTE{DarkCyan} : large.color.pixels[l])
                << x << "," << y;
        }
    }
}

// Reads the colours met down one column of the large image, each run once.
std::vector<BYTE> ColumnColours(const sim::IconImage& icon, int x) {
    std::vector<BYTE> runs;
    for (int y = 0; y < icon.color.height; ++y) {
        const size_t i = static_cast<size_t>(y) * icon.color.width + x;
        if (!icon.andMask[i] && (runs.empty() || runs.back() != icon.color.pixels[i])) {
            runs.push_back(icon.color.pixels[i]);
        }
    }
    return runs;
}

TEST(Icon, LargeImageShowsTheBarsTheLetterAndTheRays) {
    std::vector<Icon> icons = LoadIconGroup();
    ASSERT_EQ(icons.size(), 2u);
    const sim::IconImage& large = icons[0].entry.width == 32 ? icons[0].image : icons[1].image;
    // Bars come in from the left edge: blue, green, red from the top.
    EXPECT_EQ(ColumnColours(large, 0), (std::vector<BYTE>{Blue, Green, Red}));
    // The rays reach the right edge in their order.
    EXPECT_EQ(ColumnColours(large, 31),
              (std::vector<BYTE>{Blue, DarkMagenta, Cyan, LightGrey, Green, Yellow, Red}));
    // The letter is yellow outlined in black (left of where the yellow ray
    // starts).
    size_t yellow = 0;
    for (int y = 1; y < 31; ++y) {
        for (int x = 1; x < 18; ++x) {
            if (large.color.pixels[y * 32 + x] != Yellow) {
                continue;
            }
            ++yellow;
            for (auto [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
                BYTE n = large.color.pixels[(y + dy) * 32 + x + dx];
                bool masked = large.andMask[(y + dy) * 32 + x + dx];
                EXPECT_TRUE(!masked && (n == Yellow || n == Black)) << x << "," << y;
            }
        }
    }
    EXPECT_GT(yellow, 30u);
}

} // namespace
