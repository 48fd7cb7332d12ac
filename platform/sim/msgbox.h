// Message boxes of the simulated Windows 95.
#pragma once

#include "platform/sim/types.h"
