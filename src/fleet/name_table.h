// Numbers for names: each distinct byte string keeps the number it was given
// when it was added. Open addressing over a power-of-two table whose slots
// hold a name's hash and where its bytes lie in one text store, so that a
// lookup costs one hash of the name, taken eight bytes at a time, and mostly
// one comparison, and adding a name allocates nothing per name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rptconv {

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
