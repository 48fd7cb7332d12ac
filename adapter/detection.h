// Detection of a supported adapter: the display driver's private escape, the
// chip's signature in the VGA sequencer and the version resources of the
// display driver and the control panel's library.
#pragma once

#include "platform/win32.h"

// The display driver's private escape; its input is a two-letter code and a zero.
#define ADAPTER_ESCAPE 32990

// The system directory with a trailing backslash, terminator included.
#define SYSTEM_DIRECTORY_SIZE 127
// A composed file path, terminator included.
#define ADAPTER_FILE_PATH_SIZE 40

// What detection learns of the adapter; zero at start, filled by DetectAdapter.
struct AdapterInfo {
    WORD idWord;           // first word of the "ID" reply
    WORD chipId;           // second word of the "ID" reply; 0x5D17 or above is supported
    DWORD msReply;         // low byte of the "MS" result, shifted left by 16
    BYTE driverQueried;    // 1 once the driver's escapes have been issued
    BYTE bvReply[4];       // the "BV" reply
    WORD panelVersion[4];  // the control panel library's product version
    WORD driverVersion[3]; // the display driver's product version, without its third word
    DWORD vgReply;         // byte 0 of the "VG" reply
};

extern AdapterInfo adapterInfo;
// Empty when the system directory does not fit: the two files then count as missing.
extern char systemDirectory[SYSTEM_DIRECTORY_SIZE];

// Nonzero when the adapter answers: the driver's "IC" result, else 1 when the
// sequencer shows the chip's signature.
int ProbeAdapter();
void DetectAdapter();
void LocateSystemDirectory();
// A path ending in 'V' is the display driver: its escapes are issued and its
// version read; any other path is the control panel's library.
void QueryAdapterFile(AdapterInfo* info, LPCSTR path);
