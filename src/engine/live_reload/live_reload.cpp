#include "engine/live_reload/live_reload.h"

#include <cstdio>
#include <unordered_map>
#include <vector>

#include "base/clock.h"
#include "base/text_encoding.h"
#include "engine/live_reload/script_sources.h"
#include "scene/picture_cache.h"
#include "script/script_container.h"
#include "script/script_reload.h"
#include "services/script_source_text.h"
#include "shell/input/reload_key.h"
#include "sound/sound_preload.h"

namespace vellum {

namespace {

using Signatures = std::unordered_map<uint64_t, SourceSignature>;

struct WatchState {
  std::string folder;
  bool started = false;
  uint32_t lastLook = 0;
  int linesSinceClock = 0;
  bool reloadRequested = false;
  Signatures running;    // what each file looked like when the game last took it
  Signatures seen;       // the changed files as the last look saw them
  Signatures attempted;  // the changed files as the last failed reload read them
};

WatchState watch;

std::string describe(const ScriptSource& source) { return toUtf8(source.gamePath, CodePage::Gbk); }

// The file as the packer would store it; false when it cannot be read now.
bool sourceText(const ScriptSource& source, std::string& text) {
  std::vector<uint8_t> bytes;
  if (!readSourceBytes(source.file, bytes)) return false;
  bool lossless = true;
  text = scriptTextFromSource(bytes, lossless);
  if (!lossless)
    std::fprintf(stderr, "vellum: %s: warning: not all of it has a GBK form; '?' read instead\n",
                 describe(source).c_str());
  return true;
}

bool runsTheSameText(uint64_t key, const std::string& text) {
  std::string running;
  return scriptExists(key) && readScriptText(key, running) && running == text;
}

// Pictures and sounds changed on disk are read afresh the next time they are loaded.
void forgetDecodedFiles() {
  clearPictureCache();
  clearPreloadedSounds();
}

// Puts the sources whose text differs from the running one in its place. Returns false when the
// new texts were refused (reported); files that could not be read wait for the next look.
bool reloadSources(const std::vector<ScriptSource>& sources) {
  std::vector<ScriptReplacement> batch;
  Signatures taken;
  for (const ScriptSource& source : sources) {
    std::string text;
    if (!sourceText(source, text)) continue;
    taken[source.key] = source.signature;
    // An empty file is more likely an editor caught between truncating and writing than a
    // script, and taking it would end the game if it runs there.
    if (text.empty() || runsTheSameText(source.key, text)) continue;
    batch.push_back({source.key, source.gamePath, std::move(text)});
  }
  if (!batch.empty() && !replaceScripts(batch)) return false;
  for (const auto& [key, signature] : taken) watch.running[key] = signature;
  forgetDecodedFiles();
  for (const ScriptReplacement& file : batch)
    std::fprintf(stderr, "vellum: reloaded %s\n", toUtf8(file.name, CodePage::Gbk).c_str());
  return true;
}

void onReloadKey() { requestSourceReload(); }

// The files whose look changed since the game took them, once a second look sees them the same.
std::vector<ScriptSource> settledChanges(const std::vector<ScriptSource>& sources) {
  std::vector<ScriptSource> changed;
  Signatures now;
  for (const ScriptSource& source : sources) {
    const auto running = watch.running.find(source.key);
    if (running != watch.running.end() && running->second == source.signature) continue;
    now[source.key] = source.signature;
    changed.push_back(source);
  }
  const bool settled = now == watch.seen;
  watch.seen = now;
  // A refused text is reported once; it is tried again when one of the files changes again.
  if (!settled || changed.empty() || now == watch.attempted) return {};
  return changed;
}

}  // namespace

void setWatchedSourceFolder(const std::string& folder) { watch.folder = folder; }

bool watchingSources() { return !watch.folder.empty(); }

void startWatchingSources() {
  if (!watchingSources()) return;
  for (const ScriptSource& source : listScriptSources(watch.folder)) {
    scriptContainer().sourceNames[source.key] = source.gamePath;
    watch.running[source.key] = source.signature;
  }
  watch.lastLook = tickMilliseconds();
  watch.started = true;
  setReloadKeyHandler(&onReloadKey);
}

void serviceLiveReload() {
  if (!watch.started) return;
  const bool asked = watch.reloadRequested;
  // The clock is read every few lines only: a script that computes runs millions of lines a second.
  if (!asked && ++watch.linesSinceClock < kLinesPerClockRead) return;
  watch.linesSinceClock = 0;
  const uint32_t now = tickMilliseconds();
  if (!asked && now - watch.lastLook < kSourceLookIntervalMs) return;
  watch.lastLook = now;
  watch.reloadRequested = false;
  const std::vector<ScriptSource> sources = listScriptSources(watch.folder);
  const std::vector<ScriptSource> changed = asked ? sources : settledChanges(sources);
  if (changed.empty()) return;
  if (reloadSources(changed)) {
    watch.attempted.clear();
    watch.seen.clear();
    return;
  }
  // Remembered as the next look will see the changed files, so the refusal is not reported again.
  watch.attempted.clear();
  for (const ScriptSource& source : changed) {
    const auto running = watch.running.find(source.key);
    if (running == watch.running.end() || !(running->second == source.signature))
      watch.attempted[source.key] = source.signature;
  }
}

void requestSourceReload() { watch.reloadRequested = true; }

void resetLiveReload() {
  if (watch.started) setReloadKeyHandler(nullptr);
  watch = WatchState{};
}

}  // namespace vellum
