#include "platform/sim/codepage.h"

#include <iconv.h>

#include <cerrno>
#include <map>

namespace {

// glibc's converters stand in for the platform's code page tables. Each one is
// opened once and kept for the process.
struct Converters {
    std::map<std::pair<UINT, bool>, iconv_t> open;

    ~Converters() {
        for (auto& [key, cd] : open) {
            if (cd != reinterpret_cast<iconv_t>(-1)) {
                iconv_close(cd);
            }
        }
    }
};

iconv_t Converter(UINT codePage, bool toWide) {
    static Converters converters;
    auto key = std::make_pair(codePage, toWide);
    auto found = converters.open.find(key);
    if (found != converters.open.end()) {
        return found->second;
    }
    std::string name = "CP" + std::to_string(codePage);
    iconv_t cd =
        toWide ? iconv_open("UTF-16LE", name.c_str()) : iconv_open(name.c_str(), "UTF-16LE");
    converters.open.emplace(key, cd);
    return cd;
}

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// Converts one character (one code unit, or a surrogate pair); nothing when the
// code page has no byte sequence for it.
bool ConvertCharacter(iconv_t cd, const char16_t* chars, size_t count, std::string* out) {
    char in[4];
    for (size_t i = 0; i < count; ++i) {
        in[2 * i] = static_cast<char>(chars[i] & 0xFF);
        in[2 * i + 1] = static_cast<char>(chars[i] >> 8);
    }
    char buffer[16];
    char* inPtr = in;
    size_t inLeft = 2 * count;
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) || inLeft != 0) {
        return false;
    }
    // Flush any shift state; the code pages here are stateless.
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    out->append(buffer, static_cast<size_t>(outPtr - buffer));
    return true;
}

} // namespace

namespace sim {

UINT AnsiCodePageOf(LANGID lang) {
    switch (PRIMARYLANGID(lang)) {
    case 0x02: // Bulgarian
    case 0x19: // Russian
    case 0x22: // Ukrainian
    case 0x23: // Belarusian
        return 1251;
    case 0x05: // Czech
    case 0x0E: // Hungarian
    case 0x15: // Polish
    case 0x18: // Romanian
    case 0x1B: // Slovak
    case 0x24: // Slovenian
        return 1250;
    case 0x08: // Greek
        return 1253;
    case 0x1F: // Turkish
        return 1254;
    case 0x0D: // Hebrew
        return 1255;
    case 0x01: // Arabic
        return 1256;
    case 0x11: // Japanese
        return 932;
    case 0x12: // Korean
        return 949;
    case 0x1E: // Thai
        return 874;
    case 0x04: // Chinese: simplified in the PRC and Singapore, traditional elsewhere
        return (SUBLANGID(lang) == 0x02 || SUBLANGID(lang) == 0x04) ? 936 : 950;
    default:
        return 1252;
    }
}

std::string WideToAnsi(const std::u16string& text, UINT codePage) {
    std::string out;
    iconv_t cd = Converter(codePage, false);
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        size_t count = 1;
        if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            count = 2;
        }
        if (cd == reinterpret_cast<iconv_t>(-1) || !ConvertCharacter(cd, &text[i], count, &out)) {
            out.push_back('?');
        }
        i += count - 1;
    }
    return out;
}

std::u16string AnsiToWide(const std::string& text, UINT codePage) {
    std::u16string out;
    iconv_t cd = Converter(codePage, true);
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out.push_back(c);
            ++i;
            continue;
        }
        // Try one byte, then a lead byte with its trail byte.
        bool done = false;
        for (size_t length = 1; length <= 2 && i + length <= text.size() && !done; ++length) {
            if (cd == reinterpret_cast<iconv_t>(-1)) {
                break;
            }
            char in[2] = {text[i], length == 2 ? text[i + 1] : '\0'};
            char* inPtr = in;
            size_t inLeft = length;
            char buffer[8];
            char* outPtr = buffer;
            size_t outLeft = sizeof buffer;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1) &&
                inLeft == 0 && outPtr > buffer) {
                for (char* p = buffer; p + 1 < outPtr; p += 2) {
                    out.push_back(static_cast<char16_t>(static_cast<unsigned char>(p[0]) |
                                                        static_cast<unsigned char>(p[1]) << 8));
                }
                i += length;
                done = true;
            }
        }
        if (!done) {
            // A byte the table does not define: the platform's replacement.
            out.push_back(u'\uFFFD');
            ++i;
        }
    }
    return out;
}

} // namespace sim
