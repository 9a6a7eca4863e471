// Hints to the processor's caches for data that two threads pass between
// them or that many lookups wait for. They change no result; where a
// compiler or processor has no such hint they do nothing.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define RPTCONV_CACHE_FLUSH 1
#endif

namespace rptconv {

// The size of a cache line on the processors this program runs on.
inline constexpr std::size_t kCacheLine = 64;

// Asks for the cache line at `address` ahead of its use, where the compiler
// can.
inline void PrefetchAddress(const void* address) {
#if defined(__GNUC__)
  __builtin_prefetch(address);
#else
  (void)address;
#endif
}

// Puts the `size` bytes at `data` out of every cache, once a thread has read
// them and another will write them again: the writer then takes the lines
// from memory instead of asking the reader's processor to give them up, a
// round trip that stalls the writer line by line.
inline void EvictFromCaches(const char* data, std::size_t size) {
#if defined(RPTCONV_CACHE_FLUSH)
  if (size == 0) return;
  const auto first = reinterpret_cast<std::uintptr_t>(data) & ~(std::uintptr_t{kCacheLine} - 1);
  const auto end = reinterpret_cast<std::uintptr_t>(data) + size;
  for (std::uintptr_t line = first; line < end; line += kCacheLine) _mm_clflush(reinterpret_cast<const void*>(line));
#else
  (void)data;
  (void)size;
#endif
}

}  // namespace rptconv
