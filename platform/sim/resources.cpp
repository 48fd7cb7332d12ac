#include "platform/sim/resources.h"

#include <cstring>

#include "platform/sim/codepage.h"
#include "platform/sim/system.h"

namespace {

constexpr WORD kTypeString = 6;
constexpr WORD kTypeDialog = 5;
constexpr WORD kEnglishUs = 1033;

// One resource of the section. Named types and ids are kept as not numeric so
// that they never match a numeric lookup.
struct Entry {
    bool numericType = false;
    bool numericId = false;
    WORD type = 0;
    WORD id = 0;
    WORD language = 0;
    const BYTE* data = nullptr;
    size_t size = 0;
};

struct ResourceSection {
    const BYTE* data = nullptr;
    size_t size = 0;
    std::vector<Entry> entries;
};

ResourceSection& Section() {
    static ResourceSection section;
    return section;
}

DWORD ReadDword(const BYTE* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<DWORD>(p[3]) << 24;
}

WORD ReadWord(const BYTE* p) {
    return static_cast<WORD>(p[0] | p[1] << 8);
}

// A type or name field of a resource header: 0xFFFF and an ordinal, or a
// zero-terminated UTF-16 name. Advances `pos` within [0, end).
bool ReadNameField(const BYTE* base, size_t end, size_t* pos, bool* numeric, WORD* ordinal) {
    if (end - *pos < 2) {
        return false;
    }
    WORD first = ReadWord(base + *pos);
    *pos += 2;
    if (first == 0xFFFF) {
        if (end - *pos < 2) {
            return false;
        }
        *numeric = true;
        *ordinal = ReadWord(base + *pos);
        *pos += 2;
        return true;
    }
    *numeric = false;
    WORD c = first;
    while (c != 0) {
        if (end - *pos < 2) {
            return false;
        }
        c = ReadWord(base + *pos);
        *pos += 2;
    }
    return true;
}

// Splits a .res file into its resources: each a header (sizes, type, name,
// then the fixed fields with the language) followed by the data, both
// aligned on four bytes.
bool ParseSection(const BYTE* data, size_t size, std::vector<Entry>* out) {
    size_t pos = 0;
    while (pos < size) {
        if (size - pos < 8) {
            return false;
        }
        DWORD dataSize = ReadDword(data + pos);
        DWORD headerSize = ReadDword(data + pos + 4);
        if (headerSize < 8 + 4 + 4 + 16 || headerSize > size - pos ||
            dataSize > size - pos - headerSize) {
            return false;
        }
        const size_t headerEnd = pos + headerSize;
        size_t field = pos + 8;
        Entry entry;
        if (!ReadNameField(data, headerEnd, &field, &entry.numericType, &entry.type) ||
            !ReadNameField(data, headerEnd, &field, &entry.numericId, &entry.id)) {
            return false;
        }
        field = (field + 3) & ~static_cast<size_t>(3);
        // DataVersion (4), MemoryFlags (2), LanguageId (2), Version, Characteristics.
        if (field > headerEnd || headerEnd - field < 16) {
            return false;
        }
        entry.language = ReadWord(data + field + 6);
        entry.data = data + headerEnd;
        entry.size = dataSize;
        // The file opens with an empty resource of type 0 that marks the format.
        if (!(entry.numericType && entry.type == 0)) {
            out->push_back(entry);
        }
        size_t next = (headerEnd + dataSize + 3) & ~static_cast<size_t>(3);
        if (next > size) {
            next = size; // the last resource's padding may be left off
        }
        pos = next;
    }
    return true;
}

std::vector<const Entry*> Variants(HINSTANCE instance, WORD type, WORD id) {
    std::vector<const Entry*> found;
    if (instance != sim::ModuleInstance()) {
        return found;
    }
    for (const Entry& e : Section().entries) {
        if (e.numericType && e.numericId && e.type == type && e.id == id) {
            found.push_back(&e);
        }
    }
    return found;
}

// The loader's choice among a resource's languages for the user's language.
const Entry* ChooseVariant(const std::vector<const Entry*>& variants) {
    if (variants.empty()) {
        return nullptr;
    }
    const LANGID user = GetUserDefaultLangID();
    for (const Entry* e : variants) {
        if (e->language == user) {
            return e;
        }
    }
    for (const Entry* e : variants) {
        if (PRIMARYLANGID(e->language) == PRIMARYLANGID(user)) {
            return e;
        }
    }
    for (const Entry* e : variants) {
        if (e->language == kEnglishUs) {
            return e;
        }
    }
    return variants.front();
}

sim::ResourceData ToData(const Entry* e) {
    return sim::ResourceData{e->data, e->size, e->language};
}

// Entry `index` (0..15) of a string block as UTF-16; nothing for an empty one.
std::optional<std::u16string> StringInBlock(const BYTE* data, size_t size, unsigned index) {
    size_t pos = 0;
    for (unsigned i = 0;; ++i) {
        if (size - pos < 2) {
            return std::nullopt;
        }
        size_t length = ReadWord(data + pos);
        pos += 2;
        if ((size - pos) / 2 < length) {
            return std::nullopt;
        }
        if (i == index) {
            if (length == 0) {
                return std::nullopt;
            }
            std::u16string text;
            for (size_t k = 0; k < length; ++k) {
                text.push_back(static_cast<char16_t>(ReadWord(data + pos + 2 * k)));
            }
            return text;
        }
        pos += 2 * length;
    }
}

std::optional<sim::DialogTemplate> ParseDialogResource(const Entry* e) {
    if (e == nullptr) {
        return std::nullopt;
    }
    sim::DialogTemplate t;
    if (!sim::ParseDialogTemplate(e->data, e->size, sim::AnsiCodePageOf(e->language), &t)) {
        return std::nullopt;
    }
    return t;
}

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

} // namespace

