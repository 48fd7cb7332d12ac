// The resource loader of the simulated Windows 95.
//
// The program's resource section is the bytes of a compiled .res file. A
// resource is found by type, id and language; the language follows the user's
// default language id with the loader's fallback: the exact id, then any
// variant of the same primary language, then English (United States, 1033),
// then the first language the resource comes in.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/dialog_template.h"
#include "platform/sim/types.h"

#define RT_CURSOR MAKEINTRESOURCE(1)
#define RT_BITMAP MAKEINTRESOURCE(2)
#define RT_ICON MAKEINTRESOURCE(3)
#define RT_MENU MAKEINTRESOURCE(4)
#define RT_DIALOG MAKEINTRESOURCE(5)
#define RT_STRING MAKEINTRESOURCE(6)
#define RT_GROUP_ICON MAKEINTRESOURCE(14)
#define RT_VERSION MAKEINTRESOURCE(16)

// Copies string `id` of the table in the user's language, converted to that
// table's ANSI code page, into `buffer`: at most bufferMax - 1 bytes and a
// terminator. A double-byte character that does not fit whole is left out with
// everything after it. Returns the bytes copied; 0 (and "") for an id the
// chosen table lacks; 0 without writing for a null buffer or bufferMax < 1.
int LoadString(HINSTANCE instance, UINT id, LPSTR buffer, int bufferMax);

namespace sim {

// The program's instance handle, as its entry point receives it.
HINSTANCE ModuleInstance();

// Hands the program's compiled resource section (a .res file's bytes) to the
// loader. Called once, during static initialisation, by the generated source
// that embeds the resources. Returns true.
bool RegisterModuleResources(const void* data, size_t size);

// One resource's raw bytes, as they lie in the resource section, and the
// language of the variant chosen.
struct ResourceData {
    const BYTE* data;
    size_t size;
    WORD language;
};

// Finds a resource with a numeric type and id in the user's language (with the
// fallback above). Nothing for an instance other than ModuleInstance(), for a
// section that was never registered or does not parse, or for a missing id.
std::optional<ResourceData> FindResourceData(HINSTANCE instance, WORD type, WORD id);
// The same with a type written as the platform's RT_ constants.
std::optional<ResourceData> FindResourceData(HINSTANCE instance, LPCSTR type, WORD id);

// Exactly the variant in `lang`, without fallback.
std::optional<ResourceData> FindResourceDataInLanguage(HINSTANCE instance, WORD type, WORD id,
                                                       WORD lang);

// The language ids a resource comes in, in the order of the resource section.
std::vector<WORD> ResourceLanguages(HINSTANCE instance, WORD type, WORD id);

// Every resource of the section in section order; a type or id given by name
// rather than number is listed as 0xFFFF.
struct ResourceKey {
    WORD type;
    WORD id;
    WORD language;
};
std::vector<ResourceKey> ListResources(HINSTANCE instance);

// The string table entry `id` in exactly `lang` as stored (UTF-16); nothing
// when that language's block lacks it.
std::optional<std::u16string> FindStringInLanguage(HINSTANCE instance, UINT id, WORD lang);

// A dialog template in the user's language (with the fallback), its texts in
// the ANSI code page of the chosen template's language.
std::optional<DialogTemplate> LoadDialogTemplate(HINSTANCE instance, WORD id);
std::optional<DialogTemplate> LoadDialogTemplateInLanguage(HINSTANCE instance, WORD id, WORD lang);

// A palette entry of a device-independent bitmap, laid out as RGBQUAD.
struct RgbQuad {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};

// An uncompressed palette DIB (1, 4 or 8 bits per pixel) unpacked.
struct DibInfo {
    int width = 0;
    int height = 0; // always positive; rows below are top-down
    WORD bitCount = 0;
    std::vector<RgbQuad> palette;
    std::vector<BYTE> pixels; // palette indices, width * height, top row first
};

// Parses a DIB as stored in an RT_BITMAP resource (a BITMAPINFOHEADER, its
// colour table and the bits, without a file header). False for anything
// truncated, compressed, or not 1, 4 or 8 bits per pixel.
bool ParseDib(const BYTE* data, size_t size, DibInfo* out);

// One image of an icon group (RT_GROUP_ICON's directory entry).
struct IconGroupEntry {
    int width = 0; // 0 in the directory means 256
    int height = 0;
    int colorCount = 0;
    WORD planes = 0;
    WORD bitCount = 0;
    DWORD bytesInRes = 0;
    WORD iconId = 0; // id of the RT_ICON resource holding the image
};

// Parses an RT_GROUP_ICON resource. False if it is truncated or not an icon
// directory.
bool ParseIconGroup(const BYTE* data, size_t size, std::vector<IconGroupEntry>* out);

// An RT_ICON image: a DIB of twice the icon's height holding the XOR picture
// then the 1-bit AND mask, both bottom-up in the data.
struct IconImage {
    DibInfo color;             // height is the icon's height; indices top-down
    std::vector<BYTE> andMask; // width * height, 1 = transparent, top row first
};

bool ParseIconImage(const BYTE* data, size_t size, IconImage* out);

} // namespace sim
