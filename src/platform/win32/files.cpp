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

// Writes all of `bytes` to an output; a failure throws IoError.
void WriteOutput(HANDLE handle, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD written = 0;
    if (!::WriteFile(handle, bytes.data(), static_cast<DWORD>(std::min(bytes.size(), kMaxChunk)), &written,
                     nullptr)) {
      throw IoError{LastError(), IoSite::kWriteOutput};
    }
    if (written == 0) throw IoError{ERROR_WRITE_FAULT, IoSite::kWriteOutput};
    bytes.remove_prefix(written);
  }
}

// The report, open for reading; others may read it too, but neither write
// nor delete it while it is open.
class ReportFile : public ReportSource {
 public:
  ReportFile(HANDLE handle, std::optional<FileIdentity> identity)
      : handle_(handle), identity_(identity), regular_(::GetFileType(handle) == FILE_TYPE_DISK) {}
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
  bool IsRegularFile() const override { return regular_; }

 private:
  HANDLE handle_;
  std::optional<FileIdentity> identity_;
  bool regular_;
};

// The page is written to a temporary file beside its final name and moved
// there by Commit; until then an earlier page of that name is intact. While
// it is written others may read the temporary file, but neither write nor
// delete it.
class PageFile : public OutputFile {
 public:
  PageFile(HANDLE handle, std::string temporary, std::string final_name)
      : handle_(handle),
        identity_(IdentityOf(handle).value_or(kUnknownFile)),
        temporary_(std::move(temporary)),
        final_(std::move(final_name)) {
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
    WriteOutput(handle_, bytes);
  }

  FileIdentity Identity() const override { return identity_; }

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
  FileIdentity identity_;
  std::string temporary_;
  std::string final_;
  bool committed_ = false;
};

// An output that is no file on a disk (NUL, CON, a pipe): written into as it
// comes, like standard output, and never replaced.
class StreamOutput : public OutputFile {
 public:
  explicit StreamOutput(HANDLE handle) : handle_(handle) {}
  ~StreamOutput() override {
    if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
  }
  StreamOutput(const StreamOutput&) = delete;
  StreamOutput& operator=(const StreamOutput&) = delete;

  void Write(std::string_view bytes) override {
    WriteOutput(handle_, bytes);
  }
  void Commit() override {
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    if (!::CloseHandle(handle)) throw IoError{LastError(), IoSite::kCloseOutput};
  }
  FileIdentity Identity() const override { return kUnknownFile; }

 private:
  HANDLE handle_;
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

// The first bytes of the file `path` on a disk, for a ReplaceRule; nothing
// when it cannot be read.
std::string HeadOf(const std::string& path) {
  const HANDLE handle = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return {};
  std::string head(kHeadBytes, '\0');
  DWORD read = 0;
  if (::GetFileType(handle) != FILE_TYPE_DISK ||
      !::ReadFile(handle, head.data(), static_cast<DWORD>(head.size()), &read, nullptr)) {
    read = 0;
  }
  ::CloseHandle(handle);
  head.resize(read);
  return head;
}

// Whether the last part of `path` names a DOS device (NUL, CON, PRN, AUX,
// COM1 to COM9, LPT1 to LPT9), which Windows finds in every directory and
// with any extension: such an output is written into, never replaced. Wine
// reports some of them as disk files, so the name decides.
bool IsDeviceName(const std::string& path) {
  std::string name = path.substr(FileNameStart(path));
  name = name.substr(0, name.find('.'));
  while (!name.empty() && (name.back() == ' ' || name.back() == ':')) name.pop_back();
  for (char& c : name) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (name == "NUL" || name == "CON" || name == "PRN" || name == "AUX") return true;
  return name.size() == 4 && (name.starts_with("COM") || name.starts_with("LPT")) && name[3] >= '1' &&
         name[3] <= '9';
}

// What stands in an output's place: nothing (or a file it may replace), a
// file it may not take, or a device it writes into (its handle open).
struct OutputPlace {
  enum class Kind { kFree, kRefused, kStream } kind;
  HANDLE stream = INVALID_HANDLE_VALUE;
};

// Can the page's name be taken? Not when `rule` refuses the file there
// (the run's reports, also through a hard link, and outputs), nor when it
// is read-only, a directory, held by another program, or in a directory
// that is missing. A device in its place is opened to be written into.
OutputPlace Examine(const std::string& path, const ReplaceRule& rule) {
  const OutputPlace kRefused{OutputPlace::Kind::kRefused};
  if (path.size() > kMaxPathBytes) return kRefused;
  // Checked by hand: Wine run as root would write a read-only file.
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    return kRefused;
  }
  // Writing under the page's own name, as the page will be written, fails
  // with a sharing violation while the report of that name is open. The
  // existing file is only opened, not changed.
  const HANDLE probe = ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
  if (probe == INVALID_HANDLE_VALUE) {
    return ::GetLastError() == ERROR_FILE_NOT_FOUND ? OutputPlace{OutputPlace::Kind::kFree} : kRefused;
  }
  const std::optional<FileIdentity> identity = IdentityOf(probe);
  if (::GetFileType(probe) != FILE_TYPE_DISK || IsDeviceName(path)) {
    if (rule.MayReplace(identity.value_or(kUnknownFile), {})) return {OutputPlace::Kind::kStream, probe};
    ::CloseHandle(probe);
    return kRefused;
  }
  ::CloseHandle(probe);
  // A file system that cannot name its files is trusted with the name alone.
  if (identity && !rule.MayReplace(*identity, HeadOf(path))) return kRefused;
  return {OutputPlace::Kind::kFree};
}

