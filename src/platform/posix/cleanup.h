// Removal of the temporary output when the program is interrupted.
#pragma once

#include <signal.h>

namespace rptconv::platform {

// SIGINT, SIGTERM and SIGHUP remove the registered temporary file, then end
// the process with the signal's usual status. A signal that was ignored when
// the program started (a background job of a script, nohup) stays ignored.
void InstallCleanupHandlers();

// The temporary file to remove on a signal; nullptr when there is none. The
// string must stay valid until it is unregistered.
void RegisterTemporary(const char* path);

// Holds the cleanup signals back while it lives, so that a temporary file is
// never created without being registered.
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
