// Report and output files on POSIX.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/platform.h"
#include "platform/posix/cleanup.h"
#include "platform/posix/fd_io.h"
#include "rptconv/rptconv.h"

namespace rptconv::platform {

namespace {

constexpr mode_t kAnyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr mode_t kNewFileMode = 0666;

class ReportFile : public ByteSource {
 public:
  ReportFile(int fd, const struct stat& info) : fd_(fd), device_(info.st_dev), inode_(info.st_ino) {}
  ~ReportFile() override {
    if (fd_ >= 0) ::close(fd_);
  }

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

  bool IsFile(const struct stat& other) const { return other.st_dev == device_ && other.st_ino == inode_; }

 private:
  int fd_;
  dev_t device_;
  ino_t inode_;
};

// The page is written to a hidden temporary file beside its final name and
// moved there by Commit; until then an earlier page of that name is intact.
// Destroyed without a Commit, or ended by a cleanup signal, it removes its
// temporary file.
class PageFile : public OutputFile {
 public:
  PageFile(std::string temporary, std::string final_name)
      : temporary_(std::move(temporary)), final_(std::move(final_name)) {}
  ~PageFile() override {
    if (fd_ >= 0) ::close(fd_);
    if (!registered_) return;
    const CleanupSignalsHeld held;
    ::unlink(temporary_.c_str());
    RegisterTemporary(nullptr);
  }

  // Creates the temporary file with `mode`; false when its directory cannot
  // take it.
  bool Create(mode_t mode) {
    const CleanupSignalsHeld held;
    fd_ = ::mkostemp(temporary_.data(), O_CLOEXEC);
    if (fd_ < 0) return false;
    RegisterTemporary(temporary_.c_str());
    registered_ = true;
    ::fchmod(fd_, mode);
    return true;
  }

  void Write(std::string_view bytes) override {
    if (const int error = WriteAll(fd_, bytes); error != 0) throw IoError{error, IoSite::kWriteOutput};
  }

  void Commit() override {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) throw IoError{errno, IoSite::kCloseOutput};
    const CleanupSignalsHeld held;
    if (::rename(temporary_.c_str(), final_.c_str()) != 0) throw IoError{errno, IoSite::kCommitOutput};
    RegisterTemporary(nullptr);
    registered_ = false;
  }

 private:
  int fd_ = -1;
  bool registered_ = false;  // the temporary file exists and is ours to remove
  std::string temporary_;
  std::string final_;
};

mode_t CurrentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

class PosixFiles : public ReportFiles {
 public:
  std::unique_ptr<ByteSource> OpenReport(const std::string& path) override {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat info;
    if (::fstat(fd, &info) != 0) {
      ::close(fd);
      return nullptr;
    }
    return std::make_unique<ReportFile>(fd, info);
  }

  std::unique_ptr<OutputFile> CreateOutput(const std::string& path, ByteSource& input) override {
    mode_t mode = kNewFileMode & ~umask_;
    struct stat target;
    if (::stat(path.c_str(), &target) != 0) {
      // Only a page that does not exist yet (or a dangling link, which the
      // page replaces) may be missing; a name too long for the file system
      // or a path through a non-directory cannot take the page.
      if (errno != ENOENT) return nullptr;
    } else {
      // The report itself (also through a link), a directory, or a file
      // that nobody may write cannot become the page.
      if (static_cast<ReportFile&>(input).IsFile(target) || S_ISDIR(target.st_mode)) return nullptr;
      struct stat own;
      if (::lstat(path.c_str(), &own) == 0 && !S_ISLNK(own.st_mode)) {
        if ((own.st_mode & kAnyWriteBit) == 0) return nullptr;
        mode = own.st_mode & 07777;  // the new page keeps the old one's permissions
      }
    }
    auto page = std::make_unique<PageFile>(TemporaryPattern(path), path);
    if (!page->Create(mode)) return nullptr;
    return page;
  }

  void ConsoleLine(std::string_view line) override {
    std::string text;
    text.reserve(line.size() + 2);
    text.append(line).append("\r\n");
    WriteStdout(text);
  }

 private:
  // "dir/.rptconv-XXXXXX" beside the page: hidden, so that no pattern
  // without a leading dot finds it, and short, so that any page name fits.
  static std::string TemporaryPattern(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return path.substr(0, slash == std::string::npos ? 0 : slash + 1) + ".rptconv-XXXXXX";
  }

  mode_t umask_ = CurrentUmask();
};

}  // namespace

ReportFiles& Files() {
  static PosixFiles files;
  return files;
}

}  // namespace rptconv::platform
