#include "sdi/zorv/core/base/signal_cleanup.h"

#include <limits.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

#include "simu/base/atomic_file.h"

namespace zorv {

namespace {

constexpr int kMaxPaths = 8;

struct PathTable {
  int count = 0;
  char paths[kMaxPaths][PATH_MAX];
};

// Two tables: a new list is written into the one the handler is not given, then
// handed over with a release store, so the handler never reads a half-written path.
PathTable g_tables[2];
std::atomic<const PathTable*> g_published{nullptr};
static_assert(std::atomic<const PathTable*>::is_always_lock_free, "read in a signal handler");

// Only async-signal-safe calls here.
void RemovePaths() {
  const PathTable* table = g_published.load(std::memory_order_acquire);
  if (!table) return;
  for (int i = 0; i < table->count; ++i)
    if (unlink(table->paths[i]) != 0) rmdir(table->paths[i]);
}

}  // namespace

void RemoveOnSignal(const std::vector<std::filesystem::path>& paths) {
  const PathTable* shown = g_published.load(std::memory_order_relaxed);
  PathTable& next = shown == &g_tables[0] ? g_tables[1] : g_tables[0];
  next.count = 0;
  for (const std::filesystem::path& p : paths) {
    const std::string& text = p.native();
    if (next.count == kMaxPaths || text.size() >= PATH_MAX) continue;
    std::memcpy(next.paths[next.count], text.c_str(), text.size() + 1);
    ++next.count;
  }
  g_published.store(&next, std::memory_order_release);
  static bool installed = false;
  if (!installed && next.count > 0) {
    installed = true;
    cleanup_on_signals(RemovePaths);
  }
}

}  // namespace zorv
