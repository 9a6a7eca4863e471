#include "platform/posix/cleanup.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>

namespace rptconv::platform {

namespace {

std::atomic<const char*> g_temporary{nullptr};

extern "C" void RemoveTemporaryAndDie(int signal_number) {
  if (const char* path = g_temporary.exchange(nullptr)) ::unlink(path);
  ::signal(signal_number, SIG_DFL);
  ::raise(signal_number);
}

}  // namespace

void InstallCleanupHandlers() {
  struct sigaction action {};
  action.sa_handler = RemoveTemporaryAndDie;
  sigemptyset(&action.sa_mask);
  for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(signal_number, &action, nullptr);
}

void RegisterTemporary(const char* path) { g_temporary.store(path); }

}  // namespace rptconv::platform
