// The simulated board of the Windows build for systems without direct port
// access (lumivex_model.exe): its ports and its display driver's escape.
#pragma once

#include "platform/adapter_model/board.h"

adapter_model::Board& ModelBoard();
