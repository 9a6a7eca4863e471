// What runs across the reports of a batch: every installed program with its
// versions and the computers that have them, and per computer what needs an
// administrator's attention. Gathered report by report from their
// summaries: memory grows with the distinct programs and versions, plus about
// a byte per program a computer has and a short record per computer.
#pragma once

#include <cstddef>
#include <cstdint>
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
  ReportSummary::Facts facts;
  std::int32_t report_day = ReportSummary::Facts::kNoDay;
  // The age of the newest virus database at the report's date, when both
  // dates are known.
  bool antivirus_age_known = false;
  std::int32_t antivirus_age = 0;
  unsigned flags = 0;
  int FlagCount() const;
  double FreePercent() const { return facts.drive_total > 0 ? 100 * facts.drive_free / facts.drive_total : 0; }
};

// The numbers of a version's computers, added in rising order: kept as the
// gaps between them, seven bits a byte, so that most take one byte (a
// fleet's listings are the most numerous thing it holds).
class ComputerList {
 public:
  // Adds `number`, which must be greater than the last added.
  void Add(std::uint32_t number) {
    const std::uint32_t gap = size_ == 0 ? number : number - last_;
    if (gap < kMoreGap) {
      gaps_.push_back(static_cast<char>(gap));
    } else {
      AddLongGap(gap);
    }
    last_ = number;
    ++size_;
  }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  bool Has(std::uint32_t number) const { return size_ > 0 && last_ == number; }
  bool operator==(const ComputerList&) const = default;

  // Calls `visit` with each gap in order: the first number, then each
  // number less the one before.
  template <class Visit>
  void ForEachGap(Visit visit) const {
    const char* at = gaps_.data();
    const char* const end = at + gaps_.size();
    while (at != end) visit(ReadGap(at, end));
  }

  class Iterator {
   public:
    using value_type = std::uint32_t;
    using difference_type = std::ptrdiff_t;
    Iterator() = default;
    Iterator(const char* at, const char* end) : at_(at), end_(end) { Read(); }
    std::uint32_t operator*() const { return number_; }
    Iterator& operator++() {
      at_ = next_;
      Read();
      return *this;
    }
    Iterator operator++(int) {
      Iterator before = *this;
      ++*this;
      return before;
    }
    bool operator==(const Iterator& other) const { return at_ == other.at_; }

   private:
    void Read() {
      next_ = at_;
      if (next_ != end_) number_ += ReadGap(next_, end_);
    }
    const char* at_ = nullptr;
    const char* end_ = nullptr;
    const char* next_ = nullptr;
    std::uint32_t number_ = 0;  // the sum of the gaps read
  };
  Iterator begin() const { return {gaps_.data(), gaps_.data() + gaps_.size()}; }
  Iterator end() const { return {gaps_.data() + gaps_.size(), gaps_.data() + gaps_.size()}; }

 private:
  static constexpr unsigned kGapBits = 7;
  static constexpr unsigned kMoreGap = 1U << kGapBits;  // set in every byte of a gap but its last

  // The gap at `at`, which it passes.
  static std::uint32_t ReadGap(const char*& at, const char* end) {
    const auto byte = static_cast<unsigned char>(*at);
    if (byte < kMoreGap) {
      ++at;
      return byte;
    }
    return ReadLongGap(at, end);
  }
  static std::uint32_t ReadLongGap(const char*& at, const char* end);
  void AddLongGap(std::uint32_t gap);

  std::string gaps_;
  std::uint32_t size_ = 0;
  std::uint32_t last_ = 0;
};

struct FleetVersion {
  std::string text;  // as first seen, in the codepage of its program
  std::uint32_t program = 0;  // its program's number
  ComputerList computers;
};

struct FleetProgram {
  std::string name;  // as first seen, trimmed
  int codepage = 0;
  std::uint32_t computers = 0;  // each counted once, whatever its versions
  std::uint32_t last_computer = UINT32_MAX;
  std::vector<std::uint32_t> versions;  // their ids, first seen first
};

// A report's installed programs as it is read (the summary's program sink),
// kept in one text whose room is reused from report to report.
class ProgramBatch final : public ProgramSink {
 public:
  void BeginReport(int codepage) override;
  void Program(std::string_view name, std::string_view version) override {
    entries_.push_back({text_.size(), name.size(), version.size()});
    text_.append(name).append(version);
  }

  int codepage() const { return codepage_; }
  std::size_t size() const { return entries_.size(); }
  NameParts operator[](std::size_t i) const {
    const Entry& entry = entries_[i];
    return {{text_.data() + entry.at, entry.name_size}, {text_.data() + entry.at + entry.name_size, entry.version_size}};
  }

 private:
  struct Entry {
    std::size_t at;  // in text_
    std::size_t name_size;
    std::size_t version_size;
  };
  int codepage_ = 0;
  std::vector<Entry> entries_;
  std::string text_;  // cleared for each report, its room kept
};

class Fleet {
 public:
  explicit Fleet(AttentionRules rules) : rules_(rules) {}

  // A converted report as a computer of the fleet: its summary, its page's
  // address and, for a report without computer name or title, its file
  // name (`name_codepage` 0 for UTF-8).
  FleetComputer ComputerOf(const ReportSummary& summary, std::string page_href, std::string_view report_name,
                           int name_codepage) const;
  // Adds the computer and its programs.
  void Add(FleetComputer computer, const ProgramBatch& programs);

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
  std::vector<const FleetVersion*> VersionsByShare(const FleetProgram& program) const;

 private:
  // The number of the program of that name, numbering it when new.
  std::uint32_t ProgramNumber(std::string_view name, int codepage);
  // The id of the version of program `number`, numbering it when new.
  std::uint32_t VersionId(std::uint32_t number, std::string_view version);
  unsigned Assess(const FleetComputer& computer) const;

  AttentionRules rules_;
  std::vector<FleetComputer> computers_;
  std::vector<FleetProgram> programs_;
  std::vector<FleetVersion> versions_;  // by id
  NameTable program_numbers_;  // by NameKey
  NameTable spelled_numbers_;  // by the name as spelled, trimmed
  // Version ids by name and version as spelled: most programs of a report
  // are found with this one lookup.
  NameTable version_ids_;
  std::string key_;  // reused for lookups
  std::vector<std::uint64_t> hashes_;  // of a report's programs, reused
  std::vector<std::uint32_t> ids_;  // of their versions, reused
  std::size_t programs_dropped_ = 0;
};

}  // namespace rptconv
