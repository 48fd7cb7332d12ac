// The simulated platform's side of detection: version resources of files and
// the display driver's escape.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/sim/board.h"
#include "platform/sim/files.h"
#include "platform/sim/gdi.h"
#include "platform/sim/system.h"
#include "platform/sim/version.h"

namespace {

const char kPath[] = "C:\\WINDOWS\\SYSTEM\\VOLDRA.DRV";

TEST(VersionResources, RootBlockOfEitherLayout) {
    for (bool sixteenBit : {false, true}) {
        SCOPED_TRACE(sixteenBit);
        sim::files::AddFile(kPath);
        auto block = sim::MakeVersionInfo({.productVersionMS = sim::VersionHalf(4, 10),
                                           .productVersionLS = sim::VersionHalf(2, 1234),
                                           .fileVersionMS = 7,
                                           .sixteenBit = sixteenBit});
        sim::files::SetVersionInfo(kPath, block);

        DWORD handle = 99;
        DWORD size = GetFileVersionInfoSize(kPath, &handle);
        EXPECT_EQ(size, block.size());
        EXPECT_EQ(handle, 0u);
        std::vector<BYTE> data(size);
        ASSERT_TRUE(GetFileVersionInfo(kPath, handle, size, data.data()));

        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValue(data.data(), "\\", reinterpret_cast<LPVOID*>(&fixed), &length));
        EXPECT_EQ(length, sizeof(VS_FIXEDFILEINFO));
        EXPECT_GE(reinterpret_cast<BYTE*>(fixed), data.data());
        EXPECT_LE(reinterpret_cast<BYTE*>(fixed + 1), data.data() + data.size());
        EXPECT_EQ(fixed->dwSignature, VS_FFI_SIGNATURE);
        EXPECT_EQ(fixed->dwProductVersionMS, 0x0004000Au);
        EXPECT_EQ(fixed->dwProductVersionLS, 0x000204D2u);
        EXPECT_EQ(fixed->dwFileVersionMS, 7u);

        LPVOID other = nullptr;
        EXPECT_FALSE(VerQueryValue(data.data(), "\\VarFileInfo\\Translation", &other, &length));
    }
}

TEST(VersionResources, MissingFileMissingResourceMissingRootBlock) {
    DWORD handle = 5;
    EXPECT_EQ(GetFileVersionInfoSize(kPath, &handle), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(handle, 0u);

    sim::files::AddFile(kPath);
    EXPECT_EQ(GetFileVersionInfoSize(kPath, &handle), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
    BYTE buffer[64];
    EXPECT_FALSE(GetFileVersionInfo(kPath, 0, sizeof buffer, buffer));

    auto block = sim::MakeVersionInfo({.fixedInfo = false});
    sim::files::SetVersionInfo(kPath, block);
    ASSERT_TRUE(GetFileVersionInfo(kPath, 0, sizeof buffer, buffer));
    LPVOID fixed = nullptr;
    UINT length = 0;
    EXPECT_FALSE(VerQueryValue(buffer, "\\", &fixed, &length));
}

TEST(VersionResources, CopyIsCutToTheCallersBuffer) {
    sim::files::AddFile(kPath);
    auto block = sim::MakeVersionInfo({.productVersionMS = 1});
    sim::files::SetVersionInfo(kPath, block);
    std::vector<BYTE> buffer(block.size() + 8, 0xEE);
    ASSERT_TRUE(GetFileVersionInfo(kPath, 0, 10, buffer.data()));
    EXPECT_EQ(std::memcmp(buffer.data(), block.data(), 10), 0);
    EXPECT_EQ(buffer[10], 0xEE);
}

TEST(DriverEscape, OnlyTheBoardsEscapeReachesTheDriver) {
    HDC dc = GetDC(nullptr);
    char out[4] = {};
    EXPECT_EQ(ExtEscape(dc, 4097, 3, "ID", sizeof out, out), 0);
    EXPECT_TRUE(sim::TheBoard().Driver().Calls().empty());

    EXPECT_GT(ExtEscape(dc, 32990, 3, "ID", sizeof out, out), 0);
    EXPECT_EQ(static_cast<BYTE>(out[3]), 0x5D);

    sim::TheBoard().Driver().SetReply("VG", {-1, {}, 0x57});
    SetLastError(0);
    EXPECT_LT(ExtEscape(dc, 32990, 3, "VG", 12, nullptr), 0);
    EXPECT_EQ(GetLastError(), 0x57u);

    ReleaseDC(nullptr, dc);
    // A released device context reaches no driver.
    size_t calls = sim::TheBoard().Driver().Calls().size();
    EXPECT_LT(ExtEscape(dc, 32990, 3, "IC", 0, nullptr), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(sim::TheBoard().Driver().Calls().size(), calls);
}

} // namespace
