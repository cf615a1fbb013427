// The model side of New, Open and Save.
#include "sdi/elements/sub_element.h"
#include "sdi/files/circuit_file.h"
#include "sdi/zorv/core/document/circuit_files.h"
#include "sdi/zorv/core/view/model_link.h"
#include "simu/input/run_settings.h"

namespace zorv {

CircuitFiles ModelCircuitFiles() {
  CircuitFiles files;
  files.clear = [] { DeleteAllElements(); };
  // The model shows why a file was not read ("Couldn't Open File!", a refused
  // stamp, a damaged file) and keeps the open circuit then.
  // The symbols of its subcircuits lie beside the circuit, wherever the editor was
  // started: the folder is the file's while it is read, and stays the open circuit's
  // when the file is not taken.
  files.open = [](const std::string& path) {
    const std::string before = sdi::symbol_folder;
    sdi::set_circuit_folder_from(path);
    sdi::forget_reported_symbols();
    const bool read = sdi::open_circuit_file(path) == sdi::circuit_read;
    if (!read) sdi::symbol_folder = before;
    return read ? OpenResult::Read : OpenResult::Unreadable;
  };
  // Undo and Redo: the snapshot's subcircuits are the open circuit's, read from its folder.
  files.restore = [](const std::string& path) {
    return sdi::open_circuit_file(path) == sdi::circuit_read ? OpenResult::Read : OpenResult::Unreadable;
  };
  files.save = [](const std::string& path) { return sdi::save_circuit(path) != 0; };
  files.publishBaseName = [](const std::string& base) { ::base_name = base; };
  files.adopt = [](const std::string& path) { sdi::set_circuit_folder_from(path); };
  return files;
}

}  // namespace zorv
