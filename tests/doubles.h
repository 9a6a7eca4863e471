// Test doubles for the byte interfaces, shared by every test program: a
// report held in memory, handed out in pieces, whose reads or close can
// fail; and a sink that keeps (or only counts) the page and can fail.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "rptconv/rptconv.h"

namespace rptconv::testing {

inline constexpr int kEio = 5;
inline constexpr int kNoSpace = 28;
inline constexpr std::size_t kNever = SIZE_MAX;

// `piece` caps what one Read hands out; the read after `fail_at` bytes
// throws IoError(`error`, kReadReport), also where it would have found the
// end. With `fail_close`, Close throws.
template <class Base>
class BasicMemorySource : public Base {
 public:
  explicit BasicMemorySource(std::string_view bytes, std::size_t piece = kNever, std::size_t fail_at = kNever,
                             int error = kEio)
      : bytes_(bytes), piece_(piece), fail_at_(fail_at), error_(error) {}

  std::size_t Read(char* buffer, std::size_t capacity) override {
    ++reads_;
    if (pos_ >= fail_at_) throw IoError(error_, IoSite::kReadReport);
    const std::size_t n = std::min({capacity, piece_, bytes_.size() - pos_, fail_at_ - pos_});
    std::memcpy(buffer, bytes_.data() + pos_, n);
    pos_ += n;
    return n;
  }
  void Close() override {
    ++closes_;
    if (fail_close) throw IoError(error_, IoSite::kCloseReport);
  }
  int reads() const { return reads_; }
  int closes() const { return closes_; }
  bool fail_close = false;

 private:
  std::string bytes_;
  std::size_t piece_;
  std::size_t fail_at_;
  int error_;
  std::size_t pos_ = 0;
  int reads_ = 0;
  int closes_ = 0;
};

using MemorySource = BasicMemorySource<ByteSource>;

// The same as an opened report file of the platform layer.
class MemoryReport : public BasicMemorySource<platform::ReportSource> {
 public:
  using BasicMemorySource::BasicMemorySource;
  platform::FileIdentity Identity() const override { return {}; }
  std::uint32_t Permissions() const override { return 0777; }
};

// Keeps the page (or, with `keep` false, only its size, allocating
// nothing); write number `fail_on` (counted from 1) throws
// IoError(`error`, kWriteOutput).
class MemorySink : public ByteSink {
 public:
  explicit MemorySink(int fail_on = 0, int error = kNoSpace) : fail_on_(fail_on), error_(error) {}
  void Write(std::string_view bytes) override {
    if (++writes == fail_on_) throw IoError(error_, IoSite::kWriteOutput);
    if (keep) data.append(bytes);
    size += bytes.size();
  }
  std::string data;
  std::size_t size = 0;
  int writes = 0;
  bool keep = true;

 private:
  int fail_on_;
  int error_;
};

}  // namespace rptconv::testing
