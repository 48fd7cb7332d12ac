// The resource loader of the simulated Windows 95.
#pragma once

#include <cstddef>

#include "platform/sim/types.h"

namespace sim {

// The program's instance handle, as its entry point receives it.
HINSTANCE ModuleInstance();

// Hands the program's compiled resource section (a .res file's bytes) to the
// loader. Called once, during static initialisation, by the generated source
// that embeds the resources. Returns true.
bool RegisterModuleResources(const void* data, size_t size);

} // namespace sim
