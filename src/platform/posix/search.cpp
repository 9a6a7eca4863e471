// Pattern search on POSIX: the directory part is taken literally, the last
// component is matched like a shell does, and the names come in byte order.
#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace rptconv::platform {

namespace {

class ListedSearch : public DirectorySearch {
 public:
  explicit ListedSearch(std::vector<std::string> names) : names_(std::move(names)) {}
  bool Next(std::string& name) override {
    if (next_ == names_.size()) return false;
    name = names_[next_++];
    return true;
  }

 private:
  std::vector<std::string> names_;
  std::size_t next_ = 0;
};

}  // namespace

std::unique_ptr<DirectorySearch> StartSearch(const std::string& pattern) {
  const std::size_t slash = pattern.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : pattern.substr(0, slash == 0 ? 1 : slash);
  const std::string prefix = slash == std::string::npos ? "" : pattern.substr(0, slash + 1);
  const std::string last = slash == std::string::npos ? pattern : pattern.substr(slash + 1);

  std::vector<std::string> names;
  // A name that exists exactly as given is that file, even when it holds
  // "*", "?" or "[": a shell that expanded a pattern hands over such names.
  // It is opened as given, whatever kind of file it is.
  struct stat named;
  if (!last.empty() && ::stat(pattern.c_str(), &named) == 0 && !S_ISDIR(named.st_mode)) {
    names.push_back(last);
    return std::make_unique<ListedSearch>(std::move(names));
  }
  DIR* listing = ::opendir(dir.c_str());
  if (listing == nullptr) return nullptr;
  while (const dirent* entry = ::readdir(listing)) {
    if (::fnmatch(last.c_str(), entry->d_name, FNM_PERIOD) != 0) continue;
    // Only regular files are reports: a directory is no report, and a FIFO,
    // socket or device could block the batch or never end. A name that
    // cannot be examined (a dangling link) is kept, so that its open fails.
    struct stat info;
    const std::string path = prefix + entry->d_name;
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) continue;
    names.emplace_back(entry->d_name);
  }
  ::closedir(listing);
  std::sort(names.begin(), names.end());
  return std::make_unique<ListedSearch>(std::move(names));
}

}  // namespace rptconv::platform
