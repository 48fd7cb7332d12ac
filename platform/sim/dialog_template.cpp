#include "platform/sim/dialog_template.h"

#include "platform/sim/codepage.h"

namespace {

constexpr DWORD kSetFont = 0x40; // DS_SETFONT

// Reads the little-endian words of a template, refusing to step past its end.
struct Reader {
    const BYTE* data;
    size_t size;
    size_t pos = 0;

    bool Word(WORD* out) {
        if (pos > size || size - pos < 2) {
            return false;
        }
        *out = static_cast<WORD>(data[pos] | data[pos + 1] << 8);
        pos += 2;
        return true;
    }

    bool Dword(DWORD* out) {
        WORD low = 0, high = 0;
        if (!Word(&low) || !Word(&high)) {
            return false;
        }
        *out = low | static_cast<DWORD>(high) << 16;
        return true;
    }

    bool Short(short* out) {
        WORD w = 0;
        if (!Word(&w)) {
            return false;
        }
        *out = static_cast<short>(w);
        return true;
    }

    // A zero-terminated UTF-16 string whose first unit has been read already.
    bool RestOfString(WORD first, std::u16string* out) {
        WORD c = first;
        while (c != 0) {
            out->push_back(static_cast<char16_t>(c));
            if (!Word(&c)) {
                return false;
            }
        }
        return true;
    }

    bool AlignDword() {
        size_t aligned = (pos + 3) & ~static_cast<size_t>(3);
        if (aligned > size) {
            return false;
        }
        pos = aligned;
        return true;
    }
};

// A menu or class field of the dialog's header: none, an ordinal or a name.
bool ReadNameOrOrdinal(Reader& r, UINT codePage, std::string* out) {
    WORD first = 0;
    if (!r.Word(&first)) {
        return false;
    }
    if (first == 0xFFFF) {
        WORD ordinal = 0;
        if (!r.Word(&ordinal)) {
            return false;
        }
        *out = "#" + std::to_string(ordinal);
        return true;
    }
    std::u16string name;
    if (!r.RestOfString(first, &name)) {
        return false;
    }
    *out = sim::WideToAnsi(name, codePage);
    return true;
}

std::string PredefinedClass(WORD atom) {
    switch (atom) {
    case 0x80:
        return "BUTTON";
    case 0x81:
        return "EDIT";
    case 0x82:
        return "STATIC";
    case 0x83:
        return "LISTBOX";
    case 0x84:
        return "SCROLLBAR";
    case 0x85:
        return "COMBOBOX";
    default:
        return "#" + std::to_string(atom);
    }
}

bool ReadItem(Reader& r, UINT codePage, sim::DialogItemTemplate* item) {
    if (!r.AlignDword() || !r.Dword(&item->style) || !r.Dword(&item->exStyle) ||
        !r.Short(&item->x) || !r.Short(&item->y) || !r.Short(&item->cx) || !r.Short(&item->cy) ||
        !r.Word(&item->id)) {
        return false;
    }
    WORD first = 0;
    if (!r.Word(&first)) {
        return false;
    }
    if (first == 0xFFFF) {
        WORD atom = 0;
        if (!r.Word(&atom)) {
            return false;
        }
        item->className = PredefinedClass(atom);
    } else {
        std::u16string name;
        if (first == 0 || !r.RestOfString(first, &name)) {
            return false; // a control needs a class
        }
        item->className = sim::WideToAnsi(name, codePage);
    }
    if (!r.Word(&first)) {
        return false;
    }
    if (first == 0xFFFF) {
        WORD ordinal = 0;
        if (!r.Word(&ordinal)) {
            return false;
        }
        item->textOrdinal = ordinal;
    } else {
        std::u16string text;
        if (!r.RestOfString(first, &text)) {
            return false;
        }
        item->text = sim::WideToAnsi(text, codePage);
    }
    // Creation data: a size word that counts itself, or 0 for none.
    WORD extra = 0;
    if (!r.Word(&extra)) {
        return false;
    }
    if (extra != 0) {
        if (extra < 2 || r.size - r.pos < static_cast<size_t>(extra - 2)) {
            return false;
        }
        item->creationData.assign(r.data + r.pos, r.data + r.pos + (extra - 2));
        r.pos += extra - 2;
    }
    return true;
}

} // namespace

namespace sim {

bool ParseDialogTemplate(const BYTE* data, size_t size, UINT codePage, DialogTemplate* out) {
    if (data == nullptr || out == nullptr) {
        return false;
    }
    Reader r{data, size};
    DialogTemplate t;
    WORD count = 0;
    if (size >= 4 && data[0] == 1 && data[1] == 0 && data[2] == 0xFF && data[3] == 0xFF) {
        return false; // the extended form
    }
    if (!r.Dword(&t.style) || !r.Dword(&t.exStyle) || !r.Word(&count) || !r.Short(&t.x) ||
        !r.Short(&t.y) || !r.Short(&t.cx) || !r.Short(&t.cy)) {
        return false;
    }
    WORD first = 0;
    if (!ReadNameOrOrdinal(r, codePage, &t.menu) || !ReadNameOrOrdinal(r, codePage, &t.className) ||
        !r.Word(&first)) {
        return false;
    }
    std::u16string title;
    if (!r.RestOfString(first, &title)) {
        return false;
    }
    t.title = WideToAnsi(title, codePage);
    if (t.style & kSetFont) {
        std::u16string face;
        if (!r.Word(&t.pointSize) || !r.Word(&first) || !r.RestOfString(first, &face)) {
            return false;
        }
        t.faceName = WideToAnsi(face, codePage);
    }
    t.items.resize(count);
    for (DialogItemTemplate& item : t.items) {
        if (!ReadItem(r, codePage, &item)) {
            return false;
        }
    }
    *out = std::move(t);
    return true;
}

} // namespace sim
