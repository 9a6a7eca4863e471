// Tests of the Win32 platform layer itself, run under Wine: report and page
// files with their share modes, the read-only and same-file refusals, the
// temporary page, the directory search and the failure report's pieces.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "cli/failure_report.h"
#include "cli/paths.h"
#include "platform/platform.h"
#include "platform/win32/win.h"

namespace rptconv::platform {
namespace {

// A fresh directory under the Windows temporary directory, removed with all
// it holds at the end of the test.
class ScratchDir {
 public:
  ScratchDir() {
    char base[MAX_PATH];
    ::GetTempPathA(sizeof base, base);
    // Test programs that run one after another may get the same process id.
    for (int n = 0;; ++n) {
      path_ = std::string(base) + "rptconv-test-" + std::to_string(::GetCurrentProcessId()) + "-" +
              std::to_string(n);
      if (::CreateDirectoryA(path_.c_str(), nullptr) || ::GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
  }
  ~ScratchDir() { Remove(path_); }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }
  const std::string& path() const { return path_; }

  // The names in the directory, "." and ".." left out.
  std::set<std::string> Names() const {
    std::set<std::string> names;
    WIN32_FIND_DATAA entry;
    const HANDLE search = ::FindFirstFileA((path_ + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      const std::string name = entry.cFileName;
      if (name != "." && name != "..") names.insert(name);
    } while (::FindNextFileA(search, &entry));
    ::FindClose(search);
    return names;
  }

 private:
  static void Remove(const std::string& path) {
    WIN32_FIND_DATAA entry;
    const HANDLE search = ::FindFirstFileA((path + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        const std::string child = path + "\\" + name;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          Remove(child);
        } else {
          ::SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
          ::DeleteFileA(child.c_str());
        }
      } while (::FindNextFileA(search, &entry));
      ::FindClose(search);
    }
    ::RemoveDirectoryA(path.c_str());
  }

  std::string path_;
};

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                    nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
}

std::string ReadFileBytes(const std::string& path) {
  const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<missing>";
  std::string bytes;
  char buffer[4096];
  DWORD n = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &n, nullptr) && n > 0) bytes.append(buffer, n);
  ::CloseHandle(file);
  return bytes;
}

std::string ReadAll(ByteSource& source) {
  std::string bytes;
  char buffer[7];  // small, so that reads continue where the last one ended
  while (const std::size_t n = source.Read(buffer, sizeof buffer)) bytes.append(buffer, n);
  return bytes;
}

// Does another opener get the file with this access? Gives the error, or 0.
DWORD TryOpen(const std::string& path, DWORD access) {
  const HANDLE file = ::CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return ::GetLastError();
  ::CloseHandle(file);
  return 0;
}

// The one file in `dir` that is neither of `known`.
std::string OtherName(const ScratchDir& dir, const std::set<std::string>& known) {
  for (const std::string& name : dir.Names()) {
    if (!known.count(name)) return name;
  }
  return {};
}

const std::string kReport = "Header\r\nSummary,Computer,,x,Name,BOX-01\r\n";

