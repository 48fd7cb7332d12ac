#include "adapter/detection.h"

#include <string.h>

#include "tray/debug_log.h"

#define SEQUENCER_INDEX_PORT 0x3C4
#define SEQUENCER_DATA_PORT 0x3C5
#define SIGNATURE_REGISTER_1 0x11
#define SIGNATURE_REGISTER_2 0x12
#define SIGNATURE_LETTER_1 'K'
#define SIGNATURE_LETTER_2 'T'

#define DRIVER_FILE_NAME "VOLDRA.DRV"
#define PANEL_FILE_NAME "QV26cpl.DLL"

#define VERSION_BUFFER_SIZE 512
#define VG_REPLY_SIZE 12

AdapterInfo adapterInfo;
char systemDirectory[SYSTEM_DIRECTORY_SIZE];

static int AdapterEscape(HDC dc, LPCSTR code, int outputSize, LPSTR output) {
    // The code's two letters and its terminating zero.
    return ExtEscape(dc, ADAPTER_ESCAPE, 3, code, outputSize, output);
}

// The chip's signature "KT" in sequencer registers 0x11 and 0x12. Only the
// index is written, and it is put back.
static int TestChipSignature() {
    BYTE savedIndex = PortInByte(SEQUENCER_INDEX_PORT);
    int result = 0;

    PortOutByte(SEQUENCER_INDEX_PORT, SIGNATURE_REGISTER_1);
    if (PortInByte(SEQUENCER_DATA_PORT) == SIGNATURE_LETTER_1) {
        PortOutByte(SEQUENCER_INDEX_PORT, SIGNATURE_REGISTER_2);
        if (PortInByte(SEQUENCER_DATA_PORT) == SIGNATURE_LETTER_2) {
            result = 1;
        }
    }
    PortOutByte(SEQUENCER_INDEX_PORT, savedIndex);
    return result;
}

int ProbeAdapter() {
    HDC dc = GetDC(NULL);
    int result = AdapterEscape(dc, "IC", 0, NULL);

    if (result == 0) {
        result = TestChipSignature();
    }
    ReleaseDC(NULL, dc);
    return result;
}

void LocateSystemDirectory() {
    UINT length = GetSystemDirectory(systemDirectory, SYSTEM_DIRECTORY_SIZE);

    // Too long for the buffer (nothing was copied), or no room for the
    // backslash: no directory, so neither file is looked for.
    if (length == 0 || length >= SYSTEM_DIRECTORY_SIZE) {
        systemDirectory[0] = '\0';
        return;
    }
    if (systemDirectory[length - 1] != '\\') {
        if (length + 1 >= SYSTEM_DIRECTORY_SIZE) {
            systemDirectory[0] = '\0';
            return;
        }
        systemDirectory[length] = '\\';
        systemDirectory[length + 1] = '\0';
    }
}

// The file's path in the system directory; an empty path when there is no
// directory or the two do not fit the buffer.
static void ComposeSystemFilePath(LPSTR path, LPCSTR fileName) {
    if (systemDirectory[0] == '\0' ||
        lstrlen(systemDirectory) + lstrlen(fileName) >= ADAPTER_FILE_PATH_SIZE) {
        path[0] = '\0';
        return;
    }
    wsprintf(path, "%s%s", systemDirectory, fileName);
}

// The product version from the file's fixed version information; FALSE for a
// missing file, one without a version resource or without the root block.
static BOOL ReadProductVersion(LPCSTR path, DWORD* versionMS, DWORD* versionLS) {
    BYTE block[VERSION_BUFFER_SIZE];
    DWORD handle;
    VS_FIXEDFILEINFO* fixedInfo;
    UINT fixedInfoSize;

    if (path[0] == '\0' || GetFileAttributes(path) == INVALID_FILE_ATTRIBUTES) {
        return FALSE;
    }
    if (GetFileVersionInfoSize(path, &handle) == 0) {
        return FALSE;
    }
    if (!GetFileVersionInfo(path, handle, sizeof block, block)) {
        return FALSE;
    }
    if (!VerQueryValue(block, "\\", (LPVOID*)&fixedInfo, &fixedInfoSize) ||
        fixedInfoSize < sizeof(VS_FIXEDFILEINFO)) {
        return FALSE;
    }
    *versionMS = fixedInfo->dwProductVersionMS;
    *versionLS = fixedInfo->dwProductVersionLS;
    return TRUE;
}

static void QueryDisplayDriver(AdapterInfo* info, LPCSTR path) {
    // One zeroed block per escape: a driver that succeeds without filling its
    // block must give zeros, not stack junk or the previous reply.
    BYTE bvBlock[4] = {0};
    BYTE idBlock[4] = {0};
    char vgBlock[VG_REPLY_SIZE] = {0};
    DWORD versionMS;
    DWORD versionLS;
    int result;
    HDC dc = GetDC(NULL);

    result = AdapterEscape(dc, "MS", 0, NULL);
    info->msReply = (DWORD)(result & 0xFF) << 16;
    if (AdapterEscape(dc, "BV", sizeof bvBlock, (LPSTR)bvBlock) > 0) {
        memcpy(info->bvReply, bvBlock, sizeof bvBlock);
    }
    if (AdapterEscape(dc, "ID", sizeof idBlock, (LPSTR)idBlock) > 0) {
        info->idWord = (WORD)(idBlock[0] | idBlock[1] << 8);
        info->chipId = (WORD)(idBlock[2] | idBlock[3] << 8);
    }
    info->driverQueried = 1;
    ReleaseDC(NULL, dc);

    if (ReadProductVersion(path, &versionMS, &versionLS)) {
        info->driverVersion[0] = HIWORD(versionMS);
        info->driverVersion[1] = LOWORD(versionMS);
        info->driverVersion[2] = LOWORD(versionLS);
    }

    dc = GetDC(NULL);
    result = AdapterEscape(dc, "VG", sizeof vgBlock, vgBlock);
    if (result == 0) {
        DebugLog("ExtEscape not implemented.");
    } else if (result < 0) {
        DebugLog("Error in ExtEscape.");
        DebugLog("Error number = %x ", (UINT)GetLastError());
    } else {
        info->vgReply = (BYTE)vgBlock[0];
    }
    ReleaseDC(NULL, dc);
}

static void QueryControlPanel(AdapterInfo* info, LPCSTR path) {
    DWORD versionMS;
    DWORD versionLS;

    if (ReadProductVersion(path, &versionMS, &versionLS)) {
        info->panelVersion[0] = HIWORD(versionMS);
        info->panelVersion[1] = LOWORD(versionMS);
        info->panelVersion[2] = HIWORD(versionLS);
        info->panelVersion[3] = LOWORD(versionLS);
    }
}

void QueryAdapterFile(AdapterInfo* info, LPCSTR path) {
    int length = lstrlen(path);

    if (length > 0 && path[length - 1] == 'V') {
        QueryDisplayDriver(info, path);
    } else {
        QueryControlPanel(info, path);
    }
}

void DetectAdapter() {
    char driverPath[ADAPTER_FILE_PATH_SIZE];
    char panelPath[ADAPTER_FILE_PATH_SIZE];

    LocateSystemDirectory();
    ComposeSystemFilePath(driverPath, DRIVER_FILE_NAME);
    ComposeSystemFilePath(panelPath, PANEL_FILE_NAME);
    // The driver's escapes are issued even when its path did not fit.
    if (driverPath[0] != '\0') {
        QueryAdapterFile(&adapterInfo, driverPath);
    } else {
        QueryDisplayDriver(&adapterInfo, driverPath);
    }
    QueryAdapterFile(&adapterInfo, panelPath);
}
