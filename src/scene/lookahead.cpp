#include "scene/lookahead.h"

#include <atomic>
#include <algorithm>
#include <chrono>
#include <iterator>
#include <system_error>
#include <thread>
#include <unordered_map>
#include <unordered_set>

#include "persist/engine_settings.h"
#include "scene/picture_cache.h"
#include "scene/prefetch_workers.h"
#include "script/script_state.h"
#include "storage/hashes.h"

namespace vellum {

namespace {

struct Registrations {
  std::unordered_map<uint32_t, std::string> commandPatterns;
  std::unordered_map<uint32_t, std::string> tagPatterns;
  std::unordered_map<uint32_t, std::string> stopNames;
  std::vector<uint32_t> stopOrder;  // stop names in the order registered
};

Registrations& registrations() {
  static Registrations r;
  return r;
}

VoicePrefetch voicePrefetch = nullptr;

struct BackgroundPass {
  std::thread thread;
  std::atomic<int> state{0};  // 2 while it runs, -1 when it has ended
};

BackgroundPass& background() {
  static BackgroundPass b;
  return b;
}

bool isLead(uint8_t c) { return c >= 0x81 && c <= 0xFC; }
bool isAsciiLetter(uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

constexpr std::string_view kTagOpen = "\xA1\xBE";   // 【
constexpr std::string_view kTagClose = "\xA1\xBF";  // 】

// The comma-separated fields of a name tag line, from after "【" up to "】" (or the line's end).
// A lead byte's partner is never taken for a comma or a bracket.
std::vector<std::string_view> nameTagFields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = kTagOpen.size(), i = start;
  while (i < line.size()) {
    if (line.compare(i, kTagClose.size(), kTagClose) == 0) break;
    if (line[i] == ',') {
      fields.push_back(line.substr(start, i - start));
      start = ++i;
      continue;
    }
    i += isLead(static_cast<uint8_t>(line[i])) && i + 1 < line.size() ? 2 : 1;
  }
  fields.push_back(line.substr(start, std::min(i, line.size()) - start));
  return fields;
}

// The first `count` characters of a field (a two-byte character counts as one).
std::string_view leadingCharacters(std::string_view text, size_t from, size_t count) {
  size_t begin = 0, i = 0, n = 0;
  while (i < text.size() && n < from) {
    i += isLead(static_cast<uint8_t>(text[i])) && i + 1 < text.size() ? 2 : 1;
    ++n;
  }
  begin = i;
  n = 0;
  while (i < text.size() && n < count) {
    i += isLead(static_cast<uint8_t>(text[i])) && i + 1 < text.size() ? 2 : 1;
    ++n;
  }
  return text.substr(begin, i - begin);
}

int leadingNumber(std::string_view digits) {
  int n = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') break;
    n = n * 10 + (c - '0');
  }
  return n;
}

bool isNameTagLine(const ScriptLine& line) {
  return line.tokens.size() == 1 && line.tokens[0].compare(0, kTagOpen.size(), kTagOpen) == 0;
}

bool isCommandLine(const ScriptLine& line) {
  return line.tokens.size() >= 2 && !line.tokens[0].empty() && isAsciiLetter(static_cast<uint8_t>(line.tokens[0][0]));
}

bool isLabelOrEmpty(const ScriptLine& line) {
  return line.tokens.empty() || line.tokens[0].empty() || line.tokens[0][0] == '*';
}

// The set of predicted names: first prediction first, each name once.
struct Predictions {
  std::vector<std::string> names;
  std::unordered_set<uint32_t> seen;
  void add(const std::string& name) {
    if (!name.empty() && seen.insert(crc32Of(name)).second) names.push_back(name);
  }
};

// A speaker line with a remembered picture: a voice whose number (mod 300) is below 100 shows the
// speaker's small picture, named like the remembered one with 'S' for its size letters.
void addSpeakerPicture(const ScriptLine& line, const std::string& remembered, Predictions& out) {
  if (remembered.size() < 7) return;
  const std::vector<std::string_view> fields = nameTagFields(line.tokens[0]);
  if (fields.size() < 2) return;
  if (leadingNumber(leadingCharacters(fields[1], 0, 3)) % 300 >= 100) return;
  const size_t sizeLetter = remembered.size() - 5;
  if (remembered[sizeLetter] != 'M' && remembered[sizeLetter] != 'L') return;
  std::string small = remembered;
  small[sizeLetter] = 'S';
  small[6] = 'S';
  out.add(small);
}

void collectIntoCache(uint64_t key, const std::string& name, Image* picture, std::vector<std::string>* basePictures) {
  if (!picture) return;
  // A picture built on a base picture (its name field, not a mode-4 layer) wants that one too.
  if (basePictures && picture->name[0] != '\0' && picture->mode != 4) {
    const size_t slash = name.find_last_of("/\\");
    basePictures->push_back((slash == std::string::npos ? std::string() : name.substr(0, slash + 1)) + picture->name);
  }
  storeCachedPicture(key, picture);
}

void prefetch(const std::vector<std::string>& names, unsigned workers, std::vector<std::string>* basePictures) {
  PrefetchWorkers pool(workers ? workers : PrefetchWorkers::processorCount(),
                       [basePictures](uint64_t key, const std::string& name, Image* picture) {
                         collectIntoCache(key, name, picture, basePictures);
                       });
  for (const std::string& name : names) {
    const uint64_t key = pictureKey(name);
    if (touchCachedPicture(key)) continue;
    pool.fetch(name, key);
  }
  pool.finish();
}

}  // namespace

