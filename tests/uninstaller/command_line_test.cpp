// The command line the uninstaller's entry receives from the shell's.
#include <gtest/gtest.h>

#include <string>

#include "platform/sim/command_line.h"

namespace {

struct EntryCase {
    const char* full;
    const char* entry;
};

class EntryCommandLine : public ::testing::TestWithParam<EntryCase> {};

TEST_P(EntryCommandLine, IsTheTextAfterTheProgramNameWithBlanksSkipped) {
    EXPECT_EQ(sim::GuiEntryCommandLine(GetParam().full), GetParam().entry);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, EntryCommandLine,
    ::testing::Values(EntryCase{"uninstaller.exe", ""}, EntryCase{"uninstaller.exe    ", ""},
                      EntryCase{"uninstaller.exe \t\r\n", ""}, EntryCase{"uninstaller.exe x", "x"},
                      EntryCase{"uninstaller.exe   a  b ", "a  b "},
                      EntryCase{"\"C:\\Program Files\\uninstaller.exe\"", ""},
                      EntryCase{"\"C:\\Program Files\\uninstaller.exe\"   /s", "/s"},
                      EntryCase{"\"C:\\Program Files\\uninstaller.exe\"n", "n"},
                      EntryCase{"\"unclosed name x", ""}, EntryCase{"", ""}));

TEST(CommandLineFromArgs, JoinsArgumentsAndQuotesANameWithBlanks) {
    const char* plain[] = {"uninstaller", "a", "b c"};
    EXPECT_EQ(sim::CommandLineFromArgs(3, plain), "uninstaller a b c");
    const char* spaced[] = {"/opt/my tools/uninstaller", "  "};
    std::string full = sim::CommandLineFromArgs(2, spaced);
    EXPECT_EQ(full, "\"/opt/my tools/uninstaller\"   ");
    EXPECT_EQ(sim::GuiEntryCommandLine(full), "");
}

} // namespace
