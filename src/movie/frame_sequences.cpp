#include "movie/frame_sequences.h"

#include <array>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>

#include "base/clock.h"
#include "base/engine_state.h"
#include "base/report.h"
#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "movie/frame_file_playback.h"
#include "movie/movie_messages.h"
#include "movie/movie_playback.h"
#include "movie/thor_header.h"
#include "scene/frame_sequence_slot.h"
#include "scene/sprite_commit.h"
#include "scene/sprite_loading.h"
#include "scene/sprite_table.h"
#include "scene/sprite_textures.h"
#include "script/control_flow.h"
#include "script/script_state.h"
#include "sound/sound_channel.h"
#include "sound/sound_loading.h"
#include "storage/aligned_memory.h"
#include "storage/file_loader.h"

namespace vellum {

namespace {

constexpr int kMovieSoundChannel = 0;

struct FrameSequence {
  FrameSequenceRequest request;
  std::unique_ptr<MoviePlayback> movie;
  std::unique_ptr<FrameFilePlayback> frames;
  // The passes, kept on the main thread (a movie keeps its last picture through its later passes).
  uint32_t start = 0;
  int32_t passes = 0;
  uint32_t index = 0;
  int64_t shownIndex = -1;  // the frame last put into the textures (variant 0)
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

// A black picture of the sequence's size, for the sprite to show until the first frame is due.
bool makeSequenceSprite(const FrameSequenceRequest& r, uint32_t width, uint32_t height) {
  Image* image = createImage(static_cast<int>(width), static_cast<int>(height), 32);
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

// The movie's embedded sound plays once on channel 0 at full volume, starting now (also when the
// picture is delayed). Without the sound device (no sd_create) the movie plays silent.
bool startSoundTrack(const std::string& file, const ThorHeader& header) {
  if (header.soundLength == 0 || !soundState().created) return true;
  if (!loadSoundTrack(kMovieSoundChannel, file, header.soundOffset(), header.soundLength)) {
    errorc(ReportText().gbk(file).sjis(movie_messages::kCannotOpenSound), true);
    return false;
  }
  setChannelVolume(kMovieSoundChannel, 100, 0);
  playChannel(kMovieSoundChannel, 0, 1, 0);
  return true;
}

// Requests made while fast-forwarding: the sprite shows the placeholder, and the sequence is
// opened when fast-forward ends (keyed by sprite, so a later request replaces an earlier one).
std::map<int32_t, FrameSequenceRequest>& deferredRequests() {
  static std::map<int32_t, FrameSequenceRequest> requests;
  return requests;
}

bool launchMovie(const FrameSequenceRequest& r, const ThorHeader& header, bool withSound, uint32_t start) {
  std::unique_ptr<MoviePlayback> movie = MoviePlayback::open(r.file, header, r.frameRate);
  if (!movie) return false;
  if (withSound && !startSoundTrack(r.file, header)) return false;
  if (!movie->start(start)) return false;
  auto entry = std::make_unique<FrameSequence>();
  entry->request = r;
  entry->start = start;
  entry->passes = r.passes;
  entry->movie = std::move(movie);
  sequences()[static_cast<size_t>(r.sprite)] = std::move(entry);
  return true;
}

bool launchFrames(const FrameSequenceRequest& r, std::unique_ptr<FrameFilePlayback> frames, uint32_t start) {
  auto entry = std::make_unique<FrameSequence>();
  entry->request = r;
  entry->start = start;
  entry->passes = r.passes;
  if (!frames->start(entry->start)) return false;
  entry->frames = std::move(frames);
  sequences()[static_cast<size_t>(r.sprite)] = std::move(entry);
  return true;
}

bool parseMovieHeader(const FrameSequenceRequest& r, const uint8_t* head, uint32_t headSize, ThorHeader& header) {
  std::string problem;
  if (parseThorHeader(head, headSize, 0, header, problem)) return true;
  errorc(ReportText().gbk(r.file).ascii(": " + problem), true);
  return false;
}

std::unique_ptr<FrameFilePlayback> openFrames(const FrameSequenceRequest& r) {
  FrameFilePlayback::Settings settings;
  settings.file = r.file;
  settings.variant = r.variant;
  settings.passes = r.passes;
  settings.frameRate = r.frameRate;
  settings.loadEffects = sprite(r.sprite).loadEffects;
  return FrameFilePlayback::open(r.sprite, settings);
}

bool startMovie(const FrameSequenceRequest& r, const uint8_t* head, uint32_t headSize) {
  ThorHeader header;
  if (!parseMovieHeader(r, head, headSize, header)) return false;
  if (!makeSequenceSprite(r, header.width, header.height)) return false;
  // While fast-forwarding only the picture is set up; nothing is decoded.
  if (scriptState().fastForwardMode != 0) {
    deferredRequests()[r.sprite] = r;
    return true;
  }
  return launchMovie(r, header, true, tickMilliseconds() + static_cast<uint32_t>(r.delayMs));
}

bool startFrames(const FrameSequenceRequest& r) {
  std::unique_ptr<FrameFilePlayback> frames = openFrames(r);
  if (!frames) return false;
  if (!makeSequenceSprite(r, frames->layout().width, frames->layout().height)) return false;
  // While fast-forwarding only the picture is set up; nothing is decoded.
  if (scriptState().fastForwardMode != 0) {
    deferredRequests()[r.sprite] = r;
    return true;
  }
  return launchFrames(r, std::move(frames), tickMilliseconds() + static_cast<uint32_t>(r.delayMs));
}

// A deferred request opens over the placeholder it left, at once (no delay) and without the
// movie's sound track: the scene it belongs to is already under way.
void openDeferredRequest(const FrameSequenceRequest& r) {
  const Sprite& s = sprite(r.sprite);
  if (!s.inUse() || s.sourceKind != SourceKind::Kept || s.sourceName != r.file) return;
  uint8_t head[kThorHeaderSize] = {};
  uint32_t got = 0;
  if (!readHead(r.file, head, got)) return;
  const uint32_t now = tickMilliseconds();
  if (got >= 4 && std::memcmp(head, "THOR", 4) == 0) {
    ThorHeader header;
    if (parseMovieHeader(r, head, got, header)) launchMovie(r, header, false, now);
    return;
  }
  if (std::unique_ptr<FrameFilePlayback> frames = openFrames(r)) launchFrames(r, std::move(frames), now);
}

void openDeferredRequests() {
  std::map<int32_t, FrameSequenceRequest> requests;
  requests.swap(deferredRequests());
  for (const auto& [n, request] : requests) openDeferredRequest(request);
}

// The sprite's picture that shows the sequence: the back one while the sprite's first picture
// still waits for its commit, the front one after.
SpritePicture& shownPicture(Sprite& s) {
  return (s.pending & pending::kNewPicture) ? s.backImage().picture : s.frontImage().picture;
}

// Puts a frame (owned from here on) into the sprite's textures.
void showFrame(int32_t n, Image* frame) {
  Sprite& s = sprite(n);
  SpritePicture& target = shownPicture(s);
  if (!target.present()) {
    freeImage(frame);
    return;
  }
  SpritePicture fresh;
  switch (buildPicture(frame, target.division, s.frontImage().props.flags, target, fresh)) {
    case BuildResult::Reused: break;
    case BuildResult::Fresh: freePicture(fresh); break;  // not the sprite's size: dropped
    case BuildResult::Failed: freeImage(frame); break;
  }
}

// A movie's newest frame goes straight into the pixels the sprite keeps (they are the movie's
// size) and from there into its textures; a sprite whose picture is another size gets a new one.
void showMovieFrame(int32_t n, MoviePlayback& movie) {
  SpritePicture& target = shownPicture(sprite(n));
  if (target.present() && target.pixels && !target.targetSurface && ownPixels(target) &&
      movie.takeNewFrameInto(*target.pixels)) {
    uploadPicturePixels(target);
    return;
  }
  if (Image* frame = movie.takeNewFrame()) showFrame(n, frame);
}

// The pass count of a sequence whose pass lasts `passMs`: false when its last pass is over (the
// sprite is then deleted at the next commit); true when a new pass began or the pass goes on.
bool countPasses(int32_t n, FrameSequence& e, uint32_t passMs, uint32_t now, bool& newPass) {
  newPass = false;
  if (static_cast<int32_t>(now - e.start) < 0 || now - e.start < passMs) return true;
  if (e.passes == 1) {
    sprite(n).pending |= pending::kDelete;
    return false;
  }
  if (e.passes > 1) --e.passes;  // 0 plays without end
  e.start = now;
  newPass = true;
  return true;
}

// The sprite of a sequence lost its picture: reported, and the sprite goes at the next commit.
bool pictureKept(int32_t n) {
  Sprite& s = sprite(n);
  if (shownPicture(s).present() && !s.sourceName.empty()) return true;
  errorc(ReportText().number(n).gbk(movie_messages::kNoPicture), true);
  s.pending |= pending::kDelete;
  return false;
}

// One update of a movie: its newest frame, and its passes; false when the sequence is over.
bool advanceMovie(int32_t n, FrameSequence& e, uint32_t now) {
  if (!pictureKept(n)) return false;
  uint32_t streamWidth = 0, streamHeight = 0;
  if (e.movie->takeOtherStreamSize(streamWidth, streamHeight))
    errorc(ReportText().gbk(e.request.file).ascii(": the header's picture is " + std::to_string(e.movie->width()) + "x" +
                                                  std::to_string(e.movie->height()) + ", the stream's " +
                                                  std::to_string(streamWidth) + "x" + std::to_string(streamHeight)),
           true);
  showMovieFrame(n, *e.movie);
  bool newPass = false;
  return countPasses(n, e, e.movie->durationMs(), now, newPass);
}

// One update of a frame file's sequence; false when the sequence is over.
bool advanceFrames(int32_t n, FrameSequence& e, uint32_t now) {
  for (const ReportText& text : e.frames->takeReports()) errorc(text, true);
  if (!pictureKept(n)) return false;
  const FrameFileLayout& layout = e.frames->layout();
  bool newPass = false;
  if (!countPasses(n, e, layout.passDurationMs, now, newPass)) return false;
  if (newPass) {
    e.index = 0;
    e.shownIndex = -1;
  }
  const bool started = static_cast<int32_t>(now - e.start) >= 0;
  if (!started) return true;
  if (e.frames->variant() != 0) {
    if (Image* frame = e.frames->takeNewFrame()) showFrame(n, frame);
    return true;
  }
  // The frame due now; an update that comes late skips the frames it missed instead of falling
  // further behind one frame per update.
  const uint64_t due = uint64_t{now - e.start} * layout.frameCount / layout.passDurationMs;
  if (due < e.index) return true;
  const auto target = static_cast<uint32_t>(std::min<uint64_t>(due, layout.frameCount - 1));
  for (uint32_t i = target + 1; i-- > e.index;) {
    if (e.shownIndex == static_cast<int64_t>(i)) break;
    if (Image* frame = e.frames->decodedFrame(i)) {
      showFrame(n, frame);
      e.shownIndex = i;
      e.index = i + 1 < layout.frameCount ? i + 1 : i;
      break;
    }
  }
  return true;
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
  if (got >= 4 && (std::memcmp(head, "RIFF", 4) == 0 || std::memcmp(head, "MJPG", 4) == 0)) return startFrames(r);
  errorc(ReportText().number(r.sprite).gbk(movie_messages::kBadSequenceKind).ascii(magicInHex(head, got)), true);
  return false;
}

void stopSpriteSequence(int32_t n) {
  if (n < 0 || n >= kSpriteCount) return;
  std::unique_ptr<FrameSequence>& entry = sequences()[static_cast<size_t>(n)];
  deferredRequests().erase(n);
  if (!entry) return;
  if (entry->movie) entry->movie->stop();
  if (entry->frames) entry->frames->stop();
  entry.reset();
}

void updateFrameSequences() {
  const uint32_t now = tickMilliseconds();
  for (size_t n = 0; n < sequences().size(); ++n) {
    FrameSequence* entry = sequences()[n].get();
    if (!entry) continue;
    const bool goesOn = entry->movie ? advanceMovie(static_cast<int32_t>(n), *entry, now)
                                     : !entry->frames || advanceFrames(static_cast<int32_t>(n), *entry, now);
    if (!goesOn) stopSpriteSequence(static_cast<int32_t>(n));
  }
}

bool frameSequencesActive() {
  for (const auto& entry : sequences())
    if (entry && ((entry->movie && entry->movie->state() > 0) || entry->frames)) return true;
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

bool runningFrameSequence(int32_t n, FrameSequenceRequest& request, uint32_t& elapsed, uint32_t now) {
  if (n < 0 || n >= kSpriteCount || !sequences()[static_cast<size_t>(n)]) return false;
  const FrameSequence& e = *sequences()[static_cast<size_t>(n)];
  request = e.request;
  elapsed = e.start != 0 && static_cast<int32_t>(now - e.start) > 0 ? now - e.start : 0;
  return true;
}

void resetFrameSequences() {
  for (int32_t n = 0; n < kSpriteCount; ++n) stopSpriteSequence(n);
  deferredRequests().clear();
}

void provideFrameSequenceCommands() {
  setFrameSequenceStopper(&stopSpriteSequence);
  setMovieStateQuery(&movieState);
  addFastForwardEndHook(&openDeferredRequests);
  setFrameSequenceQuery([](int32_t n) { return n >= 0 && n < kSpriteCount && sequences()[static_cast<size_t>(n)] != nullptr; });
  provideCommand("sp_ani", &spAniBody);
}

}  // namespace vellum