void registerLookaheadPattern(std::string_view key, std::string_view format, int32_t kind) {
  Registrations& r = registrations();
  (kind == 0 ? r.commandPatterns : r.tagPatterns)[crc32Of(key)] = std::string(format);
}

void registerLookaheadStop(std::string_view name) {
  Registrations& r = registrations();
  const uint32_t key = crc32Of(name);
  if (r.stopNames.emplace(key, std::string(name)).second) r.stopOrder.push_back(key);
}

std::string expandLookaheadFormat(std::string_view format, std::string_view argumentText) {
  std::string_view argument = argumentText;
  while (!argument.empty() && (argument.front() == ' ' || argument.front() == '\t')) argument.remove_prefix(1);
  if (!argument.empty() && argument.front() == '"') {
    argument.remove_prefix(1);
    argument = argument.substr(0, argument.find('"'));
  } else {
    argument = argument.substr(0, argument.find(','));
    while (!argument.empty() && (argument.back() == ' ' || argument.back() == '\t')) argument.remove_suffix(1);
  }
  std::string out;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 's') {
      out.append(argument);
      ++i;
    } else if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == '%') {
      out.push_back('%');
      ++i;
    } else {
      out.push_back(format[i]);
    }
  }
  return out;
}

std::vector<std::string> predictPictures(const ScriptFile& lines, int currentLine) {
  const Registrations& r = registrations();
  Predictions out;
  std::string remembered;
  for (size_t i = static_cast<size_t>(std::max(currentLine + 1, 0)); i < lines.size(); ++i) {
    const ScriptLine& line = lines[i];
    if (isLabelOrEmpty(line)) continue;
    if (isNameTagLine(line)) {
      addSpeakerPicture(line, remembered, out);
      continue;
    }
    if (!isCommandLine(line)) continue;
    const uint32_t command = crc32Of(line.tokens[0]);
    const std::string& argument = line.tokens[1];
    if (auto pattern = r.commandPatterns.find(command); pattern != r.commandPatterns.end()) {
      const std::string name = expandLookaheadFormat(pattern->second, argument);
      if (r.stopNames.count(crc32Of(name))) break;
      out.add(name);
    }
    if (auto pattern = r.tagPatterns.find(command); pattern != r.tagPatterns.end()) {
      if (argument.size() > 8) {
        remembered = expandLookaheadFormat(pattern->second, argument);
        out.add(remembered);
      } else {
        remembered.clear();
      }
    }
  }
  for (uint32_t key : r.stopOrder) out.add(r.stopNames.at(key));
  return std::move(out.names);
}

std::vector<std::string> predictVoices(const ScriptFile& lines, int currentLine) {
  std::vector<std::string> voices;
  for (size_t i = static_cast<size_t>(std::max(currentLine + 1, 0)); i < lines.size(); ++i) {
    const ScriptLine& line = lines[i];
    if (isLabelOrEmpty(line) || isCommandLine(line)) continue;
    if (!isNameTagLine(line)) break;
    const std::vector<std::string_view> fields = nameTagFields(line.tokens[0]);
    for (size_t f = 1; f < fields.size(); ++f) {
      if (fields[f].empty()) continue;
      voices.push_back("vo/" + std::string(leadingCharacters(fields[f], 1, 3)) + "/" + std::string(fields[f]) + ".ogg");
    }
    break;
  }
  return voices;
}

bool lookaheadAllowed() { return settings().lookAhead != 0 && scriptState().fastForwardMode == 0; }

