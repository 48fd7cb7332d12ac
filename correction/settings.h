// The correction settings of both targets, the state the correction engine and
// the dialog share, and their registry store.
#pragma once

#include "platform/win32.h"

enum CorrectionTarget { Desktop = 0, Video = 1 };
enum CorrectionType { Brightness = 0, Contrast = 1 };
enum PaletteKind { Palette256 = 1, Palette32 = 2 };

// Offsets R, G, B, each -64..64 when set by the dialog; values from the store
// are taken as they come.
struct ChannelTriple {
    int r;
    int g;
    int b;
};

struct TargetSettings {
    int on;             // 1 on, 0 off
    int lock;           // 1: the dialog moves the three channels together
    int correctionType; // CorrectionType shown and edited by the dialog
    int paletteKind;    // PaletteKind at the present depth; 0 until first assigned
};

// The triples are held per palette kind, not per target: slot 0 for kind 1,
// slot 1 for kind 2. A target reaches its own through its paletteKind.
struct CorrectionSettings {
    TargetSettings targets[2];
    ChannelTriple palBrightCtrls[2];
    ChannelTriple palContrastCtrls[2];
};

extern CorrectionSettings correctionSettings;

extern BYTE colorDepth;     // the screen's bits per pixel
extern BYTE paletteMax;     // largest palette component; 255 once corrections are on
extern int activeTarget;    // the target the dialog edits and SelectPaletteSource works on
extern RECT dialogPosition; // the correction dialog's last screen rectangle

// A target's brightness or contrast triple through its present palette kind;
// NULL for a target outside 0..1 or a kind that is not 1 or 2 (not assigned yet).
ChannelTriple* TargetBrightness(int target);
ChannelTriple* TargetContrast(int target);

void LoadCorrectionSettings();
void SaveCorrectionSettings();
void LoadDialogPosition();
void SaveDialogPosition(HWND dialog);
