// Conversions between UTF-16 and the ANSI code pages the simulated Windows
// uses for the programs' languages: 1252, 1251 (Russian), 874 (Thai) and
// 950 (Chinese, Taiwan).
#pragma once

#include <string>

#include "platform/sim/types.h"

namespace sim {

// The ANSI code page of a language id: 1251 for Russian, 874 for Thai, 950 for
// Chinese (Taiwan), 1252 for the Western European languages, and the other
// languages' own code pages where the platform has one.
UINT AnsiCodePageOf(LANGID lang);

// Characters without a byte in the code page become '?', as the platform's
// default character does; bytes the code page does not define become U+FFFD.
std::string WideToAnsi(const std::u16string& text, UINT codePage);
std::u16string AnsiToWide(const std::string& text, UINT codePage);

} // namespace sim
