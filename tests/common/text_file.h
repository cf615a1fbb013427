// write_text("a.m", text) writes text to a file byte for byte (binary mode: "\n" stays
// "\n"), replacing what was there; a test reads or writes files inside its TempDir.
#pragma once
#include <fstream>
#include <string>

inline void write_text(const std::string& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}
