#include "cli/console.h"

#include "cli/console_text.h"

namespace rptconv {

// The line and its CR LF go out in one write, so that a failure report that
// follows never lands inside a line.
void StandardConsole::Line(std::string_view line) {
  platform::WriteStream(stream_, ConsoleLineBytes(line, terminal_), IoSite::kWriteConsole);
}

}  // namespace rptconv
