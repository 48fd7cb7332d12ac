// The simulator's resource loader on resource sections built byte by byte:
// the .res layout, the choice of language, LoadString, and the DIB and icon
// parsers.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/sim/resources.h"
#include "platform/sim/system.h"

namespace {

struct Bytes {
    std::vector<BYTE> b;

    Bytes& Byte(BYTE v) {
        b.push_back(v);
        return *this;
    }
    Bytes& Word(WORD w) { return Byte(w & 0xFF).Byte(w >> 8); }
    Bytes& Dword(DWORD d) { return Word(d & 0xFFFF).Word(d >> 16); }
    Bytes& Append(const std::vector<BYTE>& more) {
        b.insert(b.end(), more.begin(), more.end());
        return *this;
    }
    Bytes& Align() {
        while (b.size() % 4 != 0) {
            b.push_back(0);
        }
        return *this;
    }
};

// A name field: an ordinal, or a name when `name` is given.
void PutName(Bytes& h, WORD ordinal, const char16_t* name) {
    if (name == nullptr) {
        h.Word(0xFFFF).Word(ordinal);
        return;
    }
    for (const char16_t* p = name; *p; ++p) {
        h.Word(*p);
    }
    h.Word(0);
}

// A .res file: the empty resource that marks the format, then each resource.
struct ResFile {
    Bytes file;

    ResFile() { Add(0, 0, 0, {}); }

    ResFile& Add(WORD type, WORD id, WORD lang, const std::vector<BYTE>& data,
                 const char16_t* typeName = nullptr, const char16_t* idName = nullptr) {
        Bytes h;
        PutName(h, type, typeName);
        PutName(h, id, idName);
        h.Align();
        h.Dword(0).Word(0x1030).Word(lang).Dword(0).Dword(0);
        file.Dword(static_cast<DWORD>(data.size())).Dword(static_cast<DWORD>(8 + h.b.size()));
        file.Append(h.b).Append(data).Align();
        return *this;
    }

    void Register() { sim::RegisterModuleResources(file.b.data(), file.b.size()); }
};

constexpr WORD kDialog = 5, kString = 6, kBitmap = 2;

std::optional<WORD> ChosenLanguage(WORD type, WORD id) {
    auto found = sim::FindResourceData(sim::ModuleInstance(), type, id);
    if (!found) {
        return std::nullopt;
    }
    // Each variant's data is its own language id, so the bytes show which one
    // was handed out.
    EXPECT_EQ(found->size, 2u);
    EXPECT_EQ(found->data[0] | found->data[1] << 8, found->language);
    return found->language;
}

std::vector<BYTE> LangBytes(WORD lang) {
    return {static_cast<BYTE>(lang & 0xFF), static_cast<BYTE>(lang >> 8)};
}

TEST(ResourceLoader, ChoosesExactThenPrimaryThenEnglishThenFirst) {
    const struct {
        bool withEnglish;
        WORD user;
        WORD chosen;
    } cases[] = {
        {false, 1031, 1031},                      // exact
        {false, 1049, 1049}, {false, 2055, 1031}, // German (Switzerland): same primary language
        {false, 1034, 2058},                      // Spanish (Spain): the Mexican variant
        {false, 1040, 1031},                      // Italian, no English: the first variant
        {false, 1033, 1031}, {true, 1040, 1033},  // Italian: English
        {true, 2057, 1033},                       // English (UK): same primary language
        {true, 1034, 2058},  {true, 3079, 1031},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "english " << c.withEnglish << ", user " << c.user);
        ResFile res;
        res.Add(kDialog, 7, 1031, LangBytes(1031));
        res.Add(kDialog, 7, 2058, LangBytes(2058));
        res.Add(kDialog, 7, 1049, LangBytes(1049));
        if (c.withEnglish) {
            res.Add(kDialog, 7, 1033, LangBytes(1033));
        }
        res.Add(kDialog, 8, 1033, LangBytes(1033)); // another id does not count
        res.Register();
        sim::SetUserDefaultLangID(c.user);
        EXPECT_EQ(ChosenLanguage(kDialog, 7), std::optional<WORD>(c.chosen));
    }
}

