// The one rule for every output a run writes: pages beside their reports,
// -o, -d, the index, and any output still to come.
//
// An output never replaces
//   (a) a report the run named or found, opened or not,
//   (b) another output of the same run,
//   (c) an existing file whose first line is a report's header line.
// Names are compared in one spelling (ComparablePath); where names differ,
// the files in their places are compared by identity.
//
// A new output takes part like this:
//   if (!outputs.Claim(path)) ...             // the create-failure line
//   const RunOutputs::Rule rule = outputs.RuleFor(path);
//   if (!files.CanCreateOutput(path, rule))   // up front, before any report
//   auto file = files.CreateOutput(path, rule, outputs.Readers());
//   ... file->Commit(); outputs.Written(path, file->Identity());
// Claim every output of the run before the first is written, so that each
// one is checked against all the others.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "platform/platform.h"

namespace rptconv {

class RunOutputs {
 public:
  RunOutputs(std::string current_dir, bool windows) : current_dir_(std::move(current_dir)), windows_(windows) {}

  // A report of the run, named or found; the file in its place, if any, is
  // noted too.
  void AddReport(std::string_view path);
  // The file an opened report turned out to be (also standard input), and
  // who may read it.
  void ReportOpened(const platform::FileIdentity& identity, std::uint32_t permissions);

  // Takes `path` for an output; false when it names a report of the run or
  // an output claimed before, or the file there is one of them. `report`
  // names the one report a page shows: a report named twice has one page,
  // which it may claim again.
  bool Claim(std::string_view path, std::string_view report = {});
  // The output at `path` has been written and is the file `identity`.
  void Written(std::string_view path, const platform::FileIdentity& identity);

  // What the output at `path` (claimed) may replace when it is made.
  class Rule : public platform::ReplaceRule {
   public:
    bool MayReplace(const platform::FileIdentity& existing, std::string_view head) const override;

   private:
    friend class RunOutputs;
    Rule(const RunOutputs& outputs, const platform::FileIdentity& own) : outputs_(outputs), own_(own) {}
    const RunOutputs& outputs_;
    platform::FileIdentity own_;  // the file the output's name held when claimed
  };
  Rule RuleFor(std::string_view path) const;

  // The permission bits that every report opened so far grants: an output
  // showing all of them is readable by a class only where these let it.
  std::uint32_t Readers() const { return readers_; }

 private:
  struct IdentityHash {
    std::size_t operator()(const platform::FileIdentity& id) const {
      return std::hash<std::uint64_t>()(id.file * 31 + id.volume);
    }
  };
  using Identities = std::unordered_set<platform::FileIdentity, IdentityHash>;
  void AddIdentity(Identities& set, const platform::FileIdentity& identity);
  // A name is kept as a 64-bit hash of its comparable spelling: a run of
  // many thousand reports keeps a few bytes per name. Two names that differ
  // but share a hash would only refuse an output, never let one through.
  std::uint64_t NameKey(std::string_view path) const;

  std::string current_dir_;
  bool windows_;
  std::unordered_set<std::uint64_t> report_names_;
  Identities report_files_;
  struct Claimed {
    platform::FileIdentity there;  // the file the name held when claimed
    std::uint64_t report;          // the key of the report it shows, or 0
  };
  std::unordered_map<std::uint64_t, Claimed> output_names_;
  Identities output_files_;
  std::uint32_t readers_ = 0777;
};

}  // namespace rptconv
