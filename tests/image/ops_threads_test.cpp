// The threaded filters give exactly the pictures the single-threaded run gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "image/ops/image_ops.h"
#include "image/ops_test_support.h"

namespace vellum::ops_test {
namespace {

// Restores the default worker count when a test ends.
class ThreadedFilters : public ::testing::Test {
 protected:
  void TearDown() override { setImageWorkerCount(0); }

  // Runs `filter` on a fresh copy of the source with one worker and with several.
  static void expectSameResult(const std::function<OwnedImage(const Image&)>& filter, const Image& source) {
    setImageWorkerCount(1);
    const OwnedImage single = filter(source);
    for (int workers : {2, 3, 7}) {
      setImageWorkerCount(workers);
      const OwnedImage threaded = filter(source);
      ASSERT_NE(single.get(), nullptr);
      ASSERT_NE(threaded.get(), nullptr);
      ASSERT_EQ(threaded->width, single->width);
      ASSERT_EQ(threaded->height, single->height);
      EXPECT_EQ(threaded.pixels(), single.pixels()) << workers << " workers";
    }
  }
};

// Wide enough and tall enough that every filter splits into several bands.
constexpr int kWidth = 640, kHeight = 480;

struct ResizeCase {
  const char* name;
  double a, b;
  int kind, shrink, enlarge, bits;
};

class ThreadedResize : public ThreadedFilters, public ::testing::WithParamInterface<ResizeCase> {};

TEST_P(ThreadedResize, MatchesOneThread) {
  const ResizeCase c = GetParam();
  const OwnedImage source = randomImage(kWidth, kHeight, c.bits, 11);
  expectSameResult(
      [&](const Image& image) {
        OwnedImage out;
        EXPECT_EQ(resizeImage(out.address(), &image, c.a, c.b, c.kind, c.shrink, c.enlarge), 1);
        return OwnedImage(std::exchange(*out.address(), nullptr));
      },
      *source);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, ThreadedResize,
    ::testing::Values(ResizeCase{"AreaShrink", 37, 53, 0, 1, 1, 32}, ResizeCase{"NearestShrink", 300, 200, 1, 0, 0, 24},
                      ResizeCase{"BilinearShrink", 70, 60, 0, 2, 1, 32}, ResizeCase{"BilinearEnlarge", 1.5, 1.25, 2, 1, 1, 32},
                      ResizeCase{"BicubicEnlarge", 900, 700, 1, 1, 2, 24}, ResizeCase{"NearestEnlarge", 200, 150, 0, 1, 0, 32}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ThreadedFilters, RotateMatchesOneThread) {
  const OwnedImage source = randomImage(kWidth, kHeight, 32, 12);
  for (int filter : {0, 1}) {
    for (double degrees : {30.0, 90.0, -135.5}) {
      expectSameResult(
          [&](const Image& image) {
            OwnedImage out;
            EXPECT_EQ(rotateImage(out.address(), &image, degrees, 0, filter), 1);
            return OwnedImage(std::exchange(*out.address(), nullptr));
          },
          *source);
    }
  }
}

TEST_F(ThreadedFilters, BlurMatchesOneThread) {
  for (int bits : {24, 32}) {
    const OwnedImage source = randomImage(kWidth, kHeight, bits, 13);
    expectSameResult(
        [](const Image& image) {
          Image* copy = nullptr;
          EXPECT_EQ(copyImage(&copy, &image), 1);
          EXPECT_EQ(blurImage(copy, 5, 9), 1);
          return OwnedImage(copy);
        },
        *source);
  }
}

TEST_F(ThreadedFilters, BlendMatchesOneThread) {
  const OwnedImage source = randomImage(kWidth, kHeight, 32, 14);
  const OwnedImage layer = randomImage(kWidth - 40, kHeight - 30, 32, 15);
  for (int mode : {0, 1, 6, 17}) {
    expectSameResult(
        [&](const Image& image) {
          Image* copy = nullptr;
          EXPECT_EQ(copyImage(&copy, &image), 1);
          EXPECT_EQ(blendImage(&copy, layer.get(), mode, -20, 45, 200, 0), 1);
          return OwnedImage(copy);
        },
        *source);
  }
}

TEST_F(ThreadedFilters, WorkerCountSetting) {
  setImageWorkerCount(3);
  EXPECT_EQ(imageWorkerCount(), 3);
  setImageWorkerCount(0);
  EXPECT_GE(imageWorkerCount(), 1);
  int covered = 0;
  setImageWorkerCount(4);
  std::vector<int> rows(1000, 0);
  forEachRowBand(1000, 10, [&](int begin, int end) {
    for (int y = begin; y < end; ++y) ++rows[y];
  });
  for (int count : rows) covered += count;
  EXPECT_EQ(covered, 1000);
  EXPECT_EQ(std::count(rows.begin(), rows.end(), 1), 1000);
}

}  // namespace
}  // namespace vellum::ops_test
