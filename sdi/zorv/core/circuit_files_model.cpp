// The model side of New, Open and Save.
//
// The circuit-file reader and writer are not in the model yet: until they are, Open
// and Save report "Couldn't Open File!" and change nothing, and New clears the
// circuit. When they land, each body below becomes one call: delete_all_elements,
// open + read_circuit (keeping `circuit` unless the whole file read well), and a
// save_circuit that returns its success.
#include <cstdio>

#include "sdi/zorv/core/circuit_files.h"
#include "sdi/zorv/core/messages.h"
#include "sdi/zorv/core/model_link.h"

namespace zorv {
namespace {

std::string& BaseName() {
  static std::string base;
  return base;
}

OpenResult OpenCircuitFile(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return OpenResult::CannotOpen;
  std::fclose(f);
  // No reader yet: the file is refused as if it could not be opened.
  return OpenResult::CannotOpen;
}

bool SaveCircuitFile(const std::string& /*path*/) {
  ShowMessage(kCouldntOpenFile);
  return false;
}

}  // namespace

const std::string& PublishedBaseName() { return BaseName(); }

CircuitFiles ModelCircuitFiles() {
  CircuitFiles files;
  files.clear = [] { DeleteAllElements(); };
  files.open = OpenCircuitFile;
  files.save = SaveCircuitFile;
  files.publishBaseName = [](const std::string& base) { BaseName() = base; };
  return files;
}

}  // namespace zorv
