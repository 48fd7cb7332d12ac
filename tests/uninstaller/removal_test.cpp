// Whole runs of the uninstaller on a machine that holds the board's
// installation beside things that must survive.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32.h"
#include "tests/uninstaller/machine.h"

namespace {

using machine::Snapshot;

const char* const kConfirm = "Do you really want to uninstall your Ardenvale ?";
const char* const kRestart = "Uninstall complete. Do you want to restart your computer now ?";
constexpr UINT kConfirmStyle = 4116; // Yes/No, stop icon, system modal
constexpr UINT kRestartStyle = 4164; // Yes/No, information icon, system modal

bool IsBoxLine(const std::string& line) {
    return line.rfind("MessageBoxEx ", 0) == 0;
}

class Uninstall : public ::testing::Test {
  protected:
    void SetUp() override {
        machine::Install();
        sim::ClearOperationLog();
        before = machine::Take();
        board = machine::BoardPart(before);
        // The oracle itself must hold the installation, or every comparison
        // below would pass on an empty machine.
        ASSERT_EQ(board.files.size(), 10u);
        ASSERT_GT(board.registry.size(), 40u);
    }

    // Nothing appeared, and exactly `removed` went away.
    void ExpectRemoved(const Snapshot& removed) {
        Snapshot after = machine::Take();
        Snapshot gone = machine::Minus(before, after);
        Snapshot appeared = machine::Minus(after, before);
        EXPECT_EQ(gone.registry, removed.registry);
        EXPECT_EQ(gone.files, removed.files);
        EXPECT_TRUE(appeared.registry.empty());
        EXPECT_TRUE(appeared.files.empty());
    }

    void ExpectBox(size_t index, const char* text, UINT style) {
        ASSERT_LT(index, sim::msgbox::Shown().size());
        const sim::msgbox::Box& box = sim::msgbox::Shown()[index];
        EXPECT_EQ(box.owner, nullptr);
        EXPECT_EQ(box.caption, "Ardenvale");
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.type, style);
        EXPECT_EQ(box.languageId, 1033);
    }

    Snapshot before;
    Snapshot board;
};

struct RunCase {
    const char* name;
    const char* commandLine; // as the shell passes it, program name first
    std::vector<int> answers;
    bool asks;
    bool removes;
    bool restarts;
};

class UninstallRun : public Uninstall, public ::testing::WithParamInterface<RunCase> {};

