// The language of the two boxes, chosen from the user's default language id.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32.h"
#include "tests/uninstaller/machine.h"

namespace {

struct Texts {
    LANGID boxLanguage;
    const char* confirm; // UTF-8 here; the boxes get Windows-1252 bytes
    const char* restart;
};

const Texts kEnglish = {1033, "Do you really want to uninstall your Ardenvale ?",
                        "Uninstall complete. Do you want to restart your computer now ?"};
const Texts kGerman = {1031, "Sind Sie sicher, dass Sie Ihre Ardenvale deinstallieren wollen ?",
                       "Deinstallation beendet. Soll der Computer jetzt neu gestartet werden ?"};
const Texts kSpanish = {1034, "¿Quiere realmente desinstalar su Ardenvale?",
                        "Diesinstalación completada. ¿Desea reiniciar el ordeandor ahora?"};
const Texts kFrench = {1036, "Voulez-vous réellement désinstaller votre Ardenvale ?",
                       "Désinstallation achevée. Voulez-vous redémarrer votre ordinateur ?"};
const Texts kDutch = {1043, "Wilt u echt u Ardenvale desinstalleren ?",
                      "Desinstallatie voltooid. Wilt u uw computer opnieuw opstarten ?"};

struct LanguageCase {
    LANGID user;
    const Texts* texts;
};

class Language : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(Language, BoxesUseTheTextsAndIdOfTheUsersLanguage) {
    const LanguageCase& c = GetParam();
    sim::SetUserDefaultLangID(c.user);
    sim::msgbox::QueueAnswer(IDYES);
    sim::msgbox::QueueAnswer(IDNO);

    EXPECT_EQ(machine::Run("uninstaller.exe"), 0);

    const auto& boxes = sim::msgbox::Shown();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, machine::Ansi(c.texts->confirm));
    EXPECT_EQ(boxes[1].text, machine::Ansi(c.texts->restart));
    for (const auto& box : boxes) {
        EXPECT_EQ(box.languageId, c.texts->boxLanguage);
        EXPECT_EQ(box.caption, "Ardenvale");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ids, Language,
    ::testing::Values(
        // English, and languages that have no texts of their own.
        LanguageCase{1033, &kEnglish}, LanguageCase{2057, &kEnglish}, LanguageCase{1040, &kEnglish},
        LanguageCase{1053, &kEnglish}, LanguageCase{2070, &kEnglish}, LanguageCase{1046, &kEnglish},
        LanguageCase{1049, &kEnglish}, LanguageCase{0, &kEnglish}, LanguageCase{0x0400, &kEnglish},
        LanguageCase{0xFFFF, &kEnglish},
        // German: Germany, Switzerland, Austria, Luxembourg, Liechtenstein.
        LanguageCase{1031, &kGerman}, LanguageCase{2055, &kGerman}, LanguageCase{3079, &kGerman},
        LanguageCase{4103, &kGerman}, LanguageCase{5127, &kGerman}, LanguageCase{6151, &kEnglish},
        // Spanish: sublanguages 1 to 20, not 21.
        LanguageCase{1034, &kSpanish}, LanguageCase{2058, &kSpanish}, LanguageCase{3082, &kSpanish},
        LanguageCase{11274, &kSpanish}, LanguageCase{20490, &kSpanish},
        LanguageCase{21514, &kEnglish}, LanguageCase{0x000A, &kEnglish},
        // French: five countries; Monaco is not among them.
        LanguageCase{1036, &kFrench}, LanguageCase{2060, &kFrench}, LanguageCase{3084, &kFrench},
        LanguageCase{4108, &kFrench}, LanguageCase{5132, &kFrench}, LanguageCase{6156, &kEnglish},
        // Dutch: the Netherlands and Belgium.
        LanguageCase{1043, &kDutch}, LanguageCase{2067, &kDutch}, LanguageCase{3091, &kEnglish}),
    [](const ::testing::TestParamInfo<LanguageCase>& info) {
        return "Id" + std::to_string(info.param.user);
    });

} // namespace
