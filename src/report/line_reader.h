// Reads a report line by line through a ByteSource, in large blocks.
//
// Line rules: LF ends a line; every CR is dropped (so CR LF ends a line and a
// lone CR vanishes); Ctrl-Z ends the input wherever it stands and is never
// consumed; the end of the data ends the last line, with or without a line
// end. Reading at the end gives an empty line, however often. Every line
// handed out may be read kVectorBytes past its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "report/byte_classes.h"
#include "report/record.h"
#include "report/report_bytes.h"
#include "report/simd.h"
#include "rptconv/rptconv.h"

namespace rptconv {

inline constexpr std::size_t kDefaultBlockSize = 256 * 1024;

// A line cut where it lies in the block: where it starts and ends (without
// its line end) and where its first five commas are.
struct LineCut {
  std::size_t start;
  std::size_t end;
  std::size_t commas[5];
  std::size_t comma_count;
};

class ReportReader {
 public:
  explicit ReportReader(ByteSource& source, std::size_t block_size = kDefaultBlockSize);
  ReportReader(const ReportReader&) = delete;
  ReportReader& operator=(const ReportReader&) = delete;
  // Leaves its storage to the next reader of the thread with the same block
  // size: a batch of many small reports then takes one block, not a fresh
  // one (allocated and faulted in anew) per report.
  ~ReportReader();

  // The next line without its line end. Its bytes stay valid, and may be
  // changed in place, until the next call of ReadLine or AtEnd.
  std::span<char> ReadLine() {
    std::span<char> line;
    if (!TryReadLineInPlace(line)) line = GatherLine();
    return line;
  }

  // Reads the next line as ReadLine does when it lies wholly in the block
  // and can be handed out where it lies, which leaves every line handed out
  // before where it was. Otherwise reads nothing and gives false: ReadLine
  // then gathers the line, which may move or overwrite the earlier ones.
  bool TryReadLineInPlace(std::span<char>& line) {
    const std::size_t start = pos_;
    std::size_t end;
    if (!CutLine(end)) return false;
    line = std::span<char>(block_ + start, end - start);
    return true;
  }
  // The same for a record line, split as SplitRecord splits it.
  [[gnu::always_inline]] bool TryReadRecordInPlace(ReportRecord& record) {
    const std::size_t start = pos_;
    std::size_t end;
    if (!CutLine(end)) return false;
    // Most lines have their first five commas in the short window. The
    // window may go on past the line's end: a fifth comma there is none.
    std::uint64_t commas[5];
    commas[0] = ShortMaskWindow(commas_, start);
    for (std::size_t i = 1; i < 5; ++i) commas[i] = commas[i - 1] & (commas[i - 1] - 1);  // the lowest one dropped
    std::size_t at[5];
    if (commas[4] == 0 || (at[4] = LowestBit(commas[4])) >= end - start) {
      record = RecordOf(CutAt(start, end));
      return true;
    }
    for (std::size_t i = 0; i < 4; ++i) at[i] = LowestBit(commas[i]);
    const char* line = block_ + start;
    record.page = std::string_view(line, at[0]);
    record.group = std::string_view(line + at[0] + 1, at[1] - at[0] - 1);
    record.item = std::string_view(line + at[1] + 1, at[2] - at[1] - 1);
    record.label = std::string_view(line + at[3] + 1, at[4] - at[3] - 1);
    record.value = Value(start + at[4] + 1, end);
    return true;
  }
  // The same for a continuation line: its text after the fifth comma, as
  // AfterFifthField cuts it. Lines of the common kind are cut the quick way.
  [[gnu::always_inline]] bool TryReadCellInPlace(std::string_view& cell) {
    if (ReadCommonCells(&cell, 1) == 1) return true;
    const std::size_t start = pos_;
    std::size_t end;
    if (!CutLine(end)) return false;
    // Most such lines have their fifth comma in the next window.
    std::uint64_t fifth = ShortMaskWindow(commas_, start);
    for (int i = 0; i < 4; ++i) fifth &= fifth - 1;
    const std::size_t at = start + (fifth != 0 ? LowestBit(fifth) : FifthCommaFurther(commas_, start));
    if (at < end) {
      cell = std::string_view(block_ + at + 1, end - at - 1);
      return true;
    }
    const LineCut cut = CutAt(start, end);
    const std::size_t from = cut.comma_count == 0 ? start : cut.commas[cut.comma_count - 1] + 1;
    cell = std::string_view(block_ + from, end - from);
    return true;
  }


  // Reads continuation lines as TryReadCellInPlace does while they are of
  // the common kind (ended by CR LF, with five commas in the first
  // kShortWindowBits bytes), up to `count` of them; gives how many were read. The lines
  // of a table row are read in one call, the reader's state in registers.
  [[gnu::always_inline]] std::size_t ReadCommonCells(std::string_view* cells, std::size_t count) {
    const char* const block = block_;
    const std::uint64_t* const line_ends = line_ends_;
    const std::uint64_t* const commas = commas_;
    const std::size_t data_end = data_end_;
    std::size_t pos = pos_;
    std::size_t read = 0;
    for (; read < count; ++read) {
      const std::uint64_t ends = ShortMaskWindow(line_ends, pos);
      const std::size_t end = ends != 0 ? pos + LowestBit(ends) : LongLineEnd(pos);
      if (!CrLfAt(block, end, data_end)) break;
      std::uint64_t fifth = ShortMaskWindow(commas, pos);
      for (int i = 0; i < 4; ++i) fifth &= fifth - 1;
      if (fifth == 0) break;
      const std::size_t from = pos + LowestBit(fifth) + 1;
      if (from > end) break;
      cells[read] = std::string_view(block + from, end - from);
      pos = end + 2;
    }
    pos_ = pos;
    return read;
  }

