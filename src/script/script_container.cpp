#include "script/script_container.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include <vellum/exports.h>

#include "base/engine_state.h"
#include "base/report.h"
#include "script/label_pass.h"
#include "script/script_state.h"
#include "script/tokenizer.h"
#include "storage/aligned_memory.h"
#include "storage/archive_format.h"
#include "storage/file_loader.h"
#include "storage/hashes.h"
#include "storage/zlib_buffer.h"

namespace vellum {

namespace {

// ": スクリプトファイルハッシュが不正です" (Shift-JIS)
constexpr std::string_view kInvalidScriptKey =
    "\x3a\x20\x83\x58\x83\x4e\x83\x8a\x83\x76\x83\x67\x83\x74\x83\x40\x83\x43\x83\x8b\x83\x6e\x83\x62\x83\x56"
    "\x83\x85\x82\xaa\x95\x73\x90\xb3\x82\xc5\x82\xb7";
// "スクリプトのメモリを確保出来ませんでした" (Shift-JIS)
constexpr std::string_view kNoScriptMemory =
    "\x83\x58\x83\x4e\x83\x8a\x83\x76\x83\x67\x82\xcc\x83\x81\x83\x82\x83\x8a\x82\xf0\x8a\x6d\x95\xdb\x8f\x6f"
    "\x97\x88\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd";
// ": スクリプトの読み込みに失敗しました" (Shift-JIS)
constexpr std::string_view kScriptLoadFailed =
    "\x3a\x20\x83\x58\x83\x4e\x83\x8a\x83\x76\x83\x67\x82\xcc\x93\xc7\x82\xdd\x8d\x9e\x82\xdd\x82\xc9\x8e\xb8"
    "\x94\x73\x82\xb5\x82\xdc\x82\xb5\x82\xbd";

// The largest script text the engine inflates; anything claiming more is a damaged index.
constexpr uint32_t kMaxScriptSize = 256u << 20;

ScriptContainerState state;

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<FILE, FileCloser>;

std::string containerPath() { return engine().exeDirectory + "script.dat"; }

void reportOpenFailure(std::string_view step) {
  errord(ReportText().ascii(step).ascii("\nscript.dat ").ascii(std::strerror(errno)), true);
}

void reportKeyProblem(uint64_t key, std::string_view problem) {
  errord(ReportText().gbk(scriptFileName(key)).sjis(problem), true);
}

// Reads the entry's stored bytes; the entry must lie inside the container.
bool readStoredBytes(const ArchiveEntry& entry, uint64_t key, std::vector<uint8_t>& block) {
  File file(std::fopen(containerPath().c_str(), "rb"));
  if (!file) {
    reportOpenFailure("readScript");
    return false;
  }
  if (uint64_t{entry.offset} + entry.storedSize > entry.archiveSize || entry.unpackedSize > kMaxScriptSize) {
    reportKeyProblem(key, kScriptLoadFailed);
    return false;
  }
  block.resize(entry.storedSize);
  if (std::fseek(file.get(), static_cast<long>(entry.offset), SEEK_SET) != 0 ||
      std::fread(block.data(), 1, block.size(), file.get()) != block.size()) {
    reportKeyProblem(key, kScriptLoadFailed);
    return false;
  }
  return true;
}

}  // namespace

ScriptContainerState& scriptContainer() { return state; }

void resetScriptContainer() { state = ScriptContainerState{}; }

const char* gameTitle() { return VELLUM_GAME_TITLE; }

bool openScriptContainer() {
  if (!readArchiveIndex(containerPath(), state.index)) {
    reportOpenFailure("loadLabel");
    return false;
  }
  state.present = true;
  state.titleKey = crc64Of(gameTitle());
  for (const auto& [key, entry] : state.index) {
    ScriptFile file;
    if (!loadScript(key, file)) return false;
    scriptState().readFlags[key];
    if (!collectLabels(key, file)) return false;
  }
  return true;
}

bool scriptExists(uint64_t key) {
  return state.replacedTexts.count(key) > 0 || (state.present && state.index.count(key) > 0);
}

bool readScriptText(uint64_t key, std::string& text) {
  if (const auto replaced = state.replacedTexts.find(key); replaced != state.replacedTexts.end()) {
    text = replaced->second;
    return true;
  }
  const auto found = state.present ? state.index.find(key) : state.index.end();
  if (found == state.index.end()) {
    reportKeyProblem(key, kInvalidScriptKey);
    return false;
  }
  const ArchiveEntry& entry = found->second;
  std::vector<uint8_t> block;
  if (!readStoredBytes(entry, key, block)) return false;

  // Whole words are XORed with the file key mixed with the title key; a short tail is left alone.
  xorWords(block.data(), block.size(), static_cast<uint32_t>(key) ^ static_cast<uint32_t>(state.titleKey));

  StorageState& store = storage();
  const uint32_t unpacked = entry.unpackedSize;
  if (!ensureCapacity(store.scratch, store.scratchCapacity, unpacked * 2 + 1)) {
    errord(ReportText().sjis(kNoScriptMemory), true);
    return false;
  }
  size_t length = 0;
  if (inflateZlib(block.data(), block.size(), store.scratch, unpacked, length) != InflateStatus::Ok) {
    reportKeyProblem(key, kScriptLoadFailed);
    return false;
  }
  text.assign(reinterpret_cast<const char*>(store.scratch), length);
  return true;
}

bool loadScript(uint64_t key, ScriptFile& target) {
  std::string text;
  if (!readScriptText(key, text)) return false;
  // Reports raised while parsing name the file.
  setCurrentCommandName(scriptFileName(key));
  parseScript(text, target);
  return true;
}

}  // namespace vellum
