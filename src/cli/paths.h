// Where the found reports are and what their pages are called.
#pragma once

#include <string>
#include <string_view>

namespace rptconv {

// The path rules of one platform.
struct PathSyntax {
  std::string_view delimiters;  // characters that end a directory part
  char separator;               // added after a directory part that lacks one
  std::string_view separators;  // delimiters that count as a separator already
  bool (*is_lead_byte)(unsigned char);  // first byte of a double-byte character
  std::string_view wildcards;           // characters that make a name a pattern
};

bool NoLeadBytes(unsigned char);

// "/" separates directories; there are no drives.
inline constexpr PathSyntax kPosixPaths{"/", '/', "/", NoLeadBytes, "*?["};
// "\" and "/" separate directories, ":" ends a drive letter.
PathSyntax WindowsPaths(bool (*is_lead_byte)(unsigned char));

// The directory part of a pattern, with a separator at its end, or empty: the
// prefix of every name the pattern finds.
std::string InputDir(std::string_view pattern, const PathSyntax& syntax);

// The input path with its extension (from its last dot in the file name on)
// replaced by `extension`, or with `extension` appended when it has none.
std::string MakeOutputName(std::string_view input_path, std::string_view extension,
                           const PathSyntax& syntax);

// Whether `pattern` holds a wildcard character and so may match many names.
bool HasWildcards(std::string_view pattern, const PathSyntax& syntax);

// The name of `path` without its directory part.
std::string_view FileNamePart(std::string_view path, const PathSyntax& syntax);

// `name` inside the directory `dir`, with a separator between them unless
// `dir` already ends with a delimiter.
std::string JoinPath(std::string_view dir, std::string_view name, const PathSyntax& syntax);

}  // namespace rptconv
