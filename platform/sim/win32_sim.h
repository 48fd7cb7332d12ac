// Our simulated Windows 95: every declaration the programs use, by module.
#pragma once

#include "platform/sim/types.h"
#include "platform/sim/system.h"
#include "platform/sim/registry.h"
#include "platform/sim/files.h"
#include "platform/sim/version.h"
#include "platform/sim/resources.h"
#include "platform/sim/user.h"
#include "platform/sim/msgbox.h"
#include "platform/sim/gdi.h"
#include "platform/sim/shell.h"
