// The main routine: usage text or the batch of conversions.
#pragma once

namespace rptconv {

// Runs the program and gives its exit code: 0 after the usage text, the help
// or the whole batch, 1 when a report cannot be opened or found, 2 when a page
// cannot be created, 64 for a command line it cannot read. I/O failures pass
// out as IoError (with --keep-going only those of the console).
int RunProgram(int argc, char** argv);

// Runs the program and turns a failure that escaped it into the failure
// report on standard error and exit code 1.
int Main(int argc, char** argv);

}  // namespace rptconv
