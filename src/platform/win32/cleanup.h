// The temporary page of the conversion in progress, and its removal when the
// console interrupts the program (Ctrl-C, Ctrl-Break, the window closed).
#pragma once

#include <string>

#include "platform/win32/win.h"

namespace rptconv::platform {

void InstallInterruptHandler();

// What the console's interrupt does: marks the registered temporary file for
// deletion (it goes when the process ends and its handle is closed) and
// remembers the interrupt. Gives FALSE, so that the system's own handling
// then ends the process.
BOOL WINAPI HandleInterrupt(DWORD event);

// Holds off the interrupt handler while a temporary file is registered,
// closed, moved or removed, so that it never sees half of such a step.
class InterruptLock {
 public:
  InterruptLock();
  ~InterruptLock();
  InterruptLock(const InterruptLock&) = delete;
  InterruptLock& operator=(const InterruptLock&) = delete;

  // The open temporary file that an interrupt deletes; nullptr for none.
  void Register(HANDLE file);
  // Whether an interrupt has come; the process is then being ended.
  bool Interrupted() const;
};

// The names (without directory) of the temporary files this run has made; a
// directory search never yields them.
void NoteTemporaryName(const std::string& name);
bool IsTemporaryName(const std::string& name);

}  // namespace rptconv::platform
