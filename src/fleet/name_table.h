// Numbers for names: each distinct byte string keeps the number it was given
// when it was added. Open addressing over a power-of-two table whose slots
// hold a name's hash and where its bytes lie in one text store, so that a
// lookup costs one hash of the name, taken eight bytes at a time, and mostly
// one comparison, and adding a name allocates nothing per name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace rptconv {

// Whether the `size` bytes at `a` and at `b` are the same: inline, eight or
// four bytes at a time, for the short names and versions compared here by
// the hundred thousand, where a call to memcmp costs more than the
// comparison.
inline bool SameBytes(const char* a, const char* b, std::size_t size) {
  std::uint64_t x = 0;
  std::uint64_t y = 0;
  if (size >= sizeof x) {
    for (std::size_t at = 0; at + sizeof x < size; at += sizeof x) {
      std::memcpy(&x, a + at, sizeof x);
      std::memcpy(&y, b + at, sizeof y);
      if (x != y) return false;
    }
    // The last eight bytes, overlapping those compared already.
    std::memcpy(&x, a + size - sizeof x, sizeof x);
    std::memcpy(&y, b + size - sizeof y, sizeof y);
    return x == y;
  }
  std::uint32_t u = 0;
  std::uint32_t v = 0;
  if (size >= sizeof u) {
    // The first and the last four bytes, which overlap.
    std::memcpy(&u, a, sizeof u);
    std::memcpy(&v, b, sizeof v);
    if (u != v) return false;
    std::memcpy(&u, a + size - sizeof u, sizeof u);
    std::memcpy(&v, b + size - sizeof v, sizeof v);
    return u == v;
  }
  for (std::size_t i = 0; i < size; ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

class NameTable {
 public:
  static constexpr std::uint32_t kMissing = UINT32_MAX;

  // The number of `name`, or kMissing.
  std::uint32_t Find(std::string_view name) const;
  // Adds `name`, which the table does not hold yet, with `number`.
  void Add(std::string_view name, std::uint32_t number);

 private:
  struct Slot {
    std::uint64_t hash = 0;
    std::size_t offset = 0;  // of the name in text_
    std::size_t size = 0;
    std::uint32_t number = kMissing;  // kMissing: the slot is free
  };
  std::size_t SlotOf(std::string_view name, std::uint64_t hash) const;
  void Grow();

  std::vector<Slot> slots_;
  std::size_t used_ = 0;
  std::string text_;
};

}  // namespace rptconv
