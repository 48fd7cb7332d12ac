// The simulated machine kept in a folder: what a save writes comes back on
// load, bad files load nothing, a save removes only what the run deleted, and
// a failed save leaves the folder as it was.
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/sim/machine.h"
#include "platform/win32.h"

namespace fs = std::filesystem;

namespace {

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteText(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// Every file under the folder with its bytes.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
    std::map<std::string, std::string> out;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            out[entry.path().lexically_relative(folder).string()] = ReadText(entry.path());
        }
    }
    return out;
}

struct FileState {
    std::string path;
    std::vector<BYTE> contents;
    std::vector<BYTE> versionInfo;
    bool inUse;
    bool operator==(const FileState&) const = default;
};

std::vector<FileState> Files() {
    std::vector<FileState> out;
    for (const sim::files::File& f : sim::files::All()) {
        out.push_back({f.path, f.contents, f.versionInfo, f.inUse});
    }
    return out;
}

std::string SystemDirectory() {
    char buffer[MAX_PATH] = "";
    GetSystemDirectory(buffer, sizeof buffer);
    return buffer;
}

class MachineFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("machine_test_" + std::to_string(getpid()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(folder, ec);
    }
    // Saves the default machine and loads it again, so the load is recorded.
    void SaveAndLoadDefault() {
        sim::machine::InstallDefault();
        std::string error;
        ASSERT_TRUE(sim::machine::Save(folder.string(), &error)) << error;
        ASSERT_TRUE(sim::machine::Load(folder.string(), &error)) << error;
    }
    fs::path folder;
};

TEST_F(MachineFolder, RegistryFilesVersionsAndDirectoriesComeBackAsSaved) {
    sim::machine::InstallDefault();
    sim::registry::SetValue("Software\\Veridane\\Corvantis", "Curve", REG_BINARY,
                            {0x00, 0xFF, 0x0D, 0x0A, 0x22, 0x5C, 0x00});
    sim::registry::SetValue("Software\\Veridane\\Corvantis", "Count", REG_DWORD, {1, 2, 3, 4});
    sim::registry::SetString("Software\\Veridane\\Corvantis", "Name", "a \"quoted\" \\ text");
    sim::registry::CreateKey("Software\\Empty");
    const std::vector<BYTE> binary = {0, 1, 2, 0xFF, '\r', '\n', 0, 0x80};
    sim::files::AddFile("C:\\Data\\Deep\\Deeper\\table.bin", binary);
    sim::files::SetInUse("C:\\WINDOWS\\SYSTEM\\zorb16qk.drv", true);
    sim::files::SetSystemDirectory("C:\\WIN95\\SYSTEM");
    const std::string registry = sim::registry::ExportRegedit4();
    const std::vector<FileState> files = Files();

    std::string error;
    ASSERT_TRUE(sim::machine::Save(folder.string(), &error)) << error;
    EXPECT_EQ(ReadText(folder / "drive_c" / "Data" / "Deep" / "Deeper" / "table.bin"),
              std::string(binary.begin(), binary.end()));

    // Another machine in between, so the load has everything to restore.
    sim::machine::InstallDefault();
    sim::files::AddFile("C:\\stray.txt");
    ASSERT_TRUE(sim::machine::Load(folder.string(), &error)) << error;

    EXPECT_EQ(sim::registry::ExportRegedit4(), registry);
    EXPECT_EQ(sim::registry::GetValue("Software\\Veridane\\Corvantis", "Curve")->type,
              static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(Files(), files);
    EXPECT_FALSE(sim::files::Exists("C:\\stray.txt"));
    EXPECT_EQ(SystemDirectory(), "C:\\WIN95\\SYSTEM");
    // A second save of an unchanged machine writes the same folder.
    std::map<std::string, std::string> before = Snapshot(folder);
    ASSERT_TRUE(sim::machine::Save(folder.string(), &error)) << error;
    EXPECT_EQ(Snapshot(folder), before);
}

TEST(DefaultMachine, TheDriverAndPanelAnswerWithTheirProductVersions) {
    sim::files::AddFile("C:\\left\\over.txt");
    sim::registry::SetString("Software\\Left", "Over", "1");
    sim::machine::InstallDefault();
    EXPECT_FALSE(sim::files::Exists("C:\\left\\over.txt"));
    EXPECT_FALSE(sim::registry::KeyExists("Software\\Left"));
    EXPECT_TRUE(sim::registry::KeyExists(
        "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zorbital Kelvane"));
    EXPECT_TRUE(sim::files::Exists("C:\\WINDOWS\\SYSTEM\\zorb16qk.drv"));

    for (const char* path :
         {"C:\\WINDOWS\\SYSTEM\\VOLDRA.DRV", "C:\\WINDOWS\\SYSTEM\\QV26cpl.DLL"}) {
        SCOPED_TRACE(path);
        DWORD handle = 1;
        DWORD size = GetFileVersionInfoSize(path, &handle);
        ASSERT_GT(size, 0u);
        std::vector<BYTE> block(size);
        ASSERT_TRUE(GetFileVersionInfo(path, handle, size, block.data()));
        VS_FIXEDFILEINFO* info = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValue(block.data(), "\\", reinterpret_cast<LPVOID*>(&info), &length));
        EXPECT_EQ(info->dwProductVersionMS, sim::VersionHalf(4, 10));
        EXPECT_EQ(info->dwProductVersionLS, sim::VersionHalf(2, 1234));
    }
}

