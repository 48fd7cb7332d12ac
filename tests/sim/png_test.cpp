// The PNG writer: its checksums against published check values, the stored
// deflate framing, and a written picture read back chunk by chunk.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/sim/gdi.h"
#include "platform/sim/png.h"

namespace {

std::vector<uint8_t> Bytes(const char* text) {
    return std::vector<uint8_t>(text, text + std::strlen(text));
}

uint32_t Big32(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint32_t>(b[at]) << 24 | static_cast<uint32_t>(b[at + 1]) << 16 |
           static_cast<uint32_t>(b[at + 2]) << 8 | b[at + 3];
}

TEST(PngTest, ChecksumsMatchTheirCheckValues) {
    struct Case {
        const char* text;
        uint32_t crc;
        uint32_t adler;
    };
    const Case cases[] = {
        {"", 0x00000000, 0x00000001},
        {"123456789", 0xCBF43926, 0x091E01DE},
        {"Wikipedia", 0xADAAC02E, 0x11E60398},
        {"IEND", 0xAE426082, 0x02D70121},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto b = Bytes(c.text);
        EXPECT_EQ(sim::png::Crc32(b.data(), b.size()), c.crc);
        EXPECT_EQ(sim::png::Adler32(b.data(), b.size()), c.adler);
    }
    // Adler-32's sums wrap modulo 65521: a long run of 0xFF exercises it.
    std::vector<uint8_t> ones(100000, 0xFF);
    uint32_t a = 1, b = 0;
    for (uint8_t v : ones) {
        a = (a + v) % 65521;
        b = (b + a) % 65521;
    }
    EXPECT_EQ(sim::png::Adler32(ones.data(), ones.size()), b << 16 | a);
}

TEST(PngTest, StoredBlocksSplitAt65535BytesAndOnlyTheLastIsFinal) {
    EXPECT_EQ(sim::png::ZlibStored({}), (std::vector<uint8_t>{0x78, 0x01, 0x01, 0x00, 0x00, 0xFF,
                                                              0xFF, 0x00, 0x00, 0x00, 0x01}));

    std::vector<uint8_t> data(65535 + 10);
    for (size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<uint8_t>(i * 7);
    }
    auto z = sim::png::ZlibStored(data);
    ASSERT_EQ(z.size(), 2 + 5 + 65535 + 5 + 10 + 4u);
    EXPECT_EQ((z[0] * 256 + z[1]) % 31, 0);
    EXPECT_EQ(z[2], 0x00); // not final, stored
    EXPECT_EQ(z[3] | z[4] << 8, 65535);
    EXPECT_EQ((z[5] | z[6] << 8) ^ 0xFFFF, 65535);
    size_t second = 2 + 5 + 65535;
    EXPECT_EQ(z[second], 0x01); // final, stored
    EXPECT_EQ(z[second + 1] | z[second + 2] << 8, 10);
    EXPECT_EQ((z[second + 3] | z[second + 4] << 8) ^ 0xFFFF, 10);
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 65535, z.begin() + 7));
    EXPECT_TRUE(std::equal(data.begin() + 65535, data.end(), z.begin() + second + 5));
    EXPECT_EQ(Big32(z, z.size() - 4), sim::png::Adler32(data.data(), data.size()));
}

