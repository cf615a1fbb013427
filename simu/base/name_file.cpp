#include "simu/base/name_file.h"

#include <cstdio>

#include "simu/base/atomic_file.h"
#include "simu/base/messages.h"

namespace {

// Whether the file is writable and holds exactly text.
bool holds(const char* file, const std::string& text) {
  // "r+" opens only a file that could also be written, without truncating it.
  std::FILE* f = std::fopen(file, "r+");
  if (!f) return false;
  std::string have(text.size() + 1, '\0');
  const size_t got = std::fread(have.data(), 1, have.size(), f);
  std::fclose(f);
  return got == text.size() && have.compare(0, got, text) == 0;
}

}  // namespace

std::string netlist_based_name(const char* netlist, const char* ext) {
  std::string name(netlist);
  name.erase(name.size() >= 2 ? name.size() - 2 : 0);
  return name + ext;
}

void write_names(const char* file, const std::vector<std::string>& names, const char* message) {
  std::string text;
  for (const std::string& s : names) text.append(s).push_back('\n');
  if (holds(file, text)) return;
  atomic_file out;
  const bool opened = out.open(file);
  if (opened && std::fwrite(text.data(), 1, text.size(), out.file()) == text.size() && out.commit()) return;
  out.discard();
  throw_text(std::string(message) + (opened ? ": disk full!\n" : "\n"));
}
