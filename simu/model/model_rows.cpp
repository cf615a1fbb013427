#include "simu/model/model_rows.h"

model_netlist model_netlist_from(const netlist_records& rec, const DM& vgs) {
  model_netlist net;
  for (const netlist_element& e : rec.elements) {
    model_row r;
    r.kind = e.kind;
    r.name = std::string(1, e.kind) + e.name;
    r.node1 = e.node1;
    r.node2 = e.node2;
    r.value = e.value;
    r.ref1 = e.ref1;
    r.ref2 = e.ref2;
    r.word1 = e.word1;
    r.word2 = e.word2;
    r.gain = e.numbers[0];
    r.label = e.label;
    net.rows.push_back(r);
  }
  for (const netlist_output& o : rec.outputs) net.outputs.push_back(model_output{o.kind, o.name});
  net.numn = rec.numn;
  net.vgs = vgs;
  return net;
}
