// rurozuze: shows a result table in a gnuplot window.
//
//     rurozuze '/tmp/my files/buck.plt'    # the table's path, as the editor passes it
//     rurozuze /tmp/my*files/buck.plt      # blanks typed as "*": used when no such file exists
//
// Started by the editor without a console, so every problem also shows in a
// message box when there is a display. Nothing is written beside the table.
#include <cstdio>
#include <string>

#include <wx/app.h>
#include <wx/init.h>
#include <wx/msgdlg.h>

#include "sdi/zorv/rurozuze/plot_script.h"
#include "sdi/zorv/rurozuze/plt_table.h"

wxIMPLEMENT_APP_NO_MAIN(wxApp);

namespace {

int Say(int argc, char** argv, const std::string& text) {
  std::fprintf(stderr, "rurozuze: %s\n", text.c_str());
  if (const char* d = std::getenv("DISPLAY"); d && *d && wxEntryStart(argc, argv)) {
    wxMessageBox(wxString::FromUTF8(text), "rurozuze", wxOK | wxICON_ERROR);
    wxEntryCleanup();
  }
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return Say(argc, argv, "Usage: rurozuze RESULT.plt");
  const std::string path = rurozuze::RestoredPath(argv[1]);
  rurozuze::PltTable table;
  std::string problem;
  int data = -1;  // the table as read, open until the end
  if (!rurozuze::ReadPltTable(path, table, problem, &data)) return Say(argc, argv, problem);
  if (problem = rurozuze::WindowProblem(); !problem.empty()) return Say(argc, argv, problem);
  const std::string script = rurozuze::PlotScript(table, path, rurozuze::DataName(data), rurozuze::Terminal::Window);
  if (rurozuze::RunGnuplot(script, data) != 0)
    return Say(argc, argv, "gnuplot could not show " + path);
  return 0;
}
