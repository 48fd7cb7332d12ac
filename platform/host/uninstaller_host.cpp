// Runs the uninstaller on a simulated machine that has the Ardenvale board's
// driver installed, and prints what the run deleted.
//
//   uninstaller [--machine DIR] [ARG...]
//
// Any argument other than --machine selects the silent run, as on the real
// system. In the interactive run the message boxes are asked on the terminal
// (y/n). The machine is kept in DIR (or $LUMIVEX_MACHINE) when one is named:
// loaded from it, or installed afresh when it is empty, and saved back.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "platform/sim/command_line.h"
#include "platform/sim/machine.h"
#include "platform/win32.h"
#include "uninstaller/uninstaller.h"

namespace {

// The boxes' texts are Windows-1252; its upper half from 0xA0 is Latin-1.
std::string ToUtf8(const std::string& ansi) {
    std::string out;
    for (char c : ansi) {
        auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
        } else if (b >= 0xA0) {
            out += static_cast<char>(0xC0 | (b >> 6));
            out += static_cast<char>(0x80 | (b & 0x3F));
        } else {
            out += '?';
        }
    }
    return out;
}

// Asks a Yes/No box on the terminal; the end of input answers No.
int AskOnTerminal(const sim::msgbox::Box& box) {
    std::printf("[%s] %s (y/n) ", ToUtf8(box.caption).c_str(), ToUtf8(box.text).c_str());
    std::fflush(stdout);
    // Answers read from a pipe are echoed, so the transcript reads as typed.
    bool echo = isatty(STDIN_FILENO) == 0;
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && (line[0] == 'y' || line[0] == 'Y')) {
            std::printf("%s", echo ? "y\n" : "");
            return IDYES;
        }
        if (!line.empty() && (line[0] == 'n' || line[0] == 'N')) {
            std::printf("%s", echo ? "n\n" : "");
            return IDNO;
        }
        std::printf("(y/n) ");
        std::fflush(stdout);
    }
    std::printf("\n");
    return IDNO;
}

} // namespace

int main(int argc, char** argv) {
    // --machine DIR is the host's own; every other argument is the program's.
    std::vector<const char*> args = {argv[0]};
    const char* fromEnvironment = std::getenv("LUMIVEX_MACHINE");
    std::string machine = fromEnvironment != nullptr ? fromEnvironment : "";
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--machine") == 0) {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') {
                std::fprintf(stderr, "usage: uninstaller [--machine DIR] [ARG...]\n");
                return 2;
            }
            machine = argv[++i];
        } else {
            args.push_back(argv[i]);
        }
    }
    std::string error;
    if (machine.empty()) {
        sim::machine::InstallDefault();
    } else if (!sim::machine::Open(machine, &error)) {
        std::fprintf(stderr, "uninstaller: cannot load the machine: %s\n", error.c_str());
        return 2;
    }
    sim::ClearOperationLog();
    sim::msgbox::SetAnswerSource(AskOnTerminal);

    std::string full = sim::CommandLineFromArgs(static_cast<int>(args.size()), args.data());
    std::string entry = sim::GuiEntryCommandLine(full);
    std::vector<char> cmdLine(entry.begin(), entry.end());
    cmdLine.push_back('\0');

    int exitCode = WinMain(nullptr, nullptr, cmdLine.data(), 1);

    for (const std::string& line : sim::OperationLog()) {
        bool deletion = line.rfind("RegDeleteKey ", 0) == 0 ||
                        line.rfind("RegDeleteValue ", 0) == 0 || line.rfind("DeleteFile ", 0) == 0;
        if (deletion && line.size() > 5 && line.compare(line.size() - 5, 5, " -> 0") == 0) {
            std::printf("deleted: %s\n", line.substr(0, line.size() - 5).c_str());
        }
    }
    if (!sim::ShutdownRequests().empty()) {
        std::printf("restart requested (ExitWindowsEx flags %u)\n", sim::ShutdownRequests().back());
    }
    std::printf("exit code %d\n", exitCode);
    if (!machine.empty() && !sim::machine::Save(machine, &error)) {
        std::fprintf(stderr, "uninstaller: cannot save the machine: %s\n", error.c_str());
        return 2;
    }
    return exitCode;
}
