#include "fleet/name_table.h"

#include <cstring>

namespace rptconv {

namespace {

constexpr std::size_t kFirstSlots = 1024;  // a power of two
constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;  // 2^64 divided by the golden ratio
constexpr std::uint64_t kSecondLane = 0xC2B2AE3D27D4EB4FULL;  // any odd number unlike the first
constexpr int kMixShift = 29;
constexpr int kHalfShift = 32;
constexpr std::size_t kWord = sizeof(std::uint64_t);
constexpr std::size_t kRound = 2 * kWord;
constexpr unsigned kBitsPerByte = 8;

// One word into a lane: a bijection of the lane for each word, two
// instructions; the bits are spread across the whole hash at the end.
std::uint64_t Mix(std::uint64_t lane, std::uint64_t word) { return (lane ^ word) * kMultiplier; }

std::uint64_t Finish(std::uint64_t a, std::uint64_t b) {
  std::uint64_t hash = a ^ ((b << kHalfShift) | (b >> kHalfShift));
  hash ^= hash >> kMixShift;
  hash *= kMultiplier;
  return hash ^ (hash >> kHalfShift);
}

template <class Word>
Word Load(const char* p) {
  Word word;
  std::memcpy(&word, p, sizeof word);
  return word;
}

// Sixteen bytes a round in two lanes whose multiplications overlap; the last
// one to sixteen bytes are read as two words that may overlap, so no byte
// before or after the text is read.
inline void HashInto(std::uint64_t& a, std::uint64_t& b, std::string_view text) {
  const char* p = text.data();
  std::size_t rest = text.size();
  for (; rest > kRound; p += kRound, rest -= kRound) {
    a = Mix(a, Load<std::uint64_t>(p));
    b = Mix(b, Load<std::uint64_t>(p + kWord));
  }
  if (rest >= kWord) {
    a = Mix(a, Load<std::uint64_t>(p));
    b = Mix(b, Load<std::uint64_t>(p + rest - kWord));
  } else if (rest >= sizeof(std::uint32_t)) {
    a = Mix(a, Load<std::uint32_t>(p));
    b = Mix(b, Load<std::uint32_t>(p + rest - sizeof(std::uint32_t)));
  } else if (rest > 0) {
    const auto byte = [p](std::size_t i) { return std::uint64_t{static_cast<unsigned char>(p[i])}; };
    a = Mix(a, byte(0) | byte(rest / 2) << kBitsPerByte | byte(rest - 1) << (2 * kBitsPerByte));
  }
}

}  // namespace

// The sizes of both parts seed the lanes, so that parts split elsewhere
// hash apart.
std::uint64_t NameTable::HashOf(NameParts name) {
  std::uint64_t a = name.first.size();
  std::uint64_t b = kSecondLane ^ name.second.size();
  HashInto(a, b, name.first);
  HashInto(a, b, name.second);
  return Finish(a, b);
}

namespace {

std::uint32_t Load32(const char* p) { return Load<std::uint32_t>(p); }

void Append32(std::string& text, std::size_t value) {
  const auto word = static_cast<std::uint32_t>(value);
  char bytes[sizeof word];
  std::memcpy(bytes, &word, sizeof word);
  text.append(bytes, sizeof word);
}

}  // namespace

NameParts NameTable::PartsAt(std::size_t at) const {
  const char* entry = text_.data() + at;
  const std::size_t first_size = Load32(entry + sizeof(std::uint32_t));
  const std::size_t second_size = Load32(entry + 2 * sizeof(std::uint32_t));
  const char* bytes = entry + kEntryHead;
  return {{bytes, first_size}, {bytes + first_size, second_size}};
}

// Whether the entry of `slot` is `name`, and its number.
bool NameTable::Holds(std::uint64_t slot, NameParts name, std::uint32_t& number) const {
  const char* entry = text_.data() + EntryAt(slot);
  if (Load32(entry + sizeof(std::uint32_t)) != name.first.size() ||
      Load32(entry + 2 * sizeof(std::uint32_t)) != name.second.size()) {
    return false;
  }
  const char* bytes = entry + kEntryHead;
  if (!SameBytes(bytes, name.first.data(), name.first.size()) ||
      !SameBytes(bytes + name.first.size(), name.second.data(), name.second.size())) {
    return false;
  }
  number = Load32(entry);
  return true;
}

std::uint32_t NameTable::Find(NameParts name, std::uint64_t hash) const {
  if (slots_.empty()) return kMissing;
  const std::size_t mask = slots_.size() - 1;
  const std::uint64_t tag = hash & ~kAtMask;
  for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
    const std::uint64_t slot = slots_[at];
    if (slot == kFree) return kMissing;
    std::uint32_t number = 0;
    if ((slot & ~kAtMask) == tag && Holds(slot, name, number)) return number;
  }
}

bool NameTable::Add(NameParts name, std::uint64_t hash, std::uint32_t number) {
  // Entries are found by 32-bit places in the text.
  const std::size_t size = kEntryHead + name.first.size() + name.second.size();
  if (text_.size() + size >= kAtMask) return false;
  // At most half the slots are used, so that probes stay short.
  if (2 * (used_ + 1) > slots_.size()) Grow();
  const std::size_t mask = slots_.size() - 1;
  std::size_t at = hash & mask;
  while (slots_[at] != kFree) at = (at + 1) & mask;
  slots_[at] = SlotFor(hash, text_.size());
  Append32(text_, number);
  Append32(text_, name.first.size());
  Append32(text_, name.second.size());
  text_.append(name.first).append(name.second);
  ++used_;
  return true;
}

// The slots hold half of each hash: the names are hashed again to find
// their places in the larger table.
void NameTable::Grow() {
  std::vector<std::uint64_t> old = std::move(slots_);
  slots_.assign(old.empty() ? kFirstSlots : 2 * old.size(), kFree);
  const std::size_t mask = slots_.size() - 1;
  for (const std::uint64_t slot : old) {
    if (slot == kFree) continue;
    const std::uint64_t hash = HashOf(PartsAt(EntryAt(slot)));
    std::size_t at = hash & mask;
    while (slots_[at] != kFree) at = (at + 1) & mask;
    slots_[at] = slot;
  }
}

}  // namespace rptconv