TEST(Win32Files, ReportIsReadWholeAndSharedForReadingOnly) {
  ScratchDir dir;
  WriteFileBytes(dir / "a.csv", kReport);
  auto report = Files().OpenReport(dir / "a.csv");
  ASSERT_NE(report, nullptr);
  EXPECT_EQ(TryOpen(dir / "a.csv", GENERIC_READ), 0u);
  EXPECT_EQ(TryOpen(dir / "a.csv", GENERIC_WRITE), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  EXPECT_EQ(TryOpen(dir / "a.csv", DELETE), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  EXPECT_EQ(ReadAll(*report), kReport);
  EXPECT_EQ(ReadAll(*report), "");  // the end stays the end
  report->Close();
  EXPECT_EQ(TryOpen(dir / "a.csv", GENERIC_WRITE), 0u);
}

TEST(Win32Files, ReportsThatCannotBeOpened) {
  ScratchDir dir;
  EXPECT_EQ(Files().OpenReport(dir / "missing.csv"), nullptr);
  EXPECT_EQ(Files().OpenReport(dir / "no dir\\a.csv"), nullptr);
  ::CreateDirectoryA((dir / "d.csv").c_str(), nullptr);
  EXPECT_EQ(Files().OpenReport(dir / "d.csv"), nullptr);

  // Held by a writer that shares nothing.
  WriteFileBytes(dir / "held.csv", kReport);
  const HANDLE writer = ::CreateFileA((dir / "held.csv").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Files().OpenReport(dir / "held.csv"), nullptr);
  ::CloseHandle(writer);
  EXPECT_NE(Files().OpenReport(dir / "held.csv"), nullptr);
}

TEST(Win32Files, PathsOfUpTo259Bytes) {
  ScratchDir dir;
  // Relative paths from inside the scratch directory, of an exact length.
  char previous[MAX_PATH];
  ::GetCurrentDirectoryA(sizeof previous, previous);
  ASSERT_TRUE(::SetCurrentDirectoryA(dir.path().c_str()));
  const std::string sub(120, 'd');
  ::CreateDirectoryA(sub.c_str(), nullptr);
  ::CreateDirectoryA((sub + "\\" + sub).c_str(), nullptr);
  const std::string at_limit = sub + "\\" + sub + "\\" + std::string(13, 'n') + ".csv";
  const std::string over_limit = sub + "\\" + sub + "\\" + std::string(14, 'n') + ".csv";
  ASSERT_EQ(at_limit.size(), 259u);
  WriteFileBytes(at_limit, kReport);
  WriteFileBytes(over_limit, kReport);

  {
    auto report = Files().OpenReport(at_limit);
    ASSERT_NE(report, nullptr);
    const std::string page = at_limit.substr(0, 255) + ".htm";
    auto output = Files().CreateOutput(page, *report);
    ASSERT_NE(output, nullptr);
    output->Write("x");
    output->Commit();
    EXPECT_EQ(ReadFileBytes(page), "x");
  }
  EXPECT_EQ(Files().OpenReport(over_limit), nullptr);
  {
    auto report = Files().OpenReport(at_limit);
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(Files().CreateOutput(over_limit.substr(0, 256) + ".htm", *report), nullptr);
  }
  // Full paths this long are beyond the removal of the scratch directory.
  for (const std::string& file : {at_limit, over_limit, at_limit.substr(0, 255) + ".htm"}) {
    ::DeleteFileA(file.c_str());
  }
  ::RemoveDirectoryA((sub + "\\" + sub).c_str());
  ::RemoveDirectoryA(sub.c_str());
  ::SetCurrentDirectoryA(previous);
  EXPECT_EQ(dir.Names(), std::set<std::string>{});
}

TEST(Win32Files, PageAppearsOnlyOnCommitAndReplacesTheEarlierOne) {
  ScratchDir dir;
  WriteFileBytes(dir / "a.csv", kReport);
  WriteFileBytes(dir / "a.htm", "earlier page");
  auto report = Files().OpenReport(dir / "a.csv");
  ASSERT_NE(report, nullptr);
  auto output = Files().CreateOutput(dir / "a.htm", *report);
  ASSERT_NE(output, nullptr);

  // The page is written beside its name, no longer than it, and while it is
  // written others may read it but neither write nor delete it.
  const std::string temporary = OtherName(dir, {"a.csv", "a.htm"});
  ASSERT_FALSE(temporary.empty());
  EXPECT_LE(temporary.size(), std::string("a.htm").size());
  output->Write("<HTML>\r\n");
  output->Write("</HTML>\r\n");
  EXPECT_EQ(TryOpen(dir / temporary, GENERIC_READ), 0u);
  EXPECT_EQ(TryOpen(dir / temporary, GENERIC_WRITE), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  EXPECT_EQ(TryOpen(dir / temporary, DELETE), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  EXPECT_EQ(ReadFileBytes(dir / "a.htm"), "earlier page");

  report->Close();
  output->Commit();
  output.reset();
  EXPECT_EQ(ReadFileBytes(dir / "a.htm"), "<HTML>\r\n</HTML>\r\n");
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"a.csv", "a.htm"}));
}

TEST(Win32Files, PageGivenUpLeavesNoTraceAndTheEarlierOneIntact) {
  ScratchDir dir;
  WriteFileBytes(dir / "a.csv", kReport);
  WriteFileBytes(dir / "a.htm", "earlier page");
  {
    auto report = Files().OpenReport(dir / "a.csv");
    auto output = Files().CreateOutput(dir / "a.htm", *report);
    ASSERT_NE(output, nullptr);
    output->Write("half a page");
  }
  EXPECT_EQ(ReadFileBytes(dir / "a.htm"), "earlier page");
  {
    auto report = Files().OpenReport(dir / "a.csv");
    auto output = Files().CreateOutput(dir / "b.htm", *report);
    ASSERT_NE(output, nullptr);
  }
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"a.csv", "a.htm"}));
}

