#include "correction/settings.h"

#include <limits.h>

#define CORRECTION_KEY "Software\\Veridane\\Corvantis"
#define UTILITY_KEY "Software\\Veridane\\Lumivex"

#define VALUE_BUFFER_SIZE 180
#define POSITION_BUFFER_SIZE 80
#define NUMBER_TEXT_SIZE 40

// The dialog is kept this far from the right and bottom screen edges.
#define POSITION_MARGIN_X 120
#define POSITION_MARGIN_Y 90

CorrectionSettings correctionSettings;
BYTE colorDepth;
BYTE paletteMax;
int activeTarget;
RECT dialogPosition;

static const char* const onOffNames[2] = {"GAMMA_ON/OFF", "CHROMA_ON/OFF"};
static const char* const typeNames[2] = {"GAMMA_CorrectionType", "CHROMA_CorrectionType"};
static const char* const brightNames[2] = {"GAMMA_PalBrightCtrls", "CHROMA_PalBrightCtrls"};
static const char* const contrastNames[2] = {"GAMMA_PalContrastCtrls", "CHROMA_PalContrastCtrls"};
static const char* const lockNames[2] = {"GAMMA_LOCK", "CHROMA_LOCK"};

static ChannelTriple* TargetTriple(ChannelTriple* slots, int target) {
    if (target < Desktop || target > Video) {
        return NULL;
    }
    int kind = correctionSettings.targets[target].paletteKind;
    if (kind != Palette256 && kind != Palette32) {
        return NULL;
    }
    return &slots[kind - 1];
}

ChannelTriple* TargetBrightness(int target) {
    return TargetTriple(correctionSettings.palBrightCtrls, target);
}

ChannelTriple* TargetContrast(int target) {
    return TargetTriple(correctionSettings.palContrastCtrls, target);
}

static BOOL IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads the decimal numbers of a stored text from left to right, as the
// formatted-input family does with "%d %d ...": blanks are skipped, each number
// may carry a sign, and reading stops at the first place without a number.
// Unlike a bare sscanf, a number beyond the 32-bit range saturates instead of
// being undefined. Returns how many numbers were stored into fields.
static int ParseNumbers(const char* text, int* fields[], int count) {
    const char* p = text;
    int parsed = 0;
    while (parsed < count) {
        while (IsBlank(*p)) {
            p++;
        }
        BOOL negative = FALSE;
        if (*p == '+' || *p == '-') {
            negative = *p == '-';
            p++;
        }
        if (*p < '0' || *p > '9') {
            break;
        }
        long long value = 0;
        while (*p >= '0' && *p <= '9') {
            if (value <= (long long)INT_MAX + 1) {
                value = value * 10 + (*p - '0');
            }
            p++;
        }
        if (negative) {
            value = -value;
        }
        if (value > INT_MAX) {
            value = INT_MAX;
        } else if (value < INT_MIN) {
            value = INT_MIN;
        }
        *fields[parsed] = (int)value;
        parsed++;
    }
    return parsed;
}

// Reads one value as text. A missing value, or one longer than the buffer,
// leaves the fields as they are.
static void ReadNumbers(HKEY key, const char* name, DWORD bufferSize, int* fields[], int count) {
    // One byte beyond the read buffer keeps a value without a terminator
    // readable as text.
    char text[VALUE_BUFFER_SIZE + 1];
    DWORD size = bufferSize;
    if (RegQueryValueEx(key, name, NULL, NULL, (LPBYTE)text, &size) != ERROR_SUCCESS) {
        return;
    }
    text[size <= bufferSize ? size : bufferSize] = '\0';
    ParseNumbers(text, fields, count);
}

static void ReadNumber(HKEY key, const char* name, int* field) {
    int* fields[1] = {field};
    ReadNumbers(key, name, VALUE_BUFFER_SIZE, fields, 1);
}

static void ReadTriple(HKEY key, const char* name, ChannelTriple* triple) {
    if (triple == NULL) {
        return;
    }
    int* fields[3] = {&triple->r, &triple->g, &triple->b};
    ReadNumbers(key, name, VALUE_BUFFER_SIZE, fields, 3);
}

static void WriteText(HKEY key, const char* name, const char* text) {
    RegSetValueEx(key, name, 0, REG_SZ, (const BYTE*)text, (DWORD)(lstrlen(text) + 1));
}

static void WriteNumber(HKEY key, const char* name, int value) {
    char text[NUMBER_TEXT_SIZE];
    wsprintf(text, "%d", value);
    WriteText(key, name, text);
}

static void WriteTriple(HKEY key, const char* name, const ChannelTriple* triple) {
    char text[NUMBER_TEXT_SIZE];
    if (triple == NULL) {
        return;
    }
    wsprintf(text, "%d %d %d", triple->r, triple->g, triple->b);
    WriteText(key, name, text);
}