int LoadString(HINSTANCE instance, UINT id, LPSTR buffer, int bufferMax) {
    if (buffer == nullptr || bufferMax < 1) {
        return 0;
    }
    buffer[0] = '\0';
    if (id > 0xFFFF) {
        return 0;
    }
    std::vector<const Entry*> blocks =
        Variants(instance, kTypeString, static_cast<WORD>(id / 16 + 1));
    const Entry* chosen = ChooseVariant(blocks);
    if (chosen == nullptr) {
        return 0;
    }
    std::optional<std::u16string> text = StringInBlock(chosen->data, chosen->size, id % 16);
    if (!text) {
        return 0;
    }
    // Whole characters only: a double-byte character that would not fit is
    // left out rather than cut after its lead byte.
    const UINT codePage = sim::AnsiCodePageOf(chosen->language);
    const size_t limit = static_cast<size_t>(bufferMax) - 1;
    size_t used = 0;
    for (size_t i = 0; i < text->size(); ++i) {
        size_t units = (IsHighSurrogate((*text)[i]) && i + 1 < text->size()) ? 2 : 1;
        std::string bytes = sim::WideToAnsi(text->substr(i, units), codePage);
        if (bytes.size() > limit - used) {
            break;
        }
        std::memcpy(buffer + used, bytes.data(), bytes.size());
        used += bytes.size();
        i += units - 1;
    }
    buffer[used] = '\0';
    return static_cast<int>(used);
}

namespace sim {

HINSTANCE ModuleInstance() {
    return reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(0x00400000));
}

bool RegisterModuleResources(const void* data, size_t size) {
    ResourceSection& section = Section();
    section.data = static_cast<const BYTE*>(data);
    section.size = size;
    section.entries.clear();
    if (section.data != nullptr && !ParseSection(section.data, size, &section.entries)) {
        section.entries.clear();
    }
    return true;
}

std::optional<ResourceData> FindResourceData(HINSTANCE instance, WORD type, WORD id) {
    const Entry* e = ChooseVariant(Variants(instance, type, id));
    if (e == nullptr) {
        return std::nullopt;
    }
    return ToData(e);
}

