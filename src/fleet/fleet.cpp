#include "fleet/fleet.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>

#include "fleet/values.h"

namespace rptconv {

namespace {

// Labels of the first group's properties, English and Hungarian
// (Windows-1250), first match first.
constexpr std::string_view kComputerLabels[] = {
    "Computer Name", "Computer", "Sz\xE1m\xEDt\xF3g\xE9p n\xE9v", "Sz\xE1m\xEDt\xF3g\xE9p"};
constexpr std::string_view kDateLabels[] = {"Report Date", "Date", "Jelent\xE9s d\xE1tuma",
                                                                 "D\xE1tum"};

std::string_view PropertyOf(const ReportSummary& summary, std::span<const std::string_view> labels) {
  for (const std::string_view label : labels) {
    for (const auto& [name, value] : summary.properties) {
      if (name == label && !TrimBlanks(value).empty()) return TrimBlanks(value);
    }
  }
  return {};
}

}  // namespace

int FleetComputer::FlagCount() const { return std::popcount(flags); }

FleetComputer Fleet::ComputerOf(const ReportSummary& summary, std::string page_href, std::string_view report_name,
                                int name_codepage) const {
  FleetComputer computer;
  std::string_view name = PropertyOf(summary, kComputerLabels);
  if (name.empty()) name = TrimBlanks(summary.title);
  computer.codepage = summary.codepage;
  if (name.empty()) {
    name = report_name;
    computer.codepage = name_codepage;
  }
  computer.name.assign(name);
  computer.page_href = std::move(page_href);
  const ReportSummary::Facts& facts = summary.facts;
  computer.facts = facts;
  if (const std::optional<std::int32_t> day = ParseDay(PropertyOf(summary, kDateLabels))) computer.report_day = *day;
  if (computer.report_day != ReportSummary::Facts::kNoDay && facts.antivirus_day != ReportSummary::Facts::kNoDay) {
    computer.antivirus_age_known = true;
    computer.antivirus_age = computer.report_day - facts.antivirus_day;
  }
  computer.flags = Assess(computer);
  return computer;
}

void Fleet::Add(FleetComputer computer, const ProgramBatch& programs) {
  const auto number = static_cast<std::uint32_t>(computers_.size());
  ordered_ = false;
  programs_dropped_ += computer.facts.programs_dropped;
  computers_.push_back(std::move(computer));
  // In passes, so that many lookups wait for memory at once: the slots
  // where each program's search begins, their entries, then the versions
  // found.
  parts_.clear();
  hashes_.clear();
  programs.ForEach([this](NameParts parts) {
    parts_.push_back(parts);
    hashes_.push_back(NameTable::HashOf(parts));
    version_ids_.PrefetchSlot(hashes_.back());
  });
  for (const std::uint64_t hash : hashes_) version_ids_.PrefetchEntry(hash);
  ids_.clear();
  for (std::size_t i = 0; i < parts_.size(); ++i) {
    const NameParts parts = parts_[i];
    const std::uint64_t hash = hashes_[i];
    std::uint32_t id = version_ids_.Find(parts, hash);
    if (id == NameTable::kMissing) {
      const std::uint32_t program = ProgramNumber(parts.first, programs.codepage());
      if (program == NameTable::kMissing) {
        ++programs_dropped_;
        continue;
      }
      id = VersionId(program, parts.second);
      // Should the table be full, the version is found by its program.
      version_ids_.Add(parts, hash, id);
    }
    ids_.push_back(id);
    PrefetchAddress(&versions_[id]);
  }
  for (const std::uint32_t id : ids_) {
    FleetVersion& version = versions_[id];
    // A version listed twice on one computer counts once.
    if (version.computers.Has(number)) continue;
    version.computers.Add(number);
    FleetProgram& program = programs_[version.program];
    if (program.last_computer != number) {
      program.last_computer = number;
      ++program.computers;
    }
  }
}

void ComputerList::AddDigits(std::uint32_t gap) {
  constexpr std::size_t kMostDigits = 10;  // of a 32-bit number
  std::array<char, kMostDigits> digits;  // NOLINT(cppcoreguidelines-pro-type-member-init): written before read
  text_.append(digits.data(), std::to_chars(digits.data(), digits.data() + digits.size(), gap).ptr);
}

void ProgramBatch::BeginReport(int codepage) {
  codepage_ = codepage;
  used_ = 0;
}

void ProgramBatch::MakeRoom(std::size_t more) {
  // Room for a report's few hundred programs at once: each doubling from
  // less would take fresh memory, a page fault a page.
  constexpr std::size_t kFirstRoom = std::size_t{16} * 1024;
  room_.resize(std::max({2 * room_.size(), used_ + more, kFirstRoom}));
}

char* ProgramBatch::PutLongSizes(char* out, std::size_t name_size, std::size_t version_size) {
  const std::uint16_t marks[2] = {kLongSize, kLongSize};
  const std::uint64_t sizes[2] = {name_size, version_size};
  std::memcpy(out, marks, sizeof marks);
  std::memcpy(out + sizeof marks, sizes, sizeof sizes);
  return out + sizeof marks + sizeof sizes;
}

const char* ProgramBatch::GetLongSizes(const char* at, std::size_t& name_size, std::size_t& version_size) {
  std::uint64_t sizes[2];
  std::memcpy(sizes, at, sizeof sizes);
  name_size = static_cast<std::size_t>(sizes[0]);
  version_size = static_cast<std::size_t>(sizes[1]);
  return at + sizeof sizes;
}

std::uint32_t Fleet::ProgramNumber(std::string_view name, int codepage) {
  // Most names come again as they were spelled before: those skip folding.
  std::uint32_t number = spelled_numbers_.Find(name);
  if (number != NameTable::kMissing) return number;
  AssignNameKey(key_, name);
  number = program_numbers_.Find(key_);
  if (number == NameTable::kMissing) {
    number = static_cast<std::uint32_t>(programs_.size());
    // A fleet whose names fill the table (4 GiB) numbers no more programs.
    if (!program_numbers_.Add(key_, number)) return NameTable::kMissing;
    FleetProgram& fresh = programs_.emplace_back();
    fresh.name.assign(name);
    fresh.codepage = codepage;
  }
  // Should this table be full, the name is found by its key.
  spelled_numbers_.Add(name, number);
  return number;
}

std::uint32_t Fleet::VersionId(std::uint32_t number, std::string_view version) {
  FleetProgram& program = programs_[number];
  for (const std::uint32_t id : program.versions) {
    if (versions_[id].text == version) return id;
  }
  const auto id = static_cast<std::uint32_t>(versions_.size());
  FleetVersion& fresh = versions_.emplace_back();
  fresh.text.assign(version);
  fresh.program = number;
  program.versions.push_back(id);
  return id;
}

unsigned Fleet::Assess(const FleetComputer& computer) const {
  const ReportSummary::Facts& facts = computer.facts;
  unsigned flags = 0;
  if (!facts.drive.empty() && computer.FreePercent() < rules_.min_free_percent) flags |= kLowSpace;
  if (facts.antivirus == 0) flags |= kNoAntivirus;
  if (computer.antivirus_age_known && computer.antivirus_age > rules_.max_antivirus_days) flags |= kOldAntivirus;
  if (facts.error_events > rules_.max_error_events) flags |= kErrorEvents;
  if (facts.smart_warnings > 0) flags |= kSmartWarnings;
  return flags;
}

namespace {

// The first eight bytes of `key` as a number that orders as they do.
std::uint64_t KeyPrefix(std::string_view key) {
  constexpr unsigned kBitsPerByte = 8;
  std::uint64_t prefix = 0;
  for (std::size_t i = 0; i < sizeof prefix; ++i) {
    const auto byte = i < key.size() ? static_cast<unsigned char>(key[i]) : 0U;
    prefix = (prefix << kBitsPerByte) | byte;
  }
  return prefix;
}

// By NameKey; the keys are made into one text, and their first bytes, kept
// beside each program, settle most comparisons without reading them. No two
// programs have one key.
std::vector<const FleetProgram*> SortedByName(const std::vector<FleetProgram>& programs) {
  struct Keyed {
    std::uint64_t prefix;
    std::uint32_t at;  // in keys, which hold less than the name table's 4 GiB
    std::uint32_t size;
    const FleetProgram* program;
  };
  std::string keys;
  std::string key;
  std::vector<Keyed> keyed;
  keyed.reserve(programs.size());
  for (const FleetProgram& program : programs) {
    AssignNameKey(key, program.name);
    keyed.push_back({KeyPrefix(key), static_cast<std::uint32_t>(keys.size()), static_cast<std::uint32_t>(key.size()),
                     &program});
    keys += key;
  }
  const auto key_of = [&keys](const Keyed& entry) { return std::string_view(keys).substr(entry.at, entry.size); };
  std::sort(keyed.begin(), keyed.end(), [&key_of](const Keyed& a, const Keyed& b) {
    return a.prefix != b.prefix ? a.prefix < b.prefix : key_of(a) < key_of(b);
  });
  std::vector<const FleetProgram*> sorted;
  sorted.reserve(keyed.size());
  for (const Keyed& entry : keyed) sorted.push_back(entry.program);
  return sorted;
}

// A stable sort that makes no room for the few versions most programs have.
template <class Less>
void StableSort(std::vector<std::uint32_t>& items, Less less) {
  constexpr std::size_t kFewItems = 16;
  if (items.size() > kFewItems) {
    std::stable_sort(items.begin(), items.end(), less);
    return;
  }
  for (std::size_t i = 1; i < items.size(); ++i) {
    const std::uint32_t item = items[i];
    std::size_t at = i;
    for (; at > 0 && less(item, items[at - 1]); --at) items[at] = items[at - 1];
    items[at] = item;
  }
}

}  // namespace

void Fleet::Order() {
  by_name_ = SortedByName(programs_);
  for (FleetProgram& program : programs_) {
    StableSort(program.versions, [this](std::uint32_t a, std::uint32_t b) {
      return versions_[a].computers.size() > versions_[b].computers.size();
    });
  }
  ordered_ = true;
}

std::vector<const FleetProgram*> Fleet::ProgramsByName() const {
  return ordered_ ? by_name_ : SortedByName(programs_);
}

std::vector<std::uint32_t> Fleet::ComputersByAttention() const {
  // Each computer's keys once, not at every comparison.
  struct Keys {
    int flag_count;
    bool drive;
    double free_percent;
    std::size_t error_events;
  };
  std::vector<Keys> keys;
  keys.reserve(computers_.size());
  for (const FleetComputer& computer : computers_) {
    keys.push_back({computer.FlagCount(), !computer.facts.drive.empty(), computer.FreePercent(),
                    computer.facts.error_events});
  }
  std::vector<std::uint32_t> order(computers_.size());
  for (std::uint32_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&keys](std::uint32_t a, std::uint32_t b) {
    const Keys& x = keys[a];
    const Keys& y = keys[b];
    if (x.flag_count != y.flag_count) return x.flag_count > y.flag_count;
    // Among equals: the least free space first, then the most errors.
    if (x.drive && y.drive && x.free_percent != y.free_percent) return x.free_percent < y.free_percent;
    return x.error_events > y.error_events;
  });
  return order;
}

std::vector<const FleetVersion*> Fleet::VersionsByShare(const FleetProgram& program) const {
  std::vector<const FleetVersion*> sorted;
  sorted.reserve(program.versions.size());
  for (const std::uint32_t id : program.versions) sorted.push_back(&versions_[id]);
  if (ordered_) return sorted;  // Order sorted them in place
  std::stable_sort(sorted.begin(), sorted.end(), [](const FleetVersion* a, const FleetVersion* b) {
    return a->computers.size() > b->computers.size();
  });
  return sorted;
}

}  // namespace rptconv