namespace {

std::vector<std::string> predictFromCursor() {
  const ScriptState& s = scriptState();
  return predictPictures(s.slots[s.cursor.slot].lines, s.cursor.line);
}

// The names as the loader will ask for them: high-resolution variants where the render scale
// wants them and they exist. Eviction compares these, so a cached variant survives its pass.
std::vector<std::string> withHighResolutionVariants(std::vector<std::string> names) {
  for (std::string& name : names) name = resolvePictureName(name, true);
  return names;
}

// Evicts what is not predicted, then decodes the rest and the base pictures they name.
void fetchPredicted(const std::vector<std::string>& names, unsigned workers) {
  std::unordered_set<uint64_t> keep;
  for (const std::string& name : names) keep.insert(pictureKey(name));
  keepOnlyCachedPictures(keep);
  if (!pictureCacheEnabled()) return;
  std::vector<std::string> basePictures;
  prefetch(names, workers, &basePictures);
  prefetch(basePictures, workers, nullptr);
}

}  // namespace

void runLookaheadPass(unsigned workers) { fetchPredicted(withHighResolutionVariants(predictFromCursor()), workers); }

void setVoicePrefetch(VoicePrefetch prefetch) { voicePrefetch = prefetch; }

void runVoiceLookahead() {
  if (!voicePrefetch) return;
  const ScriptState& s = scriptState();
  for (const std::string& voice : predictVoices(s.slots[s.cursor.slot].lines, s.cursor.line)) voicePrefetch(voice);
}

bool startBackgroundLookahead() {
  BackgroundPass& b = background();
  if (!lookaheadAllowed() || b.thread.joinable()) return false;
  b.state.store(2);
  // The script is read here, on the main thread; the worker only decodes and fills the cache.
  try {
    b.thread = std::thread([&b, names = withHighResolutionVariants(predictFromCursor())] {
      fetchPredicted(names, 0);
      b.state.store(-1);
    });
  } catch (const std::system_error&) {
    b.state.store(0);
    return false;
  }
  return true;
}

void finishBackgroundLookahead(void (*pump)()) {
  BackgroundPass& b = background();
  if (!b.thread.joinable()) return;
  while (b.state.load() != -1) {
    if (pump) pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  b.thread.join();
  b.state.store(0);
}

std::vector<std::string> quotedPictureNames(const ScriptFile& lines, int currentLine) {
  // A few lines: the pictures of the first scene, not the game's.
  constexpr size_t kLines = 16, kNames = 8;
  static constexpr std::string_view kExtensions[] = {".png", ".jpg", ".jpeg", ".bmp", ".tlg", ".tga"};
  Predictions out;
  const size_t first = static_cast<size_t>(std::max(currentLine + 1, 0));
  for (size_t i = first; i < lines.size() && i < first + kLines && out.names.size() < kNames; ++i) {
    if (!isCommandLine(lines[i])) continue;
    const std::string& argument = lines[i].tokens[1];
    for (size_t open = argument.find('"'); open != std::string::npos; open = argument.find('"', open)) {
      const size_t close = argument.find('"', open + 1);
      if (close == std::string::npos) break;
      std::string_view name(argument.data() + open + 1, close - open - 1);
      open = close + 1;
      // ":a;name" and the like: the options end at the first ';'.
      if (!name.empty() && name[0] == ':') {
        const size_t semicolon = name.find(';');
        name = semicolon == std::string_view::npos ? std::string_view() : name.substr(semicolon + 1);
      }
      const size_t dot = name.rfind('.');
      if (dot == std::string_view::npos) continue;
      std::string extension(name.substr(dot));
      for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
      if (std::find(std::begin(kExtensions), std::end(kExtensions), extension) != std::end(kExtensions))
        out.add(std::string(name));
    }
  }
  return std::move(out.names);
}

bool startScreenPrefetch() {
  BackgroundPass& b = background();
  if (!lookaheadAllowed() || !pictureCacheEnabled() || b.thread.joinable()) return false;
  const ScriptState& s = scriptState();
  std::vector<std::string> names = withHighResolutionVariants(quotedPictureNames(s.slots[s.cursor.slot].lines, s.cursor.line));
  if (names.empty()) return false;
  b.state.store(2);
  try {
    b.thread = std::thread([&b, names = std::move(names)] {
      std::vector<std::string> basePictures;
      prefetch(names, 0, &basePictures);
      prefetch(basePictures, 0, nullptr);
      b.state.store(-1);
    });
  } catch (const std::system_error&) {
    b.state.store(0);
    return false;
  }
  return true;
}

void resetLookahead() {
  finishBackgroundLookahead();
  registrations() = Registrations{};
}

}  // namespace vellum
