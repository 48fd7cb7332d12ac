#include <cctype>
#include <map>
#include <vector>

#include "platform/sim/user.h"

namespace {

struct AtomTable {
    std::map<std::string, UINT> ids; // by lower-case name
    std::vector<std::string> names;  // index = id - 0xC000
};

// A function-local table, so that registrations made by other files' static
// initialisers find it constructed whatever the order of initialisation.
AtomTable& Atoms() {
    static AtomTable table;
    return table;
}

constexpr UINT kFirstAtom = 0xC000;
constexpr UINT kLastAtom = 0xFFFF;

} // namespace

UINT RegisterWindowMessage(LPCSTR name) {
    if (name == nullptr || *name == '\0') {
        return 0;
    }
    std::string key = name;
    for (char& c : key) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    AtomTable& table = Atoms();
    auto it = table.ids.find(key);
    if (it != table.ids.end()) {
        return it->second;
    }
    UINT id = kFirstAtom + static_cast<UINT>(table.names.size());
    if (id > kLastAtom) {
        return 0;
    }
    table.ids[key] = id;
    table.names.push_back(name);
    return id;
}

namespace sim {

std::string RegisteredMessageName(UINT id) {
    const AtomTable& table = Atoms();
    if (id < kFirstAtom || id - kFirstAtom >= table.names.size()) {
        return "";
    }
    return table.names[id - kFirstAtom];
}

} // namespace sim
