// lumivex's dialog templates read back from the compiled resources: the
// header, and every control's id, class, exact style, place and text, in both
// languages; and which template a user of each language gets.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/win32.h"
#include "resources/resource.h"

namespace {

// Style bits, by value, so the test stands on its own.
constexpr DWORD kPopup = 0x80000000, kChild = 0x40000000, kVisible = 0x10000000;
constexpr DWORD kCaption = 0x00C00000, kBorder = 0x00800000, kSysMenu = 0x00080000;
constexpr DWORD kGroup = 0x00020000, kTabStop = 0x00010000;
constexpr DWORD kModalFrame = 0x80, kSetFont = 0x40;
constexpr DWORD kDefPushButton = 0x1, kAutoCheckBox = 0x3, kGroupBox = 0x7, kAutoRadio = 0x9,
                kOwnerDraw = 0xB, kBitmap = 0x80, kPushLike = 0x1000;
constexpr DWORD kScrollHorz = 0x0, kStaticLeft = 0x0, kStaticCenter = 0x1, kStaticRight = 0x2,
                kStaticIcon = 0x3, kEditCenter = 0x1, kEditMultiLine = 0x4;
constexpr DWORD kShown = kChild | kVisible;

struct Control {
    WORD id;
    const char* className;
    DWORD style;
    short x, y, cx, cy;
    const char* text;
};

// Template 104; template 103 differs in the widths of 1010 and 1004 alone.
std::vector<Control> CorrectionControls(short contrastWidth, short onOffWidth) {
    return {
        {1, "BUTTON", kShown | kTabStop | kOwnerDraw, 17, 78, 50, 14, "OK"},
        {2, "BUTTON", kShown | kTabStop | kOwnerDraw, 76, 78, 50, 14, "Cancel"},
        {1013, "BUTTON", kShown | kTabStop | kOwnerDraw, 135, 78, 50, 14, "Reset"},
        {1025, "SCROLLBAR", kShown | kScrollHorz, 24, 19, 129, 10, ""},
        {1027, "SCROLLBAR", kShown | kScrollHorz, 24, 45, 129, 10, ""},
        {1026, "SCROLLBAR", kShown | kScrollHorz, 24, 32, 129, 10, ""},
        {65535, "STATIC", kShown | kGroup | kStaticRight, 13, 20, 8, 8, "R"},
        {65535, "STATIC", kShown | kGroup | kStaticRight, 13, 33, 8, 8, "G"},
        {65535, "STATIC", kShown | kGroup | kStaticRight, 13, 46, 8, 8, "B"},
        {65535, "BUTTON", kShown | kGroupBox, 20, 55, 151, 19, ""},
        {1009, "BUTTON", kShown | kAutoRadio, 34, 61, 49, 10, ""},
        {1010, "BUTTON", kShown | kAutoRadio, 114, 61, contrastWidth, 10, ""},
        {1004, "BUTTON", kShown | kTabStop | kAutoCheckBox, 34, 3, onOffWidth, 10, ""},
        {1005, "BUTTON", kShown | kTabStop | kAutoCheckBox | kBitmap | kPushLike, 146, 0, 20, 16,
         "Lock"},
        {1029, "EDIT", kShown | kBorder | kTabStop | kEditMultiLine | kEditCenter, 156, 18, 17, 12,
         ""},
        {1030, "EDIT", kShown | kBorder | kTabStop | kEditMultiLine | kEditCenter, 156, 31, 17, 12,
         ""},
        {1031, "EDIT", kShown | kBorder | kTabStop | kEditMultiLine | kEditCenter, 156, 44, 17, 12,
         ""},
    };
}

std::vector<Control> AboutControls(const char* productLine) {
    return {
        {1, "BUTTON", kShown | kTabStop | kDefPushButton, 68, 48, 50, 14, "OK"},
        {65535, "STATIC", kShown | kStaticIcon, 3, 3, 18, 20, nullptr}, // icon 104
        {65535, "STATIC", kShown | kGroup | kStaticCenter, 39, 9, 112, 8, productLine},
        {65535, "STATIC", kShown | kGroup | kStaticLeft, 64, 22, 53, 8, "Version 1.0.1.8"},
        {65535, "STATIC", kShown | kGroup | kStaticLeft, 27, 33, 134, 8,
         "Copyright (C) 1998 Veridane"},
    };
}

struct DialogCase {
    WORD id;
    WORD lang;
    const char* title;
    short cx, cy;
    std::vector<Control> controls;
};

std::vector<DialogCase> AllDialogs() {
    return {
        {IDD_DESKTOP_GAMMA, 1033, "Desktop Gamma Correction", 187, 100, CorrectionControls(50, 56)},
        {IDD_DESKTOP_GAMMA, 1031, "Desktop Gamma Korrektur", 187, 100, CorrectionControls(50, 56)},
        {IDD_VIDEO_CHROMA, 1033, "Video Chroma Correction", 187, 100, CorrectionControls(54, 59)},
        {IDD_VIDEO_CHROMA, 1031, "Video Chroma Korrektur", 187, 100, CorrectionControls(54, 59)},
        {IDD_ABOUT, 1033, "About Gamma Correction Utility", 181, 71,
         AboutControls("Gamma Correction Utility")},
        {IDD_ABOUT, 1031,
         "Info \xFC"
         "ber Gamma Korrektur Utility",
         181, 71, AboutControls("Gamma Korrektur Utility")},
    };
}

TEST(DialogTemplates, MatchTheirTablesInBothLanguages) {
    for (const DialogCase& d : AllDialogs()) {
        SCOPED_TRACE(testing::Message() << "dialog " << d.id << ", language " << d.lang);
        auto t = sim::LoadDialogTemplateInLanguage(sim::ModuleInstance(), d.id, d.lang);
        ASSERT_TRUE(t.has_value());
        EXPECT_EQ(t->style, kModalFrame | kSetFont | kPopup | kCaption | kSysMenu);
        EXPECT_EQ(t->exStyle, 0u);
        EXPECT_EQ(t->menu, "");
        EXPECT_EQ(t->className, "");
        EXPECT_EQ(t->title, d.title);
        EXPECT_EQ(t->pointSize, 8);
        EXPECT_EQ(t->faceName, "MS Sans Serif");
        EXPECT_EQ(t->cx, d.cx);
        EXPECT_EQ(t->cy, d.cy);
        ASSERT_EQ(t->items.size(), d.controls.size());
        for (size_t i = 0; i < d.controls.size(); ++i) {
            const Control& want = d.controls[i];
            const sim::DialogItemTemplate& got = t->items[i];
            SCOPED_TRACE(testing::Message() << "control #" << i + 1 << " (" << want.id << ")");
            EXPECT_EQ(got.id, want.id);
            EXPECT_EQ(got.className, want.className);
            EXPECT_EQ(got.style, want.style) << std::hex << (got.style ^ want.style);
            EXPECT_EQ(got.exStyle, 0u);
            EXPECT_EQ(got.x, want.x);
            EXPECT_EQ(got.y, want.y);
            EXPECT_EQ(got.cx, want.cx);
            EXPECT_EQ(got.cy, want.cy);
            if (want.text == nullptr) {
                EXPECT_EQ(got.textOrdinal, std::optional<WORD>(IDI_LUMIVEX));
                EXPECT_EQ(got.text, "");
            } else {
                EXPECT_FALSE(got.textOrdinal.has_value());
                EXPECT_EQ(got.text, want.text);
            }
            EXPECT_TRUE(got.creationData.empty());
        }
    }
}

TEST(DialogTemplates, AreClassicTemplatesInEnglishAndGermanOnly) {
    for (WORD id : {IDD_VIDEO_CHROMA, IDD_DESKTOP_GAMMA, IDD_ABOUT}) {
        std::vector<WORD> languages = sim::ResourceLanguages(sim::ModuleInstance(), 5, id);
        std::sort(languages.begin(), languages.end());
        EXPECT_EQ(languages, (std::vector<WORD>{1031, 1033})) << id;
        for (WORD lang : languages) {
            auto raw = sim::FindResourceDataInLanguage(sim::ModuleInstance(), 5, id, lang);
            ASSERT_TRUE(raw.has_value());
            ASSERT_GE(raw->size, 4u);
            // An extended template opens with version 1 and signature 0xFFFF.
            EXPECT_FALSE(raw->data[0] == 1 && raw->data[1] == 0 && raw->data[2] == 0xFF &&
                         raw->data[3] == 0xFF);
        }
    }
}

// German users get the German templates; every other language falls back to
// English, around texts that LoadString gives in the user's language.
TEST(DialogTemplates, UserLanguageChoosesTheTemplate) {
    const struct {
        WORD user;
        const char* desktopTitle;
        const char* videoTitle;
    } cases[] = {
        {1031, "Desktop Gamma Korrektur", "Video Chroma Korrektur"},
        {3079, "Desktop Gamma Korrektur", "Video Chroma Korrektur"}, // German (Austria)
        {1033, "Desktop Gamma Correction", "Video Chroma Correction"},
        {2057, "Desktop Gamma Correction", "Video Chroma Correction"}, // English (UK)
        {1043, "Desktop Gamma Correction", "Video Chroma Correction"},
        {2058, "Desktop Gamma Correction", "Video Chroma Correction"},
        {2070, "Desktop Gamma Correction", "Video Chroma Correction"},
        {1049, "Desktop Gamma Correction", "Video Chroma Correction"},
        {1054, "Desktop Gamma Correction", "Video Chroma Correction"},
        {1028, "Desktop Gamma Correction", "Video Chroma Correction"},
        {1040, "Desktop Gamma Correction", "Video Chroma Correction"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "user " << c.user);
        sim::SetUserDefaultLangID(c.user);
        auto desktop = sim::LoadDialogTemplate(sim::ModuleInstance(), IDD_DESKTOP_GAMMA);
        auto video = sim::LoadDialogTemplate(sim::ModuleInstance(), IDD_VIDEO_CHROMA);
        ASSERT_TRUE(desktop.has_value());
        ASSERT_TRUE(video.has_value());
        EXPECT_EQ(desktop->title, c.desktopTitle);
        EXPECT_EQ(video->title, c.videoTitle);
    }
    // A German user's About box is the German one, with its umlaut in code
    // page 1252.
    sim::SetUserDefaultLangID(1031);
    auto about = sim::LoadDialogTemplate(sim::ModuleInstance(), IDD_ABOUT);
    ASSERT_TRUE(about.has_value());
    EXPECT_EQ(about->title, "Info \xFC"
                            "ber Gamma Korrektur Utility");
    EXPECT_FALSE(sim::LoadDialogTemplate(sim::ModuleInstance(), 106).has_value());
}

} // namespace
