#include "export/fleet_json.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

#include "walk/page_events.h"

namespace rptconv {

namespace {

constexpr double kHundredths = 100;

// Text of a computer or a program in `codepage`; 0 is UTF-8 (a file name).
void Text(JsonWriter& out, std::string_view text, int codepage) {
  if (codepage == 0) {
    out.Utf8String(text);
  } else {
    out.String(text, JsonCodepageOrWestern(codepage));
  }
}

// A finite number in its shortest decimal form: "4.06", "1e+300".
void Finite(JsonWriter& out, double value) {
  std::array<char, 32> digits{};
  const auto [end, error] = std::to_chars(digits.data(), digits.data() + digits.size(), value);
  out.Number(std::string_view(digits.data(), static_cast<std::size_t>(end - digits.data())));
}

// A share in percent, to two decimals.
void Percent(JsonWriter& out, double share) { Finite(out, std::round(share * kHundredths) / kHundredths); }

// A size in bytes: a whole number, written exactly up to 2^53 and beyond
// as the double it is.
void Bytes(JsonWriter& out, double bytes) {
  constexpr double kExactBelow = 9007199254740992.0;  // 2^53
  if (bytes < kExactBelow) {
    out.Int(std::llround(bytes));
  } else {
    Finite(out, std::round(bytes));
  }
}

void Rules(JsonWriter& out, const AttentionRules& rules) {
  out.Key("rules").BeginObject().Key("min_free_percent");
  Percent(out, rules.min_free_percent);
  out.Key("max_antivirus_days").Int(rules.max_antivirus_days);
  out.Key("max_error_events").Int(static_cast<std::int64_t>(rules.max_error_events));
  out.EndObject();
}

void Computer(JsonWriter& out, const FleetComputer& computer, std::uint32_t report) {
  const ReportSummary::Facts& facts = computer.facts;
  out.NewLine().BeginObject().Key("report").Int(report).Key("name");
  Text(out, computer.name, computer.codepage);
  out.Key("needs").Int(computer.FlagCount()).Key("flags").BeginArray();
  for (const auto& [flag, key] : kAttentionFlagKeys) {
    if ((computer.flags & flag) != 0) out.Utf8String(key);
  }
  out.EndArray().Key("lowest_free");
  if (facts.drive.empty()) {
    out.Null();
  } else {
    out.BeginObject().Key("drive");
    Text(out, facts.drive, computer.codepage);
    out.Key("free_bytes");
    Bytes(out, facts.drive_free);
    out.Key("total_bytes");
    Bytes(out, facts.drive_total);
    out.Key("free_percent");
    Percent(out, computer.FreePercent());
    out.EndObject();
  }
  out.Key("antivirus_products").Int(static_cast<std::int64_t>(facts.antivirus));
  out.Key("antivirus_age_days");
  if (computer.antivirus_age_known) {
    out.Int(computer.antivirus_age);
  } else {
    out.Null();
  }
  out.Key("error_events").Int(static_cast<std::int64_t>(facts.error_events));
  out.Key("smart_warnings").Int(static_cast<std::int64_t>(facts.smart_warnings));
  out.Key("smart_disk");
  if (facts.smart_warnings == 0 || facts.smart_disk.empty()) {
    out.Null();
  } else {
    Text(out, facts.smart_disk, computer.codepage);
  }
  out.EndObject();
}

void Program(JsonWriter& out, const Fleet& fleet, const FleetProgram& program) {
  out.NewLine().BeginObject().Key("name");
  Text(out, program.name, program.codepage);
  out.Key("computers").Int(program.computers).Key("versions").BeginArray();
  for (const FleetVersion* version : fleet.VersionsByShare(program)) {
    out.BeginObject().Key("version");
    Text(out, version->text, program.codepage);
    out.Key("count").Int(static_cast<std::int64_t>(version->computers.size())).Key("computers").BeginArray();
    for (const std::uint32_t number : version->computers) out.Int(number);
    out.EndArray().EndObject();
  }
  out.EndArray().EndObject();
}

}  // namespace

void WriteFleetJson(JsonWriter& out, const Fleet& fleet, std::span<const std::uint32_t> reports) {
  out.BeginObject();
  Rules(out, fleet.rules());
  out.Key("computers").BeginArray();
  for (std::size_t number = 0; number < fleet.computers().size(); ++number) {
    Computer(out, fleet.computers()[number], reports[number]);
  }
  out.NewLine().EndArray().Key("attention").BeginArray();
  for (const std::uint32_t number : fleet.ComputersByAttention()) out.Int(number);
  out.EndArray();
  out.Key("programs_dropped").Int(static_cast<std::int64_t>(fleet.programs_dropped()));
  out.Key("software").BeginArray();
  for (const FleetProgram* program : fleet.ProgramsByName()) Program(out, fleet, *program);
  out.NewLine().EndArray().EndObject();
}

}  // namespace rptconv
