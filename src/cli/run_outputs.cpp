#include "cli/run_outputs.h"

#include "cli/link_paths.h"
#include "report/header_line.h"

namespace rptconv {

std::uint64_t RunOutputs::NameKey(std::string_view path) const {
  // FNV-1a, the same on every platform and run.
  std::uint64_t hash = 0xCBF29CE484222325ULL;
  for (const char c : ComparablePath(path, current_dir_, windows_)) {
    hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001B3ULL;
  }
  return hash;
}

void RunOutputs::AddIdentity(Identities& set, const platform::FileIdentity& identity) {
  if (identity != platform::kUnknownFile) set.insert(identity);
}

void RunOutputs::AddReport(std::string_view path) {
  report_names_.insert(NameKey(path));
  AddIdentity(report_files_, platform::IdentityOfPath(std::string(path)));
}

void RunOutputs::ReportOpened(const platform::FileIdentity& identity, std::uint32_t permissions) {
  AddIdentity(report_files_, identity);
  readers_ &= permissions;
}

bool RunOutputs::Claim(std::string_view path, std::string_view report) {
  const std::uint64_t name = NameKey(path);
  const std::uint64_t shows = report.empty() ? 0 : NameKey(report);
  if (const auto claimed = output_names_.find(name); claimed != output_names_.end()) {
    return shows != 0 && claimed->second.report == shows;
  }
  if (report_names_.contains(name)) return false;
  const platform::FileIdentity there = platform::IdentityOfPath(std::string(path));
  if (there != platform::kUnknownFile && (report_files_.contains(there) || output_files_.contains(there))) {
    return false;
  }
  output_names_.emplace(name, Claimed{there, shows});
  AddIdentity(output_files_, there);
  return true;
}

void RunOutputs::Written(std::string_view path, const platform::FileIdentity& identity) {
  const auto found = output_names_.find(NameKey(path));
  if (found != output_names_.end()) found->second.there = identity;
  AddIdentity(output_files_, identity);
}

RunOutputs::Rule RunOutputs::RuleFor(std::string_view path) const {
  const auto found = output_names_.find(NameKey(path));
  return Rule(*this, found != output_names_.end() ? found->second.there : platform::kUnknownFile);
}

bool RunOutputs::Rule::MayReplace(const platform::FileIdentity& existing, std::string_view head) const {
  if (outputs_.report_files_.contains(existing)) return false;
  if (existing != own_ && outputs_.output_files_.contains(existing)) return false;
  return !StartsWithReportHeader(head);
}

}  // namespace rptconv
