#include "platform/sim/registry.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <memory>
#include <sstream>

#include "platform/sim/system.h"

namespace {

std::string Lower(const std::string& s) {
    std::string out = s;
    for (char& c : out) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

struct Node;
using NodePtr = std::shared_ptr<Node>;

struct NamedValue {
    std::string name; // as created
    sim::registry::Value value;
};

struct Node {
    std::string name; // as created
    std::string path; // full path from the root name, for the operation log
    bool deleted = false;
    std::map<std::string, NodePtr> children;  // by lower-case name
    std::map<std::string, NamedValue> values; // by lower-case name
};

struct OpenKey {
    NodePtr node;
    REGSAM access = 0;
};

struct RootInfo {
    ULONG_PTR handle;
    const char* name;
    const char* shortName;
};

// The predefined roots, by their handle values.
const RootInfo kRoots[] = {
    {static_cast<ULONG_PTR>(static_cast<LONG>(0x80000000)), "HKEY_CLASSES_ROOT", "HKCR"},
    {static_cast<ULONG_PTR>(static_cast<LONG>(0x80000001)), "HKEY_CURRENT_USER", "HKCU"},
    {static_cast<ULONG_PTR>(static_cast<LONG>(0x80000002)), "HKEY_LOCAL_MACHINE", "HKLM"},
    {static_cast<ULONG_PTR>(static_cast<LONG>(0x80000003)), "HKEY_USERS", "HKU"},
};

struct Registry {
    std::map<ULONG_PTR, NodePtr> roots;
    std::map<ULONG_PTR, OpenKey> handles;
    ULONG_PTR nextHandle = 0x1000;
    REGSAM denied = 0;
    std::vector<std::string> queries;

    Registry() {
        for (const RootInfo& r : kRoots) {
            auto node = std::make_shared<Node>();
            node->name = r.name;
            node->path = r.shortName;
            roots[r.handle] = node;
        }
    }
};

Registry& Reg() {
    static Registry reg;
    return reg;
}

std::vector<std::string> SplitPath(const char* path) {
    std::vector<std::string> parts;
    if (path == nullptr) {
        return parts;
    }
    std::string current;
    for (const char* p = path; *p != '\0'; ++p) {
        if (*p == '\\') {
            if (!current.empty()) {
                parts.push_back(current);
            }
            current.clear();
        } else {
            current += *p;
        }
    }
    if (!current.empty()) {
        parts.push_back(current);
    }
    return parts;
}

// Resolves a handle to its node and the rights it carries. Roots carry every
// right that is not denied.
bool Resolve(HKEY key, NodePtr* node, REGSAM* access) {
    Registry& reg = Reg();
    auto handle = reinterpret_cast<ULONG_PTR>(key);
    auto root = reg.roots.find(handle);
    if (root != reg.roots.end()) {
        *node = root->second;
        *access = KEY_ALL_ACCESS & ~reg.denied;
        return true;
    }
    auto open = reg.handles.find(handle);
    if (open == reg.handles.end()) {
        return false;
    }
    *node = open->second.node;
    *access = open->second.access;
    return true;
}

NodePtr Child(const NodePtr& node, const std::string& name) {
    auto it = node->children.find(Lower(name));
    return it == node->children.end() ? nullptr : it->second;
}

NodePtr Walk(NodePtr node, const std::vector<std::string>& parts) {
    for (const std::string& part : parts) {
        node = Child(node, part);
        if (!node) {
            return nullptr;
        }
    }
    return node;
}

NodePtr AddChild(const NodePtr& parent, const std::string& name) {
    auto child = std::make_shared<Node>();
    child->name = name;
    child->path = parent->path + "\\" + name;
    parent->children[Lower(name)] = child;
    return child;
}

HKEY NewHandle(const NodePtr& node, REGSAM access) {
    Registry& reg = Reg();
    ULONG_PTR id = reg.nextHandle;
    reg.nextHandle += 4;
    reg.handles[id] = OpenKey{node, access};
    return reinterpret_cast<HKEY>(id);
}

void MarkDeleted(const NodePtr& node) {
    node->deleted = true;
    for (auto& [name, child] : node->children) {
        MarkDeleted(child);
    }
}

LONG Logged(const std::string& what, LONG result) {
    sim::LogOperation(what + " -> " + std::to_string(result));
    return result;
}

std::string ValueLabel(const NodePtr& node, LPCSTR name) {
    return node->path + " [" + ((name == nullptr || *name == '\0') ? "@" : name) + "]";
}

} // namespace

LONG RegCreateKeyEx(HKEY key, LPCSTR subKey, DWORD /*reserved*/, LPSTR /*className*/,
                    DWORD /*options*/, REGSAM desired, LPSECURITY_ATTRIBUTES /*security*/,
                    PHKEY result, LPDWORD disposition) {
    NodePtr node;
    REGSAM access;
    if (result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    *result = nullptr;
    if (!Resolve(key, &node, &access)) {
        return ERROR_INVALID_HANDLE;
    }
    if (node->deleted) {
        return ERROR_KEY_DELETED;
    }
    if ((desired & Reg().denied) != 0) {
        return ERROR_ACCESS_DENIED;
    }
    std::vector<std::string> parts = SplitPath(subKey);
    NodePtr existing = Walk(node, parts);
    if (existing) {
        *result = NewHandle(existing, desired);
        if (disposition != nullptr) {
            *disposition = REG_OPENED_EXISTING_KEY;
        }
        return ERROR_SUCCESS;
    }
    if ((access & KEY_CREATE_SUB_KEY) == 0 || (Reg().denied & KEY_CREATE_SUB_KEY) != 0) {
        return ERROR_ACCESS_DENIED;
    }
    for (const std::string& part : parts) {
        NodePtr next = Child(node, part);
        node = next ? next : AddChild(node, part);
    }
    sim::LogOperation("RegCreateKeyEx " + node->path + " -> 0");
    *result = NewHandle(node, desired);
    if (disposition != nullptr) {
        *disposition = REG_CREATED_NEW_KEY;
    }
    return ERROR_SUCCESS;
}

LONG RegOpenKeyEx(HKEY key, LPCSTR subKey, DWORD /*options*/, REGSAM desired, PHKEY result) {
    NodePtr node;
    REGSAM access;
    if (result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    *result = nullptr;
    if (!Resolve(key, &node, &access)) {
        return ERROR_INVALID_HANDLE;
    }
    if (node->deleted) {
        return ERROR_KEY_DELETED;
    }
    NodePtr target = Walk(node, SplitPath(subKey));
    if (!target) {
        return ERROR_FILE_NOT_FOUND;
    }
    if ((desired & Reg().denied) != 0) {
        return ERROR_ACCESS_DENIED;
    }
    *result = NewHandle(target, desired);
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
    Registry& reg = Reg();
    auto handle = reinterpret_cast<ULONG_PTR>(key);
    if (reg.roots.count(handle) != 0) {
        return ERROR_SUCCESS;
    }
    if (reg.handles.erase(handle) == 0) {
        return ERROR_INVALID_HANDLE;
    }
    return ERROR_SUCCESS;
}

LONG RegQueryValueEx(HKEY key, LPCSTR valueName, LPDWORD /*reserved*/, LPDWORD type, LPBYTE data,
                     LPDWORD dataSize) {
    NodePtr node;
    REGSAM access;
    if (!Resolve(key, &node, &access)) {
        return ERROR_INVALID_HANDLE;
    }
    if (node->deleted) {
        return ERROR_KEY_DELETED;
    }
    Reg().queries.push_back(ValueLabel(node, valueName));
    if ((access & KEY_QUERY_VALUE) == 0) {
        return ERROR_ACCESS_DENIED;
    }
    if (data != nullptr && dataSize == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    auto it = node->values.find(Lower(valueName == nullptr ? "" : valueName));
    if (it == node->values.end()) {
        return ERROR_FILE_NOT_FOUND;
    }
    const sim::registry::Value& value = it->second.value;
    auto size = static_cast<DWORD>(value.data.size());
    if (type != nullptr) {
        *type = value.type;
    }
    if (data == nullptr) {
        if (dataSize != nullptr) {
            *dataSize = size;
        }
        return ERROR_SUCCESS;
    }
    if (*dataSize < size) {
        // Too small: nothing is copied, the size needed is reported.
        *dataSize = size;
        return ERROR_MORE_DATA;
    }
    if (size != 0) {
        std::memcpy(data, value.data.data(), size);
    }
    *dataSize = size;
    return ERROR_SUCCESS;
}

LONG RegSetValueEx(HKEY key, LPCSTR valueName, DWORD /*reserved*/, DWORD type, const BYTE* data,
                   DWORD dataSize) {
    NodePtr node;
    REGSAM access;
    if (!Resolve(key, &node, &access)) {
        return ERROR_INVALID_HANDLE;
    }
    std::string label = "RegSetValueEx " + ValueLabel(node, valueName);
    if (node->deleted) {
        return Logged(label, ERROR_KEY_DELETED);
    }
    if ((access & KEY_SET_VALUE) == 0) {
        return Logged(label, ERROR_ACCESS_DENIED);
    }
    if (data == nullptr && dataSize != 0) {
        return Logged(label, ERROR_INVALID_PARAMETER);
    }
    std::string name = valueName == nullptr ? "" : valueName;
    NamedValue& slot = node->values[Lower(name)];
    if (slot.name.empty()) {
        slot.name = name;
    }
    slot.value.type = type;
    slot.value.data.assign(data, data + dataSize);
    return Logged(label, ERROR_SUCCESS);
}

LONG RegDeleteKey(HKEY key, LPCSTR subKey) {
    NodePtr node;
    REGSAM access;
    if (!Resolve(key, &node, &access)) {
        return ERROR_INVALID_HANDLE;
    }
    std::string label = "RegDeleteKey " + node->path + "\\" + (subKey == nullptr ? "" : subKey);
    if (node->deleted) {
        return Logged(label, ERROR_KEY_DELETED);
    }
    std::vector<std::string> parts = SplitPath(subKey);
    if (parts.empty()) {
        return Logged(label, ERROR_BADKEY);
    }
    std::vector<std::string> parentParts(parts.begin(), parts.end() - 1);
    NodePtr parent = Walk(node, parentParts);
    NodePtr target = parent ? Child(parent, parts.back()) : nullptr;
    if (!target) {
        return Logged(label, ERROR_FILE_NOT_FOUND);
    }
    if ((Reg().denied & DELETE) != 0) {
        return Logged(label, ERROR_ACCESS_DENIED);
    }
    // The Windows 95 rule: the key goes with all its subkeys and values.
    MarkDeleted(target);
    parent->children.erase(Lower(parts.back()));
    return Logged(label, ERROR_SUCCESS);
}

LONG RegDeleteValue(HKEY key, LPCSTR valueName) {
    NodePtr node;
    REGSAM access;
    if (!Resolve(key, &node, &access)) {
        return ERROR_INVALID_HANDLE;
    }
    std::string label = "RegDeleteValue " + ValueLabel(node, valueName);
    if (node->deleted) {
        return Logged(label, ERROR_KEY_DELETED);
    }
    if ((access & KEY_SET_VALUE) == 0) {
        return Logged(label, ERROR_ACCESS_DENIED);
    }
    if (node->values.erase(Lower(valueName == nullptr ? "" : valueName)) == 0) {
        return Logged(label, ERROR_FILE_NOT_FOUND);
    }
    return Logged(label, ERROR_SUCCESS);
}

namespace sim::registry {

namespace {

// Splits a test path into its root node and the parts below it.
NodePtr RootOf(const std::string& path, std::vector<std::string>* parts) {
    *parts = SplitPath(path.c_str());
    ULONG_PTR root = kRoots[2].handle;
    if (!parts->empty()) {
        std::string first = Lower(parts->front());
        for (const RootInfo& r : kRoots) {
            if (first == Lower(r.name) || first == Lower(r.shortName)) {
                root = r.handle;
                parts->erase(parts->begin());
                break;
            }
        }
    }
    return Reg().roots[root];
}

NodePtr Find(const std::string& path) {
    std::vector<std::string> parts;
    NodePtr root = RootOf(path, &parts);
    return Walk(root, parts);
}

NodePtr FindOrCreate(const std::string& path) {
    std::vector<std::string> parts;
    NodePtr node = RootOf(path, &parts);
    for (const std::string& part : parts) {
        NodePtr next = Child(node, part);
        node = next ? next : AddChild(node, part);
    }
    return node;
}

} // namespace

bool KeyExists(const std::string& path) {
    return Find(path) != nullptr;
}

void CreateKey(const std::string& path) {
    FindOrCreate(path);
}

void DeleteKey(const std::string& path) {
    std::vector<std::string> parts;
    NodePtr node = RootOf(path, &parts);
    if (parts.empty()) {
        return;
    }
    std::string last = parts.back();
    parts.pop_back();
    NodePtr parent = Walk(node, parts);
    NodePtr target = parent ? Child(parent, last) : nullptr;
    if (target) {
        MarkDeleted(target);
        parent->children.erase(Lower(last));
    }
}

std::optional<Value> GetValue(const std::string& path, const std::string& name) {
    NodePtr node = Find(path);
    if (!node) {
        return std::nullopt;
    }
    auto it = node->values.find(Lower(name));
    if (it == node->values.end()) {
        return std::nullopt;
    }
    return it->second.value;
}

std::optional<std::string> GetString(const std::string& path, const std::string& name) {
    std::optional<Value> value = GetValue(path, name);
    if (!value || value->type != REG_SZ) {
        return std::nullopt;
    }
    std::string text(value->data.begin(), value->data.end());
    return text.substr(0, text.find('\0'));
}

void SetValue(const std::string& path, const std::string& name, DWORD type,
              const std::vector<BYTE>& data) {
    NodePtr node = FindOrCreate(path);
    NamedValue& slot = node->values[Lower(name)];
    if (slot.name.empty()) {
        slot.name = name;
    }
    slot.value.type = type;
    slot.value.data = data;
}

void SetString(const std::string& path, const std::string& name, const std::string& text) {
    std::vector<BYTE> data(text.begin(), text.end());
    data.push_back(0);
    SetValue(path, name, REG_SZ, data);
}

void DeleteValue(const std::string& path, const std::string& name) {
    NodePtr node = Find(path);
    if (node) {
        node->values.erase(Lower(name));
    }
}

std::vector<std::string> SubkeyNames(const std::string& path) {
    std::vector<std::string> names;
    NodePtr node = Find(path);
    if (node) {
        for (const auto& [lower, child] : node->children) {
            names.push_back(child->name);
        }
    }
    return names;
}

std::vector<std::string> ValueNames(const std::string& path) {
    std::vector<std::string> names;
    NodePtr node = Find(path);
    if (node) {
        for (const auto& [lower, value] : node->values) {
            names.push_back(value.name);
        }
    }
    return names;
}

void DenyRights(REGSAM rights) {
    Reg().denied = rights;
}

size_t OpenHandleCount() {
    return Reg().handles.size();
}

const std::vector<std::string>& QueryLog() {
    return Reg().queries;
}

// ---- REGEDIT4 ----

namespace {

std::string Quote(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

// A REG_SZ whose bytes are plain text with exactly one terminating zero is
// written as a string; anything else as hex, so that every byte survives.
bool IsPlainString(const Value& v) {
    if (v.type != REG_SZ || v.data.empty() || v.data.back() != 0) {
        return false;
    }
    for (size_t i = 0; i + 1 < v.data.size(); ++i) {
        BYTE b = v.data[i];
        if (b == 0 || b == '\r' || b == '\n') {
            return false;
        }
    }
    return true;
}

void ExportNode(const NodePtr& node, const std::string& path, std::ostringstream& out) {
    if (!node->values.empty() || node->children.empty()) {
        out << "[" << path << "]\r\n";
        for (const auto& [lower, nv] : node->values) {
            out << (nv.name.empty() ? std::string("@") : Quote(nv.name)) << "=";
            const Value& v = nv.value;
            if (IsPlainString(v)) {
                out << Quote(std::string(v.data.begin(), v.data.end() - 1));
            } else if (v.type == REG_DWORD && v.data.size() == 4) {
                char buf[16];
                DWORD d = v.data[0] | (v.data[1] << 8) | (v.data[2] << 16) |
                          (static_cast<DWORD>(v.data[3]) << 24);
                std::snprintf(buf, sizeof buf, "dword:%08x", d);
                out << buf;
            } else {
                char buf[16];
                if (v.type == REG_BINARY) {
                    out << "hex:";
                } else {
                    std::snprintf(buf, sizeof buf, "hex(%x):", v.type);
                    out << buf;
                }
                for (size_t i = 0; i < v.data.size(); ++i) {
                    if (i > 0) {
                        out << (i % 25 == 0 ? ",\\\r\n  " : ",");
                    }
                    std::snprintf(buf, sizeof buf, "%02x", v.data[i]);
                    out << buf;
                }
            }
            out << "\r\n";
        }
        out << "\r\n";
    }
    for (const auto& [lower, child] : node->children) {
        ExportNode(child, path + "\\" + child->name, out);
    }
}

bool ParseQuoted(const std::string& line, size_t* pos, std::string* out) {
    if (*pos >= line.size() || line[*pos] != '"') {
        return false;
    }
    ++*pos;
    out->clear();
    while (*pos < line.size()) {
        char c = line[*pos];
        if (c == '\\' && *pos + 1 < line.size()) {
            *out += line[*pos + 1];
            *pos += 2;
        } else if (c == '"') {
            ++*pos;
            return true;
        } else {
            *out += c;
            ++*pos;
        }
    }
    return false;
}

bool ParseHexBytes(const std::string& text, std::vector<BYTE>* out) {
    out->clear();
    std::string digits;
    for (char c : text) {
        if (c == ',' || c == ' ' || c == '\t') {
            if (!digits.empty()) {
                if (digits.size() > 2) {
                    return false;
                }
                out->push_back(static_cast<BYTE>(std::stoul(digits, nullptr, 16)));
                digits.clear();
            }
        } else if (std::isxdigit(static_cast<unsigned char>(c))) {
            digits += c;
        } else {
            return false;
        }
    }
    if (!digits.empty()) {
        if (digits.size() > 2) {
            return false;
        }
        out->push_back(static_cast<BYTE>(std::stoul(digits, nullptr, 16)));
    }
    return true;
}

} // namespace

std::string ExportRegedit4() {
    std::ostringstream out;
    out << "REGEDIT4\r\n\r\n";
    for (const RootInfo& r : kRoots) {
        const NodePtr& root = Reg().roots[r.handle];
        for (const auto& [lower, child] : root->children) {
            ExportNode(child, std::string(r.name) + "\\" + child->name, out);
        }
    }
    return out.str();
}

bool ImportRegedit4(const std::string& text, std::string* error) {
    // Parse into a fresh registry first; the live one changes only on success.
    Registry fresh;
    auto fail = [&](int lineNo, const std::string& why) {
        if (error != nullptr) {
            *error = "line " + std::to_string(lineNo) + ": " + why;
        }
        return false;
    };

    std::vector<std::string> lines;
    {
        std::string current;
        for (char c : text) {
            if (c == '\n') {
                if (!current.empty() && current.back() == '\r') {
                    current.pop_back();
                }
                lines.push_back(current);
                current.clear();
            } else {
                current += c;
            }
        }
        if (!current.empty()) {
            if (current.back() == '\r') {
                current.pop_back();
            }
            lines.push_back(current);
        }
    }
    if (lines.empty() || lines[0] != "REGEDIT4") {
        return fail(1, "the file does not begin with REGEDIT4");
    }

    NodePtr key;
    for (size_t i = 1; i < lines.size(); ++i) {
        int lineNo = static_cast<int>(i + 1);
        std::string line = lines[i];
        // Continued hex lists end in a backslash.
        while (!line.empty() && line.back() == '\\' && line.find("=hex") != std::string::npos) {
            line.pop_back();
            if (++i >= lines.size()) {
                return fail(lineNo, "a continued line has no continuation");
            }
            line += lines[i];
        }
        size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == ';') {
            continue;
        }
        line = line.substr(start);
        if (line[0] == '[') {
            if (line.back() != ']') {
                return fail(lineNo, "a key line does not end in ]");
            }
            std::vector<std::string> parts = SplitPath(line.substr(1, line.size() - 2).c_str());
            if (parts.empty()) {
                return fail(lineNo, "empty key name");
            }
            NodePtr node;
            for (const RootInfo& r : kRoots) {
                if (Lower(parts[0]) == Lower(r.name)) {
                    node = fresh.roots[r.handle];
                }
            }
            if (!node) {
                return fail(lineNo, "unknown root key " + parts[0]);
            }
            for (size_t p = 1; p < parts.size(); ++p) {
                NodePtr next = Child(node, parts[p]);
                node = next ? next : AddChild(node, parts[p]);
            }
            key = node;
            continue;
        }
        if (!key) {
            return fail(lineNo, "a value comes before any key");
        }
        std::string name;
        size_t pos = 0;
        if (line[0] == '@') {
            pos = 1;
        } else if (!ParseQuoted(line, &pos, &name)) {
            return fail(lineNo, "a value name is not quoted");
        }
        if (pos >= line.size() || line[pos] != '=') {
            return fail(lineNo, "a value has no =");
        }
        ++pos;
        std::string rest = line.substr(pos);
        Value value;
        if (!rest.empty() && rest[0] == '"') {
            std::string str;
            size_t qpos = 0;
            if (!ParseQuoted(rest, &qpos, &str) || qpos != rest.size()) {
                return fail(lineNo, "a string value is not closed");
            }
            value.type = REG_SZ;
            value.data.assign(str.begin(), str.end());
            value.data.push_back(0);
        } else if (rest.rfind("dword:", 0) == 0) {
            std::string digits = rest.substr(6);
            if (digits.size() != 8 ||
                digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
                return fail(lineNo, "a dword value is not eight hex digits");
            }
            DWORD d = static_cast<DWORD>(std::stoul(digits, nullptr, 16));
            value.type = REG_DWORD;
            value.data = {static_cast<BYTE>(d), static_cast<BYTE>(d >> 8),
                          static_cast<BYTE>(d >> 16), static_cast<BYTE>(d >> 24)};
        } else if (rest.rfind("hex", 0) == 0) {
            size_t colon = rest.find(':');
            if (colon == std::string::npos) {
                return fail(lineNo, "a hex value has no colon");
            }
            std::string kind = rest.substr(3, colon - 3);
            if (kind.empty()) {
                value.type = REG_BINARY;
            } else if (kind.size() >= 3 && kind.front() == '(' && kind.back() == ')' &&
                       kind.size() <= 10 &&
                       kind.find_first_not_of("0123456789abcdefABCDEF", 1) == kind.size() - 1) {
                value.type = static_cast<DWORD>(std::stoul(kind.substr(1), nullptr, 16));
            } else {
                return fail(lineNo, "a hex value has a malformed type");
            }
            if (!ParseHexBytes(rest.substr(colon + 1), &value.data)) {
                return fail(lineNo, "a hex value has a malformed byte");
            }
        } else {
            return fail(lineNo, "a value of unknown form");
        }
        NamedValue& slot = key->values[Lower(name)];
        slot.name = name;
        slot.value = value;
    }
    Registry& live = Reg();
    for (auto& [handle, root] : fresh.roots) {
        MarkDeleted(live.roots[handle]);
        live.roots[handle] = root;
    }
    return true;
}

} // namespace sim::registry
