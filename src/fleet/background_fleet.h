// Gathers a fleet on a thread of its own, so that counting one report's
// programs overlaps reading the next: the walk copies a report's programs
// into a batch (the summary's program sink), Add hands the batch over with
// the computer, and Finish waits for the thread and gives the fleet. The
// reports are counted in the order added, so the fleet is the one a single
// thread would gather.
#pragma once

#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "fleet/fleet.h"
#include "rptconv/rptconv.h"

namespace rptconv {

class BackgroundFleet {
 public:
  explicit BackgroundFleet(AttentionRules rules) : fleet_(rules) {}
  ~BackgroundFleet();
  BackgroundFleet(const BackgroundFleet&) = delete;
  BackgroundFleet& operator=(const BackgroundFleet&) = delete;

  // Where the programs of the report being read go.
  ProgramSink& program_sink();
  // The report read last, converted: see Fleet::ComputerOf.
  void Add(const ReportSummary& summary, std::string page_href, std::string_view report_name, int name_codepage);
  // No more reports: the thread counts those left, then orders the fleet.
  void Close();
  // Closes, and waits until every report added is counted and the fleet
  // ordered. Throws what the thread failed with (std::bad_alloc).
  const Fleet& Finish();

 private:
  struct Job {
    FleetComputer computer;
    std::unique_ptr<ProgramBatch> programs;
  };
  // Hands the reports gathered over; when the thread has not taken the
  // last ones, waits for it if `wait`, else keeps them.
  void HandOver(bool wait);
  void Work();
  void Order();

  Fleet fleet_;  // the thread's alone until Finish
  std::unique_ptr<ProgramBatch> reading_;  // the batch of the report being read
  // Reports are handed over many at a time: waking a thread costs more
  // than counting a report.
  std::vector<Job> gathering_;  // the reader's, not yet handed over
  std::vector<std::unique_ptr<ProgramBatch>> spare_;  // the reader's, for reuse
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Job> handed_;  // waiting for the thread
  std::vector<std::unique_ptr<ProgramBatch>> counted_;  // batches given back
  bool closing_ = false;  // Close was called, or the destructor
  bool order_ = false;  // Close was called: the thread orders the fleet when done
  std::exception_ptr failure_;
  std::thread thread_;  // started with the first hand-over
};

}  // namespace rptconv
