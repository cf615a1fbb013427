// Files the editor removes when SIGINT, SIGTERM or SIGHUP ends it (its undo
// folder), before the signal ends the process as it would have.
//
//     zorv::RemoveOnSignal(undo.Paths());   // files first, their folder last
//     ...
//     zorv::RemoveOnSignal({});             // nothing left to remove
//
// The first call installs the handler for each of the three signals that is not
// ignored; a handler found there (the engine's, for its temporaries) is called
// after ours, else the signal's default action ends the process.
#pragma once
#include <filesystem>
#include <vector>

namespace zorv {

// Replaces the list; at most 8 paths are kept. Each is unlinked, or removed as an
// empty folder, in the handler.
void RemoveOnSignal(const std::vector<std::filesystem::path>& paths);

}  // namespace zorv
