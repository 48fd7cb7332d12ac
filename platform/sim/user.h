// The window manager side (USER) of the simulated Windows 95.
#pragma once

#include <string>

#include "platform/sim/types.h"

#define WM_USER 0x0400

// Same name, same id, from 0xC000 up; names compare without regard to case.
// Safe to call during static initialisation.
UINT RegisterWindowMessage(LPCSTR name);

namespace sim {

// The name registered under a message id, or "" for an id that is not one.
std::string RegisteredMessageName(UINT id);

} // namespace sim
