// The one simulated board of the simulated machine: the port seam of
// platform/ports.h and the display driver's escape (ExtEscape, escape 32990)
// reach it. Tests set it up and read it back through TheBoard(); see
// platform/adapter_model/board.h for what it offers.
#pragma once

#include "platform/adapter_model/board.h"

namespace sim {

adapter_model::Board& TheBoard();

} // namespace sim
