#include "fleet/background_fleet.h"

#include <chrono>
#include <utility>

namespace rptconv {

namespace {

// Reports handed over at once: at least this many, more when the thread
// has not taken the last ones yet (it may wait for a processor), and the
// reader waits for it only when it holds the most.
constexpr std::size_t kReportsPerHandOver = 8;
constexpr std::size_t kMostHeld = 256;
// Waking a sleeping thread costs the waker a system call and an interrupt
// to the other processor (some 20 microseconds in a virtual machine, more
// than reading a report's programs): the reader hands reports over without
// waking the thread, which looks for them this often, and wakes it only
// when it waits for it or closes the fleet.
constexpr std::chrono::microseconds kLookEvery{500};

}  // namespace

BackgroundFleet::~BackgroundFleet() {
  {
    const std::lock_guard lock(mutex_);
    closing_ = true;
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
}

ProgramSink& BackgroundFleet::program_sink() {
  if (!reading_) {
    if (spare_.empty()) {
      reading_ = std::make_unique<ProgramBatch>();
    } else {
      reading_ = std::move(spare_.back());
      spare_.pop_back();
    }
  }
  return *reading_;
}

void BackgroundFleet::Add(const ReportSummary& summary, std::string page_href, std::string_view report_name,
                          int name_codepage) {
  gathering_.push_back({fleet_.ComputerOf(summary, std::move(page_href), report_name, name_codepage),
                        reading_ ? std::move(reading_) : std::make_unique<ProgramBatch>()});
  if (gathering_.size() >= kReportsPerHandOver) HandOver(gathering_.size() >= kMostHeld);
}

void BackgroundFleet::HandOver(bool wait) {
  {
    std::unique_lock lock(mutex_);
    if (!wait && !handed_.empty() && !failure_) return;
    changed_.wait(lock, [this] { return handed_.empty() || failure_; });
    if (failure_) {
      gathering_.clear();
      return;  // Finish tells it
    }
    handed_.swap(gathering_);
    for (auto& batch : counted_) spare_.push_back(std::move(batch));
    counted_.clear();
    if (!thread_.joinable()) {
      thread_ = std::thread([this] { Work(); });
    } else if (!wait) {
      return;  // the thread finds them
    }
  }
  changed_.notify_all();
}

void BackgroundFleet::Work() {
  std::vector<Job> jobs;
  std::unique_lock lock(mutex_);
  for (;;) {
    while (handed_.empty() && !closing_) changed_.wait_for(lock, kLookEvery);
    if (handed_.empty()) {
      const bool order = order_;
      lock.unlock();
      if (order) Order();
      return;
    }
    jobs.swap(handed_);
    lock.unlock();
    changed_.notify_all();
    std::exception_ptr failure;
    try {
      for (Job& job : jobs) {
        fleet_.Add(std::move(job.computer), *job.programs);
        job.programs->EvictFromCaches();
      }
    } catch (...) {
      failure = std::current_exception();
    }
    lock.lock();
    for (Job& job : jobs) counted_.push_back(std::move(job.programs));
    jobs.clear();
    if (failure) {
      failure_ = failure;
      handed_.clear();
      changed_.notify_all();
      return;
    }
    changed_.notify_all();
  }
}

void BackgroundFleet::Close() {
  if (closing_) return;
  if (!gathering_.empty()) HandOver(true);
  {
    const std::lock_guard lock(mutex_);
    closing_ = true;
    order_ = true;
  }
  changed_.notify_all();
}

const Fleet& BackgroundFleet::Finish() {
  Close();
  // A thread that was started ordered the fleet, or failed.
  if (thread_.joinable()) {
    thread_.join();
  } else {
    Order();
  }
  if (failure_) std::rethrow_exception(failure_);
  return fleet_;
}

// On the thread once every report is counted, else on the caller's when no
// thread was started: ordering may fail for want of memory too.
void BackgroundFleet::Order() {
  {
    const std::lock_guard lock(mutex_);
    if (failure_) return;
  }
  std::exception_ptr failure;
  try {
    fleet_.Order();
  } catch (...) {
    failure = std::current_exception();
  }
  if (!failure) return;
  const std::lock_guard lock(mutex_);
  failure_ = failure;
}

}  // namespace rptconv
