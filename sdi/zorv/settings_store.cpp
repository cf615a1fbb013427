#include "sdi/zorv/settings_store.h"

#include <wx/fileconf.h>
#include <wx/filehistory.h>
#include <wx/log.h>
#include <wx/mstream.h>

#include <memory>
#include <utility>
#include <vector>

#include "sdi/zorv/core/base/messages.h"
#include "sdi/zorv/core/document/settings_file.h"

namespace {

// Holds what the toolkit logs while it reads a store, in place of the active target: an
// error means it passed over lines it could not read (a "key=value" it found no '=' in,
// UTF-16 text without a byte-order mark), whose entries a rewrite would lose.
class ReadLog : public wxLog {
 public:
  bool failed = false;
  std::vector<std::pair<wxLogLevel, wxString>> others;  // its warnings, for the target after

 protected:
  void DoLogRecord(wxLogLevel level, const wxString& msg, const wxLogRecordInfo&) override {
    if (level <= wxLOG_Error) failed = true;
    else others.emplace_back(level, msg);
  }
};

// The toolkit's store read from text; failed tells whether it logged an error on the way.
std::unique_ptr<wxFileConfig> ReadStore(const std::string& text, bool& failed) {
  ReadLog log;
  wxLog* before = wxLog::SetActiveTarget(&log);
  wxMemoryInputStream in(text.data(), text.size());
  std::unique_ptr<wxFileConfig> store(new wxFileConfig(in));
  wxLog::SetActiveTarget(before);
  failed = log.failed;
  if (!failed)
    for (const auto& [level, msg] : log.others) wxLogGeneric(level, "%s", msg);
  return store;
}

}  // namespace

wxConfigBase* OpenSettingsStore(const std::string& path, bool& keep) {
  zorv::SettingsFile file = zorv::ReadSettingsFile(path);
  bool failed = false;
  std::unique_ptr<wxFileConfig> store = ReadStore(file.text, failed);
  if (failed) {
    zorv::RefuseUnreadableSettingsFile(file, path);
    store = ReadStore(file.text, failed);
  }
  keep = file.rewrite;
  if (!file.refused.empty()) zorv::ShowMessage(file.refused);
  return store.release();
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
