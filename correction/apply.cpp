#include "correction/apply.h"

#include "adapter/extended_registers.h"
#include "correction/curves.h"
#include "correction/settings.h"

// Bit 4 of register 0xE0: the palettes carry 8-bit components.
#define PALETTE_CONTROL_OR 0x10
#define PALETTE_CONTROL_AND 0xFF
#define PALETTE_COMPONENT_MAX 255

// Only exactly 16 bits per pixel sends the desktop through the 32-entry
// palette; 15, 24 and 32 all use the 256-entry one for it.
#define SWAPPED_DEPTH 16

void InitCorrections() {
    paletteControlOrMask = PALETTE_CONTROL_OR;
    paletteMax = PALETTE_COMPONENT_MAX;
    paletteControlAndMask = PALETTE_CONTROL_AND;

    PreparePalette256();
    PreparePalette32();

    if (colorDepth == SWAPPED_DEPTH) {
        correctionSettings.targets[Desktop].paletteKind = Palette32;
        correctionSettings.targets[Video].paletteKind = Palette256;
    } else {
        correctionSettings.targets[Desktop].paletteKind = Palette256;
        correctionSettings.targets[Video].paletteKind = Palette32;
    }

    LoadCorrectionSettings();
    ApplyEnabledTargets();
}

void ApplyEnabledTargets() {
    int keptTarget = activeTarget;
    for (int target = Desktop; target <= Video; target++) {
        if (correctionSettings.targets[target].on == 0) {
            continue;
        }
        int kind = correctionSettings.targets[target].paletteKind;
        if (kind == Palette256) {
            CorrectPalette256(TargetBrightness(target), TargetContrast(target), baseTable256);
        } else if (kind == Palette32) {
            CorrectPalette32(TargetBrightness(target), TargetContrast(target), baseTable32);
        } else {
            // No palette assigned yet: nothing to route the target through.
            continue;
        }
        SwitchTargetSource(target, 1);
    }
    activeTarget = keptTarget;
}

void SwitchTargetSource(int target, int on) {
    if (target != Desktop && target != Video) {
        return;
    }
    activeTarget = target;
    SelectPaletteSource(on ? correctionSettings.targets[target].paletteKind : 0);
}
