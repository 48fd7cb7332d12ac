// Draws lumivex's pictures and writes them as the files the resource script
// names: the eleven button faces (.bmp) and the application icon (.ico), all
// with 4 bits per pixel and the 16 standard VGA colours.
//
//   draw_resources <resources directory>
//
// The output is committed; run this again only when the pictures change.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

namespace {

// The VGA palette, in its usual order.
enum Color : uint8_t {
    Black,
    DarkRed,
    DarkGreen,
    DarkYellow,
    DarkBlue,
    DarkMagenta,
    DarkCyan,
    LightGrey,
    DarkGrey,
    Red,
    Green,
    Yellow,
    Blue,
    Magenta,
    Cyan,
    White,
};

const uint8_t kPalette[16][3] = {
    {0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128}, {128, 0, 128},
    {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0}, {255, 255, 0},
    {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255},
};

struct Canvas {
    int width;
    int height;
    std::vector<uint8_t> pixels; // palette indices, top row first

    Canvas(int w, int h, uint8_t background) : width(w), height(h), pixels(w * h, background) {}

    void Set(int x, int y, uint8_t c) {
        if (x >= 0 && y >= 0 && x < width && y < height) {
            pixels[y * width + x] = c;
        }
    }

    uint8_t Get(int x, int y) const { return pixels[y * width + x]; }

    void HLine(int x0, int x1, int y, uint8_t c) {
        for (int x = x0; x <= x1; ++x) {
            Set(x, y, c);
        }
    }

    void VLine(int x, int y0, int y1, uint8_t c) {
        for (int y = y0; y <= y1; ++y) {
            Set(x, y, c);
        }
    }

    void Fill(int x0, int y0, int x1, int y1, uint8_t c) {
        for (int y = y0; y <= y1; ++y) {
            HLine(x0, x1, y, c);
        }
    }

    // A square brush of `size` pixels dragged along the segment.
    void Stroke(double x0, double y0, double x1, double y1, int size, uint8_t c) {
        const int steps = static_cast<int>(std::ceil(std::hypot(x1 - x0, y1 - y0) * 2)) + 1;
        for (int i = 0; i <= steps; ++i) {
            const double t = static_cast<double>(i) / steps;
            Dab(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t, size, c);
        }
    }

    void Dab(double cx, double cy, int size, uint8_t c) {
        const int left = static_cast<int>(std::lround(cx - (size - 1) / 2.0));
        const int top = static_cast<int>(std::lround(cy - (size - 1) / 2.0));
        Fill(left, top, left + size - 1, top + size - 1, c);
    }

    void Polyline(const std::vector<std::pair<double, double>>& points, int size, uint8_t c) {
        for (size_t i = 1; i < points.size(); ++i) {
            Stroke(points[i - 1].first, points[i - 1].second, points[i].first, points[i].second,
                   size, c);
        }
    }

