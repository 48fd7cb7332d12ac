// The simulated registry where its rules are not obvious: dispositions, the
// buffer-size protocol, access rights, Windows 95 key deletion, and the
// REGEDIT4 file form.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "platform/win32.h"

namespace {

HKEY Create(const char* path, DWORD* disposition = nullptr, REGSAM access = KEY_ALL_ACCESS) {
    char noClass[1] = "";
    HKEY key = nullptr;
    DWORD d = 0;
    EXPECT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, path, 0, noClass, REG_OPTION_NON_VOLATILE, access,
                             nullptr, &key, &d),
              ERROR_SUCCESS);
    if (disposition != nullptr) {
        *disposition = d;
    }
    return key;
}

TEST(Registry, CreateReportsWhetherTheKeyIsNewAndMakesIntermediateKeys) {
    DWORD disposition = 0;
    HKEY key = Create("Software\\A\\B", &disposition);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
    EXPECT_TRUE(sim::registry::KeyExists("HKEY_LOCAL_MACHINE\\Software\\A"));
    RegCloseKey(key);

    key = Create("software\\a\\b", &disposition);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
    RegCloseKey(key);
    // Names keep the case they were created with.
    EXPECT_EQ(sim::registry::SubkeyNames("Software\\A"), std::vector<std::string>{"B"});
    EXPECT_EQ(sim::registry::OpenHandleCount(), 0u);
}

TEST(Registry, OpenOfAMissingKeyFails) {
    HKEY key = reinterpret_cast<HKEY>(1);
    EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Missing", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
}

TEST(Registry, QueryFollowsTheBufferSizeProtocol) {
    sim::registry::SetString("Software\\V", "Name", "hello"); // six bytes with the zero
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\V", 0, KEY_READ, &key), ERROR_SUCCESS);

    DWORD type = 0;
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueEx(key, "NAME", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));

    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    size = 5;
    EXPECT_EQ(
        RegQueryValueEx(key, "Name", nullptr, nullptr, reinterpret_cast<LPBYTE>(buffer), &size),
        ERROR_MORE_DATA);
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(buffer[0], 'x') << "a buffer that is too small receives nothing";

    size = sizeof buffer;
    EXPECT_EQ(
        RegQueryValueEx(key, "Name", nullptr, nullptr, reinterpret_cast<LPBYTE>(buffer), &size),
        ERROR_SUCCESS);
    EXPECT_EQ(size, 6u);
    EXPECT_STREQ(buffer, "hello");

    EXPECT_EQ(RegQueryValueEx(key, "Other", nullptr, nullptr, nullptr, &size),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(
        RegQueryValueEx(key, "Name", nullptr, nullptr, reinterpret_cast<LPBYTE>(buffer), nullptr),
        ERROR_INVALID_PARAMETER);
    RegCloseKey(key);
}

TEST(Registry, HandlesCarryOnlyTheRightsTheyWereOpenedWith) {
    sim::registry::SetString("Software\\R", "v", "1");
    HKEY readOnly = nullptr;
    HKEY writeOnly = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\R", 0, KEY_READ, &readOnly),
              ERROR_SUCCESS);
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\R", 0, KEY_SET_VALUE, &writeOnly),
              ERROR_SUCCESS);
    const BYTE data[] = "2";
    EXPECT_EQ(RegSetValueEx(readOnly, "v", 0, REG_SZ, data, 2), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteValue(readOnly, "v"), ERROR_ACCESS_DENIED);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueEx(writeOnly, "v", nullptr, nullptr, nullptr, &size),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegSetValueEx(writeOnly, "v", 0, REG_SZ, data, 2), ERROR_SUCCESS);
    EXPECT_EQ(sim::registry::GetString("Software\\R", "v"), "2");
    RegCloseKey(readOnly);
    RegCloseKey(writeOnly);
}

TEST(Registry, DeniedRightsRefuseOpeningAndCreating) {
    sim::registry::CreateKey("Software\\Existing");
    sim::registry::DenyRights(KEY_SET_VALUE | KEY_CREATE_SUB_KEY | DELETE);
    char noClass[1] = "";
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software\\Existing", 0, noClass, 0,
                             KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software\\New", 0, noClass, 0, KEY_READ, nullptr,
                             &key, nullptr),
              ERROR_ACCESS_DENIED);
    EXPECT_FALSE(sim::registry::KeyExists("Software\\New"));
    EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Existing", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(RegDeleteKey(HKEY_LOCAL_MACHINE, "Software\\Existing"), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(sim::registry::KeyExists("Software\\Existing"));
}

