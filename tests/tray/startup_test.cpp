// Start-up of lumivex on the simulated machine: the gate that keeps it from
// running, the hidden tray window and its icon, the colour depth it starts
// with and the display-mode changes it follows, and the end of the program.
#include "adapter/detection.h"
#include "tests/tray/session.h"

namespace {

using namespace session;

void Scramble(adapter_model::Board& board) {
    for (auto& e : board.Palette256()) {
        e = {0x5A, 0xA5, 0x3C};
    }
    for (auto& e : board.Palette32()) {
        e = {0x5A, 0xA5, 0x3C};
    }
    board.SetPaletteControl(0x0F);
}

std::string BoardState() {
    return Board256() + Board32() + std::to_string(sim::TheBoard().PaletteControl());
}

const Target kDesktopOn{"1", "0", "0", "20 -5 0", "-10 0 33"};
const Target kVideoOn{"1", "0", "0", "-40 0 7", "0 50 -3"};

TEST(StartupGate, EachFailingStepEndsSilentlyBeforeAnyWindowOrHardwareAccess) {
    struct Case {
        const char* name;
        std::function<void()> prepare;
        std::vector<std::string> escapes; // the driver's sub-functions asked, in order
    };
    const std::vector<std::string> detection = {"IC", "MS", "BV", "ID", "VG"};
    const Case cases[] = {
        {"no probe answer and no signature",
         [] {
             sim::TheBoard().Driver().ImplementNothing();
             sim::TheBoard().SetSequencer(0x11, 'X');
         },
         {"IC"}},
        {"chip id 0x5D16",
         [] {
             sim::TheBoard().Driver().SetReply("ID", {1, {0x34, 0x12, 0x16, 0x5D}});
         },
         detection},
        {"no chip id from the driver",
         [] {
             sim::TheBoard().Driver().SetReply("ID", {0, {}, 0});
         },
         detection},
        // Last: the window stays.
        {"a window of the class from another program",
         [] { sim::others::CreateForeignWindow(TRAY_CLASS_NAME, "not ours"); },
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A fresh board for each case: the default one is supported.
        sim::TheBoard() = adapter_model::Board();
        Scramble(sim::TheBoard());
        Machine machine;
        machine.desktop = kDesktopOn;
        machine.Prepare();
        c.prepare();
        std::string before = BoardState();
        std::string registry = sim::registry::ExportRegedit4();
        size_t windows = sim::ui::TopLevelWindows().size();

        // No action is queued: a program that went on to its loop would fail
        // the test loudly there.
        EXPECT_EQ(RunLumivex(), 0);

        EXPECT_EQ(sim::ui::TopLevelWindows().size(), windows);
        EXPECT_TRUE(sim::shell::TrayCalls().empty());
        EXPECT_TRUE(sim::msgbox::Shown().empty());
        EXPECT_EQ(BoardState(), before);
        EXPECT_EQ(sim::registry::ExportRegedit4(), registry);
        std::vector<std::string> asked;
        for (const auto& call : sim::TheBoard().Driver().Calls()) {
            asked.push_back(call.code);
        }
        EXPECT_EQ(asked, c.escapes);
    }
}

TEST(StartupGate, ChipIdsFrom0x5D17OnStart) {
    for (BYTE high : {0x5D, 0x5E, 0xFF}) {
        for (BYTE low : {0x17, 0x18}) {
            WORD chip = (WORD)(high << 8 | low);
            SCOPED_TRACE(chip);
            sim::TheBoard().Driver().SetReply("ID", {1, {0x34, 0x12, low, high}});
            size_t calls = sim::shell::TrayCalls().size();
            Quit();
            EXPECT_EQ(RunLumivex(), 0);
            ASSERT_EQ(sim::shell::TrayCalls().size(), calls + 2);
            EXPECT_EQ(sim::shell::TrayCalls()[calls].message, (DWORD)NIM_ADD);
            EXPECT_EQ(adapterInfo.chipId, chip);
        }
    }
}

TEST(Startup, SecondCopyEndsAtOnceAndLeavesTheFirstAlone) {
    Machine machine;
    machine.desktop = kDesktopOn;
    HWND first = nullptr;
    sim::script::Do([&] {
        first = TrayWindow();
        size_t calls = sim::shell::TrayCalls().size();
        std::string palettes = BoardState();
        EXPECT_EQ(RunLumivex(), 0); // the second copy
        EXPECT_EQ(TrayWindow(), first);
        EXPECT_EQ(sim::shell::TrayCalls().size(), calls);
        EXPECT_EQ(BoardState(), palettes);
        EXPECT_EQ(Tip(), "Gamma is ON ; Video  Gamma is OFF");
    });
    // The first copy still answers its icon.
    sim::script::ClickTrayIcon(WM_LBUTTONDOWN);
    sim::script::DismissMenu();
    Quit();
    EXPECT_EQ(Start(machine), 0);
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(sim::ui::TrackedMenus().size(), 1u);
}

TEST(Startup, MessagesAreRegisteredBeforeTheEntryPointInTheirOrder) {
    // Nothing has run the entry point in this test.
    const UINT ids[] = {msgPanelGammaChanged, msgPanelChromaChanged, msgGammaChanged,
                        msgChromaChanged};
    const char* names[] = {"QV26 Gamma Changed", "QV26 Chroma Changed", "Lumivex Gamma Changed",
                           "Lumivex Chroma Changed"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_GE(ids[i], 0xC000u) << names[i];
        EXPECT_EQ(ids[i], RegisterWindowMessage(names[i])) << names[i];
        if (i > 0) {
            EXPECT_GT(ids[i], ids[i - 1]) << names[i];
        }
    }
}

TEST(Startup, HiddenWindowAndIconWithTheLoadedSettingsThenNothingChangesAtTheEnd) {
    Machine machine; // 16 bits per pixel
    machine.desktop = kDesktopOn;
    machine.video = kVideoOn;
    std::string running;
    std::string registry;
    sim::script::Do("check the running program", [&] {
        HWND tray = TrayWindow();
        ASSERT_NE(tray, nullptr);
        EXPECT_EQ(sim::ui::WindowText(tray), "");
        EXPECT_FALSE(IsWindowVisible(tray));
        EXPECT_EQ(hInstance, sim::ModuleInstance());
        EXPECT_EQ(colorDepth, 16);
        EXPECT_EQ(dialogOpen, 0);

        ASSERT_EQ(sim::shell::TrayIcons().size(), 1u);
        const sim::shell::TrayIcon& icon = sim::shell::TrayIcons()[0];
        EXPECT_EQ(icon.window, tray);
        EXPECT_EQ(icon.id, 101u);
        EXPECT_EQ(icon.callbackMessage, 1125u);
        EXPECT_EQ(icon.icon, trayIcon);
        EXPECT_EQ(sim::ui::IconResourceId(icon.icon), 104);
        // The corrections were loaded before the icon was added.
        EXPECT_EQ(icon.tip, "Gamma is ON ; Video  Gamma is ON");
        EXPECT_EQ(Board32(), ExpectedPalette({20, -5, 0}, {-10, 0, 33}, 32));
        EXPECT_EQ(Board256(), ExpectedPalette({-40, 0, 7}, {0, 50, -3}, 256));
        EXPECT_EQ(sim::TheBoard().PaletteControl(), 0x10 | 2 | (1 << 2));

        running = BoardState();
        registry = sim::registry::ExportRegedit4();
    });
    Quit();

    EXPECT_EQ(Start(machine), 0);

    EXPECT_TRUE(sim::shell::TrayIcons().empty());
    ASSERT_FALSE(sim::shell::TrayCalls().empty());
    EXPECT_EQ(sim::shell::TrayCalls().back().message, (DWORD)NIM_DELETE);
    EXPECT_TRUE(sim::shell::TrayCalls().back().result);
    EXPECT_EQ(sim::ui::LiveIconCount(), 0u);
    EXPECT_EQ(TrayWindow(), nullptr);
    // The palettes keep their corrections and nothing is saved at the end.
    EXPECT_EQ(BoardState(), running);
    EXPECT_EQ(sim::registry::ExportRegedit4(), registry);
    EXPECT_EQ(sim::registry::OpenHandleCount(), 0u);
    EXPECT_EQ(sim::display::OpenDCCount(), 0u);
}

TEST(Startup, PaletteModeAtStartAndDisplayChangesWithoutADialog) {
    Machine machine;
    machine.depth = 8;
    machine.desktop = kDesktopOn;
    machine.video = kVideoOn;
    Scramble(sim::TheBoard());
    const std::string scrambled = BoardState();

    sim::script::Do("at 8 bits per pixel", [&] {
        // Nothing was loaded or applied, whatever the store holds.
        EXPECT_EQ(Tip(), "Gamma is OFF ; Video  Gamma is OFF");
        EXPECT_EQ(BoardState(), scrambled);
        EXPECT_EQ(correctionSettings.targets[Desktop].on, 0);
    });
    sim::script::ChangeDisplayMode(16);
    sim::script::Do("up to 16", [&] {
        EXPECT_EQ(colorDepth, 16);
        EXPECT_EQ(Board32(), ExpectedPalette({20, -5, 0}, {-10, 0, 33}, 32));
        EXPECT_EQ(Board256(), ExpectedPalette({-40, 0, 7}, {0, 50, -3}, 256));
        EXPECT_EQ(sim::TheBoard().DesktopSource(), 2);
        EXPECT_EQ(sim::TheBoard().VideoSource(), 1);
        // The tooltip is not composed again until the dialog asks for it.
        EXPECT_EQ(Tip(), "Gamma is OFF ; Video  Gamma is OFF");
        EXPECT_EQ(sim::shell::TrayCalls().size(), 1u);
    });
    std::string at16;
    sim::script::Do([&] { at16 = BoardState(); });
    sim::script::ChangeDisplayMode(32);
    sim::script::Do("from one deep mode to another", [&] {
        EXPECT_EQ(colorDepth, 32);
        EXPECT_EQ(Board256(), ExpectedPalette({20, -5, 0}, {-10, 0, 33}, 256));
        EXPECT_EQ(Board32(), ExpectedPalette({-40, 0, 7}, {0, 50, -3}, 32));
        EXPECT_EQ(sim::TheBoard().DesktopSource(), 1);
        EXPECT_EQ(sim::TheBoard().VideoSource(), 2);
        at16 = BoardState();
    });
    sim::script::ChangeDisplayMode(8);
    sim::script::Do("down to 8 with no dialog open", [&] {
        EXPECT_EQ(colorDepth, 8);
        EXPECT_EQ(BoardState(), at16);
        EXPECT_TRUE(sim::ui::DialogRuns().empty());
    });
    Quit();
    EXPECT_EQ(Start(machine), 0);
}

TEST(TrayTip, ComposedFromTheUsersStringTableAndBothTargets) {
    struct Case {
        LANGID language;
        const char* desktopOn;
        const char* videoOn;
        std::string tip;
    };
    const Case cases[] = {
        {1033, "1", "1", "Gamma is ON ; Video  Gamma is ON"},
        {1033, "1", "0", "Gamma is ON ; Video  Gamma is OFF"},
        {1033, "0", "1", "Gamma is OFF ; Video  Gamma is ON"},
        {1033, "0", "0", "Gamma is OFF ; Video  Gamma is OFF"},
        // Any stored value but 0 counts as on.
        {1033, "5", "-1", "Gamma is ON ; Video  Gamma is ON"},
        {1031, "1", "0", "Gamma  ist EIN ; Video  Gamma ist AUS"},
        {1043, "0", "1", "Gamma  is UIT ; Video  Gamma is AAN"},
        // The longest of all tables: 51 characters.
        {2070, "0", "0", "Gamma  est\xA0 DESLIGADO ; Video  Gamma est\xA0 DESLIGADO"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.language << " " << c.desktopOn << c.videoOn);
        Machine machine;
        machine.language = c.language;
        machine.desktop = Target{c.desktopOn};
        machine.video = Target{c.videoOn};
        std::string tip;
        sim::script::Do([&tip] { tip = Tip(); });
        Quit();
        EXPECT_EQ(Start(machine), 0);
        EXPECT_EQ(tip, c.tip);
    }
}

} // namespace
