#include "platform/sim/resources.h"

namespace {

struct ResourceSection {
    const unsigned char* data = nullptr;
    size_t size = 0;
};

ResourceSection& Section() {
    static ResourceSection section;
    return section;
}

} // namespace

namespace sim {

HINSTANCE ModuleInstance() {
    return reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(0x00400000));
}

bool RegisterModuleResources(const void* data, size_t size) {
    Section().data = static_cast<const unsigned char*>(data);
    Section().size = size;
    return true;
}

} // namespace sim
