// Node numbers by geometry: pins whose terminals coincide share a node.
//
// Node numbers: -1 unassigned, 0 ground, 1 and up network nodes, 1000 and up
// control nodes (after renumbering, connectivity.h). Pin i of an element is its
// terminal i and entry i of its nodes list. Mutual inductances have no pins
// and are skipped by every query.
//
//     number_nodes();                       // labels, grounds, coincident pins
//     int n = pin_count(node);              // pins on a node
//     pin_ref l = pin_of_kind_at(p, kind_label);  // l.e null when none
#pragma once

#include "sdi/draw/geometry.h"

namespace sdi {

class element;

// Network nodes after renumbering: 0 to numn - 1.
extern int numn;
// The next free node number after number_nodes.
extern int next_free_node;

// A pin of an element; e null for none.
struct pin_ref {
  element* e = nullptr;
  int pin = 0;
};

// Pins at the point, over every element but mutual inductances:
//   0: every unassigned pin gets value; how many
//   1: how many pins
//   2: every pin gets value (a pin already on another node merges that node
//      into value everywhere); how many
int point_query(const point& p, int value, int mode);
// The first pin, in list order, of an element of the kind at the point.
pin_ref pin_of_kind_at(const point& p, int kind);

// Pins on a node (-1 gives 0):
//   3: an element of the kind whose pin number pin is on the node
//   4: an element of the kind with any pin on the node
//   5: how many pins are on the node (kind ignored)
// Modes 3 and 4 give 1 when there is a match, else 0.
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
