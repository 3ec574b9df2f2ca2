#include "sound/sound_save_lines.h"

#include "sound/sound_channel.h"
#include "sound/sound_system.h"
#include "storage/file_loader.h"

namespace vellum {

namespace {

constexpr int kFirstSavedChannel = 1, kLastSavedChannel = 9;

std::string n(int64_t v) { return std::to_string(v); }

}  // namespace

void writeSoundSaveLines(std::string& out, uint32_t now) {
  for (int channel = kFirstSavedChannel; channel <= kLastSavedChannel; ++channel) {
    PendingSoundStart start;
    SoundSaveRecord r;
    if (pendingSoundStart(channel, start)) {
      const int32_t left = static_cast<int32_t>(start.due - now);
      r = {channel, start.name, start.loops, start.volume, start.pan, start.start, left > 0 ? left : 1, start.fadeIn};
    } else {
      const ChannelSnapshot snapshot = channelSnapshot(channel);
      if (snapshot.fileName.empty()) continue;
      r = {channel, snapshot.fileName, snapshot.loopsRemaining < 0 ? 0 : snapshot.loopsRemaining + 1, snapshot.volume,
           snapshot.pan, snapshot.position};
    }
    out += "Sound" + n(channel) + "=" + SaveBlock::field(r.name) + "," + n(r.loops) + "," + n(r.volume) + "," +
           n(r.pan) + "," + n(r.position);
    if (r.delay > 0) out += "," + n(r.delay) + "," + n(r.fadeIn);
    out += "\n";
  }
}

bool readSoundSaveLines(const SaveBlock& block, std::vector<SoundSaveRecord>& sounds) {
  sounds.clear();
  for (int channel = kFirstSavedChannel; channel <= kLastSavedChannel; ++channel) {
    const std::string key = "Sound" + n(channel);
    const auto* pieces = block.find(key);
    if (!pieces) continue;
    SaveLineReader in(block, *pieces);
    SoundSaveRecord r;
    r.channel = channel;
    r.name = in.text();
    r.loops = in.int32();
    r.volume = in.int32();
    r.pan = in.int32();
    r.position = in.integer();
    if (!in.atEnd()) {
      r.delay = in.int32();
      r.fadeIn = in.int32();
    }
    if (!in.ok || !in.atEnd() || r.name.empty() || r.position < 0 || r.delay < 0) return reportBrokenSave(key);
    if (!storedFileExists(r.name)) return reportMissingSaveFile(r.name);
    sounds.push_back(std::move(r));
  }
  return true;
}

void applySoundSaveLines(const std::vector<SoundSaveRecord>& sounds) {
  for (int channel = kFirstSavedChannel; channel <= kLastSavedChannel; ++channel) stopSound(channel, 0, 0);
  for (const SoundSaveRecord& r : sounds) startSound(r.channel, r.name, r.fadeIn, r.delay, r.volume, r.pan, r.loops, r.position);
}

}  // namespace vellum
