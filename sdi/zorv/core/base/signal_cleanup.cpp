#include "sdi/zorv/core/base/signal_cleanup.h"

#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <csignal>
#include <cstring>

#include "simu/base/atomic_file.h"

namespace zorv {

namespace {

constexpr int kMaxPaths = 8;
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Filled before the count is raised, so the handler never reads a half-written path.
char g_paths[kMaxPaths][PATH_MAX];
volatile sig_atomic_t g_count = 0;
struct sigaction g_previous[3];
bool g_installed = false;

int SignalIndex(int sig) {
  for (int i = 0; i < 3; ++i)
    if (kSignals[i] == sig) return i;
  return -1;
}

// Only async-signal-safe calls here.
void RemovePaths() {
  const int n = g_count;
  for (int i = 0; i < n; ++i)
    if (unlink(g_paths[i]) != 0) rmdir(g_paths[i]);
}

void OnEndingSignal(int sig, siginfo_t* info, void* context) {
  RemovePaths();
  const int k = SignalIndex(sig);
  const struct sigaction& before = g_previous[k < 0 ? 0 : k];
  if (k >= 0 && (before.sa_flags & SA_SIGINFO) && before.sa_sigaction) {
    before.sa_sigaction(sig, info, context);
    return;
  }
  if (k >= 0 && !(before.sa_flags & SA_SIGINFO) && before.sa_handler != SIG_DFL && before.sa_handler != SIG_IGN) {
    before.sa_handler(sig);
    return;
  }
  // The default action, so the parent sees the usual status for the signal.
  struct sigaction dfl {};
  dfl.sa_handler = SIG_DFL;
  sigemptyset(&dfl.sa_mask);
  sigaction(sig, &dfl, nullptr);
  raise(sig);
}

void Install() {
  g_installed = true;
  // The engine's handler (it removes the temporaries being written) goes in first, so
  // that ours finds it there and calls it after removing the undo folder.
  cleanup_on_signals();
  for (int i = 0; i < 3; ++i) {
    struct sigaction now {};
    if (sigaction(kSignals[i], nullptr, &now) != 0) continue;
    if (!(now.sa_flags & SA_SIGINFO) && now.sa_handler == SIG_IGN) continue;  // nohup: stays ignored
    g_previous[i] = now;
    struct sigaction ours {};
    ours.sa_sigaction = OnEndingSignal;
    ours.sa_flags = SA_SIGINFO;
    sigemptyset(&ours.sa_mask);
    for (int s : kSignals) sigaddset(&ours.sa_mask, s);  // one cleanup at a time
    sigaction(kSignals[i], &ours, nullptr);
  }
}

}  // namespace

void RemoveOnSignal(const std::vector<std::filesystem::path>& paths) {
  g_count = 0;
  int n = 0;
  for (const std::filesystem::path& p : paths) {
    const std::string& text = p.native();
    if (n == kMaxPaths || text.size() >= PATH_MAX) continue;
    std::memcpy(g_paths[n], text.c_str(), text.size() + 1);
    ++n;
  }
  g_count = n;
  if (!g_installed && n > 0) Install();
}

}  // namespace zorv
