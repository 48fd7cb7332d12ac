# Turns the compiled .res file into a C++ source that hands its bytes to the
# simulator's resource loader at start-up, as the loader of a real executable
# finds them in its resource section.
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hex_len)
math(EXPR size "${hex_len} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," body "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" body "${body}")
file(WRITE ${OUTPUT}
"// Generated from lumivex.res by cmake/EmbedResources.cmake. Do not edit.
#include \"platform/sim/resources.h\"

namespace {
const unsigned char kResourceSection[${size}] = {
${body}
};
[[maybe_unused]] const bool kRegistered = sim::RegisterModuleResources(kResourceSection, sizeof kResourceSection);
} // namespace
")
