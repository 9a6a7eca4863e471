// What the command line asks for.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace rptconv {

inline constexpr std::string_view kHtmExtension = ".htm";
inline constexpr std::string_view kHtaExtension = ".hta";

struct Invocation {
  enum class Action { kConvert, kUsage, kVersion } action = Action::kConvert;
  std::string extension{kHtmExtension};
  std::vector<std::string> patterns;
};

// The arguments that count: those before the first empty one.
std::vector<std::string> CountedArguments(std::vector<std::string> words);

// The text without its leading and trailing bytes 1 to 32.
std::string_view TrimControls(std::string_view text);
std::string AsciiUpper(std::string_view text);

// Windows: argument 1 is the pattern, unless it holds "/H" (any case) or "/?"
// anywhere; argument 2 selects ".hta" when it is "/HTA" in any case; further
// arguments are ignored.
Invocation ParseWindowsArguments(const std::vector<std::string>& args);

// POSIX: "-h", "--help", "/?" or "/h..." (letters only, naming nothing that
// exists) first ask for help; "--version" first for the version; "--hta" or a
// later "/HTA" select ".hta"; "--" ends the options; every other argument is
// a pattern.
Invocation ParsePosixArguments(const std::vector<std::string>& args,
                               const std::function<bool(const std::string&)>& path_exists);

}  // namespace rptconv
