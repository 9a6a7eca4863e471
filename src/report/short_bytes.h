// Comparing and copying the short texts a report is made of (titles of a
// few bytes) without a library call: a few word loads and stores instead,
// none of them past either text's end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace rptconv {

namespace short_bytes {
template <class Word>
inline Word Load(const char* p) {
  Word w;
  std::memcpy(&w, p, sizeof w);
  return w;
}
// True when the `n` bytes at `a` and `b` are equal, for sizeof(Word) <= n <=
// 2 * sizeof(Word): the first and the last word of each overlap or meet.
template <class Word>
inline bool EqualByTwoWords(const char* a, const char* b, std::size_t n) {
  return ((Load<Word>(a) ^ Load<Word>(b)) | (Load<Word>(a + n - sizeof(Word)) ^ Load<Word>(b + n - sizeof(Word)))) ==
         0;
}
template <class Word>
inline void CopyByTwoWords(char* to, const char* from, std::size_t n) {
  const Word first = Load<Word>(from);
  const Word last = Load<Word>(from + n - sizeof(Word));
  std::memcpy(to, &first, sizeof first);
  std::memcpy(to + n - sizeof(Word), &last, sizeof last);
}
}  // namespace short_bytes

// Equal texts. Most texts compared are titles of at most 16 bytes.
inline bool SameText(std::string_view a, std::string_view b) {
  const std::size_t n = a.size();
  if (n != b.size()) return false;
  if (n >= 8) {
    if (n > 16) return std::memcmp(a.data(), b.data(), n) == 0;
    return short_bytes::EqualByTwoWords<std::uint64_t>(a.data(), b.data(), n);
  }
  if (n >= 4) return short_bytes::EqualByTwoWords<std::uint32_t>(a.data(), b.data(), n);
  for (std::size_t i = 0; i < n; ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

// Copies `n` bytes from `from` to `to`; the two do not overlap.
inline void CopyText(char* to, const char* from, std::size_t n) {
  if (n >= 8) {
    if (n > 16) {
      std::memcpy(to, from, n);
    } else {
      short_bytes::CopyByTwoWords<std::uint64_t>(to, from, n);
    }
  } else if (n >= 4) {
    short_bytes::CopyByTwoWords<std::uint32_t>(to, from, n);
  } else {
    for (std::size_t i = 0; i < n; ++i) to[i] = from[i];
  }
}

}  // namespace rptconv
