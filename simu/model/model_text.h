// Texts that end a run from the model builder, and the name rules it relies on.
//
// The texts are thrown through throw_text (messages.h).
#pragma once

#include <string>

#include "simu/base/messages.h"

// Throws "Internal simulation problem.  Element not found. " followed by the name.
[[noreturn]] void throw_not_found(const std::string& name);
// Throws "Internal simulation problem.  Node out of range. " followed by the row's name.
[[noreturn]] void throw_bad_node(const std::string& name);

// A source drawn as a stepped V or I source ("V3", "I12"): the rows that the "vgs" table
// lists. Ports ("V01", "I02"), current senses ("Vc1") and "#" sources are not.
bool is_stepped_source(const std::string& name);
