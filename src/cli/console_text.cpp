#include "cli/console_text.h"

namespace rptconv {

std::string ConsoleLineBytes(std::string_view line, bool terminal) {
  std::string text;
  text.reserve(line.size() + 2);
  text.append(line);
  if (terminal) {
    for (char& byte : text) {
      if (static_cast<unsigned char>(byte) < 0x20 || byte == 0x7F) byte = '?';
    }
  }
  text.append("\r\n");
  return text;
}

}  // namespace rptconv
