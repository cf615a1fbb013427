// Creating elements by kind, and keeping the links between elements sound
// when one is removed.
//
// Every factory first remembers pending_element in previous_pending_element
// (it does not delete it), then makes the new element, in orientation 1, the
// pending element (null when memory ran out):
//     new_resistor(); element* r = pending_element;
// create_element(kind) does the same for any kind (the file readers and the
// editor's repeat); read_element_record builds, reads and returns one record's
// element without touching the placement state.
#pragma once

#include <cstdio>
#include <string>

#include "sdi/elements/element.h"

namespace sdi {

class current_sense;
class diode;
class limiter;
class modulator;
class multiplier;
class op_amp;
class switch2;
class sine;
class source;
class threshold;
class vco;

// The letter the next new label gets ('a' at start, back to 'a' after 'z').
extern char next_label_letter;
// The name of the subcircuit last placed from the library.
extern std::string current_subcircuit_name;

void new_resistor();
void new_capacitor();
void new_inductor();
void new_primary();
void new_secondary();
void new_voltage_port();
void new_current_port();
void new_icis();
void new_icvs();
void new_vcis();
void new_vcvs();
void new_junction();
void new_wire();
void new_mutual();
void new_clock();
void new_modulator();
void new_upper_limiter();
void new_lower_limiter();
void new_threshold();
void new_vco();
void new_current_sense();
void new_op_amp();
void new_ground();
void new_diode();
void new_switch();
void new_label();
void new_voltage_source();
void new_current_source();
void new_sine();
int new_multiplier();  // 0 with "Only one multiplier allowed." when one exists
void new_subcircuit(const char* name);

void create_element(int kind);
void create_next_element(int kind);

// The element of one record whose kind was just read: created, its body read,
// returned unplaced with the selection count of a new element (1). Null with
// ok false (reason in last_record_error()) for an unknown kind or a bad body.
// The one-probe and one-multiplier limits are the editor's: a reader creates
// whatever the stream holds (a file that replaces the open circuit may hold
// the probe that the open one also has), and the placement state is untouched.
element* read_element_record(int kind, std::FILE* f, int version, bool& ok);

// The display-name prefix of an element: its kind's, or a subcircuit's type name.
std::string display_prefix(element* e);

// Link maintenance.
void link_transformer(element* primary, int secondary_id);
void unlink_secondary(element* secondary);
// Before the element with this id leaves the circuit: every other element drops
// its links to it (and its flag 4); couplings of it are erased and deleted.
void unlink_element(int id);

// Checked casts: null (reported) for a null pointer or another kind.
current_sense* as_current_sense(element* e);
diode* as_diode(element* e);
limiter* as_limiter(element* e);
modulator* as_modulator(element* e);
multiplier* as_multiplier(element* e);
op_amp* as_op_amp(element* e);
switch2* as_switch(element* e);
sine* as_sine(element* e);
source* as_source(element* e);
threshold* as_threshold(element* e);
vco* as_vco(element* e);

}  // namespace sdi
