// Numbers for names: each distinct byte string keeps the number it was given
// when it was added. Open addressing over a power-of-two table of 8-byte
// slots, each half a name's hash and where its entry lies in one text store
// (its number, the sizes of its parts, its bytes): a lookup costs one hash of
// the name, sixteen bytes a round, and mostly one slot and one entry, two
// places in memory; adding a name allocates nothing per name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "fleet/cache_hints.h"

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

// Copies the `size` bytes at `from` to `to`: inline for up to 32 bytes, in
// moves of eight or four bytes that may overlap (within both texts), for the
// short names and versions copied here by the hundred thousand, where a call
// to memcpy costs more than the copy.
inline void CopyBytes(char* to, const char* from, std::size_t size) {
  constexpr std::size_t kWord = sizeof(std::uint64_t);
  constexpr std::size_t kHalf = sizeof(std::uint32_t);
  const auto move = [to, from](std::size_t at, auto word) {
    std::memcpy(&word, from + at, sizeof word);
    std::memcpy(to + at, &word, sizeof word);
  };
  if (size > 4 * kWord) {
    std::memcpy(to, from, size);
  } else if (size >= 2 * kWord) {
    // The first and the last sixteen bytes, which overlap.
    move(0, std::uint64_t{});
    move(kWord, std::uint64_t{});
    move(size - 2 * kWord, std::uint64_t{});
    move(size - kWord, std::uint64_t{});
  } else if (size >= kWord) {
    move(0, std::uint64_t{});
    move(size - kWord, std::uint64_t{});
  } else if (size >= kHalf) {
    move(0, std::uint32_t{});
    move(size - kHalf, std::uint32_t{});
  } else {
    for (std::size_t i = 0; i < size; ++i) to[i] = from[i];
  }
}

// A name of one or two parts (a program's name and version): the parts
// are told apart, so "ab" + "c" is not "a" + "bc".
struct NameParts {
  std::string_view first;
  std::string_view second;
};

class NameTable {
 public:
  static constexpr std::uint32_t kMissing = UINT32_MAX;

  static std::uint64_t HashOf(NameParts name);

  // The number of `name`, or kMissing.
  std::uint32_t Find(std::string_view name) const { return Find(NameParts{name, {}}); }
  std::uint32_t Find(NameParts name) const { return Find(name, HashOf(name)); }
  // The same with the name's HashOf.
  std::uint32_t Find(NameParts name, std::uint64_t hash) const;
  // Adds `name`, which the table does not hold yet, with `number`; false
  // when the table cannot hold more text (4 GiB), and then nothing is added.
  bool Add(std::string_view name, std::uint32_t number) { return Add(NameParts{name, {}}, number); }
  bool Add(NameParts name, std::uint32_t number) { return Add(name, HashOf(name), number); }
  bool Add(NameParts name, std::uint64_t hash, std::uint32_t number);

  // Ask for the slot where the search for a name of `hash` begins, and then
  // for the entry it points to, so that many lookups wait for memory at
  // once: first every slot, then every entry.
  void PrefetchSlot(std::uint64_t hash) const {
    if (!slots_.empty()) PrefetchAddress(&slots_[hash & (slots_.size() - 1)]);
  }
  void PrefetchEntry(std::uint64_t hash) const {
    if (slots_.empty()) return;
    const std::uint64_t slot = slots_[hash & (slots_.size() - 1)];
    if (slot != kFree) PrefetchAddress(text_.data() + EntryAt(slot));
  }

 private:
  static constexpr std::uint64_t kFree = 0;
  static constexpr std::uint64_t kAtMask = 0xFFFFFFFFULL;
  // An entry: its number and the sizes of both parts, 32 bits each, then
  // the parts' bytes.
  static constexpr std::size_t kEntryHead = 3 * sizeof(std::uint32_t);
  // A slot: the hash's high half, and where its entry begins plus one (so
  // that no used slot is 0).
  static std::uint64_t SlotFor(std::uint64_t hash, std::size_t at) { return (hash & ~kAtMask) | (at + 1); }
  static std::size_t EntryAt(std::uint64_t slot) { return static_cast<std::size_t>((slot & kAtMask) - 1); }
  bool Holds(std::uint64_t slot, NameParts name, std::uint32_t& number) const;
  NameParts PartsAt(std::size_t at) const;
  void Grow();

  std::vector<std::uint64_t> slots_;
  std::size_t used_ = 0;
  std::string text_;
};

}  // namespace rptconv
