// Files the editor removes when SIGINT, SIGTERM or SIGHUP ends it (its undo
// folder), before the signal ends the process as it would have.
//
//     zorv::RemoveOnSignal(undo.Paths());   // files first, their folder last
//     ...
//     zorv::RemoveOnSignal({});             // nothing left to remove
//
// The removal runs from the engine's handler (see cleanup_on_signals in
// simu/base/atomic_file.h), after the temporaries being written are gone, and only in
// the process that called this: a child forked before its exec (the plotter's start)
// removes nothing of the editor's.
#pragma once
#include <filesystem>
#include <vector>

namespace zorv {

// Replaces the list; at most 8 paths are kept. Each is unlinked, or removed as an
// empty folder, in the handler.
void RemoveOnSignal(const std::vector<std::filesystem::path>& paths);

}  // namespace zorv
