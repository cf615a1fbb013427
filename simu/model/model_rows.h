// The netlist rows that the model builder reads, detached from the reader's records.
//
//     model_netlist net = model_netlist_from(...);   // or fill the rows by hand
//     topology_table tab(net);
//
// model_netlist_from(sim_netlist, p->vgs) takes the reader's rows as they are.
// Names are full netlist names with the kind letter ("C3", "V#M1", "I01"); nodes are the
// netlist's numbers, 0 = reference, 1 .. numn-1 the others. Values in SI units: ohm, F,
// H, V, A; an "M" row holds the mutual inductance in H; E, H, G, F rows hold their gain.
// Every "M" row couples two inductor rows named by ref1 and ref2.
#pragma once

#include <string>
#include <vector>

#include "matrix/dm.h"
#include "simu/input/netlist.h"

struct model_row {
  char kind = 0;             // V R L C I E H G F M S D (any other letter: no relation)
  std::string name;          // full name, kind letter included
  unsigned node1 = 0;
  unsigned node2 = 0;
  double value = 0.0;
  std::string ref1;          // E H G F: controlling element; M: first inductor
  std::string ref2;          // M: second inductor
  std::string word1;         // "#D", "#M" sources: first driving output name
  std::string word2;         // "#M" source: second driving output name
  double gain = 0.0;         // "#M" source: multiplier gain
  std::string label;         // the rest of the row (switch names come from it)
};

struct model_output {
  char kind = 'V';           // 'V': voltage of the branch named, 'I': its current
  std::string name;          // full branch name
};

struct model_netlist {
  std::vector<model_row> rows;
  std::vector<model_output> outputs;
  unsigned numn = 1;         // nodes, reference included
  DM vgs;                    // stepped source values, one row per V/I source (may be empty)
};

// The reader's rows with each name completed by its kind letter ("12" of an R row
// becomes "R12"); the driving names and the gain of "#M" rows are carried over.
model_netlist model_netlist_from(const netlist_records& rec, const DM& vgs);
