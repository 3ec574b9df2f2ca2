#include "report/probe_files.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace vellum {

namespace {

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
    s.remove_suffix(1);
  return s;
}

// Calls f(line) for each line of the text, without its break; stops when f returns false.
template <typename F>
void eachLine(std::string_view text, F f) {
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    if (!f(line)) return;
    if (end == std::string_view::npos) return;
    text.remove_prefix(end + 1);
  }
}

uint32_t littleWord(std::string_view r, size_t at) {
  return static_cast<uint8_t>(r[at]) | static_cast<uint32_t>(static_cast<uint8_t>(r[at + 1])) << 8;
}
uint32_t littleLong(std::string_view r, size_t at) { return littleWord(r, at) | littleWord(r, at + 2) << 16; }

uint32_t hexValue(std::string_view text, bool& ok) {
  text = trimmed(text);
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.remove_prefix(2);
  uint32_t v = 0;
  ok = !text.empty() && text.size() <= 8;
  for (char c : text) {
    int d = c >= '0' && c <= '9'   ? c - '0'
            : c >= 'a' && c <= 'f' ? c - 'a' + 10
            : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                   : -1;
    if (d < 0) {
      ok = false;
      return 0;
    }
    v = v * 16 + static_cast<uint32_t>(d);
  }
  return v;
}

// A pci.ids entry line: tabs, four hexadecimal digits, two blanks, the name.
bool idLine(std::string_view line, size_t tabs, uint32_t id, std::string& name) {
  if (line.size() < tabs + 6) return false;
  for (size_t i = 0; i < tabs; ++i) {
    if (line[i] != '\t') return false;
  }
  if (line[tabs] == '\t') return false;
  bool ok = false;
  if (hexValue(line.substr(tabs, 4), ok) != id || !ok) return false;
  name = std::string(trimmed(line.substr(tabs + 4)));
  return true;
}

}  // namespace

std::string readSmallFile(const std::filesystem::path& path, size_t limit) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::string data(limit, '\0');
  in.read(data.data(), static_cast<std::streamsize>(limit));
  data.resize(static_cast<size_t>(in.gcount()));
  return data;
}

std::string firstLine(const std::filesystem::path& path) {
  const std::string text = readSmallFile(path, 4096);
  return std::string(trimmed(std::string_view(text).substr(0, text.find('\n'))));
}

std::string keyValue(std::string_view text, std::string_view key, char separator) {
  std::string value;
  eachLine(text, [&](std::string_view line) {
    if (line.substr(0, key.size()) != key) return true;
    std::string_view rest = line.substr(key.size());
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
    if (rest.empty() || rest.front() != separator) return true;
    value = std::string(trimmed(rest.substr(1)));
    return false;
  });
  return value;
}

std::string unquoted(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

int64_t leadingNumber(std::string_view text) {
  text = trimmed(text);
  int64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    if (v > (INT64_MAX - 9) / 10) break;
    v = v * 10 + (c - '0');
  }
  return v;
}

bool memoryModuleFromRecord(std::string_view r, MemoryModule& m) {
  m = {};
  if (r.size() < 0x0E || static_cast<uint8_t>(r[0]) != 17) return false;
  const size_t length = std::min<size_t>(static_cast<uint8_t>(r[1]), r.size());
  if (length < 0x0E) return false;
  const uint32_t size = littleWord(r, 0x0C);
  if (size == 0) return false;  // an empty slot
  if (size == 0xFFFF) {
    m.capacityBytes = 0;  // installed, size unknown
  } else if (size == 0x7FFF && length >= 0x20) {
    m.capacityBytes = static_cast<uint64_t>(littleLong(r, 0x1C) & 0x7FFFFFFFu) << 20;
  } else if (size & 0x8000u) {
    m.capacityBytes = static_cast<uint64_t>(size & 0x7FFFu) << 10;
  } else {
    m.capacityBytes = static_cast<uint64_t>(size) << 20;
  }
  if (length >= 0x17) {
    uint32_t speed = littleWord(r, 0x15);
    if (speed == 0xFFFF) speed = length >= 0x58 ? littleLong(r, 0x54) : 0;
    if (speed != 0) m.speed = std::to_string(speed);
  }
  return true;
}

std::vector<SoundDevice> soundCardsFromList(std::string_view text) {
  std::vector<SoundDevice> cards;
  eachLine(text, [&](std::string_view line) {
    const std::string_view t = trimmed(line);
    const size_t close = t.find("]: ");
    if (t.empty() || t.front() < '0' || t.front() > '9' || close == std::string_view::npos) return true;
    const std::string_view rest = t.substr(close + 3);
    const size_t dash = rest.find(" - ");
    SoundDevice d;
    d.manufacturer = std::string(trimmed(rest.substr(0, dash)));
    if (dash != std::string_view::npos) d.description = std::string(trimmed(rest.substr(dash + 3)));
    cards.push_back(std::move(d));
    return true;
  });
  return cards;
}

std::string pciNameFromIds(std::string_view ids, uint32_t vendor, uint32_t device) {
  std::string vendorName, deviceName;
  bool inVendor = false;
  eachLine(ids, [&](std::string_view line) {
    if (line.empty() || line.front() == '#') return true;
    if (line.front() != '\t') {
      if (inVendor) return false;  // past the vendor's devices
      inVendor = idLine(line, 0, vendor, vendorName);
      return true;
    }
    if (inVendor && idLine(line, 1, device, deviceName)) return false;
    return true;
  });
  if (deviceName.empty()) return {};
  return vendorName.empty() ? deviceName : vendorName + " " + deviceName;
}

std::string pciDeviceName(const std::string& vendorText, const std::string& deviceText) {
  bool vendorOk = false, deviceOk = false;
  const uint32_t vendor = hexValue(vendorText, vendorOk);
  const uint32_t device = hexValue(deviceText, deviceOk);
  if (!vendorOk || !deviceOk) return {};
  for (const char* list : {"/usr/share/misc/pci.ids", "/usr/share/hwdata/pci.ids"}) {
    const std::string ids = readSmallFile(list, 16 << 20);
    if (ids.empty()) continue;
    std::string name = pciNameFromIds(ids, vendor, device);
    if (!name.empty()) return name;
  }
  char text[32];
  std::snprintf(text, sizeof text, "PCI %04x:%04x", vendor, device);
  return text;
}

}  // namespace vellum
