// rptconv: turns the comma-separated reports of a system-information product
// into stand-alone HTML pages. This is the library's one public header: a
// conversion reads a report from a byte source and writes its page to a byte
// sink. It touches no file, console or other OS facility of its own.
#pragma once

#include <cstddef>
#include <climits>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace rptconv {

// Where the bytes of a report come from: a file, a pipe, a string.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads up to `capacity` bytes into `buffer` and returns how many were read;
  // 0 means the end of the data. A failure throws IoError.
  virtual std::size_t Read(char* buffer, std::size_t capacity) = 0;
  // Releases the source once the report has been read; a failure throws IoError.
  virtual void Close() {}
};

// Where the bytes of a page go: a file, standard output, a string.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Writes all of `bytes`; a failure throws IoError.
  virtual void Write(std::string_view bytes) = 0;
};

// Stable numbers naming each checked operation; the failure report prints
// the site as eight upper-case hexadecimal digits. The numbers never change
// once given out: a report from any build points at the same check.
enum class IoSite : std::uint32_t {
  kReadReport = 0x00401010,    // a block read of the report
  kCloseReport = 0x00401030,   // closing the report after its last line
  kWriteOutput = 0x00402010,   // writing a block of the page
  kCloseOutput = 0x00402020,   // closing the page's temporary file
  kCommitOutput = 0x00402030,  // moving the finished page onto its name
  kSyncOutput = 0x00402040,    // flushing a page that replaces an earlier one to disk
  kSyncDirectory = 0x00402050, // flushing the page's directory after that replacement
  kWriteConsole = 0x00403010,  // a console line
};

// An I/O operation failed: the platform's error number (errno on POSIX,
// GetLastError() on Windows) and the check that found it. what() names
// both, e.g. "I/O error 28 writing a block of the page (site 00402010)".
class IoError : public std::runtime_error {
 public:
  IoError(int error_code, IoSite error_site);
  int code;
  IoSite site;
};

// The look of the page.
enum class PageStyle {
  kClassic,  // the HTML of 2004, report bytes passed unchanged
  kModern,   // HTML5 in UTF-8 for today's browsers
};

// What a conversion writes: the page, or the report's data.
enum class OutputFormat {
  kHtml,    // the page, in the chosen style
  kJson,    // one JSON document (UTF-8): the report's pages, groups, items and table rows
  kNdjson,  // one JSON object per line for every table row and property, to join many reports
};

struct ConvertOptions {
  PageStyle style = PageStyle::kClassic;
  // The Windows code page of the report's text, for pages in UTF-8, for
  // data and the summary: 0 (the default) takes it from the report's
  // language (1252 for English reports, 1250 for Hungarian ones); any other
  // value must be one that IsSupportedCodepage accepts, whatever the style.
  int codepage = 0;
  OutputFormat format = OutputFormat::kHtml;
  // The report's name as data names it; empty for none. Its bytes are UTF-8
  // (bytes of no valid sequence are written as U+FFFD), or, when
  // `report_name_utf8` is false, in the report's code page (Windows names).
  std::string report_name{};
  bool report_name_utf8 = true;
};

// Told the installed programs of each report as the report is read, by an
// overview that counts programs across many reports and keeps each distinct
// name and version once.
class ProgramSink {
 public:
  virtual ~ProgramSink() = default;
  // A report begins; the texts of its programs are in `codepage`.
  virtual void BeginReport(int codepage) = 0;
  // One of its installed programs: name (never empty) and version as the
  // report has them, without blanks at either end.
  virtual void Program(std::string_view name, std::string_view version) = 0;
};

// What an overview of many reports shows of one: its title and the
// properties of its first group that belong to no item (computer name, user,
// date...), as the report's bytes, and the code page those bytes are in.
struct ReportSummary {
  std::string title;
  int codepage = 0;
  std::string language;  // the report's language as a language tag: "en" or "hu"
  std::vector<std::pair<std::string, std::string>> properties;  // label and value, each label once
  // What the overview tells across many reports, taken from this one.
  struct Facts {
    // Its installed programs go to `program_sink`, at most kMostPrograms;
    // `programs_dropped` counts those beyond.
    static constexpr std::size_t kMostPrograms = 4096;
    std::size_t programs_dropped = 0;
    // The fixed drive (no optical, removable or network drive) with the
    // smallest share of free space; `drive` empty when none has both sizes.
    std::string drive;
    double drive_free = 0;   // bytes
    double drive_total = 0;  // bytes
    // Antivirus products listed, and the newest virus database date among
    // them as days since 1970-01-01 (kNoDay when none could be read).
    static constexpr std::int32_t kNoDay = INT32_MIN;
    std::size_t antivirus = 0;
    std::int32_t antivirus_day = kNoDay;
    // Event log entries of type error, and SMART attributes whose status is
    // not OK, with the disk of the first of those.
    std::size_t error_events = 0;
    std::size_t smart_warnings = 0;
    std::string smart_disk;
  } facts;
  // Where the report's installed programs go; none when null. Set by the
  // caller before the conversion.
  ProgramSink* program_sink = nullptr;
};

// True for the code pages a modern page converts from: 1250 (Central
// European) and 1252 (Western).
bool IsSupportedCodepage(int codepage);

// Reads a whole report from `source` and writes its page (or its data) to `sink`; fills
// `summary` too when it is given. Throws:
// - std::invalid_argument when `options.codepage` is neither 0 nor accepted
//   by IsSupportedCodepage, in every style, before anything is read or
//   written;
// - IoError, passed on from `source` and `sink` (or what they throw);
// - std::bad_alloc when memory runs out, and std::length_error for a line
//   longer than a string can hold.
void Convert(ByteSource& source, ByteSink& sink, const ConvertOptions& options = {},
             ReportSummary* summary = nullptr);

// What a comparison of two reports is asked for.
struct CompareOptions {
  // The Windows code page of both reports' text, as in ConvertOptions; 0
  // takes each report's from its language.
  int codepage = 0;
  // Volatile columns (memory in use, last access and the like) count as
  // changes and are shown.
  bool all_columns = false;
  // A page (kHtml), the changes as one JSON document (kJson), or one JSON
  // line per change (kNdjson).
  OutputFormat format = OutputFormat::kHtml;
  // How the output names the two reports, and whether these names are UTF-8
  // (else they are in the new report's code page).
  std::string old_name;
  std::string new_name;
  bool names_utf8 = true;
};

// Reads the old report, then the new one, and writes a page (or the data) of
// what changed between them to `sink`: rows matched by their key columns,
// each added, removed or changed row once. Memory grows with the old report
// and the changes. A code page that IsSupportedCodepage refuses throws
// std::invalid_argument before anything is read or written.
void CompareReports(ByteSource& old_report, ByteSource& new_report, ByteSink& sink,
                    const CompareOptions& options = {});

}  // namespace rptconv
