// A simulated machine with the Ardenvale board's driver installed beside
// things that must survive its removal, whole-machine snapshots, and a run of
// the uninstaller as the shell starts it.
#pragma once

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace machine {

extern const char* const kSystemDir;
extern const char* const kWindowsDir;
extern const char* const kDisplayClass; // the display-class keys' parent, from the root

// The board's installation (display-class keys 0003 and 0009) and its
// neighbours: other adapters, a 0010 key with the board's driver, a drv value
// in other letter case, a DEFAULT key without drv, other Run values, other
// vendors' and products' keys, other files beside the driver's.
void Install();

// Every key and value of the registry, one entry each: a key as its full path,
// a value as "path [name] type:data". And every file by path.
struct Snapshot {
    std::set<std::string> registry;
    std::set<std::string> files;
};
Snapshot Take();

// The entries of a snapshot that a removal of these keys (with everything
// under them), values (key path, name) and files takes away.
Snapshot Part(const Snapshot& whole, const std::vector<std::string>& keys,
              const std::vector<std::pair<std::string, std::string>>& values,
              const std::vector<std::string>& files);
// What removing the board's installation takes from a snapshot.
Snapshot BoardPart(const Snapshot& whole);
Snapshot Minus(const Snapshot& a, const Snapshot& b);

// Starts the uninstaller with a full command line as the shell passes it
// (program name first); the entry gets what a GUI program's entry receives.
int Run(const std::string& fullCommandLine);

// A text written in UTF-8 here, as Windows-1252 bytes.
std::string Ansi(const std::string& utf8);

} // namespace machine