    // Filled polygon by the even-odd rule, sampled at pixel centres.
    void Polygon(const std::vector<std::pair<double, double>>& points, uint8_t c) {
        for (int y = 0; y < height; ++y) {
            const double sy = y + 0.5;
            std::vector<double> xs;
            for (size_t i = 0; i < points.size(); ++i) {
                auto [ax, ay] = points[i];
                auto [bx, by] = points[(i + 1) % points.size()];
                if ((ay <= sy && by > sy) || (by <= sy && ay > sy)) {
                    xs.push_back(ax + (sy - ay) * (bx - ax) / (by - ay));
                }
            }
            std::sort(xs.begin(), xs.end());
            for (size_t i = 0; i + 1 < xs.size(); i += 2) {
                for (int x = static_cast<int>(std::ceil(xs[i] - 0.5));
                     x <= static_cast<int>(std::floor(xs[i + 1] - 0.5)); ++x) {
                    Set(x, y, c);
                }
            }
        }
    }
};

std::vector<std::pair<double, double>> Shifted(std::vector<std::pair<double, double>> points,
                                               double dx, double dy) {
    for (auto& p : points) {
        p.first += dx;
        p.second += dy;
    }
    return points;
}

// ---------------------------------------------------------------------------
// Button faces

enum class Frame { Normal, Focused, Pressed };

// A raised edge: white top and left; dark grey inside a black line at the
// bottom and right.
void RaisedEdge(Canvas& c) {
    const int r = c.width - 1, b = c.height - 1;
    c.HLine(0, r - 1, 0, White);
    c.VLine(0, 0, b - 1, White);
    c.HLine(1, r - 1, b - 1, DarkGrey);
    c.VLine(r - 1, 1, b - 1, DarkGrey);
    c.HLine(0, r, b, Black);
    c.VLine(r, 0, b, Black);
}

void DrawFrame(Canvas& c, Frame frame) {
    const int r = c.width - 1, b = c.height - 1;
    switch (frame) {
    case Frame::Normal:
        RaisedEdge(c);
        break;
    case Frame::Focused: {
        // Black all round, doubled at the bottom and right, then the raised
        // edge inside it.
        c.HLine(0, r, 0, Black);
        c.VLine(0, 0, b, Black);
        c.HLine(0, r, b, Black);
        c.VLine(r, 0, b, Black);
        c.HLine(1, r - 1, b - 1, Black);
        c.VLine(r - 1, 1, b - 1, Black);
        c.HLine(1, r - 2, 1, White);
        c.VLine(1, 1, b - 2, White);
        c.HLine(2, r - 2, b - 2, DarkGrey);
        c.VLine(r - 2, 2, b - 2, DarkGrey);
        // The focus rectangle: three-pixel dashes, one-pixel gaps, two pixels
        // inside the edge.
        const int left = 3, top = 3, right = r - 4, bottom = b - 4;
        std::vector<std::pair<int, int>> path;
        for (int x = left; x < right; ++x) {
            path.emplace_back(x, top);
        }
        for (int y = top; y < bottom; ++y) {
            path.emplace_back(right, y);
        }
        for (int x = right; x > left; --x) {
            path.emplace_back(x, bottom);
        }
        for (int y = bottom; y > top; --y) {
            path.emplace_back(left, y);
        }
        for (size_t i = 0; i < path.size(); ++i) {
            if (i % 4 != 3) {
                c.Set(path[i].first, path[i].second, Black);
            }
        }
        break;
    }
    case Frame::Pressed:
        // Sunken: black outside dark grey at the top and left, white at the
        // bottom and right.
        c.HLine(0, r, 0, Black);
        c.VLine(0, 0, b, Black);
        c.HLine(1, r - 1, 1, DarkGrey);
        c.VLine(1, 1, b - 1, DarkGrey);
        c.HLine(1, r, b, White);
        c.VLine(r, 1, b, White);
        break;
    }
}

// The glyphs sit in the middle of a 62 x 28 face, each with a dark grey shadow
// two pixels to the lower right.
void DrawCheck(Canvas& c) {
    const std::vector<std::pair<double, double>> check = {{24, 12}, {28.5, 16.5}, {37, 8}};
    c.Polyline(Shifted(check, 2, 2), 5, DarkGrey);
    c.Polyline(check, 5, Green);
    c.Polyline(check, 3, DarkGreen);
}

void DrawCross(Canvas& c) {
    const std::vector<std::pair<double, double>> a = {{26, 8}, {35, 17}};
    const std::vector<std::pair<double, double>> b = {{35, 8}, {26, 17}};
    c.Polyline(Shifted(a, 2, 2), 5, DarkGrey);
    c.Polyline(Shifted(b, 2, 2), 5, DarkGrey);
    c.Polyline(a, 5, Red);
    c.Polyline(b, 5, Red);
    c.Polyline(a, 3, DarkRed);
    c.Polyline(b, 3, DarkRed);
}

void DrawLoopArrow(Canvas& c, double dx, double dy, uint8_t color) {
    // An ellipse open at the top right, from its top round the left, the bottom
    // and the right side up to the gap.
    const double cx = 30 + dx, cy = 13.5 + dy, rx = 8, ry = 5.5;
    std::vector<std::pair<double, double>> arc;
    for (int deg = 100; deg <= 370; deg += 6) {
        const double a = deg * std::numbers::pi / 180;
        arc.emplace_back(cx + rx * std::cos(a), cy - ry * std::sin(a));
    }
    c.Polyline(arc, 2, color);
    // The arrowhead at the top end, pointing left.
    const double tx = cx + rx * std::cos(100 * std::numbers::pi / 180) - 1;
    const double ty = cy - ry;
    c.Polygon({{tx - 2, ty + 0.5}, {tx + 4, ty - 4}, {tx + 4, ty + 5}}, color);
    // The dot beside it, at the other side of the gap.
    c.Fill(static_cast<int>(cx + 6), static_cast<int>(cy - 6), static_cast<int>(cx + 7),
           static_cast<int>(cy - 5), color);
}

void DrawReset(Canvas& c) {
    DrawLoopArrow(c, 2, 2, DarkGrey);
    DrawLoopArrow(c, 0, 0, Blue);
}

// Copies the painted (non-key) pixels of `layer` onto `c` at (x, y).
void Overlay(Canvas& c, const Canvas& layer, int x, int y, uint8_t key) {
    for (int ly = 0; ly < layer.height; ++ly) {
        for (int lx = 0; lx < layer.width; ++lx) {
            if (layer.Get(lx, ly) != key) {
                c.Set(x + lx, y + ly, layer.Get(lx, ly));
            }
        }
    }
}

// Magenta never appears in the pictures, so it marks unpainted layer pixels.
constexpr uint8_t kKey = Magenta;

// The frames keep a one-pixel margin of background all round.
void FramedPicture(Canvas& c, Frame frame) {
    Canvas edge(c.width - 2, c.height - 2, kKey);
    DrawFrame(edge, frame);
    Overlay(c, edge, 1, 1, kKey);
}

Canvas ButtonFace(void (*glyph)(Canvas&), Frame frame) {
    Canvas c(62, 28, LightGrey);
    FramedPicture(c, frame);
    glyph(c);
    return c;
}

// ---------------------------------------------------------------------------
// Lock tiles, 30 x 27

void DrawShackle(Canvas& c, double dy, bool open, uint8_t color) {
    // An inverted U; opened, it is lifted and its left leg stands free.
    const double top = 4 + dy - (open ? 3 : 0);
    const double leftEnd = open ? top + 6 : 13 + dy;
    std::vector<std::pair<double, double>> u = {{11, leftEnd}, {11, top + 3}, {12, top + 1},
                                                {14, top},     {16, top},     {18, top + 1},
                                                {19, top + 3}, {19, 13 + dy}};
    c.Polyline(u, 2, color);
}

Canvas Padlock(bool open) {
    Canvas c(30, 27, LightGrey);
    // Shadow of the shackle and the body.
    {
        Canvas shadow(30, 27, LightGrey);
        DrawShackle(shadow, 0, open, Black);
        shadow.Fill(8, 12, 22, 23, Black);
        for (int y = 0; y < 27; ++y) {
            for (int x = 0; x < 30; ++x) {
                if (shadow.Get(x, y) == Black) {
                    c.Set(x + 2, y + 2, DarkGrey);
                }
            }
        }
    }
    DrawShackle(c, 0, open, Black);
    // The body: black outline, white with grey stripes, and a keyhole.
    c.Fill(8, 12, 22, 23, Black);
    c.Fill(9, 13, 21, 22, White);
    for (int y = 15; y <= 21; y += 2) {
        c.HLine(9, 21, y, DarkGrey);
    }
    c.Fill(15, 16, 15, 19, Black);
    FramedPicture(c, Frame::Normal);
    return c;
}

// ---------------------------------------------------------------------------
// The icon: a yellow gamma outlined in black, with colour bars coming in from
// the left behind it and a fan of rays going out to the right.

struct IconPicture {
    Canvas color{32, 32, Black};
    std::vector<bool> transparent = std::vector<bool>(32 * 32, true);

