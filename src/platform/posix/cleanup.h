// Removal of the temporary output when the program is interrupted.
#pragma once

#include <signal.h>

namespace rptconv::platform {

// The signals that end the program by default and remove the registered
// temporary file first: SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGUSR1, SIGUSR2,
// SIGALRM, SIGVTALRM, SIGPROF and SIGXCPU. The process then ends with the
// signal's usual status. A signal that was ignored when the program started
// (a background job of a script, nohup) stays ignored.
void InstallCleanupHandlers();

// A temporary file: its name in the directory open as `directory`.
struct TemporaryFile {
  int directory;
  const char* name;
};

// The temporary file to remove on a signal; nullptr when there is none. It
// must stay valid until it is unregistered.
void RegisterTemporary(const TemporaryFile* file);

// Holds the cleanup signals back while it lives, so that a temporary file is
// never created, moved or removed without its registration following.
class CleanupSignalsHeld {
 public:
  CleanupSignalsHeld();
  ~CleanupSignalsHeld();
  CleanupSignalsHeld(const CleanupSignalsHeld&) = delete;
  CleanupSignalsHeld& operator=(const CleanupSignalsHeld&) = delete;

 private:
  sigset_t previous_;
};

}  // namespace rptconv::platform
