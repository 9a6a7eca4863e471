#include "cli/paths.h"

#include <cstddef>

namespace rptconv {

namespace {

constexpr std::size_t kNone = std::string_view::npos;

// The last whole character of `text` that is one of `wanted`, and the start
// of the whole character before it. The second byte of a double-byte
// character is never taken for a delimiter or a dot.
struct Found {
  std::size_t at = kNone;
  std::size_t before = kNone;
};

Found LastOf(std::string_view text, std::string_view wanted, const PathSyntax& syntax) {
  Found found;
  std::size_t previous = kNone;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t width =
        syntax.is_lead_byte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
    if (width == 1 && wanted.find(text[i]) != kNone) found = {i, previous};
    previous = i;
    i += width;
  }
  return found;
}

// The whole character that ends `text` is one of `wanted`.
bool EndsWithOneOf(std::string_view text, std::string_view wanted, const PathSyntax& syntax) {
  const Found last = LastOf(text, wanted, syntax);
  return last.at != kNone && last.at + 1 == text.size();
}

}  // namespace

bool NoLeadBytes(unsigned char) { return false; }

PathSyntax WindowsPaths(bool (*is_lead_byte)(unsigned char)) {
  return PathSyntax{"\\/:", '\\', "\\/", is_lead_byte, "*?"};
}

std::string InputDir(std::string_view pattern, const PathSyntax& syntax) {
  const Found last = LastOf(pattern, syntax.delimiters, syntax);
  if (last.at == kNone) return {};
  // A separator after a name ends the directory part and is dropped; one that
  // stands first or follows another delimiter belongs to it ("C:\", "/").
  const bool after_name = syntax.separators.find(pattern[last.at]) != kNone && last.before != kNone &&
                          (last.before + 1 != last.at ||
                           syntax.delimiters.find(pattern[last.before]) == kNone);
  std::string dir(pattern.substr(0, after_name ? last.at : last.at + 1));
  // A directory part that ends with a delimiter (a separator, or the colon of
  // a drive, which names that drive's current directory) is complete.
  if (!EndsWithOneOf(dir, syntax.delimiters, syntax)) dir.push_back(syntax.separator);
  return dir;
}

std::string MakeOutputName(std::string_view input_path, std::string_view extension,
                           const PathSyntax& syntax) {
  std::string wanted(syntax.delimiters);
  wanted.push_back('.');
  const Found last = LastOf(input_path, wanted, syntax);
  const bool has_extension = last.at != kNone && input_path[last.at] == '.';
  std::string output(input_path.substr(0, has_extension ? last.at : input_path.size()));
  output.append(extension);
  return output;
}

bool HasWildcards(std::string_view pattern, const PathSyntax& syntax) {
  return LastOf(pattern, syntax.wildcards, syntax).at != kNone;
}

std::string_view FileNamePart(std::string_view path, const PathSyntax& syntax) {
  const Found last = LastOf(path, syntax.delimiters, syntax);
  return last.at == kNone ? path : path.substr(last.at + 1);
}

std::string JoinPath(std::string_view dir, std::string_view name, const PathSyntax& syntax) {
  std::string path(dir);
  if (!path.empty() && !EndsWithOneOf(path, syntax.delimiters, syntax)) path.push_back(syntax.separator);
  path.append(name);
  return path;
}

}  // namespace rptconv
