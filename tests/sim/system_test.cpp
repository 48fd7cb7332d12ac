// Atoms, directories, files and the small kernel services of the simulator.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "platform/win32.h"

namespace {

// Registered before main, as a program's static initialisers do.
const UINT kEarlyId = RegisterWindowMessage("Registered Before Main");

TEST(WindowMessages, SameNameSameIdFromC000Up) {
    EXPECT_GE(kEarlyId, 0xC000u);
    UINT a = RegisterWindowMessage("QV26 Gamma Changed");
    UINT b = RegisterWindowMessage("Lumivex Gamma Changed");
    EXPECT_GE(a, 0xC000u);
    EXPECT_NE(a, b);
    EXPECT_EQ(RegisterWindowMessage("qv26 gamma changed"), a);
    EXPECT_EQ(RegisterWindowMessage("Registered Before Main"), kEarlyId);
    EXPECT_EQ(sim::RegisteredMessageName(a), "QV26 Gamma Changed");
    EXPECT_EQ(RegisterWindowMessage(""), 0u);
}

TEST(Directories, ATooSmallBufferGetsNothingAndTheSizeNeeded) {
    char buffer[32];
    std::memset(buffer, 'x', sizeof buffer);
    // "C:\WINDOWS\SYSTEM" is 17 characters.
    EXPECT_EQ(GetSystemDirectory(buffer, 17), 18u);
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_EQ(GetSystemDirectory(buffer, 18), 17u);
    EXPECT_STREQ(buffer, "C:\\WINDOWS\\SYSTEM");
    EXPECT_EQ(GetWindowsDirectory(buffer, sizeof buffer), 10u);
    EXPECT_STREQ(buffer, "C:\\WINDOWS");

    sim::files::SetWindowsDirectory(std::string(60, 'w'));
    EXPECT_EQ(GetWindowsDirectory(buffer, sizeof buffer), 61u);
}

TEST(Files, DeleteRemovesOnlyAFileThatIsNotInUse) {
    sim::files::AddFile("C:\\WINDOWS\\SYSTEM\\Driver.drv");
    sim::files::AddFile("C:\\WINDOWS\\SYSTEM\\busy.vxd");
    sim::files::SetInUse("c:\\windows\\system\\BUSY.VXD", true);

    EXPECT_NE(GetFileAttributes("c:/windows/system/driver.DRV"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributes("C:\\WINDOWS\\SYSTEM"),
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_TRUE(DeleteFile("C:\\WINDOWS\\SYSTEM\\\\driver.drv"));
    EXPECT_FALSE(sim::files::Exists("C:\\WINDOWS\\SYSTEM\\Driver.drv"));

    SetLastError(0);
    EXPECT_FALSE(DeleteFile("C:\\WINDOWS\\SYSTEM\\driver.drv"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(DeleteFile("C:\\WINDOWS\\SYSTEM\\busy.vxd"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_TRUE(sim::files::Exists("C:\\WINDOWS\\SYSTEM\\busy.vxd"));
    EXPECT_EQ(GetFileAttributes("C:\\WINDOWS\\SYSTEM\\driver.drv"), INVALID_FILE_ATTRIBUTES);

    std::vector<std::string> expected = {
        "DeleteFile C:\\WINDOWS\\SYSTEM\\\\driver.drv -> 0",
        "DeleteFile C:\\WINDOWS\\SYSTEM\\driver.drv -> 2",
        "DeleteFile C:\\WINDOWS\\SYSTEM\\busy.vxd -> 32",
    };
    EXPECT_EQ(sim::OperationLog(), expected);
}

TEST(Formatting, WsprintfStopsAt1024Characters) {
    std::string big(2000, 'a');
    char buffer[1100];
    std::memset(buffer, 'z', sizeof buffer);
    EXPECT_EQ(wsprintf(buffer, "%s", big.c_str()), 1024);
    EXPECT_EQ(std::strlen(buffer), 1024u);
    EXPECT_EQ(buffer[1025], 'z');
    EXPECT_EQ(wsprintf(buffer, "%d %x", -5, 0x57), 5);
    EXPECT_STREQ(buffer, "-5 57");
}

TEST(DebugOutput, IsCapturedInOrder) {
    OutputDebugString("one\r\n");
    OutputDebugString("two\r\n");
    EXPECT_EQ(sim::DebugOutput(), "one\r\ntwo\r\n");
}

TEST(Shutdown, IsRecordedNotPerformed) {
    EXPECT_TRUE(ExitWindowsEx(EWX_REBOOT, 0));
    EXPECT_EQ(sim::ShutdownRequests(), std::vector<UINT>{EWX_REBOOT});
}

} // namespace
