#include "persist/save_text.h"

#include <vellum/exports.h>

#include <charconv>
#include <cstdio>

#include "base/floating_text.h"
#include "base/report.h"
#include "persist/save_messages.h"

namespace vellum {

namespace {

bool isLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFC; }

bool alwaysEscaped(unsigned char b) {
  switch (b) {
    case '%': case ',': case '\'': case '"': case '|': case '`': case '\r': case '\n': case '\0': case '\t':
      return true;
    default:
      return false;
  }
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

void appendEscaped(std::string& out, unsigned char b) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out += '%';
  out += kHex[b >> 4];
  out += kHex[b & 15];
}

}  // namespace

std::string escapeSaveText(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    const bool atEdge = i == 0 || i + 1 == text.size();
    if (isLeadByte(b) && i + 1 < text.size()) {
      // A double-byte character: the lead byte stays, the trail byte is escaped when special.
      out += static_cast<char>(b);
      const auto trail = static_cast<unsigned char>(text[++i]);
      if (alwaysEscaped(trail) || (trail == ' ' && i + 1 == text.size())) {
        appendEscaped(out, trail);
      } else {
        out += static_cast<char>(trail);
      }
    } else if (alwaysEscaped(b) || isLeadByte(b) || (b == ' ' && atEdge)) {
      appendEscaped(out, b);
    } else {
      out += static_cast<char>(b);
    }
  }
  return out;
}

std::string unescapeSaveText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() + 0 && hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::vector<std::string> splitSaveStack(std::string_view text) {
  std::vector<std::string> blocks;
  if (text.empty()) return blocks;
  size_t blockStart = 0;
  bool lineStart = true;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (isLeadByte(b)) {
      ++i;
      lineStart = false;
    } else if (b == '`' && lineStart) {
      blocks.emplace_back(text.substr(blockStart, i - blockStart));
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      blockStart = i + 1;
      lineStart = true;
    } else {
      lineStart = b == '\n';
    }
  }
  blocks.emplace_back(text.substr(std::min(blockStart, text.size())));
  return blocks;
}

std::string joinSaveStack(const std::vector<std::string>& blocks, size_t first, size_t last) {
  std::string out;
  for (size_t i = first; i <= last && i < blocks.size(); ++i) {
    if (i != first) out += kBlockSeparator;
    out += blocks[i];
    if (out.empty() || out.back() != '\n') out += '\n';
  }
  return out;
}

const std::vector<std::string>* SaveBlock::find(const std::string& key) const {
  const auto it = values.find(key);
  return it == values.end() ? nullptr : &it->second;
}

SaveBlock parseSaveBlock(std::string_view text) {
  SaveBlock block;
  block.values = parseKeyValues(text);
  // The marker line is the block's first line (after the separator's line feed).
  std::string_view head = text;
  while (!head.empty() && (head.front() == '\n' || head.front() == '\r')) head.remove_prefix(1);
  block.escaped = head.substr(0, kEscapedMarkerLine.size()) == kEscapedMarkerLine;
  return block;
}

const std::string* SaveLineReader::piece() {
  if (next_ >= pieces_.size()) {
    ok = false;
    return nullptr;
  }
  return &pieces_[next_++];
}

int64_t SaveLineReader::integer() {
  const std::string* p = piece();
  if (!p) return 0;
  int64_t value = 0;
  const auto [end, error] = std::from_chars(p->data(), p->data() + p->size(), value, 10);
  if (error != std::errc() || end != p->data() + p->size() || p->empty()) ok = false;
  return error == std::errc() ? value : 0;
}

uint64_t SaveLineReader::hex64() {
  const std::string* p = piece();
  if (!p) return 0;
  uint64_t value = 0;
  const auto [end, error] = std::from_chars(p->data(), p->data() + p->size(), value, 16);
  if (error != std::errc() || end != p->data() + p->size() || p->empty()) ok = false;
  return error == std::errc() ? value : 0;
}

uint32_t SaveLineReader::hex() {
  const uint64_t value = hex64();
  if (value > UINT32_MAX) ok = false;
  return static_cast<uint32_t>(value);
}

uint32_t SaveLineReader::elapsed() {
  const int64_t value = integer();
  if (value < 0 || value > UINT32_MAX) ok = false;
  return value < 0 || value > UINT32_MAX ? 0 : static_cast<uint32_t>(value);
}

float SaveLineReader::real() {
  const std::string* p = piece();
  if (!p) return 0;
  double value = 0;
  const auto [end, error] = parseFloating(p->data(), p->data() + p->size(), value);
  if (error != std::errc() || end != p->data() + p->size() || p->empty() || value != value) ok = false;
  return error == std::errc() ? static_cast<float>(value) : 0.0f;
}

uint64_t SaveLineReader::key32() {
  const std::string* p = piece();
  if (!p) return 0;
  if (p->empty() || p->size() > 13) ok = false;
  for (char c : *p)
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'V'))) ok = false;
  return stoull32(*p);
}

std::string SaveLineReader::text() {
  const std::string* p = piece();
  return p ? block_.text(*p) : std::string();
}

std::string SaveLineReader::raw() {
  const std::string* p = piece();
  return p ? *p : std::string();
}

bool reportBrokenSave(std::string_view where) {
  errorc(ReportText().gbk(where).sjis(save_messages::kBrokenSave), true);
  return false;
}

bool reportMissingSaveFile(std::string_view name) {
  errorc(ReportText().gbk(name).sjis(save_messages::kMissingResource), true);
  return false;
}

std::string hexText(uint64_t value) {
  char buffer[20];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, 16);
  std::string out(buffer, result.ptr);
  for (char& c : out)
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

std::string realText(double value) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%g", value);
  return buffer;
}

std::string key32Text(uint64_t value) { return ulltos32(value); }

}  // namespace vellum
