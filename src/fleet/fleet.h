// What runs across the reports of a batch: every installed program with its
// versions and the computers that have them, and per computer what needs an
// administrator's attention. Gathered report by report from their
// summaries: memory grows with the distinct programs and versions, plus one
// number per program a computer has and a short record per computer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fleet/name_table.h"
#include "rptconv/rptconv.h"

namespace rptconv {

// When a computer needs attention.
struct AttentionRules {
  double min_free_percent = 10;      // its fullest fixed drive has less free
  std::int32_t max_antivirus_days = 7;  // its newest virus database is older at the report's date
  std::size_t max_error_events = 0;     // its event logs hold more errors
};

// What needs attention, one bit each.
enum AttentionFlag : unsigned {
  kLowSpace = 1U << 0,
  kOldAntivirus = 1U << 1,
  kNoAntivirus = 1U << 2,
  kErrorEvents = 1U << 3,
  kSmartWarnings = 1U << 4,
};

// The flags by name, as the data export writes them.
inline constexpr struct {
  AttentionFlag flag;
  std::string_view key;
} kAttentionFlagKeys[] = {
    {kLowSpace, "low_space"},       {kOldAntivirus, "old_antivirus"},     {kNoAntivirus, "no_antivirus"},
    {kErrorEvents, "error_events"}, {kSmartWarnings, "smart_warnings"},
};

struct FleetComputer {
  std::string name;  // the report's computer name, title or file name, in `codepage`
  int codepage = 0;  // 0: the name is UTF-8
  std::string page_href;  // empty when its page has no address
  ReportSummary::Facts facts;  // without the programs
  std::int32_t report_day = ReportSummary::Facts::kNoDay;
  // The age of the newest virus database at the report's date, when both
  // dates are known.
  bool antivirus_age_known = false;
  std::int32_t antivirus_age = 0;
  unsigned flags = 0;
  int FlagCount() const;
  double FreePercent() const { return facts.drive_total > 0 ? 100 * facts.drive_free / facts.drive_total : 0; }
};

struct FleetVersion {
  std::string text;  // as first seen, in the codepage of its program
  std::uint32_t id = 0;  // numbers the versions of all programs
  std::uint32_t computers = 0;
  std::uint32_t last_computer = UINT32_MAX;
};

struct FleetProgram {
  std::string name;  // as first seen, trimmed
  int codepage = 0;
  std::uint32_t computers = 0;  // each counted once, whatever its versions
  std::uint32_t last_computer = UINT32_MAX;
  std::vector<FleetVersion> versions;  // first seen first
};

class Fleet {
 public:
  explicit Fleet(AttentionRules rules) : rules_(rules) {}

  // A converted report: its summary, its page's address and, for a report
  // without computer name or title, its file name (`name_codepage` 0 for
  // UTF-8).
  void Add(const ReportSummary& summary, std::string page_href, std::string_view report_name, int name_codepage);

  const AttentionRules& rules() const { return rules_; }
  const std::vector<FleetComputer>& computers() const { return computers_; }
  const std::vector<FleetProgram>& programs() const { return programs_; }
  // Programs dropped from reports that listed more than their bound.
  std::size_t programs_dropped() const { return programs_dropped_; }

  // Programs by name, without regard to case.
  std::vector<const FleetProgram*> ProgramsByName() const;
  // Computer numbers, those that need the most attention first.
  std::vector<std::uint32_t> ComputersByAttention() const;
  // Versions of `program`, the most computers first.
  static std::vector<const FleetVersion*> VersionsByShare(const FleetProgram& program);
  // The computers of every version, grouped once the reports are in.
  class VersionComputers {
   public:
    // The numbers of the computers of `version`, in the order added.
    std::span<const std::uint32_t> Of(const FleetVersion& version) const {
      return {numbers_.data() + starts_[version.id], version.computers};
    }

   private:
    friend class Fleet;
    std::vector<std::uint32_t> starts_;   // by version id
    std::vector<std::uint32_t> numbers_;  // of computers, version by version
  };
  VersionComputers GroupComputers() const;

 private:
  // The number of the program of that name, numbering it when new.
  std::uint32_t ProgramNumber(std::string_view name, int codepage);
  // One of its versions, on `computer`.
  void AddVersion(std::uint32_t number, std::string_view version, std::uint32_t computer);
  unsigned Assess(const FleetComputer& computer) const;

  AttentionRules rules_;
  std::vector<FleetComputer> computers_;
  std::vector<FleetProgram> programs_;
  // The ids of each computer's versions, one computer after the other, in
  // blocks that never move: added in order, they are written in order, and
  // a growing fleet neither copies them nor holds two copies at once.
  static constexpr unsigned kListingBlockBits = 14;
  static constexpr std::uint32_t kListingsPerBlock = 1U << kListingBlockBits;
  std::uint32_t ListingAt(std::uint32_t at) const {
    return listing_blocks_[at >> kListingBlockBits][at & (kListingsPerBlock - 1)];
  }
  void AddListing(std::uint32_t version_id) {
    if (listings_ % kListingsPerBlock == 0) {
      listing_blocks_.push_back(std::make_unique_for_overwrite<std::uint32_t[]>(kListingsPerBlock));
    }
    listing_blocks_[listings_ >> kListingBlockBits][listings_ & (kListingsPerBlock - 1)] = version_id;
    ++listings_;
  }
  std::vector<std::unique_ptr<std::uint32_t[]>> listing_blocks_;
  std::uint32_t listings_ = 0;
  std::vector<std::uint32_t> first_listings_;  // per computer
  std::uint32_t versions_ = 0;
  NameTable program_numbers_;  // by NameKey
  NameTable spelled_numbers_;  // by the name as spelled, trimmed
  std::string key_;  // reused for lookups
  std::vector<std::uint32_t> numbers_;  // of a report's programs, reused
  std::size_t programs_dropped_ = 0;
};

}  // namespace rptconv
