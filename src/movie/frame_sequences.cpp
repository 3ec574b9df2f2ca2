#include "movie/frame_sequences.h"

#include <array>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "base/clock.h"
#include "base/engine_state.h"
#include "base/report.h"
#include "commands/arg_accessor.h"
#include "commands/command_registry.h"
#include "movie/movie_messages.h"
#include "movie/movie_playback.h"
#include "movie/thor_header.h"
#include "scene/frame_sequence_slot.h"
#include "scene/sprite_commit.h"
#include "scene/sprite_loading.h"
#include "scene/sprite_table.h"
#include "scene/sprite_textures.h"
#include "script/script_state.h"
#include "storage/aligned_memory.h"
#include "storage/file_loader.h"

namespace vellum {

namespace {

struct FrameSequence {
  FrameSequenceRequest request;
  std::unique_ptr<MoviePlayback> movie;
};

std::array<std::unique_ptr<FrameSequence>, kSpriteCount>& sequences() {
  static std::array<std::unique_ptr<FrameSequence>, kSpriteCount> table;
  return table;
}

// The file's first bytes, up to the 44 of a movie header (a plain read stops there).
bool readHead(const std::string& file, uint8_t (&head)[kThorHeaderSize], uint32_t& got) {
  uint32_t size = 0;
  uint64_t key = 0;
  FILE* probe = openFile(file, size, key);
  if (!probe) return false;
  std::fclose(probe);
  uint8_t* buffer = nullptr;
  uint32_t capacity = 0;
  got = std::min<uint32_t>(size, kThorHeaderSize);
  const bool ok = got > 0 && loadFile(file, buffer, got, capacity);
  if (ok) std::memcpy(head, buffer, std::min<uint32_t>(got, kThorHeaderSize));
  freeAligned(buffer);
  return ok;
}

std::string magicInHex(const uint8_t* head, uint32_t size) {
  char text[16] = {};
  uint32_t word = 0;
  for (uint32_t i = 0; i < 4 && i < size; ++i) word |= uint32_t{head[i]} << (8 * i);
  std::snprintf(text, sizeof text, "%08X", word);
  return text;
}

// A black picture of the movie's size, for the sprite to show until the first frame is due.
bool makeMovieSprite(const FrameSequenceRequest& r, const ThorHeader& header) {
  Image* image = createImage(static_cast<int>(header.width), static_cast<int>(header.height), 32);
  if (!image) {
    errorc(ReportText().number(r.sprite).sjis(movie_messages::kNoTexture), true);
    return false;
  }
  for (int32_t i = 0; i < image->pixelCount; ++i) image->pixels[i] = 0xFF000000u;
  if (!loadSpriteImage(r.sprite, image, 0, r.division)) return false;
  Sprite& s = sprite(r.sprite);
  s.sourceName = r.file;
  s.sourceKind = SourceKind::Kept;
  return true;
}

bool startMovie(const FrameSequenceRequest& r, const uint8_t* head, uint32_t headSize) {
  ThorHeader header;
  std::string problem;
  if (!parseThorHeader(head, headSize, 0, header, problem)) {
    errorc(ReportText().gbk(r.file).ascii(": " + problem), true);
    return false;
  }
  if (!makeMovieSprite(r, header)) return false;
  // While fast-forwarding only the picture is set up; nothing is decoded.
  if (scriptState().fastForwardMode != 0) return true;
  std::unique_ptr<MoviePlayback> movie = MoviePlayback::open(r.file, header, r.frameRate);
  if (!movie) return false;
  if (!movie->start(tickMilliseconds() + static_cast<uint32_t>(r.delayMs))) return false;
  auto entry = std::make_unique<FrameSequence>();
  entry->request = r;
  entry->movie = std::move(movie);
  sequences()[static_cast<size_t>(r.sprite)] = std::move(entry);
  return true;
}

// The sprite's picture that shows the movie: the back one while the sprite's first picture still
// waits for its commit, the front one after.
SpritePicture& moviePicture(Sprite& s) {
  return (s.pending & pending::kNewPicture) ? s.backImage().picture : s.frontImage().picture;
}

int spAniBody(void* call) {
  setCurrentCommandName("sp_ani");
  size_t length = 0;
  const char* file = args().getStringLength(call, 2, &length);
  FrameSequenceRequest r;
  r.sprite = args().getInt(call, 1);
  r.file.assign(file ? file : "", file ? length : 0);
  r.division = args().getInt(call, 3);
  r.passes = args().getInt(call, 4);
  r.variant = args().getInt(call, 5);
  r.frameRate = args().getInt(call, 6);
  r.delayMs = args().getInt(call, 7);
  startFrameSequence(r);
  args().returnNothing(call);
  return 1;
}

}  // namespace

bool startFrameSequence(const FrameSequenceRequest& r) {
  if (!checkSpriteNumber(r.sprite)) return false;
  if (r.frameRate < 0 || r.delayMs < 0 || r.passes < 0) {
    errorc(ReportText().number(r.sprite).ascii(" sp_ani: frame rate, delay and pass count must not be negative"), true);
    return false;
  }
  Sprite& s = sprite(r.sprite);
  if (s.textDrawing) deleteSpriteNow(r.sprite);
  stopSpriteSequence(r.sprite);
  uint8_t head[kThorHeaderSize] = {};
  uint32_t got = 0;
  if (!readHead(r.file, head, got)) return false;
  if (got >= 4 && std::memcmp(head, "THOR", 4) == 0) return startMovie(r, head, got);
  // Frame files (AVI with MJPG frames, and the MJPG container) are not played yet.
  errorc(ReportText().number(r.sprite).gbk(movie_messages::kBadSequenceKind).ascii(magicInHex(head, got)), true);
  return false;
}

void stopSpriteSequence(int32_t n) {
  if (n < 0 || n >= kSpriteCount) return;
  std::unique_ptr<FrameSequence>& entry = sequences()[static_cast<size_t>(n)];
  if (!entry) return;
  if (entry->movie) entry->movie->stop();
  entry.reset();
}

void updateFrameSequences() {
  for (size_t n = 0; n < sequences().size(); ++n) {
    FrameSequence* entry = sequences()[n].get();
    if (!entry || !entry->movie) continue;
    Image* frame = entry->movie->takeNewFrame();
    if (!frame) continue;
    Sprite& s = sprite(static_cast<int32_t>(n));
    SpritePicture& target = moviePicture(s);
    if (!target.present()) {
      freeImage(frame);
      continue;
    }
    SpritePicture fresh;
    const uint32_t flags = s.frontImage().props.flags;
    switch (buildPicture(frame, target.division, flags, target, fresh)) {
      case BuildResult::Reused: break;
      case BuildResult::Fresh: freePicture(fresh); break;  // not the sprite's size: dropped
      case BuildResult::Failed: freeImage(frame); break;
    }
  }
}

bool frameSequencesActive() {
  for (const auto& entry : sequences())
    if (entry && entry->movie && entry->movie->state() > 0) return true;
  return false;
}

int32_t movieState(int32_t n) {
  if (n < 0 || n >= kSpriteCount) return -2;
  const auto& entry = sequences()[static_cast<size_t>(n)];
  return entry && entry->movie ? entry->movie->state() : -2;
}

int32_t movieCurrentFrame(int32_t n) {
  if (n < 0 || n >= kSpriteCount) return -1;
  const auto& entry = sequences()[static_cast<size_t>(n)];
  return entry && entry->movie ? entry->movie->current() : -1;
}

uint64_t movieFramesDecoded(int32_t n) {
  if (n < 0 || n >= kSpriteCount) return 0;
  const auto& entry = sequences()[static_cast<size_t>(n)];
  return entry && entry->movie ? entry->movie->framesDecoded() : 0;
}

void resetFrameSequences() {
  for (int32_t n = 0; n < kSpriteCount; ++n) stopSpriteSequence(n);
}

void provideFrameSequenceCommands() {
  setFrameSequenceStopper(&stopSpriteSequence);
  provideCommand("sp_ani", &spAniBody);
}

}  // namespace vellum
