// Names that end up inside a line of text another program reads (the netlist, the
// plotting program's gnuplot script). A control character there, a line end above
// all, would end the line, and what follows would be read as a line of its own.
//
//     has_control_character("/tmp/a\nb.plt")  == true
//     shown_name("/tmp/a\nb.plt")             == "/tmp/a\\nb.plt"
#pragma once
#include <string>

// True for a byte 0x00-0x1f or 0x7f.
bool is_control_character(char c);

// True when the name holds a byte 0x00-0x1f or 0x7f (a NUL would cut the name where the
// system reads it). Bytes from 0x80 up (UTF-8) are ordinary characters.
bool has_control_character(const std::string& name);

// The name for a message: each control character as an escape ("\t", "\n", "\r", or
// "\x1b" for the others), every other byte as it is.
std::string shown_name(const std::string& name);
