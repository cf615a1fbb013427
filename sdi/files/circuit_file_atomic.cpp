#include "sdi/files/circuit_file_atomic.h"

#include "simu/base/atomic_file.h"

namespace sdi {

write_outcome write_file_atomically(const std::filesystem::path& path, const std::function<void(std::FILE*)>& body,
                                    std::string* refusal) {
  atomic_file f;
  if (!f.open(path)) {
    if (refusal && f.refused()) *refusal = f.why();
    return write_outcome::not_created;
  }
  body(f.file());
  return f.commit() ? write_outcome::written : write_outcome::not_written;
}

}  // namespace sdi
