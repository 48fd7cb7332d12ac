// Palettes as text for test assertions: RRGGBB per entry, so that a failing
// comparison shows which entry differs.
#pragma once

#include <array>
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "adapter/extended_registers.h"
#include "platform/adapter_model/board.h"

namespace test_support {

template <typename Entry> std::string Hex(const Entry* entries, size_t count) {
    std::string hex;
    char digits[7];
    for (size_t i = 0; i < count; ++i) {
        std::snprintf(digits, sizeof digits, "%02x%02x%02x", entries[i].r, entries[i].g,
                      entries[i].b);
        hex += digits;
    }
    return hex;
}

template <size_t N> std::string Hex(const std::array<adapter_model::Rgb, N>& palette) {
    return Hex(palette.data(), N);
}

inline std::string Hex(const std::vector<PaletteEntry>& table) {
    return Hex(table.data(), table.size());
}

} // namespace test_support
