// gdi module of the simulated Windows 95 (filled in as the programs need it).
#pragma once

#include "platform/sim/types.h"
