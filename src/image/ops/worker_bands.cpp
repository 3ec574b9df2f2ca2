#include "image/ops/worker_bands.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <thread>
#include <vector>

namespace vellum {

namespace {

std::atomic<int> requestedWorkers{0};

}  // namespace

void setImageWorkerCount(int count) { requestedWorkers.store(std::max(0, count)); }

int imageWorkerCount() {
  const int requested = requestedWorkers.load();
  if (requested > 0) return requested;
  return std::max(1u, std::thread::hardware_concurrency());
}

int minRowsPerBand(int64_t width) { return static_cast<int>(std::max<int64_t>(1, 65536 / std::max<int64_t>(1, width))); }

void forEachRowBand(int rows, int minRowsPerBand, const std::function<void(int, int)>& work) {
  if (rows <= 0) return;
  const int byRows = std::max(1, rows / std::max(1, minRowsPerBand));
  const int bands = std::min(imageWorkerCount(), byRows);
  if (bands <= 1) {
    work(0, rows);
    return;
  }
  auto bandStart = [&](int band) { return static_cast<int>(static_cast<long long>(rows) * band / bands); };
  // A failure inside a worker (memory, typically) is carried back and rethrown here once every
  // band has finished, as if the work had run on the calling thread.
  std::vector<std::exception_ptr> failures(bands);
  auto runBand = [&](int band) {
    try {
      work(bandStart(band), band + 1 < bands ? bandStart(band + 1) : rows);
    } catch (...) {
      failures[band] = std::current_exception();
    }
  };
  std::vector<std::thread> workers;
  int started = 0;
  try {
    workers.reserve(bands - 1);
    for (; started + 1 < bands; ++started) workers.emplace_back(runBand, started);
  } catch (...) {
    // Threads that could not be started leave their bands to the calling thread.
  }
  for (int band = started; band < bands; ++band) runBand(band);
  for (std::thread& worker : workers) worker.join();
  for (const std::exception_ptr& failure : failures) {
    if (failure) std::rethrow_exception(failure);
  }
}

}  // namespace vellum
