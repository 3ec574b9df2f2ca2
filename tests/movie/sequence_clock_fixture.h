// Sprite-screen tests of frame sequences and movies that may run on the test's own clock.
#pragma once

#include "base/clock.h"
#include "movie/frame_sequences.h"
#include "scene/sprite_fixture.h"
#include "support/fake_clock.h"

namespace vellum::test {

class SequenceClockTest : public SpriteScreenTest {
 protected:
  // The sequences' clock is the test's own from here on, started where the real one stands (so
  // that going back to the real clock keeps the times the sequences were given).
  void useFakeClock() {
    fakeNow = tickMilliseconds();
    setTickSource(&fakeClock);
  }
  void TearDown() override {
    resetFrameSequences();  // no worker reads the clock when it changes back
    setTickSource(nullptr);
    SpriteScreenTest::TearDown();
  }
};

}  // namespace vellum::test
