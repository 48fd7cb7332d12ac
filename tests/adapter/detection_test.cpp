// Adapter detection on the simulated machine: the probe, the driver's
// replies, the system directory and the two files' product versions.
#include "adapter/detection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/board.h"
#include "platform/sim/files.h"
#include "platform/sim/gdi.h"
#include "platform/sim/system.h"
#include "platform/sim/version.h"
#include "tests/adapter/port_trace.h"

using adapter_model::EscapeReply;
using Lines = std::vector<std::string>;

namespace {

adapter_model::DisplayDriver& Driver() {
    return sim::TheBoard().Driver();
}

std::vector<std::string> EscapeCodes() {
    std::vector<std::string> codes;
    for (const auto& call : Driver().Calls()) {
        codes.push_back(call.code);
    }
    return codes;
}

TEST(ProbeAdapter, DriverAnswerIsTheResultAndThePortsStayUntouched) {
    for (int answer : {1, -1, 7}) {
        Driver().SetReply("IC", {answer, {}, 0});
        sim::TheBoard().ClearTrace();
        EXPECT_EQ(ProbeAdapter(), answer);
        EXPECT_TRUE(sim::TheBoard().Trace().empty());
    }
    const auto& call = Driver().Calls().back();
    EXPECT_EQ(call.input, (std::vector<uint8_t>{'I', 'C', 0}));
    EXPECT_EQ(call.outputSize, 0);
    EXPECT_FALSE(call.outputGiven);
    EXPECT_EQ(sim::display::OpenDCCount(), 0u);
}

TEST(ProbeAdapter, UnansweredProbeLooksForTheSignature) {
    struct Case {
        uint8_t reg11;
        uint8_t reg12;
        int result;
        Lines trace;
    };
    const Case cases[] = {
        {'K',
         'T',
         1,
         {"in 3C4=05", "out 3C4 11", "in 3C5=4B", "out 3C4 12", "in 3C5=54", "out 3C4 05"}},
        {'K',
         'X',
         0,
         {"in 3C4=05", "out 3C4 11", "in 3C5=4B", "out 3C4 12", "in 3C5=58", "out 3C4 05"}},
        {'k', 'T', 0, {"in 3C4=05", "out 3C4 11", "in 3C5=6B", "out 3C4 05"}},
    };
    Driver().SetReply("IC", {0, {}, 0});
    for (const auto& c : cases) {
        sim::TheBoard().SetSequencer(0x11, c.reg11);
        sim::TheBoard().SetSequencer(0x12, c.reg12);
        sim::TheBoard().SetSequencerIndex(0x05);
        sim::TheBoard().ClearTrace();
        EXPECT_EQ(ProbeAdapter(), c.result);
        // Interrupts stay enabled: no cli/sti appears among the accesses.
        EXPECT_EQ(TraceLines(), c.trace);
        EXPECT_EQ(sim::TheBoard().SequencerIndex(), 0x05);
    }
    EXPECT_EQ(sim::display::OpenDCCount(), 0u);
}

TEST(DetectAdapter, DriverRepliesAreStoredAsReceived) {
    struct Case {
        const char* name;
        EscapeReply ms, bv, id;
        DWORD msReply;
        std::vector<BYTE> bvReply;
        WORD idWord, chipId;
    };
    const std::vector<BYTE> untouched = {0, 0, 0, 0};
    const Case cases[] = {
        {"supported chip",
         {4, {}, 0},
         {1, {9, 8, 7, 6}, 0},
         {1, {0x34, 0x12, 0x17, 0x5D}, 0},
         0x40000,
         {9, 8, 7, 6},
         0x1234,
         0x5D17},
        {"older chip",
         {0x104, {}, 0},
         {1, {1, 2, 3, 4}, 0},
         {1, {0x34, 0x12, 0x16, 0x5D}, 0},
         0x40000,
         {1, 2, 3, 4},
         0x1234,
         0x5D16},
        // A failed escape may still leave bytes behind: they are not taken.
        {"failing escapes",
         {-1, {}, 5},
         {-1, {9, 9, 9, 9}, 5},
         {-2, {0x17, 0x5D, 0x17, 0x5D}, 5},
         0xFF0000,
         untouched,
         0,
         0},
        {"unimplemented escapes",
         {0, {}, 0},
         {0, {9, 9, 9, 9}, 0},
         {0, {1, 1, 1, 1}, 0},
         0,
         untouched,
         0,
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        adapterInfo = AdapterInfo{};
        Driver().SetReply("MS", c.ms);
        Driver().SetReply("BV", c.bv);
        Driver().SetReply("ID", c.id);
        DetectAdapter();
        EXPECT_EQ(adapterInfo.msReply, c.msReply);
        EXPECT_EQ(std::vector<BYTE>(adapterInfo.bvReply, adapterInfo.bvReply + 4), c.bvReply);
        EXPECT_EQ(adapterInfo.idWord, c.idWord);
        EXPECT_EQ(adapterInfo.chipId, c.chipId);
        EXPECT_EQ(adapterInfo.driverQueried, 1);
    }
    EXPECT_EQ(sim::display::OpenDCCount(), 0u);
}

TEST(DetectAdapter, EscapesGoInOrderWithTheirBlockSizes) {
    DetectAdapter();
    ASSERT_EQ(EscapeCodes(), (std::vector<std::string>{"MS", "BV", "ID", "VG"}));
    const int sizes[] = {0, 4, 4, 12};
    for (size_t i = 0; i < 4; ++i) {
        const auto& call = Driver().Calls()[i];
        EXPECT_EQ(call.input.size(), 3u);
        EXPECT_EQ(call.input[2], 0);
        EXPECT_EQ(call.outputSize, sizes[i]);
        EXPECT_EQ(call.outputGiven, sizes[i] != 0);
    }
}

TEST(DetectAdapter, VgReplyOrItsFailureOnTheDebugOutput) {
    struct Case {
        EscapeReply vg;
        DWORD vgReply;
        const char* debug;
    };
    const Case cases[] = {
        {{1, {0xAB, 0xCD, 0xEF}, 0}, 0xAB, ""},
        {{0, {0x11}, 0}, 0, "QV26: ExtEscape not implemented.\r\n"},
        {{-1, {0x11}, 0x57}, 0, "QV26: Error in ExtEscape.\r\nQV26: Error number = 57 \r\n"},
    };
    for (const auto& c : cases) {
        adapterInfo = AdapterInfo{};
        sim::ClearDebugOutput();
        Driver().SetReply("VG", c.vg);
        DetectAdapter();
        EXPECT_EQ(adapterInfo.vgReply, c.vgReply);
        EXPECT_EQ(sim::DebugOutput(), c.debug);
    }
}

// Leaves recognisable junk where the next call's locals will lie, so that a
// reply block read without being written shows.
__attribute__((noinline)) void FillStackWithJunk() {
    volatile unsigned char junk[8192];
    for (size_t i = 0; i < sizeof junk; ++i) {
        junk[i] = 0xA5;
    }
}

TEST(DetectAdapter, BytesASucceedingDriverLeftUnwrittenAreZero) {
    struct Case {
        const char* name;
        EscapeReply bv, id, vg;
        std::vector<BYTE> bvReply;
        WORD idWord, chipId;
        DWORD vgReply;
    };
    const Case cases[] = {
        {"no bytes at all", {1, {}, 0}, {1, {}, 0}, {1, {}, 0}, {0, 0, 0, 0}, 0, 0, 0},
        // The chip identifier must not be made of what "BV" left behind: that
        // would pass the start-up gate on a board that never answered "ID".
        {"short ID after a full BV",
         {1, {0x34, 0x12, 0x17, 0x5D}, 0},
         {1, {0x78, 0x56}, 0},
         {1, {}, 0},
         {0x34, 0x12, 0x17, 0x5D},
         0x5678,
         0,
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        adapterInfo = AdapterInfo{};
        Driver().SetReply("BV", c.bv);
        Driver().SetReply("ID", c.id);
        Driver().SetReply("VG", c.vg);
        FillStackWithJunk();
        DetectAdapter();
        EXPECT_EQ(std::vector<BYTE>(adapterInfo.bvReply, adapterInfo.bvReply + 4), c.bvReply);
        EXPECT_EQ(adapterInfo.idWord, c.idWord);
        EXPECT_EQ(adapterInfo.chipId, c.chipId);
        EXPECT_EQ(adapterInfo.vgReply, c.vgReply);
    }
}

TEST(DetectAdapter, DriverWithoutTheEscape) {
    Driver().ImplementNothing();
    DetectAdapter();
    EXPECT_EQ(adapterInfo.msReply, 0u);
    EXPECT_EQ(adapterInfo.chipId, 0);
    EXPECT_EQ(adapterInfo.bvReply[0] | adapterInfo.bvReply[1] | adapterInfo.bvReply[2] |
                  adapterInfo.bvReply[3],
              0);
    EXPECT_EQ(adapterInfo.driverQueried, 1);
    EXPECT_EQ(sim::DebugOutput(), "QV26: ExtEscape not implemented.\r\n");
}

// Both files in dir with product version 4.10.2.1234 and another file version.
void AddVersionedFiles(const std::string& dir) {
    for (const char* name : {"VOLDRA.DRV", "QV26cpl.DLL"}) {
        std::string path = dir + name;
        sim::files::AddFile(path);
        sim::files::SetVersionInfo(path, sim::MakeVersionInfo({
                                             .productVersionMS = sim::VersionHalf(4, 10),
                                             .productVersionLS = sim::VersionHalf(2, 1234),
                                             .fileVersionMS = sim::VersionHalf(9, 9),
                                             .fileVersionLS = sim::VersionHalf(9, 9),
                                         }));
    }
}

std::vector<WORD> DriverVersion() {
    return {adapterInfo.driverVersion[0], adapterInfo.driverVersion[1],
            adapterInfo.driverVersion[2]};
}

std::vector<WORD> PanelVersion() {
    return {adapterInfo.panelVersion[0], adapterInfo.panelVersion[1], adapterInfo.panelVersion[2],
            adapterInfo.panelVersion[3]};
}

TEST(DetectAdapter, ProductVersionsOfBothFilesInTheSystemDirectory) {
    struct Case {
        const char* reported;
        const char* directory;
    };
    const Case cases[] = {
        {"C:\\WINDOWS\\SYSTEM", "C:\\WINDOWS\\SYSTEM\\"},
        {"C:\\", "C:\\"},
    };
    for (const auto& c : cases) {
        adapterInfo = AdapterInfo{};
        sim::files::SetSystemDirectory(c.reported);
        AddVersionedFiles(c.directory);
        DetectAdapter();
        EXPECT_STREQ(systemDirectory, c.directory);
        EXPECT_EQ(DriverVersion(), (std::vector<WORD>{4, 10, 1234}));
        EXPECT_EQ(PanelVersion(), (std::vector<WORD>{4, 10, 2, 1234}));
    }
}

TEST(DetectAdapter, FilesWithoutAUsableVersionLeaveTheFieldsAlone) {
    const std::string dir = "C:\\WINDOWS\\SYSTEM\\";
    struct Case {
        const char* name;
        bool exists;
        bool resource;
        bool fixedInfo;
    };
    const Case cases[] = {
        {"missing", false, false, false},
        {"no version resource", true, false, false},
        {"no root block", true, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        adapterInfo = AdapterInfo{};
        adapterInfo.driverVersion[2] = 77;
        adapterInfo.panelVersion[0] = 88;
        Driver().ClearCalls();
        for (const char* name : {"VOLDRA.DRV", "QV26cpl.DLL"}) {
            sim::files::Remove(dir + name);
            if (c.exists) {
                sim::files::AddFile(dir + name);
            }
            if (c.resource) {
                sim::files::SetVersionInfo(
                    dir + name,
                    sim::MakeVersionInfo({.productVersionMS = 0x10001, .fixedInfo = c.fixedInfo}));
            }
        }
        DetectAdapter();
        EXPECT_EQ(DriverVersion(), (std::vector<WORD>{0, 0, 77}));
        EXPECT_EQ(PanelVersion(), (std::vector<WORD>{88, 0, 0, 0}));
        // The driver's escapes do not depend on its file.
        EXPECT_EQ(EscapeCodes(), (std::vector<std::string>{"MS", "BV", "ID", "VG"}));
        EXPECT_EQ(adapterInfo.chipId, 0x5D17);
    }
}

TEST(DetectAdapter, DirectoryTooLongForTheBuffersCountsAsMissingFiles) {
    // "C:\" and a folder name of n characters; the driver's name has 10, the
    // library's 11.
    auto Directory = [](size_t n) { return "C:\\" + std::string(n, 'D'); };
    struct Case {
        size_t folder;
        const char* expectedDirectory; // nullptr: the reported one with a backslash
        bool driverRead;
        bool panelRead;
    };
    const Case cases[] = {
        {24, nullptr, true, true},    // paths of 38 and 39 characters
        {25, nullptr, true, false},   // the library's path needs 40
        {26, nullptr, false, false},  // the driver's path needs 40
        {122, nullptr, false, false}, // 125 and the backslash fill the buffer
        {123, "", false, false},      // 126 characters: no room for the backslash
        {300, "", false, false},      // does not fit the buffer at all
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        std::string reported = Directory(c.folder);
        std::string withSlash = reported + "\\";
        adapterInfo = AdapterInfo{};
        Driver().ClearCalls();
        sim::files::SetSystemDirectory(reported);
        AddVersionedFiles(withSlash);
        // The same names in the current directory must not be taken instead.
        AddVersionedFiles("");

        DetectAdapter();

        EXPECT_EQ(std::string(systemDirectory),
                  c.expectedDirectory != nullptr ? c.expectedDirectory : withSlash);
        EXPECT_EQ(adapterInfo.driverVersion[0], c.driverRead ? 4 : 0);
        EXPECT_EQ(adapterInfo.panelVersion[0], c.panelRead ? 4 : 0);
        EXPECT_EQ(EscapeCodes(), (std::vector<std::string>{"MS", "BV", "ID", "VG"}));
        EXPECT_EQ(adapterInfo.chipId, 0x5D17);
    }
}

TEST(QueryAdapterFile, LastLetterChoosesTheBranch) {
    const char* driver = "C:\\WINDOWS\\SYSTEM\\VOLDRA.DRV";
    const char* library = "C:\\WINDOWS\\SYSTEM\\QV26cpl.DLL";
    AddVersionedFiles("C:\\WINDOWS\\SYSTEM\\");

    AdapterInfo info = {};
    QueryAdapterFile(&info, library);
    EXPECT_TRUE(Driver().Calls().empty());
    EXPECT_EQ(info.panelVersion[3], 1234);
    EXPECT_EQ(info.driverVersion[0], 0);

    QueryAdapterFile(&info, driver);
    EXPECT_EQ(EscapeCodes(), (std::vector<std::string>{"MS", "BV", "ID", "VG"}));
    EXPECT_EQ(info.driverVersion[2], 1234);
    // The record passed in is filled, not the process-wide one.
    EXPECT_EQ(adapterInfo.chipId, 0);
    EXPECT_EQ(info.chipId, 0x5D17);
}

} // namespace
