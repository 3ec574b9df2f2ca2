#include "persist/settings_text.h"

#include <vellum/exports.h>

#include <numeric>
#include <variant>

#include "persist/engine_settings.h"
#include "persist/settings_table.h"
#include "persist/subsystem_hooks.h"
#include "script/assignment.h"
#include "script/variables.h"

namespace vellum {

namespace {

bool isScriptSettingName(const std::string& name) { return name.size() >= 2 && name[0] == 's' && name[1] == '_'; }

std::string formatValue(const SettingKey& key) {
  switch (key.format) {
    case SettingFormat::PlayTime: return itos16(currentTotalTime());
    case SettingFormat::Decimal:
    case SettingFormat::OrBits: return itos10(static_cast<int32_t>(slotValue(key.stored)));
    case SettingFormat::Megabytes: return lltos10(slotValue(key.stored) >> 20);
    case SettingFormat::Colour: return "0x" + itos16(static_cast<uint32_t>(slotValue(key.stored)));
    case SettingFormat::Text: return *std::get<std::string*>(key.stored);
    case SettingFormat::Path: return withForwardSlashes(*std::get<std::string*>(key.stored));
  }
  return {};
}

void applyPiece(const SettingKey& key, const std::string& piece) {
  switch (key.format) {
    case SettingFormat::PlayTime: setSlotValue(key.stored, stoi16(piece)); break;
    case SettingFormat::Decimal: setSlotValue(key.stored, stoi10(piece)); break;
    case SettingFormat::OrBits: setSlotValue(key.stored, slotValue(key.stored) | stoi10(piece)); break;
    case SettingFormat::Megabytes: setSlotValue(key.stored, static_cast<int64_t>(stoi10(piece)) * (1 << 20)); break;
    // The value is written with a "0x" in front; the first two characters are dropped unread.
    case SettingFormat::Colour: setSlotValue(key.stored, stoi16(piece.size() > 2 ? piece.substr(2) : std::string())); break;
    case SettingFormat::Text:
    case SettingFormat::Path: *std::get<std::string*>(key.stored) = piece; break;
  }
}

void applyPacing(EngineSettings& s) {
  if (s.limitFps == 0) return;
  const int32_t g = std::gcd(1000, s.limitFps);
  s.pacingMilliseconds = 1000 / g;
  s.pacingFrames = s.limitFps / g;
}

const std::vector<std::string>* piecesOf(const KeyValues& values, std::string_view key) {
  const auto found = values.find(std::string(key));
  return found == values.end() ? nullptr : &found->second;
}

void applyStoredState(const KeyValues& values) {
  EngineSettings& s = settings();
  if (const auto* flags = piecesOf(values, "saveProtect")) {
    // Fewer than 100 pieces leave the rest as they are.
    for (size_t i = 0; i < flags->size() && i < s.saveProtect.size(); ++i)
      s.saveProtect[i] = static_cast<int8_t>(stoi10((*flags)[i]) & 0xFF);
  }
  if (const auto* ints = piecesOf(values, "Integer"))
    for (const std::string& piece : *ints)
      if (!piece.empty()) declareIntegers(piece);
  if (const auto* strings = piecesOf(values, "String"))
    for (const std::string& piece : *strings)
      if (!piece.empty()) declareStrings(piece);
}

}  // namespace

std::string withForwardSlashes(std::string_view path) {
  std::string out(path);
  for (size_t i = 0; i < out.size(); ++i) {
    const auto c = static_cast<unsigned char>(out[i]);
    if (c >= 0x81 && c <= 0xFC) {
      ++i;
    } else if (c == '\\') {
      out[i] = '/';
    }
  }
  return out;
}

std::string composeSettingsText() {
  const EngineSettings& s = settings();
  std::string text;
  bool pathsStarted = false;
  for (const SettingKey& key : settingsTable()) {
    if (key.format == SettingFormat::PlayTime) {
      text += std::string(key.name) + " = " + formatValue(key);
    } else if (key.format == SettingFormat::Path) {
      if (!pathsStarted) text += "\r\n";  // ends the last key line
      pathsStarted = true;
      text += std::string(key.name) + " = " + formatValue(key) + "\r\n";
    } else {
      text += "\r\n" + std::string(key.name) + " = " + formatValue(key);
    }
  }
  text += "saveProtect=";
  for (int8_t flag : s.saveProtect) text += itos10(flag) + ",";
  text += "\r\nInteger=";
  for (const auto& [name, value] : variables().namedInts)
    if (isScriptSettingName(name)) text += name + "=" + itos10(value) + ",";
  text += "\r\nString=";
  for (const auto& [name, value] : variables().namedStrings)
    if (isScriptSettingName(name)) text += name + "='" + value + "',";
  text += "\r\n";
  return text;
}

void applySettings(const KeyValues& values, bool ownFile) {
  EngineSettings& s = settings();
  for (const SettingKey& key : settingsTable()) {
    const auto* pieces = piecesOf(values, key.name);
    if (pieces && !pieces->empty()) applyPiece(key, pieces->front());
    // The live copy follows the stored value whether or not the file had the key.
    if (!std::holds_alternative<std::monostate>(key.live)) setSlotValue(key.live, slotValue(key.stored));
  }
  s.currentFontName = s.fontFile;
  applyPacing(s);
  loadSettingsCursor();
  if (ownFile) applyStoredState(values);
}

}  // namespace vellum
