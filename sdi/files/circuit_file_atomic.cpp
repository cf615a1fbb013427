#include "sdi/files/circuit_file_atomic.h"

#include <cerrno>

#include "simu/base/atomic_file.h"

namespace sdi {

write_outcome write_file_atomically(const std::filesystem::path& path, const std::function<void(std::FILE*)>& body,
                                    std::string* refusal, int* error) {
  atomic_file f;
  if (!f.open(path)) {
    if (refusal && f.refused()) *refusal = f.why();
    return write_outcome::not_created;
  }
  errno = 0;
  body(f.file());
  // The stream keeps only its error flag: the reason is errno as the write left it.
  const int body_error = std::ferror(f.file()) ? errno : 0;
  if (f.commit()) return write_outcome::written;
  if (error) *error = body_error ? body_error : f.error();
  return write_outcome::not_written;
}

}  // namespace sdi