// Each case spoils one file of a saved machine; the load must fail, say which
// file and line, and leave both the running machine and the folder untouched.
TEST_F(MachineFolder, ABadMachineFileLoadsNothingAndNamesFileAndLine) {
    struct Case {
        const char* name;
        const char* file;
        std::string (*spoil)(const std::string& text);
        const char* expected; // in the error, after the file's name
    };
    const Case cases[] = {
        // Cut inside a list of bytes, the rest would still read as a shorter value.
        {"registry cut inside a line", "registry.reg",
         [](const std::string& t) { return t.substr(0, t.find("=hex:") + 10); }, ": line "},
        {"registry value of unknown form", "registry.reg",
         [](const std::string&) {
             return std::string("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\A]\r\n"
                                "\"x\"=bogus\r\n");
         },
         ": line 4: "},
        {"registry empty", "registry.reg", [](const std::string&) { return std::string(); },
         ": line 1: "},
        {"registry missing", "registry.reg", nullptr, ": missing"},
        {"manifest unknown entry", "machine.txt",
         [](const std::string& t) { return t + "hidden C:\\WINDOWS\\SYSTEM\\vga.drv\n"; },
         ": line 6: "},
        {"manifest version of a file not there", "machine.txt",
         [](const std::string& t) { return t + "version 00ff C:\\nowhere.dll\n"; }, ": line 6: "},
        {"manifest version with odd hex", "machine.txt",
         [](const std::string& t) { return t + "version 0ff C:\\WINDOWS\\vga.drv\n"; },
         ": line 6: "},
        {"manifest cut inside a line", "machine.txt",
         [](const std::string& t) { return t.substr(0, t.size() - 3); }, ": line "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(folder);
        sim::machine::InstallDefault();
        sim::registry::SetValue("Software\\Veridane\\Corvantis", "Curve", REG_BINARY,
                                {1, 2, 3, 4, 5, 6});
        std::string error;
        ASSERT_TRUE(sim::machine::Save(folder.string(), &error)) << error;
        fs::path spoiled = folder / c.file;
        if (c.spoil == nullptr) {
            fs::remove(spoiled);
        } else {
            WriteText(spoiled, c.spoil(ReadText(spoiled)));
        }
        std::map<std::string, std::string> onDisk = Snapshot(folder);

        // The running machine differs from the folder's in registry and files.
        sim::registry::SetString("Software\\Marker", "Kept", "yes");
        sim::files::AddFile("C:\\marker.txt");
        sim::files::Remove("C:\\WINDOWS\\SYSTEM\\vga.drv");
        const std::string registry = sim::registry::ExportRegedit4();
        const std::vector<FileState> files = Files();

        EXPECT_FALSE(sim::machine::Load(folder.string(), &error));
        EXPECT_NE(error.find(spoiled.string() + c.expected), std::string::npos) << error;
        EXPECT_EQ(sim::registry::ExportRegedit4(), registry);
        EXPECT_EQ(Files(), files);
        EXPECT_EQ(Snapshot(folder), onDisk);
    }
}

TEST_F(MachineFolder, OpenInstallsTheDefaultOnlyForAnEmptyOrMissingFolder) {
    std::string error;
    ASSERT_TRUE(sim::machine::Open(folder.string(), &error)) << error;
    EXPECT_TRUE(sim::files::Exists("C:\\WINDOWS\\SYSTEM\\VOLDRA.DRV"));

    fs::create_directories(folder);
    sim::files::Remove("C:\\WINDOWS\\SYSTEM\\VOLDRA.DRV");
    ASSERT_TRUE(sim::machine::Open(folder.string(), &error)) << error;
    EXPECT_TRUE(sim::files::Exists("C:\\WINDOWS\\SYSTEM\\VOLDRA.DRV"));

    // A folder holding something else is not a machine to start afresh in.
    WriteText(folder / "notes.txt", "mine");
    sim::files::Remove("C:\\WINDOWS\\SYSTEM\\VOLDRA.DRV");
    EXPECT_FALSE(sim::machine::Open(folder.string(), &error));
    EXPECT_NE(error.find("registry.reg"), std::string::npos) << error;
    EXPECT_FALSE(sim::files::Exists("C:\\WINDOWS\\SYSTEM\\VOLDRA.DRV"));
}

TEST_F(MachineFolder, SaveRemovesFilesDeletedInTheRunAndKeepsFilesItNeverLoaded) {
    SaveAndLoadDefault();
    const fs::path drive = folder / "drive_c";
    // Put there by someone else after the load.
    WriteText(drive / "WINDOWS" / "SYSTEM" / "foreign.dll", "theirs");
    WriteText(folder / "notes.txt", "mine");
    WriteText(drive / "WINDOWS" / "INF" / "OTHER" / "later.inf", "theirs");

    ASSERT_TRUE(DeleteFile("C:\\WINDOWS\\SYSTEM\\zorbqkps.dll"));
    ASSERT_TRUE(DeleteFile("C:\\windows\\inf\\quenor.inf"));
    ASSERT_TRUE(DeleteFile("C:\\WINDOWS\\INF\\OTHER\\quenor.inf"));
    ASSERT_TRUE(DeleteFile("C:\\WINDOWS\\INF\\OTHER\\BrisantaQuenor.inf"));

    // A folder this machine was not loaded from loses nothing.
    const fs::path other = folder / "other";
    WriteText(other / "drive_c" / "WINDOWS" / "SYSTEM" / "zorbqkps.dll", "old");
    std::string error;
    ASSERT_TRUE(sim::machine::Save(other.string(), &error)) << error;
    EXPECT_EQ(ReadText(other / "drive_c" / "WINDOWS" / "SYSTEM" / "zorbqkps.dll"), "old");

    ASSERT_TRUE(sim::machine::Save(folder.string(), &error)) << error;

    EXPECT_FALSE(fs::exists(drive / "WINDOWS" / "SYSTEM" / "zorbqkps.dll"));
    EXPECT_FALSE(fs::exists(drive / "WINDOWS" / "INF" / "quenor.inf"));
    EXPECT_TRUE(fs::exists(drive / "WINDOWS" / "SYSTEM" / "zorb16qk.drv"));
    EXPECT_EQ(ReadText(drive / "WINDOWS" / "SYSTEM" / "foreign.dll"), "theirs");
    EXPECT_EQ(ReadText(drive / "WINDOWS" / "INF" / "OTHER" / "later.inf"), "theirs");
    EXPECT_EQ(ReadText(folder / "notes.txt"), "mine");
}

TEST_F(MachineFolder, SaveWritesNewFilesIntoTheFoldersAlreadyThere) {
    SaveAndLoadDefault();
    sim::files::AddFile("c:\\windows\\system\\added.dll", {'x'});
    std::string error;
    ASSERT_TRUE(sim::machine::Save(folder.string(), &error)) << error;
    EXPECT_EQ(ReadText(folder / "drive_c" / "WINDOWS" / "SYSTEM" / "added.dll"), "x");
    EXPECT_FALSE(fs::exists(folder / "drive_c" / "windows"));
}

TEST_F(MachineFolder, SavingOutsideDriveCIsRefusedAndWritesNothing) {
    SaveAndLoadDefault();
    std::map<std::string, std::string> before = Snapshot(folder);
    sim::registry::SetString("Software\\Changed", "x", "y");
    for (const char* path : {"D:\\data.bin", "C:\\..\\..\\escaped.txt"}) {
        SCOPED_TRACE(path);
        sim::files::AddFile(path, {'x'});
        std::string error;
        EXPECT_FALSE(sim::machine::Save(folder.string(), &error));
        EXPECT_NE(error.find(path), std::string::npos) << error;
        EXPECT_EQ(Snapshot(folder), before);
        sim::files::Remove(path);
    }
    EXPECT_FALSE(fs::exists(folder.parent_path() / "escaped.txt"));
}

// A save whose temporary files cannot all be written replaces none of the old
// files, removes none, and leaves no temporary file behind.
TEST_F(MachineFolder, AFailedSaveLeavesTheOldFolderIntact) {
    struct Case {
        const char* name;
        void (*block)(const fs::path& folder);
    };
    const Case cases[] = {
        {"a temporary name taken by a folder",
         [](const fs::path& f) {
             fs::create_directories(f / "drive_c" / "WINDOWS" / "SYSTEM" /
                                    "zorb32qk.dll.machine-tmp");
         }},
        {"a read-only folder",
         [](const fs::path& f) {
             for (const fs::path& p : {f, f / "drive_c" / "WINDOWS" / "SYSTEM"}) {
                 fs::permissions(
                     p, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                     fs::perm_options::remove);
             }
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (std::string(c.name) == "a read-only folder" && geteuid() == 0) {
            continue; // permissions do not bind the superuser
        }
        TearDown();
        SaveAndLoadDefault();
        std::map<std::string, std::string> before = Snapshot(folder);
        c.block(folder);

        sim::registry::SetString("Software\\Changed", "x", "y");
        sim::files::AddFile("C:\\WINDOWS\\SYSTEM\\zorb32qk.dll", {'n', 'e', 'w'});
        sim::files::AddFile("C:\\WINDOWS\\SYSTEM\\added.dll", {'n', 'e', 'w'});
        ASSERT_TRUE(DeleteFile("C:\\WINDOWS\\SYSTEM\\vga.drv"));
        std::string error;
        EXPECT_FALSE(sim::machine::Save(folder.string(), &error));
        EXPECT_NE(error.find("cannot be written"), std::string::npos) << error;
        EXPECT_EQ(Snapshot(folder), before);
    }
}

} // namespace
