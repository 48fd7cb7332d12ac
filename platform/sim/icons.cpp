// Icons loaded from the program's icon-group resources.
#include <cstdlib>
#include <map>

#include "platform/sim/resources.h"
#include "platform/sim/system.h"
#include "platform/sim/ui.h"
#include "platform/sim/wm.h"

namespace {

struct Icon {
    HINSTANCE instance = nullptr;
    WORD resourceId = 0; // 0 for a system icon
    SIZE size{32, 32};
};

struct IconState {
    std::map<uintptr_t, Icon> icons;
    uintptr_t nextHandle = 0x30010;
};

IconState& Icons() {
    static IconState state;
    return state;
}

HICON NewIcon(const Icon& icon) {
    IconState& state = Icons();
    uintptr_t handle = state.nextHandle;
    state.nextHandle += 0x10;
    state.icons[handle] = icon;
    return reinterpret_cast<HICON>(handle);
}

const Icon* FindIcon(HICON icon) {
    auto it = Icons().icons.find(reinterpret_cast<uintptr_t>(icon));
    return it == Icons().icons.end() ? nullptr : &it->second;
}

} // namespace

// Icons from resources are shared, as the platform's LoadIcon makes them: the
// same resource gives the same handle until it is destroyed.
HICON LoadIcon(HINSTANCE instance, LPCSTR name) {
    IconState& state = Icons();
    if (name == nullptr || !IS_INTRESOURCE(name)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    WORD id = LOWORD(reinterpret_cast<ULONG_PTR>(name));
    if (instance == nullptr && name != IDI_APPLICATION) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    WORD resourceId = instance == nullptr ? 0 : id;
    for (const auto& [handle, icon] : state.icons) {
        if (icon.instance == instance && icon.resourceId == resourceId) {
            return reinterpret_cast<HICON>(handle);
        }
    }
    if (instance == nullptr) {
        return NewIcon(Icon{nullptr, 0, SIZE{32, 32}});
    }
    std::optional<sim::ResourceData> group = sim::FindResourceData(instance, RT_GROUP_ICON, id);
    std::vector<sim::IconGroupEntry> entries;
    if (!group || !sim::ParseIconGroup(group->data, group->size, &entries) || entries.empty()) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    // The image nearest the standard icon size, 32 x 32.
    const sim::IconGroupEntry* best = &entries.front();
    for (const sim::IconGroupEntry& e : entries) {
        int width = e.width == 0 ? 256 : e.width;
        int bestWidth = best->width == 0 ? 256 : best->width;
        if (std::abs(width - 32) < std::abs(bestWidth - 32)) {
            best = &e;
        }
    }
    Icon icon;
    icon.instance = instance;
    icon.resourceId = id;
    icon.size = SIZE{best->width == 0 ? 256 : best->width, best->height == 0 ? 256 : best->height};
    return NewIcon(icon);
}

BOOL DestroyIcon(HICON icon) {
    if (Icons().icons.erase(reinterpret_cast<uintptr_t>(icon)) == 0) {
        SetLastError(1402); // ERROR_INVALID_CURSOR_HANDLE
        return FALSE;
    }
    return TRUE;
}

namespace sim::ui {

WORD IconResourceId(HICON icon) {
    const Icon* i = FindIcon(icon);
    return i != nullptr ? i->resourceId : 0;
}

SIZE IconSize(HICON icon) {
    const Icon* i = FindIcon(icon);
    return i != nullptr ? i->size : SIZE{0, 0};
}

size_t LiveIconCount() {
    return Icons().icons.size();
}

} // namespace sim::ui
