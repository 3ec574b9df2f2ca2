#include "movie/frame_sequence_save_lines.h"

#include <charconv>

#include "scene/sprite_commit.h"
#include "scene/sprite_table.h"
#include "storage/file_loader.h"

namespace vellum {

namespace {

std::string n(int64_t v) { return std::to_string(v); }

const SpriteSaveRecord* recordOf(const std::vector<SpriteSaveRecord>& sprites, int32_t id) {
  for (const SpriteSaveRecord& r : sprites)
    if (r.n == id) return &r;
  return nullptr;
}

}  // namespace

void writeFrameSequenceSaveLines(std::string& out, uint32_t now) {
  for (int32_t id = 0; id < kSpriteCount; ++id) {
    FrameSequenceRequest r;
    uint32_t elapsed = 0;
    if (!runningFrameSequence(id, r, elapsed, now)) continue;
    out += "ImageF" + n(id) + "=" + n(r.passes) + "," + n(r.variant) + "," + n(r.frameRate) + "," + n(elapsed) + "," +
           n(r.delayMs) + "," + n(r.division) + "\n";
  }
}

bool readFrameSequenceSaveLines(const SaveBlock& block, const std::vector<SpriteSaveRecord>& sprites,
                                std::vector<FrameSequenceRequest>& sequences) {
  sequences.clear();
  for (const auto& [key, pieces] : block.values) {
    if (key.size() <= 6 || !key.starts_with("ImageF")) continue;
    int64_t id = -1;
    const auto parsed = std::from_chars(key.data() + 6, key.data() + key.size(), id);
    if (parsed.ec != std::errc() || parsed.ptr != key.data() + key.size() || id < 0 || id >= kSpriteCount)
      return reportBrokenSave(key);
    const SpriteSaveRecord* sprite = recordOf(sprites, static_cast<int32_t>(id));
    if (!sprite || sprite->source.empty()) return reportBrokenSave(key);
    SaveLineReader in(block, pieces);
    FrameSequenceRequest r;
    r.sprite = static_cast<int32_t>(id);
    r.file = sprite->source;
    r.passes = in.int32();
    r.variant = in.int32();
    r.frameRate = in.int32();
    in.elapsed();
    in.int32();  // the delay had passed or is given up: the sequence starts at once
    r.division = in.int32();
    if (!in.ok) return reportBrokenSave(key);
    if (!storedFileExists(r.file)) return reportMissingSaveFile(r.file);
    sequences.push_back(std::move(r));
  }
  return true;
}

void applyFrameSequenceSaveLines(const std::vector<FrameSequenceRequest>& sequences,
                                 const std::vector<SpriteSaveRecord>& sprites) {
  for (const FrameSequenceRequest& r : sequences) {
    if (!startFrameSequence(r)) continue;
    const SpriteSaveRecord* saved = recordOf(sprites, r.sprite);
    Sprite& s = sprite(r.sprite);
    s.order = saved->order;
    s.backImage().props = saved->props;
    commitSprite(r.sprite);
    for (SpriteImage& b : s.buffers) {
      b.props = saved->props;
      b.dirty = true;
    }
    listSprite(r.sprite, saved->props.parent);
  }
}

}  // namespace vellum