TEST(Registry, DeletingAKeyTakesItsSubkeysAndValues) {
    sim::registry::SetString("Enum\\PCI\\Dev\\Instance\\Sub", "x", "1");
    sim::registry::SetString("Enum\\PCI\\Dev", "y", "2");
    sim::registry::SetString("Enum\\PCI\\Other", "z", "3");
    HKEY open = nullptr;
    ASSERT_EQ(
        RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Enum\\PCI\\Dev\\Instance", 0, KEY_ALL_ACCESS, &open),
        ERROR_SUCCESS);

    EXPECT_EQ(RegDeleteKey(HKEY_LOCAL_MACHINE, "enum\\pci\\DEV"), ERROR_SUCCESS);

    EXPECT_FALSE(sim::registry::KeyExists("Enum\\PCI\\Dev"));
    EXPECT_TRUE(sim::registry::KeyExists("Enum\\PCI\\Other"));
    // A handle into the deleted tree no longer reaches anything.
    const BYTE data[] = "1";
    EXPECT_EQ(RegSetValueEx(open, "v", 0, REG_SZ, data, 2), ERROR_KEY_DELETED);
    EXPECT_FALSE(sim::registry::KeyExists("Enum\\PCI\\Dev\\Instance"));
    RegCloseKey(open);

    EXPECT_EQ(RegDeleteKey(HKEY_LOCAL_MACHINE, "Enum\\PCI\\Dev"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKey(HKEY_LOCAL_MACHINE, ""), ERROR_BADKEY);
    EXPECT_TRUE(sim::registry::KeyExists("Enum\\PCI"));
}

TEST(Registry, OperationsAreLoggedInOrderWithTheirResults) {
    sim::registry::SetString("Software\\Run", "Keep", "a");
    sim::registry::SetString("Software\\Run", "Drop", "b");
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Run", 0, KEY_SET_VALUE, &key),
              ERROR_SUCCESS);
    RegDeleteValue(key, "Drop");
    RegDeleteValue(key, "Drop");
    RegCloseKey(key);
    RegDeleteKey(HKEY_LOCAL_MACHINE, "Software\\Gone");
    std::vector<std::string> expected = {
        "RegDeleteValue HKLM\\Software\\Run [Drop] -> 0",
        "RegDeleteValue HKLM\\Software\\Run [Drop] -> 2",
        "RegDeleteKey HKLM\\Software\\Gone -> 2",
    };
    EXPECT_EQ(sim::OperationLog(), expected);
}

TEST(Registry, InvalidHandlesAreRefused) {
    HKEY bogus = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1234));
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueEx(bogus, "v", nullptr, nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(bogus), ERROR_INVALID_HANDLE);
}

TEST(Regedit4, RoundTripKeepsEveryByte) {
    sim::registry::SetString("Software\\Veridane\\Corvantis", "GAMMA_PalBrightCtrls", "5 -3 0");
    sim::registry::SetString("Software\\Quotes", "say \"hi\"", "back\\slash \"q\"");
    sim::registry::SetString("Software\\Quotes", "", "default");
    sim::registry::SetValue("Software\\Raw", "noterm", REG_SZ, {'a', 'b'});
    sim::registry::SetValue("Software\\Raw", "dw", REG_DWORD, {1, 2, 3, 4});
    std::vector<BYTE> longBinary(100);
    for (size_t i = 0; i < longBinary.size(); ++i) {
        longBinary[i] = static_cast<BYTE>(i * 7);
    }
    sim::registry::SetValue("Software\\Raw", "bin", REG_BINARY, longBinary);
    sim::registry::SetValue("Software\\Raw", "multi", REG_MULTI_SZ, {'a', 0, 'b', 0, 0});
    sim::registry::CreateKey("Software\\Empty");
    sim::registry::SetString("HKEY_CURRENT_USER\\Control Panel", "x", "\xE9t\xE9");

    std::string text = sim::registry::ExportRegedit4();
    EXPECT_EQ(text.rfind("REGEDIT4\r\n", 0), 0u);
    EXPECT_NE(text.find("\"GAMMA_PalBrightCtrls\"=\"5 -3 0\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("\"dw\"=dword:04030201\r\n"), std::string::npos);

    // Change everything, then import: the exported state comes back whole.
    sim::registry::DeleteKey("Software");
    sim::registry::SetString("Software\\Stray", "s", "1");
    std::string error;
    ASSERT_TRUE(sim::registry::ImportRegedit4(text, &error)) << error;
    EXPECT_EQ(sim::registry::ExportRegedit4(), text);
    EXPECT_FALSE(sim::registry::KeyExists("Software\\Stray"));
    EXPECT_TRUE(sim::registry::KeyExists("Software\\Empty"));
    EXPECT_EQ(sim::registry::GetValue("Software\\Raw", "bin")->data, longBinary);
    EXPECT_EQ(sim::registry::GetString("Software\\Quotes", "say \"hi\""), "back\\slash \"q\"");
}

TEST(Regedit4, AMalformedFileChangesNothingAndSaysWhere) {
    sim::registry::SetString("Software\\Keep", "v", "1");
    struct Case {
        const char* text;
        const char* where;
    };
    const Case cases[] = {
        {"", "line 1"},
        {"REGEDIT5\r\n", "line 1"},
        {"REGEDIT4\r\n\"v\"=\"1\"\r\n", "line 2"},
        {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"v\"=\"unterminated\r\n", "line 3"},
        {"REGEDIT4\r\n[HKEY_NOWHERE\\A]\r\n", "line 2"},
        {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"v\"=dword:123\r\n", "line 3"},
        {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"v\"=hex:01,zz\r\n", "line 3"},
        {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"v\"=hex:01,\\\r\n", "line 3"},
        {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A\r\n", "line 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::string error;
        EXPECT_FALSE(sim::registry::ImportRegedit4(c.text, &error));
        EXPECT_EQ(error.rfind(c.where, 0), 0u) << error;
        EXPECT_EQ(sim::registry::GetString("Software\\Keep", "v"), "1");
        EXPECT_FALSE(sim::registry::KeyExists("A"));
    }
}

} // namespace
