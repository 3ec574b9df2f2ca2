#include "text/backlog_save_lines.h"

#include <array>
#include <charconv>
#include <cstring>
#include <vector>

namespace vellum {

namespace {

std::string n(int64_t v) { return std::to_string(v); }

// Hexadecimal of a field's 32-bit value: 16-bit fields sign-extended, codes and bytes zero-extended.
std::string signedHex(int32_t v) { return hexText(static_cast<uint32_t>(v)); }
std::string codeHex(uint16_t v) { return hexText(v); }

template <size_t N>
void copyText(char (&into)[N], const std::string& text) {
  std::memset(into, 0, N);
  std::memcpy(into, text.data(), std::min(text.size(), N - 1));
}

std::string recordText(const ImageLogRecord& r) {
  std::string t = SaveBlock::field(std::string(r.sourceName, strnlen(r.sourceName, sizeof r.sourceName))) + "|" +
                  SaveBlock::field(std::string(r.secondSource, strnlen(r.secondSource, sizeof r.secondSource))) + "|";
  const std::string numbers[] = {
      hexText(r.kindAndBlend), n(r.x), n(r.y), signedHex(r.spriteAndParent), hexText(r.alpha),
      codeHex(static_cast<uint16_t>(r.cellCode)), signedHex(r.maskValues), signedHex(r.colourOperation),
      codeHex(static_cast<uint16_t>(r.sizeCodeX)), codeHex(static_cast<uint16_t>(r.sizeCodeY)), signedHex(r.scaleX),
      signedHex(r.scaleY), n(r.rotation), codeHex(static_cast<uint16_t>(r.spare1)),
      codeHex(static_cast<uint16_t>(r.spare2)), signedHex(r.clipX), signedHex(r.clipY), signedHex(r.clipWidth),
      signedHex(r.clipHeight), hexText(r.loadFlags), signedHex(r.brightnessContrast), signedHex(r.colourEffect),
      signedHex(r.hslEffect), signedHex(r.blur), signedHex(r.mosaic), signedHex(r.maskX), signedHex(r.maskY)};
  for (size_t i = 0; i < std::size(numbers); ++i) t += numbers[i] + (i + 1 < std::size(numbers) ? "|" : "");
  return t;
}

bool readRecord(const SaveBlock& block, std::string_view text, ImageLogRecord& r) {
  constexpr size_t kParts = 29;
  std::array<std::string_view, kParts> parts;
  size_t count = 0, start = 0;
  for (size_t i = 0; i <= text.size(); ++i)
    if (i == text.size() || text[i] == '|') {
      if (count == kParts) return false;
      parts[count++] = text.substr(start, i - start);
      start = i + 1;
    }
  if (count != kParts) return false;
  const std::string source = block.text(parts[0]), second = block.text(parts[1]);
  if (source.empty() || source.size() >= sizeof r.sourceName || second.size() >= sizeof r.secondSource) return false;
  copyText(r.sourceName, source);
  copyText(r.secondSource, second);
  SaveLineReader in(block, parts, 2);
  r.kindAndBlend = static_cast<uint8_t>(in.hex());
  r.x = static_cast<int16_t>(in.integer());
  r.y = static_cast<int16_t>(in.integer());
  r.spriteAndParent = static_cast<int32_t>(in.hex());
  r.alpha = static_cast<uint8_t>(in.hex());
  r.cellCode = static_cast<int16_t>(in.hex());
  r.maskValues = static_cast<int32_t>(in.hex());
  r.colourOperation = static_cast<int32_t>(in.hex());
  r.sizeCodeX = static_cast<int16_t>(in.hex());
  r.sizeCodeY = static_cast<int16_t>(in.hex());
  r.scaleX = static_cast<int16_t>(in.hex());
  r.scaleY = static_cast<int16_t>(in.hex());
  r.rotation = static_cast<int16_t>(in.integer());
  r.spare1 = static_cast<int16_t>(in.hex());
  r.spare2 = static_cast<int16_t>(in.hex());
  r.clipX = static_cast<int16_t>(in.hex());
  r.clipY = static_cast<int16_t>(in.hex());
  r.clipWidth = static_cast<int16_t>(in.hex());
  r.clipHeight = static_cast<int16_t>(in.hex());
  r.loadFlags = static_cast<uint8_t>(in.hex());
  r.brightnessContrast = static_cast<int32_t>(in.hex());
  r.colourEffect = static_cast<int32_t>(in.hex());
  r.hslEffect = static_cast<int32_t>(in.hex());
  r.blur = static_cast<int32_t>(in.hex());
  r.mosaic = static_cast<int32_t>(in.hex());
  r.maskX = static_cast<int16_t>(in.hex());
  r.maskY = static_cast<int16_t>(in.hex());
  return in.ok;
}

// Number after a key prefix ("msgBuffer12" -> 12); -1 when the rest is not a number.
int64_t entryNumber(std::string_view key, std::string_view prefix) {
  if (key.size() <= prefix.size() || !key.starts_with(prefix)) return -1;
  int64_t value = 0;
  const auto result = std::from_chars(key.data() + prefix.size(), key.data() + key.size(), value);
  return result.ec == std::errc() && result.ptr == key.data() + key.size() ? value : -2;
}

enum class ListForm { Decimal, Hex, Key32 };
struct ListLine {
  const char* key;
  ListForm form;
};
constexpr ListLine kLists[] = {
    {"msgScreenX", ListForm::Decimal}, {"msgScreenY", ListForm::Decimal}, {"msgScreenW", ListForm::Hex},
    {"msgScreenH", ListForm::Hex},     {"msgCounts", ListForm::Hex},      {"msgHash", ListForm::Key32},
    {"msgLine", ListForm::Hex},        {"msgSave", ListForm::Hex},        {"saveFlags", ListForm::Hex},
};

uint64_t listValue(const BacklogEntry& e, size_t list) {
  switch (list) {
    case 0: return static_cast<uint64_t>(static_cast<int64_t>(e.screenX));
    case 1: return static_cast<uint64_t>(static_cast<int64_t>(e.screenY));
    case 2: return static_cast<uint32_t>(static_cast<int32_t>(e.screenW));
    case 3: return static_cast<uint32_t>(static_cast<int32_t>(e.screenH));
    case 4: return e.rows;
    case 5: return e.originKey;
    case 6: return e.originLine;
    case 7: return e.pushDepth;
    default: return e.saveFlag;
  }
}

void setListValue(BacklogEntry& e, size_t list, uint64_t v) {
  switch (list) {
    case 0: e.screenX = static_cast<int16_t>(static_cast<int64_t>(v)); break;
    case 1: e.screenY = static_cast<int16_t>(static_cast<int64_t>(v)); break;
    case 2: e.screenW = static_cast<int16_t>(v); break;
    case 3: e.screenH = static_cast<int16_t>(v); break;
    case 4: e.rows = static_cast<uint8_t>(v); break;
    case 5: e.originKey = v; break;
    case 6: e.originLine = static_cast<uint16_t>(v); break;
    case 7: e.pushDepth = static_cast<uint16_t>(v); break;
    default: e.saveFlag = static_cast<uint8_t>(v); break;
  }
}

}  // namespace

void writeBacklogSaveLines(std::string& out) {
  const BacklogState& log = backlog();
  for (int j = 0; j < kBacklogEntries; ++j) {
    const BacklogEntry& e = log.entries[static_cast<size_t>(j)];
    if (j == log.index || e.text[0] == 0) continue;
    out += "msgBuffer" + n(j) + "=" + SaveBlock::field(std::string(e.text, strnlen(e.text, sizeof e.text))) + "," +
           SaveBlock::field(std::string(e.tag, strnlen(e.tag, sizeof e.tag))) + "\n";
    out += "msgImage" + n(j) + "=";
    for (const ImageLogRecord& r : e.imageLog) {
      if (r.sourceName[0] == 0) break;
      out += recordText(r) + ",";
    }
    out += "\n";
  }
  for (size_t list = 0; list < std::size(kLists); ++list) {
    out += kLists[list].key;
    out += "=";
    for (const BacklogEntry& e : log.entries) {
      const uint64_t v = listValue(e, list);
      switch (kLists[list].form) {
        case ListForm::Decimal: out += n(static_cast<int64_t>(v)); break;
        case ListForm::Hex: out += hexText(v); break;
        case ListForm::Key32: out += key32Text(v); break;
      }
      out += ",";
    }
    out += "0\n";
  }
}

bool readBacklogSaveLines(const SaveBlock& block, BacklogState& state) {
  // Two keys can name one entry ("msgImage5", "msgImage05"): the later line's records replace the
  // earlier's whole.
  std::array<bool, kBacklogEntries> imageLogRead{};
  for (const auto& [key, pieces] : block.values) {
    int64_t j = entryNumber(key, "msgBuffer");
    if (j != -1) {
      if (j < 0 || j >= kBacklogEntries || pieces.size() != 2) return reportBrokenSave(key);
      BacklogEntry& e = state.entries[static_cast<size_t>(j)];
      copyText(e.text, block.text(pieces[0]));
      copyText(e.tag, block.text(pieces[1]));
      continue;
    }
    j = entryNumber(key, "msgImage");
    if (j == -1) continue;
    if (j < 0 || j >= kBacklogEntries) return reportBrokenSave(key);
    BacklogEntry& e = state.entries[static_cast<size_t>(j)];
    if (imageLogRead[static_cast<size_t>(j)]) e.imageLog = {};
    imageLogRead[static_cast<size_t>(j)] = true;
    size_t count = 0;
    for (const std::string_view piece : pieces) {
      if (piece.empty()) continue;
      if (count >= e.imageLog.size() || !readRecord(block, piece, e.imageLog[count])) return reportBrokenSave(key);
      ++count;
    }
  }
  for (size_t list = 0; list < std::size(kLists); ++list) {
    const auto* pieces = block.find(kLists[list].key);
    if (!pieces) continue;
    if (pieces->size() < static_cast<size_t>(kBacklogEntries)) return reportBrokenSave(kLists[list].key);
    SaveLineReader in(block, *pieces);
    for (BacklogEntry& e : state.entries) {
      uint64_t v = 0;
      switch (kLists[list].form) {
        case ListForm::Decimal: v = static_cast<uint64_t>(in.integer()); break;
        case ListForm::Hex: v = in.hex64(); break;
        case ListForm::Key32: v = in.key32(); break;
      }
      setListValue(e, list, v);
    }
    if (!in.ok) return reportBrokenSave(kLists[list].key);
  }
  return true;
}

void applyBacklogSaveLines(const BacklogState& state) { backlog().entries = state.entries; }

}  // namespace vellum
