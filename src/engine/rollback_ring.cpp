#include "engine/rollback_ring.h"

#include <unordered_map>
#include <unordered_set>

namespace vellum {

namespace {

// A line held on its own: its text, the string around it and the shared count beside it.
size_t lineBytes(const std::string& line) { return line.size() + sizeof(std::string) + 2 * sizeof(void*); }

size_t listBytes(const PageSnapshot& snapshot) {
  return sizeof(PageSnapshot) + snapshot.lines.size() * sizeof(snapshot.lines.front());
}

}  // namespace

void RollbackRing::setCapacity(size_t capacity) {
  capacity_ = capacity;
  while (snapshots_.size() > capacity_) snapshots_.pop_front();
}

SnapshotCost RollbackRing::push(std::string_view block, PageContext context) {
  SnapshotCost cost;
  if (capacity_ == 0) return cost;
  // The previous snapshot's lines by their text: most of a page's lines are the page before's.
  std::unordered_map<std::string_view, const std::shared_ptr<const std::string>*> previous;
  if (!snapshots_.empty()) {
    const PageSnapshot& last = snapshots_.back();
    previous.reserve(last.lines.size());
    for (const auto& line : last.lines) previous.emplace(*line, &line);
  }
  PageSnapshot snapshot;
  snapshot.context = std::move(context);
  for (size_t start = 0; start < block.size();) {
    const size_t feed = block.find('\n', start);
    const size_t end = feed == std::string_view::npos ? block.size() : feed + 1;
    const std::string_view line = block.substr(start, end - start);
    start = end;
    if (const auto found = previous.find(line); found != previous.end()) {
      snapshot.lines.push_back(*found->second);
    } else {
      snapshot.lines.push_back(std::make_shared<const std::string>(line));
      cost.storedBytes += lineBytes(*snapshot.lines.back());
    }
  }
  cost.blockBytes = block.size();
  cost.storedBytes += listBytes(snapshot);
  snapshots_.push_back(std::move(snapshot));
  while (snapshots_.size() > capacity_) snapshots_.pop_front();
  return cost;
}

void RollbackRing::dropNewest(size_t n) {
  for (; n > 0 && !snapshots_.empty(); --n) snapshots_.pop_back();
}

std::string RollbackRing::blockText(const PageSnapshot& snapshot) {
  size_t size = 0;
  for (const auto& line : snapshot.lines) size += line->size();
  std::string text;
  text.reserve(size);
  for (const auto& line : snapshot.lines) text += *line;
  return text;
}

size_t RollbackRing::heldBytes() const {
  std::unordered_set<const std::string*> counted;
  size_t bytes = 0;
  for (const PageSnapshot& snapshot : snapshots_) {
    bytes += listBytes(snapshot);
    for (const auto& line : snapshot.lines)
      if (counted.insert(line.get()).second) bytes += lineBytes(*line);
  }
  return bytes;
}

}  // namespace vellum
