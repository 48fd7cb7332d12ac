// A simulated machine kept in a folder, so that runs persist as on a real
// machine.
//
// The folder holds:
//   registry.reg  the whole registry in the REGEDIT4 export form
//   drive_c/      drive C: as a folder tree, each file's bytes as they are
//   machine.txt   what the file tree cannot hold, one entry a line:
//                   system-directory <path>
//                   windows-directory <path>
//                   version <hex bytes of the VS_VERSIONINFO block> <path>
//                   in-use <path>
//                 (lines starting with ';' and blank lines are ignored)
// Paths in machine.txt are the machine's own, "C:\WINDOWS\SYSTEM\VOLDRA.DRV".
#pragma once

#include <string>

namespace sim::machine {

// True when the folder exists and holds anything at all.
bool HoldsMachine(const std::string& folder);

// Replaces the whole machine (registry, files, the two directories) with the
// folder's. On any error nothing is loaded, and *error names the file and,
// where there is one, the line.
bool Load(const std::string& folder, std::string* error);

// Writes the machine into the folder. Every file goes to a temporary file
// first and is renamed into place only when all were written, so a failed save
// leaves the folder as it was. A file is removed from the folder only when the
// last Load from that folder read it and the machine no longer has it; files
// the machine never loaded are left alone.
bool Save(const std::string& folder, std::string* error);

// A fresh machine with the Ardenvale board's driver installed: its registry
// keys, its files, and the display driver and control panel library with
// their product versions.
void InstallDefault();

// What the hosts do with a machine folder: load it when it holds a machine,
// otherwise start from InstallDefault().
bool Open(const std::string& folder, std::string* error);

} // namespace sim::machine