TEST_P(UninstallRun, RemovesExactlyTheBoardsInstallation) {
    const RunCase& c = GetParam();
    for (int answer : c.answers) {
        sim::msgbox::QueueAnswer(answer);
    }

    EXPECT_EQ(machine::Run(c.commandLine), 0);

    ExpectRemoved(c.removes ? board : Snapshot{});
    size_t boxes = !c.asks ? 0 : (c.removes ? 2 : 1);
    EXPECT_EQ(sim::msgbox::Shown().size(), boxes);
    if (boxes >= 1) {
        ExpectBox(0, kConfirm, kConfirmStyle);
    }
    if (boxes == 2) {
        ExpectBox(1, kRestart, kRestartStyle);
    }
    EXPECT_EQ(sim::ShutdownRequests(),
              c.restarts ? std::vector<UINT>{EWX_REBOOT} : std::vector<UINT>{});
    EXPECT_EQ(sim::msgbox::PendingAnswers(), 0u);
    EXPECT_EQ(sim::registry::OpenHandleCount(), 0u);
    if (!c.removes) {
        // Declining touches nothing at all, not even a failed attempt.
        for (const std::string& line : sim::OperationLog()) {
            EXPECT_TRUE(IsBoxLine(line)) << line;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Runs, UninstallRun,
    ::testing::Values(
        RunCase{"YesThenNo", "uninstaller.exe", {IDYES, IDNO}, true, true, false},
        RunCase{"YesThenYes", "uninstaller.exe", {IDYES, IDYES}, true, true, true},
        RunCase{"No", "uninstaller.exe", {IDNO}, true, false, false},
        // Only No stops the run; only Yes restarts.
        RunCase{"ConfirmationBoxFails", "uninstaller.exe", {0, IDYES}, true, true, true},
        RunCase{"RestartBoxFails", "uninstaller.exe", {IDYES, 0}, true, true, false},
        RunCase{"OnlyBlanks", "uninstaller.exe      ", {IDYES, IDNO}, true, true, false},
        RunCase{"QuotedNameThenBlanksAndControls",
                "\"C:\\Program Files\\Ardenvale\\uninstaller.exe\" \t\r\n ",
                {IDYES, IDYES},
                true,
                true,
                true},
        RunCase{"OneLetter", "uninstaller.exe x", {}, false, true, false},
        RunCase{"AnyWords", "uninstaller.exe   /ask please", {}, false, true, false},
        RunCase{"QuotedNameThenLetter",
                "\"C:\\Program Files\\uninstaller.exe\"n",
                {},
                false,
                true,
                false}),
    [](const ::testing::TestParamInfo<RunCase>& info) { return std::string(info.param.name); });

TEST_F(Uninstall, SecondRunFindsNothingAndStillAsksAndOffersTheRestart) {
    sim::msgbox::QueueAnswer(IDYES);
    sim::msgbox::QueueAnswer(IDNO);
    ASSERT_EQ(machine::Run("uninstaller.exe"), 0);
    Snapshot cleaned = machine::Take();
    sim::ClearOperationLog();

    sim::msgbox::QueueAnswer(IDYES);
    sim::msgbox::QueueAnswer(IDYES);
    EXPECT_EQ(machine::Run("uninstaller.exe"), 0);

    Snapshot again = machine::Take();
    EXPECT_EQ(again.registry, cleaned.registry);
    EXPECT_EQ(again.files, cleaned.files);
    ASSERT_EQ(sim::msgbox::Shown().size(), 4u);
    ExpectBox(2, kConfirm, kConfirmStyle);
    ExpectBox(3, kRestart, kRestartStyle);
    EXPECT_EQ(sim::ShutdownRequests(), std::vector<UINT>{EWX_REBOOT});
    // Every attempt found nothing, and every one was still made.
    size_t attempts = 0;
    for (const std::string& line : sim::OperationLog()) {
        if (!IsBoxLine(line) && line.rfind("ExitWindowsEx", 0) != 0) {
            ++attempts;
            EXPECT_TRUE(line.size() > 5 && line.substr(line.size() - 5) == " -> 2") << line;
        }
    }
    EXPECT_EQ(attempts, 5u + 1 + 1 + 1 + 7 + 3);
}

TEST_F(Uninstall, DeletesKeysValuesAndFilesInOrderAndGoesOnPastFailures) {
    // A device key that is already gone and a driver file in use stop nothing.
    sim::registry::DeleteKey(
        "HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_5C3E&DEV_0003&SUBSYS_00024D72&REV_03");
    sim::files::SetInUse("C:\\WINDOWS\\SYSTEM\\zorbqk.vxd", true);
    sim::msgbox::QueueAnswer(IDYES);
    sim::msgbox::QueueAnswer(IDYES);

    EXPECT_EQ(machine::Run("uninstaller.exe"), 0);

    const std::string pci = "RegDeleteKey HKLM\\Enum\\PCI\\VEN_5C3E&DEV_0003";
    const std::string display =
        "RegDeleteKey HKLM\\System\\CurrentControlSet\\Services\\Class\\Display\\";
    const std::string box = "MessageBoxEx \"Ardenvale\" style ";
    const std::vector<std::string> expected = {
        box + "4116 lang 1033 -> 6",
        pci + " -> 0",
        pci + "&SUBSYS_00014D72&REV_03 -> 0",
        pci + "&SUBSYS_00024D72&REV_03 -> 2",
        pci + "&SUBSYS_00035C3E&REV_03 -> 0",
        pci + "&SUBSYS_00045C3E&REV_03 -> 0",
        "RegDeleteKey HKLM\\Software\\Zorbital\\Kelvane -> 0",
        display + "0003\\DEFAULT -> 0",
        display + "0003\\MODES -> 0",
        display + "0003\\shellex -> 0",
        display + "0003 -> 0",
        display + "0009\\DEFAULT -> 0",
        display + "0009\\MODES -> 0",
        display + "0009\\shellex -> 0",
        display + "0009 -> 0",
        "RegDeleteKey HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zorbital "
        "Kelvane -> 0",
        // The log names a value's key in the letter case it was created with.
        "RegDeleteValue HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run [OrevalKelvane] "
        "-> 0",
        "DeleteFile C:\\WINDOWS\\SYSTEM\\zorb16qk.drv -> 0",
        "DeleteFile C:\\WINDOWS\\SYSTEM\\zorbqk.vxd -> 32",
        "DeleteFile C:\\WINDOWS\\SYSTEM\\zorb32qk.dll -> 0",
        "DeleteFile C:\\WINDOWS\\SYSTEM\\plume3x.dll -> 0",
        "DeleteFile C:\\WINDOWS\\SYSTEM\\zorbqkps.dll -> 0",
        "DeleteFile C:\\WINDOWS\\SYSTEM\\zorbqkps.hlp -> 0",
        "DeleteFile C:\\WINDOWS\\SYSTEM\\zorbspl3.dll -> 0",
        "DeleteFile C:\\WINDOWS\\inf\\quenor.inf -> 0",
        "DeleteFile C:\\WINDOWS\\inf\\other\\quenor.inf -> 0",
        "DeleteFile C:\\WINDOWS\\inf\\other\\BrisantaQuenor.inf -> 0",
        box + "4164 lang 1033 -> 6",
        "ExitWindowsEx 2",
    };
    EXPECT_EQ(sim::OperationLog(), expected);
    EXPECT_TRUE(sim::files::Exists("C:\\WINDOWS\\SYSTEM\\zorbqk.vxd"));
}

TEST_F(Uninstall, RunKeyThatCannotBeOpenedForWritingKeepsItsValue) {
    // A user without the right to set values; key deletion is still allowed.
    sim::registry::DenyRights(KEY_SET_VALUE);

    EXPECT_EQ(machine::Run("uninstaller.exe s"), 0);

    Snapshot runValue =
        machine::Part(before, {},
                      {{"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
                        "OrevalKelvane"}},
                      {});
    ASSERT_EQ(runValue.registry.size(), 1u);
    ExpectRemoved(machine::Minus(board, runValue));
    EXPECT_EQ(sim::registry::OpenHandleCount(), 0u);
}

} // namespace