// Creates or opens one of the two keys with full access. Returns FALSE when
// the registry refuses; *created tells whether the key is new.
static BOOL OpenStoreKey(const char* path, HKEY* key, BOOL* created) {
    char noClass[1] = "";
    DWORD disposition = 0;
    if (RegCreateKeyEx(HKEY_LOCAL_MACHINE, path, 0, noClass, REG_OPTION_NON_VOLATILE,
                       KEY_ALL_ACCESS, NULL, key, &disposition) != ERROR_SUCCESS) {
        return FALSE;
    }
    if (created != NULL) {
        *created = disposition == REG_CREATED_NEW_KEY;
    }
    return TRUE;
}

void LoadCorrectionSettings() {
    HKEY key;
    BOOL created;
    int target;

    if (OpenStoreKey(CORRECTION_KEY, &key, &created)) {
        if (created) {
            for (target = Desktop; target <= Video; target++) {
                correctionSettings.targets[target].on = 0;
                correctionSettings.targets[target].correctionType = 0;
                correctionSettings.palBrightCtrls[target].r = 0;
                correctionSettings.palBrightCtrls[target].g = 0;
                correctionSettings.palBrightCtrls[target].b = 0;
                correctionSettings.palContrastCtrls[target].r = 0;
                correctionSettings.palContrastCtrls[target].g = 0;
                correctionSettings.palContrastCtrls[target].b = 0;
            }
        } else {
            // The video target's values come first, as the companion panel
            // lays them out.
            for (target = Video; target >= Desktop; target--) {
                ReadNumber(key, onOffNames[target], &correctionSettings.targets[target].on);
                ReadNumber(key, typeNames[target],
                           &correctionSettings.targets[target].correctionType);
                ReadTriple(key, brightNames[target], TargetBrightness(target));
                ReadTriple(key, contrastNames[target], TargetContrast(target));
            }
        }
        RegCloseKey(key);
    }

    if (OpenStoreKey(UTILITY_KEY, &key, &created)) {
        if (created) {
            correctionSettings.targets[Desktop].lock = 0;
            correctionSettings.targets[Video].lock = 0;
        } else {
            ReadNumber(key, lockNames[Video], &correctionSettings.targets[Video].lock);
            ReadNumber(key, lockNames[Desktop], &correctionSettings.targets[Desktop].lock);
        }
        RegCloseKey(key);
    }
}

void SaveCorrectionSettings() {
    HKEY key;
    int target;

    if (OpenStoreKey(CORRECTION_KEY, &key, NULL)) {
        for (target = Video; target >= Desktop; target--) {
            WriteNumber(key, onOffNames[target], correctionSettings.targets[target].on);
            WriteNumber(key, typeNames[target], correctionSettings.targets[target].correctionType);
            WriteTriple(key, brightNames[target], TargetBrightness(target));
            WriteTriple(key, contrastNames[target], TargetContrast(target));
        }
        RegCloseKey(key);
    }

    // Opened, not created: every load creates it, and a key removed since
    // then is not brought back here.
    if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, UTILITY_KEY, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        WriteNumber(key, lockNames[Video], correctionSettings.targets[Video].lock);
        WriteNumber(key, lockNames[Desktop], correctionSettings.targets[Desktop].lock);
        RegCloseKey(key);
    }
}

void LoadDialogPosition() {
    HKEY key;
    BOOL opened = OpenStoreKey(UTILITY_KEY, &key, NULL);
    if (opened) {
        int left = (int)dialogPosition.left;
        int top = (int)dialogPosition.top;
        int* fields[2] = {&left, &top};
        ReadNumbers(key, "Dialog Position", POSITION_BUFFER_SIZE, fields, 2);
        dialogPosition.left = left;
        dialogPosition.top = top;
    }

    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    if (dialogPosition.left >= width - POSITION_MARGIN_X) {
        dialogPosition.left = width - POSITION_MARGIN_X;
    }
    if (dialogPosition.top >= height - POSITION_MARGIN_Y) {
        dialogPosition.top = height - POSITION_MARGIN_Y;
    }

    if (opened) {
        RegCloseKey(key);
    }
}

void SaveDialogPosition(HWND dialog) {
    HKEY key;
    char text[NUMBER_TEXT_SIZE];

    GetWindowRect(dialog, &dialogPosition);
    if (OpenStoreKey(UTILITY_KEY, &key, NULL)) {
        wsprintf(text, "%d %d", (int)dialogPosition.left, (int)dialogPosition.top);
        WriteText(key, "Dialog Position", text);
        RegCloseKey(key);
    }
}