// Reads a PNG written by the encoder back into its pixels, checking every
// chunk's CRC on the way; returns false on anything unexpected.
bool Decode(const std::vector<uint8_t>& file, uint32_t* width, uint32_t* height,
            std::vector<uint8_t>* rgb) {
    const uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (file.size() < 8 || !std::equal(signature, signature + 8, file.begin())) {
        return false;
    }
    std::vector<uint8_t> zlib;
    std::vector<std::string> order;
    size_t at = 8;
    while (at + 12 <= file.size()) {
        uint32_t length = Big32(file, at);
        std::string type(file.begin() + static_cast<long>(at) + 4,
                         file.begin() + static_cast<long>(at) + 8);
        if (at + 12 + length > file.size() ||
            sim::png::Crc32(file.data() + at + 4, length + 4) != Big32(file, at + 8 + length)) {
            return false;
        }
        const uint8_t* body = file.data() + at + 8;
        order.push_back(type);
        if (type == "IHDR") {
            *width = Big32(file, at + 8);
            *height = Big32(file, at + 12);
            if (length != 13 || body[8] != 8 || body[9] != 2 || body[12] != 0) {
                return false;
            }
        } else if (type == "IDAT") {
            zlib.insert(zlib.end(), body, body + length);
        }
        at += 12 + length;
    }
    if (at != file.size() || order != std::vector<std::string>{"IHDR", "IDAT", "IEND"}) {
        return false;
    }
    std::vector<uint8_t> raw;
    size_t z = 2;
    for (bool last = false; !last;) {
        last = zlib.at(z) & 1;
        size_t len = zlib.at(z + 1) | zlib.at(z + 2) << 8;
        raw.insert(raw.end(), zlib.begin() + static_cast<long>(z) + 5,
                   zlib.begin() + static_cast<long>(z + 5 + len));
        z += 5 + len;
    }
    if (Big32(zlib, z) != sim::png::Adler32(raw.data(), raw.size())) {
        return false;
    }
    size_t row = *width * 3;
    rgb->clear();
    for (uint32_t y = 0; y < *height; ++y) {
        if (raw.at(y * (row + 1)) != 0) {
            return false; // filter type
        }
        auto begin = raw.begin() + static_cast<long>(y * (row + 1) + 1);
        rgb->insert(rgb->end(), begin, begin + static_cast<long>(row));
    }
    return raw.size() == *height * (row + 1);
}

TEST(PngTest, EncodedPictureDecodesToTheSamePixels) {
    // Large enough to need two stored blocks.
    const int w = 150, h = 160;
    std::vector<uint8_t> rgb(static_cast<size_t>(w * h * 3));
    for (size_t i = 0; i < rgb.size(); ++i) {
        rgb[i] = static_cast<uint8_t>(i * 13 + i / 7);
    }
    uint32_t width = 0, height = 0;
    std::vector<uint8_t> back;
    ASSERT_TRUE(Decode(sim::png::Encode(w, h, rgb), &width, &height, &back));
    EXPECT_EQ(width, 150u);
    EXPECT_EQ(height, 160u);
    EXPECT_EQ(back, rgb);

    EXPECT_TRUE(sim::png::Encode(2, 2, std::vector<uint8_t>(11)).empty());
    EXPECT_TRUE(sim::png::Encode(0, 2, {}).empty());
    EXPECT_TRUE(sim::png::Encode(-1, -3, std::vector<uint8_t>(9)).empty());
}

TEST(PngTest, ScreenPictureHoldsTheScreensPixels) {
    sim::gdi::ClearScreen(RGB(10, 20, 30));
    HDC screen = GetDC(nullptr);
    SetPixel(screen, 5, 6, RGB(200, 100, 50));
    ReleaseDC(nullptr, screen);

    std::string path = std::string(LUMIVEX_BINARY_DIR) + "/png_test_screen.png";
    RECT area{4, 6, 7, 8}; // 3 x 2
    ASSERT_TRUE(sim::gdi::SaveScreenPng(path, &area));
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    std::remove(path.c_str());

    uint32_t width = 0, height = 0;
    std::vector<uint8_t> rgb;
    ASSERT_TRUE(Decode(file, &width, &height, &rgb));
    EXPECT_EQ(width, 3u);
    EXPECT_EQ(height, 2u);
    EXPECT_EQ(rgb, (std::vector<uint8_t>{10, 20, 30, 200, 100, 50, 10, 20, 30, //
                                         10, 20, 30, 10, 20, 30, 10, 20, 30}));

    EXPECT_FALSE(sim::gdi::SaveScreenPng(std::string(LUMIVEX_BINARY_DIR) + "/no/such/dir/x.png"));
}

} // namespace
