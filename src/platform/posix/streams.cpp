// The report on standard input, on POSIX.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/platform.h"
#include "platform/posix/fd_io.h"

namespace rptconv::platform {

namespace {

// Standard input stays open once the report is read: closing it would free
// its descriptor number for the next file opened. Its identity and modes are
// those of the file or pipe behind it, so that `rptconv - -o r.htm <r.htm`
// is refused like any page that would be its own report. A pipe or a
// terminal restricts no reader: its page gets the modes of a new page.
class StandardInputSource : public ReportSource {
 public:
  StandardInputSource() {
    struct stat info;
    if (::fstat(STDIN_FILENO, &info) == 0) {
      identity_ = {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
      if (S_ISREG(info.st_mode)) permissions_ = info.st_mode & 0777;
    }
  }

  std::size_t Read(char* buffer, std::size_t capacity) override {
    const long n = ReadSome(STDIN_FILENO, buffer, capacity);
    if (n < 0) throw IoError{errno, IoSite::kReadReport};
    return static_cast<std::size_t>(n);
  }
  FileIdentity Identity() const override { return identity_; }
  std::uint32_t Permissions() const override { return permissions_; }

 private:
  FileIdentity identity_{~0ULL, ~0ULL};
  std::uint32_t permissions_ = 0777;
};

}  // namespace

std::unique_ptr<ReportSource> StandardInput() { return std::make_unique<StandardInputSource>(); }

}  // namespace rptconv::platform
