// The netlist as the engine holds it: the element rows of "X", the output rows of
// "Y" and the node count "numn", read by read_netlist together with the settings.
//
//     read_netlist("buck.m", p);               // throws a const char* text on failure
//     for (const netlist_element& e : sim_netlist.elements) ...   // rows in file order
//     free_netlist();
// Element names lose their kind letter: the row "R12 1 2 5.0" has kind 'R' and
// name "12". Node numbers: 0 is ground, 1 .. numn-1 the other nodes.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

struct sim_params;

// One row of "X".
struct netlist_element {
  char kind = 0;              // one of "VRLCIEHGFMSDP"
  std::string name;           // the rest of the first word: "12", "#M1"
  std::string label;          // letters and digits of the rest of the row (its comment)
  std::uint32_t node1 = 0;    // V R L C I S D E H G F P
  std::uint32_t node2 = 0;
  double value = 0.0;         // also the coupling of M and the value of #P rows
  int ival = 0;               // P: a fourth number; #P rows: an int
  std::string ref1;           // E H G F: controlling element; M: first inductor
  std::string ref2;           // M: second inductor
  std::string word1;          // #D, #R: one word; #M, #P: the first name
  std::string word2;          // #M, #P: the second name
  std::string word3;          // #P: the third name
  std::array<double, 20> numbers{};   // #M: the gain first; #P: twenty numbers
};

// One row of "Y".
struct netlist_output {
  char kind = 0;              // 'V' or 'I'
  std::string name;           // the branch it measures, e.g. "R1", "V01"
  std::string label;          // the column title in the result table; empty: no column
};

struct netlist_records {
  std::vector<netlist_element> elements;
  std::vector<netlist_output> outputs;
  std::uint32_t numn = 0;     // number of nodes, ground included
  // Where the reader found the tables, for messages about them: the file and its text,
  // and per parameter (and "Y") the offset where its value opens and the offset of each
  // of its numbers in reading order.
  struct place {
    std::size_t open = 0;
    std::vector<std::size_t> numbers;
  };
  std::unordered_map<std::string, place> places;
  std::string file, text;
};

// What the last read_netlist read; emptied by free_netlist.
extern netlist_records sim_netlist;

// The largest netlist file read, in bytes (16 MiB); a larger one, or one that is not a
// regular file (a device, a pipe), is refused before reading.
constexpr std::size_t max_netlist_bytes = std::size_t{16} << 20;

// Reads the whole netlist file into p and sim_netlist. On any failure (missing or
// unreadable file, a file too large or not a regular file, a numn above the highest node
// of the rows or a node between that no row uses, unknown identifier, malformed matrix or row, end of file inside
// a block) throws a const char* text "Sread Fatal Error : <what> - <name>\n" followed
// by the place in the file; what was read before stays in p.
void read_netlist(const char* file, sim_params* p);
void free_netlist();

// "Sread Fatal Error : <what> - <name>\n", the start of every text of a bad netlist.
std::string sread_text(const std::string& what, const std::string& name);
// "in <file>, line L, column C:\n", the line of text and a caret under offset at.
std::string place_text(const std::string& text, const std::string& file, std::size_t at);
