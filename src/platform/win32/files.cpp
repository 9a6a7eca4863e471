// Report and output files on Windows.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "platform/win32/cleanup.h"
#include "platform/win32/win.h"
#include "rptconv/rptconv.h"

namespace rptconv::platform {

namespace {

constexpr std::size_t kMaxChunk = std::size_t{1} << 30;
// How many temporary names are tried beside one page.
constexpr int kTemporaryNames = 256;

// Which file an open handle is; nothing when the file system cannot tell.
std::optional<FileIdentity> IdentityOf(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!::GetFileInformationByHandle(handle, &info)) return std::nullopt;
  return FileIdentity{info.dwVolumeSerialNumber,
                      (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

// The report, open for reading; others may read it too, but neither write
// nor delete it while it is open.
class ReportFile : public ReportSource {
 public:
  ReportFile(HANDLE handle, std::optional<FileIdentity> identity) : handle_(handle), identity_(identity) {}
  ~ReportFile() override {
    if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
  }
  ReportFile(const ReportFile&) = delete;
  ReportFile& operator=(const ReportFile&) = delete;

  std::size_t Read(char* buffer, std::size_t capacity) override {
    DWORD read = 0;
    if (!::ReadFile(handle_, buffer, static_cast<DWORD>(std::min(capacity, kMaxChunk)), &read, nullptr)) {
      throw IoError{LastError(), IoSite::kReadReport};
    }
    return read;
  }

  void Close() override {
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    if (!::CloseHandle(handle)) throw IoError{LastError(), IoSite::kCloseReport};
  }

  // A report whose file system cannot name its files gets an identity that
  // no other file has; its own name is still refused by the sharing check.
  FileIdentity Identity() const override { return identity_.value_or(FileIdentity{~0ULL, ~0ULL}); }
  // Access is granted by the directory's inherited access list, not by bits.
  std::uint32_t Permissions() const override { return 0777; }

 private:
  HANDLE handle_;
  std::optional<FileIdentity> identity_;
};

// The page is written to a temporary file beside its final name and moved
// there by Commit; until then an earlier page of that name is intact. While
// it is written others may read the temporary file, but neither write nor
// delete it.
class PageFile : public OutputFile {
 public:
  PageFile(HANDLE handle, std::string temporary, std::string final_name)
      : handle_(handle), temporary_(std::move(temporary)), final_(std::move(final_name)) {
    InterruptLock lock;
    lock.Register(handle_);
  }
  ~PageFile() override {
    if (committed_) return;
    InterruptLock lock;
    lock.Register(nullptr);
    if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
    ::DeleteFileA(temporary_.c_str());
  }
  PageFile(const PageFile&) = delete;
  PageFile& operator=(const PageFile&) = delete;

  void Write(std::string_view bytes) override {
    while (!bytes.empty()) {
      DWORD written = 0;
      if (!::WriteFile(handle_, bytes.data(), static_cast<DWORD>(std::min(bytes.size(), kMaxChunk)), &written,
                       nullptr)) {
        throw IoError{LastError(), IoSite::kWriteOutput};
      }
      if (written == 0) throw IoError{ERROR_WRITE_FAULT, IoSite::kWriteOutput};
      bytes.remove_prefix(written);
    }
  }

  void Commit() override {
    // Closing and moving happen whole, or not at all when an interrupt has
    // already doomed the temporary file.
    InterruptLock lock;
    if (lock.Interrupted()) {
      // The system is ending the process; the page must not appear now.
      for (;;) ::Sleep(INFINITE);
    }
    lock.Register(nullptr);
    // A page that replaces an earlier one reaches the disk before the move,
    // and the move waits until it is on disk itself, so that a power cut
    // leaves the old page or the new one, never an empty file in their place.
    const bool replaces = ::GetFileAttributesA(final_.c_str()) != INVALID_FILE_ATTRIBUTES;
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    if (replaces && !::FlushFileBuffers(handle)) {
      const int error = LastError();
      ::CloseHandle(handle);
      throw IoError{error, IoSite::kSyncOutput};
    }
    if (!::CloseHandle(handle)) throw IoError{LastError(), IoSite::kCloseOutput};
    const DWORD flags = MOVEFILE_REPLACE_EXISTING | (replaces ? MOVEFILE_WRITE_THROUGH : 0);
    if (!::MoveFileExA(temporary_.c_str(), final_.c_str(), flags)) {
      throw IoError{LastError(), IoSite::kCommitOutput};
    }
    committed_ = true;
  }

 private:
  HANDLE handle_;
  std::string temporary_;
  std::string final_;
  bool committed_ = false;
};

// Temporary name number `n` for a page: its extension (".htm") replaced by
// ".~" and two hex digits, so that it is no longer than the page's own path.
std::string TemporaryPath(const std::string& page, int n) {
  char suffix[5];
  std::snprintf(suffix, sizeof suffix, ".~%02x", static_cast<unsigned>(n));
  const std::size_t name = FileNameStart(page);
  const bool has_extension = page.size() - name >= 4 && page[page.size() - 4] == '.';
  return page.substr(0, has_extension ? page.size() - 4 : page.size()) + suffix;
}

// Can the page's name be taken? Not when it is the report itself, read-only,
// a directory, held by another program, or in a directory that is missing.
bool PageNameFree(const std::string& path, const ReportSource& report) {
  // Checked by hand: Wine run as root would write a read-only file.
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    return false;
  }
  // Writing under the page's own name, as the page will be written, fails
  // with a sharing violation while the report of that name is open. The
  // existing file is only opened, not changed.
  const HANDLE probe = ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
  if (probe == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
  // The report under another name (a hard link) whose sharing did not stop
  // the probe.
  const std::optional<FileIdentity> identity = IdentityOf(probe);
  const bool other_file = !identity || !report.IsFile(*identity);
  ::CloseHandle(probe);
  return other_file;
}

class Win32Files : public ReportFiles {
 public:
  std::unique_ptr<ReportSource> OpenReport(const std::string& path) override {
    if (path.size() > kMaxPathBytes) return nullptr;
    const HANDLE handle = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<ReportFile>(handle, IdentityOf(handle));
  }

  std::unique_ptr<OutputFile> CreateOutput(const std::string& path, const ReportSource& report) override {
    if (path.size() > kMaxPathBytes || !PageNameFree(path, report)) return nullptr;
    for (int n = 0; n < kTemporaryNames; ++n) {
      std::string temporary = TemporaryPath(path, n);
      if (temporary.size() > kMaxPathBytes) return nullptr;
      // DELETE access lets an interrupt mark the file for deletion.
      const HANDLE handle = ::CreateFileA(temporary.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr,
                                          CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
      if (handle != INVALID_HANDLE_VALUE) {
        NoteTemporaryName(temporary.substr(FileNameStart(temporary)));
        try {
          return std::make_unique<PageFile>(handle, temporary, path);
        } catch (...) {
          ::CloseHandle(handle);
          ::DeleteFileA(temporary.c_str());
          throw;
        }
      }
      const DWORD error = ::GetLastError();
      if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return nullptr;
    }
    return nullptr;
  }
};

}  // namespace

ReportFiles& Files() {
  static Win32Files files;
  return files;
}

}  // namespace rptconv::platform
