// Run preparation: turns the drawn circuit into a flat, checked, numbered and
// named network and writes "<base_name>.m" (netlist_writer.h), working on the
// live circuit list and always giving it back as it was.
//
//     prepare_circuit();
//     if (run_error_count == 0) ...   // the netlist was written (node_errors.h)
//
// While it runs, circuit is a working copy of the list: subcircuit instances
// are merged in (temporary elements, at x offsets 10000 k), wires and
// junctions leave it, hidden ports come and go. Afterwards the list, its order
// and its cursor, and every drawn element's flags, are what they were; node
// numbers and netlist names stay in the drawn elements until the next run;
// faulty elements keep a raised selection count (the view shows them selected)
// and lose their values flag (their values must be entered again).
#pragma once

#include <set>
#include <string>

#include "sdi/elements/elist.h"
#include "sdi/elements/element.h"  // OffsetIds, shift_found
#include "sdi/draw/geometry.h"
#include "sdi/base/ilist.h"

namespace sdi {

void prepare_circuit();

// Number of elements whose values are incomplete or unusable (zero where a
// value is needed, not finite, a missing link); each is marked selected.
int check_values();

// Merges one subcircuit instance: the elements of "<name>.sct" moved by
// offset, its pin labels joined to the instance's terminals. A file that holds
// a subcircuit instance itself is a netlist error. 0 when the file cannot be
// read (its message shown, nothing merged): the preparation goes on without
// the instance, so the node checks show what it leaves open, and writes no netlist.
int expand_subcircuit(element* sub, const point& offset, const std::string& name);

// Shared with the view's paste.
void MarkElements(elist& list);  // temporary mark + 1 on each
void DeleteFlaggedElements();    // deletes every temporary element of circuit
int GetMaxElementId();           // 0 for an empty circuit

// The elements being pasted or merged, against whose ids references are looked up.
extern elist paste_check_list;
// Shifts e's references to elements of the lookup set (ids before shifting) by
// offset. A coupling without both of its inductors in the set is deleted, with
// "Mutual inductance is copied only if both inductors are also copied.": 0.
int FixPastedReferences(element* e, int offset, const std::set<int>& lookup);
int FixPastedReferences(element* e, int offset);  // lookup: the ids in paste_check_list

}  // namespace sdi
