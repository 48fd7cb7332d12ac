// Conversions between UTF-16 and the ANSI code pages of the programs'
// languages.

#include <gtest/gtest.h>

#include <string>

#include "platform/sim/codepage.h"

namespace {

TEST(CodePage, OfEachLanguage) {
    const struct {
        LANGID lang;
        UINT codePage;
    } cases[] = {
        {1033, 1252}, {1031, 1252}, {1043, 1252}, {2058, 1252}, {1034, 1252}, {2070, 1252},
        {1049, 1251}, {1054, 874},  {1028, 950},  {2052, 936},  {1029, 1250}, {1032, 1253},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sim::AnsiCodePageOf(c.lang), c.codePage) << c.lang;
    }
}

// Each code page's own bytes, both ways.
TEST(CodePage, ConvertsBothWays) {
    const struct {
        UINT codePage;
        std::u16string wide;
        std::string ansi;
    } cases[] = {
        {1252, u"Info \u00FCber",
         "Info \xFC"
         "ber"},
        {1252, u"Corre\u2021ao \u00A0rea dispon\u00A1vel",
         "Corre\x87"
         "ao \xA0rea dispon\xA1vel"},
        {1251, u"\u042F\u0440\u043A\u043E\u0441\u0442\u044C", "\xDF\xF0\xEA\xEE\xF1\xF2\xFC"},
        {874, u"\u0E40\u0E1B\u0E34\u0E14", "\xE0\xBB\xD4\xB4"},
        // Double-byte characters whose trail byte is an ASCII letter or sign.
        {950, u"\u958B \u95DC",
         "\xB6}"
         " \xC3\xF6"},
        {950, u"\u5728\u6B64 %d Color", "\xA6\x62\xA6\xB9 %d Color"},
        {1252, u"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "code page " << c.codePage);
        EXPECT_EQ(sim::WideToAnsi(c.wide, c.codePage), c.ansi);
        EXPECT_TRUE(sim::AnsiToWide(c.ansi, c.codePage) == c.wide);
    }
}

TEST(CodePage, CharactersWithoutABecomeTheDefaultCharacter) {
    // One '?' per character, a surrogate pair included.
    EXPECT_EQ(sim::WideToAnsi(u"a\u042Fb", 1252), "a?b");
    EXPECT_EQ(sim::WideToAnsi(u"\u00FC", 1251), "?");
    EXPECT_EQ(sim::WideToAnsi(u"x\U0001F600y", 950), "x?y");
    // A lone lead byte at the end of double-byte text.
    EXPECT_TRUE(sim::AnsiToWide("A\xB6", 950) == u"A\uFFFD");
}

} // namespace
