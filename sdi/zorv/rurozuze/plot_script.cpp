#include "sdi/zorv/rurozuze/plot_script.h"

#include <fcntl.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>

#include "simu/base/control_characters.h"

namespace rurozuze {

namespace {

// A gnuplot string literal: single quotes, a quote inside doubled. Only for a text that
// never starts with a quote: gnuplot rejects a literal that starts with a doubled one.
// A control character is left out: a line end would close the command and start another
// (the table's reader refuses such a path; this keeps any other text from doing it).
// Never double quotes: gnuplot runs a `command` inside them.
std::string Quoted(const std::string& text) {
  std::string q = "'";
  for (char c : text) {
    if (is_control_character(c)) continue;
    q += c == '\'' ? std::string("''") : std::string(1, c);
  }
  return q + "'";
}

// Any text as a gnuplot string expression: a text with a quote becomes its pieces
// between quotes joined by the constant "'" (which holds no `), so no literal starts
// with a doubled quote.
std::string Expression(const std::string& text) {
  if (text.find('\'') == std::string::npos) return Quoted(text);
  std::string e = "(";
  std::string piece;
  for (char c : text) {
    if (c != '\'') {
      if (!is_control_character(c)) piece += c;
      continue;
    }
    if (!piece.empty()) e += Quoted(piece) + ".";
    e += "\"'\".";
    piece.clear();
  }
  if (!piece.empty()) return e + Quoted(piece) + ")";
  e.pop_back();  // the last "."
  return e + ")";
}

bool Continues(char c) { return (static_cast<unsigned char>(c) & 0xc0) == 0x80; }

// A path as the window shows it: its end when too long (the file's own name matters most).
std::string PathShown(const std::string& path) {
  if (path.size() <= kMaxShownBytes) return path;
  std::size_t from = path.size() - (kMaxShownBytes - 3);
  while (from < path.size() && Continues(path[from])) ++from;  // never half a UTF-8 character
  return "..." + path.substr(from);
}

// An output's name as the key shows it: its start when too long.
std::string LabelShown(const std::string& label) {
  if (label.size() <= kMaxLabelBytes) return label;
  std::size_t to = kMaxLabelBytes - 3;
  while (to > 0 && Continues(label[to])) --to;
  return label.substr(0, to) + "...";
}

}  // namespace

std::string DataName(int fd) { return "/dev/fd/" + std::to_string(fd); }

std::string PlotScript(const PltTable& table, const std::string& path, const std::string& data, Terminal terminal) {
  const std::string shown = PathShown(path);
  // The window's title takes no expression; it starts with "rurozuze - ", never a quote.
  std::string s = terminal == Terminal::Window ? "set terminal x11 title " + Quoted("rurozuze - " + shown) + "\n"
                                               : std::string("set terminal dumb 100 30\n");
  s += "set title " + Expression(shown) + " noenhanced\n";
  s += "set xlabel 'Time (s)'\nset grid\nset key outside right top\n";
  s += "plot ";
  for (std::size_t i = 0; i < table.labels.size(); ++i) {
    if (i) s += ", \\\n     ";
    s += Quoted(data) + " skip 1 using 1:" + std::to_string(i + 2) + " with lines title " +
         Expression(LabelShown(table.labels[i])) + " noenhanced";
  }
  s += "\n";
  if (terminal == Terminal::Window) s += "pause mouse close\n";
  return s;
}

std::string WindowProblem() {
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) return "No display: the plot window needs an X display (DISPLAY is not set).";
  if (std::system("gnuplot -e 'set terminal x11' >/dev/null 2>&1") != 0)
    return "No windowed gnuplot: the plot window needs gnuplot with its X11 terminal "
           "(Debian package gnuplot-x11).";
  return std::string();
}

int RunGnuplot(const std::string& script, int shared) {
  // The one descriptor gnuplot is to inherit, for the length of its run.
  const int flags = shared >= 0 ? ::fcntl(shared, F_GETFD) : -1;
  if (shared >= 0 && (flags < 0 || ::fcntl(shared, F_SETFD, flags & ~FD_CLOEXEC) < 0)) return -1;
  std::FILE* pipe = popen("gnuplot", "w");
  if (shared >= 0) ::fcntl(shared, F_SETFD, flags);
  if (!pipe) return -1;
  std::fputs(script.c_str(), pipe);
  const int status = pclose(pipe);
  return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace rurozuze
