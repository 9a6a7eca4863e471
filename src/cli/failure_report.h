// The two-line report of a failure that ended the program.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace rptconv {

inline constexpr std::string_view kIoErrorKind = "EInOutError";
inline constexpr std::string_view kOutOfMemoryKind = "EOutOfMemory";
inline constexpr std::string_view kOutOfMemoryMessage = "Out of memory";
// The location shown when memory ran out (no single check site applies).
inline constexpr std::uint32_t kOutOfMemorySite = 0x00404010;
// The out-of-memory report for a program that could not even make it.
inline constexpr std::string_view kOutOfMemoryFallback =
    "Exception EOutOfMemory in module rptconv at 00404010.\r\nOut of memory.\r\n\r\n";

// The message for a platform's error number: one of the four worded kinds,
// or "I/O error " and the number.
std::string IoErrorText(int code);

// "Exception KIND in module MODULE at XXXXXXXX." CR LF, "MESSAGE." CR LF, CR LF.
std::string FailureReport(std::string_view kind, std::string_view module, std::uint32_t location,
                          std::string_view message);

}  // namespace rptconv
