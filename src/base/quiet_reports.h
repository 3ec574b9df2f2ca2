// Silencing the reports of one thread.
#pragma once

namespace vellum {

// While one lives, reports made on the calling thread are dropped: background work (decoding ahead
// of the script) whose failures the main thread meets again, and reports, when it does the work.
class QuietReportsOnThisThread {
 public:
  QuietReportsOnThisThread();
  ~QuietReportsOnThisThread();
  QuietReportsOnThisThread(const QuietReportsOnThisThread&) = delete;
  QuietReportsOnThisThread& operator=(const QuietReportsOnThisThread&) = delete;
};

}  // namespace vellum
