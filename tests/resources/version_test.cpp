// lumivex's version block and the inventory of its resource section, read
// back from the compiled resources.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/win32.h"
#include "resources/resource.h"

namespace {

WORD Word(const BYTE* p) {
    return static_cast<WORD>(p[0] | p[1] << 8);
}

DWORD Dword(const BYTE* p) {
    return Word(p) | static_cast<DWORD>(Word(p + 2)) << 16;
}

// One node of a version block: length, value length, type, key, value and
// children, each part aligned on four bytes from the block's start.
struct Node {
    std::u16string key;
    WORD type = 0;
    std::vector<BYTE> value;
    std::vector<Node> children;
};

bool ParseNode(const BYTE* base, size_t pos, size_t end, Node* node, size_t* next) {
    if (end - pos < 6) {
        return false;
    }
    const size_t length = Word(base + pos);
    const size_t valueLength = Word(base + pos + 2);
    node->type = Word(base + pos + 4);
    if (length < 6 || length > end - pos) {
        return false;
    }
    const size_t stop = pos + length;
    size_t p = pos + 6;
    for (;;) {
        if (stop - p < 2) {
            return false;
        }
        char16_t c = Word(base + p);
        p += 2;
        if (c == 0) {
            break;
        }
        node->key.push_back(c);
    }
    p = (p + 3) & ~size_t{3};
    // Text values count characters, binary ones bytes.
    const size_t valueBytes = node->type == 1 ? valueLength * 2 : valueLength;
    if (p > stop || stop - p < valueBytes) {
        return false;
    }
    node->value.assign(base + p, base + p + valueBytes);
    p = (p + valueBytes + 3) & ~size_t{3};
    while (p < stop) {
        Node child;
        if (!ParseNode(base, p, stop, &child, &p)) {
            return false;
        }
        node->children.push_back(child);
    }
    *next = (stop + 3) & ~size_t{3};
    return true;
}

const Node* Child(const Node& node, const std::u16string& key) {
    for (const Node& c : node.children) {
        if (c.key == key) {
            return &c;
        }
    }
    return nullptr;
}

std::u16string Text(const std::vector<BYTE>& value) {
    std::u16string text;
    for (size_t i = 0; i + 1 < value.size(); i += 2) {
        char16_t c = Word(value.data() + i);
        if (c == 0) {
            break;
        }
        text.push_back(c);
    }
    return text;
}

TEST(VersionBlock, FixedPartStringTableAndTranslation) {
    EXPECT_EQ(sim::ResourceLanguages(sim::ModuleInstance(), 16, 1), std::vector<WORD>{1033});
    auto raw = sim::FindResourceData(sim::ModuleInstance(), RT_VERSION, 1);
    ASSERT_TRUE(raw.has_value());
    Node root;
    size_t next = 0;
    ASSERT_TRUE(ParseNode(raw->data, 0, raw->size, &root, &next));
    EXPECT_EQ(root.key, u"VS_VERSION_INFO");

    ASSERT_EQ(root.value.size(), 52u);
    const BYTE* fixed = root.value.data();
    EXPECT_EQ(Dword(fixed), 0xFEEF04BDu);      // signature
    EXPECT_EQ(Dword(fixed + 8), 0x00010000u);  // file version 1.0
    EXPECT_EQ(Dword(fixed + 12), 0x00010008u); // .1.8
    EXPECT_EQ(Dword(fixed + 16), 0x00010000u); // product version 1.0
    EXPECT_EQ(Dword(fixed + 20), 0x00010008u); // .1.8
    EXPECT_EQ(Dword(fixed + 24), 0x3Fu);       // flags mask
    EXPECT_EQ(Dword(fixed + 28), 0u);          // flags
    EXPECT_EQ(Dword(fixed + 32), 0x00040004u); // VOS_NT_WINDOWS32
    EXPECT_EQ(Dword(fixed + 36), 1u);          // VFT_APP
    EXPECT_EQ(Dword(fixed + 40), 0u);          // subtype
    EXPECT_EQ(Dword(fixed + 44), 0u);          // no file date
    EXPECT_EQ(Dword(fixed + 48), 0u);

    const Node* strings = Child(root, u"StringFileInfo");
    ASSERT_NE(strings, nullptr);
    ASSERT_EQ(strings->children.size(), 1u);
    const Node& table = strings->children[0];
    EXPECT_EQ(table.key, u"040904b0");
    const std::map<std::u16string, std::u16string> expected = {
        {u"CompanyName", u"Veridane"},
        {u"FileDescription", u"lumivex"},
        {u"FileVersion", u"1, 0, 1, 8"},
        {u"InternalName", u"lumivex"},
        {u"LegalCopyright", u"Copyright (C) 1998 Veridane"},
        {u"OriginalFilename", u"lumivex.exe"},
        {u"ProductName", u"lumivex"},
        {u"ProductVersion", u"1, 0, 1, 8"},
    };
    std::map<std::u16string, std::u16string> found;
    for (const Node& entry : table.children) {
        EXPECT_EQ(entry.type, 1);
        found[entry.key] = Text(entry.value);
    }
    EXPECT_TRUE(found == expected);

    const Node* vars = Child(root, u"VarFileInfo");
    ASSERT_NE(vars, nullptr);
    const Node* translation = Child(*vars, u"Translation");
    ASSERT_NE(translation, nullptr);
    ASSERT_EQ(translation->value.size(), 4u);
    EXPECT_EQ(Word(translation->value.data()), 0x0409);
    EXPECT_EQ(Word(translation->value.data() + 2), 1200);
}

// Exactly the resources the program loads: no menu, accelerator or cursor.
TEST(ResourceSection, HoldsExactlyTheProgramsResources) {
    std::vector<std::tuple<WORD, WORD, WORD>> expected;
    for (WORD lang : {1033, 1031, 1043, 2058, 2070, 1049, 1054, 1028}) {
        expected.emplace_back(6, 1, lang);
    }
    for (WORD id : {IDD_VIDEO_CHROMA, IDD_DESKTOP_GAMMA, IDD_ABOUT}) {
        expected.emplace_back(5, id, 1033);
        expected.emplace_back(5, id, 1031);
    }
    for (WORD id = IDB_RESET_PRESSED; id <= IDB_UNLOCKED; ++id) {
        expected.emplace_back(2, id, 1033);
    }
    expected.emplace_back(14, IDI_LUMIVEX, 1033);
    expected.emplace_back(16, 1, 1033);

    std::vector<std::tuple<WORD, WORD, WORD>> found;
    std::vector<WORD> iconImages;
    for (const sim::ResourceKey& key : sim::ListResources(sim::ModuleInstance())) {
        if (key.type == 3) {
            iconImages.push_back(key.id); // the group's images, checked with the icon
            EXPECT_EQ(key.language, 1033);
            continue;
        }
        found.emplace_back(key.type, key.id, key.language);
    }
    std::sort(expected.begin(), expected.end());
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, expected);
    EXPECT_EQ(iconImages.size(), 2u);
}

} // namespace
