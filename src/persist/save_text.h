// The text of a save: blocks of key "=" value lines, the push stack that joins blocks, the escape
// that lets free text (backlog lines, names, comments, strings) hold any byte, and a reader that
// takes a line's pieces apart with checks, so a damaged block is found before anything is changed.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "persist/key_value_text.h"

namespace vellum {

// The one change we made to the line format: a block that begins with this line has its free-text
// fields escaped. Every '%', ',', quote, '|', '`', CR, LF, NUL and tab byte, a blank at either end of
// the field, and a lead byte with no trail byte after it become "%" + two hex digits. The escape is
// byte-wise (a trail byte 0x60 or 0x7C of a double-byte character is escaped like any other), so
// it is exact in every double-byte code page; blocks without the marker line are read raw as before.
constexpr std::string_view kEscapedMarkerLine = "Escaped=1\n";

std::string escapeSaveText(std::string_view text);
std::string unescapeSaveText(std::string_view text);

// The separator between stacked blocks: a backquote at the start of a line, then a line feed.
constexpr std::string_view kBlockSeparator = "`\n";

// Splits a stack text into its blocks at every backquote that begins a line. The scan steps over
// double-byte characters whole (0x60 is a legal trail byte in GBK and Shift-JIS). The line feed
// after each separator belongs to the separator. An empty text has no blocks. The blocks are views
// into the text.
std::vector<std::string_view> splitSaveStack(std::string_view text);
// The inverse: blocks[first..last] joined with the separator, each block ending in a line feed.
std::string joinSaveStack(std::span<const std::string_view> blocks, size_t first, size_t last);

// The pieces of one line, views into the block's own copy of its text.
using SavePieces = std::span<const std::string_view>;

// A parsed block: its keys and whether its free text is escaped. The block keeps its text and one
// list of every line's pieces, which its keys and pieces point into, so it is neither copied nor
// moved.
class SaveBlock {
 public:
  explicit SaveBlock(std::string_view text);
  SaveBlock(const SaveBlock&) = delete;
  SaveBlock& operator=(const SaveBlock&) = delete;

  const SavePieces* find(std::string_view key) const;
  // Free text as stored: unescaped in an escaped block, raw otherwise.
  std::string text(std::string_view field) const { return escaped ? unescapeSaveText(field) : std::string(field); }
  // The form a free-text field is written in.
  static std::string field(std::string_view text) { return escapeSaveText(text); }

 private:
  std::unordered_map<std::string_view, SavePieces> parseLines();
  const std::string text_;
  std::vector<std::string_view> pieces_;

 public:
  // Keyed as the key/value parser keys them (a later line with the same key replaces the earlier).
  const std::unordered_map<std::string_view, SavePieces> values;
  const bool escaped;
};
inline SaveBlock parseSaveBlock(std::string_view text) { return SaveBlock(text); }

// Reads the pieces of one line in order. A missing or malformed piece sets `ok` false and reads as
// 0 / empty, so a caller reads every field and checks once.
class SaveLineReader {
 public:
  SaveLineReader(const SaveBlock& block, std::span<const std::string_view> pieces, size_t first = 0)
      : block_(block), pieces_(pieces), next_(first) {}

  int64_t integer();                  // signed decimal
  int32_t int32() { return static_cast<int32_t>(clamp(integer(), INT32_MIN, INT32_MAX)); }
  uint32_t hex();                     // up to 8 hexadecimal digits
  uint64_t hex64();
  uint32_t elapsed();                 // unsigned decimal milliseconds
  float real();
  uint64_t key32();                   // a file key in base 32
  std::string text();                 // free text
  std::string_view raw();             // a piece as it stands
  bool atEnd() const { return next_ >= pieces_.size(); }
  size_t remaining() const { return atEnd() ? 0 : pieces_.size() - next_; }
  bool ok = true;

 private:
  static int64_t clamp(int64_t v, int64_t lo, int64_t hi) { return v < lo ? lo : (v > hi ? hi : v); }
  const std::string_view* piece();
  const SaveBlock& block_;
  const std::span<const std::string_view> pieces_;
  size_t next_ = 0;
};

// The reports of a save that cannot be restored, through the script error report: the key of the
// damaged line (or the slot's path) before " のセーブデータが壊れています", and a picture or sound
// file a save names that no longer exists. Both return false for the callers' convenience.
bool reportBrokenSave(std::string_view where);
bool reportMissingSaveFile(std::string_view name);

// Formatting helpers for the writers.
std::string hexText(uint64_t value);       // uppercase, no leading zeros
std::string realText(double value);        // "%g"
std::string key32Text(uint64_t value);     // base 32

}  // namespace vellum
