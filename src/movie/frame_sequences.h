// sp_ani: a sequence of frames played on a sprite. Movies (THOR files) decode on a thread of their
// own and the frame update puts each new frame into the sprite's textures.
#pragma once

#include <cstdint>
#include <string>

namespace vellum {

struct FrameSequenceRequest {
  int32_t sprite = 0;
  std::string file;
  int32_t division = 0;
  int32_t passes = 0;     // 0: without end
  int32_t variant = 0;
  int32_t frameRate = 0;  // 0: the file's own timing
  int32_t delayMs = 0;
};

// Starts a sequence on the sprite (stopping the one it had). False after a report; the sprite
// keeps what it had then.
bool startFrameSequence(const FrameSequenceRequest& request);
void stopSpriteSequence(int32_t sprite);

// Once a frame, on the main thread: new movie frames into their sprites' textures.
void updateFrameSequences();
// Whether any sequence still plays (the scene is moving).
bool frameSequencesActive();

// The running movie of a sprite, for tests and the save snapshot: its state, or -2 when none.
int32_t movieState(int32_t sprite);
int32_t movieCurrentFrame(int32_t sprite);
uint64_t movieFramesDecoded(int32_t sprite);

// The request a sprite's running sequence was started with and the milliseconds since it started
// playing (0 before); false when the sprite has none.
bool runningFrameSequence(int32_t sprite, FrameSequenceRequest& request, uint32_t& elapsed, uint32_t now);
void resetFrameSequences();  // stops everything
void provideFrameSequenceCommands();

}  // namespace vellum
