#pragma once
// Where the running program lives and what it is called.

#include <string>

namespace orvale {

// Host folder of the program, ending with "/": ORVALE_PROGRAM_DIR when set, else
// the folder of the running executable (the OSTN15 grids are sought there).
std::string ProgramFolder();

// The title every host shares ("Orvale"), so the command-line program and the
// workbench read and write the same settings sub-folder.
std::string ProgramFileTitle();

}  // namespace orvale
