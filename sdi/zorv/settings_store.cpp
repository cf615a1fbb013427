#include "sdi/zorv/settings_store.h"

#include <wx/fileconf.h>
#include <wx/filehistory.h>
#include <wx/mstream.h>

#include "sdi/zorv/core/base/messages.h"
#include "sdi/zorv/core/document/settings_file.h"

namespace {

// Whether the toolkit's store can decode text. It converts the bytes and the one after
// them (a terminator here), which no UTF-16 or UTF-32 text has an even count of; text it
// cannot convert leaves it empty, with a bare log message.
bool StoreDecodes(const std::string& text, const wxMBConv& conv) {
  if (text.empty()) return true;
  size_t len = 0;
  conv.cMB2WC(text.c_str(), text.size() + 1, &len);
  return len != 0;
}

}  // namespace

wxConfigBase* OpenSettingsStore(const std::string& path, bool& keep) {
  zorv::SettingsFile file = zorv::ReadSettingsFile(path);
  if (file.refused.empty() && !StoreDecodes(file.text, wxConvAuto())) zorv::RefuseUnreadableSettingsFile(file, path);
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
