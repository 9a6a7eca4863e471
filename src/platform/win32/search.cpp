// Pattern search on Windows: the system's own wildcard search, its entries in
// the order it gives them.
#include <string>

#include "platform/platform.h"
#include "platform/win32/cleanup.h"
#include "platform/win32/win.h"

namespace rptconv::platform {

namespace {

class FindSearch : public DirectorySearch {
 public:
  explicit FindSearch(const std::string& pattern)
      : handle_(::FindFirstFileA(pattern.c_str(), &entry_)),
        first_error_(handle_ == INVALID_HANDLE_VALUE ? ::GetLastError() : ERROR_SUCCESS) {}
  // Why the search found nothing at all, or ERROR_SUCCESS.
  DWORD FirstError() const { return first_error_; }
  ~FindSearch() override {
    if (handle_ != INVALID_HANDLE_VALUE) ::FindClose(handle_);
  }
  FindSearch(const FindSearch&) = delete;
  FindSearch& operator=(const FindSearch&) = delete;

  // The search moves to its next entry only when the caller asks for it.
  bool Next(std::string& name) override {
    while (handle_ != INVALID_HANDLE_VALUE) {
      if (started_ && !::FindNextFileA(handle_, &entry_)) {
        ::FindClose(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        return false;
      }
      started_ = true;
      // cFileName is the long name; the short alias is never used.
      const std::string found(entry_.cFileName);
      if ((entry_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || IsTemporaryName(found)) continue;
      name = found;
      return true;
    }
    return false;
  }

 private:
  WIN32_FIND_DATAA entry_{};
  HANDLE handle_;
  DWORD first_error_;
  bool started_ = false;
};

}  // namespace

std::unique_ptr<DirectorySearch> StartSearch(const std::string& pattern) {
  auto search = std::make_unique<FindSearch>(pattern);
  // No match in a directory that exists is an empty search; a missing
  // directory, a file in its place or a directory that may not be read is a
  // search that cannot be made.
  const DWORD error = search->FirstError();
  if (error != ERROR_SUCCESS && error != ERROR_FILE_NOT_FOUND && error != ERROR_NO_MORE_FILES) return nullptr;
  return search;
}

}  // namespace rptconv::platform
