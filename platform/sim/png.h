// A small PNG writer for pictures of the simulated screen: 8-bit RGB, one
// IDAT chunk of stored (uncompressed) deflate blocks, so it needs no library.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sim::png {

// CRC-32 as PNG chunks use it (polynomial 0xEDB88320, initial and final
// inversion), and the Adler-32 checksum that ends a zlib stream.
uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0);
uint32_t Adler32(const uint8_t* data, size_t size);

// The zlib stream of `data` in stored blocks of at most 65535 bytes.
std::vector<uint8_t> ZlibStored(const std::vector<uint8_t>& data);

// A whole PNG file of `rgb` (width * height * 3 bytes, top row first). Empty
// when the sizes do not match or a dimension is not positive.
std::vector<uint8_t> Encode(int width, int height, const std::vector<uint8_t>& rgb);

// Encodes and writes to `path`; false when encoding or writing fails.
bool Write(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb);

} // namespace sim::png
