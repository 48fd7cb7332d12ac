// Menus: creation, items, and TrackPopupMenu's modal loop, in which the
// scripted user chooses an item or dismisses the menu.
#include <map>
#include <memory>

#include "platform/sim/system.h"
#include "platform/sim/ui.h"
#include "platform/sim/wm.h"

using namespace sim::wm;

namespace {

struct MenuItem {
    UINT flags = 0;
    UINT_PTR id = 0;
    std::string text;
    HMENU submenu = nullptr;
};

struct Menu {
    bool popup = true;
    std::vector<MenuItem> items;
};

struct MenuState {
    std::map<uintptr_t, std::unique_ptr<Menu>> menus;
    uintptr_t nextHandle = 0x20010;
    std::vector<sim::ui::TrackedMenu> tracked;
    bool tracking = false;
};

MenuState& Menus() {
    static MenuState state;
    return state;
}

Menu* FindMenu(HMENU menu) {
    auto it = Menus().menus.find(reinterpret_cast<uintptr_t>(menu));
    return it == Menus().menus.end() ? nullptr : it->second.get();
}

HMENU NewMenu(bool popup) {
    MenuState& state = Menus();
    auto handle = state.nextHandle;
    state.nextHandle += 0x10;
    auto menu = std::make_unique<Menu>();
    menu->popup = popup;
    state.menus[handle] = std::move(menu);
    return reinterpret_cast<HMENU>(handle);
}

std::vector<sim::ui::MenuItemRecord> Snapshot(HMENU handle, int depth = 0) {
    std::vector<sim::ui::MenuItemRecord> out;
    Menu* menu = FindMenu(handle);
    if (menu == nullptr || depth > 8) {
        return out;
    }
    for (const MenuItem& item : menu->items) {
        sim::ui::MenuItemRecord record;
        record.flags = item.flags;
        record.id = item.id;
        record.text = item.text;
        if (item.submenu != nullptr) {
            record.submenu = Snapshot(item.submenu, depth + 1);
        }
        out.push_back(record);
    }
    return out;
}

const MenuItem* FindCommand(HMENU handle, UINT_PTR id, int depth = 0) {
    Menu* menu = FindMenu(handle);
    if (menu == nullptr || depth > 8) {
        return nullptr;
    }
    for (const MenuItem& item : menu->items) {
        if (item.submenu != nullptr) {
            if (const MenuItem* found = FindCommand(item.submenu, id, depth + 1)) {
                return found;
            }
        } else if ((item.flags & MF_SEPARATOR) == 0 && item.id == id) {
            return &item;
        }
    }
    return nullptr;
}

std::string Describe(const std::vector<sim::ui::MenuItemRecord>& items) {
    std::string out;
    for (const auto& item : items) {
        if (!out.empty()) {
            out += ", ";
        }
        if (item.flags & MF_SEPARATOR) {
            out += "separator";
        } else if (item.flags & MF_POPUP) {
            out += "\"" + item.text + "\" [" + Describe(item.submenu) + "]";
        } else {
            out += std::to_string(item.id) + " \"" + item.text + "\"";
        }
    }
    return out;
}

} // namespace

HMENU CreatePopupMenu() {
    return NewMenu(true);
}

HMENU CreateMenu() {
    return NewMenu(false);
}

BOOL DestroyMenu(HMENU handle) {
    Menu* menu = FindMenu(handle);
    if (menu == nullptr) {
        SetLastError(1401); // ERROR_INVALID_MENU_HANDLE
        return FALSE;
    }
    std::vector<HMENU> submenus;
    for (const MenuItem& item : menu->items) {
        if (item.submenu != nullptr) {
            submenus.push_back(item.submenu);
        }
    }
    Menus().menus.erase(reinterpret_cast<uintptr_t>(handle));
    // Submenus go with their menu.
    for (HMENU sub : submenus) {
        if (FindMenu(sub) != nullptr) {
            DestroyMenu(sub);
        }
    }
    return TRUE;
}

