#include "sdi/zorv/rurozuze/plot_script.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>

namespace rurozuze {

namespace {

// A gnuplot string literal: single quotes, a quote inside doubled. A control character
// is left out: a line end would close the command and start another (the table's reader
// refuses such a path; this keeps any other text from doing it).
std::string Quoted(const std::string& text) {
  std::string q = "'";
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7f) continue;
    q += c == '\'' ? std::string("''") : std::string(1, c);
  }
  return q + "'";
}

}  // namespace

std::string PlotScript(const PltTable& table, const std::string& path, Terminal terminal) {
  std::string s = terminal == Terminal::Window ? "set terminal x11 title " + Quoted("rurozuze - " + path) + "\n"
                                               : std::string("set terminal dumb 100 30\n");
  s += "set title " + Quoted(path) + " noenhanced\n";
  s += "set xlabel 'Time (s)'\nset grid\nset key outside right top\n";
  s += "plot ";
  for (std::size_t i = 0; i < table.labels.size(); ++i) {
    if (i) s += ", \\\n     ";
    s += Quoted(path) + " skip 1 using 1:" + std::to_string(i + 2) + " with lines title " + Quoted(table.labels[i]) +
         " noenhanced";
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

int RunGnuplot(const std::string& script) {
  std::FILE* pipe = popen("gnuplot", "w");
  if (!pipe) return -1;
  std::fputs(script.c_str(), pipe);
  const int status = pclose(pipe);
  return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace rurozuze
