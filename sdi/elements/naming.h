// Default display names: the kind's prefix and the first free number, counted
// from the number of elements of the kind already in the circuit ("R3" after
// R1 was deleted from R1, R2). Wires get no name. Names are at most 7
// characters: a long prefix is shortened, never the number.
#pragma once

namespace sdi {

class element;

void assign_default_name(element* e);

}  // namespace sdi
