// Standard streams, start-up, the command line and the failure report's
// pieces on Windows.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/cleanup.h"
#include "platform/win32/win.h"
#include "rptconv/rptconv.h"

namespace rptconv::platform {

namespace {

// Writes all of `bytes` to a standard handle, as they are: no CR LF
// translation, no character-set conversion. Gives 0 or the error number.
int WriteAll(DWORD which, std::string_view bytes) {
  const HANDLE handle = ::GetStdHandle(which);
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(handle, bytes.data(), chunk, &written, nullptr)) return LastError();
    if (written == 0) return ERROR_WRITE_FAULT;
    bytes.remove_prefix(written);
  }
  return 0;
}

}  // namespace

bool IsLeadByte(unsigned char byte) { return ::IsDBCSLeadByte(byte) != FALSE; }

std::size_t FileNameStart(std::string_view path) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < path.size();) {
    if (IsLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size()) {
      i += 2;
      continue;
    }
    if (path[i] == '\\' || path[i] == '/' || path[i] == ':') start = i + 1;
    ++i;
  }
  return start;
}

void Initialize() {
  // A drive without a medium must fail like any other path, not stop the
  // batch with a message box.
  ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  InstallInterruptHandler();
}

void WriteStream(StandardStream stream, std::string_view bytes, IoSite site) {
  if (const int error = WriteAll(stream == StandardStream::kOutput ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE, bytes);
      error != 0) {
    throw IoError{error, site};
  }
}

void WriteStderr(std::string_view bytes) { WriteAll(STD_ERROR_HANDLE, bytes); }

bool IsTerminal(StandardStream stream) {
  const HANDLE handle = ::GetStdHandle(stream == StandardStream::kOutput ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  return ::GetFileType(handle) == FILE_TYPE_CHAR;
}

std::string ModuleName() {
  std::string path(MAX_PATH, '\0');
  while (true) {
    const DWORD n = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return "rptconv.exe";
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(FileNameStart(path));
}

ErrorKind KindOfError(int code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND: return ErrorKind::kFileNotFound;
    case ERROR_PATH_NOT_FOUND: return ErrorKind::kInvalidFilename;
    case ERROR_TOO_MANY_OPEN_FILES: return ErrorKind::kTooManyOpenFiles;
    case ERROR_ACCESS_DENIED: return ErrorKind::kAccessDenied;
    default: return ErrorKind::kOther;
  }
}

// The report is composed in the ANSI code page; the console shows OEM.
std::string ForConsole(std::string report) {
  ::CharToOemA(report.c_str(), report.data());
  return report;
}

Family ThisFamily() { return Family::kWindows; }

// The process's own command line, not the C runtime's argv, which follows
// other quoting rules.
RawCommandLine ReadCommandLine(int, char**) {
  RawCommandLine command_line;
  command_line.text = ::GetCommandLineA();
  return command_line;
}

bool PathExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

namespace {

// Standard input stays open once the report is read. A pipe whose writer has
// gone is at its end. It is no file that a page could replace.
class StandardInputSource : public ReportSource {
 public:
  std::size_t Read(char* buffer, std::size_t capacity) override {
    DWORD read = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(capacity, 1u << 30));
    if (!::ReadFile(::GetStdHandle(STD_INPUT_HANDLE), buffer, chunk, &read, nullptr)) {
      if (::GetLastError() == ERROR_BROKEN_PIPE) return 0;
      throw IoError{LastError(), IoSite::kReadReport};
    }
    return read;
  }
  FileIdentity Identity() const override { return {~0ULL, ~0ULL}; }
  std::uint32_t Permissions() const override { return 0777; }
};

}  // namespace

std::unique_ptr<ReportSource> StandardInput() { return std::make_unique<StandardInputSource>(); }

std::string CurrentDirectory() {
  std::string path(MAX_PATH, '\0');
  DWORD length = ::GetCurrentDirectoryA(static_cast<DWORD>(path.size()), path.data());
  if (length > path.size()) {
    path.resize(length);
    length = ::GetCurrentDirectoryA(static_cast<DWORD>(path.size()), path.data());
  }
  path.resize(length);
  return path;
}

}  // namespace rptconv::platform
