// Report and output files on POSIX.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <optional>
#include <random>
#include <string>

#include "platform/platform.h"
#include "platform/posix/cleanup.h"
#include "platform/posix/fd_io.h"
#include "rptconv/rptconv.h"

namespace rptconv::platform {

namespace {

constexpr mode_t kAnyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr mode_t kNewFileMode = 0666;
constexpr mode_t kPermissionBits = 0777;
// How many random temporary names are tried beside one page.
constexpr int kTemporaryNames = 100;

FileIdentity IdentityOf(const struct stat& info) {
  return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

class ReportFile : public ReportSource {
 public:
  ReportFile(int fd, const struct stat& info)
      : fd_(fd),
        identity_(IdentityOf(info)),
        permissions_(info.st_mode & kPermissionBits),
        regular_(S_ISREG(info.st_mode)) {}
  ~ReportFile() override {
    if (fd_ >= 0) ::close(fd_);
  }
  ReportFile(const ReportFile&) = delete;
  ReportFile& operator=(const ReportFile&) = delete;

  // Every read of the report, for a line or for the end test, reads a block.
  std::size_t Read(char* buffer, std::size_t capacity) override {
    const long n = ReadSome(fd_, buffer, capacity);
    if (n < 0) throw IoError{errno, IoSite::kReadReport};
    return static_cast<std::size_t>(n);
  }

  void Close() override {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) throw IoError{errno, IoSite::kCloseReport};
  }

  FileIdentity Identity() const override { return identity_; }
  std::uint32_t Permissions() const override { return permissions_; }
  bool IsRegularFile() const override { return regular_; }

 private:
  int fd_;
  FileIdentity identity_;
  std::uint32_t permissions_;
  bool regular_;
};

// The page's directory, held open from the checks before the page is made to
// the move onto its name, so that every step names the same directory even
// when the path to it is renamed or relinked meanwhile.
class Directory {
 public:
  explicit Directory(const std::string& path) {
    const char* name = path.empty() ? "." : path.c_str();
    fd_ = ::open(name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
#ifdef O_PATH
    // A directory that may be searched and written but not listed.
    if (fd_ < 0 && errno == EACCES) fd_ = ::open(name, O_PATH | O_DIRECTORY | O_CLOEXEC);
#endif
  }
  ~Directory() {
    if (fd_ >= 0) ::close(fd_);
  }
  Directory(Directory&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  Directory(const Directory&) = delete;
  Directory& operator=(const Directory&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  int Fd() const { return fd_; }

 private:
  int fd_ = -1;
};

// Random names ".rptconv-XXXXXX": hidden, so that no pattern without a
// leading dot finds them, and short, so that any page name fits.
std::string TemporaryName() {
  static std::mt19937_64 generator{std::random_device{}()};
  static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::uint64_t bits = generator();
  std::string name = ".rptconv-";
  for (int i = 0; i < 6; ++i) {
    name += kLetters[bits % (sizeof kLetters - 1)];
    bits /= sizeof kLetters - 1;
  }
  return name;
}

// The page is written to a hidden temporary file beside its final name and
// moved there by Commit; until then an earlier page of that name is intact.
// Destroyed without a Commit, or ended by a cleanup signal, it removes its
// temporary file. Every step names the file relative to the directory
// handle it was created in.
class PageFile : public OutputFile {
 public:
  PageFile(Directory directory, std::string final_name)
      : directory_(std::move(directory)), final_(std::move(final_name)) {}
  ~PageFile() override {
    if (fd_ >= 0) ::close(fd_);
    if (!registered_) return;
    const CleanupSignalsHeld held;
    ::unlinkat(directory_.Fd(), temporary_.c_str(), 0);
    RegisterTemporary(nullptr);
  }
  PageFile(const PageFile&) = delete;
  PageFile& operator=(const PageFile&) = delete;

  // Creates the temporary file with `mode`; false when the directory cannot
  // take it.
  bool Create(mode_t mode) {
    for (int attempt = 0; attempt < kTemporaryNames; ++attempt) {
      const CleanupSignalsHeld held;
      temporary_ = TemporaryName();
      fd_ = ::openat(directory_.Fd(), temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                     S_IRUSR | S_IWUSR);
      if (fd_ < 0) {
        if (errno == EEXIST) continue;
        return false;
      }
      cleanup_ = {directory_.Fd(), temporary_.c_str()};
      RegisterTemporary(&cleanup_);
      registered_ = true;
      ::fchmod(fd_, mode);
      struct stat info;
      if (::fstat(fd_, &info) == 0) identity_ = IdentityOf(info);
      return true;
    }
    return false;
  }

  void Write(std::string_view bytes) override {
    if (const int error = WriteAll(fd_, bytes); error != 0) throw IoError{error, IoSite::kWriteOutput};
  }

  FileIdentity Identity() const override { return identity_; }

  void Commit() override {
    // A page that replaces an earlier one reaches the disk before the
    // rename, and the rename after it, so that a power cut leaves the old
    // page or the new one, never an empty file in their place.
    struct stat earlier;
    const bool replaces = ::fstatat(directory_.Fd(), final_.c_str(), &earlier, AT_SYMLINK_NOFOLLOW) == 0;
    const int fd = fd_;
    fd_ = -1;
    if (replaces && ::fsync(fd) != 0) {
      const int error = errno;
      ::close(fd);
      throw IoError{error, IoSite::kSyncOutput};
    }
    if (::close(fd) != 0) throw IoError{errno, IoSite::kCloseOutput};
    {
      const CleanupSignalsHeld held;
      if (::renameat(directory_.Fd(), temporary_.c_str(), directory_.Fd(), final_.c_str()) != 0) {
        throw IoError{errno, IoSite::kCommitOutput};
      }
      RegisterTemporary(nullptr);
      registered_ = false;
    }
    // EINVAL: a file system that keeps no directory on disk to flush; EBADF:
    // a directory opened only to be searched, which cannot be flushed.
    if (replaces && ::fsync(directory_.Fd()) != 0 && errno != EINVAL && errno != EBADF) {
      throw IoError{errno, IoSite::kSyncDirectory};
    }
  }

 private:
  Directory directory_;
  std::string final_;  // the page's name in its directory
  std::string temporary_;
  TemporaryFile cleanup_{-1, nullptr};
  FileIdentity identity_ = kUnknownFile;
  int fd_ = -1;
  bool registered_ = false;  // the temporary file exists and is ours to remove
};

// An output that is no regular file (a device, a FIFO, a socket's name):
// written into as it comes, like standard output, and never replaced.
class StreamOutput : public OutputFile {
 public:
  StreamOutput(int fd, const struct stat& info) : fd_(fd), identity_(IdentityOf(info)) {}
  ~StreamOutput() override {
    if (fd_ >= 0) ::close(fd_);
  }
  StreamOutput(const StreamOutput&) = delete;
  StreamOutput& operator=(const StreamOutput&) = delete;

  void Write(std::string_view bytes) override {
    if (const int error = WriteAll(fd_, bytes); error != 0) throw IoError{error, IoSite::kWriteOutput};
  }
  void Commit() override {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) throw IoError{errno, IoSite::kCloseOutput};
  }
  FileIdentity Identity() const override { return identity_; }

 private:
  int fd_;
  FileIdentity identity_;
};

// The first bytes of the regular file `name` in `directory`, for a
// ReplaceRule; nothing when it cannot be read. Opened without blocking, so a
// FIFO swapped in meanwhile cannot stop the program.
std::string HeadOf(const Directory& directory, const std::string& name) {
  const int fd = ::openat(directory.Fd(), name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return {};
  std::string head;
  struct stat info;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    head.resize(kHeadBytes);
    std::size_t size = 0;
    while (size < head.size()) {
      const long n = ReadSome(fd, head.data() + size, head.size() - size);
      if (n <= 0) break;
      size += static_cast<std::size_t>(n);
    }
    head.resize(size);
  }
  ::close(fd);
  return head;
}

mode_t CurrentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

// Whether the running user may replace the entry `entry` in the directory
// `directory`, as the kernel decides for a rename onto it: in a directory
// with the sticky bit, only the owner of the entry or of the directory, or
// the superuser, may.
bool MayReplace(const struct stat& directory, const struct stat& entry) {
  if ((directory.st_mode & S_ISVTX) == 0) return true;
  const uid_t user = ::geteuid();
  return user == 0 || entry.st_uid == user || directory.st_uid == user;
}

// What stands in an output's place, once the checks that come before any
// writing are made.
struct OutputPlace {
  Directory directory;
  std::string name;
  mode_t mode = 0;
  bool stream = false;  // an existing file that is no regular file, or a standard stream's
  int standard_fd = -1;  // the standard stream whose file it is
  struct stat target {};
};

class PosixFiles : public ReportFiles {
 public:
  std::unique_ptr<ReportSource> OpenReport(const std::string& path, ReportOrigin origin) override {
    // A report a wildcard found is opened without blocking: a FIFO put in
    // its place after the listing is then refused, not waited for.
    const int flags = O_RDONLY | O_CLOEXEC | (origin == ReportOrigin::kFound ? O_NONBLOCK | O_NOCTTY : 0);
    const int fd = ::open(path.c_str(), flags);
    if (fd < 0) return nullptr;
    struct stat info;
    if (::fstat(fd, &info) != 0) {
      ::close(fd);
      return nullptr;
    }
    if (origin == ReportOrigin::kFound && S_ISREG(info.st_mode)) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return std::make_unique<ReportFile>(fd, info);
  }

  std::unique_ptr<OutputFile> CreateOutput(const std::string& path, const ReplaceRule& rule,
                                           std::uint32_t readers) override {
    std::optional<OutputPlace> place = Examine(path, rule);
    if (!place) return nullptr;
    if (place->stream) {
      const int fd = place->standard_fd >= 0
                         ? ::fcntl(place->standard_fd, F_DUPFD_CLOEXEC, 0)
                         : ::openat(place->directory.Fd(), place->name.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
      if (fd < 0) return nullptr;
      struct stat info;
      // The file opened must be the one examined, still no regular file
      // (unless it is a standard stream's).
      if (::fstat(fd, &info) != 0 || (S_ISREG(info.st_mode) && place->standard_fd < 0) ||
          !rule.MayReplace(IdentityOf(info), {})) {
        ::close(fd);
        return nullptr;
      }
      return std::make_unique<StreamOutput>(fd, info);
    }
    // No class that cannot read the report may read its page.
    const mode_t mode = place->mode & ~((S_IRGRP | S_IROTH) & ~static_cast<mode_t>(readers));
    auto page = std::make_unique<PageFile>(std::move(place->directory), std::move(place->name));
    if (!page->Create(mode)) return nullptr;
    return page;
  }

  bool CanCreateOutput(const std::string& path, const ReplaceRule& rule) override {
    std::optional<OutputPlace> place = Examine(path, rule);
    if (!place) return false;
    if (place->stream) return true;
    PageFile probe(std::move(place->directory), std::move(place->name));
    return probe.Create(S_IRUSR | S_IWUSR);
  }

  bool DirectoryTakesFiles(const std::string& dir) override {
    Directory directory(dir.empty() ? "." : dir);
    if (!directory.IsOpen()) return false;
    PageFile probe(std::move(directory), {});
    return probe.Create(S_IRUSR | S_IWUSR);
  }

 private:
  // The checks before an output is made: its directory opens, and the file
  // in its place, if any, is neither a directory, nor refused by `rule`,
  // nor read-only, nor another user's in a sticky directory.
  std::optional<OutputPlace> Examine(const std::string& path, const ReplaceRule& rule) const {
    const std::size_t slash = path.rfind('/');
    const std::size_t name_start = slash == std::string::npos ? 0 : slash + 1;
    OutputPlace place{Directory(path.substr(0, name_start)), path.substr(name_start)};
    struct stat dir_info;
    if (!place.directory.IsOpen() || place.name.empty() || ::fstat(place.directory.Fd(), &dir_info) != 0) {
      return std::nullopt;
    }
    place.mode = kNewFileMode & ~umask_;
    const char* name = place.name.c_str();
    if (::fstatat(place.directory.Fd(), name, &place.target, 0) != 0) {
      // Only an output that does not exist yet (or a dangling link, which the
      // page replaces) may be missing; a name too long for the file system
      // cannot take the page.
      if (errno != ENOENT) return std::nullopt;
      return place;
    }
    // A directory cannot become the page; the rule keeps the run's reports
    // (also through a link) and outputs.
    if (S_ISDIR(place.target.st_mode)) return std::nullopt;
    const bool regular = S_ISREG(place.target.st_mode);
    if (!rule.MayReplace(IdentityOf(place.target), regular ? HeadOf(place.directory, place.name) : std::string())) {
      return std::nullopt;
    }
    if (!regular) {
      place.stream = true;
      return place;
    }
    // The file standard output or error is (-o /dev/stdout with output
    // redirected to a file): written through that stream, not replaced.
    for (const int standard : {STDOUT_FILENO, STDERR_FILENO}) {
      struct stat info;
      if (::fstat(standard, &info) == 0 && IdentityOf(info) == IdentityOf(place.target)) {
        place.stream = true;
        place.standard_fd = standard;
        return place;
      }
    }
    struct stat own;
    if (::fstatat(place.directory.Fd(), name, &own, AT_SYMLINK_NOFOLLOW) == 0) {
      if (!MayReplace(dir_info, own)) return std::nullopt;
      if (!S_ISLNK(own.st_mode)) {
        // A file that nobody may write stays as it is, also for root.
        if ((own.st_mode & kAnyWriteBit) == 0) return std::nullopt;
        // The new page keeps the permissions of the user's own earlier
        // page; a stranger's bits are not taken over.
        if (own.st_uid == ::geteuid()) place.mode = own.st_mode & kPermissionBits;
      }
    }
    return place;
  }

  mode_t umask_ = CurrentUmask();
};

}  // namespace

FileIdentity IdentityOfPath(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 ? IdentityOf(info) : kUnknownFile;
}

ReportFiles& Files() {
  static PosixFiles files;
  return files;
}

}  // namespace rptconv::platform
