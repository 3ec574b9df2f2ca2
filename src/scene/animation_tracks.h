// Property tracks: per sprite and property kind a chain of eased segments that the per-frame update
// plays into both picture buffers (what is on screen changes, no commit needed).
#pragma once

#include <cstdint>
#include <vector>

namespace vellum {

constexpr int kTrackKinds = 12;
namespace track {
enum Kind : int { X = 0, Y, ScaleW, ScaleH, RotX, RotY, RotZ, Alpha, Cell, Colour, Mask, CrossFade };
constexpr uint32_t kAll = (1u << kTrackKinds) - 1;
}  // namespace track

// The mode word every animation command ends with: bits 0-3 the mode, 4-7 the segment flags,
// 8-15 the pass count (0 plays without end).
namespace track_mode {
constexpr uint32_t kReplace = 0, kAppend = 1, kReplaceFromHere = 2, kAppendLoopNew = 3;
constexpr uint32_t kFlagRemoveWhenPlayed = 1, kFlagDeleteSprite = 2;
}  // namespace track_mode

struct TrackRequest {
  int kind = 0;
  int32_t to = 0;         // command units: pixels, percent, degrees (z negated), alpha, cell ...
  int32_t duration = 0;   // milliseconds, as the script gave it
  int32_t easing = 0;
  uint32_t modeWord = 0;
  int32_t extra = 0;      // mask softness
};

// The checks made before a command starts its tracks: the number (0-999) and a front picture.
bool checkAnimatedSprite(int32_t n);
// Mode and duration of a request that can be started at all; reports the fault otherwise.
bool checkTrackRequest(int32_t n, const TrackRequest& request);
// Starts or appends a segment; false after a script error (nothing started).
bool startTrack(int32_t n, const TrackRequest& request, uint32_t now);
// Ends the tracks of the kinds in the mask (bit k for kind k): each property takes its end value.
void endTracks(int32_t n, uint32_t kinds);

// Fades sprite n from its shown picture to the one waiting in its back buffer over `time` ms,
// starting after `delay`; false when there is nothing to fade between (the caller commits as usual).
bool startCrossFade(int32_t n, int32_t time, int32_t delay, uint32_t now);

void updateTracks(uint32_t now);
bool tracksRunning();
// The number of segments in sprite n's chain of a kind (tests, queries).
int trackSegmentCount(int32_t n, int kind);

// The end value (and extra value) of the last segment of sprite n's running track of a kind, in
// the units the track writes (scales in percent, rotation as stored); false without one.
bool runningTrackEnd(int32_t n, int kind, int32_t& to, int32_t& extra);

// One segment of a chain as a save records it.
struct TrackKeyframe {
  uint32_t start = 0;
  uint32_t flags = 0;
  uint32_t passes = 1;  // the chain's pass count
  int32_t from = 0, to = 0;
  int64_t duration = 2;
  int32_t easing = 0;
  int32_t extra = 0;
};
// Sprite n's chain of a kind, from its current segment on (the segments already played in this pass
// follow, so the first one is the one playing).
std::vector<TrackKeyframe> trackKeyframes(int32_t n, int kind);
// Replaces the chain of a kind (an empty list removes it); the sprite's presence bit follows.
void restoreTrackKeyframes(int32_t n, int kind, const std::vector<TrackKeyframe>& frames);
// Takes up a saved cross-fade: the old picture is in front, the new one waits in the back buffer,
// and the chain goes on from its saved times. False (nothing changed) when a picture is missing.
bool resumeCrossFade(int32_t n, const std::vector<TrackKeyframe>& frames);

// Sprite deletion drops everything that animates the sprite.
void forgetSpriteTracks(int32_t n);
void resetTracks();

}  // namespace vellum
