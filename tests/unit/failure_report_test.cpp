// The failure report's exact bytes and the messages of the error numbers.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "cli/failure_report.h"
#include "platform/platform.h"

namespace rptconv {
namespace {

TEST(FailureReportTest, TwoLinesAndAnEmptyOneWithCrLf) {
  EXPECT_EQ(FailureReport(kIoErrorKind, "rptconv", 0x00401010, "I/O error 5"),
            "Exception EInOutError in module rptconv at 00401010.\r\nI/O error 5.\r\n\r\n");
  // Eight upper-case digits whatever the number: leading zeros kept, no "0x".
  EXPECT_EQ(FailureReport(kIoErrorKind, "a b.exe", 0, "File not found"),
            "Exception EInOutError in module a b.exe at 00000000.\r\nFile not found.\r\n\r\n");
  EXPECT_EQ(FailureReport(kIoErrorKind, "x", 0xDEADBEEF, "m"), "Exception EInOutError in module x at DEADBEEF.\r\nm.\r\n\r\n");
  EXPECT_EQ(FailureReport(kOutOfMemoryKind, "rptconv", kOutOfMemorySite, kOutOfMemoryMessage),
            "Exception EOutOfMemory in module rptconv at 00404010.\r\nOut of memory.\r\n\r\n");
}

// The report written when memory ran out before the real one could be made
// has the same form.
TEST(FailureReportTest, OutOfMemoryFallbackHasTheReportsForm) {
  EXPECT_EQ(kOutOfMemoryFallback, FailureReport(kOutOfMemoryKind, "rptconv", kOutOfMemorySite, kOutOfMemoryMessage));
}

#ifndef _WIN32
TEST(FailureReportTest, PosixErrorNumbersAndTheirMessages) {
  EXPECT_EQ(IoErrorText(ENOENT), "File not found");
  EXPECT_EQ(IoErrorText(ENOTDIR), "Invalid filename");
  EXPECT_EQ(IoErrorText(ENAMETOOLONG), "Invalid filename");
  EXPECT_EQ(IoErrorText(EMFILE), "Too many open files");
  EXPECT_EQ(IoErrorText(ENFILE), "Too many open files");
  EXPECT_EQ(IoErrorText(EACCES), "File access denied");
  EXPECT_EQ(IoErrorText(EPERM), "File access denied");
  EXPECT_EQ(IoErrorText(EIO), "I/O error " + std::to_string(EIO));
  EXPECT_EQ(IoErrorText(ENOSPC), "I/O error " + std::to_string(ENOSPC));
  EXPECT_EQ(IoErrorText(EFBIG), "I/O error " + std::to_string(EFBIG));
}
#endif

}  // namespace
}  // namespace rptconv
