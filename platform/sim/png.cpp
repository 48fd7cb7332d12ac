#include "platform/sim/png.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdio>

namespace sim::png {

namespace {

const std::array<uint32_t, 256>& CrcTable() {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[n] = c;
        }
        return t;
    }();
    return table;
}

void PutBig32(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value >> 24));
    out.push_back(static_cast<uint8_t>(value >> 16));
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value));
}

void PutChunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& body) {
    PutBig32(out, static_cast<uint32_t>(body.size()));
    size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    // The chunk's CRC covers its type and its data, not the length.
    PutBig32(out, Crc32(out.data() + typeAt, out.size() - typeAt));
}

} // namespace

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc) {
    const auto& table = CrcTable();
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) {
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    }
    return ~crc;
}

uint32_t Adler32(const uint8_t* data, size_t size) {
    const uint32_t mod = 65521;
    uint32_t a = 1;
    uint32_t b = 0;
    for (size_t i = 0; i < size; ++i) {
        a = (a + data[i]) % mod;
        b = (b + a) % mod;
    }
    return (b << 16) | a;
}

std::vector<uint8_t> ZlibStored(const std::vector<uint8_t>& data) {
    std::vector<uint8_t> out;
    out.reserve(data.size() + data.size() / 65535 * 5 + 16);
    // CMF: deflate with a 32 KiB window; FLG makes CMF*256+FLG a multiple of 31.
    out.push_back(0x78);
    out.push_back(0x01);
    size_t at = 0;
    do {
        size_t length = std::min<size_t>(data.size() - at, 65535);
        bool last = at + length == data.size();
        out.push_back(last ? 1 : 0); // BFINAL, BTYPE 00 (stored)
        out.push_back(static_cast<uint8_t>(length));
        out.push_back(static_cast<uint8_t>(length >> 8));
        out.push_back(static_cast<uint8_t>(~length));
        out.push_back(static_cast<uint8_t>(~length >> 8));
        out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                   data.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
    } while (at < data.size());
    PutBig32(out, Adler32(data.data(), data.size()));
    return out;
}

std::vector<uint8_t> Encode(int width, int height, const std::vector<uint8_t>& rgb) {
    if (width <= 0 || height <= 0) {
        return {};
    }
    size_t row = static_cast<size_t>(width) * 3;
    if (rgb.size() / row != static_cast<size_t>(height) || rgb.size() % row != 0) {
        return {};
    }
    std::vector<uint8_t> raw;
    raw.reserve((row + 1) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0); // filter: none
        auto begin = rgb.begin() + static_cast<std::ptrdiff_t>(row * static_cast<size_t>(y));
        raw.insert(raw.end(), begin, begin + static_cast<std::ptrdiff_t>(row));
    }

    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutBig32(header, static_cast<uint32_t>(width));
    PutBig32(header, static_cast<uint32_t>(height));
    header.push_back(8); // bit depth
    header.push_back(2); // colour type: RGB
    header.push_back(0); // compression: deflate
    header.push_back(0); // filter method
    header.push_back(0); // no interlace
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IDAT", ZlibStored(raw));
    PutChunk(out, "IEND", {});
    return out;
}

bool Write(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb) {
    std::vector<uint8_t> file = Encode(width, height, rgb);
    if (file.empty()) {
        return false;
    }
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
        return false;
    }
    bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
    ok = std::fclose(f) == 0 && ok;
    return ok;
}

} // namespace sim::png
