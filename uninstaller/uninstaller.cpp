// Removes the Ardenvale board's display-driver installation: its device
// instances, the chip maker's product key, the display-class keys that use
// the board's driver, the uninstall and start-up entries, then the driver's
// files and its INF files.
#include "uninstaller/uninstaller.h"

#include <string.h>

#define CAPTION "Ardenvale"
#define PATH_BUFFER_SIZE 100
// The directories are fetched with room for 49 characters and the terminator.
#define DIRECTORY_LIMIT 50
#define DRIVER_NAME_SIZE 50
#define BOARD_DRIVER "zorb16qk.drv"
#define DISPLAY_CLASS_KEY "System\\CurrentControlSet\\Services\\Class\\Display"
#define DISPLAY_CLASS_COUNT 10
#define PRODUCT_KEY "Software\\Zorbital\\Kelvane"
#define UNINSTALL_KEY "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zorbital Kelvane"
#define RUN_KEY "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"
#define RUN_VALUE "OrevalKelvane"
#define ENGLISH 1033

#define COUNT(array) ((int)(sizeof(array) / sizeof((array)[0])))

struct LanguageTexts {
    LANGID boxLanguage;  // passed to the message box
    const LANGID* users; // the user languages that select these texts
    int userCount;
    const char* confirmText;
    const char* restartText;
};

static const LANGID germanUsers[] = {1031, 2055, 3079, 4103, 5127};
// Primary language Spanish with sublanguages 1 to 20.
static const LANGID spanishUsers[] = {1034,  2058,  3082,  4106,  5130,  6154,  7178,
                                      8202,  9226,  10250, 11274, 12298, 13322, 14346,
                                      15370, 16394, 17418, 18442, 19466, 20490};
static const LANGID frenchUsers[] = {1036, 2060, 3084, 4108, 5132};
static const LANGID dutchUsers[] = {1043, 2067};

// Windows-1252 bytes. A hex escape is closed by splitting the literal where
// the next letter is a hex digit.
static const LanguageTexts languages[] = {
    {ENGLISH, NULL, 0, "Do you really want to uninstall your Ardenvale ?",
     "Uninstall complete. Do you want to restart your computer now ?"},
    {1031, germanUsers, COUNT(germanUsers),
     "Sind Sie sicher, dass Sie Ihre Ardenvale deinstallieren wollen ?",
     "Deinstallation beendet. Soll der Computer jetzt neu gestartet werden ?"},
    {1034, spanishUsers, COUNT(spanishUsers), "\xBFQuiere realmente desinstalar su Ardenvale?",
     "Diesinstalaci\xF3n completada. \xBF"
     "Desea reiniciar el ordeandor ahora?"},
    {1036, frenchUsers, COUNT(frenchUsers),
     "Voulez-vous r\xE9"
     "ellement d\xE9sinstaller votre Ardenvale ?",
     "D\xE9sinstallation achev\xE9"
     "e. Voulez-vous red\xE9marrer votre ordinateur ?"},
    {1043, dutchUsers, COUNT(dutchUsers), "Wilt u echt u Ardenvale desinstalleren ?",
     "Desinstallatie voltooid. Wilt u uw computer opnieuw opstarten ?"},
};

static const char* const deviceInstanceKeys[] = {
    "Enum\\PCI\\VEN_5C3E&DEV_0003",
    "Enum\\PCI\\VEN_5C3E&DEV_0003&SUBSYS_00014D72&REV_03",
    "Enum\\PCI\\VEN_5C3E&DEV_0003&SUBSYS_00024D72&REV_03",
    "Enum\\PCI\\VEN_5C3E&DEV_0003&SUBSYS_00035C3E&REV_03",
    "Enum\\PCI\\VEN_5C3E&DEV_0003&SUBSYS_00045C3E&REV_03",
};

// Deleted one by one before the display-class key itself.
static const char* const displayClassSubkeys[] = {"DEFAULT", "MODES", "shellex"};

static const char* const systemFiles[] = {
    "\\zorb16qk.drv", "\\zorbqk.vxd",   "\\zorb32qk.dll", "\\plume3x.dll",
    "\\zorbqkps.dll", "\\zorbqkps.hlp", "\\zorbspl3.dll",
};