TEST(ResourceLoader, FindsByTypeIdAndInstance) {
    ResFile res;
    res.Add(kDialog, 7, 1033, LangBytes(1033));
    res.Add(kBitmap, 9, 1031, LangBytes(1031));
    res.Add(0, 0, 1033, {1, 2}, u"PNG", nullptr);        // named type
    res.Add(kBitmap, 0, 1033, {1, 2}, nullptr, u"LOGO"); // named id
    res.Register();
    EXPECT_EQ(ChosenLanguage(kDialog, 7), std::optional<WORD>(1033));
    EXPECT_EQ(ChosenLanguage(kBitmap, 9), std::optional<WORD>(1031));
    EXPECT_FALSE(sim::FindResourceData(sim::ModuleInstance(), kBitmap, 7));
    EXPECT_FALSE(sim::FindResourceData(sim::ModuleInstance(), kDialog, 9));
    EXPECT_FALSE(sim::FindResourceData(sim::ModuleInstance(), kBitmap, 0));
    EXPECT_TRUE(sim::FindResourceData(sim::ModuleInstance(), RT_BITMAP, 9));
    EXPECT_FALSE(sim::FindResourceDataInLanguage(sim::ModuleInstance(), kBitmap, 9, 1033));
    EXPECT_TRUE(sim::FindResourceDataInLanguage(sim::ModuleInstance(), kBitmap, 9, 1031));

    HINSTANCE other = reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(0x10000000));
    EXPECT_FALSE(sim::FindResourceData(other, kDialog, 7));
    EXPECT_TRUE(sim::ListResources(other).empty());

    std::vector<sim::ResourceKey> keys = sim::ListResources(sim::ModuleInstance());
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_EQ(keys[2].type, 0xFFFF);
    EXPECT_EQ(keys[3].type, kBitmap);
    EXPECT_EQ(keys[3].id, 0xFFFF);
}

TEST(ResourceLoader, RefusesASectionThatDoesNotParse) {
    ResFile res;
    res.Add(kDialog, 7, 1033, std::vector<BYTE>(10, 0xAB));
    res.Add(kDialog, 8, 1033, std::vector<BYTE>(8, 0xCD));
    const std::vector<BYTE> whole = res.file.b;
    // Cut anywhere inside a resource: nothing is found, nothing is read past
    // the end (checked by the sanitizer build).
    for (size_t n = 1; n < whole.size(); ++n) {
        std::vector<BYTE> cut(whole.begin(), whole.begin() + n);
        sim::RegisterModuleResources(cut.data(), cut.size());
        auto second = sim::FindResourceData(sim::ModuleInstance(), kDialog, 8);
        EXPECT_FALSE(second.has_value()) << n;
    }
    // A data size that runs past the end.
    std::vector<BYTE> bad = whole;
    bad[32] = 0xFF;
    sim::RegisterModuleResources(bad.data(), bad.size());
    EXPECT_FALSE(sim::FindResourceData(sim::ModuleInstance(), kDialog, 7));
    // A header size too small to hold the fixed fields.
    bad = whole;
    bad[36] = 12;
    sim::RegisterModuleResources(bad.data(), bad.size());
    EXPECT_FALSE(sim::FindResourceData(sim::ModuleInstance(), kDialog, 7));
    // Nothing registered.
    sim::RegisterModuleResources(nullptr, 0);
    EXPECT_FALSE(sim::FindResourceData(sim::ModuleInstance(), kDialog, 7));
}

// A string block: sixteen counted UTF-16 strings.
std::vector<BYTE> StringBlock(const std::vector<std::u16string>& entries) {
    Bytes b;
    for (size_t i = 0; i < 16; ++i) {
        const std::u16string s = i < entries.size() ? entries[i] : u"";
        b.Word(static_cast<WORD>(s.size()));
        for (char16_t c : s) {
            b.Word(c);
        }
    }
    return b.b;
}

