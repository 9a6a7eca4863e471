#include "fleet/name_table.h"

#include <cstring>

namespace rptconv {

namespace {

constexpr std::size_t kFirstSlots = 1024;  // a power of two
constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;  // 2^64 divided by the golden ratio
constexpr int kMixShift = 29;
constexpr unsigned kBitsPerByte = 8;

std::uint64_t Mix(std::uint64_t hash, std::uint64_t word) {
  hash = (hash ^ word) * kMultiplier;
  return hash ^ (hash >> kMixShift);
}

// Eight bytes at a time; the last word holds the bytes left.
inline std::uint64_t Hash(std::string_view name) {
  std::uint64_t hash = name.size();
  std::size_t at = 0;
  for (; at + sizeof(std::uint64_t) <= name.size(); at += sizeof(std::uint64_t)) {
    std::uint64_t word;
    std::memcpy(&word, name.data() + at, sizeof word);
    hash = Mix(hash, word);
  }
  const std::size_t rest = name.size() - at;
  if (rest > 0) {
    std::uint64_t word = 0;
    if (name.size() >= sizeof word) {
      // The last eight bytes, those hashed already shifted out.
      std::memcpy(&word, name.data() + name.size() - sizeof word, sizeof word);
      word >>= kBitsPerByte * (sizeof word - rest);
    } else {
      for (std::size_t i = 0; i < rest; ++i) word |= std::uint64_t{static_cast<unsigned char>(name[i])} << (kBitsPerByte * i);
    }
    hash = Mix(hash, word);
  }
  return hash;
}

}  // namespace

// The slot that holds `name`, or the free slot where it would go.
std::size_t NameTable::SlotOf(std::string_view name, std::uint64_t hash) const {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
    const Slot& slot = slots_[at];
    if (slot.number == kMissing) return at;
    if (slot.hash == hash && slot.size == name.size() && SameBytes(text_.data() + slot.offset, name.data(), name.size())) {
      return at;
    }
  }
}

std::uint32_t NameTable::Find(std::string_view name) const {
  if (slots_.empty()) return kMissing;
  return slots_[SlotOf(name, Hash(name))].number;
}

void NameTable::Add(std::string_view name, std::uint32_t number) {
  // At most half the slots are used, so that probes stay short.
  if (2 * (used_ + 1) > slots_.size()) Grow();
  const std::uint64_t hash = Hash(name);
  Slot& slot = slots_[SlotOf(name, hash)];
  slot = {hash, text_.size(), name.size(), number};
  text_.append(name);
  ++used_;
}

void NameTable::Grow() {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(old.empty() ? kFirstSlots : 2 * old.size(), Slot{});
  const std::size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (slot.number == kMissing) continue;
    std::size_t at = slot.hash & mask;
    while (slots_[at].number != kMissing) at = (at + 1) & mask;
    slots_[at] = slot;
  }
}

}  // namespace rptconv
