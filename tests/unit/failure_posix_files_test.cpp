// Report and page files on POSIX when their operations really fail: the
// failure carries errno and the check site, and a page that is not committed
// leaves neither a temporary file nor a change to an earlier page.
#ifndef _WIN32

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "rptconv/rptconv.h"

namespace rptconv {
namespace {

namespace fs = std::filesystem;

class FailurePosixFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string dir = (fs::temp_directory_path() / "rptconv-files-XXXXXX").string();
    ASSERT_NE(::mkdtemp(dir.data()), nullptr);
    dir_ = dir;
    Put("r.csv", "Header\r\nReport,G,I,x,L,V\r\n");
    report_ = platform::Files().OpenReport(Path("r.csv"));
    ASSERT_NE(report_, nullptr);
  }
  void TearDown() override {
    report_.reset();
    fs::remove_all(dir_);
  }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  void Put(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }
  std::string Get(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // Every name in the directory but the report's.
  std::vector<std::string> Others() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) {
      if (entry.path().filename() != "r.csv") names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path dir_;
  std::unique_ptr<platform::ReportSource> report_;
};

IoError Caught(const std::function<void()>& operation) {
  try {
    operation();
  } catch (const IoError& error) {
    return error;
  }
  ADD_FAILURE() << "no IoError";
  return IoError{0, IoSite::kReadReport};
}

// A page abandoned before its commit, after a write failed for a file-size
// limit, leaves the directory as it was.
TEST_F(FailurePosixFilesTest, FailedWriteLeavesNoTraceAndEarlierPageIntact) {
  Put("r.htm", "earlier page\r\n");
  ::chmod(Path("r.htm").c_str(), 0640);
  {
    auto page = platform::Files().CreateOutput(Path("r.htm"), *report_);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(Others().size(), 2u) << "the page is written beside its name";

    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    const auto previous = ::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const IoError error = Caught([&] { page->Write(std::string(10000, 'x')); });
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, previous);
    EXPECT_EQ(error.code, EFBIG);
    EXPECT_EQ(error.site, IoSite::kWriteOutput);
  }
  EXPECT_EQ(Others(), std::vector<std::string>{"r.htm"});
  EXPECT_EQ(Get("r.htm"), "earlier page\r\n");
  struct stat info {};
  ASSERT_EQ(::stat(Path("r.htm").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

// The page's name taken by a directory after the page was created: the move
// onto the name fails, and the temporary file goes.
TEST_F(FailurePosixFilesTest, FailedCommitRemovesTheTemporaryFile) {
  {
    auto page = platform::Files().CreateOutput(Path("r.htm"), *report_);
    ASSERT_NE(page, nullptr);
    page->Write("<HTML>\r\n");
    fs::create_directories(dir_ / "r.htm" / "inside");
    const IoError error = Caught([&] { page->Commit(); });
    EXPECT_EQ(error.site, IoSite::kCommitOutput);
    EXPECT_TRUE(error.code == EISDIR || error.code == ENOTEMPTY || error.code == EEXIST) << error.code;
  }
  EXPECT_EQ(Others(), std::vector<std::string>{"r.htm"});
  EXPECT_TRUE(fs::is_directory(dir_ / "r.htm" / "inside"));
}

// A committed page replaces the earlier one whole.
TEST_F(FailurePosixFilesTest, CommitReplacesTheEarlierPage) {
  Put("r.htm", "earlier page\r\n");
  auto page = platform::Files().CreateOutput(Path("r.htm"), *report_);
  ASSERT_NE(page, nullptr);
  page->Write("<HTML>\r\n");
  EXPECT_EQ(Get("r.htm"), "earlier page\r\n");
  page->Commit();
  page.reset();
  EXPECT_EQ(Others(), std::vector<std::string>{"r.htm"});
  EXPECT_EQ(Get("r.htm"), "<HTML>\r\n");
}

// Reports that open but cannot be read: a directory, and this process's own
// memory at address 0.
TEST_F(FailurePosixFilesTest, FailedReadCarriesErrnoAndSite) {
  char buffer[64];
  auto directory = platform::Files().OpenReport(dir_.string());
  ASSERT_NE(directory, nullptr);
  IoError error = Caught([&] { directory->Read(buffer, sizeof buffer); });
  EXPECT_EQ(error.code, EISDIR);
  EXPECT_EQ(error.site, IoSite::kReadReport);

  if (::access("/proc/self/mem", R_OK) != 0) GTEST_SKIP() << "no /proc/self/mem";
  auto memory = platform::Files().OpenReport("/proc/self/mem");
  ASSERT_NE(memory, nullptr);
  error = Caught([&] { memory->Read(buffer, sizeof buffer); });
  EXPECT_EQ(error.code, EIO);
  EXPECT_EQ(error.site, IoSite::kReadReport);
}

}  // namespace
}  // namespace rptconv

#endif  // _WIN32
