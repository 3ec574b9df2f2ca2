// The buffers a movie thread passes its frames on in: every frame handed over is taken once, in
// order and whole, into the caller's picture (its buffer exchanged where the rows lie alike, copied
// where the decode image's rows are wider). Run by the ThreadSanitizer suite as well.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "movie/frame_hand_over.h"
#include "support/param_names.h"

namespace vellum::test {
namespace {

// Fills the width x height picture region of a decode image with one value.
void paintFrame(Image& decode, uint32_t width, uint32_t height, uint32_t value) {
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width; ++x) decode.pixels[size_t{y} * static_cast<size_t>(decode.width) + x] = value;
}

// The value of a uniform picture, or 0 when its pixels differ.
uint32_t uniformValue(const Image& picture) {
  for (int32_t i = 1; i < picture.pixelCount; ++i)
    if (picture.pixels[i] != picture.pixels[0]) return 0;
  return picture.pixels[0];
}

struct HandOverShape {
  int decodeWidth, decodeHeight, width, height;
  bool exchanged;  // the picture's buffer is swapped rather than written
};

class FrameHandOverShapes : public ::testing::TestWithParam<HandOverShape> {};

TEST_P(FrameHandOverShapes, TakesEachNewFrameOnceIntoThePicture) {
  const HandOverShape& s = GetParam();
  Image* decode = createImage(s.decodeWidth, s.decodeHeight, 32);
  Image* picture = createImage(s.width, s.height, 32);
  FrameHandOver frames;
  ASSERT_TRUE(frames.prepare(*decode, static_cast<uint32_t>(s.width), static_cast<uint32_t>(s.height)));
  EXPECT_FALSE(frames.takeInto(*picture));  // nothing handed over yet
  EXPECT_EQ(frames.take(), nullptr);
  for (uint32_t frame = 1; frame <= 4; ++frame) {
    paintFrame(*decode, static_cast<uint32_t>(s.width), static_cast<uint32_t>(s.height), 0xFF000000u | frame);
    frames.handOver(*decode);
    const uint32_t* before = picture->pixels;
    if (frame == 3) {
      Image* copy = frames.take();  // a fresh picture instead
      ASSERT_NE(copy, nullptr);
      EXPECT_EQ(uniformValue(*copy), 0xFF000000u | frame);
      freeImage(copy);
    } else {
      ASSERT_TRUE(frames.takeInto(*picture));
      EXPECT_EQ(uniformValue(*picture), 0xFF000000u | frame);
      EXPECT_EQ(picture->pixels != before, s.exchanged);
      EXPECT_EQ(picture->pixels[picture->pixelCount], 0u) << "the spare row stays zero";
    }
    EXPECT_FALSE(frames.takeInto(*picture));  // taken once
  }
  Image* otherSize = createImage(s.width + 2, s.height, 32);
  paintFrame(*decode, static_cast<uint32_t>(s.width), static_cast<uint32_t>(s.height), 0xFF000009u);
  frames.handOver(*decode);
  EXPECT_FALSE(frames.takeInto(*otherSize));
  EXPECT_TRUE(frames.takeInto(*picture));
  freeImage(otherSize);
  freeImage(picture);
  freeImage(decode);
}

INSTANTIATE_TEST_SUITE_P(Shapes, FrameHandOverShapes,
                         ::testing::Values(HandOverShape{64, 64, 64, 48, true}, HandOverShape{32, 32, 30, 20, false},
                                           HandOverShape{64, 32, 64, 32, true}),
                         test::namedBy([](const HandOverShape& c) {
                           return test::testNameOf(test::sizeText(c.width, c.height), "in",
                                                   test::sizeText(c.decodeWidth, c.decodeHeight));
                         }));

TEST(FrameHandOverPrepare, RefusesFramesLargerThanTheDecodeImage) {
  Image* decode = createImage(32, 32, 32);
  FrameHandOver frames;
  EXPECT_FALSE(frames.prepare(*decode, 33, 32));
  EXPECT_FALSE(frames.prepare(*decode, 32, 40));
  freeImage(decode);
}

// A thread handing over numbered frames while this one takes them: each frame taken is whole and
// newer than the one before.
TEST(FrameHandOverThreads, FramesArriveWholeAndInOrder) {
  constexpr uint32_t kW = 64, kH = 32, kFrames = 400;
  Image* decode = createImage(kW, kH, 32);
  Image* picture = createImage(kW, kH, 32);
  FrameHandOver frames;
  ASSERT_TRUE(frames.prepare(*decode, kW, kH));
  std::atomic<bool> done{false};
  std::thread movie([&] {
    for (uint32_t frame = 1; frame <= kFrames; ++frame) {
      paintFrame(*decode, kW, kH, frame);
      frames.handOver(*decode);
      if (frame % 8 == 0) std::this_thread::yield();
    }
    done = true;
  });
  uint32_t last = 0, taken = 0;
  bool whole = true, ordered = true;
  for (;;) {
    const bool finished = done.load();
    if (frames.takeInto(*picture)) {
      const uint32_t value = uniformValue(*picture);
      whole = whole && value != 0;
      ordered = ordered && value > last;
      last = value;
      ++taken;
    } else if (finished) {
      break;
    }
  }
  movie.join();
  EXPECT_TRUE(whole);
  EXPECT_TRUE(ordered);
  EXPECT_EQ(last, kFrames);  // the last frame is never lost
  EXPECT_GT(taken, 0u);
  freeImage(picture);
  freeImage(decode);
}

}  // namespace
}  // namespace vellum::test
