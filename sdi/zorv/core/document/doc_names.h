// Names the document derives from a circuit file's path.
//
// Paths are '/'-separated. The base name is what the netlist and result files are
// named after: "<base>.m", "<base>.plt", ...
//     BaseNameOf("/home/j.doe/buck.v2.ckt") == "/home/j.doe/buck"
//     FolderOf("/home/j.doe/buck.ckt")      == "/home/j.doe/"
//     MainTitle("Untitled.ckt")             == "ZORV - Untitled.ckt"
//     SavePrompt("buck.ckt")                == "Save changes to buck.ckt?"
#pragma once
#include <string>

namespace zorv {

// The path cut before the first "." of its file name; folders are never cut, and a
// leading "." (a hidden file) does not count. A file name without a "." keeps the
// whole path.
std::string BaseNameOf(const std::string& path);

// The path up to and including its last "/"; empty when it has none.
std::string FolderOf(const std::string& path);

// The base path of a new document: the folder of the previous base path + "Untitled".
std::string UntitledBaseAfter(const std::string& basePath);

// The main window's title for an open file name.
std::string MainTitle(const std::string& fileName);

// The question asked before a changed circuit is closed (New, Open, Exit).
std::string SavePrompt(const std::string& name);

// Why a file may not be written under this path, or empty: a control character in it
// (bytes 0x01-0x1f, 0x7f; a line end above all) would end a line of the netlist or of
// the plotting program's script, and what follows would run as a command.
// The text names the file with each control character as an escape (a line end as the
// two characters \n):
//     File /tmp/a\nb.ckt has a control character in its name: the circuit is not saved. ...
std::string NameRefusal(const std::string& path, const std::string& outcome);

// The file name a new document shows.
inline const char* const kUntitledFile = "Untitled.ckt";
// The file name a new subcircuit shows.
inline const char* const kUntitledSubcircuit = "Untitled.sct";

}  // namespace zorv
