// lumivex's own resources with one more string table, in a language the
// program does not come in, so that a test can give the program texts longer
// than its buffers. The dialogs, bitmaps and icon stay the program's own.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/sim/resources.h"

namespace session {

// French (France): its strings come from the added table, everything else
// falls back to English.
inline constexpr LANGID kExtraLanguage = 1036;

// Replaces the module's resource section by the program's resources and a
// string table of ids 0..15 holding `strings` (ASCII) in kExtraLanguage.
inline void AddStringTable(const std::map<UINT, std::string>& strings) {
    static std::vector<BYTE> section;
    std::vector<BYTE> out;
    auto word = [&out](WORD w) {
        out.push_back(static_cast<BYTE>(w & 0xFF));
        out.push_back(static_cast<BYTE>(w >> 8));
    };
    auto dword = [&word](DWORD d) {
        word(static_cast<WORD>(d & 0xFFFF));
        word(static_cast<WORD>(d >> 16));
    };
    // One entry of a .res file: sizes, numeric type and name, the fixed
    // fields with the language, then the data on a four-byte boundary.
    auto entry = [&](WORD type, WORD id, WORD language, const BYTE* data, size_t size) {
        dword(static_cast<DWORD>(size));
        dword(32);
        word(0xFFFF);
        word(type);
        word(0xFFFF);
        word(id);
        dword(0);       // data version
        word(0x1030);   // memory flags
        word(language); // language
        dword(0);       // version
        dword(0);       // characteristics
        out.insert(out.end(), data, data + size);
        while (out.size() % 4 != 0) {
            out.push_back(0);
        }
    };
    entry(0, 0, 0, nullptr, 0); // the empty entry that opens the format

    HINSTANCE module = sim::ModuleInstance();
    std::vector<std::vector<BYTE>> kept;
    std::vector<sim::ResourceKey> keys = sim::ListResources(module);
    for (const sim::ResourceKey& key : keys) {
        auto data = sim::FindResourceDataInLanguage(module, key.type, key.id, key.language);
        if (data) {
            kept.emplace_back(data->data, data->data + data->size);
        } else {
            kept.emplace_back();
        }
    }
    for (size_t i = 0; i < keys.size(); ++i) {
        entry(keys[i].type, keys[i].id, keys[i].language, kept[i].data(), kept[i].size());
    }

    // Block 1 holds strings 0..15, each a length and its UTF-16 units.
    std::vector<BYTE> block;
    for (UINT id = 0; id < 16; ++id) {
        auto found = strings.find(id);
        std::string text = found != strings.end() ? found->second : "";
        block.push_back(static_cast<BYTE>(text.size() & 0xFF));
        block.push_back(static_cast<BYTE>(text.size() >> 8));
        for (char c : text) {
            block.push_back(static_cast<BYTE>(c));
            block.push_back(0);
        }
    }
    entry(6, 1, kExtraLanguage, block.data(), block.size());
    // The old section stays alive until the loader has the new one.
    section.swap(out);
    sim::RegisterModuleResources(section.data(), section.size());
}

} // namespace session
