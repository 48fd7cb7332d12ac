// Texts longer than the buffers they go through: a string table with long
// entries, and debugger lines longer than a line. Each is cut where its
// buffer ends, never written past it.
#include "tests/tray/extra_strings.h"
#include "tests/tray/session.h"
#include "tray/debug_log.h"

namespace {

using namespace session;

TEST(LongTexts, TooltipMenuAndColourMessageAreCutAtTheirBuffers) {
    const std::string gamma(200, 'G');
    const std::string is = "is " + std::string(50, 'x');
    const std::string desktop(80, 'D');
    AddStringTable({
        {1, gamma},
        {2, "Chroma"},
        {3, "ON"},
        {4, "OFF"},
        {5, " ; "},
        {6, is},
        {7, std::string(70, 'c')},
        {8, desktop},
        {9, "Video "},
        {10, "%d " + std::string(150, 'm')},
        {14, std::string(64, 'A')},
    });
    Machine machine;
    machine.language = kExtraLanguage;
    std::string tip;
    sim::script::Do([&tip] { tip = Tip(); });
    sim::script::ClickTrayIcon(WM_LBUTTONDOWN);
    sim::script::DismissMenu();
    sim::script::ChangeDisplayMode(8);
    OpenDesktop();
    sim::script::AnswerMessageBox(IDOK);
    Quit();
    EXPECT_EQ(Start(machine), 0);

    // Strings through a scratch of 127 characters, the tip cut at 63.
    EXPECT_EQ(tip, (gamma.substr(0, 127) + " " + is).substr(0, 63));
    // Each of an item's strings is held up to 62 characters.
    ASSERT_EQ(sim::ui::TrackedMenus().size(), 2u);
    const auto& items = sim::ui::TrackedMenus()[0].items;
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].text, std::string(62, 'D') + std::string(62, 'G') + std::string(62, 'c'));
    EXPECT_EQ(items[1].text, "Video Chroma" + std::string(62, 'c'));
    EXPECT_EQ(items[3].text, std::string(62, 'A'));
    // The format is loaded up to 99 characters, the message held up to 99.
    ASSERT_EQ(sim::msgbox::Shown().size(), 1u);
    EXPECT_EQ(sim::msgbox::Shown()[0].text, "256 " + std::string(95, 'm'));
}

TEST(DebugLog, OneLineWithThePrefixAndCrLfCutAtTheLinesEnd) {
    const std::string a1000(1000, 'a');
    const std::string b1000(1000, 'b');
    struct Case {
        const char* name;
        std::function<void()> log;
        std::string line;
    };
    const Case cases[] = {
        {"number", [] { DebugLog("%d", 5); }, "QV26: 5\r\n"},
        {"driver error", [] { DebugLog("Error number = %x ", 0x57u); },
         "QV26: Error number = 57 \r\n"},
        {"empty", [] { DebugLog(""); }, "QV26: \r\n"},
        // 256 characters hold the prefix, 247 of the text, CR LF and the terminator.
        {"one character too long", [] { DebugLog("%s", std::string(248, 'z').c_str()); },
         "QV26: " + std::string(247, 'z') + "\r\n"},
        {"beyond the formatter's 1024", [&] { DebugLog("%s%s", a1000.c_str(), b1000.c_str()); },
         "QV26: " + std::string(247, 'a') + "\r\n"},
        {"just fits", [] { DebugLog("%s", std::string(247, 'y').c_str()); },
         "QV26: " + std::string(247, 'y') + "\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::ClearDebugOutput();
        c.log();
        EXPECT_EQ(sim::DebugOutput(), c.line);
    }
}

} // namespace
