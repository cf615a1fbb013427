// Node numbers by geometry: pins whose terminals coincide share a node.
//
// Node numbers: -1 unassigned, 0 ground, 1 and up network nodes, 1000 and up
// control nodes (after renumbering, connectivity.h). Pin i of an element is its
// terminal i and entry i of its nodes list. Mutual inductances have no pins
// and are skipped by every query.
//
//     number_nodes();                       // labels, grounds, coincident pins
//     int n = pin_count(node);              // pins on a node
//     if (node_query(v, kind_switch, 4, 0)) use(found_element, found_pin);
#pragma once

#include <functional>

#include "sdi/draw/geometry.h"

namespace sdi {

class element;

// Network nodes after renumbering: 0 to numn - 1.
extern int numn;
// The next free node number after number_nodes.
extern int next_free_node;

// The last match of a mode-3 point query or a mode-3/4 node query.
extern element* found_element;
extern int found_pin;
// Called for each match of a mode-3/4 node query (found_element, found_pin set);
// cleared after every query.
extern std::function<void()> node_query_callback;

// Pins at the point, over every element but mutual inductances:
//   0: every unassigned pin gets value; how many
//   1: how many pins
//   2: every pin gets value (a pin already on another node merges that node
//      into value everywhere); how many
//   3: an element of kind value with a pin there: 1 (found_element), else 0
int point_query(const point& p, int value, int mode);

// Pins on a node (-1 gives 0):
//   3: an element of the kind whose pin number pin is on the node
//   4: an element of the kind with any pin on the node
//   5: how many pins are on the node (kind ignored)
// Modes 3 and 4 record the first match and give 1; with a callback every match
// is recorded and called back, and the matches are counted.
int node_query(int node, int kind, int mode, int pin);

int pin_count(int node);
int pin_connected(element* e, int pin);  // more than one pin on that pin's node
int kind_on_pin_node(element* e, int pin, int kind);
int kind_pin_on_pin_node(element* e, int pin, int kind, int other_pin);

// Node of pin i of e; -1 for a missing pin.
int pin_node(element* e, int pin);

// Labels (one node per letter), grounds (node 0), then every point where two or
// more pins meet; couplings take the inductors under their ends.
void number_nodes();

}  // namespace sdi
