// Decoding pictures ahead of the script on worker threads, one per processor. Each worker reads
// and decodes one file into its own slot; the thread that hands out the names collects the slots
// and stores their pictures in the cache. A worker's failure leaves its slot empty and is not
// reported: the main thread's own load of the file meets it again and reports it then.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "image/image.h"

namespace vellum {

class PrefetchWorkers {
 public:
  // Called on the collecting thread with each finished slot's key, file name and picture (owned
  // by the callee; nullptr when the worker failed).
  using Collector = std::function<void(uint64_t key, const std::string& name, Image* picture)>;

  PrefetchWorkers(unsigned count, Collector collect);
  ~PrefetchWorkers();  // waits for and collects every slot
  PrefetchWorkers(const PrefetchWorkers&) = delete;
  PrefetchWorkers& operator=(const PrefetchWorkers&) = delete;

  // Waits for a free slot (checking the slots in turn, 1 ms apart), collects what it held and
  // starts a worker on the file.
  void fetch(const std::string& name, uint64_t key);

  // Waits for every busy slot and collects it.
  void finish();

  // One worker per processor, at least one.
  static unsigned processorCount();

 private:
  struct Slot {
    std::atomic<bool> busy{false};
    std::thread thread;
    std::string name;
    uint64_t key = 0;
    Image* picture = nullptr;
    uint8_t* buffer = nullptr;  // the file's bytes, kept for the slot's next file
    uint32_t capacity = 0;
  };

  void collect(Slot& slot);
  static void work(Slot& slot);

  std::vector<std::unique_ptr<Slot>> slots_;
  Collector collect_;
};

}  // namespace vellum
