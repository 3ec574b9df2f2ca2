#include "engine/save_snapshot.h"

#include <memory>
#include <vector>

#include "base/clock.h"
#include "movie/frame_sequence_save_lines.h"
#include "movie/frame_sequences.h"
#include "persist/save_slots.h"
#include "persist/save_text.h"
#include "scene/animation_update.h"
#include "scene/screen_save_lines.h"
#include "scene/sprite_save_lines.h"
#include "script/read_mode.h"
#include "persist/script_save_lines.h"
#include "script/script_state.h"
#include "sound/sound_save_lines.h"
#include "text/backlog_save_lines.h"
#include "text/cstring.h"
#include "text/message_save_lines.h"
#include "text/message_window.h"
#include "text/text_sprites.h"
#include "render/texture_reuse.h"

namespace vellum {

namespace {

// Everything a block describes, read and checked before any of it is applied.
struct ParsedBlock {
  ScreenTransform screen;
  std::vector<SpriteSaveRecord> sprites;
  std::vector<FrameSequenceRequest> sequences;
  std::unique_ptr<BacklogState> backlog;  // only for a block with backlog lines
  bool haveBacklog = false;
  MessageSaveRecord message;
  VariableSaveRecord variables;
  ResumePosition resume;
  bool haveComment = false;
  std::string comment;
  std::vector<SoundSaveRecord> sounds;
};

// The two large parts of a parsed block outlive it, for the next restore: a full backlog and a
// thousand sprite records fresh from the allocator would cost a page fault per 4 KiB each time.
struct KeptBlockStorage {
  std::vector<SpriteSaveRecord> sprites;  // emptied, capacity kept
  std::unique_ptr<BacklogState> backlog;
};

KeptBlockStorage& keptBlockStorage() {
  static KeptBlockStorage kept;
  return kept;
}

// Lends the kept storage to `p` for its lifetime.
class BorrowedBlockStorage {
 public:
  explicit BorrowedBlockStorage(ParsedBlock& p) : p_(p) {
    KeptBlockStorage& kept = keptBlockStorage();
    p_.sprites = std::move(kept.sprites);
    p_.backlog = std::move(kept.backlog);
  }
  ~BorrowedBlockStorage() {
    KeptBlockStorage& kept = keptBlockStorage();
    p_.sprites.clear();
    kept.sprites = std::move(p_.sprites);
    kept.backlog = std::move(p_.backlog);
  }
  BorrowedBlockStorage(const BorrowedBlockStorage&) = delete;
  BorrowedBlockStorage& operator=(const BorrowedBlockStorage&) = delete;

 private:
  ParsedBlock& p_;
};

bool hasBacklogLines(const SaveBlock& block) {
  for (const auto& [key, pieces] : block.values)
    if (key.compare(0, 3, "msg") == 0 || key == "saveFlags") return true;
  return false;
}

bool readBlock(std::string_view text, bool preferFile2, uint32_t now, ParsedBlock& p) {
  const SaveBlock block = parseSaveBlock(text);
  if (!readScreenSaveLines(block, now, p.screen)) return reportBrokenSave("ScQ/ScXYWH");
  if (!readSpriteSaveLines(block, now, p.sprites)) return false;
  if (!readFrameSequenceSaveLines(block, p.sprites, p.sequences)) return false;
  p.haveBacklog = hasBacklogLines(block);
  if (p.haveBacklog) {
    if (p.backlog) {
      std::destroy_at(p.backlog.get());
      std::construct_at(p.backlog.get());
    } else {
      p.backlog = std::make_unique<BacklogState>();
    }
    if (!readBacklogSaveLines(block, *p.backlog)) return false;
  }
  if (!readMessageSaveLines(block, p.message)) return false;
  if (!readVariableSaveLines(block, p.variables)) return false;
  if (!readResumePosition(block, preferFile2, p.resume)) return false;
  if (const auto* comment = block.find("Comment")) {
    p.haveComment = true;
    p.comment = comment->empty() ? std::string() : block.text(comment->front());
  }
  return readSoundSaveLines(block, p.sounds);
}

// The state a restore starts from: no text, no modes, no calls, no sprites or animations.
void resetForRestore() {
  saveStore().snapshot.clear();
  mainText().Clear();
  rubyText().Clear();
  ReadModeState& modes = readMode();
  modes.windowVisible = 0;
  modes.autoActive = false;
  modes.skipActive = false;
  modes.transientSkip = false;
  modes.pendingModeEvent = 1;
  MessageWindow& w = messageWindow();
  w.row = w.indent = 0;
  w.moveToColumn(0);
  w.justWrapped = false;
  w.autoDeadline = 0;
  w.finishedLines = 0;
  w.lineInProgress = false;
  w.speakerPending = false;
  w.shownLine.clear();
  ScriptState& s = scriptState();
  s.fastForwardMode = 0;
  s.messageWaited = 0;
  s.textOffset = 0;
  s.lastTextLine = -1;
  s.callFrames.clear();
  s.callerKeys.clear();
  s.loopFrames.clear();
  s.conditionStates.clear();
  s.loopsOpened = 0;
  s.pendingSubroutine = 0;
  resetFrameSequences();
  resetAnimations();
  SpriteTable& t = spriteTable();
  for (Sprite& sp : t.sprites) {
    for (SpriteImage& b : sp.buffers) freePicture(b.picture);
    sp = Sprite{};
  }
  t.lists.clear();
}

}  // namespace

std::string composeSaveBlock() {
  std::string out = composeStateLines();
  writeResumeLine(out);
  return out;
}

std::string composeStateLines() {
  const uint32_t now = tickMilliseconds();
  std::string out(kEscapedMarkerLine);
  writeScreenSaveLines(out, now);
  writeSpriteSaveLines(out, now);
  writeFrameSequenceSaveLines(out, now);
  writeSoundSaveLines(out, now);
  writeBacklogSaveLines(out);
  writeMessageSaveLines(out);
  writeVariableSaveLines(out);
  return out;
}

bool restoreSaveBlock(std::string_view text, bool preferFile2) {
  const uint32_t now = tickMilliseconds();
  ParsedBlock p;
  const BorrowedBlockStorage storage(p);
  if (!readBlock(text, preferFile2, now, p)) return false;
  // The scene is taken down and built again, mostly at the sizes it had: its textures are reused.
  const TextureReuseWindow reuse;
  resetForRestore();
  applyScreenSaveLines(p.screen);
  applySpriteSaveLines(p.sprites);
  applyFrameSequenceSaveLines(p.sequences, p.sprites);
  if (p.haveBacklog) applyBacklogSaveLines(*p.backlog);
  applyMessageSaveLines(p.message);
  redrawRestoredTextSprites();
  applyVariableSaveLines(p.variables);
  applyResumePosition(p.resume);
  if (p.haveComment) saveStore().comment = p.comment;
  applySoundSaveLines(p.sounds);
  readMode().currentMessageRead = 1;
  return true;
}

}  // namespace vellum
