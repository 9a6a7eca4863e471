// Removal of the temporary output when the program is interrupted.
#pragma once

namespace rptconv::platform {

// SIGINT and SIGTERM remove the registered temporary file, then end the
// process with the signal's usual status.
void InstallCleanupHandlers();
// The temporary file to remove on a signal; nullptr when there is none. The
// string must stay valid until it is unregistered.
void RegisterTemporary(const char* path);

}  // namespace rptconv::platform