std::optional<ResourceData> FindResourceData(HINSTANCE instance, LPCSTR type, WORD id) {
    if (!IS_INTRESOURCE(type)) {
        return std::nullopt;
    }
    return FindResourceData(instance, LOWORD(reinterpret_cast<ULONG_PTR>(type)), id);
}

std::optional<ResourceData> FindResourceDataInLanguage(HINSTANCE instance, WORD type, WORD id,
                                                       WORD lang) {
    for (const Entry* e : Variants(instance, type, id)) {
        if (e->language == lang) {
            return ToData(e);
        }
    }
    return std::nullopt;
}

std::vector<WORD> ResourceLanguages(HINSTANCE instance, WORD type, WORD id) {
    std::vector<WORD> languages;
    for (const Entry* e : Variants(instance, type, id)) {
        languages.push_back(e->language);
    }
    return languages;
}

std::vector<ResourceKey> ListResources(HINSTANCE instance) {
    std::vector<ResourceKey> keys;
    if (instance != ModuleInstance()) {
        return keys;
    }
    for (const Entry& e : Section().entries) {
        keys.push_back(ResourceKey{e.numericType ? e.type : WORD{0xFFFF},
                                   e.numericId ? e.id : WORD{0xFFFF}, e.language});
    }
    return keys;
}

std::optional<std::u16string> FindStringInLanguage(HINSTANCE instance, UINT id, WORD lang) {
    if (id > 0xFFFF) {
        return std::nullopt;
    }
    auto block =
        FindResourceDataInLanguage(instance, kTypeString, static_cast<WORD>(id / 16 + 1), lang);
    if (!block) {
        return std::nullopt;
    }
    return StringInBlock(block->data, block->size, id % 16);
}

std::optional<DialogTemplate> LoadDialogTemplate(HINSTANCE instance, WORD id) {
    return ParseDialogResource(ChooseVariant(Variants(instance, kTypeDialog, id)));
}

std::optional<DialogTemplate> LoadDialogTemplateInLanguage(HINSTANCE instance, WORD id, WORD lang) {
    for (const Entry* e : Variants(instance, kTypeDialog, id)) {
        if (e->language == lang) {
            return ParseDialogResource(e);
        }
    }
    return std::nullopt;
}

