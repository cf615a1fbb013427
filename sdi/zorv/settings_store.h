// The toolkit's settings store and the recent files in it.
//
// The store is made from the settings file's bytes as read and checked at start-up
// (core/document/settings_file.h) and is bound to no file: the toolkit never writes the
// file back itself, with whatever else it found there. At exit the file is written anew
// from the recent files alone, in the toolkit's own format.
//
//     bool keep = false;
//     wxConfigBase::Set(OpenSettingsStore(path, keep));   // a refusal is shown here
//     ...
//     if (keep) KeepRecentFiles(*docManager->GetFileHistory(), path);
#pragma once
#include <string>

class wxConfigBase;
class wxFileHistory;

// The store for the settings file at path; keep says whether the recent files go back
// to it at exit (not when it was refused or could not be read).
wxConfigBase* OpenSettingsStore(const std::string& path, bool& keep);

// The settings file's text for the recent files: "file1=<path>" to "fileN=" for the
// history's N places, the toolkit's escapes applied. The oldest files are left out while
// the text would pass the bound that the next start reads.
std::string RecentFilesText(const wxFileHistory& history);

// Replaces the file at path with RecentFilesText; false, and the previous file kept,
// when it could not be written.
bool KeepRecentFiles(const wxFileHistory& history, const std::string& path);
