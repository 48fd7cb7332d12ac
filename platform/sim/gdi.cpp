#include "platform/sim/gdi.h"

#include <set>

#include "platform/sim/system.h"

namespace {

struct DeviceContext {
    HWND window = nullptr;
};

struct GdiState {
    int bitsPerPixel = 16;
    std::set<DeviceContext*> dcs;
};

GdiState& Gdi() {
    static GdiState state;
    return state;
}

} // namespace

HDC GetDC(HWND window) {
    auto* dc = new DeviceContext{window};
    Gdi().dcs.insert(dc);
    return reinterpret_cast<HDC>(dc);
}

int ReleaseDC(HWND /*window*/, HDC dc) {
    auto* p = reinterpret_cast<DeviceContext*>(dc);
    if (Gdi().dcs.erase(p) == 0) {
        return 0;
    }
    delete p;
    return 1;
}

int GetDeviceCaps(HDC dc, int index) {
    if (Gdi().dcs.count(reinterpret_cast<DeviceContext*>(dc)) == 0) {
        return 0;
    }
    switch (index) {
    case BITSPIXEL:
        return Gdi().bitsPerPixel;
    case PLANES:
        return 1;
    case HORZRES:
        return GetSystemMetrics(SM_CXSCREEN);
    case VERTRES:
        return GetSystemMetrics(SM_CYSCREEN);
    default:
        return 0;
    }
}

namespace sim::display {

void SetBitsPerPixel(int bitsPerPixel) {
    Gdi().bitsPerPixel = bitsPerPixel;
}

int BitsPerPixel() {
    return Gdi().bitsPerPixel;
}

size_t OpenDCCount() {
    return Gdi().dcs.size();
}

} // namespace sim::display
