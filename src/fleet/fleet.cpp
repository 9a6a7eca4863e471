#include "fleet/fleet.h"

#include <algorithm>
#include <bit>

#include "fleet/values.h"

namespace rptconv {

namespace {

// Labels of the first group's properties, English and Hungarian
// (Windows-1250), first match first.
constexpr std::string_view kComputerLabels[] = {
    "Computer Name", "Computer", "Sz\xE1m\xEDt\xF3g\xE9p n\xE9v", "Sz\xE1m\xEDt\xF3g\xE9p"};
constexpr std::string_view kDateLabels[] = {"Report Date", "Date", "Jelent\xE9s d\xE1tuma",
                                                                 "D\xE1tum"};

// Asks for the cache line at `address` ahead of its use, where the compiler
// can.
inline void Prefetch(const void* address) {
#if defined(__GNUC__)
  __builtin_prefetch(address);
#else
  (void)address;
#endif
}

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

void Fleet::Add(const ReportSummary& summary, std::string page_href, std::string_view report_name,
                int name_codepage) {
  const auto number = static_cast<std::uint32_t>(computers_.size());
  FleetComputer& computer = computers_.emplace_back();
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
  computer.facts.drive = facts.drive;
  computer.facts.drive_free = facts.drive_free;
  computer.facts.drive_total = facts.drive_total;
  computer.facts.antivirus = facts.antivirus;
  computer.facts.antivirus_day = facts.antivirus_day;
  computer.facts.error_events = facts.error_events;
  computer.facts.smart_warnings = facts.smart_warnings;
  computer.facts.smart_disk = facts.smart_disk;
  if (const std::optional<std::int32_t> day = ParseDay(PropertyOf(summary, kDateLabels))) computer.report_day = *day;
  if (computer.report_day != ReportSummary::Facts::kNoDay && facts.antivirus_day != ReportSummary::Facts::kNoDay) {
    computer.antivirus_age_known = true;
    computer.antivirus_age = computer.report_day - facts.antivirus_day;
  }
  computer.flags = Assess(computer);

  first_listings_.push_back(listings_);
  // In three passes, so that the programs and their versions, found in
  // memory far apart, are on their way to the cache when they are needed.
  numbers_.clear();
  for (const auto& entry : facts.programs) {
    numbers_.push_back(ProgramNumber(entry.first, summary.codepage));
    Prefetch(&programs_[numbers_.back()]);
  }
  for (const std::uint32_t program : numbers_) Prefetch(programs_[program].versions.data());
  for (std::size_t i = 0; i < numbers_.size(); ++i) AddVersion(numbers_[i], facts.programs[i].second, number);
  programs_dropped_ += facts.programs_dropped;
}

std::uint32_t Fleet::ProgramNumber(std::string_view name, int codepage) {
  // Most names come again as they were spelled before: those skip folding.
  name = TrimBlanks(name);
  std::uint32_t number = spelled_numbers_.Find(name);
  if (number == NameTable::kMissing) {
    AssignNameKey(key_, name);
    number = program_numbers_.Find(key_);
    if (number == NameTable::kMissing) {
      number = static_cast<std::uint32_t>(programs_.size());
      program_numbers_.Add(key_, number);
      FleetProgram& fresh = programs_.emplace_back();
      fresh.name.assign(name);
      fresh.codepage = codepage;
    }
    spelled_numbers_.Add(name, number);
  }
  return number;
}

void Fleet::AddVersion(std::uint32_t number, std::string_view version, std::uint32_t computer) {
  // Listings are numbered in 32 bits: beyond, programs are counted as
  // dropped, never wrapped onto others.
  if (listings_ == UINT32_MAX) {
    ++programs_dropped_;
    return;
  }
  FleetProgram& program = programs_[number];
  if (program.last_computer != computer) {
    program.last_computer = computer;
    ++program.computers;
  }
  version = TrimBlanks(version);
  auto kept = std::find_if(program.versions.begin(), program.versions.end(),
                           [version](const FleetVersion& known) {
                             return known.text.size() == version.size() &&
                                    SameBytes(known.text.data(), version.data(), version.size());
                           });
  if (kept == program.versions.end()) {
    kept = program.versions.insert(program.versions.end(), FleetVersion{std::string(version), versions_++});
  }
  // A version listed twice on one computer counts once.
  if (kept->last_computer == computer) return;
  kept->last_computer = computer;
  ++kept->computers;
  AddListing(kept->id);
}

Fleet::VersionComputers Fleet::GroupComputers() const {
  VersionComputers grouped;
  grouped.starts_.resize(versions_);
  std::uint32_t start = 0;
  for (const FleetProgram& program : programs_) {
    for (const FleetVersion& version : program.versions) {
      grouped.starts_[version.id] = start;
      start += version.computers;
    }
  }
  grouped.numbers_.resize(start);
  std::vector<std::uint32_t> next = grouped.starts_;
  for (std::uint32_t computer = 0; computer < first_listings_.size(); ++computer) {
    const std::uint32_t end = computer + 1 < first_listings_.size() ? first_listings_[computer + 1] : listings_;
    for (std::uint32_t at = first_listings_[computer]; at < end; ++at) grouped.numbers_[next[ListingAt(at)]++] = computer;
  }
  return grouped;
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

std::vector<const FleetProgram*> Fleet::ProgramsByName() const {
  std::vector<std::pair<std::string, const FleetProgram*>> keyed;
  keyed.reserve(programs_.size());
  for (const FleetProgram& program : programs_) keyed.emplace_back(NameKey(program.name), &program);
  std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<const FleetProgram*> sorted;
  sorted.reserve(keyed.size());
  for (const auto& entry : keyed) sorted.push_back(entry.second);
  return sorted;
}

std::vector<std::uint32_t> Fleet::ComputersByAttention() const {
  std::vector<std::uint32_t> order(computers_.size());
  for (std::uint32_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [this](std::uint32_t a, std::uint32_t b) {
    const FleetComputer& x = computers_[a];
    const FleetComputer& y = computers_[b];
    if (x.FlagCount() != y.FlagCount()) return x.FlagCount() > y.FlagCount();
    // Among equals: the least free space first, then the most errors.
    const bool x_drive = !x.facts.drive.empty();
    const bool y_drive = !y.facts.drive.empty();
    if (x_drive && y_drive && x.FreePercent() != y.FreePercent()) return x.FreePercent() < y.FreePercent();
    return x.facts.error_events > y.facts.error_events;
  });
  return order;
}

std::vector<const FleetVersion*> Fleet::VersionsByShare(const FleetProgram& program) {
  std::vector<const FleetVersion*> sorted;
  sorted.reserve(program.versions.size());
  for (const FleetVersion& version : program.versions) sorted.push_back(&version);
  std::stable_sort(sorted.begin(), sorted.end(), [](const FleetVersion* a, const FleetVersion* b) {
    return a->computers > b->computers;
  });
  return sorted;
}

}  // namespace rptconv
