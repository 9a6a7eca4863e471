// Paths made absolute and the address of one file seen from another
// directory, for the links of the overview page.
#pragma once

#include <string>
#include <string_view>

namespace rptconv {

// `path` as an absolute path with "/" between its parts, taken from
// `current_dir` when it is relative. Windows paths may start with a drive
// ("C:") and use "\\" too.
std::string AbsolutePath(std::string_view path, std::string_view current_dir, bool windows);

// One spelling for every name of a path, to tell whether two names mean the
// same file: absolute, without "." and "..", "/" between its parts, and on
// Windows in upper case.
std::string ComparablePath(std::string_view path, std::string_view current_dir, bool windows);

// The directory part of an absolute path made by AbsolutePath.
std::string_view DirectoryOf(std::string_view absolute_path);

// The address of `page` for a link from a page in directory `index_dir`:
// both absolute, with "/" between their parts (a Windows drive is the first
// part). Its bytes are percent-encoded where an address needs it.
std::string RelativeHref(std::string_view index_dir, std::string_view page);

}  // namespace rptconv
