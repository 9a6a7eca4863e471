#include "export/index_json.h"

#include "export/fleet_json.h"
#include "export/json_writer.h"
#include "walk/page_events.h"

namespace rptconv {

void JsonIndex::AddConverted(std::string_view report_name, std::string output, const ReportSummary& summary) {
  computer_reports_.push_back(static_cast<std::uint32_t>(entries_.size()));
  // A computer without name or title is named by its file; its report's
  // position stands for its page.
  fleet_.Add(summary, std::string(), report_name, names_utf8_ ? 0 : summary.codepage);
  Entry& entry = entries_.emplace_back();
  entry.report_name.assign(report_name);
  entry.output = std::move(output);
  // The entry keeps what its row shows: the facts live on in the fleet.
  entry.summary.title = summary.title;
  entry.summary.codepage = summary.codepage;
  entry.summary.language = summary.language;
  entry.summary.properties = summary.properties;
}

void JsonIndex::AddFailed(std::string_view report_name, std::string_view failure_line) {
  entries_.push_back({std::string(report_name), {}, true, std::string(failure_line), {}});
}

void JsonIndex::Write(ByteSink& sink) {
  // The fleet's thread counts the last reports and orders the fleet while
  // the reports are written.
  fleet_.Close();
  const JsonCodepageTable& english = *FindJsonCodepage(kEnglishCodepage);
  JsonWriter out(sink, english);
  out.BeginObject().Key("format").Utf8String(kIndexFormat).Key("version").Int(kIndexFormatVersion);
  out.Key("reports").BeginArray();
  for (const Entry& entry : entries_) {
    out.SetCodepage(entry.failed ? english : JsonCodepageOrWestern(entry.summary.codepage));
    // Console lines and names are the names' bytes.
    const auto name = [&](std::string_view text) { names_utf8_ ? out.Utf8String(text) : out.String(text); };
    out.NewLine().BeginObject().Key("file");
    name(entry.report_name);
    if (entry.failed) {
      out.Key("failure");
      name(entry.failure_line);
      out.EndObject();
      continue;
    }
    out.Key("output");
    if (entry.output.empty()) {
      out.Null();
    } else {
      name(entry.output);
    }
    out.Key("title").String(entry.summary.title).Key("codepage").Int(entry.summary.codepage);
    out.Key("summary").BeginArray();
    for (const auto& [label, value] : entry.summary.properties) {
      out.BeginObject().Key("label").String(label).Key("value").String(value).EndObject();
    }
    out.EndArray().EndObject();
  }
  out.NewLine().EndArray().Key("fleet");
  WriteFleetJson(out, fleet_.Finish(), computer_reports_);
  out.EndObject().EndRecord();
  out.Flush();
}

}  // namespace rptconv
