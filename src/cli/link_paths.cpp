// Paths made absolute and the address of one file seen from another
// directory, for the links of the overview page.
#include "cli/link_paths.h"

#include <algorithm>
#include <vector>

#include "html/escape.h"

namespace rptconv {

namespace {

constexpr char kPathSeparator = '/';
constexpr std::string_view kParentDirectory = "../";
constexpr std::string_view kFileScheme = "file:///";

// The parts of a path between its separators, without empty ones and ".".
std::vector<std::string_view> PartsOf(std::string_view path) {
  std::vector<std::string_view> parts;
  while (!path.empty()) {
    const std::size_t separator = path.find(kPathSeparator);
    const std::string_view part = path.substr(0, separator);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    if (separator == std::string_view::npos) break;
    path.remove_prefix(separator + 1);
  }
  return parts;
}

}  // namespace

std::string RelativeHref(std::string_view index_dir, std::string_view page) {
  const std::vector<std::string_view> from = PartsOf(index_dir);
  const std::vector<std::string_view> to = PartsOf(page);
  const bool windows_drive = !to.empty() && to.front().size() == 2 && to.front()[1] == ':';
  std::size_t common = 0;
  while (common < from.size() && common + 1 < to.size() && from[common] == to[common]) ++common;
  std::string relative;
  if (windows_drive && common == 0) {
    // Another drive: no relative address reaches it.
    relative.append(kFileScheme);
  } else {
    for (std::size_t i = common; i < from.size(); ++i) relative.append(kParentDirectory);
  }
  for (std::size_t i = common; i < to.size(); ++i) {
    relative.append(to[i]);
    if (i + 1 < to.size()) relative.push_back(kPathSeparator);
  }
  // A name such as "c:x.htm" would read as a scheme: anchor it to this directory.
  if (relative.find(':') != std::string::npos && !relative.starts_with(kFileScheme)) relative.insert(0, "./");
  return PercentEncoded(relative);
}

std::string AbsolutePath(std::string_view path, std::string_view current_dir, bool windows) {
  std::string absolute;
  std::string given(path);
  std::string current(current_dir);
  if (windows) {
    std::replace(given.begin(), given.end(), '\\', kPathSeparator);
    std::replace(current.begin(), current.end(), '\\', kPathSeparator);
    const bool drive = given.size() >= 2 && given[1] == ':';
    if (drive && given.size() >= 3 && given[2] == kPathSeparator) return given;
    if (given.starts_with("//")) return given;
    if (given.starts_with(kPathSeparator)) return current.substr(0, 2) + given;
    // "C:name" is relative to the current directory of drive C:, which is
    // only known for the current drive.
    if (drive) {
      if (current.size() >= 2 && (current[0] | 0x20) == (given[0] | 0x20)) return current + "/" + given.substr(2);
      return given.substr(0, 2) + "/" + given.substr(2);
    }
  } else if (given.starts_with(kPathSeparator)) {
    return given;
  }
  absolute = current;
  absolute.push_back(kPathSeparator);
  absolute.append(given);
  return absolute;
}

std::string ComparablePath(std::string_view path, std::string_view current_dir, bool windows) {
  const std::string absolute = AbsolutePath(path, current_dir, windows);
  std::string comparable;
  for (const std::string_view part : PartsOf(absolute)) {
    comparable.push_back(kPathSeparator);
    comparable.append(part);
  }
  // Windows names differ in case only as ASCII letters do to its file systems.
  if (windows) {
    for (char& c : comparable) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
  }
  return comparable;
}

std::string_view DirectoryOf(std::string_view absolute_path) {
  const std::size_t separator = absolute_path.rfind(kPathSeparator);
  return separator == std::string_view::npos ? std::string_view() : absolute_path.substr(0, separator);
}

}  // namespace rptconv
