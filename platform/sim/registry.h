// The registry of the simulated Windows 95.
//
// A tree of keys under the predefined roots, each with named values of a type
// and raw bytes. Key and value names compare without regard to letter case and
// keep the case they were created with. Access rights are checked per handle
// as the NT family does; deleting a key takes its subkeys with it, as the
// Windows 95 family does.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/sim/types.h"

#define HKEY_CLASSES_ROOT ((HKEY)(ULONG_PTR)((LONG)0x80000000))
#define HKEY_CURRENT_USER ((HKEY)(ULONG_PTR)((LONG)0x80000001))
#define HKEY_LOCAL_MACHINE ((HKEY)(ULONG_PTR)((LONG)0x80000002))
#define HKEY_USERS ((HKEY)(ULONG_PTR)((LONG)0x80000003))

#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_MULTI_SZ 7

#define REG_OPTION_NON_VOLATILE 0x00000000L
#define REG_OPTION_VOLATILE 0x00000001L

#define REG_CREATED_NEW_KEY 0x00000001L
#define REG_OPENED_EXISTING_KEY 0x00000002L

#define DELETE 0x00010000L
#define READ_CONTROL 0x00020000L
#define WRITE_DAC 0x00040000L
#define WRITE_OWNER 0x00080000L
#define SYNCHRONIZE 0x00100000L
#define STANDARD_RIGHTS_READ READ_CONTROL
#define STANDARD_RIGHTS_WRITE READ_CONTROL
#define STANDARD_RIGHTS_ALL 0x001F0000L

#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_CREATE_SUB_KEY 0x0004
#define KEY_ENUMERATE_SUB_KEYS 0x0008
#define KEY_NOTIFY 0x0010
#define KEY_CREATE_LINK 0x0020
#define KEY_READ 0x00020019L
#define KEY_WRITE 0x00020006L
#define KEY_EXECUTE KEY_READ
#define KEY_ALL_ACCESS 0x000F003FL

#define ERROR_BADKEY 1010L
#define ERROR_KEY_DELETED 1018L

LONG RegCreateKeyEx(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR className, DWORD options,
                    REGSAM desired, LPSECURITY_ATTRIBUTES security, PHKEY result,
                    LPDWORD disposition);
LONG RegOpenKeyEx(HKEY key, LPCSTR subKey, DWORD options, REGSAM desired, PHKEY result);
LONG RegCloseKey(HKEY key);
LONG RegQueryValueEx(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                     LPDWORD dataSize);
LONG RegSetValueEx(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                   DWORD dataSize);
LONG RegDeleteKey(HKEY key, LPCSTR subKey);
LONG RegDeleteValue(HKEY key, LPCSTR valueName);

namespace sim::registry {

// Paths name a key from a root, "HKEY_LOCAL_MACHINE\Software\Veridane"; a path
// without a root name is taken under HKEY_LOCAL_MACHINE.

struct Value {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

bool KeyExists(const std::string& path);
void CreateKey(const std::string& path);
void DeleteKey(const std::string& path);
std::optional<Value> GetValue(const std::string& path, const std::string& name);
// The text of a REG_SZ value up to its first zero byte; nullopt when the value
// is missing or of another type.
std::optional<std::string> GetString(const std::string& path, const std::string& name);
// Creates the key where needed. SetString stores the text and one zero byte.
void SetValue(const std::string& path, const std::string& name, DWORD type,
              const std::vector<BYTE>& data);
void SetString(const std::string& path, const std::string& name, const std::string& text);
void DeleteValue(const std::string& path, const std::string& name);
// Names as created, in alphabetical order regardless of case.
std::vector<std::string> SubkeyNames(const std::string& path);
std::vector<std::string> ValueNames(const std::string& path);

// Rights the registry refuses to grant from now on (a restricted user): a
// request for any of them fails with ERROR_ACCESS_DENIED.
void DenyRights(REGSAM rights);

// Handles opened by the programs and not yet closed.
size_t OpenHandleCount();

// Every RegQueryValueEx on an existing key, in order, as "path [name]": the
// reads kept apart from the operation log, which records changes.
const std::vector<std::string>& QueryLog();

// The whole registry as a REGEDIT4 file (the Windows 95 export format), and
// back. Import replaces the registry only when the whole text parses; on an
// error it leaves the registry as it was and says what and where.
std::string ExportRegedit4();
bool ImportRegedit4(const std::string& text, std::string* error);

} // namespace sim::registry
