// Writing a file so that a failure never destroys the previous one: the body
// goes to a temporary file in the same folder, which is renamed over the
// target only when every write, the flush and the close succeeded. A target
// that could not be opened for writing in place (a folder, a read-only file)
// is not_created, as is a folder that does not exist, or a link in a shared
// sticky folder that belongs to another user, a pipe that no process reads
// (refusal then names it). A write that failed (not_written) leaves its reason in
// `error`: errno as the body's failed writes left it, else that of the flush, sync
// or rename.
// Temporaries of the same target abandoned by a process killed while saving
// are removed first; the folder is synced after the rename (see atomic_file.h).
#pragma once

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

namespace sdi {

enum class write_outcome { written, not_created, not_written };

write_outcome write_file_atomically(const std::filesystem::path& path, const std::function<void(std::FILE*)>& body,
                                    std::string* refusal = nullptr, int* error = nullptr);

}  // namespace sdi