TEST(ResourceLoader, LoadStringPicksTheBlockAndTheEntry) {
    ResFile res;
    res.Add(kString, 1, 1033, StringBlock({u"", u"One", u"", u"Three"}));
    res.Add(kString, 1, 1049, StringBlock({u"", u"\u041E\u0434\u0438\u043D"}));
    res.Add(kString, 2, 1049, StringBlock({u"", u"\u0421\u0435\u043C\u043D\u0430\u0434\u0446"}));
    // A block whose first entry claims more characters than it holds.
    res.Add(kString, 3, 1033, {50, 0, 'A', 0});
    res.Register();
    const struct {
        WORD user;
        UINT id;
        const char* expected;
    } cases[] = {
        {1033, 1, "One"},
        {1033, 3, "Three"},
        {1033, 2, ""}, // an empty entry
        {1033, 0, ""},
        {1033, 15, ""},
        {1049, 1, "\xCE\xE4\xE8\xED"},
        {1049, 3, ""}, // the Russian block lacks it: no fallback per entry
        {1033, 17, "\xD1\xE5\xEC\xED\xE0\xE4\xF6"}, // only a Russian block 2
        {1033, 32, ""},                             // the broken block
        {1033, 48, ""},                             // no block 4
        {1033, 0x10000 + 1, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "user " << c.user << ", id " << c.id);
        sim::SetUserDefaultLangID(c.user);
        char buffer[32];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(LoadString(sim::ModuleInstance(), c.id, buffer, sizeof buffer),
                  static_cast<int>(std::strlen(c.expected)));
        EXPECT_STREQ(buffer, c.expected);
    }
    auto stored = sim::FindStringInLanguage(sim::ModuleInstance(), 1, 1049);
    ASSERT_TRUE(stored.has_value());
    EXPECT_TRUE(*stored == u"\u041E\u0434\u0438\u043D");
    EXPECT_FALSE(sim::FindStringInLanguage(sim::ModuleInstance(), 1, 1031));
}

// A DIB as an RT_BITMAP resource holds it: information header, colour table,
// rows padded to four bytes.
std::vector<BYTE> Dib(int width, int height, WORD bits, DWORD colorsUsed,
                      const std::vector<BYTE>& rows, DWORD compression = 0) {
    Bytes b;
    b.Dword(40).Dword(static_cast<DWORD>(width)).Dword(static_cast<DWORD>(height));
    b.Word(1).Word(bits).Dword(compression).Dword(0).Dword(0).Dword(0).Dword(colorsUsed);
    b.Dword(0);
    const DWORD colors = colorsUsed ? colorsUsed : (1u << bits);
    for (DWORD i = 0; i < colors; ++i) {
        b.Byte(static_cast<BYTE>(i)).Byte(static_cast<BYTE>(i * 2)).Byte(static_cast<BYTE>(i * 3));
        b.Byte(0);
    }
    return b.Append(rows).b;
}

TEST(ResourceLoader, ParseDibUnpacksRowsTopDown) {
    // 3 x 2 at 4 bits per pixel, stored bottom-up: the first stored row is
    // the bottom one.
    std::vector<BYTE> bottomUp = Dib(3, 2, 4, 0, {0x45, 0x60, 0, 0, 0x12, 0x30, 0, 0});
    sim::DibInfo dib;
    ASSERT_TRUE(sim::ParseDib(bottomUp.data(), bottomUp.size(), &dib));
    EXPECT_EQ(dib.width, 3);
    EXPECT_EQ(dib.height, 2);
    EXPECT_EQ(dib.bitCount, 4);
    ASSERT_EQ(dib.palette.size(), 16u);
    EXPECT_EQ(dib.palette[5].rgbBlue, 5);
    EXPECT_EQ(dib.palette[5].rgbGreen, 10);
    EXPECT_EQ(dib.palette[5].rgbRed, 15);
    EXPECT_EQ(dib.pixels, (std::vector<BYTE>{1, 2, 3, 4, 5, 6}));

    // A negative height means top-down rows.
    std::vector<BYTE> topDown = Dib(3, -2, 4, 0, {0x12, 0x30, 0, 0, 0x45, 0x60, 0, 0});
    ASSERT_TRUE(sim::ParseDib(topDown.data(), topDown.size(), &dib));
    EXPECT_EQ(dib.height, 2);
    EXPECT_EQ(dib.pixels, (std::vector<BYTE>{1, 2, 3, 4, 5, 6}));

    // 1 and 8 bits per pixel, with a short colour table.
    std::vector<BYTE> mono = Dib(10, 1, 1, 0, {0xA0, 0x40, 0, 0});
    ASSERT_TRUE(sim::ParseDib(mono.data(), mono.size(), &dib));
    EXPECT_EQ(dib.pixels, (std::vector<BYTE>{1, 0, 1, 0, 0, 0, 0, 0, 0, 1}));
    std::vector<BYTE> bytes = Dib(2, 1, 8, 3, {2, 1, 0, 0});
    ASSERT_TRUE(sim::ParseDib(bytes.data(), bytes.size(), &dib));
    EXPECT_EQ(dib.palette.size(), 3u);
    EXPECT_EQ(dib.pixels, (std::vector<BYTE>{2, 1}));
}

