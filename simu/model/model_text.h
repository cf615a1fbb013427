// Texts that end a run from the model builder, and the name rules it relies on.
//
// The texts are thrown as const char* pointing at storage that lives until the next
// throw from here, long enough for the engine's entry to show them.
#pragma once

#include <string>

// Throws "Internal simulation problem.  Element not found. " followed by the name.
[[noreturn]] void throw_not_found(const std::string& name);
// Throws "Internal simulation problem.  Node out of range. " followed by the row's name.
[[noreturn]] void throw_bad_node(const std::string& name);
// Throws the text as const char*.
[[noreturn]] void throw_text(const std::string& text);

// A source drawn as a stepped V or I source ("V3", "I12"): the rows that the "vgs" table
// lists. Ports ("V01", "I02"), current senses ("Vc1") and "#" sources are not.
bool is_stepped_source(const std::string& name);