    void Paint(const Canvas& layer, uint8_t key) {
        for (int i = 0; i < 32 * 32; ++i) {
            if (layer.pixels[i] != key) {
                color.pixels[i] = layer.pixels[i];
                transparent[i] = false;
            }
        }
    }
};

IconPicture DrawIcon() {
    IconPicture icon;
    // The three bars, blue, green and red from the top.
    Canvas bars(32, 32, kKey);
    bars.Fill(0, 9, 13, 11, Blue);
    bars.Fill(0, 17, 12, 19, Green);
    bars.Fill(0, 24, 12, 26, Red);
    icon.Paint(bars, kKey);
    // The rays fan out from the letter's crossing to the right edge.
    Canvas rays(32, 32, kKey);
    const uint8_t rayColors[] = {Blue, DarkMagenta, Cyan, LightGrey, Green, Yellow, Red};
    for (int i = 0; i < 7; ++i) {
        const double endY = 3 + i * 4.3;
        rays.Stroke(19, 16, 31, endY, 2, rayColors[i]);
    }
    icon.Paint(rays, kKey);
    // The letter: two arms meeting in a point, and a loop below it.
    const std::vector<std::pair<double, double>> leftArm = {{3, 8}, {4, 6},  {6, 5},
                                                            {8, 6}, {10, 9}, {14, 19}};
    const std::vector<std::pair<double, double>> rightArm = {{22, 4}, {20, 8}, {14, 19}};
    const std::vector<std::pair<double, double>> loop = {{14, 19}, {11, 24}, {11, 27}, {14, 29},
                                                         {17, 27}, {17, 24}, {14, 19}};
    Canvas letter(32, 32, kKey);
    letter.Polyline(leftArm, 4, Black);
    letter.Polyline(rightArm, 4, Black);
    letter.Polyline(loop, 4, Black);
    letter.Polyline(leftArm, 2, Yellow);
    letter.Polyline(rightArm, 2, Yellow);
    letter.Polyline(loop, 2, Yellow);
    icon.Paint(letter, kKey);
    return icon;
}

// ---------------------------------------------------------------------------
// Files

void PutWord(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}

void PutDword(std::vector<uint8_t>& out, uint32_t v) {
    PutWord(out, v & 0xFFFF);
    PutWord(out, v >> 16);
}

size_t Stride(int width, int bits) {
    return ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
}

// BITMAPINFOHEADER, the VGA colour table and the 4-bit rows bottom-up.
void PutDib(std::vector<uint8_t>& out, const Canvas& c, int headerHeight, uint32_t imageSize) {
    PutDword(out, 40);
    PutDword(out, c.width);
    PutDword(out, headerHeight);
    PutWord(out, 1);
    PutWord(out, 4);
    PutDword(out, 0); // BI_RGB
    PutDword(out, imageSize);
    PutDword(out, 0);
    PutDword(out, 0);
    PutDword(out, 16);
    PutDword(out, 0);
    for (const auto& rgb : kPalette) {
        out.push_back(rgb[2]);
        out.push_back(rgb[1]);
        out.push_back(rgb[0]);
        out.push_back(0);
    }
    const size_t stride = Stride(c.width, 4);
    for (int y = c.height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(stride, 0);
        for (int x = 0; x < c.width; ++x) {
            row[x / 2] |= (x % 2 == 0) ? c.Get(x, y) << 4 : c.Get(x, y);
        }
        out.insert(out.end(), row.begin(), row.end());
    }
}

std::vector<uint8_t> BmpFile(const Canvas& c) {
    std::vector<uint8_t> dib;
    PutDib(dib, c, c.height, static_cast<uint32_t>(Stride(c.width, 4) * c.height));
    const uint32_t offset = 14 + 40 + 16 * 4;
    std::vector<uint8_t> out = {'B', 'M'};
    PutDword(out, static_cast<uint32_t>(14 + dib.size()));
    PutDword(out, 0);
    PutDword(out, offset);
    out.insert(out.end(), dib.begin(), dib.end());
    return out;
}

// An icon image: the colour DIB of twice the height, then the AND mask.
std::vector<uint8_t> IconImage(const Canvas& c, const std::vector<bool>& transparent) {
    const size_t maskStride = Stride(c.width, 1);
    std::vector<uint8_t> out;
    PutDib(out, c, c.height * 2,
           static_cast<uint32_t>((Stride(c.width, 4) + maskStride) * c.height));
    for (int y = c.height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(maskStride, 0);
        for (int x = 0; x < c.width; ++x) {
            if (transparent[y * c.width + x]) {
                row[x / 8] |= 0x80 >> (x % 8);
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

std::vector<uint8_t>
IcoFile(const std::vector<std::pair<const Canvas*, std::vector<bool>>>& images) {
    std::vector<std::vector<uint8_t>> bodies;
    for (const auto& [canvas, mask] : images) {
        bodies.push_back(IconImage(*canvas, mask));
    }
    std::vector<uint8_t> out;
    PutWord(out, 0);
    PutWord(out, 1);
    PutWord(out, static_cast<uint32_t>(images.size()));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        out.push_back(static_cast<uint8_t>(images[i].first->width));
        out.push_back(static_cast<uint8_t>(images[i].first->height));
        out.push_back(16);
        out.push_back(0);
        PutWord(out, 1);
        PutWord(out, 4);
        PutDword(out, static_cast<uint32_t>(bodies[i].size()));
        PutDword(out, offset);
        offset += static_cast<uint32_t>(bodies[i].size());
    }
    for (const auto& body : bodies) {
        out.insert(out.end(), body.begin(), body.end());
    }
    return out;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
        std::perror(path.c_str());
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <resources directory>\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    const struct {
        const char* name;
        void (*glyph)(Canvas&);
        Frame frame;
    } faces[] = {
        {"reset_pressed", DrawReset, Frame::Pressed},
        {"cancel_pressed", DrawCross, Frame::Pressed},
        {"reset_focused", DrawReset, Frame::Focused},
        {"ok_focused", DrawCheck, Frame::Focused},
        {"reset_normal", DrawReset, Frame::Normal},
        {"ok_normal", DrawCheck, Frame::Normal},
        {"cancel_focused", DrawCross, Frame::Focused},
        {"ok_pressed", DrawCheck, Frame::Pressed},
        {"cancel_normal", DrawCross, Frame::Normal},
    };
    bool ok = true;
    for (const auto& face : faces) {
        ok &=
            WriteFile(dir + "/" + face.name + ".bmp", BmpFile(ButtonFace(face.glyph, face.frame)));
    }
    ok &= WriteFile(dir + "/locked.bmp", BmpFile(Padlock(false)));
    ok &= WriteFile(dir + "/unlocked.bmp", BmpFile(Padlock(true)));

    // The small icon is the large one's upper-left quarter, with dark cyan
    // where the large one is transparent.
    IconPicture large = DrawIcon();
    Canvas small(16, 16, DarkCyan);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            if (!large.transparent[y * 32 + x]) {
                small.Set(x, y, large.color.Get(x, y));
            }
        }
    }
    ok &= WriteFile(dir + "/lumivex.ico", IcoFile({{&large.color, large.transparent},
                                                   {&small, std::vector<bool>(16 * 16, false)}}));
    return ok ? 0 : 1;
}
