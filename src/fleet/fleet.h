// What runs across the reports of a batch: every installed program with its
// versions and the computers that have them, and per computer what needs an
// administrator's attention. Gathered report by report from their
// summaries: memory grows with the distinct programs and versions, plus two or
// three bytes per program a computer has and a short record per computer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
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
// gaps between them, written out in decimal and parted by commas ("0,3,14"
// for computers 0, 3 and 17), so that most take two or three bytes (a
// fleet's listings are the most numerous thing it holds) and the index page
// copies them as they are.
class ComputerList {
 public:
  // Adds `number`, which must be greater than the last added.
  void Add(std::uint32_t number) {
    const std::uint32_t gap = size_ == 0 ? number : number - last_;
    if (size_ > 0) text_.push_back(kComma);
    if (gap < kTen) {
      text_.push_back(static_cast<char>('0' + gap));
    } else {
      AddDigits(gap);
    }
    last_ = number;
    ++size_;
  }
  std::size_t size() const { return size_; }
  bool Has(std::uint32_t number) const { return size_ > 0 && last_ == number; }
  bool operator==(const ComputerList&) const = default;

  // The gaps: the first number, then each number less the one before, in
  // decimal, parted by commas.
  std::string_view gap_text() const { return text_; }

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
    // Reads the gap at at_, adds it, and finds where the next begins.
    void Read() {
      next_ = at_;
      if (next_ == end_) return;
      std::uint32_t gap = 0;
      for (; next_ != end_ && *next_ != kComma; ++next_) gap = gap * kTen + static_cast<std::uint32_t>(*next_ - '0');
      if (next_ != end_) ++next_;
      number_ += gap;
    }
    const char* at_ = nullptr;
    const char* end_ = nullptr;
    const char* next_ = nullptr;
    std::uint32_t number_ = 0;  // the sum of the gaps read
  };
  Iterator begin() const { return {text_.data(), text_.data() + text_.size()}; }
  Iterator end() const { return {text_.data() + text_.size(), text_.data() + text_.size()}; }

 private:
  static constexpr char kComma = ',';
  static constexpr std::uint32_t kTen = 10;
  void AddDigits(std::uint32_t gap);

  std::string text_;
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
// kept in one text whose room is reused from report to report: per program
// its two sizes, then its name and version. This text is all that passes
// from the thread that reads to the one that counts, and the reader writes
// it again once counted, so it is kept small (two bytes a size for all but
// the longest texts) and written without per-append checks.
class ProgramBatch final : public ProgramSink {
 public:
  void BeginReport(int codepage) override;
  void Program(std::string_view name, std::string_view version) override {
    const std::size_t size = name.size() + version.size();
    if (room_.size() - used_ < kLongHead + size) MakeRoom(kLongHead + size);
    char* out = room_.data() + used_;
    if (name.size() < kLongSize && version.size() < kLongSize) {
      const std::uint16_t sizes[2] = {static_cast<std::uint16_t>(name.size()),
                                      static_cast<std::uint16_t>(version.size())};
      std::memcpy(out, sizes, sizeof sizes);
      out += sizeof sizes;
    } else {
      out = PutLongSizes(out, name.size(), version.size());
    }
    CopyBytes(out, name.data(), name.size());
    CopyBytes(out + name.size(), version.data(), version.size());
    used_ = static_cast<std::size_t>(out + size - room_.data());
  }

  int codepage() const { return codepage_; }
  // Once counted on another thread, before this one writes the batch again.
  void EvictFromCaches() const { rptconv::EvictFromCaches(room_.data(), used_); }
  // Calls `visit` with each program's name and version, in order.
  template <class Visit>
  void ForEach(Visit visit) const {
    const char* at = room_.data();
    const char* const end = at + used_;
    while (at != end) {
      std::uint16_t sizes[2];
      std::memcpy(sizes, at, sizeof sizes);
      at += sizeof sizes;
      std::size_t name_size = sizes[0];
      std::size_t version_size = sizes[1];
      if (name_size == kLongSize) at = GetLongSizes(at, name_size, version_size);
      visit(NameParts{{at, name_size}, {at + name_size, version_size}});
      at += name_size + version_size;
    }
  }

 private:
  // Sizes from this on are written as kLongSize twice, then 64 bits each.
  static constexpr std::size_t kLongSize = 0xFFFF;
  static constexpr std::size_t kLongHead = 2 * sizeof(std::uint16_t) + 2 * sizeof(std::uint64_t);
  void MakeRoom(std::size_t more);
  static char* PutLongSizes(char* out, std::size_t name_size, std::size_t version_size);
  static const char* GetLongSizes(const char* at, std::size_t& name_size, std::size_t& version_size);

  int codepage_ = 0;
  std::size_t used_ = 0;  // of room_
  std::string room_;  // its size is the room made, kept from report to report
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

  // Orders what the pages list: the programs by name, each program's
  // versions by share. Once every computer is added.
  void Order();

  // Programs by name, without regard to case.
  std::vector<const FleetProgram*> ProgramsByName() const;
  // Computer numbers, those that need the most attention first.
  std::vector<std::uint32_t> ComputersByAttention() const;
  // Versions of `program`, the most computers first (those with as many in
  // the order first seen).
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
  std::vector<NameParts> parts_;  // a report's programs, reused
  std::vector<std::uint64_t> hashes_;  // of their names and versions, reused
  std::vector<std::uint32_t> ids_;  // of their versions, reused
  std::size_t programs_dropped_ = 0;
  bool ordered_ = false;  // Order was called after the last Add
  std::vector<const FleetProgram*> by_name_;  // set by Order
};

}  // namespace rptconv
