// Starts a program with an exact command-line text, which a Unix shell and
// Wine's own argument quoting cannot give, and ends with its exit code.
//
//   rawcmd.exe [--hold FILE] COMMAND_LINE_FILE PROGRAM.exe
//
// COMMAND_LINE_FILE holds the program's whole command line, word 0
// included, byte for byte. --hold keeps FILE open without any sharing while
// the program runs.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

int Fail(const char* what) {
  std::fprintf(stderr, "rawcmd: %s failed, error %lu\n", what, static_cast<unsigned long>(GetLastError()));
  return 125;
}

}  // namespace

int main(int argc, char** argv) {
  const char* hold = nullptr;
  int i = 1;
  for (; i + 1 < argc && argv[i][0] == '-' && argv[i][1] == '-'; i += 2) {
    if (std::strcmp(argv[i], "--hold") == 0) {
      hold = argv[i + 1];
    } else {
      break;
    }
  }
  if (argc - i != 2) {
    std::fprintf(stderr, "usage: rawcmd [--hold FILE] COMMAND_LINE_FILE PROGRAM.exe\n");
    return 125;
  }

  std::string command_line;
  if (FILE* file = std::fopen(argv[i], "rb")) {
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) command_line.append(buffer, n);
    std::fclose(file);
  } else {
    return Fail("reading the command line");
  }

  HANDLE held = INVALID_HANDLE_VALUE;
  if (hold != nullptr) {
    held = CreateFileA(hold, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held == INVALID_HANDLE_VALUE) return Fail("holding the file");
  }

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(argv[i + 1], command_line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return Fail("starting the program");
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
  return static_cast<int>(code);
}
