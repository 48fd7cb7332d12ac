// lumivex's string tables read back from the compiled resources: the UTF-16
// that the resource compiler stored, and what LoadString gives in each
// language's ANSI code page.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/win32.h"
#include "resources/resource.h"

namespace {

struct StringCase {
    WORD lang;
    UINT id;
    const char16_t* stored; // nullptr: the language's table has no such entry
    const char* ansi;       // the same text in the language's ANSI code page
};

// Every entry of the first string block (ids 0 to 15) in every language.
const StringCase kStrings[] = {
    // English (United States)
    {1033, 0, nullptr, nullptr},
    {1033, 1, u"Gamma", "Gamma"},
    {1033, 2, u"Chroma", "Chroma"},
    {1033, 3, u"ON", "ON"},
    {1033, 4, u"OFF", "OFF"},
    {1033, 5, u" ; ", " ; "},
    {1033, 6, u"is ", "is "},
    {1033, 7, u" Correction ", " Correction "},
    {1033, 8, u"Desktop ", "Desktop "},
    {1033, 9, u"Video ", "Video "},
    {1033, 10, u"Desktop Gamma Correction is NOT AVAILABLE in %d Color Mode.",
     "Desktop Gamma Correction is NOT AVAILABLE in %d Color Mode."},
    {1033, 11, u"Video Gamma Correction is NOT AVAILABLE in %d Color Mode.",
     "Video Gamma Correction is NOT AVAILABLE in %d Color Mode."},
    {1033, 12, u"Brightness", "Brightness"},
    {1033, 13, u"Contrast", "Contrast"},
    {1033, 14, u"About", "About"},
    {1033, 15, nullptr, nullptr},
    // German
    {1031, 0, nullptr, nullptr},
    {1031, 1, u"Gamma ", "Gamma "},
    {1031, 2, u"Chroma ", "Chroma "},
    {1031, 3, u"EIN", "EIN"},
    {1031, 4, u"AUS", "AUS"},
    {1031, 5, u" ; ", " ; "},
    {1031, 6, u"ist ", "ist "},
    {1031, 7, u"Korrektur ", "Korrektur "},
    {1031, 8, u"Desktop ", "Desktop "},
    {1031, 9, u"Video ", "Video "},
    {1031, 10, u"Desktop-Gamma-Korrektur steht im %d Farbmodus NICHT ZUR VERF\u00DCGUNG.",
     "Desktop-Gamma-Korrektur steht im %d Farbmodus NICHT ZUR VERF\xDCGUNG."},
    {1031, 11, u"Video-Chroma-Korrektur steht im %d Farbmodus NICHT ZUR VERF\u00DCGUNG.",
     "Video-Chroma-Korrektur steht im %d Farbmodus NICHT ZUR VERF\xDCGUNG."},
    {1031, 12, u"Helligkeit", "Helligkeit"},
    {1031, 13, u"Kontrast", "Kontrast"},
    {1031, 14, u"Info \u00FCber",
     "Info \xFC"
     "ber"},
    {1031, 15, nullptr, nullptr},
    // Dutch
    {1043, 0, nullptr, nullptr},
    {1043, 1, u"Gamma ", "Gamma "},
    {1043, 2, u"Chroma ", "Chroma "},
    {1043, 3, u"AAN", "AAN"},
    {1043, 4, u"UIT", "UIT"},
    {1043, 5, u" ; ", " ; "},
    {1043, 6, u"is ", "is "},
    {1043, 7, u"Correctie ", "Correctie "},
    {1043, 8, u"Desktop ", "Desktop "},
    {1043, 9, u"Video ", "Video "},
    {1043, 10, u"Desktop Gamma Correctie is NIET BESCHIKBAAR in %d Kleurenmodus.",
     "Desktop Gamma Correctie is NIET BESCHIKBAAR in %d Kleurenmodus."},
    {1043, 11, u"Video Chroma Correctie is NIET BESCHIKBAAR in %d Kleurenmodus.",
     "Video Chroma Correctie is NIET BESCHIKBAAR in %d Kleurenmodus."},
    {1043, 12, u"Helderheid", "Helderheid"},
    {1043, 13, u"Contrast", "Contrast"},
    {1043, 14, nullptr, nullptr},
    {1043, 15, nullptr, nullptr},
    // Spanish (Mexico)
    {2058, 0, nullptr, nullptr},
    {2058, 1, u"Gamma ", "Gamma "},
    {2058, 2, u"Chroma ", "Chroma "},
    {2058, 3, u"Encendido", "Encendido"},
    {2058, 4, u"Apagado", "Apagado"},
    {2058, 5, u" ; ", " ; "},
    {2058, 6, u"es ", "es "},
    {2058, 7, u"Correcci\u00F3n ", "Correcci\xF3n "},
    {2058, 8, u"PC de Escritorio ", "PC de Escritorio "},
    {2058, 9, u"V\u00EDdeo ",
     "V\xED"
     "deo "},
    {2058, 10,
     u"Gamma Correcci\u00F3n del PC de Escritorio no est\u00E1 disponible en %d Color Mode.",
     "Gamma Correcci\xF3n del PC de Escritorio no est\xE1 disponible en %d Color Mode."},
    {2058, 11, u"V\u00EDdeo Chroma Correcci\u00F3n no est\u00E1 disponible en %d Color Mode.",
     "V\xED"
     "deo Chroma Correcci\xF3n no est\xE1 disponible en %d Color Mode."},
    {2058, 12, u"Brillantez", "Brillantez"},
    {2058, 13, u"Contraste", "Contraste"},
    {2058, 14, nullptr, nullptr},
    {2058, 15, nullptr, nullptr},
    // Portuguese (Portugal)
    {2070, 0, nullptr, nullptr},
    {2070, 1, u"Gamma ", "Gamma "},
    {2070, 2, u"Chroma ", "Chroma "},
    {2070, 3, u"LIGADO", "LIGADO"},
    {2070, 4, u"DESLIGADO", "DESLIGADO"},
    {2070, 5, u" ; ", " ; "},
    {2070, 6, u"est\u00A0 ", "est\xA0 "},
    {2070, 7, u"Corre\u2021ao ",
     "Corre\x87"
     "ao "},
    {2070, 8, u"\u00A0rea de trabalho ", "\xA0rea de trabalho "},
    {2070, 9, u"Video ", "Video "},
    {2070, 10,
     u"A corre\u2021ao de Gamma da \u00A0rea de trabalho nao est\u00A0 dispon\u00A1vel no modo de "
     u"cor %d.",
     "A corre\x87"
     "ao de Gamma da \xA0rea de trabalho nao est\xA0 dispon\xA1vel no modo de cor %d."},
    {2070, 11,
     u"A corre\u2021ao de Chroma do video nao est\u00A0 dispon\u00A1vel no modo de cor %d. ",
     "A corre\x87"
     "ao de Chroma do video nao est\xA0 dispon\xA1vel no modo de cor %d. "},
    {2070, 12, u"Brilho", "Brilho"},
    {2070, 13, u"Contraste", "Contraste"},
    {2070, 14, nullptr, nullptr},
    {2070, 15, nullptr, nullptr},
    // Russian
    {1049, 0, nullptr, nullptr},
    {1049, 1, u"Gamma ", "Gamma "},
    {1049, 2, u"Chroma ", "Chroma "},
    {1049, 3, u"AEE", "AEE"},
    {1049, 4, u"AUEE", "AUEE"},
    {1049, 5, u" ; ", " ; "},
    {1049, 6, u"anou ", "anou "},
    {1049, 7, u"Enidaaeaiea ", "Enidaaeaiea "},
    {1049, 8, u"Daai/ee noie ", "Daai/ee noie "},
    {1049, 9, u"Aeaai ", "Aeaai "},
    {1049, 10, u"Enidaaeaiea Gamma aey daai/ai noiea IONOONOAOAO a \n%d oaaoiii daaeia.",
     "Enidaaeaiea Gamma aey daai/ai noiea IONOONOAOAO a \n%d oaaoiii daaeia."},
    {1049, 11, u"Enidaaeaiea Chroma aey aeaai IONOONOAOAO a %d \noaaoiii daaeia.",
     "Enidaaeaiea Chroma aey aeaai IONOONOAOAO a %d \noaaoiii daaeia."},
    {1049, 12, u"\u042F\u0440\u043A\u043E\u0441\u0442\u044C", "\xDF\xF0\xEA\xEE\xF1\xF2\xFC"},
    {1049, 13, u"\u041A\u043E\u043D\u0442\u0440\u0430\u0441\u0442",
     "\xCA\xEE\xED\xF2\xF0\xE0\xF1\xF2"},
    {1049, 14, nullptr, nullptr},
    {1049, 15, nullptr, nullptr},
    // Thai
    {1054, 0, nullptr, nullptr},
    {1054, 1, u"Gamma ", "Gamma "},
    {1054, 2, u"Chroma ", "Chroma "},
    {1054, 3, u"\u0E40\u0E1B\u0E34\u0E14", "\xE0\xBB\xD4\xB4"},
    {1054, 4, u"\u0E1B\u0E34\u0E14", "\xBB\xD4\xB4"},
    {1054, 5, u" ; ", " ; "},
    {1054, 6, u"\u0E40\u0E1B\u0E47\u0E19 ", "\xE0\xBB\xE7\xB9 "},
    {1054, 7, u"\u0E01\u0E32\u0E23\u0E41\u0E01\u0E49\u0E44\u0E02 ",
     "\xA1\xD2\xC3\xE1\xA1\xE9\xE4\xA2 "},
    {1054, 8, u"\u0E40\u0E14\u0E2A\u0E04\u0E4C\u0E17\u0E47\u0E2D\u0E1B ",
     "\xE0\xB4\xCA\xA4\xEC\xB7\xE7\xCD\xBB "},
    {1054, 9, u"\u0E27\u0E34\u0E14\u0E35\u0E42\u0E2D ", "\xC7\xD4\xB4\xD5\xE2\xCD "},
    {1054, 10,
     u"\u0E01\u0E32\u0E23\u0E41\u0E01\u0E49\u0E44\u0E02 Gamma "
     u"\u0E02\u0E2D\u0E07\u0E40\u0E14\u0E2A\u0E04\u0E4C\u0E17\u0E47\u0E2D\u0E1B\u0E44\u0E21\u0E48"
     u"\u0E21\u0E35\u0E43\u0E19 %d \u0E42\u0E2B\u0E21\u0E14\u0E2A\u0E35.",
     "\xA1\xD2\xC3\xE1\xA1\xE9\xE4\xA2 Gamma "
     "\xA2\xCD\xA7\xE0\xB4\xCA\xA4\xEC\xB7\xE7\xCD\xBB\xE4\xC1\xE8\xC1\xD5\xE3\xB9 %d "
     "\xE2\xCB\xC1\xB4\xCA\xD5."},
    {1054, 11,
     u"\u0E01\u0E32\u0E23\u0E41\u0E01\u0E49\u0E44\u0E02 Chroma "
     u"\u0E02\u0E2D\u0E07\u0E27\u0E34\u0E14\u0E35\u0E42\u0E2D\u0E44\u0E21\u0E48\u0E21\u0E35\u0E43"
     u"\u0E19 %d \u0E42\u0E2B\u0E21\u0E14\u0E2A\u0E35.",
     "\xA1\xD2\xC3\xE1\xA1\xE9\xE4\xA2 Chroma "
     "\xA2\xCD\xA7\xC7\xD4\xB4\xD5\xE2\xCD\xE4\xC1\xE8\xC1\xD5\xE3\xB9 %d "
     "\xE2\xCB\xC1\xB4\xCA\xD5."},
    {1054, 12, u"\u0E04\u0E27\u0E32\u0E21\u0E2A\u0E27\u0E48\u0E32\u0E07",
     "\xA4\xC7\xD2\xC1\xCA\xC7\xE8\xD2\xA7"},
    {1054, 13, u"\u0E04\u0E27\u0E32\u0E21\u0E04\u0E2D\u0E19\u0E17\u0E23\u0E32\u0E2A\u0E15\u0E4C",
     "\xA4\xC7\xD2\xC1\xA4\xCD\xB9\xB7\xC3\xD2\xCA\xB5\xEC"},
    {1054, 14, nullptr, nullptr},
    {1054, 15, nullptr, nullptr},
    // Chinese (Taiwan)
    {1028, 0, nullptr, nullptr},
    {1028, 1, u"Gamma ", "Gamma "},
    {1028, 2, u"Chroma ", "Chroma "},
    {1028, 3, u"\u958B", "\xB6}"},
    {1028, 4, u"\u95DC", "\xC3\xF6"},
    {1028, 5, u" ; ", " ; "},
    {1028, 6, u"\u662F", "\xACO"},
    {1028, 7, u"\u6821\u6B63 ", "\xAE\xD5\xA5\xBF "},
    {1028, 8, u"Desktop ", "Desktop "},
    {1028, 9, u"Video ", "Video "},
    {1028, 10,
     u"\u5728\u6B64 %d Color \u6A21\u5F0F\u4E0B, Desktop Gamma Correction \u672A\u63D0\u4F9B.",
     "\xA6"
     "b\xA6\xB9 %d Color \xBC\xD2\xA6\xA1\xA4U, Desktop Gamma Correction "
     "\xA5\xBC\xB4\xA3\xA8\xD1."},
    {1028, 11,
     u"\u5728\u6B64 %d Color \u6A21\u5F0F\u4E0B, Video Chroma Correction \u672A\u63D0\u4F9B.",
     "\xA6"
     "b\xA6\xB9 %d Color \xBC\xD2\xA6\xA1\xA4U, Video Chroma Correction \xA5\xBC\xB4\xA3\xA8\xD1."},
    {1028, 12, u"\u4EAE\u5EA6", "\xABG\xAB\xD7"},
    {1028, 13, u"\u5C0D\u6BD4", "\xB9\xEF\xA4\xF1"},
    {1028, 14, nullptr, nullptr},
    {1028, 15, nullptr, nullptr},
};

const WORD kTableLanguages[] = {1033, 1031, 1043, 2058, 2070, 1049, 1054, 1028};

std::string Hex(const std::string& bytes) {
    std::string out;
    char piece[4];
    for (unsigned char c : bytes) {
        std::snprintf(piece, sizeof piece, "%02X ", c);
        out += piece;
    }
    return out;
}

TEST(StringTable, StoresEveryTextAsExactUtf16) {
    for (const StringCase& c : kStrings) {
        SCOPED_TRACE(testing::Message() << "language " << c.lang << ", id " << c.id);
        auto stored = sim::FindStringInLanguage(sim::ModuleInstance(), c.id, c.lang);
        if (c.stored == nullptr) {
            EXPECT_FALSE(stored.has_value());
        } else {
            ASSERT_TRUE(stored.has_value());
            EXPECT_TRUE(*stored == std::u16string(c.stored));
        }
    }
}

TEST(StringTable, LoadStringGivesTheBytesOfTheLanguagesCodePage) {
    for (const StringCase& c : kStrings) {
        SCOPED_TRACE(testing::Message() << "language " << c.lang << ", id " << c.id);
        sim::SetUserDefaultLangID(c.lang);
        char buffer[256];
        std::memset(buffer, 'x', sizeof buffer);
        int n = LoadString(sim::ModuleInstance(), c.id, buffer, sizeof buffer);
        const std::string expected = c.ansi == nullptr ? "" : c.ansi;
        EXPECT_EQ(Hex(buffer), Hex(expected));
        EXPECT_EQ(n, static_cast<int>(expected.size()));
    }
}

TEST(StringTable, EachLanguageHasOneBlockAndEveryTextFitsItsCallersBuffer) {
    std::vector<WORD> languages = sim::ResourceLanguages(sim::ModuleInstance(), 6, 1);
    std::vector<WORD> expected(std::begin(kTableLanguages), std::end(kTableLanguages));
    std::sort(languages.begin(), languages.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(languages, expected);
    // No other string block: ids above 15 do not exist in any language.
    for (WORD block = 2; block < 20; ++block) {
        EXPECT_TRUE(sim::ResourceLanguages(sim::ModuleInstance(), 6, block).empty()) << block;
    }
    // The smallest buffers the program passes, by id.
    const struct {
        UINT id;
        size_t limit;
    } limits[] = {{1, 63}, {2, 63}, {3, 10},   {4, 10},   {5, 128}, {6, 128}, {7, 63},
                  {8, 63}, {9, 63}, {10, 100}, {11, 100}, {12, 20}, {13, 20}, {14, 63}};
    for (const StringCase& c : kStrings) {
        for (const auto& l : limits) {
            if (c.ansi != nullptr && c.id == l.id) {
                EXPECT_LT(std::strlen(c.ansi), l.limit) << c.lang << " id " << c.id;
            }
        }
    }
}

// LoadString's limit: at most bufferMax - 1 bytes and a terminator, whole
// characters only.
TEST(StringTable, LoadStringTruncatesToTheBufferWithoutSplittingACharacter) {
    const struct {
        WORD lang;
        UINT id;
        int bufferMax;
        const char* expected;
    } cases[] = {
        {2058, IDS_ON, 10, "Encendido"},  // fills the dialog's on/off buffer exactly
        {2058, IDS_ON, 9, "Encendid"},    // one byte short
        {2070, IDS_OFF, 10, "DESLIGADO"}, // the longest off word
        {1054, IDS_CONTRAST, 14, "\xA4\xC7\xD2\xC1\xA4\xCD\xB9\xB7\xC3\xD2\xCA\xB5\xEC"},
        {1054, IDS_CONTRAST, 20, "\xA4\xC7\xD2\xC1\xA4\xCD\xB9\xB7\xC3\xD2\xCA\xB5\xEC"},
        {1054, IDS_CONTRAST, 5, "\xA4\xC7\xD2\xC1"},
        {1033, IDS_GAMMA, 1, ""},
        {1033, IDS_GAMMA, 2, "G"},
        // Code page 950: "校正 " is two double-byte characters and a blank.
        {1028, IDS_CORRECTION, 6, "\xAE\xD5\xA5\xBF "},
        {1028, IDS_CORRECTION, 5, "\xAE\xD5\xA5\xBF"},
        {1028, IDS_CORRECTION, 4, "\xAE\xD5"}, // no lone lead byte
        {1028, IDS_CORRECTION, 3, "\xAE\xD5"},
        {1028, IDS_CORRECTION, 2, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lang << " id " << c.id << " max " << c.bufferMax);
        sim::SetUserDefaultLangID(c.lang);
        char buffer[32];
        std::memset(buffer, 'x', sizeof buffer);
        int n = LoadString(sim::ModuleInstance(), c.id, buffer, c.bufferMax);
        EXPECT_EQ(Hex(buffer), Hex(c.expected));
        EXPECT_EQ(n, static_cast<int>(std::strlen(c.expected)));
        // Nothing is written past the buffer's end.
        EXPECT_EQ(buffer[c.bufferMax], 'x');
    }
}

TEST(StringTable, LoadStringWithoutRoomOrFromAnotherModuleGivesNothing) {
    char buffer[16];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(LoadString(sim::ModuleInstance(), IDS_GAMMA, buffer, 0), 0);
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_EQ(LoadString(sim::ModuleInstance(), IDS_GAMMA, nullptr, 16), 0);
    EXPECT_EQ(LoadString(sim::ModuleInstance(), IDS_GAMMA, buffer, -1), 0);
    EXPECT_EQ(buffer[0], 'x');

    HINSTANCE other = reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(0x10000000));
    EXPECT_EQ(LoadString(other, IDS_GAMMA, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
}

// The loader's choice of table: the user's language, the same primary
// language, English (United States), or the first table.
TEST(StringTable, UserLanguageChoosesTheTable) {
    const struct {
        WORD user;
        UINT id;
        const char* expected;
    } cases[] = {
        {1031, IDS_ABOUT,
         "Info \xFC"
         "ber"},
        {1031, IDS_CORRECTION, "Korrektur "},
        {2055, IDS_ON, "EIN"},       // German (Switzerland): same primary language
        {1034, IDS_ON, "Encendido"}, // Spanish (Spain): the Mexican table
        {3082, IDS_DESKTOP, "PC de Escritorio "},
        {1046, IDS_OFF, "DESLIGADO"}, // Portuguese (Brazil): the Portuguese table
        {1040, IDS_ON, "ON"},         // Italian: no table, English
        {1040, IDS_ABOUT, "About"},
        {1041, IDS_CORRECTION, " Correction "}, // Japanese: English
        {1043, IDS_ABOUT, ""},                  // Dutch: the table lacks id 14
        {2070, IDS_ABOUT, ""},
        {1028, IDS_ABOUT, ""},
        {1049, IDS_DESKTOP_NOT_AVAILABLE,
         "Enidaaeaiea Gamma aey daai/ai noiea IONOONOAOAO a \n%d oaaoiii daaeia."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "user " << c.user << " id " << c.id);
        sim::SetUserDefaultLangID(c.user);
        char buffer[128];
        int n = LoadString(sim::ModuleInstance(), c.id, buffer, sizeof buffer);
        EXPECT_EQ(Hex(buffer), Hex(c.expected));
        EXPECT_EQ(n, static_cast<int>(std::strlen(c.expected)));
    }
}

} // namespace
