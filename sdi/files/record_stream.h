// Element record streams: element records (kind first) ended by the int32 17,
// with no header. The subcircuit files (.sct) and the clipboard file
// "copyele.dat" are such streams; the circuit file holds one after its header.
//
// Headerless streams are always written by this program, so they are read in
// the current record layout (version 105). Reading is bounded and all or
// nothing: it stops at the end of the file, at a kind that no class makes and
// at a record that fails (short or with a bad count), and then keeps nothing.
//
//     elist got;
//     if (read_element_file("copyele.dat", got)) ...   // elements come selected
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

#include "sdi/elements/elist.h"

namespace sdi {

constexpr const char* clipboard_file_name = "copyele.dat";

// A new element of the kind, ready to read its record body; null for a kind
// that no class makes. Never touches the placement state.
element* new_record_element(int kind);

// Each element's record in list order, then 17.
void write_records(std::FILE* f, elist& l);

// Records up to the end code, inserted after the cursor of out in file order,
// each read with the record layout of version. False, with "byte N: reason" in
// error, when the stream ends before 17, holds an unknown kind or a bad record,
// or when two records share an id or one has none; out is then as it was. A second probe or multiplier is dropped,
// and once the stream has read well, "Only one probe allowed." / "Only one multiplier allowed." is shown
// once per kind, with the count when more than one was dropped ("... 2 extra probes were not read.").
bool read_records(std::FILE* f, elist& out, int version, std::string& error);

// Reads a stream file (relative names in the circuit's folder) into list,
// replacing and deleting what it held. 1 read; 0 not, with "File %s couldn't
// be opened" or "File %s is damaged or truncated (...)" shown and the list unchanged.
// Opened without blocking: a pipe or a device shows "File %s is not a regular file.",
// a file above max_circuit_file_bytes "File %s is larger than 16777216 bytes.".
int read_element_file(const std::filesystem::path& file, elist& list);

// Writes list as a stream through a temporary file renamed over the target.
// 1 written; 0 when it could not be (nothing shown: the callers have their own texts).
int write_element_file(const std::filesystem::path& file, elist& list);

// Every element of the list deleted and the list emptied.
void delete_list_elements(elist& list);

}  // namespace sdi