// A temporary file beside `path`, created and open for writing; its path in
// `temporary`. INVALID_HANDLE_VALUE when the directory takes none.
HANDLE CreateTemporary(const std::string& path, std::string& temporary) {
  for (int n = 0; n < kTemporaryNames; ++n) {
    temporary = TemporaryPath(path, n);
    // A device name with any extension is the device itself: never a file
    // to create, delete or move (Wine maps NUL to the host's /dev/null).
    if (temporary.size() > kMaxPathBytes || IsDeviceName(temporary)) return INVALID_HANDLE_VALUE;
    // DELETE access lets an interrupt mark the file for deletion.
    const HANDLE handle = ::CreateFileA(temporary.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr,
                                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) return handle;
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return INVALID_HANDLE_VALUE;
  }
  return INVALID_HANDLE_VALUE;
}

// Whether a temporary file can be made beside `path`; it is removed at once.
bool TemporaryFits(const std::string& path) {
  std::string temporary;
  const HANDLE handle = CreateTemporary(path, temporary);
  if (handle == INVALID_HANDLE_VALUE) return false;
  ::CloseHandle(handle);
  ::DeleteFileA(temporary.c_str());
  return true;
}

class Win32Files : public ReportFiles {
 public:
  std::unique_ptr<ReportSource> OpenReport(const std::string& path, ReportOrigin) override {
    if (path.size() > kMaxPathBytes) return nullptr;
    const HANDLE handle = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<ReportFile>(handle, IdentityOf(handle));
  }

  std::unique_ptr<OutputFile> CreateOutput(const std::string& path, const ReplaceRule& rule,
                                           std::uint32_t) override {
    const OutputPlace place = Examine(path, rule);
    if (place.kind == OutputPlace::Kind::kRefused) return nullptr;
    if (place.kind == OutputPlace::Kind::kStream) return std::make_unique<StreamOutput>(place.stream);
    std::string temporary;
    const HANDLE handle = CreateTemporary(path, temporary);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    NoteTemporaryName(temporary.substr(FileNameStart(temporary)));
    try {
      return std::make_unique<PageFile>(handle, temporary, path);
    } catch (...) {
      ::CloseHandle(handle);
      ::DeleteFileA(temporary.c_str());
      throw;
    }
  }

  bool CanCreateOutput(const std::string& path, const ReplaceRule& rule) override {
    const OutputPlace place = Examine(path, rule);
    if (place.kind == OutputPlace::Kind::kStream) ::CloseHandle(place.stream);
    return place.kind == OutputPlace::Kind::kStream || (place.kind == OutputPlace::Kind::kFree && TemporaryFits(path));
  }

  bool DirectoryTakesFiles(const std::string& dir) override {
    const DWORD attributes = ::GetFileAttributesA(dir.empty() ? "." : dir.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return false;
    const bool separated = !dir.empty() && (dir.back() == '\\' || dir.back() == '/' || dir.back() == ':');
    return TemporaryFits(dir + (dir.empty() || separated ? "" : "\\") + "probe.htm");
  }
};

}  // namespace

ReportFiles& Files() {
  static Win32Files files;
  return files;
}

FileIdentity IdentityOfPath(const std::string& path) {
  const HANDLE handle = ::CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return kUnknownFile;
  const std::optional<FileIdentity> identity = IdentityOf(handle);
  ::CloseHandle(handle);
  return identity.value_or(kUnknownFile);
}

}  // namespace rptconv::platform
