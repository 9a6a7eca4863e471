#include "platform/posix/cleanup.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>

namespace rptconv::platform {

namespace {

constexpr int kCleanupSignals[] = {SIGHUP,  SIGINT,  SIGQUIT,   SIGTERM, SIGUSR1,
                                   SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF, SIGXCPU};

std::atomic<const TemporaryFile*> g_temporary{nullptr};
static_assert(std::atomic<const TemporaryFile*>::is_always_lock_free);

sigset_t CleanupSet() {
  sigset_t set;
  sigemptyset(&set);
  for (int signal_number : kCleanupSignals) sigaddset(&set, signal_number);
  return set;
}

extern "C" void RemoveTemporaryAndDie(int signal_number) {
  // Removed through the directory handle the file was made in, so a
  // directory renamed since then cannot make it miss.
  if (const TemporaryFile* file = g_temporary.exchange(nullptr)) ::unlinkat(file->directory, file->name, 0);
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

void RegisterTemporary(const TemporaryFile* file) { g_temporary.store(file); }

CleanupSignalsHeld::CleanupSignalsHeld() {
  const sigset_t set = CleanupSet();
  ::sigprocmask(SIG_BLOCK, &set, &previous_);
}

CleanupSignalsHeld::~CleanupSignalsHeld() { ::sigprocmask(SIG_SETMASK, &previous_, nullptr); }

}  // namespace rptconv::platform