BOOL AppendMenu(HMENU handle, UINT flags, UINT_PTR idNewItem, LPCSTR item) {
    Menu* menu = FindMenu(handle);
    if (menu == nullptr) {
        SetLastError(1401);
        return FALSE;
    }
    MenuItem entry;
    entry.flags = flags;
    entry.id = idNewItem;
    if (flags & MF_POPUP) {
        entry.submenu = reinterpret_cast<HMENU>(idNewItem);
        if (FindMenu(entry.submenu) == nullptr) {
            SetLastError(1401);
            return FALSE;
        }
    }
    // Bitmap and owner-drawn items carry a handle or data instead of text.
    if ((flags & (MF_SEPARATOR | MF_BITMAP | MF_OWNERDRAW)) == 0 && item != nullptr) {
        entry.text = item;
    }
    menu->items.push_back(entry);
    return TRUE;
}

int GetMenuItemCount(HMENU handle) {
    Menu* menu = FindMenu(handle);
    return menu != nullptr ? static_cast<int>(menu->items.size()) : -1;
}

UINT GetMenuItemID(HMENU handle, int position) {
    Menu* menu = FindMenu(handle);
    if (menu == nullptr || position < 0 || static_cast<size_t>(position) >= menu->items.size()) {
        return static_cast<UINT>(-1);
    }
    const MenuItem& item = menu->items[static_cast<size_t>(position)];
    if (item.submenu != nullptr) {
        return static_cast<UINT>(-1);
    }
    if (item.flags & MF_SEPARATOR) {
        return 0;
    }
    return static_cast<UINT>(item.id);
}

BOOL TrackPopupMenu(HMENU handle, UINT flags, int x, int y, int /*reserved*/, HWND owner,
                    const RECT* /*excludeRect*/) {
    MenuState& state = Menus();
    if (FindMenu(handle) == nullptr || Find(owner) == nullptr) {
        SetLastError(1401);
        return FALSE;
    }
    // One menu at a time.
    if (state.tracking) {
        return FALSE;
    }
    state.tracked.push_back(sim::ui::TrackedMenu{Snapshot(handle), flags, x, y, owner, 0});
    size_t index = state.tracked.size() - 1;
    if ((flags & TPM_NONOTIFY) == 0) {
        SendMessage(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(handle), 0);
    }

    Frame frame;
    frame.kind = Frame::Kind::Menu;
    frame.window = owner;
    frame.menu = handle;
    frame.description =
        "TrackPopupMenu's modal loop (menu: " + Describe(state.tracked[index].items) + ")";
    state.tracking = true;
    RunModalLoop(frame, nullptr, nullptr);
    state.tracking = false;

    UINT_PTR chosen = frame.result > 0 ? static_cast<UINT_PTR>(frame.result) : 0;
    state.tracked[index].chosen = chosen;
    if (flags & TPM_RETURNCMD) {
        return static_cast<BOOL>(chosen);
    }
    // The choice reaches the owner afterwards, through its queue.
    if (chosen != 0 && Find(owner) != nullptr) {
        PostMessage(owner, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
    }
    return TRUE;
}

namespace sim::wm {

bool ChooseMenuCommand(UINT_PTR commandId, std::string* why) {
    Frame* frame = InnermostFrame();
    if (frame == nullptr || frame->kind != Frame::Kind::Menu) {
        *why = "no popup menu is open";
        return false;
    }
    const MenuItem* item = FindCommand(frame->menu, commandId);
    if (item == nullptr) {
        *why = "the menu has no item " + std::to_string(commandId) +
               "; its items: " + Describe(Snapshot(frame->menu));
        return false;
    }
    // A greyed or disabled item does not close the menu when clicked.
    if (item->flags & (MF_GRAYED | MF_DISABLED)) {
        return true;
    }
    frame->result = static_cast<INT_PTR>(commandId);
    frame->ended = true;
    return true;
}

bool DismissMenu(std::string* why) {
    Frame* frame = InnermostFrame();
    if (frame == nullptr || frame->kind != Frame::Kind::Menu) {
        *why = "no popup menu is open";
        return false;
    }
    frame->result = 0;
    frame->ended = true;
    return true;
}

} // namespace sim::wm

namespace sim::ui {

const std::vector<TrackedMenu>& TrackedMenus() {
    return Menus().tracked;
}

size_t LiveMenuCount() {
    return Menus().menus.size();
}

} // namespace sim::ui
