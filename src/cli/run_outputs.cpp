#include "cli/run_outputs.h"

#include "cli/link_paths.h"
#include "report/header_line.h"

namespace rptconv {

void RunOutputs::AddIdentity(Identities& set, const platform::FileIdentity& identity) {
  if (identity != platform::kUnknownFile) set.insert(identity);
}

void RunOutputs::AddReport(std::string_view path) {
  report_names_.insert(ComparablePath(path, current_dir_, windows_));
  AddIdentity(report_files_, platform::IdentityOfPath(std::string(path)));
}

void RunOutputs::ReportOpened(const platform::FileIdentity& identity, std::uint32_t permissions) {
  AddIdentity(report_files_, identity);
  readers_ &= permissions;
}

bool RunOutputs::Claim(std::string_view path) {
  std::string name = ComparablePath(path, current_dir_, windows_);
  if (report_names_.contains(name) || output_names_.contains(name)) return false;
  const platform::FileIdentity there = platform::IdentityOfPath(std::string(path));
  if (there != platform::kUnknownFile && (report_files_.contains(there) || output_files_.contains(there))) {
    return false;
  }
  output_names_.emplace(std::move(name), there);
  AddIdentity(output_files_, there);
  return true;
}

void RunOutputs::Written(std::string_view path, const platform::FileIdentity& identity) {
  const auto found = output_names_.find(ComparablePath(path, current_dir_, windows_));
  if (found != output_names_.end()) found->second = identity;
  AddIdentity(output_files_, identity);
}

RunOutputs::Rule RunOutputs::RuleFor(std::string_view path) const {
  const auto found = output_names_.find(ComparablePath(path, current_dir_, windows_));
  return Rule(*this, found != output_names_.end() ? found->second : platform::kUnknownFile);
}

bool RunOutputs::Rule::MayReplace(const platform::FileIdentity& existing, std::string_view head) const {
  if (outputs_.report_files_.contains(existing)) return false;
  if (existing != own_ && outputs_.output_files_.contains(existing)) return false;
  return !StartsWithReportHeader(head);
}

}  // namespace rptconv
