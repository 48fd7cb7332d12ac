// The command line of a simulated program, as the platform hands it over.
#pragma once

#include <string>

namespace sim {

// The full command line the shell builds from a host program's arguments:
// the program name, then the arguments joined by single blanks. A program name
// with blanks in it is quoted.
std::string CommandLineFromArgs(int argc, const char* const* argv);

// What a GUI program's entry point receives as its command line: the text
// after the program name (quoted or not), with the blanks and control
// characters that follow the name skipped.
std::string GuiEntryCommandLine(const std::string& fullCommandLine);

} // namespace sim
