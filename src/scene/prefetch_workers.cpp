#include "scene/prefetch_workers.h"

#include <chrono>
#include <system_error>
#include <utility>

#include "base/quiet_reports.h"
#include "image/image_io.h"
#include "storage/aligned_memory.h"
#include "storage/file_loader.h"

namespace vellum {

PrefetchWorkers::PrefetchWorkers(unsigned count, Collector collect) : collect_(std::move(collect)) {
  for (unsigned i = 0; i < (count ? count : 1); ++i) slots_.push_back(std::make_unique<Slot>());
}

PrefetchWorkers::~PrefetchWorkers() {
  finish();
  for (auto& slot : slots_) freeAligned(slot->buffer);
}

unsigned PrefetchWorkers::processorCount() {
  const unsigned n = std::thread::hardware_concurrency();
  return n ? n : 1;
}

void PrefetchWorkers::work(Slot& slot) {
  QuietReportsOnThisThread quiet;
  uint32_t size = 0;
  Image* picture = nullptr;
  if (loadFile(slot.name, slot.buffer, size, slot.capacity)) picture = loadImage(slot.buffer, size);
  slot.picture = picture;
  slot.busy.store(false, std::memory_order_release);
}

void PrefetchWorkers::collect(Slot& slot) {
  if (!slot.thread.joinable()) return;
  slot.thread.join();
  Image* picture = slot.picture;
  slot.picture = nullptr;
  if (collect_) {
    collect_(slot.key, slot.name, picture);
  } else {
    freeImage(picture);
  }
}

void PrefetchWorkers::fetch(const std::string& name, uint64_t key) {
  for (;;) {
    for (auto& slot : slots_) {
      if (slot->busy.load(std::memory_order_acquire)) continue;
      collect(*slot);
      slot->name = name;
      slot->key = key;
      slot->busy.store(true, std::memory_order_relaxed);
      try {
        slot->thread = std::thread(&PrefetchWorkers::work, std::ref(*slot));
      } catch (const std::system_error&) {
        // No thread to be had: decode it here instead.
        work(*slot);
        if (collect_) collect_(key, name, std::exchange(slot->picture, nullptr));
      }
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

void PrefetchWorkers::finish() {
  for (auto& slot : slots_) collect(*slot);
}

}  // namespace vellum