TEST(ResourceLoader, ParseDibRefusesWhatItCannotShow) {
    const std::vector<BYTE> good = Dib(3, 2, 4, 0, {0x12, 0x30, 0, 0, 0x45, 0x60, 0, 0});
    sim::DibInfo dib;
    for (size_t n = 0; n < good.size(); ++n) {
        EXPECT_FALSE(sim::ParseDib(good.data(), n, &dib)) << n;
    }
    const std::vector<std::vector<BYTE>> bad = {
        Dib(3, 2, 4, 0, {0x12, 0x30, 0, 0, 0x45, 0x60, 0, 0}, 2), // run-length encoded
        Dib(1, 1, 24, 0, {1, 2, 3, 0}),                           // no palette
        Dib(2, 1, 8, 2, {0, 5, 0, 0}),                            // index past the table
        Dib(0, 1, 8, 1, {0, 0, 0, 0}),                            // no width
        Dib(2, 0, 8, 1, {0, 0, 0, 0}),                            // no height
        Dib(0x7FFFFFFF, 0x7FFFFFFF, 8, 1, {0, 0, 0, 0}),          // sizes that overflow
        Dib(3, 2, 4, 17, std::vector<BYTE>(8, 0)),                // too many colours
    };
    for (size_t i = 0; i < bad.size(); ++i) {
        EXPECT_FALSE(sim::ParseDib(bad[i].data(), bad[i].size(), &dib)) << i;
    }
    EXPECT_FALSE(sim::ParseDib(nullptr, 100, &dib));
}

TEST(ResourceLoader, IconGroupAndImage) {
    Bytes group;
    group.Word(0).Word(1).Word(2);
    group.Byte(32).Byte(32).Byte(16).Byte(0).Word(1).Word(4).Dword(744).Word(1);
    group.Byte(0).Byte(0).Byte(0).Byte(0).Word(1).Word(32).Dword(9999).Word(2);
    std::vector<sim::IconGroupEntry> entries;
    ASSERT_TRUE(sim::ParseIconGroup(group.b.data(), group.b.size(), &entries));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].width, 32);
    EXPECT_EQ(entries[0].colorCount, 16);
    EXPECT_EQ(entries[0].bitCount, 4);
    EXPECT_EQ(entries[0].bytesInRes, 744u);
    EXPECT_EQ(entries[0].iconId, 1);
    EXPECT_EQ(entries[1].width, 256); // 0 means 256
    EXPECT_EQ(entries[1].iconId, 2);
    EXPECT_FALSE(sim::ParseIconGroup(group.b.data(), group.b.size() - 1, &entries));
    group.b[2] = 2; // a cursor directory
    EXPECT_FALSE(sim::ParseIconGroup(group.b.data(), group.b.size(), &entries));

    // A 2 x 2 icon: the header counts both halves; colour rows, then the mask
    // rows, both bottom-up.
    std::vector<BYTE> image = Dib(2, 4, 4, 0,
                                  {0x12, 0, 0, 0, 0x34, 0, 0, 0,   // colour: bottom, top
                                   0x40, 0, 0, 0, 0x80, 0, 0, 0}); // mask: bottom, top
    sim::IconImage icon;
    ASSERT_TRUE(sim::ParseIconImage(image.data(), image.size(), &icon));
    EXPECT_EQ(icon.color.width, 2);
    EXPECT_EQ(icon.color.height, 2);
    EXPECT_EQ(icon.color.pixels, (std::vector<BYTE>{3, 4, 1, 2}));
    EXPECT_EQ(icon.andMask, (std::vector<BYTE>{1, 0, 0, 1}));
    // Without its mask rows, or with an odd height, it is refused.
    EXPECT_FALSE(sim::ParseIconImage(image.data(), image.size() - 4, &icon));
    std::vector<BYTE> odd = Dib(2, 3, 4, 0, std::vector<BYTE>(12, 0));
    EXPECT_FALSE(sim::ParseIconImage(odd.data(), odd.size(), &icon));
}

} // namespace
