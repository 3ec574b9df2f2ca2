#include "engine/rollback_ring.h"

#include <unordered_map>
#include <unordered_set>

namespace vellum {

namespace {

// Short lines are kept in pieces of a few lines: a piece ends after a line whose hash says so, or
// once it is kPieceBytes long. Boundaries follow the lines' text, not their places: after a line
// added or removed the pieces fall as before from the next such line on. A line of kLongLine bytes
// or more is cut into pieces of its own, kFieldsPerPiece fields each.
constexpr size_t kPieceBytes = 1024;
constexpr size_t kLongLine = 256;
constexpr size_t kFieldsPerPiece = 32;
constexpr size_t kPieceBoundary = 7;

// A piece held on its own: its text, the string around it and the shared count beside it.
size_t pieceBytes(const std::string& piece) { return piece.size() + sizeof(std::string) + 2 * sizeof(void*); }

size_t listBytes(const PageSnapshot& snapshot) {
  return sizeof(PageSnapshot) + snapshot.pieces.size() * sizeof(snapshot.pieces.front());
}

}  // namespace

void RollbackRing::setCapacity(size_t capacity) {
  capacity_ = capacity;
  while (snapshots_.size() > capacity_) snapshots_.pop_front();
}

SnapshotCost RollbackRing::push(std::string_view block, PageContext context) {
  SnapshotCost cost;
  if (capacity_ == 0) return cost;
  // The previous snapshot's pieces by their text: most of a page is the page before's.
  std::unordered_map<std::string_view, const std::shared_ptr<const std::string>*> previous;
  cost.followsAnother = !snapshots_.empty();
  if (cost.followsAnother) {
    const PageSnapshot& last = snapshots_.back();
    previous.reserve(last.pieces.size());
    for (const auto& piece : last.pieces) previous.emplace(*piece, &piece);
  }
  PageSnapshot snapshot;
  snapshot.context = std::move(context);
  const auto keep = [&](std::string_view piece) {
    if (const auto found = previous.find(piece); found != previous.end()) {
      snapshot.pieces.push_back(*found->second);
    } else {
      snapshot.pieces.push_back(std::make_shared<const std::string>(piece));
      cost.storedBytes += pieceBytes(*snapshot.pieces.back());
    }
  };
  size_t pieceStart = 0;
  for (size_t start = 0; start < block.size();) {
    const size_t feed = block.find('\n', start);
    const size_t end = feed == std::string_view::npos ? block.size() : feed + 1;
    const std::string_view line = block.substr(start, end - start);
    start = end;
    if (line.size() >= kLongLine) {
      // A long line (a list with a value for every backlog page, a page's pictures) is cut every few
      // fields: a new page changes one value of each list.
      if (pieceStart < end - line.size()) keep(block.substr(pieceStart, end - line.size() - pieceStart));
      size_t from = 0, fields = 0;
      for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == ',' && ++fields % kFieldsPerPiece == 0) {
          keep(line.substr(from, i + 1 - from));
          from = i + 1;
        }
      }
      if (from < line.size()) keep(line.substr(from));
      pieceStart = end;
    } else if (end - pieceStart >= kPieceBytes || (std::hash<std::string_view>{}(line) & kPieceBoundary) == 0) {
      keep(block.substr(pieceStart, end - pieceStart));
      pieceStart = end;
    }
  }
  if (pieceStart < block.size()) keep(block.substr(pieceStart));
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
  for (const auto& piece : snapshot.pieces) size += piece->size();
  std::string text;
  text.reserve(size);
  for (const auto& piece : snapshot.pieces) text += *piece;
  return text;
}

size_t RollbackRing::heldBytes() const {
  std::unordered_set<const std::string*> counted;
  size_t bytes = 0;
  for (const PageSnapshot& snapshot : snapshots_) {
    bytes += listBytes(snapshot);
    for (const auto& piece : snapshot.pieces)
      if (counted.insert(piece.get()).second) bytes += pieceBytes(*piece);
  }
  return bytes;
}

}  // namespace vellum
