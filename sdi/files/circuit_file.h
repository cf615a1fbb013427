// The circuit file (.ckt): a 100-byte header of run settings, the element
// records in circuit-list order, then the int32 end code 17. Little-endian,
// value by value, no padding.
//
//   offset type   field                 offset type   field
//    0     int32  version stamp (105)    48    double run_finish_si
//    4     double run_tsim               56    double run_sstol_f
//   12     double run_td                 64    double run_sstol_c
//   20     double 0.0 (ignored)          72    double 0.0 (ignored)
//   28     int32  0 (ignored)            80    int32  run_ss
//   32     int32  0 (ignored)            84    int32  run_nclkss
//   36     int32  run_points             88    int32  run_sv
//   40     double run_start_si           92    int32  run_ld
//                                        96    int32  run_stop_close
//
// Versions 104 and 105 are read; 105 is written. Reading is all or nothing: the
// open circuit and the run settings change only when the whole file read well.
//
//     std::FILE* f = std::fopen(path, "rb");
//     if (f) { read_circuit(f, path); std::fclose(f); }   // messages shown on failure
//     save_circuit("a.ckt");                               // temporary file, then rename
#pragma once

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <string>

#include "simu/input/run_settings.h"

namespace sdi {

constexpr int circuit_header_bytes = 100;
constexpr int oldest_circuit_version = 104;

// 1 after an element is placed, 0 after the circuit is saved.
extern int circuit_modified;

// The stamp of the last circuit file read; 0 before any. Set only once a stamp is accepted.
extern int loaded_version;

// The open circuit's folder, where subcircuit (.sct), symbol (.sym) and the
// clipboard file "copyele.dat" are looked up, is symbol_folder (sub_element.h);
// empty means the current folder.
// The folder of a circuit file just opened or saved becomes the circuit's folder.
void set_circuit_folder_from(const std::filesystem::path& circuit_path);
// A relative file name inside the circuit's folder; an absolute path unchanged.
std::filesystem::path in_circuit_folder(const std::filesystem::path& file);

// The run settings that the header stores, by row of run_settings_table (their
// offsets are the rows' header_at); an int is held exactly as a double.
struct circuit_settings {
  double value[run_setting_count] = {};
};
circuit_settings current_circuit_settings();
void apply_circuit_settings(const circuit_settings& s);

void write_circuit_header(std::FILE* f, const circuit_settings& s);
// The header after its stamp; false when the stream ends inside it.
bool read_circuit_header(std::FILE* f, circuit_settings& s);

// Header (stamp 105, the run settings), every element of circuit, then 17.
void write_circuit(std::FILE* f);

enum : int { circuit_read = 0, circuit_stamp_refused = 1, circuit_damaged = 2 };
// Reads a whole circuit file into a new list and new settings, and only then
// replaces circuit and the stored run settings (elements come unselected).
// A refused stamp shows "(105, stamp) Can't read circuit with older version stamp.";
// a stamp that is no version (below 1, above 105) "File <name> is not a circuit file.";
// a short or corrupt file shows "File <name> is damaged or truncated (...)".
// On either the open circuit and the settings are untouched.
int read_circuit(std::FILE* f, const std::string& file_name = "");

// The largest circuit file read (16 MiB): far more than a full sheet of elements.
constexpr std::size_t max_circuit_file_bytes = std::size_t{16} << 20;

// Opens and reads a circuit file; "Couldn't Open File!" when it cannot be opened. It
// is opened without blocking: a pipe or a device shows "File <name> is not a regular
// file.", a file above max_circuit_file_bytes "File <name> is larger than 16777216
// bytes."; both leave the open circuit as it was. Result as read_circuit, or
// circuit_damaged when the file could not be opened or was refused.
int open_circuit_file(const std::filesystem::path& path);

// Writes the circuit to a temporary file beside path and renames it over path
// once every write succeeded. "Couldn't Open File!" when the file cannot be
// created (no such folder; a folder or a read-only file in its place; followed
// by the reason when a link of another user in a shared folder, or a pipe that
// no process reads, is refused),
// "Couldn't write file <path>: <reason>" when writing fails ("File too large",
// "No space left on device"); the old file is
// kept and circuit_modified is left as it was. 1 saved (circuit_modified = 0), 0 not.
int save_circuit(const std::filesystem::path& path);

}  // namespace sdi