  // True when the next byte to read is the end of the data or a Ctrl-Z.
  bool AtEnd() {
    // Bytes before the block's Ctrl-Z are left: the input goes on. (Once
    // stopped, the reader stands at its block's Ctrl-Z or end.)
    return pos_ >= data_end_ && AtEndOfBlock();
  }

  // The block as read, readable past its end: the writer escapes the texts
  // that lie in it 16 bytes at a time.
  const PaddedBlock& block() const { return padded_; }

 private:
  bool FillBuffer();  // false at the end of the data
  bool AtEndOfBlock();
  // Cuts the next line from the masks when it lies wholly in the block
  // before its Ctrl-Z, ends with LF or CR LF and holds no other CR, so that
  // it needs no gathering: then the reader goes past it and `end` is where
  // its line end starts. Otherwise reads nothing.
  [[gnu::always_inline]] bool CutLine(std::size_t& end) {
    const std::uint64_t ends = ShortMaskWindow(line_ends_, pos_);
    end = ends != 0 ? pos_ + LowestBit(ends) : LongLineEnd(pos_);
    if (CrLfAt(block_, end, data_end_)) {
      pos_ = end + 2;
      return true;
    }
    // Else the line end is an LF, or a CR to drop that needs gathering.
    if (end >= data_end_ || block_[end] != kLineFeed) return false;
    pos_ = end + 1;
    return true;
  }
  // The first LF or CR from kShortWindowBits bytes after `pos` on, or
  // data_end_: most lines end in the next window.
  [[gnu::noinline]] std::size_t LongLineEnd(std::size_t pos) const {
    const std::uint64_t ends = ShortMaskWindow(line_ends_, pos + kShortWindowBits);
    if (ends == 0) return VeryLongLineEnd(pos);
    const std::size_t end = pos + kShortWindowBits + LowestBit(ends);
    return end < data_end_ ? end : data_end_;
  }
  std::size_t VeryLongLineEnd(std::size_t pos) const;
  // Where the fifth comma from `pos` on is, counted from `pos`, when the
  // short window holds fewer than five: in the next window, or far past
  // any line (the caller's line-end test then fails).
  [[gnu::noinline]] static std::size_t FifthCommaFurther(const std::uint64_t* commas, std::size_t pos) {
    constexpr std::uint64_t kNear = (std::uint64_t{1} << kShortWindowBits) - 1;
    std::uint64_t near = ShortMaskWindow(commas, pos) & kNear;
    std::uint64_t further = ShortMaskWindow(commas, pos + kShortWindowBits);
    // Drop from the next window the commas after the near ones up to the fifth.
    int drop = 4;
    for (; near != 0; near &= near - 1) --drop;
    for (; drop > 0 && further != 0; --drop) further &= further - 1;
    return further != 0 ? kShortWindowBits + LowestBit(further) : SIZE_MAX / 2;
  }
  // Whether a CR LF, the line end of most lines, stands at `at` before
  // `data_end`: two bytes compared at once.
  static bool CrLfAt(const char* block, std::size_t at, std::size_t data_end) {
    static constexpr char kCrLf[2] = {kCarriageReturn, kLineFeed};
    return at + 1 < data_end && std::memcmp(block + at, kCrLf, 2) == 0;
  }

  // The cut of the line from `start` to `end`, with its first five commas.
  LineCut CutAt(std::size_t start, std::size_t end) const {
    LineCut cut{start, end, {}, 0};
    MaskCursor commas(commas_, start, end);
    for (std::size_t comma; cut.comma_count < 5 && (comma = commas.Next()) < end;) cut.commas[cut.comma_count++] = comma;
    return cut;
  }
  [[gnu::always_inline]] ReportRecord RecordOf(const LineCut& cut) {
    // Missing fields are empty, pointing into the line as every text does.
    const std::string_view none(block_ + cut.end, 0);
    std::string_view fields[5] = {none, none, none, none, none};
    std::size_t from = cut.start;
    for (std::size_t i = 0; i < cut.comma_count; ++i) {
      fields[i] = std::string_view(block_ + from, cut.commas[i] - from);
      from = cut.commas[i] + 1;
    }
    return {fields[0], fields[1], fields[2], fields[4], Value(from, cut.end)};
  }
  // The value from `from` to `end`, its semicolons turned into commas; most
  // values are short and hold none.
  std::string_view Value(std::size_t from, std::size_t end) {
    const std::size_t length = end - from;
    if (length > kVectorBytes) {
      ReplaceSemicolons(from, end);
    } else if (const std::uint32_t semicolons = ByteBits16(block_ + from, kValueComma);
               semicolons != 0 && LowestBit(semicolons) < length) {
      ReplaceSemicolons(from, end);
    }
    return std::string_view(block_ + from, length);
  }
  void ReplaceSemicolons(std::size_t from, std::size_t end);
  // Gathers a line that cannot be handed out in place into line_.
  std::span<char> GatherLine();

  ByteSource& source_;
  std::size_t block_size_;
  // The block, then room for reads past a text's end, and its two masks,
  // in one allocation that is not zero-filled: every byte is written before
  // it is read.
  std::unique_ptr<std::uint64_t[]> storage_;
  char* block_ = nullptr;
  std::uint64_t* line_ends_ = nullptr;
  std::uint64_t* commas_ = nullptr;
  PaddedBlock padded_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  // Where the block's data ends for the reader: at its first Ctrl-Z, or at
  // end_ when it has none.
  std::size_t data_end_ = 0;
  bool stopped_ = false;  // a Ctrl-Z or the end of the data was reached
  std::string line_;
};

}  // namespace rptconv
