// What the document needs from the circuit model's file code: one call each for
// New, Open and Save, plus publishing the base name for the netlist writer.
//
// The document takes a CircuitFiles by value, so tests hand it fakes; the editor
// uses ModelCircuitFiles(), which calls the model:
//     clear           -> delete_all_elements (every element of `circuit` deleted)
//     open(path)      -> a document's file: open it and read_circuit; `circuit` is
//                        replaced only when the whole file read well. Its folder is
//                        the circuit's from then on (where its symbols are read), and
//                        every missing symbol is said again
//     restore(path)   -> an undo snapshot read as open does, the circuit's folder kept:
//                        the snapshot lies in the undo folder, its symbols do not
//     save(path)      -> save_circuit to exactly that path, reporting success
//     publishBaseName -> copy into the model's `base_name`
//     adopt(path)     -> the file just opened or saved: its folder becomes the one
//                        where subcircuits, symbols and the clipboard file are found
#pragma once
#include <functional>
#include <string>

namespace zorv {

enum class OpenResult {
  Read,        // the circuit now holds the file's elements
  CannotOpen,  // the file could not be opened; nothing was shown, nothing changed
  Unreadable,  // opened but refused (the reader has shown why); nothing changed
};

struct CircuitFiles {
  std::function<void()> clear;
  std::function<OpenResult(const std::string& path)> open;
  std::function<OpenResult(const std::string& path)> restore;
  std::function<bool(const std::string& path)> save;  // false after "Couldn't Open File!"
  std::function<void(const std::string& base)> publishBaseName;
  std::function<void(const std::string& path)> adopt;
};

// The model's implementation.
CircuitFiles ModelCircuitFiles();

}  // namespace zorv
