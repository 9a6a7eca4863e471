// The Windows headers, included the same way everywhere in this layer.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstddef>
#include <string_view>

namespace rptconv::platform {

// Paths of up to 259 bytes, the classic limit, are used; longer ones fail.
inline constexpr std::size_t kMaxPathBytes = MAX_PATH - 1;

// The first byte of a double-byte character in the ANSI code page.
bool IsLeadByte(unsigned char byte);

// Where the file name starts in a path: after its last "\", "/" or ":",
// read as whole characters.
std::size_t FileNameStart(std::string_view path);

// GetLastError() as the number carried by IoError.
inline int LastError() { return static_cast<int>(::GetLastError()); }

}  // namespace rptconv::platform
