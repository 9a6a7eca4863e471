#include "platform/posix/cleanup.h"

#include <unistd.h>

#include <atomic>

namespace rptconv::platform {

namespace {

constexpr int kCleanupSignals[] = {SIGINT, SIGTERM, SIGHUP};

std::atomic<const char*> g_temporary{nullptr};
static_assert(std::atomic<const char*>::is_always_lock_free);

sigset_t CleanupSet() {
  sigset_t set;
  sigemptyset(&set);
  for (int signal_number : kCleanupSignals) sigaddset(&set, signal_number);
  return set;
}

extern "C" void RemoveTemporaryAndDie(int signal_number) {
  if (const char* path = g_temporary.exchange(nullptr)) ::unlink(path);
  // The signal is blocked while its handler runs: raised again with the
  // default action, it ends the process as soon as the handler returns.
  ::signal(signal_number, SIG_DFL);
  ::raise(signal_number);
}

}  // namespace

void InstallCleanupHandlers() {
  struct sigaction action {};
  action.sa_handler = RemoveTemporaryAndDie;
  action.sa_mask = CleanupSet();
  for (int signal_number : kCleanupSignals) {
    struct sigaction inherited {};
    if (::sigaction(signal_number, nullptr, &inherited) == 0 && inherited.sa_handler == SIG_IGN) continue;
    ::sigaction(signal_number, &action, nullptr);
  }
}

void RegisterTemporary(const char* path) { g_temporary.store(path); }

CleanupSignalsHeld::CleanupSignalsHeld() {
  const sigset_t set = CleanupSet();
  ::sigprocmask(SIG_BLOCK, &set, &previous_);
}

CleanupSignalsHeld::~CleanupSignalsHeld() { ::sigprocmask(SIG_SETMASK, &previous_, nullptr); }

}  // namespace rptconv::platform
