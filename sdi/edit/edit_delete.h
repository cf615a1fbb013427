// Taking elements out of the circuit. Lists never delete what they hold: these
// do, or hand the element to the caller.
#pragma once

namespace sdi {

class element;

// Removes and deletes every element of the circuit.
void delete_all_elements();

// Takes the element with the id out of the circuit and removes every
// reference to it from the others (couplings on a removed inductor go too).
// Returns it for the caller to delete; null (reported) when no element has the id.
element* delete_element(int id);

// Erases the element from the sheet (when drawing), then deletes it: an unplaced
// one (id 0) directly, a placed one after delete_element. One with an id that
// the circuit does not hold it under is reported, and the circuit left as it is.
void remove_element_from_sheet(element* e);

}  // namespace sdi
