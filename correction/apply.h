// Bringing the stored corrections into the hardware: which palette carries
// which target at the present colour depth, and the routing of each target
// through its palette.
#pragma once

#include "platform/win32.h"

// Resets both palettes to their ramps, assigns the palette kinds from
// colorDepth, reloads the settings and applies every target that is on. Runs
// at every mode deeper than 8 bits per pixel; keeps activeTarget.
void InitCorrections();

// Computes and writes the palette of every target that is on and routes the
// target through it.
void ApplyEnabledTargets();

// Routes target (Desktop or Video) through its palette kind when on is
// nonzero, through no palette when it is 0. Leaves activeTarget at target.
void SwitchTargetSource(int target, int on);
