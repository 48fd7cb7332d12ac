// Classic dialog templates (DLGTEMPLATE followed by DLGITEMTEMPLATEs), parsed
// into plain records for the dialog manager and for tests.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/types.h"

namespace sim {

struct DialogItemTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0; // dialog units
    WORD id = 0;
    // Predefined classes by name ("BUTTON", "EDIT", "STATIC", "LISTBOX",
    // "SCROLLBAR", "COMBOBOX"); a named class as written.
    std::string className;
    // Text in the ANSI code page given to the parser; for an ordinal text
    // (an SS_ICON's icon id) textOrdinal holds it and text is empty.
    std::string text;
    std::optional<WORD> textOrdinal;
    std::vector<BYTE> creationData;
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0; // dialog units
    std::string menu;      // "" for none
    std::string className; // "" for the dialog class
    std::string title;
    WORD pointSize = 0; // with DS_SETFONT
    std::string faceName;
    std::vector<DialogItemTemplate> items;
};

// Parses a classic (not extended) template. Texts are converted from UTF-16 to
// the given ANSI code page. False for a template that is truncated, extended,
// or otherwise malformed.
bool ParseDialogTemplate(const BYTE* data, size_t size, UINT codePage, DialogTemplate* out);

} // namespace sim