namespace {

constexpr size_t kMaxDibSide = 0x4000;

size_t DibStride(int width, WORD bitCount) {
    return ((static_cast<size_t>(width) * bitCount + 31) / 32) * 4;
}

int Bit(const BYTE* row, int x, WORD bitCount) {
    switch (bitCount) {
    case 1:
        return (row[x / 8] >> (7 - x % 8)) & 1;
    case 4:
        return (x % 2 == 0) ? row[x / 2] >> 4 : row[x / 2] & 0x0F;
    default:
        return row[x];
    }
}

// Reads the information header, the colour table and `pictureRows` rows of
// pixels (0: as many as the header's height). `end` receives the offset just
// past those rows, where an icon's mask begins.
bool ParseDibPart(const BYTE* data, size_t size, bool icon, DibInfo* out, size_t* end) {
    if (data == nullptr || out == nullptr || size < 40) {
        return false;
    }
    const DWORD headerSize = ReadDword(data);
    const int32_t width = static_cast<int32_t>(ReadDword(data + 4));
    const int32_t height = static_cast<int32_t>(ReadDword(data + 8));
    const WORD planes = ReadWord(data + 12);
    const WORD bitCount = ReadWord(data + 14);
    const DWORD compression = ReadDword(data + 16);
    const DWORD colorsUsed = ReadDword(data + 32);
    if (headerSize < 40 || headerSize > size || planes != 1 || compression != 0 ||
        (bitCount != 1 && bitCount != 4 && bitCount != 8)) {
        return false;
    }
    if (width <= 0 || static_cast<size_t>(width) > kMaxDibSide || height == 0 ||
        height == INT32_MIN || static_cast<size_t>(height < 0 ? -height : height) > kMaxDibSide) {
        return false;
    }
    const bool topDown = height < 0;
    int rows = topDown ? -height : height;
    if (icon) {
        // An icon's header counts the picture and its mask.
        if (topDown || rows % 2 != 0) {
            return false;
        }
        rows /= 2;
    }
    const size_t maxColors = size_t{1} << bitCount;
    const size_t colors = colorsUsed == 0 ? maxColors : colorsUsed;
    if (colors > maxColors) {
        return false;
    }
    size_t pos = headerSize;
    if ((size - pos) / 4 < colors) {
        return false;
    }
    DibInfo dib;
    dib.width = width;
    dib.height = rows;
    dib.bitCount = bitCount;
    for (size_t i = 0; i < colors; ++i, pos += 4) {
        dib.palette.push_back(RgbQuad{data[pos], data[pos + 1], data[pos + 2], data[pos + 3]});
    }
    const size_t stride = DibStride(width, bitCount);
    if ((size - pos) / stride < static_cast<size_t>(rows)) {
        return false;
    }
    dib.pixels.resize(static_cast<size_t>(width) * rows);
    for (int y = 0; y < rows; ++y) {
        const int stored = topDown ? y : rows - 1 - y;
        const BYTE* row = data + pos + stride * stored;
        for (int x = 0; x < width; ++x) {
            int index = Bit(row, x, bitCount);
            if (static_cast<size_t>(index) >= colors) {
                return false; // an index outside the colour table
            }
            dib.pixels[static_cast<size_t>(y) * width + x] = static_cast<BYTE>(index);
        }
    }
    *end = pos + stride * rows;
    *out = std::move(dib);
    return true;
}

} // namespace

bool ParseDib(const BYTE* data, size_t size, DibInfo* out) {
    size_t end = 0;
    return ParseDibPart(data, size, false, out, &end);
}

bool ParseIconGroup(const BYTE* data, size_t size, std::vector<IconGroupEntry>* out) {
    if (data == nullptr || out == nullptr || size < 6 || ReadWord(data) != 0 ||
        ReadWord(data + 2) != 1) {
        return false;
    }
    const size_t count = ReadWord(data + 4);
    if ((size - 6) / 14 < count) {
        return false;
    }
    std::vector<IconGroupEntry> entries;
    for (size_t i = 0; i < count; ++i) {
        const BYTE* e = data + 6 + 14 * i;
        IconGroupEntry entry;
        entry.width = e[0] == 0 ? 256 : e[0];
        entry.height = e[1] == 0 ? 256 : e[1];
        entry.colorCount = e[2];
        entry.planes = ReadWord(e + 4);
        entry.bitCount = ReadWord(e + 6);
        entry.bytesInRes = ReadDword(e + 8);
        entry.iconId = ReadWord(e + 12);
        entries.push_back(entry);
    }
    *out = std::move(entries);
    return true;
}

bool ParseIconImage(const BYTE* data, size_t size, IconImage* out) {
    if (out == nullptr) {
        return false;
    }
    IconImage image;
    size_t pos = 0;
    if (!ParseDibPart(data, size, true, &image.color, &pos)) {
        return false;
    }
    const int width = image.color.width;
    const int rows = image.color.height;
    const size_t stride = DibStride(width, 1);
    if ((size - pos) / stride < static_cast<size_t>(rows)) {
        return false;
    }
    image.andMask.resize(static_cast<size_t>(width) * rows);
    for (int y = 0; y < rows; ++y) {
        const BYTE* row = data + pos + stride * (rows - 1 - y);
        for (int x = 0; x < width; ++x) {
            image.andMask[static_cast<size_t>(y) * width + x] = static_cast<BYTE>(Bit(row, x, 1));
        }
    }
    *out = std::move(image);
    return true;
}

} // namespace sim
