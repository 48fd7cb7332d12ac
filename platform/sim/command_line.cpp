#include "platform/sim/command_line.h"

namespace sim {

std::string CommandLineFromArgs(int argc, const char* const* argv) {
    std::string line;
    if (argc > 0 && argv[0] != nullptr) {
        std::string name = argv[0];
        bool quote = name.find_first_of(" \t") != std::string::npos;
        line = quote ? "\"" + name + "\"" : name;
    }
    for (int i = 1; i < argc; ++i) {
        line += ' ';
        line += argv[i];
    }
    return line;
}

std::string GuiEntryCommandLine(const std::string& fullCommandLine) {
    const std::string& s = fullCommandLine;
    size_t i = 0;
    if (i < s.size() && s[i] == '"') {
        // A quoted name ends at the next quote, or at the end of the line.
        i = s.find('"', 1);
        i = i == std::string::npos ? s.size() : i + 1;
    } else {
        while (i < s.size() && static_cast<unsigned char>(s[i]) > ' ') {
            ++i;
        }
    }
    while (i < s.size() && static_cast<unsigned char>(s[i]) <= ' ' && s[i] != '\0') {
        ++i;
    }
    return s.substr(i);
}

} // namespace sim
