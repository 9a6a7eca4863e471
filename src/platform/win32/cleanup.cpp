#include "platform/win32/cleanup.h"

#include <algorithm>
#include <vector>

namespace rptconv::platform {

namespace {

SRWLOCK g_lock = SRWLOCK_INIT;
HANDLE g_temporary = nullptr;
bool g_interrupted = false;

std::vector<std::string>& TemporaryNames() {
  static std::vector<std::string> names;
  return names;
}

}  // namespace

void InstallInterruptHandler() { ::SetConsoleCtrlHandler(HandleInterrupt, TRUE); }

BOOL WINAPI HandleInterrupt(DWORD) {
  InterruptLock lock;
  if (g_temporary != nullptr) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    ::SetFileInformationByHandle(g_temporary, FileDispositionInfo, &disposition, sizeof disposition);
    g_temporary = nullptr;
  }
  g_interrupted = true;
  return FALSE;
}

InterruptLock::InterruptLock() { ::AcquireSRWLockExclusive(&g_lock); }
InterruptLock::~InterruptLock() { ::ReleaseSRWLockExclusive(&g_lock); }

void InterruptLock::Register(HANDLE file) { g_temporary = file; }
bool InterruptLock::Interrupted() const { return g_interrupted; }

void NoteTemporaryName(const std::string& name) { TemporaryNames().push_back(name); }

bool IsTemporaryName(const std::string& name) {
  const std::vector<std::string>& names = TemporaryNames();
  return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace rptconv::platform