static const char* const infFiles[] = {
    "\\inf\\quenor.inf",
    "\\inf\\other\\quenor.inf",
    "\\inf\\other\\BrisantaQuenor.inf",
};

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR cmdLine, int) {
    const LanguageTexts* selected = &languages[0];
    char path[PATH_BUFFER_SIZE];
    char classKey[PATH_BUFFER_SIZE];
    char driverName[DRIVER_NAME_SIZE];
    HKEY key;
    DWORD type;
    DWORD size;
    LONG result;
    UINT length;
    int i;
    int j;

    // The lists do not overlap: at most one matches; every other language
    // keeps English.
    LANGID userLanguage = GetUserDefaultLangID();
    for (i = 1; i < COUNT(languages); i++) {
        for (j = 0; j < languages[i].userCount; j++) {
            if (languages[i].users[j] == userLanguage) {
                selected = &languages[i];
            }
        }
    }

    // Only the user's No stops the run; a box that cannot be shown goes on.
    if (cmdLine == NULL || cmdLine[0] == '\0') {
        if (MessageBoxEx(NULL, selected->confirmText, CAPTION,
                         MB_YESNO | MB_ICONSTOP | MB_SYSTEMMODAL, selected->boxLanguage) == IDNO) {
            return 0;
        }
    }

    // Deleting a key takes its unnamed device subkeys with it.
    for (i = 0; i < COUNT(deviceInstanceKeys); i++) {
        RegDeleteKey(HKEY_LOCAL_MACHINE, deviceInstanceKeys[i]);
    }
    RegDeleteKey(HKEY_LOCAL_MACHINE, PRODUCT_KEY);

    for (i = 0; i < DISPLAY_CLASS_COUNT; i++) {
        wsprintf(classKey, "%s\\%04d", DISPLAY_CLASS_KEY, i);
        wsprintf(path, "%s\\DEFAULT", classKey);
        if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) {
            continue;
        }
        size = DRIVER_NAME_SIZE;
        result = RegQueryValueEx(key, "drv", NULL, &type, (LPBYTE)driverName, &size);
        RegCloseKey(key);
        if (result != ERROR_SUCCESS || type != REG_SZ) {
            continue;
        }
        // The value need not end with a zero: compare only the bytes the
        // query returned, up to the first zero among them.
        if (size > DRIVER_NAME_SIZE) {
            size = DRIVER_NAME_SIZE;
        }
        length = 0;
        while (length < size && driverName[length] != '\0') {
            length++;
        }
        if (length != (UINT)lstrlen(BOARD_DRIVER) ||
            memcmp(driverName, BOARD_DRIVER, length) != 0) {
            continue;
        }
        for (j = 0; j < COUNT(displayClassSubkeys); j++) {
            wsprintf(path, "%s\\%s", classKey, displayClassSubkeys[j]);
            RegDeleteKey(HKEY_LOCAL_MACHINE, path);
        }
        RegDeleteKey(HKEY_LOCAL_MACHINE, classKey);
    }

    RegDeleteKey(HKEY_LOCAL_MACHINE, UNINSTALL_KEY);

    if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, RUN_KEY, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValue(key, RUN_VALUE);
        RegCloseKey(key);
    }

    // A directory too long for the limit is not copied at all: its files are
    // left alone rather than deleted under a partial path.
    for (i = 0; i < COUNT(systemFiles); i++) {
        length = GetSystemDirectory(path, DIRECTORY_LIMIT);
        if (length == 0 || length >= DIRECTORY_LIMIT) {
            continue;
        }
        lstrcat(path, systemFiles[i]);
        DeleteFile(path);
    }
    for (i = 0; i < COUNT(infFiles); i++) {
        length = GetWindowsDirectory(path, DIRECTORY_LIMIT);
        if (length == 0 || length >= DIRECTORY_LIMIT) {
            continue;
        }
        lstrcat(path, infFiles[i]);
        DeleteFile(path);
    }

    // Unlike the confirmation, only an explicit Yes restarts.
    if (cmdLine == NULL || cmdLine[0] == '\0') {
        if (MessageBoxEx(NULL, selected->restartText, CAPTION,
                         MB_YESNO | MB_ICONINFORMATION | MB_SYSTEMMODAL,
                         selected->boxLanguage) == IDYES) {
            ExitWindowsEx(EWX_REBOOT, 0);
        }
    }
    return 0;
}
