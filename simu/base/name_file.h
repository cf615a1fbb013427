// Files beside the netlist: their names, and the name lists a derivation leaves there
// ("src.dat": the sources in u, "states.dat": the states in x), one name a line.
//
//     write_names("states.dat", names, "Can't open states.dat file");
//
// A file that already holds exactly that text is left alone (neither rewritten nor its
// time stamp moved): runs of an unchanged circuit then touch no file. A new text replaces
// the old one whole (see atomic_file.h). A file that cannot be written ends the run with
// the message (followed by ": disk full!" when the writing failed); the old file stays.
#pragma once
#include <string>
#include <vector>

void write_names(const char* file, const std::vector<std::string>& names, const char* message);

// The netlist name less its last two characters (".m") plus ext (".ini", ".seq").
std::string netlist_based_name(const char* netlist, const char* ext);
