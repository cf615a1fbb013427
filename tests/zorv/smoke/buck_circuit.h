// A buck converter drawn with the model's own elements and saved as a circuit
// file, for the tests that open files in the running editor.
#pragma once
#include <filesystem>

#include "sdi/draw/geometry.h"

// Writes the circuit file; true when it was written. The circuit list is left empty.
bool WriteBuckCircuit(const std::filesystem::path& path);

// Where the pieces are (sheet units): a point on the inductor's lead and on the
// lower return wire.
inline const sdi::point kBuckWirePoint{180, 264};
inline const sdi::point kBuckResistorLead{416, 220};