TEST(Win32Files, PagesThatCannotBeCreated) {
  ScratchDir dir;
  WriteFileBytes(dir / "a.htm", kReport);
  WriteFileBytes(dir / "a.csv", kReport);
  WriteFileBytes(dir / "ro.htm", "read-only page");
  ::SetFileAttributesA((dir / "ro.htm").c_str(), FILE_ATTRIBUTE_READONLY);
  ::CreateDirectoryA((dir / "d.htm").c_str(), nullptr);
  WriteFileBytes(dir / "held.htm", "held page");

  {
    // The page's name is the open report's own, in any case.
    auto report = Files().OpenReport(dir / "a.htm");
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(Files().CreateOutput(dir / "a.htm", *report), nullptr);
    EXPECT_EQ(Files().CreateOutput(dir / "A.HTM", *report), nullptr);
  }
  auto report = Files().OpenReport(dir / "a.csv");
  ASSERT_NE(report, nullptr);
  EXPECT_EQ(Files().CreateOutput(dir / "ro.htm", *report), nullptr);
  EXPECT_EQ(Files().CreateOutput(dir / "d.htm", *report), nullptr);
  EXPECT_EQ(Files().CreateOutput(dir / "no dir\\a.htm", *report), nullptr);
  const HANDLE holder = ::CreateFileA((dir / "held.htm").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Files().CreateOutput(dir / "held.htm", *report), nullptr);
  ::CloseHandle(holder);

  // Nothing was changed or left behind.
  EXPECT_EQ(ReadFileBytes(dir / "a.htm"), kReport);
  EXPECT_EQ(ReadFileBytes(dir / "ro.htm"), "read-only page");
  EXPECT_EQ(ReadFileBytes(dir / "held.htm"), "held page");
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"a.csv", "a.htm", "d.htm", "held.htm", "ro.htm"}));

  // Once let go, the held page can be replaced.
  report.reset();
  auto other = Files().OpenReport(dir / "a.csv");
  {
    auto output = Files().CreateOutput(dir / "held.htm", *other);
    ASSERT_NE(output, nullptr);
    output->Commit();
  }
  EXPECT_EQ(ReadFileBytes(dir / "held.htm"), "");
}

TEST(Win32Files, TemporaryNamesTakenByOtherFilesAreSteppedOver) {
  ScratchDir dir;
  WriteFileBytes(dir / "a.csv", kReport);
  std::string first;
  {
    auto report = Files().OpenReport(dir / "a.csv");
    auto output = Files().CreateOutput(dir / "a.htm", *report);
    ASSERT_NE(output, nullptr);
    first = OtherName(dir, {"a.csv"});
    ASSERT_FALSE(first.empty());
    // A second page of the same name while the first is written.
    auto second = Files().CreateOutput(dir / "a.htm", *report);
    ASSERT_NE(second, nullptr);
    second->Write("second");
    second->Commit();
    output->Write("first");
    output->Commit();
  }
  EXPECT_EQ(ReadFileBytes(dir / "a.htm"), "first");
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"a.csv", "a.htm"}));

  // A stranger's file of the first temporary name stays untouched.
  WriteFileBytes(dir / first, "not ours");
  {
    auto report = Files().OpenReport(dir / "a.csv");
    auto output = Files().CreateOutput(dir / "a.htm", *report);
    ASSERT_NE(output, nullptr);
    output->Write("again");
    output->Commit();
  }
  EXPECT_EQ(ReadFileBytes(dir / first), "not ours");
  EXPECT_EQ(ReadFileBytes(dir / "a.htm"), "again");
}

