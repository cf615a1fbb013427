// Registration of the circuit file type with the desktop: a desktop entry that
// opens "*.ckt" files with this program, and the MIME type
// application/x-zorv-circuit ("Zorv Document"), both in the user's data folder:
//     <data>/applications/zorv.desktop
//     <data>/mime/packages/zorv.xml
// where <data> is $XDG_DATA_HOME, else $HOME/.local/share. Files are written only
// when missing or different, so a start-up normally writes nothing; a pipe or a
// device in a file's place is left alone (not registered).
#pragma once
#include <filesystem>
#include <string>

namespace zorv {

std::filesystem::path UserDataHome();  // empty when neither variable is set

std::string DesktopEntry(const std::string& exePath);
std::string MimePackage();

// Writes both files under `dataHome`; false when one could not be written.
bool RegisterShellFileTypes(const std::filesystem::path& dataHome, const std::string& exePath);

}  // namespace zorv
