#include "simu/model/model_text.h"

void throw_not_found(const std::string& name) {
  throw_text("Internal simulation problem.  Element not found. " + name);
}

void throw_bad_node(const std::string& name) {
  throw_text("Internal simulation problem.  Node out of range. " + name);
}

bool is_stepped_source(const std::string& name) {
  if (name.size() < 2 || (name[0] != 'V' && name[0] != 'I')) return false;
  return name[1] >= '1' && name[1] <= '9';
}