TEST(Win32Search, FilesOnlyWithTheirLongNames) {
  ScratchDir dir;
  WriteFileBytes(dir / "a.csv", kReport);
  WriteFileBytes(dir / "a quite long report name.csv", kReport);
  WriteFileBytes(dir / "b.txt", kReport);
  ::CreateDirectoryA((dir / "sub.csv").c_str(), nullptr);
  WriteFileBytes(dir / "hidden.csv", kReport);
  ::SetFileAttributesA((dir / "hidden.csv").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);

  auto names_of = [](const std::string& pattern) {
    std::vector<std::string> names;
    auto search = StartSearch(pattern);
    std::string name;
    while (search->Next(name)) names.push_back(name);
    return std::multiset<std::string>(names.begin(), names.end());
  };
  const std::multiset<std::string> csv{"a quite long report name.csv", "a.csv", "hidden.csv"};
  EXPECT_EQ(names_of(dir / "*.csv"), csv);
  EXPECT_EQ(names_of(dir.path() + "/*.csv"), csv);
  EXPECT_EQ(names_of(dir / "*"), (std::multiset<std::string>{"a quite long report name.csv", "a.csv",
                                                             "b.txt", "hidden.csv"}));
  EXPECT_EQ(names_of(dir / "sub.*"), std::multiset<std::string>{});
  EXPECT_EQ(names_of(dir / "none*.csv"), std::multiset<std::string>{});
  // A directory that is missing, or a file in its place, cannot be searched.
  EXPECT_EQ(StartSearch(dir / "missing\\*.csv"), nullptr);
  EXPECT_EQ(StartSearch(dir / "a.csv\\*.csv"), nullptr);
  EXPECT_EQ(names_of(dir / "?.csv"), std::multiset<std::string>{"a.csv"});
}

TEST(Win32Search, TemporaryPagesAreNeverFound) {
  ScratchDir dir;
  WriteFileBytes(dir / "a.csv", kReport);
  WriteFileBytes(dir / "b.csv", kReport);
  auto search = StartSearch(dir / "*");
  std::string name;
  ASSERT_TRUE(search->Next(name));
  auto report = Files().OpenReport(dir / name);
  auto output = Files().CreateOutput(dir / "a.htm", *report);
  ASSERT_NE(output, nullptr);
  const std::string temporary = OtherName(dir, {"a.csv", "b.csv"});
  ASSERT_FALSE(temporary.empty());

  auto fresh = StartSearch(dir / "*");
  while (fresh->Next(name)) EXPECT_NE(name, temporary);
  while (search->Next(name)) EXPECT_NE(name, temporary);
}

TEST(Win32Console, ErrorMessagesWordTheFourKnownNumbers) {
  EXPECT_EQ(IoErrorText(ERROR_FILE_NOT_FOUND), "File not found");
  EXPECT_EQ(IoErrorText(ERROR_PATH_NOT_FOUND), "Invalid filename");
  EXPECT_EQ(IoErrorText(ERROR_TOO_MANY_OPEN_FILES), "Too many open files");
  EXPECT_EQ(IoErrorText(ERROR_ACCESS_DENIED), "File access denied");
  EXPECT_EQ(IoErrorText(ERROR_DISK_FULL), "I/O error 112");
  EXPECT_EQ(IoErrorText(ERROR_SHARING_VIOLATION), "I/O error 32");
  EXPECT_EQ(IoErrorText(ERROR_INVALID_HANDLE), "I/O error 6");
}

TEST(Win32Console, ModuleNameIsTheExecutablesFileName) {
  EXPECT_EQ(ModuleName(), "win32_platform_test.exe");
}

TEST(Win32Console, FailureReportIsConvertedToTheOemCodePage) {
  if (::GetACP() != 1252 || ::GetOEMCP() != 437) GTEST_SKIP() << "needs code pages 1252 and 437";
  // "e acute" is 0xE9 in 1252 and 0x82 in 437; the pound sign 0xA3 and 0x9C.
  EXPECT_EQ(ForConsole("Exception in module r\xE9sum\xE9.exe \xA3.\r\n"),
            "Exception in module r\x82sum\x82.exe \x9C.\r\n");
}

TEST(Win32Console, PathsUseBackslashSlashAndColon) {
  const PathSyntax paths = WindowsPaths(IsLeadByte);
  EXPECT_EQ(InputDir("sub/*.csv", paths), "sub\\");
  EXPECT_EQ(InputDir("C:*.csv", paths), "C:");
  EXPECT_EQ(MakeOutputName("C:\\r.d\\x", ".htm", paths), "C:\\r.d\\x.htm");
}

}  // namespace
}  // namespace rptconv::platform
