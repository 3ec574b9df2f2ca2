#include "script/builtins/line_order.h"

#include <algorithm>
#include <utility>

#include "script/regex/character_model.h"

namespace vellum {

namespace {

// GBK rows: A3 holds the full-width ASCII forms, A4 hiragana, A5 katakana (the same cells).
constexpr unsigned char kFullWidthRow = 0xA3;
constexpr unsigned char kHiraganaRow = 0xA4;
constexpr unsigned char kKatakanaRow = 0xA5;

void foldMultibyte(std::string& s) {
  for (size_t i = 0; i < s.size();) {
    const size_t length = regex::characterLength(s, i);
    auto lead = static_cast<unsigned char>(s[i]);
    if (length == 1) {
      if (lead >= 'A' && lead <= 'Z') s[i] = static_cast<char>(lead + 0x20);
    } else {
      const auto trail = static_cast<unsigned char>(s[i + 1]);
      if (lead == kKatakanaRow && trail >= 0xA1 && trail <= 0xF3) {
        s[i] = static_cast<char>(kHiraganaRow);
      } else if (lead == kFullWidthRow && trail >= 0xC1 && trail <= 0xDA) {
        s[i + 1] = static_cast<char>(trail + 0x20);
      }
    }
    i += length;
  }
}

unsigned foldUnit(unsigned u) {
  if (u >= 'A' && u <= 'Z') return u + 0x20;
  if (u >= 0xFF21 && u <= 0xFF3A) return u + 0x20;  // Ａ-Ｚ
  if (u >= 0x30A1 && u <= 0x30F6) return u - 0x60;  // ァ-ヶ
  return u;
}

void foldUtf16(std::string& s, bool littleEndian) {
  for (size_t i = 0; i + 1 < s.size(); i += 2) {
    const auto a = static_cast<unsigned char>(s[i]);
    const auto b = static_cast<unsigned char>(s[i + 1]);
    const unsigned unit = foldUnit(littleEndian ? (a | b << 8) : (a << 8 | b));
    s[i] = static_cast<char>(littleEndian ? unit & 0xFF : unit >> 8);
    s[i + 1] = static_cast<char>(littleEndian ? unit >> 8 : unit & 0xFF);
  }
}

}  // namespace

std::string foldedForComparison(std::string_view text, TextEncoding encoding) {
  std::string folded(text);
  if (encoding == TextEncoding::Multibyte) {
    foldMultibyte(folded);
  } else {
    foldUtf16(folded, encoding == TextEncoding::Utf16Le);
  }
  return folded;
}

size_t sortLines(std::vector<std::string>& lines, size_t first, size_t last, int flags, TextEncoding encoding) {
  if (first >= last || last > lines.size()) return std::min(last, lines.size());
  // Each line is paired with the copy it is compared by.
  std::vector<std::pair<std::string, std::string>> keyed;
  keyed.reserve(last - first);
  for (size_t i = first; i < last; ++i) {
    std::string key = (flags & kSortFolded) ? foldedForComparison(lines[i], encoding) : std::string();
    keyed.emplace_back(std::move(key), std::move(lines[i]));
  }
  const bool folded = (flags & kSortFolded) != 0;
  const auto keyOf = [folded](const std::pair<std::string, std::string>& p) -> const std::string& {
    return folded ? p.first : p.second;
  };
  if (flags & kSortDescending) {
    std::sort(keyed.begin(), keyed.end(), [&](const auto& a, const auto& b) { return keyOf(b) < keyOf(a); });
  } else {
    std::sort(keyed.begin(), keyed.end(), [&](const auto& a, const auto& b) { return keyOf(a) < keyOf(b); });
  }
  if (flags & kSortUnique) {
    keyed.erase(std::unique(keyed.begin(), keyed.end(), [&](const auto& a, const auto& b) { return keyOf(a) == keyOf(b); }),
                keyed.end());
  }
  for (size_t i = 0; i < keyed.size(); ++i) lines[first + i] = std::move(keyed[i].second);
  const size_t end = first + keyed.size();
  lines.erase(lines.begin() + static_cast<long>(end), lines.begin() + static_cast<long>(last));
  return end;
}

}  // namespace vellum
