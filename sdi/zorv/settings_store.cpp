#include "sdi/zorv/settings_store.h"

#include <wx/fileconf.h>
#include <wx/filehistory.h>
#include <wx/mstream.h>

#include "sdi/zorv/core/base/messages.h"
#include "sdi/zorv/core/document/settings_file.h"

wxConfigBase* OpenSettingsStore(const std::string& path, bool& keep) {
  const zorv::SettingsFile file = zorv::ReadSettingsFile(path);
  keep = file.rewrite;
  if (!file.refused.empty()) zorv::ShowMessage(file.refused);
  wxMemoryInputStream in(file.text.data(), file.text.size());
  return new wxFileConfig(in);
}

namespace {

// The text for the history's first n files.
std::string TextOfFirst(const wxFileHistory& history, size_t n) {
  wxFileConfig store(wxEmptyString, wxEmptyString, wxEmptyString, wxEmptyString, 0);
  for (size_t i = 0; i < static_cast<size_t>(history.GetMaxFiles()); ++i)
    store.Write(wxString::Format("file%d", static_cast<int>(i + 1)), i < n ? history.GetHistoryFile(i) : wxString());
  wxMemoryOutputStream out;
  if (!store.Save(out)) return {};
  std::string text(out.GetSize(), '\0');
  out.CopyTo(text.data(), text.size());
  return text;
}

}  // namespace

std::string RecentFilesText(const wxFileHistory& history) {
  size_t n = history.GetCount();
  std::string text = TextOfFirst(history, n);
  while (n > 0 && text.size() > zorv::kMaxSettingsFileBytes) text = TextOfFirst(history, --n);
  return text;
}

bool KeepRecentFiles(const wxFileHistory& history, const std::string& path) {
  const std::string text = RecentFilesText(history);
  return !text.empty() && zorv::WriteSettingsFile(path, text);
}
