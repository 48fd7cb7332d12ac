// Values and directories the uninstaller must not trust: driver names of odd
// types and sizes, and directories too long for the 50-character lookup.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32.h"
#include "tests/uninstaller/machine.h"

namespace {

struct DriverValueCase {
    const char* name;
    DWORD type;
    std::string bytes;
    bool isBoards;
};

class DriverValue : public ::testing::TestWithParam<DriverValueCase> {};

TEST_P(DriverValue, OnlyTheBoardsDriverNameAsTextSelectsTheKey) {
    const DriverValueCase& c = GetParam();
    const std::string key = std::string(machine::kDisplayClass) + "\\0005";
    sim::registry::SetValue(key + "\\DEFAULT", "drv", c.type,
                            std::vector<BYTE>(c.bytes.begin(), c.bytes.end()));
    sim::registry::CreateKey(key + "\\MODES\\8\\640,480");
    sim::registry::CreateKey(key + "\\shellex");

    EXPECT_EQ(machine::Run("uninstaller.exe x"), 0);

    EXPECT_EQ(sim::registry::KeyExists(key), !c.isBoards);
    EXPECT_EQ(sim::registry::OpenHandleCount(), 0u);
}

const std::string kName = "zorb16qk.drv";

INSTANTIATE_TEST_SUITE_P(
    Values, DriverValue,
    ::testing::Values(
        DriverValueCase{"Text", REG_SZ, kName + '\0', true},
        // The stored text is the name even without a terminating zero.
        DriverValueCase{"TextWithoutTerminator", REG_SZ, kName, true},
        DriverValueCase{"BytesAfterTheTerminator", REG_SZ, kName + '\0' + "zz", true},
        DriverValueCase{"FiftyBytesTerminated", REG_SZ, kName + std::string(38, '\0'), true},
        DriverValueCase{"FiftyOneBytes", REG_SZ, kName + std::string(39, '\0'), false},
        DriverValueCase{"FiftyBytesWithoutTerminator", REG_SZ, kName + std::string(38, 'x'), false},
        DriverValueCase{"Binary", REG_BINARY, kName + '\0', false},
        DriverValueCase{"ExpandableText", REG_EXPAND_SZ, kName + '\0', false},
        DriverValueCase{"Prefix", REG_SZ, std::string("zorb16qk.dr") + '\0', false},
        DriverValueCase{"Longer", REG_SZ, std::string("zorb16qk.drv2") + '\0', false},
        DriverValueCase{"TrailingBlank", REG_SZ, std::string("zorb16qk.drv ") + '\0', false},
        DriverValueCase{"Empty", REG_SZ, "", false}),
    [](const ::testing::TestParamInfo<DriverValueCase>& info) {
        return std::string(info.param.name);
    });

struct DirectoryCase {
    size_t systemLength;
    size_t windowsLength;
};

class LongDirectory : public ::testing::TestWithParam<DirectoryCase> {};

// A directory of exactly `length` characters.
std::string DirectoryOf(size_t length, char fill) {
    return "C:\\" + std::string(length - 3, fill);
}

TEST_P(LongDirectory, GroupIsSkippedWhenItsDirectoryDoesNotFitAndTheRestGoesOn) {
    const DirectoryCase& c = GetParam();
    std::string system = DirectoryOf(c.systemLength, 'S');
    std::string windows = DirectoryOf(c.windowsLength, 'W');
    sim::files::SetSystemDirectory(system);
    sim::files::SetWindowsDirectory(windows);
    const std::vector<std::string> systemFiles = {"zorb16qk.drv", "zorbqk.vxd",   "zorb32qk.dll",
                                                  "plume3x.dll",  "zorbqkps.dll", "zorbqkps.hlp",
                                                  "zorbspl3.dll"};
    const std::vector<std::string> infFiles = {"inf\\quenor.inf", "inf\\other\\quenor.inf",
                                               "inf\\other\\BrisantaQuenor.inf"};
    for (const std::string& name : systemFiles) {
        sim::files::AddFile(system + "\\" + name);
    }
    for (const std::string& name : infFiles) {
        sim::files::AddFile(windows + "\\" + name);
    }
    sim::registry::SetString(
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "OrevalKelvane",
        "x");

    EXPECT_EQ(machine::Run("uninstaller.exe x"), 0);

    bool systemFits = c.systemLength < 50;
    bool windowsFits = c.windowsLength < 50;
    for (const std::string& name : systemFiles) {
        EXPECT_EQ(sim::files::Exists(system + "\\" + name), !systemFits) << name;
    }
    for (const std::string& name : infFiles) {
        EXPECT_EQ(sim::files::Exists(windows + "\\" + name), !windowsFits) << name;
    }
    // Nothing is attempted under a directory that was not fetched.
    size_t attempts = 0;
    for (const std::string& line : sim::OperationLog()) {
        attempts += line.rfind("DeleteFile ", 0) == 0 ? 1 : 0;
    }
    EXPECT_EQ(attempts, (systemFits ? 7u : 0u) + (windowsFits ? 3u : 0u));
    EXPECT_FALSE(sim::registry::GetValue(
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "OrevalKelvane"));
}

INSTANTIATE_TEST_SUITE_P(Lengths, LongDirectory,
                         ::testing::Values(DirectoryCase{49, 49}, DirectoryCase{50, 10},
                                           DirectoryCase{10, 50}, DirectoryCase{49, 51},
                                           DirectoryCase{200, 200}),
                         [](const ::testing::TestParamInfo<DirectoryCase>& info) {
                             return "System" + std::to_string(info.param.systemLength) + "Windows" +
                                    std::to_string(info.param.windowsLength);
                         });

} // namespace
