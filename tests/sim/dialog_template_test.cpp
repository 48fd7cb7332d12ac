// The classic dialog template parser, on templates built byte by byte.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/dialog_template.h"

namespace {

// Writes a template as the resource compiler lays it out.
struct Bytes {
    std::vector<BYTE> b;

    Bytes& Word(WORD w) {
        b.push_back(w & 0xFF);
        b.push_back(w >> 8);
        return *this;
    }
    Bytes& Dword(DWORD d) { return Word(d & 0xFFFF).Word(d >> 16); }
    Bytes& Text(const std::u16string& s) {
        for (char16_t c : s) {
            Word(c);
        }
        return Word(0);
    }
    Bytes& AlignDword() {
        while (b.size() % 4 != 0) {
            b.push_back(0);
        }
        return *this;
    }
};

constexpr DWORD kSetFont = 0x40;

Bytes Header(DWORD style, WORD count) {
    Bytes t;
    t.Dword(style).Dword(0x00000080).Word(count);
    t.Word(10).Word(20).Word(187).Word(100);
    return t;
}

// A template that uses every form: a menu by ordinal, a class by name, a font,
// a control of a predefined class, one of a named class with creation data,
// and one whose text is a resource ordinal.
std::vector<BYTE> RichTemplate() {
    Bytes t = Header(0x80C80000 | kSetFont, 3);
    t.Word(0xFFFF).Word(7);           // menu 7
    t.Text(u"PanelClass");            // class by name
    t.Text(u"Titel \u00FCber");       // title
    t.Word(8).Text(u"MS Sans Serif"); // font
    // 1: a predefined class
    t.AlignDword().Dword(0x50010000).Dword(0).Word(1).Word(2).Word(30).Word(14).Word(1);
    t.Word(0xFFFF).Word(0x0080).Text(u"OK").Word(0);
    // 2: a named class with four bytes of creation data (the size counts itself)
    t.AlignDword().Dword(0x50000000).Dword(0x200).Word(5).Word(6).Word(7).Word(8).Word(0xFFFF);
    t.Text(u"Custom").Text(u"").Word(6).Word(0xBEEF).Word(0x1234);
    // 3: a static icon, text given by ordinal
    t.AlignDword().Dword(0x50000003).Dword(0).Word(3).Word(3).Word(18).Word(20).Word(65535);
    t.Word(0xFFFF).Word(0x0082).Word(0xFFFF).Word(104).Word(0);
    return t.b;
}

TEST(DialogTemplate, ParsesEveryFieldOfAClassicTemplate) {
    std::vector<BYTE> bytes = RichTemplate();
    sim::DialogTemplate t;
    ASSERT_TRUE(sim::ParseDialogTemplate(bytes.data(), bytes.size(), 1252, &t));
    EXPECT_EQ(t.style, 0x80C80000 | kSetFont);
    EXPECT_EQ(t.exStyle, 0x80u);
    EXPECT_EQ(t.x, 10);
    EXPECT_EQ(t.y, 20);
    EXPECT_EQ(t.cx, 187);
    EXPECT_EQ(t.cy, 100);
    EXPECT_EQ(t.menu, "#7");
    EXPECT_EQ(t.className, "PanelClass");
    EXPECT_EQ(t.title, "Titel \xFC"
                       "ber");
    EXPECT_EQ(t.pointSize, 8);
    EXPECT_EQ(t.faceName, "MS Sans Serif");
    ASSERT_EQ(t.items.size(), 3u);

    EXPECT_EQ(t.items[0].className, "BUTTON");
    EXPECT_EQ(t.items[0].text, "OK");
    EXPECT_EQ(t.items[0].style, 0x50010000u);
    EXPECT_EQ(t.items[0].id, 1);
    EXPECT_EQ(t.items[0].cx, 30);

    EXPECT_EQ(t.items[1].className, "Custom");
    EXPECT_EQ(t.items[1].exStyle, 0x200u);
    EXPECT_EQ(t.items[1].id, 65535);
    EXPECT_EQ(t.items[1].text, "");
    EXPECT_EQ(t.items[1].creationData, (std::vector<BYTE>{0xEF, 0xBE, 0x34, 0x12}));

    EXPECT_EQ(t.items[2].className, "STATIC");
    EXPECT_EQ(t.items[2].textOrdinal, std::optional<WORD>(104));
    EXPECT_EQ(t.items[2].text, "");
    EXPECT_EQ(t.items[2].y, 3);
    EXPECT_EQ(t.items[2].cy, 20);
}

TEST(DialogTemplate, WithoutSetFontThereIsNoFontAndTextsFollowTheCodePage) {
    Bytes t = Header(0x80C80000, 1);
    t.Word(0).Word(0).Text(u"\u041A\u043E\u043D\u0442\u0440\u0430\u0441\u0442");
    t.AlignDword().Dword(0x50000009).Dword(0).Word(1).Word(2).Word(3).Word(4).Word(1010);
    t.Word(0xFFFF).Word(0x0080).Text(u"\u042F").Word(0);
    sim::DialogTemplate d;
    ASSERT_TRUE(sim::ParseDialogTemplate(t.b.data(), t.b.size(), 1251, &d));
    EXPECT_EQ(d.menu, "");
    EXPECT_EQ(d.className, "");
    EXPECT_EQ(d.title, "\xCA\xEE\xED\xF2\xF0\xE0\xF1\xF2");
    EXPECT_EQ(d.pointSize, 0);
    EXPECT_EQ(d.faceName, "");
    ASSERT_EQ(d.items.size(), 1u);
    EXPECT_EQ(d.items[0].text, "\xDF");
    EXPECT_EQ(d.items[0].id, 1010);
}

TEST(DialogTemplate, RefusesTruncatedExtendedAndMalformedTemplates) {
    std::vector<BYTE> bytes = RichTemplate();
    sim::DialogTemplate t;
    // Every shorter prefix is refused, and nothing is read beyond it (the
    // sanitizer build checks the reads).
    for (size_t n = 0; n < bytes.size(); ++n) {
        std::vector<BYTE> prefix(bytes.begin(), bytes.begin() + n);
        EXPECT_FALSE(sim::ParseDialogTemplate(prefix.data(), prefix.size(), 1252, &t)) << n;
    }
    // The extended form: version 1, signature 0xFFFF.
    Bytes ex;
    ex.Word(1).Word(0xFFFF).Dword(0).Dword(0).Dword(0x80C80000).Word(0);
    ex.Word(0).Word(0).Word(10).Word(10).Word(0).Word(0).Word(0);
    EXPECT_FALSE(sim::ParseDialogTemplate(ex.b.data(), ex.b.size(), 1252, &t));
    // A control without a class.
    Bytes noClass = Header(0x80C80000, 1);
    noClass.Word(0).Word(0).Word(0);
    noClass.AlignDword().Dword(0x50000000).Dword(0).Word(1).Word(2).Word(3).Word(4).Word(5);
    noClass.Word(0).Word(0).Word(0);
    EXPECT_FALSE(sim::ParseDialogTemplate(noClass.b.data(), noClass.b.size(), 1252, &t));
    // Creation data longer than what is left, and a size word that cannot
    // count itself.
    for (WORD extra : {WORD{100}, WORD{1}}) {
        Bytes c = Header(0x80C80000, 1);
        c.Word(0).Word(0).Word(0);
        c.AlignDword().Dword(0x50000000).Dword(0).Word(1).Word(2).Word(3).Word(4).Word(5);
        c.Word(0xFFFF).Word(0x0080).Word(0).Word(extra).Word(0xAAAA);
        EXPECT_FALSE(sim::ParseDialogTemplate(c.b.data(), c.b.size(), 1252, &t)) << extra;
    }
    EXPECT_FALSE(sim::ParseDialogTemplate(nullptr, 10, 1252, &t));
    EXPECT_FALSE(sim::ParseDialogTemplate(bytes.data(), bytes.size(), 1252, nullptr));
}

} // namespace
